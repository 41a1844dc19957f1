#include "canvas/Canvas.h"

#include "catalogue/Codepage.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <QPrinter>
#include <QStringList>
#include <QTextLayout>

#include <algorithm>
#include <cstdlib>

namespace quv {

void TCanvas::LineTo(int x, int y)
{
    DrawLine(penPos_, {x, y});
    penPos_ = {x, y};
}

// ---------------------------------------------------------------------------------------------

QString WrapWithEndEllipsis(const QFont& font, QPaintDevice* device, const QString& text, int width,
                            int height)
{
    const QFontMetrics fm(font, device);
    const int maxLines = std::max(1, height / std::max(1, fm.height()));
    QTextLayout layout(text, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    std::vector<int> starts;
    while (true) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(std::max(1, width));
        starts.push_back(line.textStart());
    }
    layout.endLayout();
    if (static_cast<int>(starts.size()) <= maxLines)
        return text;
    QStringList lines;
    for (int k = 0; k + 1 < maxLines; ++k)
        lines << text.mid(starts[k], starts[k + 1] - starts[k]).trimmed();
    lines << fm.elidedText(text.mid(starts[maxLines - 1]).simplified(), Qt::ElideRight, width);
    return lines.join(QLatin1Char('\n'));
}

static QColor ToQColor(TColor c)
{
    return QColor(c.r, c.g, c.b);
}

// A monochrome printer shows each colour as black or white; other devices show colours as they
// are.
static std::function<std::optional<TColor>(TColor)> DeviceColorQuery(const QPaintDevice* device)
{
    if (device && device->devType() == QInternal::Printer &&
        static_cast<const QPrinter*>(device)->colorMode() == QPrinter::GrayScale) {
        return [](TColor c) -> std::optional<TColor> {
            const int grey = (c.r * 30 + c.g * 59 + c.b * 11) / 100;
            return grey >= 128 ? clWhite : clBlack;
        };
    }
    return {};
}

TQPainterCanvas::TQPainterCanvas(QPaintDevice* device)
    : painter_(new QPainter(device)), owned_(true)
{
    // Plots are drawn pixel-exact like their printed counterparts; only text is smoothed.
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, true);
    NearestColorQuery = DeviceColorQuery(device);
}

TQPainterCanvas::TQPainterCanvas(QPainter& painter) : painter_(&painter), owned_(false)
{
    // A painter handed over for a printer page must still know what the printer can show.
    NearestColorQuery = DeviceColorQuery(painter.device());
}

TQPainterCanvas::~TQPainterCanvas()
{
    if (owned_) {
        painter_->end();
        delete painter_;
    }
}

void TQPainterCanvas::ApplyPen()
{
    QPen pen(ToQColor(Pen.color));
    pen.setWidth(std::max(0, Pen.width));
    if (Pen.style == TPenStyle::Dash)
        pen.setStyle(Qt::DashLine);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter_->setPen(pen);
    if (Brush.style == TBrushStyle::Clear)
        painter_->setBrush(Qt::NoBrush);
    else
        painter_->setBrush(ToQColor(Brush.color));
}

void TQPainterCanvas::ApplyFont()
{
    QFont font(ToQString(Font.name));
    font.setBold(Font.bold);
    // A face named for its weight ("Arial Black") asks for that weight, so that a substitute
    // family is shown in its heaviest face (bold when it has no black one) rather than regular.
    const QString name = font.family();
    if (name.endsWith(QLatin1String(" Black")) || name.endsWith(QLatin1String(" Heavy")))
        font.setWeight(QFont::Black);
    font.setItalic(Font.italic);
    font.setUnderline(Font.underline);
    const int h = Font.height;
    if (h < 0) {
        font.setPixelSize(-h);
    } else if (h > 0) {
        // A positive height is the whole character cell: shrink the glyph size until the cell fits.
        font.setPixelSize(h);
        const int cell = QFontMetrics(font, painter_->device()).height();
        if (cell > h)
            font.setPixelSize(std::max(1, static_cast<int>(static_cast<long long>(h) * h / cell)));
    }
    painter_->setFont(font);
    painter_->setPen(ToQColor(Font.color));
}

void TQPainterCanvas::DrawLine(TPoint from, TPoint to)
{
    ApplyPen();
    painter_->drawLine(from.x, from.y, to.x, to.y);
}

void TQPainterCanvas::Polyline(const std::vector<TPoint>& points)
{
    if (points.empty())
        return;
    ApplyPen();
    QPolygon polygon(static_cast<int>(points.size()));
    for (std::size_t i = 0; i < points.size(); ++i)
        polygon.setPoint(static_cast<int>(i), points[i].x, points[i].y);
    painter_->drawPolyline(polygon);
}

void TQPainterCanvas::Ellipse(int left, int top, int right, int bottom)
{
    ApplyPen();
    // Qt's outline covers width + 1 pixels; the box's right and bottom edges are exclusive.
    painter_->drawEllipse(QRectF(left, top, right - left - 1, bottom - top - 1));
}

void TQPainterCanvas::FillRect(const TRect& rect)
{
    painter_->fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()),
                       ToQColor(Brush.color));
}

void TQPainterCanvas::TextOut(int x, int y, const std::string& text)
{
    ApplyFont();
    const QString q = ToQString(text);
    const QFontMetrics fm = painter_->fontMetrics();
    if (Brush.style == TBrushStyle::Solid)
        painter_->fillRect(QRect(x, y, fm.horizontalAdvance(q), fm.height()),
                           ToQColor(Brush.color));
    painter_->drawText(QPoint(x, y + fm.ascent()), q);
}

TSize TQPainterCanvas::TextExtent(const std::string& text)
{
    ApplyFont();
    const QFontMetrics fm = painter_->fontMetrics();
    return {fm.horizontalAdvance(ToQString(text)), fm.height()};
}

static int QtTextFlags(unsigned flags)
{
    int q = Qt::AlignTop;
    if (flags & dtCenter)
        q |= Qt::AlignHCenter;
    else if (flags & dtRight)
        q |= Qt::AlignRight;
    else
        q |= Qt::AlignLeft;
    if (flags & dtSingleLine) {
        q |= Qt::TextSingleLine;
        if (flags & dtVCenter)
            q = (q & ~Qt::AlignTop) | Qt::AlignVCenter;
        else if (flags & dtBottom)
            q = (q & ~Qt::AlignTop) | Qt::AlignBottom;
    } else if (flags & dtWordBreak) {
        q |= Qt::TextWordWrap;
    }
    return q;
}

int TQPainterCanvas::DrawText(const std::string& text, TRect& rect, unsigned flags)
{
    ApplyFont();
    const QFontMetrics fm = painter_->fontMetrics();
    QString q = ToQString(text);
    const int qtFlags = QtTextFlags(flags);
    if (flags & dtCalcRect) {
        const int width = (flags & dtWordBreak) ? std::max(1, rect.Width()) : 1 << 20;
        const QRect br = fm.boundingRect(QRect(rect.left, rect.top, width, 1 << 20),
                                         qtFlags & ~(Qt::AlignVCenter | Qt::AlignBottom), q);
        rect.right = rect.left + br.width();
        rect.bottom = rect.top + br.height();
        return br.height();
    }
    if (flags & dtEndEllipsis) {
        if ((flags & dtWordBreak) && !(flags & dtSingleLine))
            q = WrapWithEndEllipsis(painter_->font(), painter_->device(), q, rect.Width(),
                                    rect.Height());
        else
            q = fm.elidedText(q, Qt::ElideRight, rect.Width());
    }
    const QRect box(rect.left, rect.top, rect.Width(), rect.Height());
    const QRect br = fm.boundingRect(box, qtFlags, q);
    if (Brush.style == TBrushStyle::Solid)
        painter_->fillRect(br.intersected(box), ToQColor(Brush.color));
    painter_->save();
    painter_->setClipRect(box);
    painter_->drawText(box, qtFlags, q);
    painter_->restore();
    return br.height();
}

void TQPainterCanvas::TextOutRotated(int x, int y, const std::string& text)
{
    ApplyFont();
    const int ascent = painter_->fontMetrics().ascent();
    painter_->save();
    painter_->translate(x, y);
    painter_->rotate(-90);
    painter_->drawText(QPoint(0, ascent), ToQString(text));
    painter_->restore();
}

void TQPainterCanvas::StretchImage(const TRect& rect, const QImage& image)
{
    painter_->drawImage(QRect(rect.left, rect.top, rect.Width(), rect.Height()), image);
}

std::optional<TColor> TQPainterCanvas::NearestColor(TColor color)
{
    if (NearestColorQuery)
        return NearestColorQuery(color);
    return color;
}

// ---------------------------------------------------------------------------------------------

TRecordingCanvas::Call TRecordingCanvas::Make(Op op) const
{
    Call c;
    c.op = op;
    c.pen = Pen;
    c.brush = Brush;
    c.font = Font;
    return c;
}

int TRecordingCanvas::CharWidth() const
{
    return std::max(1, (std::abs(Font.height) + 1) / 2);
}

std::vector<TRecordingCanvas::Call> TRecordingCanvas::Of(Op op) const
{
    std::vector<Call> out;
    for (const auto& c : calls)
        if (c.op == op)
            out.push_back(c);
    return out;
}

void TRecordingCanvas::DrawLine(TPoint from, TPoint to)
{
    Call c = Make(Op::Line);
    c.points = {from, to};
    calls.push_back(std::move(c));
}

void TRecordingCanvas::Polyline(const std::vector<TPoint>& points)
{
    Call c = Make(Op::Polyline);
    c.points = points;
    calls.push_back(std::move(c));
}

void TRecordingCanvas::Ellipse(int left, int top, int right, int bottom)
{
    Call c = Make(Op::Ellipse);
    c.rect = {left, top, right, bottom};
    calls.push_back(std::move(c));
}

void TRecordingCanvas::FillRect(const TRect& rect)
{
    Call c = Make(Op::FillRect);
    c.rect = rect;
    calls.push_back(std::move(c));
}

void TRecordingCanvas::TextOut(int x, int y, const std::string& text)
{
    Call c = Make(Op::TextOut);
    c.points = {{x, y}};
    c.text = text;
    calls.push_back(std::move(c));
}

TSize TRecordingCanvas::TextExtent(const std::string& text)
{
    return {static_cast<int>(text.size()) * CharWidth(), std::abs(Font.height)};
}

int TRecordingCanvas::DrawText(const std::string& text, TRect& rect, unsigned flags)
{
    // Greedy word wrap at blanks with the fixed-pitch metrics.
    int lines = 1;
    if ((flags & dtWordBreak) && !(flags & dtSingleLine)) {
        const int perLine = std::max(1, rect.Width() / CharWidth());
        int used = 0;
        std::size_t pos = 0;
        while (pos < text.size()) {
            std::size_t end = text.find(' ', pos);
            if (end == std::string::npos)
                end = text.size();
            const int word = static_cast<int>(end - pos);
            if (used > 0 && used + 1 + word > perLine) {
                ++lines;
                used = word;
            } else {
                used += (used > 0 ? 1 : 0) + word;
            }
            pos = end + 1;
        }
    }
    const int height = lines * std::abs(Font.height);
    Call c = Make(Op::DrawText);
    c.rect = rect;
    c.text = text;
    c.flags = flags;
    calls.push_back(std::move(c));
    if (flags & dtCalcRect)
        rect.bottom = rect.top + height;
    return height;
}

void TRecordingCanvas::TextOutRotated(int x, int y, const std::string& text)
{
    Call c = Make(Op::TextRotated);
    c.points = {{x, y}};
    c.text = text;
    calls.push_back(std::move(c));
}

void TRecordingCanvas::StretchImage(const TRect& rect, const QImage&)
{
    Call c = Make(Op::Image);
    c.rect = rect;
    calls.push_back(std::move(c));
}

std::optional<TColor> TRecordingCanvas::NearestColor(TColor color)
{
    if (NearestColorQuery)
        return NearestColorQuery(color);
    return color;
}

} // namespace quv

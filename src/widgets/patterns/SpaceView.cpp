#include "patterns/SpaceView.h"

#include "catalogue/Codepage.h"
#include "catalogue/Pattern3D.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>

namespace quv {

namespace {

constexpr double kDegreesPerPixel = 0.5;
constexpr double kDegreesPerKey = 5.0;
constexpr int kFootprintMapCells = 300;
// Key repeats come faster than this; the full mesh waits until they stop.
constexpr int kSettleMs = 250;

QDoubleSpinBox* Spin(QWidget* parent, const char* name, double low, double high, double value,
                     const QString& suffix)
{
    auto* spin = new QDoubleSpinBox(parent);
    spin->setObjectName(QLatin1String(name));
    spin->setRange(low, high);
    spin->setDecimals(1);
    spin->setValue(value);
    spin->setSuffix(suffix);
    spin->setKeyboardTracking(false);
    return spin;
}

} // namespace

TSpaceBox::TSpaceBox(TSpaceView* view) : QWidget(view), view_(view)
{
    setFocusPolicy(Qt::StrongFocus);
}

void TSpaceBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    TQPainterCanvas canvas(painter);
    view_->Paint(canvas, width(), height());
}

void TSpaceBox::mousePressEvent(QMouseEvent* event)
{
    setFocus();
    if (event->button() == Qt::LeftButton) {
        view_->BeginDrag();
        lastPos_ = event->position().toPoint();
    }
}

void TSpaceBox::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint now = event->position().toPoint();
    view_->Drag(now.x() - lastPos_.x(), now.y() - lastPos_.y());
    lastPos_ = now;
}

void TSpaceBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        view_->EndDrag();
}

void TSpaceBox::keyPressEvent(QKeyEvent* event)
{
    if (!view_->TurnKey(event->key()))
        QWidget::keyPressEvent(event);
}

TSpaceView::TSpaceView(const TQuvFileList& plotList, QWidget* parent)
    : QWidget(parent), plotList_(plotList)
{
    setObjectName(QStringLiteral("pnlSpace"));
    cbxAntenna = new QComboBox(this);
    cbxAntenna->setObjectName(QStringLiteral("cbxAntenna"));
    cbxMethod = new QComboBox(this);
    cbxMethod->setObjectName(QStringLiteral("cbxMethod"));
    for (const T3DMethod m :
         {T3DMethod::Auto, T3DMethod::Summing, T3DMethod::Bilinear, T3DMethod::Projection})
        cbxMethod->addItem(
            QString::fromLatin1(MethodName(m).data(), static_cast<qsizetype>(MethodName(m).size())),
            static_cast<int>(m));
    spnHeight = Spin(this, "spnHeight", 1, 1000, 30, QStringLiteral(" m"));
    spnMechanicalTilt = Spin(this, "spnMechanicalTilt", -90, 90, 0, QStringLiteral("\u00B0"));
    spnSlope = Spin(this, "spnSlope", 0, 100, kFreeSpaceSlope, QStringLiteral(" dB/dec"));
    spnSlope->setToolTip(QStringLiteral("Path loss per decade of distance: 20 is free space"));
    spnRadius = Spin(this, "spnRadius", 100, 20000, 2000, QStringLiteral(" m"));
    spnRadius->setSingleStep(500);
    lblHint = new QLabel(this);
    lblHint->setObjectName(QStringLiteral("lblSpaceHint"));
    imgSpace = new TSpaceBox(this);
    imgSpace->setObjectName(QStringLiteral("imgSpace"));

    pnlControls = new QWidget(this);
    pnlControls->setObjectName(QStringLiteral("pnlControls"));
    const auto labelled = [&](const QString& text, QWidget* control) {
        auto* label = new QLabel(text, pnlControls);
        label->setBuddy(control);
        control->setParent(pnlControls);
        labelled_.emplace_back(label, control);
    };
    // Wide enough for the longest plotted part number.
    cbxAntenna->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    labelled(QStringLiteral("&Antenna"), cbxAntenna);
    labelled(QStringLiteral("&Method"), cbxMethod);
    labelled(QStringLiteral("&Height"), spnHeight);
    labelled(QStringLiteral("&Tilt"), spnMechanicalTilt);
    labelled(QStringLiteral("&Slope"), spnSlope);
    labelled(QStringLiteral("Ra&dius"), spnRadius);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pnlControls);
    layout->addWidget(imgSpace, 1);
    layout->addWidget(lblHint);
    ArrangeControls();

    const auto repaint = [this] { imgSpace->update(); };
    connect(cbxAntenna, &QComboBox::currentIndexChanged, this, repaint);
    connect(cbxMethod, &QComboBox::currentIndexChanged, this, repaint);
    connect(spnHeight, &QDoubleSpinBox::valueChanged, this, repaint);
    connect(spnMechanicalTilt, &QDoubleSpinBox::valueChanged, this, repaint);
    connect(spnSlope, &QDoubleSpinBox::valueChanged, this, repaint);
    connect(spnRadius, &QDoubleSpinBox::valueChanged, this, repaint);
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, [this] { Settle(); });
    SetMode(TMode::Pattern3D);
}

void TSpaceView::ArrangeControls()
{
    constexpr int kSpacing = 6;
    int oneRow = 0;
    for (const auto& [label, control] : labelled_)
        oneRow += label->sizeHint().width() + control->sizeHint().width() + 2 * kSpacing;
    const int rows = width() >= oneRow ? 1 : 2;
    if (rows == rows_)
        return;
    rows_ = rows;
    // The widgets stay children of the panel; only the rows that hold them are remade.
    delete pnlControls->layout();
    auto* column = new QVBoxLayout(pnlControls);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    QHBoxLayout* row = nullptr;
    for (std::size_t i = 0; i < labelled_.size(); ++i) {
        // Two rows: the antenna and the method above, the numbers below.
        if (i == 0 || (rows == 2 && i == 2)) {
            if (row)
                row->addStretch();
            row = new QHBoxLayout;
            row->setSpacing(kSpacing);
            column->addLayout(row);
        }
        row->addWidget(labelled_[i].first);
        row->addWidget(labelled_[i].second, rows == 2 && i == 0 ? 1 : 0);
    }
    if (rows == 1)
        row->addStretch();
}

void TSpaceView::SetMode(TMode mode)
{
    mode_ = mode;
    const bool footprint = mode == TMode::Footprint;
    cbxAntenna->setEnabled(footprint); // the 3D view shows every antenna
    spnHeight->setEnabled(footprint);
    spnMechanicalTilt->setEnabled(footprint);
    spnSlope->setEnabled(footprint);
    spnRadius->setEnabled(footprint);
    lblHint->setText(footprint ? QStringLiteral("Lines: every plotted antenna; map: the chosen one")
                               : QStringLiteral("Drag or use the arrow keys to turn; Home resets"));
    imgSpace->update();
}

void TSpaceView::Refresh()
{
    const int kept = cbxAntenna->currentIndex();
    cbxAntenna->blockSignals(true);
    cbxAntenna->clear();
    for (int i = 0; i < plotList_.Count(); ++i)
        cbxAntenna->addItem(ToQString(plotList_.Strings(i)));
    cbxAntenna->setCurrentIndex(kept >= 0 && kept < cbxAntenna->count() ? kept : 0);
    cbxAntenna->blockSignals(false);
    imgSpace->update();
}

TFootprintGeometry TSpaceView::Geometry() const
{
    return {spnHeight->value(), spnMechanicalTilt->value(), spnSlope->value()};
}

TSpacePageSettings TSpaceView::PrintSettings() const
{
    return {Geometry(), Method(), spnRadius->value()};
}

T3DMethod TSpaceView::Method() const
{
    return static_cast<T3DMethod>(cbxMethod->currentData().toInt());
}

const TPattern3D* TSpaceView::PatternOf(const TQuvFile* record)
{
    const auto key = std::make_pair(record, static_cast<int>(Method()));
    auto found = patterns_.find(key);
    if (found == patterns_.end()) {
        std::optional<TPattern3D> pattern;
        if (const auto cuts = CutsOf(*record))
            pattern = BuildPattern3D(*cuts, Method());
        found = patterns_.emplace(key, std::move(pattern)).first;
    }
    return found->second ? &*found->second : nullptr;
}

void TSpaceView::Paint(TCanvas& canvas, int width, int height)
{
    TRect rect{0, 0, width, height};
    const int chosen =
        std::clamp(cbxAntenna->currentIndex(), 0, std::max(0, plotList_.Count() - 1));
    std::string unusable;
    for (int i = 0; i < plotList_.Count(); ++i)
        if (plotList_.Objects(i) && !PatternOf(plotList_.Objects(i)))
            unusable += (unusable.empty() ? "" : ", ") + plotList_.Strings(i);
    if (!unusable.empty()) {
        // On its own line under the picture, not over it.
        canvas.Font = TFont{};
        canvas.Brush.style = TBrushStyle::Clear;
        const TPlacedText note =
            PlaceText(canvas, 4, 0, "Levels that are not numbers: " + unusable, width - 8);
        rect.bottom = std::max(0, height - note.rect.Height() - 2);
        DrawPlacedText(canvas, {{4, rect.bottom, note.rect.right, height}, note.text, note.cut});
    }
    if (mode_ == TMode::Pattern3D) {
        // Every plotted antenna side by side, all seen from the same direction.
        const int count = std::min(plotList_.Count(), kMaxPlotTraces);
        const std::vector<TRect> cells = Pattern3DCells(rect, count);
        for (int i = 0; i < count; ++i) {
            const TQuvFile* antenna = plotList_.Objects(i);
            const TPattern3D* p = antenna ? PatternOf(antenna) : nullptr;
            if (!p)
                continue;
            DrawPattern3DView(canvas, cells[static_cast<std::size_t>(i)], *p, view_,
                              antenna->PartNumber + "  (" + std::string(MethodName(p->Method())) +
                                  ")",
                              MeshStep());
        }
        return;
    }
    const TQuvFile* record = plotList_.Count() > 0 ? plotList_.Objects(chosen) : nullptr;
    const TPattern3D* pattern = record ? PatternOf(record) : nullptr;
    const TFootprintGeometry geometry = Geometry();
    std::vector<TFootprintTrace> traces;
    for (int i = 0; i < plotList_.Count() && i < kMaxPlotTraces; ++i)
        if (const TPattern3D* p = plotList_.Objects(i) ? PatternOf(plotList_.Objects(i)) : nullptr)
            traces.push_back({plotList_.Strings(i), FootprintAlong(*p, geometry)});
        else
            traces.push_back({plotList_.Strings(i), {}}); // keeps its place and so its colour
    const TFootprintMap map =
        pattern ? FootprintMap(*pattern, geometry, spnRadius->value(), kFootprintMapCells)
                : TFootprintMap{};
    DrawFootprintView(canvas, rect, traces, map, record ? record->PartNumber : std::string(),
                      FootprintTitle(geometry));
}

void TSpaceView::BeginDrag()
{
    turning_ = true;
}

void TSpaceView::Drag(int dx, int dy)
{
    if (mode_ != TMode::Pattern3D)
        return;
    turning_ = true;
    view_.azimuth = std::fmod(view_.azimuth - dx * kDegreesPerPixel + 360.0, 360.0);
    view_.elevation = std::clamp(view_.elevation + dy * kDegreesPerPixel, -89.0, 89.0);
    imgSpace->update();
}

void TSpaceView::EndDrag()
{
    Settle();
}

bool TSpaceView::TurnKey(int key)
{
    if (mode_ != TMode::Pattern3D)
        return false;
    switch (key) {
    case Qt::Key_Left:
        view_.azimuth = std::fmod(view_.azimuth + kDegreesPerKey, 360.0);
        break;
    case Qt::Key_Right:
        view_.azimuth = std::fmod(view_.azimuth - kDegreesPerKey + 360.0, 360.0);
        break;
    case Qt::Key_Up:
        view_.elevation = std::min(89.0, view_.elevation + kDegreesPerKey);
        break;
    case Qt::Key_Down:
        view_.elevation = std::max(-89.0, view_.elevation - kDegreesPerKey);
        break;
    case Qt::Key_Home:
        view_ = TViewAngle{};
        Settle();
        return true;
    default:
        return false;
    }
    turning_ = true;
    settle_.start();
    imgSpace->update();
    return true;
}

void TSpaceView::Settle()
{
    settle_.stop();
    turning_ = false;
    imgSpace->update();
}

void TSpaceView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ArrangeControls();
    imgSpace->update();
}

} // namespace quv

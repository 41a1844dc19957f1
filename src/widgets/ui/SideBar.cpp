#include "ui/SideBar.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace quv {

namespace {

constexpr int kIconSize = 32;
constexpr int kButtonWidth = 80;
constexpr int kIconTop = 4;
constexpr int kIconGap = 3;      // between the icon and its caption
constexpr int kTextInset = 2;    // left and right of the caption
constexpr int kBottomMargin = 6; // below the caption's last line, inside the pressed frame

void DrawIcon(QPainter& p, TSideBarIcon kind)
{
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(255, 255, 255);
    const QColor accent(255, 204, 0);
    p.setPen(QPen(ink, 2));
    switch (kind) {
    case TSideBarIcon::Application: {
        // A mast with an antenna panel and radiating arcs.
        p.drawLine(16, 30, 16, 10);
        p.drawLine(10, 30, 22, 30);
        p.setBrush(accent);
        p.drawRect(13, 4, 6, 10);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRect(4, 2, 8, 14), 120 * 16, 120 * 16);
        p.drawArc(QRect(20, 2, 8, 14), -60 * 16, 120 * 16);
        break;
    }
    case TSideBarIcon::FrequencyRange: {
        // A sine wave between two band markers.
        QPainterPath wave;
        wave.moveTo(4, 16);
        for (int x = 4; x <= 28; ++x)
            wave.lineTo(x, 16 - 8 * std::sin((x - 4) * 3.14159 / 6));
        p.drawPath(wave);
        p.setPen(QPen(accent, 2));
        p.drawLine(3, 4, 3, 28);
        p.drawLine(29, 4, 29, 28);
        break;
    }
    case TSideBarIcon::PartNumber: {
        // A tag with a hash sign.
        p.setBrush(accent);
        p.drawRoundedRect(QRect(4, 7, 24, 18), 3, 3);
        p.setPen(QPen(QColor(64, 64, 64), 2));
        p.drawLine(12, 10, 10, 22);
        p.drawLine(19, 10, 17, 22);
        p.drawLine(8, 13, 22, 13);
        p.drawLine(7, 19, 21, 19);
        break;
    }
    case TSideBarIcon::MultiSearch: {
        // A magnifying glass over a short list.
        p.drawLine(4, 6, 14, 6);
        p.drawLine(4, 11, 12, 11);
        p.drawLine(4, 16, 10, 16);
        p.setBrush(QColor(255, 255, 255, 60));
        p.setPen(QPen(accent, 3));
        p.drawEllipse(QRect(13, 8, 12, 12));
        p.drawLine(23, 19, 29, 27);
        break;
    }
    case TSideBarIcon::QuickPreview: {
        // A polar plot: rings, cross and a lobe.
        p.drawEllipse(QRect(3, 3, 26, 26));
        p.setPen(QPen(ink, 1));
        p.drawEllipse(QRect(9, 9, 14, 14));
        p.drawLine(16, 3, 16, 29);
        p.drawLine(3, 16, 29, 16);
        p.setPen(QPen(accent, 2));
        QPainterPath lobe;
        lobe.moveTo(16, 16);
        lobe.cubicTo(20, 2, 30, 8, 16, 16);
        p.drawPath(lobe);
        break;
    }
    case TSideBarIcon::CrossReference: {
        // Two lobes, one dashed over the other, with a double arrow: this antenna for that one.
        QPainterPath lobe;
        lobe.moveTo(5, 20);
        lobe.cubicTo(9, 4, 23, 4, 27, 20);
        p.setPen(QPen(ink, 2));
        p.drawPath(lobe);
        QPen dashed(accent, 2);
        dashed.setDashPattern({2, 2});
        p.setPen(dashed);
        QPainterPath other;
        other.moveTo(7, 20);
        other.cubicTo(10, 8, 22, 8, 25, 20);
        p.drawPath(other);
        p.setPen(QPen(ink, 2));
        p.drawLine(6, 26, 26, 26);
        p.drawLine(6, 26, 10, 23);
        p.drawLine(6, 26, 10, 29);
        p.drawLine(26, 26, 22, 23);
        p.drawLine(26, 26, 22, 29);
        break;
    }
    case TSideBarIcon::SiteFit: {
        // A mast on the ground whose beam comes down on the cell's far edge.
        p.drawLine(3, 28, 29, 28);
        p.drawLine(7, 28, 7, 6);
        p.setBrush(accent);
        p.drawRect(5, 4, 4, 7);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(accent, 2));
        QPolygonF beam;
        beam << QPointF(9, 8) << QPointF(29, 18) << QPointF(24, 26);
        p.drawPolygon(beam);
        break;
    }
    }
}

} // namespace

QIcon MakeSideBarIcon(TSideBarIcon kind)
{
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    DrawIcon(p, kind);
    p.end();
    return QIcon(pixmap);
}

TSideBarButton::TSideBarButton(const QString& caption, const QIcon& icon, int tag, QWidget* parent)
    : QToolButton(parent), tag_(tag)
{
    setText(caption);
    setIcon(icon);
    setIconSize(QSize(kIconSize, kIconSize));
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setCheckable(true);
    setAutoRaise(true);
    // Reached with Tab; a mouse click leaves the focus where it was.
    setFocusPolicy(Qt::TabFocus);
    setFixedSize(sizeHint());
}

QRect TSideBarButton::CaptionRect(int shift) const
{
    const int side = iconSize().height();
    return QRect(kTextInset + shift, kIconTop + side + kIconGap + shift, width() - 2 * kTextInset,
                 height() - kIconTop - side - kIconGap);
}

QSize TSideBarButton::sizeHint() const
{
    return {kButtonWidth, HeightFor(iconSize().height())};
}

int TSideBarButton::HeightFor(int iconSide) const
{
    // Every button gets its own caption's height, so the gaps between a caption and the next
    // icon are the same whether the caption takes one line or two.
    const QRect caption = fontMetrics().boundingRect(
        QRect(0, 0, kButtonWidth - 2 * kTextInset, 1000),
        Qt::AlignHCenter | Qt::TextWordWrap | Qt::TextShowMnemonic, text());
    return kIconTop + iconSide + kIconGap + caption.height() + kBottomMargin;
}

void TSideBarButton::changeEvent(QEvent* event)
{
    QToolButton::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        setFixedSize(sizeHint());
}

void TSideBarButton::paintEvent(QPaintEvent*)
{
    // Drawn by hand so the caption stays white and the pressed button shows a sunken frame.
    QPainter p(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    if (isChecked()) {
        p.fillRect(r, QColor(96, 96, 96));
        p.setPen(QColor(64, 64, 64));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(QColor(192, 192, 192));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
    } else if (underMouse()) {
        p.setPen(QColor(192, 192, 192));
        p.drawRect(r);
    }
    const int shift = isChecked() ? 1 : 0;
    const int side = iconSize().height();
    icon().paint(&p, QRect((width() - side) / 2 + shift, kIconTop + shift, side, side));
    p.setPen(Qt::white);
    p.setFont(font());
    p.drawText(CaptionRect(shift),
               Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic, text());
    if (hasFocus()) {
        QPen dotted(Qt::white, 1, Qt::DotLine);
        p.setPen(dotted);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(2, 2, -2, -2));
    }
}

void TSideBarButton::keyPressEvent(QKeyEvent* event)
{
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    auto* bar = qobject_cast<TSideBar*>(parentWidget());
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (plain) {
            click();
            return;
        }
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
        // Arrows move between the buttons like Tab; only a press (Space, Enter) changes the page.
        if (plain && bar) {
            bar->FocusNeighbour(this, event->key() == Qt::Key_Up ? -1 : 1);
            return;
        }
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (plain) {
            event->ignore();
            return;
        }
        break;
    default:
        break;
    }
    QToolButton::keyPressEvent(event);
}

void TSideBarButton::focusInEvent(QFocusEvent* event)
{
    // Not the button group's radio behaviour, which takes every other button out of the Tab
    // order once one has the focus.
    QWidget::focusInEvent(event);
    update();
}

TSideBar::TSideBar(const QString& title, QWidget* parent)
    : QFrame(parent), layout_(new QVBoxLayout(this)), group_(new QButtonGroup(this))
{
    setFixedWidth(88);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(128, 128, 128));
    setPalette(pal);
    setFrameShape(QFrame::NoFrame);
    layout_->setContentsMargins(0, 0, 0, 4);
    layout_->setSpacing(6);
    auto* caption = new QLabel(title, this);
    caption->setObjectName(QStringLiteral("lblSideBarTitle"));
    caption->setAlignment(Qt::AlignCenter);
    caption->setFixedHeight(22);
    caption->setStyleSheet(QStringLiteral("color: white; background: #606060;"));
    layout_->addWidget(caption);
    layout_->addStretch(1);
    group_->setExclusive(true);
    connect(group_, &QButtonGroup::buttonClicked, this, [this](QAbstractButton* b) {
        emit buttonClicked(static_cast<TSideBarButton*>(b)->Tag());
    });
}

TSideBarButton* TSideBar::AddButton(const QString& objectName, const QString& caption,
                                    TSideBarIcon icon, int tag)
{
    auto* button = new TSideBarButton(caption, MakeSideBarIcon(icon), tag, this);
    button->setObjectName(objectName);
    group_->addButton(button);
    layout_->insertWidget(layout_->count() - 1, button, 0, Qt::AlignHCenter);
    buttons_.push_back(button);
    return button;
}

void TSideBar::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    const QMargins margins = layout_->contentsMargins();
    const int fixed = margins.top() + margins.bottom() + layout_->itemAt(0)->sizeHint().height();
    const int gaps = static_cast<int>(buttons_.size()) + 1;
    // The full look while it fits; then ever smaller icons, never below half size.
    for (const int side : {kIconSize, 28, 24, 20, kIconSize / 2}) {
        const int spacing = side == kIconSize ? 6 : 1;
        int needed = fixed + spacing * gaps;
        for (const TSideBarButton* button : buttons_)
            needed += button->HeightFor(side);
        if (needed > height() && side != kIconSize / 2)
            continue;
        if (layout_->spacing() != spacing)
            layout_->setSpacing(spacing);
        for (TSideBarButton* button : buttons_)
            if (button->iconSize().height() != side) {
                button->setIconSize(QSize(side, side));
                button->setFixedSize(button->sizeHint());
            }
        return;
    }
}

bool TSideBar::PressShortcut(const QKeyEvent& key)
{
    const Qt::KeyboardModifiers mods = key.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier |
                                                          Qt::AltModifier | Qt::MetaModifier);
    const int index = key.key() - Qt::Key_1;
    if (mods != Qt::ControlModifier || index < 0 || index > 8 ||
        index >= static_cast<int>(buttons_.size()))
        return false;
    TSideBarButton* button = buttons_[static_cast<std::size_t>(index)];
    if (!button->isEnabled() || button->isHidden())
        return true;
    button->click();
    return true;
}

bool TSideBar::FocusNeighbour(const TSideBarButton* from, int step)
{
    const auto at = std::find(buttons_.begin(), buttons_.end(), from);
    if (at == buttons_.end())
        return false;
    const auto index = (at - buttons_.begin()) + step;
    if (index < 0 || index >= static_cast<std::ptrdiff_t>(buttons_.size()))
        return false;
    buttons_[static_cast<std::size_t>(index)]->setFocus(step < 0 ? Qt::BacktabFocusReason
                                                                 : Qt::TabFocusReason);
    return true;
}

} // namespace quv

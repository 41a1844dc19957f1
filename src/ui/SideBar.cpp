#include "ui/SideBar.h"

#include <QButtonGroup>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QVBoxLayout>

#include <cmath>

namespace quv {

namespace {

constexpr int kIconSize = 32;

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
    setFixedSize(80, 62);
    setFocusPolicy(Qt::NoFocus);
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
    icon().paint(&p, QRect((width() - kIconSize) / 2 + shift, 4 + shift, kIconSize, kIconSize));
    p.setPen(Qt::white);
    QFont f = font();
    p.setFont(f);
    p.drawText(QRect(shift, 4 + kIconSize + shift, width(), height() - kIconSize - 4),
               Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic, text());
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
    caption->setStyleSheet(QStringLiteral(
        "color: white; background: #606060;"));
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
    return button;
}

} // namespace quv

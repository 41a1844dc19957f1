#include "ui/frmAbout.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace quv {

QString CopyrightText()
{
    return QStringLiteral("Copyright \u00A9 2026 Tavrin Corporation   www.tavrin.example");
}

QPixmap ProgramPicture(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    p.setBrush(QColor(0, 0, 128));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
    // A directional lobe over polar rings.
    p.setPen(QPen(QColor(160, 160, 255), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(10, 10, 44, 44));
    p.drawEllipse(QRectF(21, 21, 22, 22));
    p.setPen(QPen(QColor(255, 204, 0), 3));
    QPainterPath lobe;
    lobe.moveTo(32, 32);
    lobe.cubicTo(40, 4, 64, 20, 32, 32);
    lobe.cubicTo(26, 38, 24, 36, 32, 32);
    p.drawPath(lobe);
    return pixmap;
}

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About QUV Select"));
    setFixedSize(360, 216);
    setStyleSheet(
        QStringLiteral("QDialog#frmAbout { border: 1px solid #808080; background: white; }"));
    auto* outer = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* picture = new QLabel(this);
    picture->setPixmap(ProgramPicture(64));
    picture->setAlignment(Qt::AlignTop);
    top->addWidget(picture);
    auto* texts = new QVBoxLayout;
    auto* title = new QLabel(QStringLiteral("QUV Select"), this);
    QFont f = title->font();
    f.setPointSize(f.pointSize() + 6);
    f.setBold(true);
    title->setFont(f);
    texts->addWidget(title);
    texts->addWidget(new QLabel(QStringLiteral("Base station antenna selection"), this));
    // The version quvselect --version prints.
    auto* version = new QLabel(QStringLiteral("Version " QUV_VERSION), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    texts->addWidget(version);
    auto* notice = new QLabel(
        CopyrightText() + QStringLiteral("\n\nThis program and its antenna data are licensed "
                                         "for use in planning networks with Tavrin "
                                         "antennas."),
        this);
    notice->setWordWrap(true);
    texts->addWidget(notice);
    top->addLayout(texts, 1);
    outer->addLayout(top, 1);
    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    outer->addLayout(buttons);
}

} // namespace quv

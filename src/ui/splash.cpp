#include "ui/splash.h"

#include "ui/about.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace quv {

TfrmSplash::TfrmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), progress_(new QProgressBar(this))
{
    setObjectName(QStringLiteral("frmSplash"));
    setFixedSize(403, 230);
    setStyleSheet(QStringLiteral(
        "QWidget#frmSplash { background: white; border: 1px solid #808080; }"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 10);
    auto* top = new QHBoxLayout;
    auto* picture = new QLabel(this);
    picture->setPixmap(ProgramPicture(64));
    top->addWidget(picture);
    auto* title = new QLabel(QStringLiteral("QUV Select"), this);
    QFont f(QStringLiteral("Arial"), 22, QFont::Bold);
    title->setFont(f);
    title->setStyleSheet(QStringLiteral("color: #000080;"));
    top->addWidget(title, 1);
    layout->addLayout(top);
    layout->addStretch(1);
    auto* loading = new QLabel(QStringLiteral("Loading Antenna Files..."), this);
    loading->setObjectName(QStringLiteral("lblLoading"));
    layout->addWidget(loading);
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    progress_->setTextVisible(false);
    progress_->setFixedHeight(16);
    layout->addWidget(progress_);
    layout->addStretch(1);
    auto* notice = new QLabel(CopyrightText(), this);
    notice->setAlignment(Qt::AlignCenter);
    layout->addWidget(notice);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TfrmSplash::SetMaximum(int maximum)
{
    // A range of 0..0 would show a busy bar; an empty folder shows an empty bar instead.
    progress_->setRange(0, maximum > 0 ? maximum : 1);
    progress_->setValue(0);
}

void TfrmSplash::Step()
{
    progress_->setValue(progress_->value() + 1);
    progress_->repaint();
}

} // namespace quv

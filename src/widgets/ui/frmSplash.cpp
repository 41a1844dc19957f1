#include "ui/frmSplash.h"

#include "ui/WindowIdioms.h"
#include "ui/frmAbout.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QThread>
#include <QVBoxLayout>

namespace quv {

TfrmSplash::TfrmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), progress_(new QProgressBar(this))
{
    setObjectName(QStringLiteral("frmSplash"));
    setFixedSize(403, 230);
    setStyleSheet(
        QStringLiteral("QWidget#frmSplash { background: white; border: 1px solid #808080; }"));
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
    progress_->installEventFilter(this);
    layout->addWidget(progress_);
    layout->addStretch(1);
    auto* notice = new QLabel(CopyrightText(), this);
    notice->setAlignment(Qt::AlignCenter);
    layout->addWidget(notice);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TfrmSplash::ShowPainted()
{
    ShowExposed(*this);
    repaint();
    QGuiApplication::sync();
}

void TfrmSplash::SetMaximum(int maximum)
{
    // A range of 0..0 would show a busy bar; an empty folder shows an empty bar instead.
    progress_->setRange(0, maximum > 0 ? maximum : 1);
    progress_->setValue(0);
    drawn_ = DrawnLength();
}

int TfrmSplash::DrawnLength() const
{
    const qint64 range = qint64(progress_->maximum()) - progress_->minimum();
    if (range <= 0)
        return 0;
    return static_cast<int>((qint64(progress_->value()) - progress_->minimum()) *
                            progress_->width() / range);
}

void TfrmSplash::Step()
{
    const int paintsBefore = paints_;
    progress_->setValue(progress_->value() + 1); // paints by itself after larger moves
    const int drawn = DrawnLength();
    if (drawn == drawn_)
        return;
    drawn_ = drawn;
    if (paints_ == paintsBefore)
        progress_->repaint();
}

void TfrmSplash::Hold(int ms)
{
    // What was painted must reach the display before the thread sleeps.
    QGuiApplication::sync();
    if (ms > 0)
        QThread::msleep(static_cast<unsigned long>(ms));
}

bool TfrmSplash::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == progress_ && event->type() == QEvent::Paint)
        ++paints_;
    return QWidget::eventFilter(watched, event);
}

} // namespace quv

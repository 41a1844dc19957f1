// The splash window shown while the catalogue loads: title, "Loading Antenna Files...", a
// progress bar and the maker's notice.
#pragma once

#include <QWidget>

class QProgressBar;

namespace quv {

class TfrmSplash : public QWidget {
    Q_OBJECT
public:
    explicit TfrmSplash(QWidget* parent = nullptr);
    QProgressBar* ProgressBar() const { return progress_; }
    // Shows the window and paints it as soon as the window system has put it on the screen, so
    // that it is painted before a loading loop that runs no event loop.
    void ShowPainted();
    void SetMaximum(int maximum);
    // Advances by one. The bar is painted at once (the loading loop runs no event loop), but only
    // when its drawn length changes: a paint per file would cost a round trip to the display each.
    void Step();
    // Keeps the finished window on the screen for `ms` milliseconds, blocking the thread.
    void Hold(int ms);
    // How often the bar has been painted (for measurements and tests).
    int ProgressPaints() const { return paints_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int DrawnLength() const;

    QProgressBar* progress_;
    int paints_ = 0;
    int drawn_ = 0;
};

} // namespace quv

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
    void SetMaximum(int maximum);
    // Advances by one and paints at once: the loading loop runs no event loop.
    void Step();

private:
    QProgressBar* progress_;
};

} // namespace quv

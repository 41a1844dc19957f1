// Small behaviours every window of the program shares: its one font, the frame of fixed-size
// dialogs, the wheel on unfocused value controls, tool buttons after their menu closed, and the
// repaint of a window uncovered by a dialog before work that holds the event loop.
#pragma once

#include <QFont>
#include <QLabel>
#include <QLayout>
#include <QSize>

class QAbstractItemView;
class QScreen;
class QDialog;
class QString;
class QToolButton;
class QWidget;

namespace quv {

// Tahoma 8 pt; where Tahoma is missing, the Arial-metric face keeps the layouts' widths.
QFont ProgramFont();

// `wanted` shrunk to fit `available`, never below 1 x 1: a size in device-independent pixels can
// exceed a small or scaled screen (691 x 550 at scale 2 needs 1382 x 1100 physical pixels).
QSize FitToScreen(QSize wanted, QSize available);

// Gives `window` the minimum size `minimum` and the size `initial`, each at most the available
// area of its screen less its frame; once the window manager has framed the window (and whenever
// the frame changes), a window larger than that area is shrunk to it and moved onto it.
void KeepWithinScreen(QWidget& window, QSize minimum, QSize initial);

// A label whose text gives way when its panel is narrower than the text: whole words are dropped
// from its end (then letters, when even the first word does not fit) behind an ellipsis, and the
// full text becomes its tooltip. Its minimum width is that of the ellipsis alone.
class TElidedLabel : public QLabel {
public:
    explicit TElidedLabel(const QString& text, QWidget* parent = nullptr);
    QSize minimumSizeHint() const override;
    // The text as shown in `width` pixels of `metrics`.
    static QString Fit(const QString& text, const QFontMetrics& metrics, int width);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Two widgets side by side, the second at the right, while the width holds both; below that the
// second goes under the first, so a narrow window (a small or scaled screen) still shows both
// whole. Its minimum width is that of the wider of the two.
class TWrappingRow : public QLayout {
public:
    TWrappingRow(QWidget* first, QWidget* second);
    ~TWrappingRow() override;
    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    void setGeometry(const QRect& rect) override;

private:
    bool Fits(int width) const;
    QList<QLayoutItem*> items_;
};

// A dialog that cannot be resized carries a title and a close button only. Call before showing.
void UseFixedDialogFrame(QDialog& dialog);

// The width a window needs for its title bar to show `title` whole, with the window menu and the
// close button of a fixed dialog beside it.
int TitleBarWidth(const QString& title);

// An item of `view` whose text is cut (a long category or part number, a value wider than its
// column) shows its full text as its tooltip.
void ShowCutTextsAsToolTips(QAbstractItemView& view);

// The mouse wheel changes the combo boxes below `root` only while they have the focus; an
// unfocused one ignores it (and does not take the focus from it).
void RequireFocusForWheel(QWidget& root);

// A tool button whose drop-down menu has closed drops its raised look when the mouse is no
// longer over it; the window system sends it no leave event while the menu holds the mouse.
void DropHoverAfterMenu(QToolButton& button);

// Shows a window and processes the window system's events (no user input) until it is exposed,
// at most `maxWaitMs`; true when it is. Painting before that would be lost.
bool ShowExposed(QWidget& window, int maxWaitMs = 2000);

// Repaints `window` at once, after the window system has uncovered the area of a dialog that
// just closed over it (waiting at most `maxWaitMs` for that), so that work holding the event loop
// afterwards does not leave the dialog's picture on the screen. A negative wait takes the
// platform's: only an X11 window manager uncovers asynchronously, other platforms keep the
// window's content.
void RepaintUncovered(QWidget& window, int maxWaitMs = -1);

} // namespace quv

// Small behaviours every window of the program shares: its one font, the frame of fixed-size
// dialogs, the wheel on unfocused value controls, tool buttons after their menu closed, and the
// repaint of a window uncovered by a dialog before work that holds the event loop.
#pragma once

#include <QFont>

class QAbstractItemView;
class QDialog;
class QString;
class QToolButton;
class QWidget;

namespace quv {

// Tahoma 8 pt; where Tahoma is missing, the Arial-metric face keeps the layouts' widths.
QFont ProgramFont();

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

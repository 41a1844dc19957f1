// The side-bar button control: a column of large icon buttons with white captions under their
// icons on a grey bar with a title, acting as one radio group.
#pragma once

#include <QFrame>
#include <QToolButton>

#include <vector>

class QKeyEvent;
class QVBoxLayout;
class QButtonGroup;

namespace quv {

// The pictures drawn for the side-bar buttons (our own simple line art, no bitmap files).
enum class TSideBarIcon {
    Application,
    FrequencyRange,
    PartNumber,
    MultiSearch,
    QuickPreview,
    CrossReference,
    SiteFit
};
QIcon MakeSideBarIcon(TSideBarIcon kind);

class TSideBarButton : public QToolButton {
    Q_OBJECT
public:
    TSideBarButton(const QString& caption, const QIcon& icon, int tag, QWidget* parent = nullptr);
    int Tag() const { return tag_; }
    // Tall enough for the icon and the caption wrapped in the button's width.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    // The height the button takes with icons of `iconSide` pixels.
    int HeightFor(int iconSide) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QRect CaptionRect(int shift) const;
    int tag_;
};

class TSideBar : public QFrame {
    Q_OBJECT
public:
    explicit TSideBar(const QString& title, QWidget* parent = nullptr);
    // Adds a button under the ones already present; the bar owns it.
    TSideBarButton* AddButton(const QString& objectName, const QString& caption, TSideBarIcon icon,
                              int tag);
    // Ctrl+1 presses the first button, Ctrl+2 the second and so on, as a click would; true when
    // the key named a button.
    bool PressShortcut(const QKeyEvent& key);
    // Moves the focus to the button `step` places from `from` (keyboard arrows); false at an end.
    bool FocusNeighbour(const TSideBarButton* from, int step);

signals:
    // A button was pressed (by the user or by click()): its tag.
    void buttonClicked(int tag);

protected:
    // A bar shorter than its buttons (a small or scaled screen) draws smaller icons closer
    // together rather than buttons over each other.
    void resizeEvent(QResizeEvent* event) override;

private:
    QVBoxLayout* layout_;
    QButtonGroup* group_;
    std::vector<TSideBarButton*> buttons_; // top to bottom
};

} // namespace quv

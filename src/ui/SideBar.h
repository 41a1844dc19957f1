// The side-bar button control: a column of large icon buttons with white captions under their
// icons on a grey bar with a title, acting as one radio group.
#pragma once

#include <QFrame>
#include <QToolButton>

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
    CrossReference
};
QIcon MakeSideBarIcon(TSideBarIcon kind);

class TSideBarButton : public QToolButton {
    Q_OBJECT
public:
    TSideBarButton(const QString& caption, const QIcon& icon, int tag, QWidget* parent = nullptr);
    int Tag() const { return tag_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int tag_;
};

class TSideBar : public QFrame {
    Q_OBJECT
public:
    explicit TSideBar(const QString& title, QWidget* parent = nullptr);
    // Adds a button under the ones already present; the bar owns it.
    TSideBarButton* AddButton(const QString& objectName, const QString& caption,
                              TSideBarIcon icon, int tag);

signals:
    // A button was pressed (by the user or by click()): its tag.
    void buttonClicked(int tag);

private:
    QVBoxLayout* layout_;
    QButtonGroup* group_;
};

} // namespace quv

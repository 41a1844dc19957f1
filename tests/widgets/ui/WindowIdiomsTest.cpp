// What every window shares: the splash's progress paints, the program font and the frame of the
// fixed-size dialogs, the wheel on unfocused combo boxes, tool buttons after their menu, and the
// repaint of a window uncovered by a closed dialog.
#include "ui/WindowIdioms.h"
#include "dialogs/frmExport.h"
#include "dialogs/frmExportAll.h"
#include "patterns/frmLegend.h"
#include "patterns/frmMetrics.h"
#include "patterns/frmPattern.h"
#include "patterns/frmRotate.h"
#include "support/ScriptedPrompt.h"
#include "support/TestApp.h"
#include "ui/SideBar.h"
#include "ui/frmSplash.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QExposeEvent>
#include <QHelpEvent>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>

using namespace quv;

namespace {

class TEventCounter : public QObject {
public:
    TEventCounter(QObject* target, QEvent::Type type) : type_(type)
    {
        target->installEventFilter(this);
    }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == type_)
            ++count;
        return false;
    }

private:
    QEvent::Type type_;
};

struct WindowIdioms : ::testing::Test {
    void SetUp() override { test::EnsureQtApp(); }
};

} // namespace

TEST_F(WindowIdioms, SplashBarIsPaintedOnceForEachChangeOfItsDrawnLength)
{
    // A paint per file costs a round trip to the display each; a paint per drawn pixel keeps
    // the bar moving smoothly whatever the catalogue's size.
    for (const int files : {1, 7, 100, 10000}) {
        TfrmSplash splash;
        splash.ShowPainted();
        ASSERT_TRUE(splash.windowHandle() && splash.windowHandle()->isExposed());
        const int width = splash.ProgressBar()->width();
        ASSERT_GT(width, 100);
        splash.SetMaximum(files);
        const int before = splash.ProgressPaints();
        for (int i = 0; i < files; ++i)
            splash.Step();
        const int paints = splash.ProgressPaints() - before;
        const int changes = std::min(files, width);
        EXPECT_LE(paints, changes + 1) << files << " files";
        EXPECT_GE(paints, changes - 1) << files << " files";
        EXPECT_EQ(splash.ProgressBar()->value(), files);
    }
}

TEST_F(WindowIdioms, EveryWindowUsesTheProgramFontAndFixedDialogsOnlyClose)
{
    test::TScriptedPrompt prompt;
    TQuvFile record;
    record.PartNumber = "A";
    TQuvFileList list;
    list.Add("A", &record);
    const std::string folder = ::testing::TempDir();

    TfrmRotate rotate(kNoRotation, list, nullptr);
    TfrmLegend legend(list, nullptr);
    TfrmExport exportDialog(list, nullptr);
    TfrmExportAll exportAll(nullptr, prompt, folder);
    TfrmPattern pattern(prompt, nullptr, list);
    TfrmMetrics metrics(list, nullptr);
    const struct {
        QWidget* window;
        bool fixed;
    } windows[] = {{&rotate, true},    {&legend, true},   {&exportDialog, true},
                   {&exportAll, true}, {&pattern, false}, {&metrics, false}};
    const QFont font = ProgramFont();
    for (const auto& w : windows) {
        const std::string name = w.window->objectName().toStdString();
        EXPECT_EQ(w.window->font().families(), font.families()) << name;
        EXPECT_EQ(w.window->font().pointSize(), 8) << name;
        if (!w.fixed)
            continue;
        const Qt::WindowFlags flags = w.window->windowFlags();
        EXPECT_TRUE(flags & Qt::CustomizeWindowHint) << name;
        EXPECT_TRUE(flags & Qt::WindowTitleHint) << name;
        EXPECT_TRUE(flags & Qt::WindowCloseButtonHint) << name;
        EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint) << name;
        EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint) << name;
        EXPECT_FALSE(flags & Qt::WindowContextHelpButtonHint) << name;
    }
    EXPECT_TRUE(legend.windowFlags() & Qt::WindowStaysOnTopHint) << "the legend stays on top";
    EXPECT_EQ(font.families().front(), QStringLiteral("Tahoma"));
    EXPECT_EQ(font.pointSize(), 8);
}

TEST_F(WindowIdioms, ACutItemShowsItsFullTextAsItsToolTip)
{
    QListWidget list;
    list.setFont(ProgramFont());
    list.resize(120, 100);
    const QString longText =
        QStringLiteral("1710-1990 MHz PCS Single Polarized Variable Azimuth Beamwidth Sector");
    list.addItems({longText, QStringLiteral("PCS")});
    ShowCutTextsAsToolTips(list);
    list.show();
    const auto toolTipAt = [&list](int row) {
        const QRect cell = list.visualItemRect(list.item(row));
        QHelpEvent help(QEvent::ToolTip, cell.center(),
                        list.viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(list.viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(toolTipAt(1), QString()) << "a text that shows whole needs no tooltip";
    EXPECT_EQ(toolTipAt(0), longText);
}

TEST_F(WindowIdioms, WheelChangesAComboBoxOnlyWhileItHasTheFocus)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* first = new QComboBox(&window);
    auto* second = new QComboBox(&window);
    for (QComboBox* combo : {first, second}) {
        combo->addItems(
            {QStringLiteral("806.00"), QStringLiteral("824.00"), QStringLiteral("870.00")});
        combo->setCurrentIndex(1);
        layout->addWidget(combo);
    }
    RequireFocusForWheel(window);
    window.show();
    window.activateWindow();
    QApplication::processEvents();
    second->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(second->hasFocus());

    auto wheel = [](QComboBox* combo) {
        const QPointF at(combo->width() / 2.0, combo->height() / 2.0);
        QWheelEvent event(at, combo->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(combo, &event);
    };
    wheel(first);
    EXPECT_EQ(first->currentIndex(), 1) << "unfocused: the wheel does nothing";
    EXPECT_TRUE(second->hasFocus()) << "and takes no focus";
    wheel(second);
    EXPECT_EQ(second->currentIndex(), 2) << "focused: the wheel moves on";
}

TEST_F(WindowIdioms, ToolButtonDropsItsHoverWhenItsMenuClosesElsewhere)
{
    QWidget window;
    window.setGeometry(200, 200, 300, 100);
    auto* button = new QToolButton(&window);
    button->setGeometry(100, 30, 60, 24);
    button->setAutoRaise(true);
    button->setMenu(new QMenu(button));
    DropHoverAfterMenu(*button);
    window.show();
    QApplication::processEvents();
    // The mouse rests on the chosen menu item, outside the button.
    QCursor::setPos(button->mapToGlobal(QPoint(30, 200)));
    button->setAttribute(Qt::WA_UnderMouse, true);
    emit button->menu()->aboutToHide();
    QApplication::processEvents();
    EXPECT_FALSE(button->underMouse());

    // Over the button it keeps its raised look.
    QCursor::setPos(button->mapToGlobal(QPoint(30, 12)));
    button->setAttribute(Qt::WA_UnderMouse, true);
    emit button->menu()->aboutToHide();
    QApplication::processEvents();
    EXPECT_TRUE(button->underMouse());
}

TEST_F(WindowIdioms, RepaintUncoveredPaintsAtOnceAndWaitsOnlyUntilTheExpose)
{
    QWidget window;
    window.resize(200, 100);
    window.show();
    QApplication::processEvents();
    TEventCounter paints(&window, QEvent::Paint);

    // The window system's expose after the dialog's frame went away ends the wait.
    QElapsedTimer clock;
    clock.start();
    QCoreApplication::postEvent(window.windowHandle(), new QExposeEvent(QRegion(0, 0, 200, 100)));
    RepaintUncovered(window, 5000);
    EXPECT_LT(clock.elapsed(), 2500);
    EXPECT_GE(paints.count, 1);

    // Without one, the wait ends at its limit; the window is painted all the same.
    paints.count = 0;
    clock.restart();
    RepaintUncovered(window, 150);
    EXPECT_GE(clock.elapsed(), 140);
    EXPECT_GE(paints.count, 1);

    // A hidden window is only asked to paint.
    window.hide();
    clock.restart();
    RepaintUncovered(window, 5000);
    EXPECT_LT(clock.elapsed(), 1000);
}

TEST_F(WindowIdioms, SizesGiveWayToASmallScreenAndLabelsToANarrowPanel)
{
    // The main window's 691 x 550 on a 1280 x 1024 screen at scale 2, less a frame.
    const struct {
        QSize wanted, available, fitted;
    } sizes[] = {{{691, 550}, {1280, 1024}, {691, 550}},
                 {{691, 550}, {640, 512}, {640, 512}},
                 {{691, 550}, {636, 490}, {636, 490}},
                 {{500, 300}, {640, 290}, {500, 290}},
                 {{500, 300}, {0, -20}, {1, 1}}};
    for (const auto& s : sizes)
        EXPECT_EQ(FitToScreen(s.wanted, s.available), s.fitted) << s.available.width();

    QWidget window;
    KeepWithinScreen(window, {691, 550}, {800, 700});
    const QSize screen = window.screen()->availableGeometry().size();
    EXPECT_EQ(window.minimumSize().boundedTo(QSize(691, 550)), window.minimumSize());
    EXPECT_EQ(window.size().boundedTo(QSize(800, 700)), window.size());
    // Before the window manager says how large the frame is, room is kept for one: a window
    // as large as the screen would open with its title bar off it.
    for (const QSize size : {window.minimumSize(), window.size()}) {
        EXPECT_TRUE(size == QSize(691, 550) || size.height() < screen.height());
        EXPECT_TRUE(size.width() <= 800 && size.width() < screen.width());
    }

    // Whole words go first; a single word too long is cut letter by letter.
    const QFontMetrics fm(ProgramFont());
    const QString text =
        QStringLiteral("Copyright \u00A9 2026 Tavrin Corporation   www.tavrin.example");
    const QString dots = QStringLiteral("\u2026");
    EXPECT_EQ(TElidedLabel::Fit(text, fm, fm.horizontalAdvance(text)), text);
    const QString company = QStringLiteral("Copyright \u00A9 2026 Tavrin Corporation");
    EXPECT_EQ(TElidedLabel::Fit(text, fm, fm.horizontalAdvance(company + dots) + 2),
              company + dots);
    const QString word = TElidedLabel::Fit(
        text, fm, fm.horizontalAdvance(QStringLiteral("Copy")) + fm.horizontalAdvance(dots));
    EXPECT_TRUE(word.startsWith(QStringLiteral("Cop")) && word.endsWith(dots))
        << word.toStdString();
    TElidedLabel label(text);
    EXPECT_LT(label.minimumSizeHint().width(), fm.horizontalAdvance(QStringLiteral("Copyright")));
    EXPECT_EQ(label.toolTip(), text);

    // A check box and a button share a row while it holds both; narrower, the button moves under
    // the check box, both whole and inside the panel.
    QWidget panel;
    auto* check = new QCheckBox(QStringLiteral("Plot Checked Antennas"), &panel);
    auto* button = new QPushButton(QStringLiteral("&View Pattern(s)"), &panel);
    auto* row = new TWrappingRow(check, button);
    panel.setLayout(row);
    const int both = check->sizeHint().width() + button->sizeHint().width() + row->spacing();
    EXPECT_LT(panel.minimumSizeHint().width(), both);
    for (const int width : {both + 40, both - 1, check->sizeHint().width()}) {
        panel.resize(width, row->heightForWidth(width));
        row->setGeometry(QRect(QPoint(0, 0), panel.size()));
        SCOPED_TRACE(width);
        EXPECT_EQ(button->geometry().top() > check->geometry().bottom(), width < both);
        EXPECT_FALSE(check->geometry().intersects(button->geometry()));
        EXPECT_EQ(button->width(), button->sizeHint().width());
        EXPECT_TRUE(panel.rect().contains(button->geometry()));
        EXPECT_TRUE(panel.rect().contains(check->geometry()));
    }

    // A side bar shorter than its buttons shows smaller icons, every button whole and apart.
    TSideBar bar(QStringLiteral("Antenna Filter"));
    for (const char* caption : {"Application", "Frequency Range", "Part Number", "Multi Search",
                                "Quick Preview", "Cross Reference", "Site Fit"})
        bar.AddButton(QString(), QString::fromLatin1(caption), TSideBarIcon::Application, 0);
    bar.show();
    for (const int height : {800, 420}) {
        bar.resize(88, height);
        QApplication::processEvents();
        SCOPED_TRACE(height);
        const auto buttons = bar.findChildren<TSideBarButton*>();
        EXPECT_EQ(buttons.front()->iconSize().height() == 32, height == 800);
        for (qsizetype k = 0; k < buttons.size(); ++k) {
            EXPECT_TRUE(bar.rect().contains(buttons[k]->geometry())) << k;
            if (k > 0) {
                EXPECT_FALSE(buttons[k]->geometry().intersects(buttons[k - 1]->geometry())) << k;
            }
        }
    }
}

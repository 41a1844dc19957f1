#include "mainwindow/frmMain.h"

#include "catalogue/Codepage.h"
#include "catalogue/Filters.h"
#include "catalogue/QuvLib.h"
#include "catalogue/UserFolders.h"
#include "support/ScriptedPrompt.h"
#include "support/TestApp.h"
#include "ui/SideBar.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyleOptionViewItem>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>

using namespace quv;
using quv::test::TScriptedPrompt;

namespace {

const QString kFixture = QStringLiteral(QUV_TEST_DATA "/window");

QStringList Items(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

void Key(QWidget* target, int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, mods);
    QApplication::sendEvent(target, &press);
}

// A mouse click in the middle of a list item.
void Click(QListWidget* list, int row, Qt::MouseButton button = Qt::LeftButton,
           Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    list->scrollToItem(list->item(row));
    QApplication::processEvents(); // the list lays its items out late
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, list->viewport()->mapToGlobal(at), button,
                      button, mods);
    QApplication::sendEvent(list->viewport(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, list->viewport()->mapToGlobal(at), button,
                        Qt::NoButton, mods);
    QApplication::sendEvent(list->viewport(), &release);
}

void Mouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButtons buttons,
           Qt::MouseButton button = Qt::LeftButton)
{
    QMouseEvent event(type, at, target->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// Presses on one item, moves over another and releases there or below the list.
void Drag(QListWidget* list, int from, int to, bool releaseOutside)
{
    QApplication::processEvents();
    QWidget* viewport = list->viewport();
    const QPoint a = list->visualItemRect(list->item(from)).center();
    const QPoint b = list->visualItemRect(list->item(to)).center();
    Mouse(viewport, QEvent::MouseButtonPress, a, Qt::LeftButton);
    Mouse(viewport, QEvent::MouseMove, (a + b) / 2, Qt::LeftButton, Qt::NoButton);
    Mouse(viewport, QEvent::MouseMove, b, Qt::LeftButton, Qt::NoButton);
    const QPoint end = releaseOutside ? QPoint(b.x(), viewport->height() + 40) : b;
    Mouse(viewport, QEvent::MouseButtonRelease, end, Qt::NoButton);
}

// The middle of an item's check box, where the list toggles the check mark.
QPoint CheckBoxCentre(QListWidget* list, int row)
{
    QStyleOptionViewItem option;
    option.initFrom(list->viewport());
    option.widget = list;
    option.rect = list->visualItemRect(list->item(row));
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = list->item(row)->text();
    return list->style()
        ->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list)
        .center();
}

QString Clipboard()
{
    return QGuiApplication::clipboard()->text();
}

// Runs quvtool and returns its standard output (empty when the tool is not built).
QByteArray RunTool(const QStringList& args, int* exitCode = nullptr)
{
    if (!QFile::exists(QStringLiteral(QUV_TOOL_PATH)))
        return {};
    QProcess tool;
    tool.start(QStringLiteral(QUV_TOOL_PATH), args);
    tool.waitForFinished(30000);
    if (exitCode)
        *exitCode = tool.exitCode();
    return tool.readAllStandardOutput();
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { quv::test::EnsureQtApp(); }
    void TearDown() override { window.reset(); }

    TfrmMain& Open(const QString& folder = kFixture, QStringList args = {})
    {
        window = std::make_unique<TfrmMain>(prompt, folder, 0, args);
        return *window;
    }

    TScriptedPrompt prompt;
    std::unique_ptr<TfrmMain> window;
};

} // namespace

TEST_F(MainWindowTest, StartupKeepsGoodFilesReportsFailuresOnceAndFillsTheLists)
{
    TfrmMain& w = Open();
    // One box for the short file; the folder named like a data file is not a data file.
    ASSERT_EQ(prompt.Messages().size(), 1);
    EXPECT_TRUE(prompt.Messages()[0].contains(QStringLiteral("short.quv: ")));
    EXPECT_FALSE(prompt.Messages()[0].contains(QStringLiteral("folder.quv")));
    EXPECT_EQ(prompt.entries[0].icon, IPrompt::Icon::Error);
    EXPECT_EQ(w.Catalogue().Catalogue.Count(), 11);

    EXPECT_EQ(w.windowTitle(), QStringLiteral("QUV Select"));
    EXPECT_EQ(w.minimumSize(), QSize(691, 550));
    EXPECT_EQ(w.lbxPartNumbers->count(), 9) << "two part numbers appear twice in the catalogue";
    EXPECT_EQ(w.cbxBegGain->count(), 26);
    EXPECT_EQ(w.cbxDowntilt->itemText(w.cbxDowntilt->count() - 1), QStringLiteral("Variable"));
    EXPECT_EQ(w.cbxBegFrequency->currentIndex(), -1);
    EXPECT_EQ(w.pgFilter->currentIndex(), 0);
    EXPECT_TRUE(w.pbtnCategory->isChecked());
    EXPECT_EQ(w.lblHeaderPanel->text(), QStringLiteral("Select Antenna(s) - Application"));
    EXPECT_EQ(w.lblAntennas->text(), QStringLiteral("Antenna Matches: 0 "));
    EXPECT_EQ(w.lbxAntennas->count(), 0);
    EXPECT_EQ(w.grdSpecs->rowCount(), 35);
    EXPECT_EQ(w.grdSpecs->currentColumn(), 1);
    EXPECT_FALSE(w.btnViewPatterns->isEnabled());
    EXPECT_FALSE(w.toolPrint->isEnabled());
    EXPECT_FALSE(w.mnuExport->isEnabled());
    EXPECT_FALSE(w.mnuExportAll->isEnabled());
    EXPECT_FALSE(w.mnuCreateQUV->isVisible());
    EXPECT_TRUE(w.mnuRelativePower->isChecked());
    EXPECT_EQ(w.ProgressBar()->parentWidget(), w.findChild<QWidget*>(QStringLiteral("StatusBar1")));
}

TEST_F(MainWindowTest, ManyFailuresAreListedUpToTwentyAndEmptyFoldersSayNoFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("QUV")));
    for (int i = 1; i <= 25; ++i)
        QFile::copy(kFixture + QStringLiteral("/QUV/short.quv"),
                    dir.path() + QStringLiteral("/QUV/s%1.quv").arg(i, 2, 10, QLatin1Char('0')));
    QFile::copy(kFixture + QStringLiteral("/QUV/a4.quv"),
                dir.path() + QStringLiteral("/QUV/good.quv"));
    TfrmMain& w = Open(dir.path());
    ASSERT_EQ(prompt.Messages().size(), 1);
    const QString text = prompt.Messages()[0];
    EXPECT_EQ(text.count(QStringLiteral(".quv: ")), 20);
    EXPECT_TRUE(text.endsWith(QStringLiteral("and 5 more")));
    // The good file is usable: the lists were filled after the report.
    EXPECT_EQ(Items(w.lbxPartNumbers), QStringList{QStringLiteral("TO0894-9")});

    const QString noFiles = QStringLiteral(
        "No antenna(QUV) files were found. \r\rThe QUV files must reside in a folder named \"quv\" "
        "in the same directory as the \"QUV Select\" program.");
    QTemporaryDir empty;
    ASSERT_TRUE(QDir(empty.path()).mkpath(QStringLiteral("QUV")));
    // The message names the folders searched: the one beside the program and the user's.
    const auto searched = [](const QString& program) {
        return QStringLiteral("\r\rSearched: \"") + program + QStringLiteral("/QUV/\" and \"") +
               QString::fromStdString(UserCatalogueFolder()) + QLatin1Char('"');
    };
    prompt.Clear();
    Open(empty.path());
    EXPECT_EQ(prompt.Messages(), QStringList{noFiles + searched(empty.path())});
    EXPECT_EQ(window->lbxPartNumbers->count(), 0);

    prompt.Clear();
    Open(empty.path() + QStringLiteral("/missing"));
    EXPECT_EQ(prompt.Messages(),
              QStringList{noFiles + searched(empty.path() + QStringLiteral("/missing"))});
}

TEST_F(MainWindowTest, CommandLinePartNumberOpensIgnoringCase)
{
    TfrmMain& w = Open(kFixture, {QStringLiteral("tp1990-17")});
    EXPECT_TRUE(w.pbtnPartNumber->isChecked());
    EXPECT_EQ(w.pgFilter->currentIndex(), 2);
    EXPECT_EQ(w.lblHeaderPanel->text(), QStringLiteral("Select Antenna(s) - Part Number"));
    ASSERT_NE(w.lbxPartNumbers->currentItem(), nullptr);
    EXPECT_EQ(w.lbxPartNumbers->currentItem()->text(), QStringLiteral("TP1990-17"));
    EXPECT_EQ(Items(w.lbxAntennas), (QStringList{QStringLiteral("TP1990-17, 1710-1880 MHz"),
                                                 QStringLiteral("TP1990-17, 1850-1990 MHz")}));
    ASSERT_NE(w.SelectedRecord(), nullptr);
    EXPECT_EQ(w.SelectedRecord(), RecordAt(w.Catalogue().MatchList, 0));
    EXPECT_EQ(w.lblSpecs->text(), QStringLiteral("Specifications - TP1990-17"));
    EXPECT_EQ(w.grdSpecs->item(0, 1)->text(), QStringLiteral("TP1990-17"));
    EXPECT_TRUE(w.btnViewPatterns->isEnabled());
    EXPECT_EQ(w.Catalogue().PlotList.Count(), 1);

    Open(kFixture, {QStringLiteral("NO-SUCH-PART")});
    EXPECT_EQ(window->pgFilter->currentIndex(), 2);
    EXPECT_EQ(window->lbxPartNumbers->currentRow(), -1);
    EXPECT_EQ(window->lbxAntennas->count(), 0);
}

TEST_F(MainWindowTest, CategoryAndFrequencyPagesFilterWithTheirMessages)
{
    TfrmMain& w = Open();
    w.show();
    prompt.Clear();
    Click(w.lbxRanges, kVariableDowntiltCategory);
    const QStringList variable = Items(w.lbxAntennas);
    EXPECT_EQ(variable.size(), 2);
    EXPECT_TRUE(variable.contains(QStringLiteral("TD0865-14XD")));
    EXPECT_TRUE(variable.contains(QStringLiteral("td1865-16xd")));
    EXPECT_EQ(w.lblAntennas->text(), QStringLiteral("Antenna Matches: 2"));

    w.pbtnFrequencyRange->click();
    EXPECT_EQ(w.pgFilter->currentIndex(), 1);
    EXPECT_EQ(w.lblHeaderPanel->text(), QStringLiteral("Select Antenna(s) - Frequency Range"));
    EXPECT_EQ(w.lbxAntennas->count(), 0);
    w.pbtnCategory->click();
    EXPECT_EQ(Items(w.lbxAntennas), variable) << "the side-bar button re-applies the category";

    w.pbtnFrequencyRange->click();
    w.cbxBegFrequency->setCurrentIndex(w.cbxBegFrequency->findText(QStringLiteral("894.00")));
    EXPECT_TRUE(prompt.Messages().isEmpty()) << "one side chosen is not yet a range";
    w.cbxEndFrequency->setCurrentIndex(w.cbxEndFrequency->findText(QStringLiteral("894.00")));
    EXPECT_EQ(prompt.Messages(),
              QStringList{QStringLiteral(
                  "\"Beginning Frequency\" cannot be equal to \"Ending Frequency\"")});
    EXPECT_EQ(prompt.entries.back().icon, IPrompt::Icon::Information);
    EXPECT_EQ(w.lbxAntennas->count(), 0);
    w.pbtnFrequencyRange->click();
    EXPECT_EQ(prompt.Messages().size(), 1) << "the side-bar button shows no message";
    EXPECT_EQ(w.lbxAntennas->count(), 0);

    w.cbxBegFrequency->setCurrentIndex(w.cbxBegFrequency->findText(QStringLiteral("824.00")));
    QStringList covering = Items(w.lbxAntennas);
    covering.sort();
    EXPECT_EQ(covering, (QStringList{QStringLiteral("TD0865-14XD"), QStringLiteral("TO0894-9"),
                                     QStringLiteral("TS0865-13")}));
    w.cbxBegFrequency->setCurrentIndex(w.cbxBegFrequency->findText(QStringLiteral("1710.00")));
    EXPECT_EQ(
        prompt.Messages().last(),
        QStringLiteral("\"Beginning Frequency\" cannot be greater than \"Ending Frequency\""));
    EXPECT_EQ(w.lbxAntennas->count(), 0);
}

TEST_F(MainWindowTest, ClosestMatchAndEnterFollowTheDefaultButton)
{
    TfrmMain& w = Open();
    int views = 0;
    QObject::connect(&w, &TfrmMain::viewPatternsRequested, [&views] { ++views; });
    w.pbtnPartNumber->click();
    w.txtMatch->setText(QStringLiteral("tpc"));
    EXPECT_EQ(w.lbxAntennas->count(), 2);
    EXPECT_EQ(w.lbxPartNumbers->currentRow(), -1) << "the part number list keeps its selection";
    w.txtMatch->clear();
    EXPECT_EQ(w.lbxAntennas->count(), 0);
    w.show();
    const int ts0880 = w.lbxPartNumbers->row(
        w.lbxPartNumbers->findItems(QStringLiteral("TS0880-12"), Qt::MatchExactly)[0]);
    Click(w.lbxPartNumbers, ts0880);
    EXPECT_EQ(Items(w.lbxAntennas), QStringList{QStringLiteral("TS0880-12")});
    // A click on the part number already selected replaces the closest matches typed since.
    w.txtMatch->setText(QStringLiteral("tp"));
    ASSERT_NE(Items(w.lbxAntennas), QStringList{QStringLiteral("TS0880-12")});
    Click(w.lbxPartNumbers, ts0880);
    EXPECT_EQ(Items(w.lbxAntennas), QStringList{QStringLiteral("TS0880-12")});

    // With the default button disabled, Enter re-applies the text (dropping the check marks).
    w.txtMatch->setText(QStringLiteral("ts"));
    ASSERT_EQ(w.lbxAntennas->count(), 3);
    w.lbxAntennas->item(0)->setCheckState(Qt::Checked);
    Key(w.txtMatch, Qt::Key_Return);
    EXPECT_EQ(w.lbxAntennas->item(0)->checkState(), Qt::Unchecked);
    EXPECT_EQ(views, 0);

    // Once an antenna is selected, Enter anywhere but on a button views the patterns.
    w.lbxAntennas->setCurrentRow(1);
    ASSERT_TRUE(w.btnViewPatterns->isEnabled());
    Key(w.txtMatch, Qt::Key_Return);
    Key(w.lbxAntennas, Qt::Key_Enter);
    EXPECT_EQ(views, 2);
    EXPECT_EQ(w.lbxAntennas->currentRow(), 1);

    // A focused push button takes Enter itself rather than passing it to the default button.
    w.OutlookBtn1->click();
    w.lbxAntennas->setCurrentRow(0);
    ASSERT_TRUE(w.btnViewPatterns->isEnabled());
    w.chkPolarization->setChecked(true);
    Key(w.Button1, Qt::Key_Return);
    EXPECT_EQ(w.lbxAntennas->count(), 0) << "the search ran with nothing chosen to match";
    EXPECT_EQ(views, 2);
    Key(w.btnViewPatterns, Qt::Key_Return);
    EXPECT_EQ(views, 2) << "a disabled button does nothing";
}

TEST_F(MainWindowTest, CheckMarksCompositeModeAndCommandStates)
{
    TfrmMain& w = Open();
    w.OutlookBtn1->click();
    EXPECT_EQ(w.pgFilter->currentIndex(), 4);
    ASSERT_EQ(w.lbxAntennas->count(), 11) << "nothing checked lists the whole catalogue";
    EXPECT_TRUE(w.mnuExportAll->isEnabled());
    EXPECT_FALSE(w.mnuExport->isEnabled()) << "nothing selected yet";

    for (int i = 0; i < 5; ++i)
        w.lbxAntennas->item(i)->setCheckState(Qt::Checked);
    EXPECT_EQ(w.lbxAntennas->item(4)->checkState(), Qt::Unchecked) << "a fifth check is refused";
    EXPECT_EQ(w.StatusBar1->currentMessage(),
              QStringLiteral("At most four antennas can be plotted together"));

    w.chkComposite->setChecked(true);
    w.lbxAntennas->setCurrentRow(8);
    ASSERT_EQ(w.Catalogue().PlotList.Count(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(w.Catalogue().PlotList.Objects(i), w.Catalogue().MatchList.Objects(i))
            << "checked items in list order";
    EXPECT_TRUE(w.btnViewPatterns->isEnabled());
    EXPECT_TRUE(w.toolPrint->isEnabled());

    for (int i = 0; i < 4; ++i)
        w.lbxAntennas->item(i)->setCheckState(Qt::Unchecked);
    w.lbxAntennas->setCurrentRow(9);
    EXPECT_EQ(w.Catalogue().PlotList.Count(), 0);
    EXPECT_FALSE(w.btnViewPatterns->isEnabled()) << "composite with nothing checked";
    EXPECT_FALSE(w.mnuExport->isEnabled());
    EXPECT_FALSE(w.toolPrint->isEnabled());

    w.chkComposite->setChecked(false);
    EXPECT_TRUE(w.btnViewPatterns->isEnabled());
    ASSERT_EQ(w.Catalogue().PlotList.Count(), 1);
    EXPECT_EQ(w.Catalogue().PlotList.Objects(0), w.SelectedRecord());

    // A new filter drops selection and checks; the commands wait for a selection again.
    w.Button1->click();
    EXPECT_FALSE(w.btnViewPatterns->isEnabled());
    EXPECT_EQ(w.SelectedRecord(), nullptr);
}

TEST_F(MainWindowTest, PopupCopiesPutListTextsOnTheClipboard)
{
    TfrmMain& w = Open();
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    emit w.popmnuAntennas->aboutToShow();
    EXPECT_FALSE(w.antCopyAll->isEnabled());
    EXPECT_FALSE(w.antCopySelected->isEnabled());
    w.antCopyAll->trigger();
    w.antCopySelected->trigger();
    EXPECT_EQ(Clipboard(), QStringLiteral("before")) << "empty list leaves the clipboard alone";

    w.pbtnPartNumber->click();
    w.txtMatch->setText(QStringLiteral("tp1"));
    ASSERT_EQ(w.lbxAntennas->count(), 2);
    emit w.popmnuAntennas->aboutToShow();
    EXPECT_TRUE(w.antCopyAll->isEnabled());
    EXPECT_FALSE(w.antCopyChecked->isEnabled());
    w.antCopyAll->trigger();
    EXPECT_EQ(Clipboard(),
              QStringLiteral("TP1990-17, 1710-1880 MHz\r\nTP1990-17, 1850-1990 MHz\r\n"));
    w.lbxAntennas->item(1)->setCheckState(Qt::Checked);
    emit w.popmnuAntennas->aboutToShow();
    EXPECT_TRUE(w.antCopyChecked->isEnabled());
    w.antCopyChecked->trigger();
    EXPECT_EQ(Clipboard(), QStringLiteral("TP1990-17, 1850-1990 MHz\r\n"));
    w.lbxAntennas->setCurrentRow(0);
    emit w.popmnuAntennas->aboutToShow();
    EXPECT_TRUE(w.antCopySelected->isEnabled());
    w.antCopySelected->trigger();
    EXPECT_EQ(Clipboard(), QStringLiteral("TP1990-17, 1710-1880 MHz"));

    // The right button opens the menu without selecting: the copy is still of the selection,
    // and a right click on a category or part number does not filter.
    w.show();
    Click(w.lbxAntennas, 1, Qt::RightButton);
    EXPECT_EQ(w.lbxAntennas->currentRow(), 0);
    w.antCopySelected->trigger();
    EXPECT_EQ(Clipboard(), QStringLiteral("TP1990-17, 1710-1880 MHz"));
    Click(w.lbxPartNumbers, 0, Qt::RightButton);
    EXPECT_EQ(w.lbxPartNumbers->currentRow(), -1);
    Click(w.lbxRanges, kVariableDowntiltCategory, Qt::RightButton);
    EXPECT_EQ(w.lbxAntennas->count(), 2) << "the matches are kept";
    EXPECT_EQ(w.lbxAntennas->currentRow(), 0);
    // Ctrl+click on the selected antenna does not deselect it.
    Click(w.lbxAntennas, 0, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_NE(w.SelectedRecord(), nullptr);
    EXPECT_TRUE(w.btnViewPatterns->isEnabled());

    emit w.popmnuPartNumbers->aboutToShow();
    EXPECT_FALSE(w.pnCopySelected->isEnabled());
    EXPECT_TRUE(w.pnCopyAll->isEnabled());
    w.pnCopyAll->trigger();
    EXPECT_EQ(Clipboard().count(QStringLiteral("\r\n")), 9);
    EXPECT_TRUE(Clipboard().endsWith(QStringLiteral("\r\n")));
}

TEST_F(MainWindowTest, GridRowsSectionsDescriptionRowAndCopies)
{
    TfrmMain& w = Open(kFixture, {QStringLiteral("TO0894-9")});
    w.show();
    QApplication::processEvents();
    QStringList titles;
    for (int row = 0; row < w.grdSpecs->rowCount(); ++row)
        titles << w.grdSpecs->item(row, 0)->text();
    EXPECT_FALSE(titles.contains(QStringLiteral("  Azimuth Beamwidth, degrees")));
    EXPECT_FALSE(titles.contains(QStringLiteral("  Number of Connectors")));
    EXPECT_TRUE(titles.contains(QStringLiteral("  Antenna Dimensions, L x Dia., mm (inches)")));
    EXPECT_EQ(titles.first(), QStringLiteral("Antenna Model"));
    EXPECT_EQ(w.grdSpecs->rowHeight(1), 19) << "a one-line description";
    EXPECT_EQ(w.grdSpecs->rowHeight(3), 19);

    // Only the value column can be current: a move onto a title is refused, the selection
    // stays on the value it was on.
    w.grdSpecs->setCurrentCell(4, 1);
    w.grdSpecs->setCurrentCell(2, 0);
    EXPECT_EQ(w.grdSpecs->currentRow(), 4);
    EXPECT_EQ(w.grdSpecs->currentColumn(), 1);
    Key(w.grdSpecs, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Clipboard(), w.grdSpecs->item(4, 1)->text());
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    Key(w.grdSpecs, Qt::Key_X, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Clipboard(), QStringLiteral("kept"));

    w.CopySpecstoClipboard1->trigger();
    const QString specs = Clipboard();
    EXPECT_TRUE(specs.startsWith(QStringLiteral("Antenna Model\tTO0894-9\r\nDescription\t")));
    EXPECT_TRUE(specs.contains(QStringLiteral("\r\nElectrical Specifications\t\r\n")));
    // quvtool show prints the same grid (when the tool is built alongside).
    const QByteArray shown =
        RunTool({QStringLiteral("show"), QStringLiteral("--catalogue"),
                 kFixture + QStringLiteral("/QUV"), QStringLiteral("to0894-9")});
    if (!shown.isEmpty()) {
        EXPECT_EQ(ToQString(shown.toStdString()), specs);
    }

    // A long description wraps in a taller row.
    w.SelectedRecord()->Description = "Long description " + std::string(60, 'a') + " " +
                                      std::string(60, 'b') + " " + std::string(60, 'c');
    w.lbxAntennas->setCurrentRow(-1);
    w.lbxAntennas->setCurrentRow(0);
    EXPECT_GT(w.grdSpecs->rowHeight(1), 19);
}

TEST_F(MainWindowTest, ShortcutsNeedTheExactShiftStateAndAnEnabledCommand)
{
    TfrmMain& w = Open();
    int prints = 0, exports = 0, matches = 0;
    QObject::connect(&w, &TfrmMain::printRequested, [&] { ++prints; });
    QObject::connect(&w, &TfrmMain::exportSelectedRequested, [&] { ++exports; });
    QObject::connect(&w, &TfrmMain::exportMatchesRequested, [&] { ++matches; });

    Key(&w, Qt::Key_P, Qt::ControlModifier);
    Key(&w, Qt::Key_E, Qt::ControlModifier);
    Key(&w, Qt::Key_M, Qt::ControlModifier);
    w.mnuPrint->trigger();
    EXPECT_EQ(prints + exports + matches, 0) << "all disabled at start";

    w.OutlookBtn1->click();
    Key(&w, Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(matches, 1);
    w.lbxAntennas->setCurrentRow(0);
    Key(w.lbxAntennas, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(prints, 0);
    Key(w.lbxAntennas, Qt::Key_P, Qt::ControlModifier);
    Key(&w, Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(prints, 1);
    EXPECT_EQ(exports, 1);

    Key(&w, Qt::Key_F9, Qt::ShiftModifier);
    EXPECT_TRUE(w.mnuBreak->isVisible());
    EXPECT_TRUE(w.mnuCreateQUV->isVisible());
    EXPECT_TRUE(w.mnuCreateAntenna->isVisible());
    Key(&w, Qt::Key_F9, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_TRUE(w.mnuCreateQUV->isVisible());
    Key(&w, Qt::Key_F9, Qt::ShiftModifier);
    EXPECT_FALSE(w.mnuCreateQUV->isVisible());

    QString version;
    prompt.dialogAnswers.push_back([&version](QDialog& d) {
        if (auto* label = d.findChild<QLabel*>(QStringLiteral("lblVersion")))
            version = label->text();
        return int(QDialog::Accepted);
    });
    w.About1->trigger();
    // The version quvselect --version prints.
    EXPECT_EQ(version, QStringLiteral("Version " QUV_VERSION));
    ASSERT_EQ(prompt.CountOf(TScriptedPrompt::Entry::Kind::Dialog), 1);
    EXPECT_EQ(prompt.entries.back().text, QStringLiteral("About QUV Select"));
}

TEST_F(MainWindowTest, PlotTypeMenuSplitterLimitsAndPreviewPage)
{
    TfrmMain& w = Open();
    EXPECT_EQ(w.PlotType(), TPlotType::RelativePower);
    w.SetPlotType(TPlotType::RelativeField);
    EXPECT_EQ(w.PlotType(), TPlotType::RelativeField);
    EXPECT_TRUE(w.mnuRelativeField->isChecked());
    EXPECT_FALSE(w.mnuRelativePower->isChecked());
    w.mnuRelativePower->trigger();
    EXPECT_EQ(w.PlotType(), TPlotType::RelativePower);
    EXPECT_FALSE(w.mnuRelativeField->isChecked());

    w.show();
    QApplication::processEvents();
    EXPECT_EQ(w.pnlTop->height(), 219);
    w.Splitter1->setSizes({2000, 10});
    QApplication::processEvents();
    EXPECT_EQ(w.pnlTop->height(), 280);
    w.Splitter1->setSizes({10, 2000});
    QApplication::processEvents();
    EXPECT_EQ(w.pnlTop->height(), 215);

    w.pbtnPreview->click();
    EXPECT_EQ(w.pgFilter->currentIndex(), 3);
    EXPECT_EQ(w.lblHeaderPanel->text(), QStringLiteral("Antenna Quick Preview"));
    EXPECT_TRUE(w.imgAzimuth->pixmap().isNull());
    EXPECT_TRUE(w.imgElevation->pixmap().isNull());
    EXPECT_EQ(w.pnlInner->size(), QSize(369, 185));

    // The preview follows the selection only while its page is shown, and keeps the plot type
    // it was drawn with until it is drawn again.
    w.OutlookBtn1->click();
    w.pbtnPreview->click();
    ASSERT_GT(w.lbxAntennas->count(), 3);
    w.lbxAntennas->setCurrentRow(0);
    ASSERT_FALSE(w.imgAzimuth->pixmap().isNull());
    ASSERT_FALSE(w.imgElevation->pixmap().isNull());
    const qint64 first = w.imgAzimuth->pixmap().cacheKey();
    w.SetPlotType(TPlotType::RelativeField);
    EXPECT_EQ(w.imgAzimuth->pixmap().cacheKey(), first);
    w.lbxAntennas->setCurrentRow(1);
    const qint64 second = w.imgAzimuth->pixmap().cacheKey();
    EXPECT_NE(second, first);
    w.OutlookBtn1->click();
    w.lbxAntennas->setCurrentRow(2);
    EXPECT_EQ(w.imgAzimuth->pixmap().cacheKey(), second);

    // A record whose levels are not numbers: one error box, both images keep their pictures.
    w.pbtnPreview->click();
    const qint64 kept = w.imgAzimuth->pixmap().cacheKey();
    TQuvFile* broken = RecordAt(w.Catalogue().MatchList, 3);
    broken->Azimuth.Clear();
    for (int a = 0; a <= 360; ++a)
        broken->Azimuth.Append("level");
    prompt.Clear();
    Click(w.lbxAntennas, 3);
    ASSERT_EQ(prompt.Messages().size(), 1) << "one mouse click is one selection click";
    EXPECT_EQ(prompt.entries[0].icon, IPrompt::Icon::Error);
    EXPECT_TRUE(prompt.Messages()[0].contains(QStringLiteral("'level'")));
    EXPECT_EQ(w.imgAzimuth->pixmap().cacheKey(), kept);
    Click(w.lbxAntennas, 3);
    EXPECT_EQ(prompt.Messages().size(), 2) << "clicking the selected item clicks it again";
}

TEST_F(MainWindowTest, ListCommandAgreesWithTheWindow)
{
    TfrmMain& w = Open();
    w.lbxRanges->setCurrentRow(kVariableDowntiltCategory);
    const QStringList category = Items(w.lbxAntennas);
    w.OutlookBtn1->click();
    const QStringList all = Items(w.lbxAntennas);

    const QString folder = kFixture + QStringLiteral("/QUV");
    int code = -1;
    const QByteArray listed =
        RunTool({QStringLiteral("list"), QStringLiteral("--catalogue"), folder,
                 QStringLiteral("--category"), QString::number(kVariableDowntiltCategory)},
                &code);
    if (listed.isEmpty())
        GTEST_SKIP() << "quvtool is not built";
    EXPECT_EQ(code, 0);
    EXPECT_EQ(ToQString(listed.toStdString()),
              category.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    const QByteArray multi = RunTool(
        {QStringLiteral("list"), QStringLiteral("--catalogue"), folder, QStringLiteral("--multi")});
    EXPECT_EQ(ToQString(multi.toStdString()), all.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

TEST_F(MainWindowTest, TheItemShownSelectedIsTheItemAppliedWhateverTheGesture)
{
    TfrmMain& w = Open();
    w.show();
    for (const bool releaseOutside : {false, true}) {
        SCOPED_TRACE(releaseOutside ? "released below the list" : "released on the item");
        w.pbtnCategory->click();
        Drag(w.lbxRanges, 1, 3, releaseOutside);
        EXPECT_EQ(w.lbxRanges->selectedItems(), QList<QListWidgetItem*>{w.lbxRanges->item(3)});
        EXPECT_EQ(Items(w.lbxAntennas), QStringList{QStringLiteral("TO0894-9")});
        EXPECT_EQ(w.lblAntennas->text(), QStringLiteral("Antenna Matches: 1"));

        w.pbtnPartNumber->click();
        Drag(w.lbxPartNumbers, 0, 2, releaseOutside);
        ASSERT_EQ(w.lbxPartNumbers->selectedItems(),
                  QList<QListWidgetItem*>{w.lbxPartNumbers->item(2)});
        const QString part = w.lbxPartNumbers->item(2)->text();
        ASSERT_GT(w.lbxAntennas->count(), 0);
        for (const QString& text : Items(w.lbxAntennas))
            EXPECT_TRUE(text.startsWith(part)) << text.toStdString();

        w.OutlookBtn1->click();
        Drag(w.lbxAntennas, 0, 3, releaseOutside);
        EXPECT_EQ(w.lbxAntennas->selectedItems(), QList<QListWidgetItem*>{w.lbxAntennas->item(3)});
        ASSERT_EQ(w.SelectedRecord(), RecordAt(w.Catalogue().MatchList, 3));
        EXPECT_EQ(w.lblSpecs->text(),
                  QStringLiteral("Specifications - ") +
                      ToQString(RecordAt(w.Catalogue().MatchList, 3)->PartNumber));
        EXPECT_TRUE(w.btnViewPatterns->isEnabled());
        ASSERT_EQ(w.Catalogue().PlotList.Count(), 1);
        EXPECT_EQ(w.Catalogue().PlotList.Objects(0), RecordAt(w.Catalogue().MatchList, 3));
    }
}

TEST_F(MainWindowTest, TickingACheckBoxSelectsItsAntennaAsAClickOnItsTextDoes)
{
    TfrmMain& w = Open();
    w.show();
    w.OutlookBtn1->click();
    w.chkComposite->setChecked(true);
    auto tick = [&w](int row) {
        QApplication::processEvents();
        const QPoint at = CheckBoxCentre(w.lbxAntennas, row);
        Mouse(w.lbxAntennas->viewport(), QEvent::MouseButtonPress, at, Qt::LeftButton);
        Mouse(w.lbxAntennas->viewport(), QEvent::MouseButtonRelease, at, Qt::NoButton);
    };
    for (const int row : {2, 5}) {
        tick(row);
        ASSERT_EQ(w.lbxAntennas->item(row)->checkState(), Qt::Checked) << "the press hit the box";
        EXPECT_EQ(w.SelectedRecord(), RecordAt(w.Catalogue().MatchList, row));
        EXPECT_EQ(w.lblSpecs->text(),
                  QStringLiteral("Specifications - ") +
                      ToQString(RecordAt(w.Catalogue().MatchList, row)->PartNumber));
        EXPECT_TRUE(w.btnViewPatterns->isEnabled());
        EXPECT_TRUE(w.mnuExport->isEnabled());
        EXPECT_TRUE(w.toolPrint->isEnabled());
    }
    ASSERT_EQ(w.Catalogue().PlotList.Count(), 2);
    EXPECT_EQ(w.Catalogue().PlotList.Objects(0), RecordAt(w.Catalogue().MatchList, 2));
    EXPECT_EQ(w.Catalogue().PlotList.Objects(1), RecordAt(w.Catalogue().MatchList, 5));

    // Unticking keeps the item selected; with nothing ticked the commands wait for a tick.
    tick(2);
    tick(5);
    EXPECT_EQ(w.SelectedRecord(), RecordAt(w.Catalogue().MatchList, 5));
    EXPECT_EQ(w.Catalogue().PlotList.Count(), 0);
    EXPECT_FALSE(w.btnViewPatterns->isEnabled());
    EXPECT_FALSE(w.toolPrint->isEnabled());
}

TEST_F(MainWindowTest, AClickOnATitleLeavesTheValueCellSelectedForCtrlC)
{
    TfrmMain& w = Open(kFixture, {QStringLiteral("TO0894-9")});
    w.show();
    QApplication::processEvents();
    w.grdSpecs->setCurrentCell(4, 1);
    const QTableWidgetItem* value = w.grdSpecs->item(4, 1);
    for (const QEvent::Type press : {QEvent::MouseButtonPress, QEvent::MouseButtonDblClick}) {
        for (const int row : {2, 6}) {
            const QPoint at = w.grdSpecs->visualItemRect(w.grdSpecs->item(row, 0)).center();
            Mouse(w.grdSpecs->viewport(), press, at, Qt::LeftButton);
            Mouse(w.grdSpecs->viewport(), QEvent::MouseButtonRelease, at, Qt::NoButton);
            EXPECT_EQ(w.grdSpecs->selectedItems(),
                      QList<QTableWidgetItem*>{w.grdSpecs->item(4, 1)});
            EXPECT_EQ(w.grdSpecs->currentItem(), value);
        }
    }
    QGuiApplication::clipboard()->clear();
    Key(w.grdSpecs, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Clipboard(), value->text());

    // A click on a value selects that value, and Ctrl+C copies it.
    const QPoint at = w.grdSpecs->visualItemRect(w.grdSpecs->item(6, 1)).center();
    Mouse(w.grdSpecs->viewport(), QEvent::MouseButtonPress, at, Qt::LeftButton);
    Mouse(w.grdSpecs->viewport(), QEvent::MouseButtonRelease, at, Qt::NoButton);
    EXPECT_EQ(w.grdSpecs->selectedItems(), QList<QTableWidgetItem*>{w.grdSpecs->item(6, 1)});
    Key(w.grdSpecs, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Clipboard(), w.grdSpecs->item(6, 1)->text());
}

TEST_F(MainWindowTest, DraggingTheSplitterKeepsTheTopPanelInItsRangeUnderItsHeader)
{
    TfrmMain& w = Open();
    w.show();
    QApplication::processEvents();
    QSplitterHandle* handle = w.Splitter1->handle(1);
    const QWidget* upper = w.pnlTop->parentWidget();
    const struct {
        int by;
        int expected;
    } drags[] = {{400, 280}, {-400, 215}, {30, 245}, {500, 280}, {-20, 260}, {-900, 215}};
    for (const auto& drag : drags) {
        const QPoint at(handle->width() / 2, handle->height() / 2);
        Mouse(handle, QEvent::MouseButtonPress, at, Qt::LeftButton);
        Mouse(handle, QEvent::MouseMove, at + QPoint(0, drag.by), Qt::LeftButton, Qt::NoButton);
        Mouse(handle, QEvent::MouseButtonRelease, at + QPoint(0, drag.by), Qt::NoButton);
        QApplication::processEvents();
        EXPECT_EQ(w.pnlTop->height(), drag.expected) << "dragged by " << drag.by;
        EXPECT_EQ(w.lblHeaderPanel->y(), 0) << "dragged by " << drag.by;
        EXPECT_EQ(w.pnlTop->y(), w.lblHeaderPanel->height()) << "dragged by " << drag.by;
        EXPECT_EQ(upper->height(), w.lblHeaderPanel->height() + w.pnlTop->height());
    }
}

TEST_F(MainWindowTest, WheelOverAnUnfocusedComboBoxChangesNothing)
{
    TfrmMain& w = Open();
    w.show();
    w.pbtnFrequencyRange->click();
    w.cbxBegFrequency->setCurrentIndex(0);
    w.cbxEndFrequency->setCurrentIndex(w.cbxEndFrequency->count() - 1);
    prompt.Clear();
    const QStringList before = Items(w.lbxAntennas);
    for (QComboBox* combo : w.findChildren<QComboBox*>()) {
        EXPECT_EQ(combo->focusPolicy(), Qt::StrongFocus) << combo->objectName().toStdString();
        const int index = combo->currentIndex();
        const QPointF at(combo->width() / 2.0, combo->height() / 2.0);
        for (const int delta : {120, -120}) {
            QWheelEvent wheel(at, combo->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(combo, &wheel);
        }
        EXPECT_EQ(combo->currentIndex(), index) << combo->objectName().toStdString();
    }
    EXPECT_TRUE(prompt.Messages().isEmpty());
    EXPECT_EQ(Items(w.lbxAntennas), before);
}

TEST_F(MainWindowTest, SideBarPagesAreReachedFromTheKeyboard)
{
    TfrmMain& w = Open();
    w.show();
    w.activateWindow();
    QApplication::processEvents();
    const struct {
        TSideBarButton* button;
        int page;
        QString header;
    } pages[] = {
        {w.pbtnCategory, 0, QStringLiteral("Select Antenna(s) - Application")},
        {w.pbtnFrequencyRange, 1, QStringLiteral("Select Antenna(s) - Frequency Range")},
        {w.pbtnPartNumber, 2, QStringLiteral("Select Antenna(s) - Part Number")},
        {w.OutlookBtn1, 4, QStringLiteral("Select Antenna(s) - Multi Search")},
        {w.pbtnPreview, 3, QStringLiteral("Antenna Quick Preview")},
        {w.pbtnCrossReference, 5, QStringLiteral("Select Antenna(s) - Cross Reference")},
        {w.pbtnSiteFit, 6, QStringLiteral("Select Antenna(s) - Site Fit")},
    };
    auto expectPage = [&w](const auto& page, const char* how) {
        EXPECT_TRUE(page.button->isChecked()) << how;
        EXPECT_EQ(w.pgFilter->currentIndex(), page.page) << how;
        EXPECT_EQ(w.lblHeaderPanel->text(), page.header) << how;
    };

    // Ctrl+1 to Ctrl+7 press the buttons from the top, from wherever the focus is.
    w.lbxAntennas->setFocus();
    for (int i = 6; i >= 0; --i) {
        Key(w.lbxAntennas, Qt::Key_1 + i, Qt::ControlModifier);
        expectPage(pages[i], "Ctrl+digit");
    }
    EXPECT_EQ(w.focusWidget(), w.lbxAntennas);
    w.OutlookBtn1->click();
    ASSERT_EQ(w.lbxAntennas->count(), 11);
    Key(w.lbxAntennas, Qt::Key_4, Qt::ControlModifier | Qt::ShiftModifier);
    Key(w.lbxAntennas, Qt::Key_8, Qt::ControlModifier);
    Key(w.lbxAntennas, Qt::Key_4, Qt::AltModifier);
    EXPECT_EQ(w.lbxAntennas->count(), 11) << "another shift state or no such button: nothing";

    // Each button is a Tab stop, top to bottom; Enter or Space presses the focused one.
    pages[0].button->setFocus(Qt::TabFocusReason);
    for (int i = 1; i < 7; ++i) {
        EXPECT_TRUE(pages[i].button->focusPolicy() & Qt::TabFocus);
        Key(w.focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(w.focusWidget(), pages[i].button) << "Tab from button " << i - 1;
    }
    Key(w.focusWidget(), Qt::Key_Return);
    expectPage(pages[6], "Enter");
    Key(w.focusWidget(), Qt::Key_Up);
    EXPECT_EQ(w.focusWidget(), pages[5].button) << "arrows move the focus";
    EXPECT_TRUE(pages[6].button->isChecked()) << "without pressing";
    Key(w.focusWidget(), Qt::Key_Up);
    Key(w.focusWidget(), Qt::Key_Up);
    Key(w.focusWidget(), Qt::Key_Up);
    Key(w.focusWidget(), Qt::Key_Space);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QApplication::sendEvent(w.focusWidget(), &release);
    expectPage(pages[2], "Space");

    // A mouse click presses a button as before and leaves the focus where it was.
    w.lbxAntennas->setFocus();
    const QPoint centre = w.pbtnFrequencyRange->rect().center();
    Mouse(w.pbtnFrequencyRange, QEvent::MouseButtonPress, centre, Qt::LeftButton);
    Mouse(w.pbtnFrequencyRange, QEvent::MouseButtonRelease, centre, Qt::NoButton);
    expectPage(pages[1], "click");
    EXPECT_EQ(w.focusWidget(), w.lbxAntennas);
}

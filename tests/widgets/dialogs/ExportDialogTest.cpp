// Both export commands end to end on a temporary folder, driven through a scripted prompt.
#include "dialogs/frmErrorLog.h"
#include "dialogs/frmExport.h"
#include "dialogs/frmExportAll.h"

#include "catalogue/QuvLib.h"
#include "support/ExportFixture.h"
#include "support/ScriptedPrompt.h"
#include "support/TestApp.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace quv {
namespace {

namespace fs = std::filesystem;
using Kind = test::TScriptedPrompt::Entry::Kind;

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

void PressKey(QWidget* target, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

// Calls `onPaint` before each paint of the watched widget.
class TPaintWatch : public QObject {
public:
    TPaintWatch(QWidget& widget, std::function<void()> onPaint) : onPaint_(std::move(onPaint))
    {
        widget.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            onPaint_();
        return false;
    }

private:
    std::function<void()> onPaint_;
};

class ExportCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::EnsureQtApp();
        std::string pattern = (fs::temp_directory_path() / "quvexportdlg-XXXXXX").string();
        root_ = ::mkdtemp(pattern.data());
        out_ = root_ + "/out";
        program_ = root_ + "/program/";
        fs::create_directories(out_);
        fs::create_directories(program_);

        auto header = test::BaseHeader();
        records_.push_back(catalogue_.AdoptRecord(test::MakeRecord(header)));
        header["Part Number"] = "DEF456";
        header["Pattern File Name"] = "P7";
        records_.push_back(catalogue_.AdoptRecord(test::MakeRecord(header)));
        header["Part Number"] = "BAD9";
        header["Front to Back Ratio, dB"] = "N/A";
        records_.push_back(catalogue_.AdoptRecord(test::MakeRecord(header)));
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    std::vector<std::string> OutNames() const
    {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(out_))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    void List(TQuvFileList& list, std::initializer_list<int> which)
    {
        for (int i : which)
            list.Add(records_[static_cast<std::size_t>(i)]->PartNumber,
                     records_[static_cast<std::size_t>(i)]);
    }

    std::string root_, out_, program_;
    TCatalogue catalogue_;
    std::vector<TQuvFile*> records_;
    test::TScriptedPrompt prompt_;
};

TEST_F(ExportCommands, SelectedAntennasAskOneFileEachAndReportFailuresAtOnce)
{
    List(catalogue_.PlotList, {0, 2, 1});
    prompt_.dialogAnswers.push_back([](QDialog& d) {
        auto& dlg = dynamic_cast<TfrmExport&>(d);
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Export Selected Antennas Options"));
        EXPECT_EQ(dlg.lbxExportType->count(), 18);
        EXPECT_EQ(dlg.lbxExportType->currentRow(), 0);
        EXPECT_EQ(dlg.lbxExportType->item(16)->text(), QStringLiteral("<b>Siemens</b> format"));
        EXPECT_EQ(dlg.lbxAntennas->count(), 3);
        EXPECT_EQ(dlg.lbxAntennas->item(1)->text(), QStringLiteral("BAD9"));
        EXPECT_EQ(dlg.lbxAntennas->item(1)->checkState(), Qt::Checked);
        dlg.lbxExportType->setCurrentRow(16);
        dlg.btnOK->click();
        return dlg.result();
    });
    // First antenna saved under a name with an extension, the bad one fails, the last cancelled.
    prompt_.saveFileAnswers = {Q(out_ + "/first.txt"), Q(out_ + "/bad"), QString()};
    ExportSelected(nullptr, prompt_, catalogue_.PlotList);

    EXPECT_EQ(prompt_.CountOf(Kind::SaveFile), 3);
    EXPECT_EQ(prompt_.entries[1].preset, QStringLiteral("ABC123"));
    // Each later dialog opens in the folder of the name accepted before it.
    EXPECT_EQ(prompt_.entries[2].preset, Q(out_ + "/BAD9"));
    // The failure is shown before the next antenna is offered.
    EXPECT_EQ(prompt_.entries[3].kind, Kind::Inform);
    EXPECT_EQ(prompt_.entries[3].icon, IPrompt::Icon::Error);
    EXPECT_EQ(prompt_.entries[4].preset, Q(out_ + "/DEF456"));
    EXPECT_EQ(OutNames(), std::vector<std::string>{"first.dat"});
    EXPECT_EQ(ReadBytes(out_ + "/first.dat").substr(0, 12), "NAME first\r\n");
    ASSERT_EQ(prompt_.Messages().size(), 1);
    EXPECT_EQ(prompt_.Messages()[0],
              Q("An error occured while trying to save \"" + out_ +
                "/bad\".\r\rWith message, \"'N/A' is not a valid floating point value\"."));

    // A folder that does not exist is a file-creation failure with its own text.
    prompt_.Clear();
    catalogue_.PlotList.Clear();
    List(catalogue_.PlotList, {0});
    prompt_.dialogAnswers.push_back([](QDialog& d) {
        dynamic_cast<TfrmExport&>(d).btnOK->click();
        return d.result();
    });
    prompt_.saveFileAnswers = {Q(out_ + "/missing/x")};
    ExportSelected(nullptr, prompt_, catalogue_.PlotList);
    ASSERT_EQ(prompt_.Messages().size(), 1);
    EXPECT_EQ(prompt_.Messages()[0], Q("Unable to save \"" + out_ +
                                       "/missing/x\".\r\rDrive may not be ready or is read-only."));
}

TEST_F(ExportCommands, SelectedDialogEnablesOkOnlyWithACheckedAntenna)
{
    List(catalogue_.PlotList, {0, 1});
    {
        TfrmExport dlg(catalogue_.PlotList);
        EXPECT_TRUE(dlg.btnOK->isEnabled());
        dlg.lbxAntennas->item(0)->setCheckState(Qt::Unchecked);
        EXPECT_TRUE(dlg.btnOK->isEnabled());
        dlg.lbxAntennas->item(1)->setCheckState(Qt::Unchecked);
        EXPECT_FALSE(dlg.btnOK->isEnabled());
        // A double-click on a format while OK is disabled leaves the dialog open.
        emit dlg.lbxExportType->itemDoubleClicked(dlg.lbxExportType->item(3));
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
        EXPECT_FALSE(dlg.isHidden() && dlg.result() == QDialog::Accepted);
        dlg.lbxAntennas->item(1)->setCheckState(Qt::Checked);
        EXPECT_TRUE(dlg.btnOK->isEnabled());
        emit dlg.lbxExportType->itemDoubleClicked(dlg.lbxExportType->item(3));
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(dlg.FormatIndex(), 0); // the double-click itself does not choose the row
        ASSERT_EQ(dlg.Antennas().Count(), 1);
        EXPECT_EQ(dlg.Antennas().Strings(0), "DEF456");
    }

    // An empty plot list: OK is enabled and closes the dialog, but nothing is exported.
    catalogue_.PlotList.Clear();
    prompt_.dialogAnswers.push_back([](QDialog& d) {
        auto& dlg = dynamic_cast<TfrmExport&>(d);
        EXPECT_EQ(dlg.lbxAntennas->count(), 0);
        EXPECT_TRUE(dlg.btnOK->isEnabled());
        dlg.btnOK->click();
        return dlg.result();
    });
    ExportSelected(nullptr, prompt_, catalogue_.PlotList);
    EXPECT_EQ(prompt_.CountOf(Kind::SaveFile), 0);

    // Cancelled: nothing asked, nothing written.
    List(catalogue_.PlotList, {0});
    prompt_.Clear();
    prompt_.dialogAnswers.push_back([](QDialog& d) {
        dynamic_cast<TfrmExport&>(d).btnCancel->click();
        return d.result();
    });
    ExportSelected(nullptr, prompt_, catalogue_.PlotList);
    EXPECT_EQ(prompt_.CountOf(Kind::SaveFile), 0);
    EXPECT_TRUE(OutNames().empty());
}

TEST_F(ExportCommands, OptionDialogsAnswerEnterAndEscapeFromTheirLists)
{
    List(catalogue_.PlotList, {0, 1});
    {
        TfrmExport dlg(catalogue_.PlotList);
        dlg.show();
        PressKey(dlg.lbxAntennas, Qt::Key_Escape);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
    }
    {
        TfrmExport dlg(catalogue_.PlotList);
        dlg.show();
        dlg.lbxExportType->setCurrentRow(12);
        PressKey(dlg.lbxExportType, Qt::Key_Return);
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(dlg.FormatIndex(), 12);
        EXPECT_EQ(dlg.Antennas().Count(), 2);
    }
    {
        // Enter in the folder edit presses OK only while the folder exists.
        TfrmExportAll dlg(nullptr, prompt_, program_);
        dlg.show();
        dlg.txtPath->setText(Q(root_ + "/nowhere"));
        PressKey(dlg.txtPath, Qt::Key_Return);
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_FALSE(fs::exists(program_ + "quvselect.ini"));
        dlg.txtPath->setText(Q(out_));
        dlg.lbxExportType->setCurrentRow(16);
        PressKey(dlg.txtPath, Qt::Key_Return);
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(dlg.FormatIndex(), 16);
        EXPECT_EQ(ReadBytes(program_ + "quvselect.ini"), "[EXPORTALL]\r\npath=" + out_ + "\r\n");
    }
    {
        TfrmExportAll dlg(nullptr, prompt_, program_);
        dlg.show();
        PressKey(dlg.lbxExportType, Qt::Key_Escape);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
    }
}

TEST_F(ExportCommands, MatchesWithFailuresEndInTheErrorLogWhichSavesAsText)
{
    List(catalogue_.MatchList, {0, 2, 1});
    QProgressBar progress;
    std::vector<std::string> shownLog;
    prompt_.folderAnswers = {Q(out_)};
    prompt_.dialogAnswers.push_back([&](QDialog& d) {
        auto& dlg = dynamic_cast<TfrmExportAll&>(d);
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Export Antenna Matches Options"));
        EXPECT_EQ(dlg.txtPath->text(), QString()); // nothing remembered yet
        EXPECT_FALSE(dlg.btnOK->isEnabled());
        dlg.txtPathBtn->click(); // the folder browser answers out_
        EXPECT_EQ(dlg.txtPath->text(), Q(out_));
        EXPECT_TRUE(dlg.btnOK->isEnabled());
        dlg.btnOK->click();
        return dlg.result();
    });
    prompt_.confirmAnswers = {true};
    prompt_.saveFileAnswers = {Q(root_ + "/errors")};
    prompt_.dialogAnswers.push_back([&](QDialog& d) {
        auto& log = dynamic_cast<TfrmErrorLog&>(d);
        EXPECT_EQ(log.windowTitle(), QStringLiteral("Export Error Log"));
        shownLog = log.Lines();
        EXPECT_TRUE(log.Log->toPlainText().startsWith(QStringLiteral("Error 1\n")));
        // Each sentence of a message on its own line, as it is displayed.
        EXPECT_TRUE(
            log.Log->toPlainText().contains(QStringLiteral("/BAD9_P7.pln\".\nWith message")));
        log.btnSave->click();
        return int(QDialog::Accepted);
    });
    ExportMatches(nullptr, prompt_, catalogue_.MatchList, &progress, program_);

    EXPECT_EQ(OutNames(), (std::vector<std::string>{"ABC123_P45.pln", "DEF456_P7.pln"}));
    const std::vector<std::string> expected = {
        "Error 1",
        "An error occured while attempting to save \"BAD9\" to \"" + out_ +
            "/BAD9_P7.pln\".\rWith message, \"'N/A' is not a valid floating point value\".",
        "", "Export to Planet", "2 out of 3 files were successfully exported"};
    EXPECT_EQ(shownLog, expected);
    EXPECT_EQ(prompt_.Messages(), QStringList{QStringLiteral(
                                      "An error occurred while attempting to export.\r\rClick OK "
                                      "to view the error log.")});
    // Saved, each sentence is a line of its own.
    std::string saved;
    for (const auto& line : expected)
        saved += line + "\r\n";
    saved.replace(saved.find(".\rWith"), 2, ".\r\n");
    EXPECT_EQ(ReadBytes(root_ + "/errors.txt"), saved);
    EXPECT_EQ(progress.maximum(), 3);
    EXPECT_EQ(progress.value(), 0);
    EXPECT_EQ(ReadBytes(program_ + "quvselect.ini"), "[EXPORTALL]\r\npath=" + out_ + "\r\n");
}

TEST_F(ExportCommands, MatchesAllWrittenShowTheFolderAsTypedAndRememberIt)
{
    List(catalogue_.MatchList, {0, 1});
    const std::string typed = out_ + "/";
    prompt_.dialogAnswers.push_back([&](QDialog& d) {
        auto& dlg = dynamic_cast<TfrmExportAll&>(d);
        dlg.txtPath->setText(Q(typed));
        dlg.lbxExportType->setCurrentRow(12);
        dlg.btnOK->click();
        return dlg.result();
    });
    ExportMatches(nullptr, prompt_, catalogue_.MatchList, nullptr, program_);
    EXPECT_EQ(OutNames(), (std::vector<std::string>{"ABC123_P45.dap", "DEF456_P7.dap"}));
    EXPECT_EQ(
        prompt_.Messages(),
        QStringList{Q("Antenna files were exported successfully to directory \"" + typed + "\".")});
    EXPECT_EQ(prompt_.entries.back().icon, IPrompt::Icon::Information);

    // The next dialog opens with the remembered folder and OK enabled; once the folder is gone,
    // OK starts disabled. Cancelling writes nothing and keeps the remembered folder.
    {
        TfrmExportAll dlg(nullptr, prompt_, program_);
        EXPECT_EQ(dlg.txtPath->text(), Q(typed));
        EXPECT_TRUE(dlg.btnOK->isEnabled());
        dlg.txtPath->setText(Q(root_ + "/nowhere"));
        EXPECT_FALSE(dlg.btnOK->isEnabled());
    }
    fs::remove_all(out_);
    prompt_.Clear();
    prompt_.dialogAnswers.push_back([&](QDialog& d) {
        auto& dlg = dynamic_cast<TfrmExportAll&>(d);
        EXPECT_FALSE(dlg.btnOK->isEnabled());
        dlg.btnCancel->click();
        return dlg.result();
    });
    ExportMatches(nullptr, prompt_, catalogue_.MatchList, nullptr, program_);
    EXPECT_TRUE(prompt_.Messages().isEmpty());
    EXPECT_FALSE(fs::exists(out_));
    EXPECT_EQ(ReadBytes(program_ + "quvselect.ini"), "[EXPORTALL]\r\npath=" + typed + "\r\n");
}

TEST_F(ExportCommands, FolderAndFileNamesOutsideTheCodePageReachTheFileSystem)
{
    // A folder the user picked or typed is a file-system name; the records' code page has no
    // bearing on it.
    const QString folder = Q(out_) + QStringLiteral("/\u00c9t\u00e9 \u6771");
    const std::string onDisk = folder.toUtf8().toStdString();
    fs::create_directory(onDisk);
    List(catalogue_.MatchList, {0});
    prompt_.dialogAnswers.push_back([&](QDialog& d) {
        auto& dlg = dynamic_cast<TfrmExportAll&>(d);
        dlg.txtPath->setText(folder);
        EXPECT_TRUE(dlg.btnOK->isEnabled());
        dlg.btnOK->click();
        return dlg.result();
    });
    ExportMatches(nullptr, prompt_, catalogue_.MatchList, nullptr, program_);
    EXPECT_TRUE(fs::exists(onDisk + "/ABC123_P45.pln"));
    EXPECT_EQ(
        prompt_.Messages(),
        QStringList{QStringLiteral("Antenna files were exported successfully to directory \"") +
                    folder + QStringLiteral("\".")});
    EXPECT_EQ(ReadBytes(program_ + "quvselect.ini"), "[EXPORTALL]\r\npath=" + onDisk + "\r\n");
    {
        TfrmExportAll dlg(nullptr, prompt_, program_);
        EXPECT_EQ(dlg.txtPath->text(), folder);
        EXPECT_TRUE(dlg.btnOK->isEnabled());
    }

    List(catalogue_.PlotList, {0});
    prompt_.Clear();
    prompt_.dialogAnswers.push_back([](QDialog& d) {
        dynamic_cast<TfrmExport&>(d).btnOK->click();
        return d.result();
    });
    prompt_.saveFileAnswers = {folder + QStringLiteral("/\u00e9.txt")};
    ExportSelected(nullptr, prompt_, catalogue_.PlotList);
    EXPECT_TRUE(prompt_.Messages().isEmpty());
    EXPECT_TRUE(fs::exists(onDisk + "/\xC3\xA9.pln"));

    // A failure quotes the name as chosen.
    prompt_.Clear();
    prompt_.dialogAnswers.push_back([](QDialog& d) {
        dynamic_cast<TfrmExport&>(d).btnOK->click();
        return d.result();
    });
    const QString missing = folder + QStringLiteral("/\u00e9/x");
    prompt_.saveFileAnswers = {missing};
    ExportSelected(nullptr, prompt_, catalogue_.PlotList);
    EXPECT_EQ(prompt_.Messages(),
              QStringList{QStringLiteral("Unable to save \"") + missing +
                          QStringLiteral("\".\r\rDrive may not be ready or is read-only.")});
}

TEST_F(ExportCommands, AnUnwritableSettingsFileIsReportedAndTheExportGoesOn)
{
    List(catalogue_.MatchList, {0});
    prompt_.dialogAnswers.push_back([&](QDialog& d) {
        auto& dlg = dynamic_cast<TfrmExportAll&>(d);
        dlg.txtPath->setText(Q(out_));
        dlg.btnOK->click();
        return dlg.result();
    });
    ExportMatches(nullptr, prompt_, catalogue_.MatchList, nullptr, root_ + "/noprogramfolder/");
    ASSERT_EQ(prompt_.Messages().size(), 2);
    EXPECT_EQ(prompt_.Messages()[0],
              Q("Unable to write to " + root_ + "/noprogramfolder/quvselect.ini"));
    EXPECT_EQ(OutNames(), std::vector<std::string>{"ABC123_P45.pln"});
}

TEST_F(ExportCommands, MatchesRepaintTheWindowUnderTheClosedDialogBeforeWritingAFile)
{
    List(catalogue_.MatchList, {0, 1});
    QWidget window;
    window.resize(400, 300);
    window.show();
    QApplication::processEvents();
    QDialog* dialog = nullptr;
    std::vector<bool> noFileYet; // one entry per paint of the window after the dialog closed
    TPaintWatch watch(window, [&] {
        if (dialog && !dialog->isVisible())
            noFileYet.push_back(OutNames().empty());
    });
    prompt_.dialogAnswers.push_back([&](QDialog& d) {
        auto& dlg = dynamic_cast<TfrmExportAll&>(d);
        dialog = &dlg;
        dlg.show();
        dlg.txtPath->setText(Q(out_));
        dlg.btnOK->click();
        return dlg.result();
    });
    ExportMatches(&window, prompt_, catalogue_.MatchList, nullptr, program_);
    dialog = nullptr;
    EXPECT_EQ(OutNames().size(), 2u);
    ASSERT_FALSE(noFileYet.empty()) << "the window was not repainted";
    EXPECT_TRUE(noFileYet.front()) << "the window was repainted only after the export began";
}

} // namespace
} // namespace quv

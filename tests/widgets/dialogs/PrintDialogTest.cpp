// The print command driven through the scripted prompt: the options dialog's choices decide how
// many jobs of how many pages reach the output, which records every job here.
#include "catalogue/Errors.h"
#include "dialogs/frmPrint.h"
#include "patterns/SpaceView.h"
#include "printing/PrintJob.h"
#include "reference/SiteFit.h"
#include "support/ScriptedPrompt.h"
#include "support/TestApp.h"

#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace quv;
using Kind = quv::test::TScriptedPrompt::Entry::Kind;

namespace {

// Keeps each job's title, page count and whether it ended or was dropped.
class TRecordingOutput : public TPrintOutput {
public:
    struct Job {
        std::string title;
        int pages = 1;
        bool ended = false;
        bool aborted = false;
        int drawCalls = 0;
    };
    std::vector<Job> jobs;
    TRecordingCanvas canvas;

    TPrinterMetrics Metrics() const override { return {600, 600, 5100, 25, 30}; }
    TCanvas& BeginDoc(const std::string& title, int, int) override
    {
        jobs.push_back({title});
        canvas.calls.clear();
        return canvas;
    }
    void NewPage() override { ++jobs.back().pages; }
    void EndDoc() override
    {
        jobs.back().ended = true;
        jobs.back().drawCalls = static_cast<int>(canvas.calls.size());
    }
    void AbortDoc() override { jobs.back().aborted = true; }
};

struct Antennas {
    std::vector<std::unique_ptr<TQuvFile>> records;
    TQuvFileList list;
    void Add(const std::string& part, const char* level = "-3")
    {
        auto r = std::make_unique<TQuvFile>();
        r->PartNumber = part;
        for (int i = 0; i < 361; ++i) {
            r->Azimuth.Append(level);
            r->Elevation.Append(level);
        }
        list.Add(part, r.get());
        records.push_back(std::move(r));
    }
};

// Answers the options dialog: `choose` sets the controls, then the dialog closes with OK.
std::function<int(QDialog&)> Answer(std::function<void(TfrmPrint&)> choose)
{
    return [choose](QDialog& d) {
        auto& dialog = dynamic_cast<TfrmPrint&>(d);
        choose(dialog);
        if (!dialog.btnOK->isEnabled())
            return int(QDialog::Rejected);
        dialog.btnOK->click();
        return dialog.result();
    };
}

// The application must exist before the fixture's printer is made.
struct WithQtApp {
    WithQtApp() { test::EnsureQtApp(); }
};

struct PrintCommandTest : ::testing::Test, WithQtApp {
    test::TScriptedPrompt prompt;
    QPrinter printer;
    TRecordingOutput output;
    Antennas antennas;
};

} // namespace

TEST_F(PrintCommandTest, SpacePageTakesThePatternWindowsSettings)
{
    antennas.Add("TA-1");
    TSpaceView view(antennas.list, nullptr);
    view.spnHeight->setValue(45);
    view.spnMechanicalTilt->setValue(4);
    view.spnRadius->setValue(5000);
    view.cbxMethod->setCurrentIndex(view.cbxMethod->findText(QStringLiteral("bilinear")));
    prompt.dialogAnswers.push_back(Answer([](TfrmPrint& d) { d.rbSpace->click(); }));
    PrintAntennas(nullptr, prompt, printer, output, antennas.list, TPlotType::RelativePower,
                  view.PrintSettings());
    ASSERT_EQ(output.jobs.size(), 1u);
    EXPECT_TRUE(output.jobs[0].ended);
    std::vector<std::string> texts;
    for (const auto& c : output.canvas.Of(TRecordingCanvas::Op::TextOut))
        texts.push_back(c.text);
    for (const char* text :
         {"3D PATTERN AND GROUND FOOTPRINT", "Height 45 m, mechanical tilt 4 deg",
          "Map, radius 5000 m", "3D pattern (bilinear)"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), text), texts.end()) << text;
}

TEST_F(PrintCommandTest, ThreeAntennasBothPagesMakeThreeJobsOfTwoPages)
{
    antennas.Add("TA-1");
    antennas.Add("TB-2");
    antennas.Add("TC-3");
    std::vector<std::string> offered;
    bool allChecked = true;
    prompt.dialogAnswers.push_back(Answer([&](TfrmPrint& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Print Options"));
        EXPECT_TRUE(d.rbBoth->isChecked());
        for (int i = 0; i < d.lbxAntennas->count(); ++i) {
            offered.push_back(d.lbxAntennas->item(i)->text().toStdString());
            allChecked = allChecked && d.lbxAntennas->item(i)->checkState() == Qt::Checked;
        }
        // Patterns only, then Both again: both pages are printed.
        d.rbPatterns->click();
        d.rbBoth->click();
    }));
    PrintAntennas(nullptr, prompt, printer, output, antennas.list, TPlotType::RelativePower);

    EXPECT_EQ(offered, (std::vector<std::string>{"TA-1", "TB-2", "TC-3"}));
    EXPECT_TRUE(allChecked);
    ASSERT_EQ(output.jobs.size(), 3u);
    const char* titles[] = {"TA-1", "TB-2", "TC-3"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(output.jobs[i].title, titles[i]);
        EXPECT_EQ(output.jobs[i].pages, 2);
        EXPECT_TRUE(output.jobs[i].ended);
        EXPECT_GT(output.jobs[i].drawCalls, 0);
    }
    EXPECT_TRUE(prompt.Messages().isEmpty());
}

TEST_F(PrintCommandTest, ChoicesDecideWhatIsPrinted)
{
    antennas.Add("TA-1");
    antennas.Add("TB-2");
    antennas.Add("TC-3");
    struct Case {
        const char* name;
        std::function<void(TfrmPrint&)> choose; // empty: the dialog is cancelled
        std::vector<std::string> titles;
        int pages;
    };
    const Case cases[] = {
        {"cancelled", nullptr, {}, 0},
        {"specs of the second only",
         [](TfrmPrint& d) {
             d.lbxAntennas->item(0)->setCheckState(Qt::Unchecked);
             d.lbxAntennas->item(2)->setCheckState(Qt::Unchecked);
             d.rbSpecs->click();
         },
         {"TB-2"},
         1},
        {"patterns of two",
         [](TfrmPrint& d) {
             d.lbxAntennas->item(1)->setCheckState(Qt::Unchecked);
             d.rbPatterns->click();
         },
         {"TA-1", "TC-3"},
         1},
        {"none checked",
         [](TfrmPrint& d) {
             for (int i = 0; i < d.lbxAntennas->count(); ++i)
                 d.lbxAntennas->item(i)->setCheckState(Qt::Unchecked);
             EXPECT_FALSE(d.btnOK->isEnabled());
             d.lbxAntennas->item(1)->setCheckState(Qt::Checked);
             EXPECT_TRUE(d.btnOK->isEnabled());
             d.lbxAntennas->item(1)->setCheckState(Qt::Unchecked);
         },
         {},
         0},
    };
    for (const Case& c : cases) {
        output.jobs.clear();
        prompt.dialogAnswers.push_back(c.choose ? Answer(c.choose) : nullptr);
        PrintAntennas(nullptr, prompt, printer, output, antennas.list, TPlotType::RelativePower);
        std::vector<std::string> titles;
        for (const auto& j : output.jobs) {
            titles.push_back(j.title);
            EXPECT_EQ(j.pages, c.pages) << c.name;
        }
        EXPECT_EQ(titles, c.titles) << c.name;
    }
    // A dialog that reports OK with nothing checked prints nothing either.
    output.jobs.clear();
    prompt.dialogAnswers.push_back([](QDialog& d) {
        auto& dialog = dynamic_cast<TfrmPrint&>(d);
        for (int i = 0; i < dialog.lbxAntennas->count(); ++i)
            dialog.lbxAntennas->item(i)->setCheckState(Qt::Unchecked);
        return int(QDialog::Accepted);
    });
    PrintAntennas(nullptr, prompt, printer, output, antennas.list, TPlotType::RelativePower);
    EXPECT_TRUE(output.jobs.empty());
}

TEST_F(PrintCommandTest, PrinterButtonAsksForAPrinter)
{
    antennas.Add("TA-1");
    prompt.printerAnswers.push_back(true);
    prompt.dialogAnswers.push_back(Answer([](TfrmPrint& d) { d.btnPrinter->click(); }));
    PrintAntennas(nullptr, prompt, printer, output, antennas.list, TPlotType::RelativePower);
    EXPECT_EQ(prompt.CountOf(Kind::Printer), 1);
    EXPECT_EQ(output.jobs.size(), 1u);
}

TEST_F(PrintCommandTest, BadPointsEndTheCommandAndKeepEndedJobs)
{
    antennas.Add("TA-1");
    antennas.Add("TB-2", "n/a");
    antennas.Add("TC-3");
    prompt.dialogAnswers.push_back(Answer([](TfrmPrint&) {}));
    PrintAntennas(nullptr, prompt, printer, output, antennas.list, TPlotType::RelativePower);
    ASSERT_EQ(output.jobs.size(), 2u);
    EXPECT_TRUE(output.jobs[0].ended);
    EXPECT_TRUE(output.jobs[1].aborted);
    EXPECT_FALSE(output.jobs[1].ended);
    EXPECT_EQ(prompt.Messages(),
              QStringList{QStringLiteral("'n/a' is not a valid floating point value")});
}

TEST_F(PrintCommandTest, JobsToAFileGoToTheOneFileNamed)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    antennas.Add("TA/1");
    antennas.Add("TB-2");
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    const QString chosen = dir.filePath(QStringLiteral("sheets.pdf"));
    pdf.setOutputFileName(chosen);
    TQPrinterOutput out(pdf);
    prompt.dialogAnswers.push_back(Answer([](TfrmPrint&) {}));
    PrintAntennas(nullptr, prompt, pdf, out, antennas.list, TPlotType::RelativePower);
    EXPECT_TRUE(prompt.Messages().isEmpty())
        << prompt.Messages().join(QLatin1Char('\n')).toStdString();
    // Both antennas' two pages, in order, in the one file; nothing else in the folder.
    QFile file(chosen);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count("/Type /Page\n"), 4);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("sheets.pdf")});
    EXPECT_EQ(pdf.outputFileName(), chosen);

    // A failed job beside an older file of its name leaves that file as it was, and no other.
    antennas.Add("TC-3", "n/a");
    const QByteArray older = "an older file";
    for (const QString& name : {QStringLiteral("sheets.pdf"), QStringLiteral("sheets_TC-3.pdf")}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(older);
    }
    prompt.dialogAnswers.push_back(Answer([](TfrmPrint&) {}));
    PrintAntennas(nullptr, prompt, pdf, out, antennas.list, TPlotType::RelativePower);
    EXPECT_EQ(prompt.Messages(),
              QStringList{QStringLiteral("'n/a' is not a valid floating point value")});
    for (const QString& name : {QStringLiteral("sheets.pdf"), QStringLiteral("sheets_TC-3.pdf")}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        EXPECT_EQ(f.readAll(), older) << name.toStdString();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

TEST_F(PrintCommandTest, FailedStartLeavesThePrinterReusable)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    antennas.Add("TA/1");
    // A PDF printer never given a file (no printer installed, "&Printer" not used) cannot start.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    TQPrinterOutput out(printer);
    prompt.dialogAnswers.push_back(Answer([](TfrmPrint&) {}));
    PrintAntennas(nullptr, prompt, printer, out, antennas.list, TPlotType::RelativePower);
    ASSERT_EQ(prompt.Messages().size(), 1);
    EXPECT_TRUE(prompt.Messages()[0].startsWith(
        QStringLiteral("Cannot start the print job TA/1 on the printer: no printer is chosen")));

    // Choosing "Print to File (PDF)" then prints, and the printer keeps the file chosen.
    const QString chosen = dir.filePath(QStringLiteral("after.pdf"));
    prompt.printerAnswers.push_back(true);
    prompt.printerFiles.push_back(chosen);
    prompt.dialogAnswers.push_back(Answer([](TfrmPrint& d) { d.btnPrinter->click(); }));
    PrintAntennas(nullptr, prompt, printer, out, antennas.list, TPlotType::RelativePower);
    EXPECT_EQ(prompt.Messages().size(), 1);
    EXPECT_GT(QFileInfo(chosen).size(), 0);
    EXPECT_EQ(printer.outputFileName(), chosen);

    // A file that cannot be written is reported, not passed over.
    printer.setOutputFileName(dir.filePath(QStringLiteral("missing/x.pdf")));
    prompt.dialogAnswers.push_back(Answer([](TfrmPrint&) {}));
    PrintAntennas(nullptr, prompt, printer, out, antennas.list, TPlotType::RelativePower);
    ASSERT_EQ(prompt.Messages().size(), 2);
    EXPECT_TRUE(prompt.Messages()[1].startsWith(QStringLiteral("Cannot create file")));
}

TEST_F(PrintCommandTest, SiteFitJobPrintsTheSiteTheTopTenAndFourFootprintsOnOnePage)
{
    antennas.Add("TA-1");
    // Without a ranking the job cannot be chosen.
    bool offered = true;
    prompt.dialogAnswers.push_back(
        Answer([&](TfrmPrint& d) { offered = d.rbSiteFit->isEnabled(); }));
    PrintAntennas(nullptr, prompt, printer, output, antennas.list, TPlotType::RelativePower);
    EXPECT_FALSE(offered);
    output.jobs.clear();

    TCatalogue sample;
    sample.LoadFolder(QUV_SAMPLE_CATALOGUE);
    TSiteScenario site;
    site.height = 25;
    site.radius = 400;
    site.slope = 35;
    const TSiteRanking ranking = RankSite(sample.Catalogue, site);
    ASSERT_GE(ranking.ranked.size(), 10u);
    prompt.dialogAnswers.push_back(Answer([](TfrmPrint& d) {
        EXPECT_TRUE(d.rbSiteFit->isEnabled());
        // The ranking is printed whichever antennas are checked.
        d.lbxAntennas->item(0)->setCheckState(Qt::Unchecked);
        d.rbSiteFit->click();
    }));
    PrintAntennas(nullptr, prompt, printer, output, antennas.list, TPlotType::RelativePower, {},
                  &ranking);
    ASSERT_EQ(output.jobs.size(), 1u);
    EXPECT_EQ(output.jobs[0].title, "Site Fit");
    EXPECT_EQ(output.jobs[0].pages, 1);
    EXPECT_TRUE(output.jobs[0].ended);
    std::vector<std::string> texts;
    for (const auto& call : output.canvas.Of(TRecordingCanvas::Op::TextOut))
        texts.push_back(call.text);
    const auto printed = [&](const std::string& text) {
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    };
    EXPECT_TRUE(printed("Site Fit"));
    EXPECT_TRUE(printed("10"));
    EXPECT_FALSE(printed("11"));
    for (std::size_t i = 0; i < 10; ++i)
        EXPECT_TRUE(printed(ranking.ranked[i].record->PartNumber)) << i;
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_TRUE(printed(std::to_string(i + 1) + ". " + ranking.ranked[i].record->PartNumber));
    EXPECT_FALSE(printed("5. " + ranking.ranked[4].record->PartNumber));
    EXPECT_EQ(output.canvas.Of(TRecordingCanvas::Op::Image).size(), 4u);
    EXPECT_TRUE(prompt.Messages().isEmpty());
}

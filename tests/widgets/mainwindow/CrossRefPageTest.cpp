// The Cross Reference page in the main window, and the reference drawn by the pattern window and
// named in its legend; offscreen, with a scripted prompt answering the file dialog.
#include "mainwindow/CrossRefPage.h"
#include "mainwindow/frmMain.h"

#include "catalogue/QuvLib.h"
#include "patterns/frmLegend.h"
#include "patterns/frmPattern.h"
#include "support/AllFormats.h"
#include "support/ScriptedPrompt.h"
#include "support/TestApp.h"
#include "ui/SideBar.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

using namespace quv;
using quv::test::TScriptedPrompt;

namespace {

const QString kProgramFolder = QStringLiteral(QUV_SAMPLE_CATALOGUE "/..");

int CountColour(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

class CrossRefPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        quv::test::EnsureQtApp();
        window = std::make_unique<TfrmMain>(prompt, kProgramFolder, 0);
    }
    void TearDown() override { window.reset(); }
    // Writes bytes into the temporary folder and returns the path.
    QString Write(const std::string& name, const std::string& bytes)
    {
        const QString path = dir.filePath(QString::fromStdString(name));
        std::ofstream(path.toStdString(), std::ios::binary) << bytes;
        return path;
    }
    const TQuvFile* Find(const std::string& part)
    {
        for (const auto& item : window->Catalogue().Catalogue)
            if (item.text == part)
                return item.object;
        return nullptr;
    }

    QTemporaryDir dir;
    TScriptedPrompt prompt;
    std::unique_ptr<TfrmMain> window;
};

TEST_F(CrossRefPageTest, OpeningAFileListsTheRankedEquivalentsWithTheirScores)
{
    TfrmMain& w = *window;
    ASSERT_GT(window->Catalogue().Catalogue.Count(), 0);
    w.pbtnCrossReference->click();
    EXPECT_EQ(w.pgFilter->currentWidget(), w.tabCrossReference);
    EXPECT_EQ(w.lblHeaderPanel->text(), QStringLiteral("Select Antenna(s) - Cross Reference"));
    EXPECT_EQ(w.lbxAntennas->count(), 0);
    EXPECT_EQ(w.Reference(), nullptr);

    const TQuvFile* own = Find("TD1865-17");
    ASSERT_NE(own, nullptr);
    prompt.openFileAnswers.push_back(Write("their.dap", BuildNsma("/x/their", *own)));
    TCrossRefPage& page = *w.tabCrossReference;
    page.btnOpenReference->click();
    ASSERT_EQ(prompt.CountOf(TScriptedPrompt::Entry::Kind::OpenFile), 1);
    EXPECT_TRUE(prompt.entries.back().filter.contains(QStringLiteral("*.pln")));
    EXPECT_TRUE(prompt.entries.back().filter.contains(QStringLiteral("NSMA")));
    EXPECT_TRUE(prompt.entries.back().filter.contains(QStringLiteral("All files (*)")));

    ASSERT_NE(w.Reference(), nullptr);
    EXPECT_EQ(page.lblReferenceName->text(), QStringLiteral("TD1865-17"));
    EXPECT_EQ(page.lblReferenceMaker->text(), QStringLiteral("Tavrin Corporation"));
    EXPECT_EQ(page.lblReferenceFrequency->text(), QString::fromStdString(own->MeasuredFrequency));
    EXPECT_EQ(page.lblReferenceFile->text(), QStringLiteral("NSMA, their.dap"));
    const int candidates = static_cast<int>(page.Ranking()->ranked.size());
    ASSERT_GT(candidates, 1);
    EXPECT_EQ(w.lbxAntennas->count(), candidates);
    EXPECT_EQ(window->Catalogue().MatchList.Count(), candidates);
    // The score first, so a narrow list still shows it.
    EXPECT_EQ(w.lbxAntennas->item(0)->text(), QStringLiteral("0.00  TD1865-17"));
    EXPECT_TRUE(w.lblAntennas->text().endsWith(QString::number(candidates)));

    // Selecting shows the score's parts; up to four checks plot as on the other pages.
    w.lbxAntennas->setCurrentRow(0);
    EXPECT_TRUE(page.lblCandidate->text().startsWith(QStringLiteral("Score 0.00: ")));
    EXPECT_EQ(window->Catalogue().PlotList.Count(), 1);
    EXPECT_EQ(window->Catalogue().PlotList.Objects(0), own);
    EXPECT_TRUE(w.btnViewPatterns->isEnabled());

    // Another page and back: the reference stays open and ranks again.
    w.pbtnCategory->click();
    EXPECT_NE(w.Reference(), nullptr);
    w.pbtnCrossReference->click();
    EXPECT_EQ(w.lbxAntennas->count(), candidates);

    // A bad file is reported with its line; the open reference stays.
    std::string bytes = BuildPlanet("/x/bad", *own);
    bytes.replace(bytes.find("\r\n3 "), 4, "\r\n3 x");
    prompt.openFileAnswers.push_back(Write("bad.pln", bytes));
    page.btnOpenReference->click();
    ASSERT_EQ(prompt.Messages().size(), 1);
    EXPECT_TRUE(prompt.Messages()[0].contains(QStringLiteral("bad.pln: line 13: level 'x")));
    EXPECT_TRUE(prompt.Messages()[0].endsWith(QStringLiteral("' is not a number")));
    EXPECT_EQ(page.lblReferenceName->text(), QStringLiteral("TD1865-17"));
    EXPECT_EQ(w.lbxAntennas->count(), candidates);

    // Cancelling the dialog changes nothing; closing empties the page's matches.
    page.btnOpenReference->click();
    EXPECT_NE(w.Reference(), nullptr);
    page.btnCloseReference->click();
    EXPECT_EQ(w.Reference(), nullptr);
    EXPECT_EQ(w.lbxAntennas->count(), 0);
    EXPECT_FALSE(page.btnCloseReference->isEnabled());
}

TEST_F(CrossRefPageTest, ANoFrequencyFileRanksEveryAntennaAndSaysSo)
{
    TfrmMain& w = *window;
    w.pbtnCrossReference->click();
    std::string bytes = BuildPlanet("/x/nofreq", *Find("TD0865-14"));
    bytes.replace(bytes.find("FREQUENCY 880"), 13, "FREQUENCY");
    ASSERT_TRUE(w.tabCrossReference->OpenReference(Write("nofreq.pln", bytes)));
    EXPECT_EQ(w.lbxAntennas->count(), window->Catalogue().Catalogue.Count());
    EXPECT_TRUE(w.tabCrossReference->lblReferenceNote->text().startsWith(
        QStringLiteral("The file names no frequency: every antenna is a candidate.")));
    EXPECT_EQ(w.tabCrossReference->lblReferenceFrequency->text(), QStringLiteral("not given"));
    EXPECT_TRUE(w.lbxAntennas->item(0)->text().endsWith(QStringLiteral("  TD0865-14")));
    // Records sharing a part number show their band, as on the other pages.
    QStringList shared;
    for (int i = 0; i < w.lbxAntennas->count(); ++i)
        if (w.lbxAntennas->item(i)->text().contains(QStringLiteral("  TP-PCS-XAZ17")))
            shared << w.lbxAntennas->item(i)->text().section(QStringLiteral("  "), 1);
    shared.sort();
    EXPECT_EQ(shared, (QStringList{QStringLiteral("TP-PCS-XAZ17, 1710-1880 MHz, 65 Deg. AZ BW"),
                                   QStringLiteral("TP-PCS-XAZ17, 1850-1990 MHz, 65 Deg. AZ BW"),
                                   QStringLiteral("TP-PCS-XAZ17, 1850-1990 MHz, 90 Deg. AZ BW")}));
}

TEST_F(CrossRefPageTest, PlotsAndLegendShowTheReferenceOnlyWhileOneIsOpen)
{
    const TQuvFile* own = Find("TD0865-14");
    TQuvFileList list;
    list.Add(own->PartNumber, const_cast<TQuvFile*>(own));
    TfrmPattern pattern(prompt, window.get(), list);
    pattern.resize(600, 400);
    const QRgb grey = qRgb(kReferenceTraceColor.r, kReferenceTraceColor.g, kReferenceTraceColor.b);

    // Antialiased label edges may hit the grey here and there; the dashed trace covers many.
    const QImage before = pattern.PlotImage(*pattern.imgAzimuth);
    const int without = CountColour(before, grey);
    EXPECT_LT(without, 20);
    const TReferencePattern reference =
        ReadPatternBytes(BuildPlanet("/x/r", *Find("TD1865-17")), "/x/r.pln");
    pattern.Reference = &reference;
    EXPECT_GT(CountColour(pattern.PlotImage(*pattern.imgAzimuth), grey), without + 50);
    EXPECT_GT(CountColour(pattern.PlotImage(*pattern.imgElevation), grey), without + 50);
    pattern.Reference = nullptr;
    EXPECT_EQ(pattern.PlotImage(*pattern.imgAzimuth), before);

    TfrmLegend plain(list, &pattern);
    EXPECT_EQ(plain.grdLegend->rowCount(), 1);
    TfrmLegend withReference(list, &pattern, &reference);
    ASSERT_EQ(withReference.grdLegend->rowCount(), 2);
    EXPECT_EQ(withReference.grdLegend->item(1, 0)->text(), QStringLiteral("r"));
    EXPECT_EQ(withReference.grdLegend->item(1, 1)->text(),
              QStringLiteral("Reference (dashed): TD1865-17 r, r.pln"));
    EXPECT_EQ(withReference.height(), plain.height() + 29);

    // The quick preview draws the open reference over the selected antenna.
    QImage az, el;
    DrawQuickPreviewImages(*own, TPlotType::RelativePower, az, el);
    const int previewWithout = CountColour(az, grey);
    DrawQuickPreviewImages(*own, TPlotType::RelativePower, az, el, &reference);
    EXPECT_GT(CountColour(az, grey), previewWithout + 10);
}

} // namespace

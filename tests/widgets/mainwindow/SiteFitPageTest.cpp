// The Site Fit page in the main window: it ranks what the other pages narrowed (or the whole
// catalogue), lists the ranking as the matches with their figures, shows the selected and the
// best antenna's footprints, refuses a site it cannot evaluate, and forgets its ranking when the
// catalogue's records are replaced. Offscreen, with a scripted prompt.
#include "mainwindow/SiteFitPage.h"
#include "mainwindow/frmMain.h"

#include "catalogue/NumberText.h"
#include "support/ScriptedPrompt.h"
#include "support/TestApp.h"
#include "ui/SideBar.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>
#include <set>

using namespace quv;
using quv::test::TScriptedPrompt;

namespace {

const QString kProgramFolder = QStringLiteral(QUV_SAMPLE_CATALOGUE "/..");

class SiteFitPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        quv::test::EnsureQtApp();
        window = std::make_unique<TfrmMain>(prompt, kProgramFolder, 0);
    }
    void TearDown() override { window.reset(); }
    std::set<const TQuvFile*> Matches() const
    {
        std::set<const TQuvFile*> records;
        for (const auto& item : window->Catalogue().MatchList)
            records.insert(item.object);
        return records;
    }

    TScriptedPrompt prompt;
    std::unique_ptr<TfrmMain> window;
};

} // namespace

TEST_F(SiteFitPageTest, RanksTheNarrowedMatchesAndShowsTheSelectedBesideTheBest)
{
    TfrmMain& w = *window;
    w.lbxRanges->setCurrentRow(3);
    const std::set<const TQuvFile*> narrowed = Matches();
    ASSERT_GT(narrowed.size(), 2u);

    // Ctrl+7 is the seventh button of the side bar: the Site Fit page.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_7, Qt::ControlModifier);
    QGuiApplication::sendEvent(w.lbxAntennas, &press);
    ASSERT_EQ(w.pgFilter->currentWidget(), w.tabSiteFit);
    EXPECT_TRUE(w.pbtnSiteFit->isChecked());
    EXPECT_EQ(w.lblHeaderPanel->text(), QStringLiteral("Select Antenna(s) - Site Fit"));
    EXPECT_EQ(w.lbxAntennas->count(), 0);
    TSiteFitPage& page = *w.tabSiteFit;
    EXPECT_EQ(page.cbxSiteScope->currentText(),
              QStringLiteral("The %1 matches").arg(narrowed.size()));
    EXPECT_EQ(page.edtHeight->text(), QStringLiteral("30"));
    EXPECT_EQ(page.edtSlope->text(), QStringLiteral("20"));

    page.btnRank->click();
    ASSERT_NE(w.SiteFitRanking(), nullptr);
    const TSiteRanking& ranking = *w.SiteFitRanking();
    EXPECT_EQ(ranking.ranked.size() + ranking.leftOut.size(), narrowed.size());
    EXPECT_EQ(Matches().size(), ranking.ranked.size());
    for (const TQuvFile* r : Matches())
        EXPECT_TRUE(narrowed.count(r));
    ASSERT_EQ(w.lbxAntennas->count(), static_cast<int>(ranking.ranked.size()));
    const TSiteEntry& best = ranking.ranked.front();
    const std::string first = w.lbxAntennas->item(0)->text().toStdString();
    EXPECT_EQ(first.rfind(Format("%.1f dB  ", {best.figures.cellLevel}), 0), 0u) << first;
    EXPECT_TRUE(first.ends_with("  " + best.record->PartNumber)) << first;
    EXPECT_TRUE(page.lblSiteNote->text().contains(QStringLiteral("ranked")));

    // Nothing selected: the best alone. Selecting the third: it and the best, side by side.
    ASSERT_EQ(page.pbxSiteMaps->Panels().size(), 1u);
    EXPECT_EQ(page.pbxSiteMaps->Panels()[0].title, "Best: " + best.record->PartNumber);
    w.lbxAntennas->setCurrentRow(2);
    ASSERT_EQ(page.pbxSiteMaps->Panels().size(), 2u);
    EXPECT_EQ(page.pbxSiteMaps->Panels()[0].title,
              "Selected: " + ranking.ranked[2].record->PartNumber);
    EXPECT_GT(page.pbxSiteMaps->Panels()[0].map.cells, 0);
    EXPECT_EQ(w.Catalogue().PlotList.Count(), 1);
    EXPECT_EQ(w.Catalogue().PlotList.Objects(0), ranking.ranked[2].record);
    EXPECT_TRUE(w.btnViewPatterns->isEnabled());
    EXPECT_TRUE(w.toolPrint->isEnabled());
    page.pbxSiteMaps->grab(); // paints through the canvas without failing

    // The whole catalogue, then back to another page and here again: the ranking stays.
    page.cbxSiteScope->setCurrentIndex(1);
    page.btnRank->click();
    EXPECT_EQ(w.SiteFitRanking()->ranked.size() + w.SiteFitRanking()->leftOut.size(),
              static_cast<std::size_t>(w.Catalogue().Catalogue.Count()));
    w.pbtnCategory->click();
    w.pbtnSiteFit->click();
    EXPECT_EQ(w.lbxAntennas->count(), static_cast<int>(w.SiteFitRanking()->ranked.size()));
    EXPECT_TRUE(prompt.Messages().isEmpty());
}

TEST_F(SiteFitPageTest, RefusesASiteItCannotEvaluateAndKeepsWhatWasShown)
{
    TfrmMain& w = *window;
    w.pbtnSiteFit->click();
    TSiteFitPage& page = *w.tabSiteFit;
    // Nothing narrowed yet: the whole catalogue is offered.
    EXPECT_EQ(page.cbxSiteScope->currentIndex(), 1);
    const struct {
        QLineEdit* edit;
        QString text;
        QString message;
    } cases[] = {
        {page.edtRadius, QStringLiteral("0"),
         QStringLiteral("The radius must be a number of metres above zero.")},
        {page.edtHeight, QStringLiteral("3O"), QStringLiteral("The height '3O' is not a number.")},
        {page.edtTiltMin, QStringLiteral("12"),
         QStringLiteral("The tilt range is reversed: its minimum is above its maximum.")},
        {page.edtSector, QStringLiteral("720"),
         QStringLiteral("The sector must be a number of degrees from 1 to 360.")},
    };
    for (const auto& c : cases) {
        const QString kept = c.edit->text();
        c.edit->setText(c.text);
        prompt.Clear();
        EXPECT_FALSE(page.Rank());
        ASSERT_EQ(prompt.Messages().size(), 1);
        EXPECT_EQ(prompt.Messages().front(), c.message);
        EXPECT_EQ(w.SiteFitRanking(), nullptr);
        c.edit->setText(kept);
    }
    EXPECT_EQ(w.lbxAntennas->count(), 0);

    // A ranking that a reload would leave pointing at freed records is dropped with them.
    ASSERT_TRUE(page.Rank());
    EXPECT_GT(w.lbxAntennas->count(), 0);
    page.CatalogueReloaded();
    EXPECT_EQ(w.SiteFitRanking(), nullptr);
    EXPECT_TRUE(page.pbxSiteMaps->Panels().empty());
}

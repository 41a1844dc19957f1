// The "Pattern Metrics" window of the pattern window: four bundled antennas (one an omni, one
// whose datasheet states 90 degrees for a 65-degree beam), offscreen with a scripted prompt.
#include "catalogue/QuvLib.h"
#include "patterns/frmMetrics.h"
#include "patterns/frmPattern.h"
#include "plot/PolarPlotLib.h"
#include "support/ScriptedPrompt.h"
#include "support/TestApp.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace quv;
using quv::test::TScriptedPrompt;

namespace {

struct TMetricsFixture : ::testing::Test {
    TScriptedPrompt prompt;
    TQuvFileList list;
    std::vector<std::unique_ptr<TQuvFile>> records;

    TMetricsFixture()
    {
        quv::test::EnsureQtApp();
        for (const char* name : {"TP0865-14", "TO06-3", "TP0833-17", "TP0890-13T2"}) {
            records.push_back(LoadQuvFile(std::string(QUV_SAMPLE_CATALOGUE) + "/" + name + ".quv"));
            list.Add(records.back()->PartNumber, records.back().get());
        }
        // The datasheet contradicts the measured 65-degree beam of the first antenna.
        records[0]->AzimuthBeamwidth = "90";
    }
};

QStringList Cells(const QString& line)
{
    return line.split(QLatin1Char('\t'));
}

TEST_F(TMetricsFixture, ShowsEachAntennaInItsTraceColourWithDifferencesMarked)
{
    TfrmPattern frm(prompt, nullptr, list);
    auto* action = frm.popmnuPatterns->findChild<QAction*>(QStringLiteral("mnuMetrics"));
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), QStringLiteral("Pattern &Metrics"));
    EXPECT_EQ(action->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_I));
    EXPECT_TRUE(frm.actions().contains(action)); // Ctrl+I works while the menu is closed

    bool ran = false;
    prompt.dialogAnswers.push_back([&](QDialog& d) {
        auto& metrics = dynamic_cast<TfrmMetrics&>(d);
        ran = true;
        EXPECT_EQ(metrics.windowTitle(), QStringLiteral("Pattern Metrics"));
        QTableWidget* grid = metrics.grdMetrics;
        EXPECT_EQ(grid->columnCount(), 4);
        for (int c = 0; c < 4; ++c) {
            const TColor colour = TraceColors[static_cast<std::size_t>(c)];
            EXPECT_EQ(grid->horizontalHeaderItem(c)->foreground().color(),
                      QColor(colour.r, colour.g, colour.b));
            EXPECT_EQ(grid->horizontalHeaderItem(c)->text(),
                      QString::fromStdString(records[static_cast<std::size_t>(c)]->PartNumber));
        }
        // Row 1 is the azimuth 3 dB beamwidth: measured, then the datasheet's value.
        EXPECT_TRUE(grid->item(1, 0)->text().startsWith(QStringLiteral("6")));
        EXPECT_TRUE(grid->item(1, 0)->text().endsWith(QStringLiteral(" / 90 !")));
        EXPECT_NE(grid->item(1, 0)->background().color(), grid->item(1, 2)->background().color());
        EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("-")); // omni: no beam to measure
        EXPECT_EQ(grid->item(1, 1)->text(), QStringLiteral("-"));
        EXPECT_TRUE(grid->item(1, 2)->text().endsWith(QStringLiteral(" / 33")));
        EXPECT_EQ(grid->item(5, 0)->text(), QStringLiteral("-")); // ripple only for the omni
        EXPECT_NE(grid->item(5, 1)->text(), QStringLiteral("-"));
        EXPECT_TRUE(grid->item(6, 3)->text().endsWith(QStringLiteral(" / 2")));

        QGuiApplication::clipboard()->clear();
        metrics.btnCopy->click();
        const QStringList lines =
            QGuiApplication::clipboard()->text().split(QStringLiteral("\r\n"));
        EXPECT_EQ(lines.size(), 12); // header, ten metrics, the empty text after the last line
        EXPECT_EQ(lines[0], QStringLiteral("Metric\tTP0865-14\tTO06-3\tTP0833-17\tTP0890-13T2"));
        for (int r = 1; r <= 10; ++r)
            EXPECT_EQ(Cells(lines[r]).size(), 5) << lines[r].toStdString();
        EXPECT_EQ(Cells(lines[2])[1], grid->item(1, 0)->text());
        EXPECT_EQ(lines.last(), QString());
        return int(QDialog::Accepted);
    });
    action->trigger();
    EXPECT_TRUE(ran);
}

TEST_F(TMetricsFixture, UnreadableLevelsLeaveTheirValuesUnavailable)
{
    TQuvFile broken;
    broken.PartNumber = "BROKEN";
    broken.AzimuthBeamwidth = "65";
    for (int i = 0; i <= 360; ++i) {
        broken.Azimuth.Append(i == 10 ? "n/a" : "0");
        broken.Elevation.Append("0");
    }
    TQuvFileList one;
    one.Add("BROKEN", &broken);
    const TMetricsTable table = BuildMetricsTable(one);
    ASSERT_EQ(table.parts.size(), 1u);
    EXPECT_EQ(table.cells[0][0].text, "-");
    EXPECT_EQ(table.cells[1][0].text, "- / 65");
    EXPECT_FALSE(table.cells[1][0].differs);
    EXPECT_EQ(table.cells[6][0].text, "0.0"); // the elevation cut still measures
}

} // namespace

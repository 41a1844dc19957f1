// The program's wiring: the main window's commands reach the pattern window and both export
// commands, and the pattern window's plot type items reach the main window's menu.
#include "mainwindow/Commands.h"
#include "catalogue/QuvLib.h"
#include "dialogs/frmExport.h"
#include "dialogs/frmExportAll.h"
#include "mainwindow/frmMain.h"
#include "patterns/frmPattern.h"
#include "plot/PolarPlotLib.h"
#include "support/ScriptedPrompt.h"
#include "support/TestApp.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quv;
using Kind = quv::test::TScriptedPrompt::Entry::Kind;

namespace {

void Key(QWidget* target, int key, Qt::KeyboardModifiers mods)
{
    QKeyEvent press(QEvent::KeyPress, key, mods);
    QApplication::sendEvent(target, &press);
}

// Answers the next modal dialog by recording which window it was, then cancels it.
void ExpectDialog(test::TScriptedPrompt& prompt, QString& seen)
{
    prompt.dialogAnswers.push_back([&seen](QDialog& d) {
        if (dynamic_cast<TfrmExport*>(&d))
            seen = QStringLiteral("export");
        else if (dynamic_cast<TfrmExportAll*>(&d))
            seen = QStringLiteral("exportall");
        else if (dynamic_cast<TfrmPattern*>(&d))
            seen = QStringLiteral("pattern");
        return int(QDialog::Rejected);
    });
}

} // namespace

TEST(ProgramCommands, MainWindowCommandsReachTheirWindows)
{
    test::EnsureQtApp();
    test::TScriptedPrompt prompt;
    {
        TfrmMain main(prompt, QStringLiteral(QUV_TEST_DATA "/window"), 0,
                      {QStringLiteral("ts0865-13")});
        TfrmPattern pattern(prompt, &main, main.Catalogue().PlotList);
        ConnectCommands(main, pattern, main.Catalogue().ProgramFolder);
        prompt.Clear();
        ASSERT_NE(main.SelectedRecord(), nullptr) << "the command line opens the part number";
        ASSERT_TRUE(main.btnViewPatterns->isEnabled());

        QString seen;
        ExpectDialog(prompt, seen);
        main.btnViewPatterns->click();
        EXPECT_EQ(seen, QStringLiteral("pattern"));

        ExpectDialog(prompt, seen);
        Key(&main, Qt::Key_E, Qt::ControlModifier);
        EXPECT_EQ(seen, QStringLiteral("export"));

        ExpectDialog(prompt, seen);
        Key(&main, Qt::Key_M, Qt::ControlModifier);
        EXPECT_EQ(seen, QStringLiteral("exportall"));
        EXPECT_EQ(prompt.CountOf(Kind::Dialog), 3);

        // The pattern window's plot type item runs the main window's command first.
        emit pattern.plotTypeChosen(TPlotType::RelativeField);
        EXPECT_EQ(main.PlotType(), TPlotType::RelativeField);
        EXPECT_TRUE(main.mnuRelativeField->isChecked());
        EXPECT_FALSE(main.mnuRelativePower->isChecked());
        // The pattern window draws what the main window chose when it was shown.
        ExpectDialog(prompt, seen);
        main.btnViewPatterns->click();
        EXPECT_EQ(pattern.PlotType, TPlotType::RelativeField);

        int prints = 0;
        QObject::connect(&main, &TfrmMain::printRequested, [&] { ++prints; });
        emit pattern.printRequested();
        EXPECT_EQ(prints, 1);
    }
}

TEST(ProgramCommands, SaveDialogsOfLaterExportsOpenWhereTheLastNameWasAccepted)
{
    test::EnsureQtApp();
    test::TScriptedPrompt prompt;
    QTemporaryDir first, second;
    {
        TfrmMain main(prompt, QStringLiteral(QUV_TEST_DATA "/window"), 0,
                      {QStringLiteral("ts0865-13")});
        TfrmPattern pattern(prompt, &main, main.Catalogue().PlotList);
        ConnectCommands(main, pattern, main.Catalogue().ProgramFolder);
        ASSERT_EQ(main.Catalogue().PlotList.Count(), 1);
        auto accept = [](QDialog& d) {
            dynamic_cast<TfrmExport&>(d).btnOK->click();
            return d.result();
        };
        const auto presets = [&prompt] {
            QStringList out;
            for (const auto& e : prompt.entries)
                if (e.kind == Kind::SaveFile)
                    out << e.preset;
            return out;
        };
        // A cancelled dialog changes nothing; an accepted one moves every later dialog there,
        // within the command and in the next one.
        const struct {
            QString answer;
            QString expectedPreset;
        } runs[] = {
            {QString(), QStringLiteral("TS0865-13")},
            {first.filePath(QStringLiteral("a.pln")), QStringLiteral("TS0865-13")},
            {QString(), first.filePath(QStringLiteral("TS0865-13"))},
            {second.filePath(QStringLiteral("b.pln")), first.filePath(QStringLiteral("TS0865-13"))},
            {QString(), second.filePath(QStringLiteral("TS0865-13"))},
        };
        for (const auto& run : runs) {
            prompt.Clear();
            prompt.dialogAnswers.push_back(accept);
            prompt.saveFileAnswers = {run.answer};
            Key(&main, Qt::Key_E, Qt::ControlModifier);
            EXPECT_EQ(presets(), QStringList{run.expectedPreset}) << run.answer.toStdString();
        }
        EXPECT_TRUE(QFile::exists(first.filePath(QStringLiteral("a.pln"))));
    }
}

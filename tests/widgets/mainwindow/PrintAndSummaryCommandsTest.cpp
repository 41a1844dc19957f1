// The main window's print and summary commands as the program wires them: Ctrl+P and the pattern
// window's "&Print" open the print options, the hidden File items write the summary files.
#include "catalogue/QuvLib.h"
#include "dialogs/frmPrint.h"
#include "export/Summary.h"
#include "mainwindow/Commands.h"
#include "mainwindow/frmMain.h"
#include "patterns/frmPattern.h"
#include "support/ScriptedPrompt.h"
#include "support/TestApp.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QListWidget>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace quv;
using Kind = quv::test::TScriptedPrompt::Entry::Kind;

namespace {

QByteArray Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

TEST(PrintAndSummaryCommands, PrintOpensTheOptionsWithThePlotList)
{
    test::EnsureQtApp();
    test::TScriptedPrompt prompt;
    TfrmMain main(prompt, QStringLiteral(QUV_TEST_DATA "/window"), 0,
                  {QStringLiteral("ts0865-13")});
    TfrmPattern pattern(prompt, &main, main.Catalogue().PlotList);
    ConnectCommands(main, pattern, main.Catalogue().ProgramFolder);
    prompt.Clear();
    ASSERT_TRUE(main.toolPrint->isEnabled());

    QStringList offered;
    auto cancel = [&offered](QDialog& d) {
        auto& dialog = dynamic_cast<TfrmPrint&>(d);
        for (int i = 0; i < dialog.lbxAntennas->count(); ++i)
            offered << dialog.lbxAntennas->item(i)->text();
        return int(QDialog::Rejected);
    };
    prompt.dialogAnswers.push_back(cancel);
    QKeyEvent ctrlP(QEvent::KeyPress, Qt::Key_P, Qt::ControlModifier);
    QApplication::sendEvent(&main, &ctrlP);
    prompt.dialogAnswers.push_back(cancel);
    pattern.Print1->trigger();

    EXPECT_EQ(prompt.CountOf(Kind::Dialog), 2);
    for (const auto& e : prompt.entries) {
        if (e.kind == Kind::Dialog) {
            EXPECT_EQ(e.text, QStringLiteral("Print Options"));
        }
    }
    const QString part = QString::fromStdString(main.Catalogue().PlotList.Strings(0));
    EXPECT_EQ(offered, (QStringList{part, part}));
    EXPECT_TRUE(prompt.Messages().isEmpty());
}

TEST(PrintAndSummaryCommands, HiddenFileItemsWriteTheSummaries)
{
    test::EnsureQtApp();
    test::TScriptedPrompt prompt;
    TfrmMain main(prompt, QStringLiteral(QUV_TEST_DATA "/window"), 0);
    TfrmPattern pattern(prompt, &main, main.Catalogue().PlotList);
    ConnectCommands(main, pattern, main.Catalogue().ProgramFolder);
    prompt.Clear();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString quv = dir.filePath(QStringLiteral("summary"));
    const QString antenna = dir.filePath(QStringLiteral("antenna.dat"));

    main.mnuCreateQUV->trigger(); // cancelled
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    prompt.saveFileAnswers = {quv, antenna, dir.filePath(QStringLiteral("gone/x.dat"))};
    main.mnuCreateQUV->trigger();
    main.mnuCreateAntenna->trigger();
    main.mnuCreateQUV->trigger();

    const std::string quvBytes = BuildSummary(TSummaryLayout::QuvDat, main.Catalogue().Catalogue);
    EXPECT_EQ(Read(quv), QByteArray(quvBytes.data(), static_cast<qsizetype>(quvBytes.size())));
    const std::string antennaBytes =
        BuildSummary(TSummaryLayout::AntennaDat, main.Catalogue().Catalogue);
    EXPECT_EQ(Read(antenna),
              QByteArray(antennaBytes.data(), static_cast<qsizetype>(antennaBytes.size())));
    EXPECT_GT(main.Catalogue().Catalogue.Count(), 0);

    // Each save dialog proposes the name accepted last, by either command.
    QStringList presets;
    for (const auto& e : prompt.entries)
        if (e.kind == Kind::SaveFile)
            presets << e.preset;
    EXPECT_EQ(presets, (QStringList{QString(), QString(), quv, antenna}));
    // A name that cannot be created is reported; nothing else is written.
    ASSERT_EQ(prompt.Messages().size(), 1);
    EXPECT_TRUE(prompt.Messages()[0].startsWith(QStringLiteral("Cannot create file")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

// Start-up with the antenna folder named in another letter case and a command-line part number
// whose letters lie outside ASCII.
#include "mainwindow/frmMain.h"

#include "catalogue/CaseFold.h"
#include "catalogue/QuvLib.h"
#include "support/ScriptedPrompt.h"
#include "support/TestApp.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace quv;
using quv::test::TScriptedPrompt;

namespace {

const QString kFixtureFile = QStringLiteral(QUV_TEST_DATA "/window/QUV/a4.quv");

// A copy of a fixture data file under another part number (bytes in the code page).
void WriteWithPartNumber(const QString& path, const QByteArray& partNumber)
{
    QFile in(kFixtureFile);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    QByteArray bytes = in.readAll();
    bytes.replace("[HEADER]\r\n", "[HEADER]\r\nPart Number=" + partNumber + "\r\n");
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
}

class StartupFolderAndCase : public ::testing::Test {
protected:
    void SetUp() override { quv::test::EnsureQtApp(); }
    void TearDown() override { window.reset(); }
    TScriptedPrompt prompt;
    std::unique_ptr<TfrmMain> window;
};

TEST_F(StartupFolderAndCase, AFolderNamedQuvInSmallLettersIsTheCatalogue)
{
    for (const QString& name : {QStringLiteral("quv"), QStringLiteral("Quv")}) {
        SCOPED_TRACE(name.toStdString());
        QTemporaryDir program;
        ASSERT_TRUE(QDir(program.path()).mkpath(name));
        WriteWithPartNumber(program.path() + QLatin1Char('/') + name + QStringLiteral("/x.quv"),
                            "TX-7");
        window = std::make_unique<TfrmMain>(prompt, program.path(), 0, QStringList{});
        EXPECT_TRUE(prompt.Messages().isEmpty())
            << prompt.Messages().join(QLatin1Char('|')).toStdString();
        ASSERT_EQ(window->lbxPartNumbers->count(), 1);
        EXPECT_EQ(window->lbxPartNumbers->item(0)->text(), QStringLiteral("TX-7"));
        window.reset();
    }
}

TEST_F(StartupFolderAndCase, TheCommandLineFindsAPartNumberWithAccentedLettersInAnyCase)
{
    QTemporaryDir program;
    ASSERT_TRUE(QDir(program.path()).mkpath(QStringLiteral("QUV")));
    WriteWithPartNumber(program.path() + QStringLiteral("/QUV/a.quv"), "\xC9X-1"); // ÉX-1
    WriteWithPartNumber(program.path() + QStringLiteral("/QUV/b.quv"), "\xE9X-1"); // éX-1
    WriteWithPartNumber(program.path() + QStringLiteral("/QUV/c.quv"), "EX-1");
    window = std::make_unique<TfrmMain>(prompt, program.path(), 0,
                                        QStringList{QStringLiteral("\u00e9x-1")});
    // One list entry for the two spellings, one for the unaccented part number.
    ASSERT_EQ(window->lbxPartNumbers->count(), 2);
    ASSERT_NE(window->lbxPartNumbers->currentItem(), nullptr);
    EXPECT_EQ(window->lbxPartNumbers->currentItem()->text().toUpper(), QStringLiteral("\u00c9X-1"));
    ASSERT_NE(window->SelectedRecord(), nullptr);
    EXPECT_EQ(FoldCase(window->SelectedRecord()->PartNumber), "\xE9x-1");
}

} // namespace

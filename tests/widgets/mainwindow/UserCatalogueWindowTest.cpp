#include "mainwindow/frmMain.h"

#include "catalogue/QuvLib.h"
#include "catalogue/UserFolders.h"
#include "dialogs/frmErrorLog.h"
#include "mainwindow/CrossRefPage.h"
#include "support/AllFormats.h"
#include "support/ScriptedPrompt.h"
#include "support/TestApp.h"
#include "ui/SideBar.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace quv;
using quv::test::TScriptedPrompt;

namespace {

const QString kFixture = QStringLiteral(QUV_TEST_DATA "/window/QUV/");

// Points the user's data folder at a temporary one for the life of the object.
class ScopedDataHome {
public:
    explicit ScopedDataHome(const QString& path) : old_(qgetenv("XDG_DATA_HOME"))
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(path));
    }
    ~ScopedDataHome()
    {
        if (old_.isEmpty())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", old_);
    }

private:
    QByteArray old_;
};

void CopyFixture(const QString& name, const QString& folder)
{
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QFile::copy(kFixture + name, folder + QLatin1Char('/') + name));
}

} // namespace

TEST(UserCatalogueWindow, StartupLoadsTheProgramsAndTheUsersCatalogue)
{
    quv::test::EnsureQtApp();
    QTemporaryDir program, home;
    const ScopedDataHome data(home.path());
    const QString user = home.path() + QStringLiteral("/QUV Select/QUV");
    ASSERT_TRUE(QDir(program.path()).mkpath(QStringLiteral("QUV")));
    CopyFixture(QStringLiteral("a4.quv"), user);
    CopyFixture(QStringLiteral("short.quv"), user);

    struct Case {
        const char* what;
        bool besideHasFile;
        QStringList partNumbers;
        QStringList failureFolders;
        QString counts;
    } cases[] = {
        {"empty QUV beside the program",
         false,
         {QStringLiteral("TO0894-9")},
         {user + QLatin1Char('/')},
         QStringLiteral("0 antennas from QUV, 1 from the user's catalogue")},
        {"data file beside the program",
         true,
         {QStringLiteral("TO0894-9"), QStringLiteral("TS0865-13")},
         {program.path() + QStringLiteral("/QUV/"), user + QLatin1Char('/')},
         QStringLiteral("1 antenna from QUV, 1 from the user's catalogue")},
    };
    for (const auto& c : cases) {
        if (c.besideHasFile) {
            CopyFixture(QStringLiteral("a1.quv"), program.path() + QStringLiteral("/QUV"));
            CopyFixture(QStringLiteral("short.quv"), program.path() + QStringLiteral("/QUV"));
        }
        TScriptedPrompt prompt;
        auto window = std::make_unique<TfrmMain>(prompt, program.path(), 0);
        QStringList shown;
        for (int i = 0; i < window->lbxPartNumbers->count(); ++i)
            shown << window->lbxPartNumbers->item(i)->text();
        EXPECT_EQ(shown, c.partNumbers) << c.what;
        EXPECT_EQ(window->lblCatalogueCounts->text(), c.counts) << c.what;
        // Each short file fails; one report names each folder it failed in.
        ASSERT_EQ(prompt.Messages().size(), 1) << c.what;
        const QString header = QStringLiteral("These antenna files in \"%1\" could not be loaded:");
        for (const QString& folder : c.failureFolders)
            EXPECT_TRUE(prompt.Messages()[0].contains(header.arg(folder)))
                << c.what << ": " << prompt.Messages()[0].toStdString();
        window.reset();
    }
}

TEST(UserCatalogueWindow, ImportedPatternFilesAppearInTheListsAtOnce)
{
    quv::test::EnsureQtApp();
    QTemporaryDir program, home, source;
    const ScopedDataHome data(home.path());
    CopyFixture(QStringLiteral("a1.quv"), program.path() + QStringLiteral("/QUV"));
    const auto other = LoadQuvFile((kFixture + QStringLiteral("a4.quv")).toStdString());
    const QString good = source.path() + QStringLiteral("/other.pln");
    const QString bad = source.path() + QStringLiteral("/bad.pln");
    QFile goodFile(good), badFile(bad);
    ASSERT_TRUE(goodFile.open(QIODevice::WriteOnly) && badFile.open(QIODevice::WriteOnly));
    goodFile.write(QByteArray::fromStdString(BuildPlanet("/x/TO0894-9_P1", *other)));
    badFile.write("NAME X\r\nGAIN 15\r\n");
    goodFile.close();
    badFile.close();

    TScriptedPrompt prompt;
    auto window = std::make_unique<TfrmMain>(prompt, program.path(), 0);
    EXPECT_EQ(window->lblCatalogueCounts->text(), QStringLiteral("1 antenna from QUV"));
    prompt.openFilesAnswers.push_back({good, bad});
    std::vector<std::string> report;
    QString title;
    prompt.dialogAnswers.push_back([&](QDialog& dialog) {
        title = dialog.windowTitle();
        report = dynamic_cast<TfrmErrorLog&>(dialog).Lines();
        return int(QDialog::Accepted);
    });
    window->mnuImportPatterns->trigger();

    ASSERT_EQ(prompt.CountOf(TScriptedPrompt::Entry::Kind::OpenFiles), 1);
    EXPECT_TRUE(prompt.entries.front().filter.contains(QStringLiteral("EDX files (*.edx)")));
    EXPECT_EQ(title, QStringLiteral("Import Report"));
    const std::string folder = UserCatalogueFolder();
    ASSERT_EQ(report.size(), 4u);
    EXPECT_EQ(report[0], "1 imported into " + folder + ", 1 failed");
    EXPECT_EQ(report[1], "imported " + good.toStdString() + " -> " + folder + "TO0894-9.quv");
    // A Planet file states no length.
    EXPECT_EQ(report[2], "    warning: the file states no length; 0 mm is written");
    EXPECT_EQ(report[3], "failed " + bad.toStdString() + ": no pattern data found");
    // The new antenna is in the lists at once, and the status bar counts it.
    QStringList shown;
    for (int i = 0; i < window->lbxPartNumbers->count(); ++i)
        shown << window->lbxPartNumbers->item(i)->text();
    EXPECT_EQ(shown, (QStringList{QStringLiteral("TO0894-9"), QStringLiteral("TS0865-13")}));
    EXPECT_EQ(window->lblCatalogueCounts->text(),
              QStringLiteral("1 antenna from QUV, 1 from the user's catalogue"));
    window.reset();
}

// An import loads the catalogue again; an open reference is ranked over the new records, never
// over the ones freed with the old catalogue.
TEST(UserCatalogueWindow, AnOpenReferenceIsRankedAgainOverTheReloadedCatalogue)
{
    quv::test::EnsureQtApp();
    QTemporaryDir program, home, source;
    const ScopedDataHome data(home.path());
    CopyFixture(QStringLiteral("a1.quv"), program.path() + QStringLiteral("/QUV"));
    const auto own = LoadQuvFile((kFixture + QStringLiteral("a1.quv")).toStdString());
    const auto other = LoadQuvFile((kFixture + QStringLiteral("a4.quv")).toStdString());
    const auto write = [&source](const char* name, const std::string& bytes) {
        const QString path = source.path() + QLatin1Char('/') + QLatin1String(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(bytes));
        return path;
    };
    // Both antennas' bands hold the reference's 880 MHz.
    const QString reference = write("reference.pln", BuildPlanet("/x/ref", *own));
    const QString imported = write("other.pln", BuildPlanet("/x/TO0894-9_P1", *other));

    TScriptedPrompt prompt;
    auto window = std::make_unique<TfrmMain>(prompt, program.path(), 0);
    window->pbtnCrossReference->click();
    prompt.openFileAnswers.push_back(reference);
    window->tabCrossReference->btnOpenReference->click();
    ASSERT_NE(window->tabCrossReference->Ranking(), nullptr);
    EXPECT_EQ(window->tabCrossReference->Ranking()->ranked.size(), 1u);

    prompt.openFilesAnswers.push_back({imported});
    prompt.dialogAnswers.push_back([](QDialog&) { return int(QDialog::Accepted); });
    window->mnuImportPatterns->trigger();

    const TCrossReference* ranking = window->tabCrossReference->Ranking();
    ASSERT_NE(ranking, nullptr);
    const TQuvFileList& catalogue = window->Catalogue().Catalogue;
    ASSERT_EQ(catalogue.Count(), 2);
    ASSERT_EQ(ranking->ranked.size(), 2u);
    for (const TCandidateScore& s : ranking->ranked)
        EXPECT_TRUE(s.record == catalogue.Objects(0) || s.record == catalogue.Objects(1))
            << "a ranked antenna is not a record of the catalogue";
    EXPECT_EQ(window->lbxAntennas->count(), 2);
    EXPECT_EQ(window->Catalogue().MatchList.Count(), 2);
    window.reset();
}

#include "mainwindow/frmMain.h"

#include "catalogue/QuvLib.h"
#include "catalogue/UserFolders.h"
#include "dialogs/frmErrorLog.h"
#include "mainwindow/CrossRefPage.h"
#include "support/AllFormats.h"
#include "support/ExportFixture.h"
#include "support/ScriptedPrompt.h"
#include "support/TestApp.h"
#include "ui/SideBar.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
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

namespace {

// A Planet file of a fixture's antenna, named after its part number as the import expects.
QString WritePlanet(const QString& folder, const QString& fixture)
{
    const auto record = LoadQuvFile((kFixture + fixture).toStdString());
    QFile file(folder + QLatin1Char('/') + fixture + QStringLiteral(".pln"));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(BuildPlanet("/x/" + record->PartNumber + "_P1", *record)));
    return file.fileName();
}

// Imports `files` through the menu; returns the report, one line each. `look` sees it shown.
std::string Import(
    TfrmMain& window, TScriptedPrompt& prompt, const QStringList& files,
    std::function<void(TfrmErrorLog&)> look = [](TfrmErrorLog&) {})
{
    std::string report;
    prompt.openFilesAnswers.push_back(files);
    prompt.dialogAnswers.push_back([&](QDialog& dialog) {
        for (const std::string& line : dynamic_cast<TfrmErrorLog&>(dialog).Lines())
            report += line + "\n";
        look(dynamic_cast<TfrmErrorLog&>(dialog));
        return int(QDialog::Accepted);
    });
    window.mnuImportPatterns->trigger();
    return report;
}

} // namespace

TEST(UserCatalogueWindow, ImportingAnAntennaAgainAsksWhetherToReplaceIt)
{
    using A = IPrompt::Answer;
    quv::test::EnsureQtApp();
    const struct {
        std::vector<A> answers;
        bool replaced[2];
        const char* counts;
    } cases[] = {{{A::Yes, A::No}, {true, false}, "1 imported into %1, 0 failed, 1 skipped\n"},
                 {{A::YesToAll}, {true, true}, "2 imported into %1, 0 failed\n"},
                 {{A::No, A::Cancel}, {false, false}, "0 imported into %1, 0 failed, 1 skipped\n"},
                 {{A::Cancel}, {false, false}, "0 imported into %1, 0 failed\n"}};
    for (const auto& c : cases) {
        QTemporaryDir program, home, source;
        const ScopedDataHome data(home.path());
        CopyFixture(QStringLiteral("a1.quv"), program.path() + QStringLiteral("/QUV"));
        const QStringList files{WritePlanet(source.path(), QStringLiteral("a4.quv")),
                                WritePlanet(source.path(), QStringLiteral("a9.quv"))};
        // Earlier files of both antennas, told apart from what the import writes.
        const QString folder = QString::fromStdString(UserCatalogueFolder());
        const QString old = kFixture + QStringLiteral("c1.quv");
        const QString targets[] = {folder + QStringLiteral("TO0894-9.quv"),
                                   folder + QStringLiteral("TS0880-12.quv")};
        for (const QString& target : targets)
            ASSERT_TRUE(QDir().mkpath(folder) && QFile::copy(old, target));
        TScriptedPrompt prompt;
        auto window = std::make_unique<TfrmMain>(prompt, program.path(), 0);
        prompt.questionAnswers.assign(c.answers.begin(), c.answers.end());
        const std::string report = Import(*window, prompt, files);

        const std::string counts = QString::fromLatin1(c.counts).arg(folder).toStdString();
        EXPECT_EQ(report.rfind(counts, 0), 0u) << report;
        EXPECT_EQ(prompt.CountOf(TScriptedPrompt::Entry::Kind::Question), int(c.answers.size()));
        EXPECT_TRUE(prompt.Messages()[0].startsWith(QStringLiteral("TO0894-9 is already")) &&
                    prompt.Messages()[0].contains(files[0]));
        for (int i : {0, 1})
            EXPECT_EQ(quv::test::ReadBytes(targets[i].toStdString()) !=
                          quv::test::ReadBytes(old.toStdString()),
                      c.replaced[i])
                << counts << i;
        // A cancelled run names what it did not read.
        EXPECT_EQ(report.find("not imported " + files[1].toStdString()) != std::string::npos,
                  c.answers.back() == A::Cancel);
        window.reset();
    }
}

// A twin of the program's TP1990-17 is warned about, marked and listed first; the ticks and the
// selection follow their antennas to their new rows. Removing it deletes its file only.
TEST(UserCatalogueWindow, AnImportedTwinIsMarkedKeepsTheViewAndCanBeRemoved)
{
    quv::test::EnsureQtApp();
    QTemporaryDir program, home, source;
    const ScopedDataHome data(home.path());
    for (const char* name : {"a1.quv", "a2.quv", "a3.quv"})
        CopyFixture(QLatin1String(name), program.path() + QStringLiteral("/QUV"));
    TScriptedPrompt prompt;
    auto window = std::make_unique<TfrmMain>(prompt, program.path(), 0);
    window->pbtnPartNumber->click();
    window->lbxPartNumbers->setCurrentRow(0); // TP1990-17
    window->lbxAntennas->item(0)->setCheckState(Qt::Checked);
    window->lbxAntennas->item(1)->setCheckState(Qt::Checked);
    window->lbxAntennas->setCurrentRow(1);
    const TQuvFileList& matches = window->Catalogue().MatchList;
    const std::vector<std::string> ticked{matches.Objects(0)->FileName,
                                          matches.Objects(1)->FileName};

    const QString twin = WritePlanet(source.path(), QStringLiteral("a2.quv"));
    const std::string report = Import(*window, prompt, {twin}, [](TfrmErrorLog& log) {
        log.show();
        // Its lines are wider than the box: it opens at their left, at the first line.
        EXPECT_GT(log.Log->horizontalScrollBar()->maximum(), 0);
        EXPECT_EQ(log.Log->horizontalScrollBar()->value() + log.Log->verticalScrollBar()->value(),
                  0);
    });
    EXPECT_NE(report.find("TP1990-17 is already in the program's catalogue; both are listed"),
              std::string::npos);

    EXPECT_EQ(window->pgFilter->currentIndex(), 2);
    ASSERT_EQ(window->lbxAntennas->count(), 3);
    std::vector<std::string> checked;
    for (int i = 0; i < 3; ++i) {
        const QListWidgetItem* item = window->lbxAntennas->item(i);
        if (item->checkState() == Qt::Checked)
            checked.push_back(matches.Objects(i)->FileName);
        EXPECT_EQ(item->text().endsWith(QStringLiteral(" MHz (imported)")), i == 0);
    }
    EXPECT_EQ(checked, ticked);
    ASSERT_NE(window->SelectedRecord(), nullptr);
    EXPECT_EQ(window->SelectedRecord()->FileName, ticked[1]);

    QStringList rows;
    prompt.dialogAnswers.push_back([&rows](QDialog& dialog) {
        auto* list = dialog.findChild<QTreeWidget*>(QStringLiteral("lstAntennas"));
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            rows << list->topLevelItem(i)->text(2);
        // Keyboard only: Space ticks the first row, Enter presses OK.
        dialog.show();
        QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(list, &space);
        QApplication::sendEvent(list, &enter);
        return dialog.result();
    });
    prompt.confirmAnswers.push_back(true);
    window->mnuRemoveImported->trigger();
    // The program's own antennas are not offered, and stay.
    EXPECT_EQ(rows, QStringList{QStringLiteral("TP1990-17.quv")});
    EXPECT_FALSE(QFile::exists(QString::fromStdString(UserCatalogueFolder()) + rows.value(0)));
    EXPECT_EQ(QDir(program.path() + QStringLiteral("/QUV")).count(), 5u); // with . and ..
    EXPECT_EQ(window->lbxAntennas->count(), 2);
    EXPECT_FALSE(window->mnuRemoveImported->isEnabled());
    window.reset();
}

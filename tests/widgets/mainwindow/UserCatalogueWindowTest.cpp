#include "mainwindow/frmMain.h"

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

TEST(UserCatalogueWindow, StartupLoadsTheUserCatalogueWhenTheProgramsFolderIsEmpty)
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
        QString expectedPartNumber;
        QString failureFolder;
    } cases[] = {
        {"empty QUV beside the program", false, QStringLiteral("TO0894-9"),
         user + QLatin1Char('/')},
        {"data file beside the program", true, QStringLiteral("TS0865-13"),
         program.path() + QStringLiteral("/QUV/")},
    };
    for (const auto& c : cases) {
        if (c.besideHasFile) {
            CopyFixture(QStringLiteral("a1.quv"), program.path() + QStringLiteral("/QUV"));
            CopyFixture(QStringLiteral("short.quv"), program.path() + QStringLiteral("/QUV"));
        }
        TScriptedPrompt prompt;
        auto window = std::make_unique<TfrmMain>(prompt, program.path(), 0);
        EXPECT_EQ(window->lbxPartNumbers->count(), 1) << c.what;
        if (window->lbxPartNumbers->count() > 0) {
            EXPECT_EQ(window->lbxPartNumbers->item(0)->text(), c.expectedPartNumber) << c.what;
        }
        // The short file fails; the report names the folder that was actually loaded.
        ASSERT_EQ(prompt.Messages().size(), 1) << c.what;
        const QString header = QStringLiteral("These antenna files in \"%1\" could not be loaded:");
        EXPECT_TRUE(prompt.Messages()[0].startsWith(header.arg(c.failureFolder)))
            << c.what << ": " << prompt.Messages()[0].toStdString();
        window.reset();
        FreeCatalogueRecords();
    }
}

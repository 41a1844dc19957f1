// File > Import Pattern Files: other makers' files become antennas of the user's catalogue.
#include "mainwindow/frmMain.h"

#include "catalogue/Codepage.h"
#include "catalogue/UserFolders.h"
#include "dialogs/frmErrorLog.h"
#include "mainwindow/CrossRefPage.h"
#include "mainwindow/SiteFitPage.h"
#include "reference/PatternBatch.h"
#include "reference/PatternFormat.h"
#include "reference/PatternReaders.h"

#include <QFile>
#include <QStackedWidget>

#include <string>
#include <vector>

namespace quv {

void TfrmMain::ImportPatternFilesClick()
{
    const std::string folder = UserCatalogueFolder();
    if (folder.empty()) {
        prompt_.Inform(this,
                       QStringLiteral("The desktop names no folder for the user's data, so "
                                      "there is no catalogue folder to import into."),
                       IPrompt::Icon::Error);
        return;
    }
    const QStringList chosen =
        prompt_.ChooseOpenFiles(this, QStringLiteral("Import Pattern Files"), QString(),
                                QString::fromStdString(PatternFileDialogFilter()));
    if (chosen.isEmpty())
        return;
    std::vector<std::string> paths;
    for (const QString& file : chosen)
        paths.push_back(QFile::encodeName(file).toStdString());
    const std::vector<std::string> files = CollectPatternFiles(paths);
    if (files.empty()) {
        prompt_.Inform(this, QStringLiteral("No pattern file was found in the folders chosen."),
                       IPrompt::Icon::Error);
        return;
    }
    const TBatchReport report = ImportPatternFiles(files, folder, false);

    TfrmErrorLog log(this, prompt_);
    log.setWindowTitle(QStringLiteral("Import Report"));
    log.AppendLine(std::to_string(report.Succeeded()) + " imported into " + folder + ", " +
                   std::to_string(report.Failed()) + " failed");
    for (const TBatchItem& item : report.items) {
        if (!item.error.empty()) {
            log.AppendLine("failed " + item.error);
            continue;
        }
        std::string line = "imported " + item.source + " ->";
        for (const std::string& target : item.targets)
            line += " " + target;
        log.AppendLine(line);
        for (const std::string& warning : item.warnings)
            log.AppendLine("    warning: " + warning);
    }
    prompt_.ExecDialog(log);
    if (report.Succeeded() > 0)
        ReloadCatalogue();
}

void TfrmMain::ReloadCatalogue()
{
    const int page = pgFilter->currentIndex();
    LoadCatalogue(false);
    tabCrossReference->CatalogueReloaded();
    tabSiteFit->CatalogueReloaded();
    FillValueLists();
    // The page shown filters again, over the catalogue as it now is.
    FilterButtonClick(page);
    UpdateCommandStates();
}

} // namespace quv

// File > Import Pattern Files: other makers' files become antennas of the user's catalogue.
// File > Remove Imported Antennas takes them out again.
#include "mainwindow/frmMain.h"

#include "catalogue/Codepage.h"
#include "catalogue/QuvLib.h"
#include "catalogue/UserFolders.h"
#include "dialogs/frmErrorLog.h"
#include "dialogs/frmRemoveImported.h"
#include "mainwindow/CrossRefPage.h"
#include "mainwindow/SiteFitPage.h"
#include "mainwindow/frmMainPrivate.h"
#include "reference/PatternBatch.h"
#include "reference/PatternFormat.h"
#include "reference/PatternReaders.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStackedWidget>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace quv {

using namespace mainwindow;

namespace {

QString Quoted(const std::string& path)
{
    return QLatin1Char('"') + QString::fromStdString(path) + QLatin1Char('"');
}

} // namespace

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
    // Part numbers of the program's own catalogue, taken before the reload frees the records.
    std::set<std::string> ownPartNumbers;
    for (const TQuvFileList::Item& item : catalogue_.Catalogue)
        if (!IsImported(*item.object))
            ownPartNumbers.insert(item.object->PartNumber);

    const TBatchReport report = ImportPatternFiles(
        files, folder,
        [this](const std::string& target, const std::string& partNumber,
               const std::string& source) {
            const QString text =
                QStringLiteral("%1 is already in the user's catalogue (%2).\r\rReplace it with "
                               "the antenna read from %3?")
                    .arg(ToQString(partNumber), Quoted(target), Quoted(source));
            switch (prompt_.AskYesAllNoCancel(this, text)) {
            case IPrompt::Answer::Yes:
                return TReplaceAnswer::Replace;
            case IPrompt::Answer::YesToAll:
                return TReplaceAnswer::ReplaceAll;
            case IPrompt::Answer::No:
                return TReplaceAnswer::Skip;
            case IPrompt::Answer::Cancel:
                break;
            }
            return TReplaceAnswer::Cancel;
        });

    TfrmErrorLog log(this, prompt_);
    log.setWindowTitle(QStringLiteral("Import Report"));
    std::string header = std::to_string(report.Succeeded()) + " imported into " + folder + ", " +
                         std::to_string(report.Failed()) + " failed";
    if (report.Skipped() > 0)
        header += ", " + std::to_string(report.Skipped()) + " skipped";
    log.AppendLine(header);
    for (const TBatchItem& item : report.items) {
        if (!item.error.empty()) {
            log.AppendLine("failed " + item.error);
            continue;
        }
        if (!item.targets.empty()) {
            std::string line = "imported " + item.source + " ->";
            for (const std::string& target : item.targets)
                line += " " + target;
            log.AppendLine(line);
        }
        for (const std::string& kept : item.skipped)
            log.AppendLine("skipped " + item.source + ": " + kept + " kept as it was");
        for (const std::string& partNumber : item.partNumbers)
            if (ownPartNumbers.count(partNumber))
                log.AppendLine("    warning: " + partNumber +
                               " is already in the program's catalogue; both are listed");
        for (const std::string& warning : item.warnings)
            log.AppendLine("    warning: " + warning);
    }
    if (!report.cancelled.empty()) {
        log.AppendLine("cancelled: the other " + std::to_string(report.cancelled.size()) +
                       (report.cancelled.size() == 1 ? " file was" : " files were") +
                       " not imported");
        for (const std::string& source : report.cancelled)
            log.AppendLine("not imported " + source);
    }
    // Appending scrolled the report to its end; it is read from the first line.
    log.Log->moveCursor(QTextCursor::Start);
    log.Log->horizontalScrollBar()->setValue(0);
    log.Log->verticalScrollBar()->setValue(0);
    prompt_.ExecDialog(log);
    if (report.Succeeded() > 0)
        ReloadCatalogue();
}

void TfrmMain::RemoveImportedClick()
{
    const std::string folder = UserCatalogueFolder();
    std::vector<TRemoveRow> rows;
    for (const TQuvFileList::Item& item : catalogue_.Catalogue)
        if (IsImported(*item.object))
            rows.push_back(
                {item.object->PartNumber,
                 item.object->BeginSubFrequency + "-" + item.object->EndSubFrequency + " MHz",
                 item.object->FileName});
    if (folder.empty() || rows.empty()) {
        prompt_.Inform(this, QStringLiteral("The user's catalogue holds no imported antenna."),
                       IPrompt::Icon::Information);
        return;
    }
    TfrmRemoveImported dialog(this, rows);
    if (prompt_.ExecDialog(dialog) != QDialog::Accepted)
        return;
    const std::vector<std::string> chosen = dialog.CheckedFiles();
    if (chosen.empty())
        return;
    QString question = chosen.size() == 1
                           ? QStringLiteral("Delete this file from the user's catalogue?\r")
                           : QStringLiteral("Delete these %1 files from the user's catalogue?\r")
                                 .arg(chosen.size());
    for (const std::string& path : chosen)
        question += QLatin1Char('\r') + Quoted(path);
    if (!prompt_.Confirm(this, question, IPrompt::Icon::Information))
        return;
    const std::vector<TFileProblem> problems = RemoveImportedFiles(chosen, folder);
    if (problems.size() < chosen.size())
        ReloadCatalogue();
    if (problems.empty())
        return;
    QString text = QStringLiteral("These files were not deleted:\r");
    for (const TFileProblem& p : problems)
        text += QLatin1Char('\r') + Quoted(p.path) + QStringLiteral(": ") + ToQString(p.reason);
    prompt_.Inform(this, text, IPrompt::Icon::Error);
}

bool TfrmMain::IsImported(const TQuvFile& record) const
{
    return !userFolderLoaded_.empty() && record.FileName.size() > userFolderLoaded_.size() &&
           record.FileName.compare(0, userFolderLoaded_.size(), userFolderLoaded_) == 0;
}

void TfrmMain::MarkImportedItems()
{
    for (int i = 0; i < lbxAntennas->count() && i < catalogue_.MatchList.Count(); ++i)
        if (IsImported(*RecordAt(catalogue_.MatchList, i)))
            lbxAntennas->item(i)->setText(lbxAntennas->item(i)->text() +
                                          QStringLiteral(" (imported)"));
}

void TfrmMain::ReloadCatalogue()
{
    // The records are freed by the reload: what is shown is remembered by file path and text.
    const int page = pgFilter->currentIndex();
    std::vector<std::string> ticked;
    std::string selected;
    for (int i = 0; i < lbxAntennas->count() && i < catalogue_.MatchList.Count(); ++i)
        if (lbxAntennas->item(i)->checkState() == Qt::Checked)
            ticked.push_back(RecordAt(catalogue_.MatchList, i)->FileName);
    if (const TQuvFile* record = SelectedRecord())
        selected = record->FileName;
    const QListWidgetItem* partItem = lbxPartNumbers->currentItem();
    const QString partNumber = partItem ? partItem->text() : QString();
    QComboBox* const combos[] = {cbxBegGain,      cbxEndGain,  cbxBegFrequency, cbxBegRange,
                                 cbxEndFrequency, cbxEndRange, cbxDowntilt};
    QStringList comboTexts;
    for (const QComboBox* combo : combos)
        comboTexts << combo->currentText();

    LoadCatalogue(false);
    tabCrossReference->CatalogueReloaded();
    tabSiteFit->CatalogueReloaded();
    FillValueLists();
    for (std::size_t k = 0; k < std::size(combos); ++k) {
        const QSignalBlocker block(combos[k]);
        combos[k]->setCurrentIndex(combos[k]->findText(comboTexts[static_cast<int>(k)]));
    }
    if (!partNumber.isEmpty()) {
        const QSignalBlocker block(lbxPartNumbers);
        const QList<QListWidgetItem*> found =
            lbxPartNumbers->findItems(partNumber, Qt::MatchExactly);
        if (!found.isEmpty())
            lbxPartNumbers->setCurrentItem(found.front());
    }
    // The page shown filters again, over the catalogue as it now is.
    FilterButtonClick(page);

    filling_ = true;
    int ticks = 0;
    int selectedRow = -1;
    for (int i = 0; i < lbxAntennas->count() && i < catalogue_.MatchList.Count(); ++i) {
        const std::string& path = RecordAt(catalogue_.MatchList, i)->FileName;
        if (ticks < 4 && std::find(ticked.begin(), ticked.end(), path) != ticked.end()) {
            lbxAntennas->item(i)->setCheckState(Qt::Checked);
            ++ticks;
        }
        if (selectedRow < 0 && !selected.empty() && path == selected)
            selectedRow = i;
    }
    filling_ = false;
    if (selectedRow >= 0)
        lbxAntennas->setCurrentRow(selectedRow);
    BuildPlotList(chkComposite->isChecked());
    UpdateCommandStates();
}

} // namespace quv

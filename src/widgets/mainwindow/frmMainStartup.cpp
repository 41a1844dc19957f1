#include "mainwindow/frmMain.h"

#include "catalogue/Codepage.h"
#include "catalogue/Errors.h"
#include "catalogue/Filters.h"
#include "catalogue/NumberText.h"
#include "catalogue/QuvLib.h"
#include "catalogue/SharedLib.h"
#include "catalogue/UserFolders.h"
#include "mainwindow/CrossRefPage.h"
#include "mainwindow/SiteFitPage.h"
#include "mainwindow/frmMainPrivate.h"
#include "ui/SideBar.h"
#include "ui/WindowIdioms.h"
#include "ui/frmAbout.h"
#include "ui/frmSplash.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QThread>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <filesystem>

namespace quv {

using namespace mainwindow;

void TfrmMain::FormCreate(const QStringList& args)
{
    // Number texts are parsed and formatted by one locale-independent module ("." and ","),
    // so there is no locale to fix here.
    LoadCatalogue();
    if (catalogue_.Catalogue.Empty()) {
        prompt_.Inform(this, kNoFilesMessage + QStringLiteral("\r\rSearched: ") + searchedFolders_,
                       IPrompt::Icon::Error);
    } else {
        FillValueLists();
        grdSpecs->setCurrentCell(0, 1);
        ApplyCommandLine(args);
    }
    // The progress bar already sits in the status bar's second panel.
}

void TfrmMain::LoadCatalogue(bool startup)
{
    QString folder = programFolder_;
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    catalogue_.SetProgramFolder(FromQString(folder));
    catalogue_.FreeRecords();

    TfrmSplash splash;
    // The loading loop itself takes no events, so the splash is painted before it starts.
    splash.ShowPainted();
    // The folder beside the program, then the user's, where imported antennas and a maker's
    // updates go.
    const std::string beside = AntennaFolder(catalogue_.ProgramFolder);
    const std::string user = UserCatalogueFolder();
    const auto quoted = [](const std::string& path) {
        return QLatin1Char('"') + QString::fromStdString(path) + QLatin1Char('"');
    };
    searchedFolders_ = quoted(beside);
    std::vector<std::string> folders{beside};
    userFolderLoaded_.clear();
    if (!user.empty() && user != beside) {
        searchedFolders_ += QStringLiteral(" and ") + quoted(user);
        std::error_code ec;
        if (std::filesystem::is_directory(user, ec)) {
            folders.push_back(user);
            userFolderLoaded_ = user;
        }
    }
    int loadedBefore = 0;
    QString failures;
    std::vector<int> counts;
    for (const std::string& catalogueFolder : folders) {
        bool sized = false;
        const TLoadReport report =
            catalogue_.LoadFolder(catalogueFolder, [&splash, &sized, loadedBefore](int, int total) {
                if (!sized) {
                    splash.SetMaximum(loadedBefore + total);
                    sized = true;
                }
                splash.Step();
            });
        loadedBefore += report.fileCount;
        counts.push_back(report.loaded);
        // Every loadable file is kept; the failures are reported together, then start-up goes
        // on.
        if (report.failures.empty())
            continue;
        if (!failures.isEmpty())
            failures += QStringLiteral("\n\n");
        failures += QStringLiteral("These antenna files in %1 could not be loaded:\n")
                        .arg(quoted(catalogueFolder));
        const int shown =
            std::min<int>(kMaxReportedFailures, static_cast<int>(report.failures.size()));
        for (int i = 0; i < shown; ++i)
            failures += QLatin1Char('\n') + ToQString(report.failures[i].name) +
                        QStringLiteral(": ") + ToQString(report.failures[i].message);
        const int more = static_cast<int>(report.failures.size()) - shown;
        if (more > 0)
            failures += QStringLiteral("\nand %1 more").arg(more);
    }
    if (startup)
        splash.Hold(splashWaitMs_);
    splash.close();
    QString text = (counts[0] == 1 ? QStringLiteral("%1 antenna from QUV")
                                   : QStringLiteral("%1 antennas from QUV"))
                       .arg(counts[0]);
    if (counts.size() > 1)
        text += QStringLiteral(", %1 from the user's catalogue").arg(counts[1]);
    lblCatalogueCounts->setText(text);
    mnuRemoveImported->setEnabled(counts.size() > 1 && counts[1] > 0);
    if (!failures.isEmpty())
        prompt_.Inform(this, failures, IPrompt::Icon::Error);
}

void TfrmMain::FillValueLists()
{
    {
        const QSignalBlocker block(lbxPartNumbers);
        lbxPartNumbers->clear();
        for (const auto& pn : PartNumberList(catalogue_))
            lbxPartNumbers->addItem(ToQString(pn));
        lbxPartNumbers->setCurrentRow(-1);
    }
    const std::vector<std::string> gains = GainList();
    FillCombo(cbxBegGain, gains);
    FillCombo(cbxEndGain, gains);
    const std::vector<std::string> begins = BeginFrequencyList(catalogue_);
    FillCombo(cbxBegFrequency, begins);
    FillCombo(cbxBegRange, begins);
    const std::vector<std::string> ends = EndFrequencyList(catalogue_);
    FillCombo(cbxEndFrequency, ends);
    FillCombo(cbxEndRange, ends);
    FillCombo(cbxDowntilt, DowntiltList(catalogue_));
}

void TfrmMain::ApplyCommandLine(const QStringList& args)
{
    if (args.isEmpty())
        return;
    const std::string wanted = UpperCase(FromQString(args.front()));
    pbtnPartNumber->click();
    for (int i = 0; i < lbxPartNumbers->count(); ++i) {
        if (SameTextIgnoringCase(FromQString(lbxPartNumbers->item(i)->text()), wanted)) {
            lbxPartNumbers->setCurrentRow(i);
            if (lbxAntennas->count() > 0)
                lbxAntennas->setCurrentRow(0);
            return;
        }
    }
}

void TfrmMain::FilterButtonClick(int tag)
{
    QString header;
    switch (tag) {
    case 0:
        header = QStringLiteral("Select Antenna(s) - Application");
        ApplyCategory();
        break;
    case 1:
        header = QStringLiteral("Select Antenna(s) - Frequency Range");
        ApplyFrequencyRange(false);
        break;
    case 2:
        header = QStringLiteral("Select Antenna(s) - Part Number");
        lbxPartNumbersClick();
        break;
    case 3:
        header = QStringLiteral("Antenna Quick Preview");
        DrawQuickPreview();
        break;
    case 4:
        header = QStringLiteral("Select Antenna(s) - Multi Search");
        RunMultiSearch();
        break;
    case 5:
        header = QStringLiteral("Select Antenna(s) - Cross Reference");
        ApplyCrossReference();
        break;
    case 6:
        header = QStringLiteral("Select Antenna(s) - Site Fit");
        // What the other pages narrowed is what the page offers to rank; its own ranking
        // replaces the matches while it is shown.
        if (pgFilter->currentIndex() != 6)
            tabSiteFit->SetMatches(catalogue_.MatchList);
        ApplySiteFit();
        break;
    default:
        return;
    }
    pgFilter->setCurrentIndex(tag);
    lblHeaderPanel->setText(header);
}

void TfrmMain::AfterFilter()
{
    FillAntennaList();
    ClearSpecifications(true);
}

void TfrmMain::ApplyCategory()
{
    quv::ApplyCategory(catalogue_, SelectedRow(lbxRanges));
    AfterFilter();
}

void TfrmMain::ApplyFrequencyRange(bool messages)
{
    const std::string refusal = quv::ApplyFrequencyRange(catalogue_, ComboValue(cbxBegFrequency),
                                                         ComboValue(cbxEndFrequency));
    AfterFilter();
    if (messages && !refusal.empty())
        prompt_.Inform(this, ToQString(refusal), IPrompt::Icon::Information);
}

void TfrmMain::lbxPartNumbersClick()
{
    const int row = SelectedRow(lbxPartNumbers);
    if (row < 0) {
        ApplyPartNumber(catalogue_, std::nullopt);
    } else {
        const std::string pn = FromQString(lbxPartNumbers->item(row)->text());
        ApplyPartNumber(catalogue_, pn);
    }
    AfterFilter();
}

void TfrmMain::FindClosestMatch()
{
    quv::FindClosestMatch(catalogue_, FromQString(txtMatch->text()));
    AfterFilter();
}

void TfrmMain::RunMultiSearch()
{
    TMultiSearch search;
    search.frequency = chkFrequency->isChecked();
    search.begRange = ComboText(cbxBegRange);
    search.endRange = ComboText(cbxEndRange);
    search.gain = chkGain->isChecked();
    search.begGain = ComboText(cbxBegGain);
    search.endGain = ComboText(cbxEndGain);
    search.polarization = chkPolarization->isChecked();
    search.polarizationItem = ComboText(cbxPolarization);
    search.downtilt = chkDowntilt->isChecked();
    search.downtiltItem = ComboText(cbxDowntilt);
    quv::RunMultiSearch(catalogue_, search);
    AfterFilter();
}

void TfrmMain::ApplyCrossReference()
{
    catalogue_.MatchList.Clear();
    const TCrossReference* ranking = tabCrossReference->Ranking();
    if (ranking)
        for (const TCandidateScore& s : ranking->ranked)
            catalogue_.MatchList.Add(s.record->PartNumber, const_cast<TQuvFile*>(s.record));
    AfterFilter();
    if (!ranking)
        return;
    filling_ = true;
    const std::vector<std::string> texts = TCrossRefPage::ItemTexts(*ranking, catalogue_.Catalogue);
    for (int i = 0; i < lbxAntennas->count() && i < static_cast<int>(texts.size()); ++i)
        lbxAntennas->item(i)->setText(ToQString(texts[static_cast<std::size_t>(i)]));
    MarkImportedItems();
    filling_ = false;
}

void TfrmMain::ApplySiteFit()
{
    catalogue_.MatchList.Clear();
    const TSiteRanking* ranking = tabSiteFit->Ranking();
    if (ranking)
        for (const TSiteEntry& e : ranking->ranked)
            catalogue_.MatchList.Add(e.record->PartNumber, const_cast<TQuvFile*>(e.record));
    AfterFilter();
    tabSiteFit->ShowSelected(nullptr);
    if (!ranking)
        return;
    filling_ = true;
    const std::vector<std::string> texts = TSiteFitPage::ItemTexts(*ranking, catalogue_.Catalogue);
    for (int i = 0; i < lbxAntennas->count() && i < static_cast<int>(texts.size()); ++i)
        lbxAntennas->item(i)->setText(ToQString(texts[static_cast<std::size_t>(i)]));
    MarkImportedItems();
    filling_ = false;
}

const TSiteRanking* TfrmMain::SiteFitRanking() const
{
    return tabSiteFit ? tabSiteFit->Ranking() : nullptr;
}

const TReferencePattern* TfrmMain::Reference() const
{
    return tabCrossReference ? tabCrossReference->Reference() : nullptr;
}

void TfrmMain::FillAntennaList()
{
    filling_ = true;
    lbxAntennas->clear();
    for (const std::string& text : AntennaItemTexts(catalogue_.MatchList)) {
        auto* item = new QListWidgetItem(ToQString(text), lbxAntennas);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    MarkImportedItems();
    lbxAntennas->setCurrentRow(-1);
    filling_ = false;
    lblAntennas->setText(QStringLiteral("Antenna Matches: ") +
                         QString::number(lbxAntennas->count()));
    UpdateCommandStates();
}

} // namespace quv

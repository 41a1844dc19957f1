// The selection window: owns the catalogue, loads it behind the splash, narrows it with the four
// filters into its MatchList, lists the matches with check marks, shows the selected antenna's
// specifications and offers the plot, export and print commands on the PlotList it builds.
#pragma once

#include "catalogue/QuvFile.h"
#include "catalogue/QuvLib.h"
#include "plot/PolarPlotLib.h"
#include "ui/Prompt.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QStringList>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QProgressBar;
class QPushButton;
class QSplitter;
class QStackedWidget;
class QStatusBar;
class QTableWidget;
class QToolButton;

namespace quv {

class TSideBar;
class TSideBarButton;
class TCrossRefPage;
class TSiteFitPage;
struct TReferencePattern;
struct TSiteRanking;

// The folder of the running executable.
inline QString DefaultProgramFolder()
{
    return QCoreApplication::applicationDirPath();
}

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(IPrompt& prompt, QString programFolder = DefaultProgramFolder(),
                      int splashWaitMs = 1000, QStringList args = {}, QWidget* parent = nullptr);
    ~TfrmMain() override;

    IPrompt& Prompt() const { return prompt_; }
    // The records and lists this window shows; the other windows and commands work on them.
    TCatalogue& Catalogue() { return catalogue_; }
    const TCatalogue& Catalogue() const { return catalogue_; }
    // What the quick preview, the pattern window and the print command draw.
    TPlotType PlotType() const { return plotType_; }
    QProgressBar* ProgressBar() const { return ProgressBar1; }
    // The match of the antenna list's selected item, or nullptr.
    TQuvFile* SelectedRecord() const;

    // Used after every filter action and by the commands of other windows.
    void FillAntennaList();
    void ClearSpecifications(bool resetRow);
    void BuildPlotList(bool composite);
    void UpdateCommandStates();
    void ShowSpecifications();
    void DrawQuickPreview();
    // The grid as CopySpecs puts it on the clipboard.
    std::string SpecsText() const;
    // The other maker's pattern open on the Cross Reference page, or nullptr.
    const TReferencePattern* Reference() const;
    // The ranking on the Site Fit page, or nullptr before the first one.
    const TSiteRanking* SiteFitRanking() const;

public slots:
    // The plot type commands; the pattern window calls this so both menus agree.
    void SetPlotType(quv::TPlotType type);

signals:
    // Commands built elsewhere; emitted only when the command is enabled.
    void viewPatternsRequested();
    void printRequested();
    void exportSelectedRequested();
    void exportMatchesRequested();
    void createQuvDatRequested();
    void createAntennaDatRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildFrame();
    void BuildToolbar();
    QWidget* BuildFilterPages();
    QWidget* BuildMatchPanel();
    QWidget* BuildGrid();
    void FormCreate(const QStringList& args);
    // The "QUV" folder beside the program, then the user's catalogue folder when it exists.
    // `startup` holds the splash for its minimum time.
    void LoadCatalogue(bool startup = true);
    // File > Import Pattern Files: imports into the user's catalogue folder, shows the report and
    // reloads the catalogue so the new antennas appear in every list.
    void ImportPatternFilesClick();
    // File > Remove Imported Antennas: deletes the data files ticked in a list of the user's
    // catalogue, never a file outside its folder.
    void RemoveImportedClick();
    // Loads the catalogue again, keeping the page shown, its filter, the ticks and the selection
    // (matched by data file path, as the records are new).
    void ReloadCatalogue();
    // True for a record loaded from the user's catalogue folder.
    bool IsImported(const TQuvFile& record) const;
    // Adds " (imported)" to the antenna list's items of user-catalogue records.
    void MarkImportedItems();
    void FillValueLists();
    void ApplyCommandLine(const QStringList& args);

    // Filter actions; each ends with FillAntennaList and ClearSpecifications(true).
    void FilterButtonClick(int tag);
    void AfterFilter();
    void ApplyCategory();
    void ApplyFrequencyRange(bool messages);
    void lbxPartNumbersClick();
    void FindClosestMatch();
    void RunMultiSearch();
    // Matches := the ranking of the open reference (none without one), each item with its score.
    void ApplyCrossReference();
    // Matches := the Site Fit page's ranking (none before one), each item with its figures.
    void ApplySiteFit();

    void lbxAntennasClick();
    void lbxAntennasClickCheck(int row);
    void btnViewPatternsClick();
    bool FormKeyDown(QKeyEvent* key, QObject* receiver);
    void UpdateDescriptionRow();
    void CopyText(const std::string& text);
    std::vector<std::string> ListTexts(const QListWidget* list, bool checkedOnly) const;

    IPrompt& prompt_;
    TCatalogue catalogue_;
    QString programFolder_;
    int splashWaitMs_;
    bool filling_ = false;
    int rowAtPress_ = -1;          // the antenna list's selected row when the mouse went down
    QString searchedFolders_;      // named by the start-up message when no data file was found
    std::string userFolderLoaded_; // the user's catalogue folder when it was loaded, else empty
    TPlotType plotType_ = TPlotType::RelativePower;
    TSideBar* sideBar_ = nullptr;

public:
    // Controls, named as in the rest of the program; also their objectName.
    QToolButton* toolPrint = nullptr;
    QToolButton* toolExport = nullptr;
    QAction* mnuImportPatterns = nullptr;
    QAction* mnuRemoveImported = nullptr;
    QAction* Exit1 = nullptr;
    QAction* mnuBreak = nullptr;
    QAction* mnuCreateQUV = nullptr;
    QAction* mnuCreateAntenna = nullptr;
    QAction* mnuPrint = nullptr;
    QAction* mnuExport = nullptr;
    QAction* mnuExportAll = nullptr;
    QAction* mnuRelativePower = nullptr;
    QAction* mnuRelativeField = nullptr;
    QAction* About1 = nullptr;

    TSideBarButton* pbtnCategory = nullptr;
    TSideBarButton* pbtnFrequencyRange = nullptr;
    TSideBarButton* pbtnPartNumber = nullptr;
    TSideBarButton* OutlookBtn1 = nullptr;
    TSideBarButton* pbtnPreview = nullptr;
    TSideBarButton* pbtnCrossReference = nullptr;
    TCrossRefPage* tabCrossReference = nullptr;
    TSideBarButton* pbtnSiteFit = nullptr;
    TSiteFitPage* tabSiteFit = nullptr;

    QLabel* lblHeaderPanel = nullptr;
    QWidget* pnlTop = nullptr;
    QStackedWidget* pgFilter = nullptr;
    QListWidget* lbxRanges = nullptr;
    QComboBox* cbxBegFrequency = nullptr;
    QComboBox* cbxEndFrequency = nullptr;
    QListWidget* lbxPartNumbers = nullptr;
    QMenu* popmnuPartNumbers = nullptr;
    QAction* pnCopySelected = nullptr;
    QAction* pnCopyAll = nullptr;
    QLineEdit* txtMatch = nullptr;
    QWidget* pnlImage = nullptr;
    QWidget* pnlInner = nullptr;
    QLabel* imgAzimuth = nullptr;
    QLabel* imgElevation = nullptr;
    QCheckBox* chkFrequency = nullptr;
    QComboBox* cbxBegRange = nullptr;
    QComboBox* cbxEndRange = nullptr;
    QCheckBox* chkGain = nullptr;
    QComboBox* cbxBegGain = nullptr;
    QComboBox* cbxEndGain = nullptr;
    QCheckBox* chkPolarization = nullptr;
    QComboBox* cbxPolarization = nullptr;
    QCheckBox* chkDowntilt = nullptr;
    QComboBox* cbxDowntilt = nullptr;
    QPushButton* Button1 = nullptr;

    QLabel* lblAntennas = nullptr;
    QListWidget* lbxAntennas = nullptr;
    QMenu* popmnuAntennas = nullptr;
    QAction* antCopySelected = nullptr;
    QAction* antCopyChecked = nullptr;
    QAction* antCopyAll = nullptr;
    QCheckBox* chkComposite = nullptr;
    QPushButton* btnViewPatterns = nullptr;
    QSplitter* Splitter1 = nullptr;
    QLabel* lblSpecs = nullptr;
    QTableWidget* grdSpecs = nullptr;
    QMenu* popmnuGrid = nullptr;
    QAction* CopySpecstoClipboard1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* lblCopyright = nullptr;
    QLabel* lblCatalogueCounts = nullptr; // how many antennas came from each catalogue folder
    QProgressBar* ProgressBar1 = nullptr;
};

} // namespace quv

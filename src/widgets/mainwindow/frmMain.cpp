#include "mainwindow/frmMain.h"

#include "catalogue/Codepage.h"
#include "catalogue/Errors.h"
#include "catalogue/Filters.h"
#include "catalogue/NumberText.h"
#include "catalogue/QuvLib.h"
#include "catalogue/SharedLib.h"
#include "catalogue/UserFolders.h"
#include "mainwindow/CrossRefPage.h"
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

namespace quv {

using namespace mainwindow;

namespace {

// The 100 x 6 grip picture drawn in the middle of the splitter.
QImage GripPicture()
{
    QImage image(100, 6, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    for (int x = 2; x < 100; x += 4) {
        p.fillRect(x, 1, 2, 2, QColor(255, 255, 255));
        p.fillRect(x + 1, 2, 2, 2, QColor(128, 128, 128));
    }
    return image;
}

class TGripHandle : public QSplitterHandle {
public:
    TGripHandle(Qt::Orientation o, QSplitter* parent) : QSplitterHandle(o, parent) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        static const QImage grip = GripPicture();
        QPainter p(this);
        p.fillRect(rect(), palette().window());
        const int half = grip.width() / 2;
        p.drawImage(QRect(width() / 2 - half, 0, 2 * half, 6), grip);
    }
};

class TGripSplitter : public QSplitter {
public:
    using QSplitter::QSplitter;

protected:
    QSplitterHandle* createHandle() override { return new TGripHandle(orientation(), this); }
};

// The specification grid: bold model, description and section titles, silver section cells,
// one-line elided texts except the description value, which wraps in its taller row.
class TSpecsDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        const QString text = index.data().toString();
        const std::string bytes = FromQString(text);
        const bool selected = option.state & QStyle::State_Selected;
        if (IsSectionTitle(bytes)) {
            p->fillRect(option.rect, QColor(0xC0, 0xC0, 0xC0));
            p->setPen(QColor(0x80, 0x80, 0x80));
            p->drawRect(option.rect.adjusted(0, 0, -1, -1));
        } else {
            p->fillRect(option.rect,
                        option.palette.color(selected ? QPalette::Highlight : QPalette::Base));
        }
        QFont font = option.font;
        font.setBold(IsBoldTitle(bytes));
        p->setFont(font);
        p->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        const QRect r = option.rect.adjusted(2, 0, 0, 0);
        if (index.row() == 1 && index.column() == 1 && option.rect.height() > kRowHeight) {
            p->drawText(r, Qt::AlignTop | Qt::AlignLeft | Qt::TextWordWrap, text);
            return;
        }
        const QString shown = QFontMetrics(font).elidedText(text, Qt::ElideRight, r.width());
        p->drawText(r, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, shown);
    }
};

} // namespace

TfrmMain::TfrmMain(IPrompt& prompt, QString programFolder, int splashWaitMs, QStringList args,
                   QWidget* parent)
    : QMainWindow(parent), prompt_(prompt), programFolder_(std::move(programFolder)),
      splashWaitMs_(splashWaitMs)
{
    setObjectName(QStringLiteral("frmMain"));
    BuildFrame();
    qApp->installEventFilter(this);
    FormCreate(args);
}

TfrmMain::~TfrmMain()
{
    qApp->removeEventFilter(this);
}

void TfrmMain::BuildFrame()
{
    setWindowTitle(QStringLiteral("QUV Select"));
    setWindowIcon(QIcon(ProgramPicture(32)));
    setFont(ProgramFont());
    KeepWithinScreen(*this, QSize(691, 550), QSize(691, 550));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    BuildToolbar();

    auto* central = new QWidget(this);
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    auto* sideBar = Named(new TSideBar(QStringLiteral("Antenna Filter"), central), "pnlSideBar");
    sideBar_ = sideBar;
    pbtnCategory = sideBar->AddButton(QStringLiteral("pbtnCategory"), QStringLiteral("Application"),
                                      TSideBarIcon::Application, 0);
    pbtnFrequencyRange =
        sideBar->AddButton(QStringLiteral("pbtnFrequencyRange"), QStringLiteral("Frequency Range"),
                           TSideBarIcon::FrequencyRange, 1);
    pbtnPartNumber = sideBar->AddButton(QStringLiteral("pbtnPartNumber"),
                                        QStringLiteral("Part Number"), TSideBarIcon::PartNumber, 2);
    OutlookBtn1 = sideBar->AddButton(QStringLiteral("OutlookBtn1"), QStringLiteral("Multi Search"),
                                     TSideBarIcon::MultiSearch, 4);
    pbtnPreview = sideBar->AddButton(QStringLiteral("pbtnPreview"), QStringLiteral("Quick Preview"),
                                     TSideBarIcon::QuickPreview, 3);
    pbtnCrossReference =
        sideBar->AddButton(QStringLiteral("pbtnCrossReference"), QStringLiteral("Cross Reference"),
                           TSideBarIcon::CrossReference, 5);
    pbtnSiteFit = sideBar->AddButton(QStringLiteral("pbtnSiteFit"), QStringLiteral("Site Fit"),
                                     TSideBarIcon::SiteFit, 6);
    pbtnCategory->setChecked(true);
    connect(sideBar, &TSideBar::buttonClicked, this, [this](int tag) { FilterButtonClick(tag); });
    row->addWidget(sideBar);

    Splitter1 = Named(new TGripSplitter(Qt::Vertical, central), "Splitter1");
    Splitter1->setHandleWidth(6);
    Splitter1->setChildrenCollapsible(false);

    auto* upper = new QWidget(Splitter1);
    auto* upperLayout = new QVBoxLayout(upper);
    upperLayout->setContentsMargins(0, 0, 0, 0);
    upperLayout->setSpacing(0);
    lblHeaderPanel = HeaderBar(QStringLiteral("Select Antenna(s) - Application"),
                               QStringLiteral("lblHeaderPanel"), upper);
    upperLayout->addWidget(lblHeaderPanel);
    pnlTop = Named(new QWidget(upper), "pnlTop");
    // The splitter can move the top panel only between these heights.
    pnlTop->setMinimumHeight(kTopMin);
    pnlTop->setMaximumHeight(kTopMax);
    auto* topLayout = new QHBoxLayout(pnlTop);
    topLayout->setContentsMargins(2, 2, 2, 2);
    topLayout->setSpacing(4);
    topLayout->addWidget(BuildFilterPages(), 0);
    topLayout->addWidget(BuildMatchPanel(), 1);
    upperLayout->addWidget(pnlTop);
    // The splitter stops where the top panel stops, so the header never moves off it.
    upperLayout->setSizeConstraint(QLayout::SetMinAndMaxSize);
    Splitter1->addWidget(upper);
    Splitter1->addWidget(BuildGrid());
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({lblHeaderPanel->height() + 219, 300});
    row->addWidget(Splitter1, 1);
    setCentralWidget(central);

    StatusBar1 = Named(new QStatusBar(this), "StatusBar1");
    // The copyright gives way at the minimum width; the counts and the progress bar stay whole.
    lblCopyright = Named(new TElidedLabel(CopyrightText(), StatusBar1), "lblCopyright");
    StatusBar1->addWidget(lblCopyright, 1);
    lblCatalogueCounts = Named(new QLabel(StatusBar1), "lblCatalogueCounts");
    StatusBar1->addWidget(lblCatalogueCounts);
    ProgressBar1 = Named(new QProgressBar(StatusBar1), "ProgressBar1");
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setFixedSize(150, 20);
    ProgressBar1->setValue(0);
    StatusBar1->addPermanentWidget(ProgressBar1);
    setStatusBar(StatusBar1);
    RequireFocusForWheel(*this);
}

void TfrmMain::BuildToolbar()
{
    auto* bar = Named(new QToolBar(this), "ToolBar1");
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    addToolBar(Qt::TopToolBarArea, bar);

    auto makeButton = [this, bar](const char* name, const QString& text) {
        auto* button = Named(new QToolButton(bar), name);
        button->setText(text);
        button->setAutoRaise(true);
        button->setPopupMode(QToolButton::InstantPopup);
        auto* menu = new QMenu(button);
        button->setMenu(menu);
        bar->addWidget(button);
        DropHoverAfterMenu(*button);
        return button;
    };
    // Shortcuts are shown in the menus but handled by FormKeyDown, which checks the exact
    // modifier state and the command's enabled state.
    auto makeAction = [this](QMenu* menu, const char* name, const QString& text,
                             const QKeySequence& keys = {}) {
        auto* action = Named(menu->addAction(text), name);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetShortcut);
        return action;
    };

    QToolButton* file = makeButton("toolFile", QStringLiteral("&File"));
    mnuImportPatterns =
        makeAction(file->menu(), "mnuImportPatterns", QStringLiteral("&Import Pattern Files..."));
    mnuRemoveImported = makeAction(file->menu(), "mnuRemoveImported",
                                   QStringLiteral("&Remove Imported Antennas\u2026"));
    file->menu()->addSeparator();
    Exit1 = makeAction(file->menu(), "Exit1", QStringLiteral("E&xit"));
    connect(mnuImportPatterns, &QAction::triggered, this, &TfrmMain::ImportPatternFilesClick);
    connect(mnuRemoveImported, &QAction::triggered, this, &TfrmMain::RemoveImportedClick);
    mnuBreak = Named(file->menu()->addSeparator(), "mnuBreak");
    mnuCreateQUV =
        makeAction(file->menu(), "mnuCreateQUV", QStringLiteral("Create quv.dat file..."));
    mnuCreateAntenna =
        makeAction(file->menu(), "mnuCreateAntenna", QStringLiteral("Create antenna.dat file..."));
    mnuBreak->setVisible(false);
    mnuCreateQUV->setVisible(false);
    mnuCreateAntenna->setVisible(false);
    connect(Exit1, &QAction::triggered, this, &QWidget::close);
    // Catalogue summary files: built with the summary file commands.
    connect(mnuCreateQUV, &QAction::triggered, this, &TfrmMain::createQuvDatRequested);
    connect(mnuCreateAntenna, &QAction::triggered, this, &TfrmMain::createAntennaDatRequested);

    toolPrint = makeButton("toolPrint", QStringLiteral("&Print"));
    mnuPrint = makeAction(toolPrint->menu(), "mnuPrint", QStringLiteral("&Print"),
                          QKeySequence(Qt::CTRL | Qt::Key_P));
    toolPrint->setEnabled(false);
    // Print command (print options dialog and print job): connected by the lead.
    connect(mnuPrint, &QAction::triggered, this, [this] {
        if (toolPrint->isEnabled())
            emit printRequested();
    });

    toolExport = makeButton("toolExport", QStringLiteral("&Export"));
    mnuExport =
        makeAction(toolExport->menu(), "mnuExport", QStringLiteral("&Export Selected Antennas"),
                   QKeySequence(Qt::CTRL | Qt::Key_E));
    mnuExportAll =
        makeAction(toolExport->menu(), "mnuExportAll", QStringLiteral("Export Antenna Matches"),
                   QKeySequence(Qt::CTRL | Qt::Key_M));
    mnuExport->setEnabled(false);
    mnuExportAll->setEnabled(false);
    // Export of the chosen antennas and of all matches: the export dialogs and engine.
    connect(mnuExport, &QAction::triggered, this, [this] {
        if (mnuExport->isEnabled())
            emit exportSelectedRequested();
    });
    connect(mnuExportAll, &QAction::triggered, this, [this] {
        if (mnuExportAll->isEnabled())
            emit exportMatchesRequested();
    });

    QToolButton* plotType = makeButton("toolPlotType", QStringLiteral("Plot &Type"));
    plotType->menu()->setObjectName(QStringLiteral("popmnuPlotType"));
    mnuRelativePower = makeAction(plotType->menu(), "mnuRelativePower",
                                  QStringLiteral("Relative &Power (Decibels)"));
    mnuRelativeField = makeAction(plotType->menu(), "mnuRelativeField",
                                  QStringLiteral("Relative &Field (Amplitude)"));
    mnuRelativePower->setCheckable(true);
    mnuRelativeField->setCheckable(true);
    mnuRelativePower->setChecked(plotType_ == TPlotType::RelativePower);
    mnuRelativeField->setChecked(plotType_ == TPlotType::RelativeField);
    connect(mnuRelativePower, &QAction::triggered, this,
            [this] { SetPlotType(TPlotType::RelativePower); });
    connect(mnuRelativeField, &QAction::triggered, this,
            [this] { SetPlotType(TPlotType::RelativeField); });

    QToolButton* about = makeButton("toolAbout", QStringLiteral("&About"));
    About1 = makeAction(about->menu(), "About1", QStringLiteral("&About"));
    connect(About1, &QAction::triggered, this, [this] {
        TfrmAbout box(this);
        prompt_.ExecDialog(box);
    });
}

QWidget* TfrmMain::BuildMatchPanel()
{
    auto* panel = Named(new QWidget(pnlTop), "pnlAntennas");
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    lblAntennas = Named(new QLabel(QStringLiteral("Antenna Matches: 0 "), panel), "lblAntennas");
    layout->addWidget(lblAntennas);
    lbxAntennas = Named(new QListWidget(panel), "lbxAntennas");
    lbxAntennas->setSelectionMode(QAbstractItemView::SingleSelection);
    ShowCutTextsAsToolTips(*lbxAntennas);
    layout->addWidget(lbxAntennas, 1);
    chkComposite =
        Named(new QCheckBox(QStringLiteral("Plot Checked Antennas"), panel), "chkComposite");
    btnViewPatterns =
        Named(new QPushButton(QStringLiteral("&View Pattern(s)"), panel), "btnViewPatterns");
    btnViewPatterns->setDefault(true);
    btnViewPatterns->setEnabled(false);
    layout->addLayout(new TWrappingRow(chkComposite, btnViewPatterns));

    connect(lbxAntennas, &QListWidget::itemSelectionChanged, this, [this] {
        if (!filling_)
            lbxAntennasClick();
    });
    // A click on the item already selected changes no selection but is still a selection
    // click; a click that changed it was handled at the press, and only its check mark
    // (toggled at the release) still has to reach the plot list.
    connect(lbxAntennas, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int row = lbxAntennas->row(item);
        if (row == rowAtPress_) {
            lbxAntennasClick();
        } else if (SelectedRow(lbxAntennas) != row) {
            // A click on the check box toggles the mark but leaves the selection; it selects
            // the item too, as a click on its text does (the selection runs the click).
            lbxAntennas->setCurrentRow(row);
        } else {
            BuildPlotList(chkComposite->isChecked());
            UpdateCommandStates();
        }
    });
    connect(lbxAntennas, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (!filling_)
            lbxAntennasClickCheck(lbxAntennas->row(item));
    });
    connect(lbxAntennas, &QListWidget::itemDoubleClicked, this, [this] { btnViewPatternsClick(); });
    connect(chkComposite, &QCheckBox::toggled, this, [this](bool on) {
        BuildPlotList(on);
        UpdateCommandStates();
    });
    connect(btnViewPatterns, &QPushButton::clicked, this, [this] { btnViewPatternsClick(); });

    popmnuAntennas = Named(new QMenu(lbxAntennas), "popmnuAntennas");
    antCopySelected =
        Named(popmnuAntennas->addAction(QStringLiteral("Copy &Selected")), "antCopySelected");
    antCopyChecked =
        Named(popmnuAntennas->addAction(QStringLiteral("Copy &Checked")), "antCopyChecked");
    antCopyAll = Named(popmnuAntennas->addAction(QStringLiteral("Copy &All")), "antCopyAll");
    connect(popmnuAntennas, &QMenu::aboutToShow, this, [this] {
        antCopySelected->setEnabled(SelectedRow(lbxAntennas) >= 0);
        antCopyChecked->setEnabled(AnyChecked(lbxAntennas));
        antCopyAll->setEnabled(lbxAntennas->count() > 0);
    });
    connect(antCopySelected, &QAction::triggered, this, [this] { CopySelectedItem(lbxAntennas); });
    connect(antCopyChecked, &QAction::triggered, this,
            [this] { CopyText(JoinLinesCrLf(ListTexts(lbxAntennas, true))); });
    connect(antCopyAll, &QAction::triggered, this,
            [this] { CopyAllItems(ListTexts(lbxAntennas, false)); });
    lbxAntennas->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lbxAntennas, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        popmnuAntennas->popup(lbxAntennas->viewport()->mapToGlobal(pos));
    });
    return panel;
}

QWidget* TfrmMain::BuildGrid()
{
    auto* lower = new QWidget(Splitter1);
    auto* layout = new QVBoxLayout(lower);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    lblSpecs = HeaderBar(QStringLiteral("Specifications"), QStringLiteral("lblSpecs"), lower);
    layout->addWidget(lblSpecs);
    grdSpecs = Named(new QTableWidget(35, 2, lower), "grdSpecs");
    grdSpecs->horizontalHeader()->hide();
    ShowCutTextsAsToolTips(*grdSpecs);
    grdSpecs->verticalHeader()->hide();
    grdSpecs->verticalHeader()->setMinimumSectionSize(1);
    grdSpecs->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grdSpecs->horizontalHeader()->setMinimumSectionSize(1);
    grdSpecs->setColumnWidth(0, kTitleColumnWidth);
    grdSpecs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdSpecs->setSelectionMode(QAbstractItemView::SingleSelection);
    grdSpecs->setSelectionBehavior(QAbstractItemView::SelectItems);
    grdSpecs->setItemDelegate(new TSpecsDelegate(grdSpecs));
    grdSpecs->setWordWrap(false);
    grdSpecs->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab leaves the grid like any other control; moving along a row would only meet titles.
    grdSpecs->setTabKeyNavigation(false);
    layout->addWidget(grdSpecs, 1);
    ClearSpecifications(false);
    // Only the value column can be selected: a move onto a title is refused and the selection
    // stays where it was (or goes to the row's value when there was none).
    connect(grdSpecs, &QTableWidget::currentCellChanged, this,
            [this](int row, int column, int previousRow, int previousColumn) {
                if (column != 0 || row < 0)
                    return;
                if (previousColumn == 1 && previousRow >= 0 && previousRow < grdSpecs->rowCount())
                    grdSpecs->setCurrentCell(previousRow, 1);
                else
                    grdSpecs->setCurrentCell(row, 1);
            });
    grdSpecs->installEventFilter(this);
    grdSpecs->viewport()->installEventFilter(this);

    popmnuGrid = Named(new QMenu(grdSpecs), "popmnuGrid");
    CopySpecstoClipboard1 = Named(popmnuGrid->addAction(QStringLiteral("&Copy Specs to Clipboard")),
                                  "CopySpecstoClipboard1");
    connect(CopySpecstoClipboard1, &QAction::triggered, this, [this] { CopyText(SpecsText()); });
    grdSpecs->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grdSpecs, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        popmnuGrid->popup(grdSpecs->viewport()->mapToGlobal(pos));
    });
    return lower;
}

} // namespace quv

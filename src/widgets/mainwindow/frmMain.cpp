#include "mainwindow/frmMain.h"

#include "mainwindow/CrossRefPage.h"
#include "catalogue/Errors.h"
#include "catalogue/Filters.h"
#include "catalogue/NumberText.h"
#include "catalogue/QuvLib.h"
#include "catalogue/SharedLib.h"
#include "catalogue/UserFolders.h"
#include "catalogue/Codepage.h"
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

namespace {

constexpr int kTopMin = 215;
constexpr int kTopMax = 280;
constexpr int kRowHeight = 19;
constexpr int kTitleColumnWidth = 240;
constexpr int kMaxReportedFailures = 20;

const QString kNoFilesMessage = QStringLiteral(
    "No antenna(QUV) files were found. \r\rThe QUV files must reside in a folder named \"quv\" in "
    "the same directory as the \"QUV Select\" program.");

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

// Application categories: even rows on light grey so the long texts are easy to follow.
class TRangesDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        QColor fill = option.palette.color(QPalette::Base);
        if (selected)
            fill = option.palette.color(QPalette::Highlight);
        else if (index.row() % 2 == 0)
            fill = QColor(0xF0, 0xF0, 0xF0);
        p->fillRect(option.rect, fill);
        p->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        const QRect r = option.rect.adjusted(2, 0, -2, 0);
        const QString text = option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight,
                                                           r.width());
        p->drawText(r, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, text);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(),
                option.fontMetrics.height() + 3};
    }
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
            p->fillRect(option.rect, option.palette.color(selected ? QPalette::Highlight
                                                                   : QPalette::Base));
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

QLabel* HeaderBar(const QString& text, const QString& name, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFixedHeight(20);
    label->setIndent(6);
    label->setStyleSheet(QStringLiteral("background: #808080; color: white; font-weight: bold;"));
    return label;
}

template <typename T>
T* Named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

std::optional<std::string> ComboText(const QComboBox* combo)
{
    if (combo->currentIndex() < 0)
        return std::nullopt;
    return FromQString(combo->currentText());
}

std::optional<double> ComboValue(const QComboBox* combo)
{
    double value = 0;
    const auto text = ComboText(combo);
    if (!text || !TryStrToFloat(*text, value))
        return std::nullopt;
    return value;
}

void FillCombo(QComboBox* combo, const std::vector<std::string>& texts)
{
    const QSignalBlocker block(combo);
    combo->clear();
    for (const auto& text : texts)
        combo->addItem(ToQString(text));
    combo->setCurrentIndex(-1);
}

// The row shown selected. Not the current row: a press-drag moves the selection before the
// current row follows it, and the filters run on the selection's signal.
int SelectedRow(const QListWidget* list)
{
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.front());
}

int CheckedCount(const QListWidget* list)
{
    int count = 0;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->checkState() == Qt::Checked)
            ++count;
    return count;
}

bool AnyChecked(const QListWidget* list)
{
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->checkState() == Qt::Checked)
            return true;
    return false;
}

// The selected item's text as plain text; nothing selected leaves the clipboard alone.
void CopySelectedItem(const QListWidget* list)
{
    if (const int row = SelectedRow(list); row >= 0)
        QGuiApplication::clipboard()->setText(list->item(row)->text());
}

// Every line followed by CR LF; an empty list leaves the clipboard alone.
void CopyAllItems(const std::vector<std::string>& lines)
{
    if (!lines.empty())
        QGuiApplication::clipboard()->setText(ToQString(JoinLinesCrLf(lines)));
}

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
    setMinimumSize(691, 550);
    resize(691, 550);
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
    pbtnFrequencyRange = sideBar->AddButton(QStringLiteral("pbtnFrequencyRange"),
                                            QStringLiteral("Frequency Range"),
                                            TSideBarIcon::FrequencyRange, 1);
    pbtnPartNumber = sideBar->AddButton(QStringLiteral("pbtnPartNumber"),
                                        QStringLiteral("Part Number"), TSideBarIcon::PartNumber, 2);
    OutlookBtn1 = sideBar->AddButton(QStringLiteral("OutlookBtn1"), QStringLiteral("Multi Search"),
                                     TSideBarIcon::MultiSearch, 4);
    pbtnPreview = sideBar->AddButton(QStringLiteral("pbtnPreview"), QStringLiteral("Quick Preview"),
                                     TSideBarIcon::QuickPreview, 3);
    pbtnCrossReference = sideBar->AddButton(QStringLiteral("pbtnCrossReference"),
                                            QStringLiteral("Cross Reference"),
                                            TSideBarIcon::CrossReference, 5);
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
    lblCopyright = Named(new QLabel(CopyrightText(), StatusBar1), "lblCopyright");
    StatusBar1->addWidget(lblCopyright, 1);
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
    Exit1 = makeAction(file->menu(), "Exit1", QStringLiteral("E&xit"));
    mnuBreak = Named(file->menu()->addSeparator(), "mnuBreak");
    mnuCreateQUV =
        makeAction(file->menu(), "mnuCreateQUV", QStringLiteral("Create quv.dat file..."));
    mnuCreateAntenna = makeAction(file->menu(), "mnuCreateAntenna",
                                  QStringLiteral("Create antenna.dat file..."));
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
    mnuExport = makeAction(toolExport->menu(), "mnuExport",
                           QStringLiteral("&Export Selected Antennas"),
                           QKeySequence(Qt::CTRL | Qt::Key_E));
    mnuExportAll = makeAction(toolExport->menu(), "mnuExportAll",
                              QStringLiteral("Export Antenna Matches"),
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
    mnuRelativePower->setChecked(PlotType == TPlotType::RelativePower);
    mnuRelativeField->setChecked(PlotType == TPlotType::RelativeField);
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

QWidget* TfrmMain::BuildFilterPages()
{
    pgFilter = Named(new QStackedWidget(pnlTop), "pgFilter");
    // Wide enough for the two quick preview plots side by side; the match list takes the rest.
    pgFilter->setFixedWidth(371);

    auto* tabCategory = Named(new QWidget(pgFilter), "tabCategory");
    auto* categoryLayout = new QVBoxLayout(tabCategory);
    categoryLayout->setContentsMargins(0, 0, 0, 0);
    lbxRanges = Named(new QListWidget(tabCategory), "lbxRanges");
    lbxRanges->setItemDelegate(new TRangesDelegate(lbxRanges));
    // Long category texts end in an ellipsis instead of scrolling sideways.
    lbxRanges->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (const auto& name : CategoryNames())
        lbxRanges->addItem(ToQString(name));
    lbxRanges->setCurrentRow(-1);
    lbxRanges->clearSelection();
    // Selection signals, not row signals: a mouse press moves the current row before it
    // selects, and the filters read the selection.
    connect(lbxRanges, &QListWidget::itemSelectionChanged, this, [this] { ApplyCategory(); });
    // Every click applies the category, also on the one already selected (the row does not
    // change then); a click on a new row simply applies it twice.
    connect(lbxRanges, &QListWidget::itemClicked, this, [this] { ApplyCategory(); });
    categoryLayout->addWidget(lbxRanges);
    pgFilter->addWidget(tabCategory);

    auto* tabFreqRange = Named(new QWidget(pgFilter), "tabFreqRange");
    auto* freqLayout = new QVBoxLayout(tabFreqRange);
    freqLayout->addWidget(
        new QLabel(QStringLiteral("1. Select Beginning Frequency (MHz)"), tabFreqRange));
    cbxBegFrequency = Named(new QComboBox(tabFreqRange), "cbxBegFrequency");
    freqLayout->addWidget(cbxBegFrequency);
    freqLayout->addSpacing(12);
    freqLayout->addWidget(
        new QLabel(QStringLiteral("2. Select Ending Frequency (MHz)"), tabFreqRange));
    cbxEndFrequency = Named(new QComboBox(tabFreqRange), "cbxEndFrequency");
    freqLayout->addWidget(cbxEndFrequency);
    freqLayout->addStretch(1);
    connect(cbxBegFrequency, &QComboBox::currentIndexChanged, this,
            [this] { ApplyFrequencyRange(true); });
    connect(cbxEndFrequency, &QComboBox::currentIndexChanged, this,
            [this] { ApplyFrequencyRange(true); });
    pgFilter->addWidget(tabFreqRange);

    auto* tabPartNumber = Named(new QWidget(pgFilter), "tabPartNumber");
    auto* pnLayout = new QVBoxLayout(tabPartNumber);
    pnLayout->setContentsMargins(4, 2, 4, 2);
    pnLayout->setSpacing(2);
    pnLayout->addWidget(new QLabel(QStringLiteral("Select Part Number"), tabPartNumber));
    lbxPartNumbers = Named(new QListWidget(tabPartNumber), "lbxPartNumbers");
    pnLayout->addWidget(lbxPartNumbers, 1);
    pnLayout->addWidget(new QLabel(QStringLiteral("Find Closest Match"), tabPartNumber));
    txtMatch = Named(new QLineEdit(tabPartNumber), "txtMatch");
    pnLayout->addWidget(txtMatch);
    connect(lbxPartNumbers, &QListWidget::itemSelectionChanged, this,
            [this] { lbxPartNumbersClick(); });
    // A click on the part number already selected applies it again, so it replaces the matches
    // of a closest-match search typed since.
    connect(lbxPartNumbers, &QListWidget::itemClicked, this, [this] { lbxPartNumbersClick(); });
    connect(txtMatch, &QLineEdit::textChanged, this, [this] { FindClosestMatch(); });
    popmnuPartNumbers = Named(new QMenu(lbxPartNumbers), "popmnuPartNumbers");
    pnCopySelected =
        Named(popmnuPartNumbers->addAction(QStringLiteral("Copy &Selected")), "pnCopySelected");
    pnCopyAll = Named(popmnuPartNumbers->addAction(QStringLiteral("Copy &All")), "pnCopyAll");
    connect(popmnuPartNumbers, &QMenu::aboutToShow, this, [this] {
        pnCopySelected->setEnabled(SelectedRow(lbxPartNumbers) >= 0);
        pnCopyAll->setEnabled(lbxPartNumbers->count() > 0);
    });
    connect(pnCopySelected, &QAction::triggered, this,
            [this] { CopySelectedItem(lbxPartNumbers); });
    connect(pnCopyAll, &QAction::triggered, this,
            [this] { CopyAllItems(ListTexts(lbxPartNumbers, false)); });
    lbxPartNumbers->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lbxPartNumbers, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        popmnuPartNumbers->popup(lbxPartNumbers->viewport()->mapToGlobal(pos));
    });
    pgFilter->addWidget(tabPartNumber);

    auto* tabPreview = Named(new QWidget(pgFilter), "tabPreview");
    auto* previewLayout = new QVBoxLayout(tabPreview);
    previewLayout->setContentsMargins(0, 0, 0, 0);
    auto* image = Named(new QFrame(tabPreview), "pnlImage");
    image->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    image->setAutoFillBackground(true);
    QPalette white = image->palette();
    white.setColor(QPalette::Window, Qt::white);
    image->setPalette(white);
    pnlImage = image;
    pnlInner = Named(new QWidget(pnlImage), "pnlInner");
    pnlInner->setFixedSize(369, 185);
    pnlInner->setAutoFillBackground(true);
    pnlInner->setPalette(white);
    imgAzimuth = Named(new QLabel(pnlInner), "imgAzimuth");
    imgAzimuth->setGeometry(1, 7, 170, 170);
    imgElevation = Named(new QLabel(pnlInner), "imgElevation");
    imgElevation->setGeometry(199, 7, 170, 170);
    pnlImage->installEventFilter(this);
    previewLayout->addWidget(pnlImage);
    pgFilter->addWidget(tabPreview);

    auto* tabMultiSearch = Named(new QWidget(pgFilter), "tabMultiSearch");
    auto* grid = new QGridLayout(tabMultiSearch);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setVerticalSpacing(2);
    grid->addWidget(new QLabel(QStringLiteral("Check Search Criteria"), tabMultiSearch), 0, 0, 1,
                    4);
    auto addRange = [&](int row, QCheckBox*& check, const char* checkName, const QString& text,
                        QComboBox*& from, const char* fromName, QComboBox*& to,
                        const char* toName) {
        check = Named(new QCheckBox(text, tabMultiSearch), checkName);
        grid->addWidget(check, row, 0, 1, 4);
        from = Named(new QComboBox(tabMultiSearch), fromName);
        grid->addWidget(from, row + 1, 0, 1, 1);
        if (toName) {
            grid->addWidget(new QLabel(QStringLiteral("To"), tabMultiSearch), row + 1, 1,
                            Qt::AlignCenter);
            to = Named(new QComboBox(tabMultiSearch), toName);
            grid->addWidget(to, row + 1, 2, 1, 1);
        }
    };
    QComboBox* unused = nullptr;
    addRange(1, chkFrequency, "chkFrequency", QStringLiteral("Frequency Range, MHz"), cbxBegRange,
             "cbxBegRange", cbxEndRange, "cbxEndRange");
    addRange(3, chkGain, "chkGain", QStringLiteral("Gain Range, dBd (dBi)"), cbxBegGain,
             "cbxBegGain", cbxEndGain, "cbxEndGain");
    addRange(5, chkPolarization, "chkPolarization", QStringLiteral("Polarization"), cbxPolarization,
             "cbxPolarization", unused, nullptr);
    addRange(7, chkDowntilt, "chkDowntilt", QStringLiteral("Electrical Downtilt, deg"), cbxDowntilt,
             "cbxDowntilt", unused, nullptr);
    FillCombo(cbxPolarization, {"Single", "Dual"});
    Button1 = Named(new QPushButton(QStringLiteral("&Search"), tabMultiSearch), "Button1");
    grid->addWidget(Button1, 8, 2);
    auto* note = new QLabel(QStringLiteral("Check none to select all antennas"), tabMultiSearch);
    note->setStyleSheet(QStringLiteral("color: navy;"));
    grid->addWidget(note, 9, 0, 1, 4);
    grid->setRowStretch(10, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    connect(Button1, &QPushButton::clicked, this, [this] { RunMultiSearch(); });
    pgFilter->addWidget(tabMultiSearch);

    tabCrossReference = new TCrossRefPage(prompt_, pgFilter);
    pgFilter->addWidget(tabCrossReference);
    connect(tabCrossReference, &TCrossRefPage::referenceChanged, this, [this] {
        if (pgFilter->currentIndex() == 5)
            ApplyCrossReference();
    });

    pgFilter->setCurrentIndex(0);
    return pgFilter;
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
    layout->addWidget(lbxAntennas, 1);
    auto* buttons = new QHBoxLayout;
    chkComposite =
        Named(new QCheckBox(QStringLiteral("Plot Checked Antennas"), panel), "chkComposite");
    btnViewPatterns =
        Named(new QPushButton(QStringLiteral("&View Pattern(s)"), panel), "btnViewPatterns");
    btnViewPatterns->setDefault(true);
    btnViewPatterns->setEnabled(false);
    buttons->addWidget(chkComposite);
    buttons->addStretch(1);
    buttons->addWidget(btnViewPatterns);
    layout->addLayout(buttons);

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

void TfrmMain::FormCreate(const QStringList& args)
{
    // Number texts are parsed and formatted by one locale-independent module ("." and ","),
    // so there is no locale to fix here.
    LoadCatalogue();
    if (Catalogue.Empty()) {
        prompt_.Inform(this, kNoFilesMessage + QStringLiteral("\r\rSearched: ") + searchedFolders_,
                       IPrompt::Icon::Error);
    } else {
        FillValueLists();
        grdSpecs->setCurrentCell(0, 1);
        ApplyCommandLine(args);
    }
    // The progress bar already sits in the status bar's second panel.
}

void TfrmMain::LoadCatalogue()
{
    QString folder = programFolder_;
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    SetProgramFolder(FromQString(folder));
    FreeCatalogueRecords();

    TfrmSplash splash;
    // The loading loop itself takes no events, so the splash is painted before it starts.
    splash.ShowPainted();
    bool sized = false;
    // A maker's update dropped into the user's data folder stands in for an empty program folder.
    const std::string beside = AntennaFolder(ProgramFolder);
    const std::string user = UserCatalogueFolder();
    const std::string catalogueFolder = ChooseCatalogueFolder(beside, user);
    const auto quoted = [](const std::string& path) {
        return QLatin1Char('"') + QString::fromStdString(path) + QLatin1Char('"');
    };
    searchedFolders_ = quoted(catalogueFolder);
    if (!user.empty() && user != catalogueFolder)
        searchedFolders_ += QStringLiteral(" and ") + quoted(user);
    const TLoadReport report =
        LoadCatalogueFolder(catalogueFolder, [&splash, &sized](int, int total) {
            if (!sized) {
                splash.SetMaximum(total);
                sized = true;
            }
            splash.Step();
        });
    splash.Hold(splashWaitMs_);
    splash.close();

    // Every loadable file is kept; the failures are reported together, then start-up goes on.
    if (!report.failures.empty()) {
        QString text = QStringLiteral("These antenna files in %1 could not be loaded:\n")
                           .arg(quoted(catalogueFolder));
        const int shown =
            std::min<int>(kMaxReportedFailures, static_cast<int>(report.failures.size()));
        for (int i = 0; i < shown; ++i)
            text += QLatin1Char('\n') + ToQString(report.failures[i].name) + QStringLiteral(": ") +
                    ToQString(report.failures[i].message);
        const int more = static_cast<int>(report.failures.size()) - shown;
        if (more > 0)
            text += QStringLiteral("\nand %1 more").arg(more);
        prompt_.Inform(this, text, IPrompt::Icon::Error);
    }
}

void TfrmMain::FillValueLists()
{
    {
        const QSignalBlocker block(lbxPartNumbers);
        lbxPartNumbers->clear();
        for (const auto& pn : PartNumberList())
            lbxPartNumbers->addItem(ToQString(pn));
        lbxPartNumbers->setCurrentRow(-1);
    }
    const std::vector<std::string> gains = GainList();
    FillCombo(cbxBegGain, gains);
    FillCombo(cbxEndGain, gains);
    const std::vector<std::string> begins = BeginFrequencyList();
    FillCombo(cbxBegFrequency, begins);
    FillCombo(cbxBegRange, begins);
    const std::vector<std::string> ends = EndFrequencyList();
    FillCombo(cbxEndFrequency, ends);
    FillCombo(cbxEndRange, ends);
    FillCombo(cbxDowntilt, DowntiltList());
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
        header = QStringLiteral("Select Antenna(s) - Application");
        RunMultiSearch();
        break;
    case 5:
        header = QStringLiteral("Select Antenna(s) - Cross Reference");
        ApplyCrossReference();
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
    quv::ApplyCategory(SelectedRow(lbxRanges));
    AfterFilter();
}

void TfrmMain::ApplyFrequencyRange(bool messages)
{
    const std::string refusal =
        quv::ApplyFrequencyRange(ComboValue(cbxBegFrequency), ComboValue(cbxEndFrequency));
    AfterFilter();
    if (messages && !refusal.empty())
        prompt_.Inform(this, ToQString(refusal), IPrompt::Icon::Information);
}

void TfrmMain::lbxPartNumbersClick()
{
    const int row = SelectedRow(lbxPartNumbers);
    if (row < 0) {
        ApplyPartNumber(std::nullopt);
    } else {
        const std::string pn = FromQString(lbxPartNumbers->item(row)->text());
        ApplyPartNumber(pn);
    }
    AfterFilter();
}

void TfrmMain::FindClosestMatch()
{
    quv::FindClosestMatch(FromQString(txtMatch->text()));
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
    quv::RunMultiSearch(search);
    AfterFilter();
}

void TfrmMain::ApplyCrossReference()
{
    MatchList.Clear();
    const TCrossReference* ranking = tabCrossReference->Ranking();
    if (ranking)
        for (const TCandidateScore& s : ranking->ranked)
            MatchList.Add(s.record->PartNumber, const_cast<TQuvFile*>(s.record));
    AfterFilter();
    if (!ranking)
        return;
    filling_ = true;
    for (int i = 0; i < lbxAntennas->count() && i < static_cast<int>(ranking->ranked.size()); ++i)
        lbxAntennas->item(i)->setText(ToQString(TCrossRefPage::ItemText(
            FromQString(lbxAntennas->item(i)->text()), ranking->ranked[static_cast<std::size_t>(i)])));
    filling_ = false;
}

const TReferencePattern* TfrmMain::Reference() const
{
    return tabCrossReference ? tabCrossReference->Reference() : nullptr;
}

void TfrmMain::FillAntennaList()
{
    filling_ = true;
    lbxAntennas->clear();
    for (const std::string& text : AntennaItemTexts(MatchList)) {
        auto* item = new QListWidgetItem(ToQString(text), lbxAntennas);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    lbxAntennas->setCurrentRow(-1);
    filling_ = false;
    lblAntennas->setText(QStringLiteral("Antenna Matches: ") +
                         QString::number(lbxAntennas->count()));
    UpdateCommandStates();
}

void TfrmMain::ClearSpecifications(bool resetRow)
{
    lblSpecs->setText(QStringLiteral("Specifications"));
    for (int row = 0; row < grdSpecs->rowCount(); ++row) {
        grdSpecs->setRowHeight(row, kRowHeight);
        for (int column = 0; column < 2; ++column) {
            auto* item = new QTableWidgetItem;
            item->setFlags(column == 0 ? Qt::ItemIsEnabled
                                       : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            grdSpecs->setItem(row, column, item);
        }
    }
    if (resetRow && grdSpecs->rowCount() > 0)
        grdSpecs->setCurrentCell(0, 1);
}

void TfrmMain::ShowSpecifications()
{
    const TQuvFile* record = SelectedRecord();
    if (!record)
        return;
    lblSpecs->setText(QStringLiteral("Specifications - ") + ToQString(record->PartNumber));
    const std::vector<TSpecRow> rows = SpecificationRows(*record);
    grdSpecs->setRowCount(kMaxSpecRows);
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        auto setCell = [this, row](int column, const std::string& text) {
            auto* item = new QTableWidgetItem(ToQString(text));
            item->setFlags(column == 0 ? Qt::ItemIsEnabled
                                       : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            grdSpecs->setItem(row, column, item);
        };
        setCell(0, rows[row].title);
        setCell(1, rows[row].value);
        grdSpecs->setRowHeight(row, kRowHeight);
    }
    grdSpecs->setRowCount(static_cast<int>(rows.size()));
    UpdateDescriptionRow();
}

void TfrmMain::UpdateDescriptionRow()
{
    if (grdSpecs->rowCount() < 2)
        return;
    const QTableWidgetItem* item = grdSpecs->item(1, 1);
    const QString text = item ? item->text() : QString();
    const int width = std::max(1, grdSpecs->columnWidth(1) - 2);
    const int height = grdSpecs->fontMetrics()
                           .boundingRect(QRect(0, 0, width, 100000), Qt::TextWordWrap, text)
                           .height();
    grdSpecs->setRowHeight(1, height < 20 ? kRowHeight : height + 2);
}

std::string TfrmMain::SpecsText() const
{
    std::vector<TSpecRow> rows;
    for (int row = 0; row < grdSpecs->rowCount(); ++row) {
        const QTableWidgetItem* title = grdSpecs->item(row, 0);
        const QTableWidgetItem* value = grdSpecs->item(row, 1);
        rows.push_back({title ? FromQString(title->text()) : std::string(),
                        value ? FromQString(value->text()) : std::string()});
    }
    return CopySpecsText(rows);
}

TQuvFile* TfrmMain::SelectedRecord() const
{
    const int row = SelectedRow(lbxAntennas);
    if (row < 0 || row >= MatchList.Count())
        return nullptr;
    return RecordAt(MatchList, row);
}

void TfrmMain::lbxAntennasClick()
{
    ClearSpecifications(false);
    ShowSpecifications();
    if (pgFilter->currentIndex() == 3)
        DrawQuickPreview();
    if (pgFilter->currentIndex() == 5)
        tabCrossReference->ShowCandidate(SelectedRecord());
    BuildPlotList(chkComposite->isChecked());
    UpdateCommandStates();
}

void TfrmMain::lbxAntennasClickCheck(int row)
{
    if (CheckedCount(lbxAntennas) <= 4 || row < 0)
        return;
    const QSignalBlocker block(lbxAntennas);
    lbxAntennas->item(row)->setCheckState(Qt::Unchecked);
}

void TfrmMain::BuildPlotList(bool composite)
{
    PlotList.Clear();
    if (composite) {
        for (int i = 0; i < lbxAntennas->count() && PlotList.Count() < 4; ++i)
            if (lbxAntennas->item(i)->checkState() == Qt::Checked && i < MatchList.Count())
                PlotList.Add(MatchList.Strings(i), RecordAt(MatchList, i));
    } else if (TQuvFile* record = SelectedRecord()) {
        PlotList.Add(record->PartNumber, record);
    }
}

void TfrmMain::UpdateCommandStates()
{
    if (lbxAntennas->count() == 0) {
        mnuExportAll->setEnabled(false);
        btnViewPatterns->setEnabled(false);
        mnuExport->setEnabled(false);
        toolPrint->setEnabled(false);
        return;
    }
    mnuExportAll->setEnabled(true);
    bool enable = false;
    if (SelectedRow(lbxAntennas) >= 0)
        enable = !chkComposite->isChecked() || AnyChecked(lbxAntennas);
    btnViewPatterns->setEnabled(enable);
    mnuExport->setEnabled(enable);
    toolPrint->setEnabled(enable);
}

void TfrmMain::btnViewPatternsClick()
{
    // Pattern window: shown modally by whoever is connected to this signal.
    if (btnViewPatterns->isEnabled())
        emit viewPatternsRequested();
}

void TfrmMain::DrawQuickPreview()
{
    const TQuvFile* record = SelectedRecord();
    if (!record) {
        imgAzimuth->clear();
        imgElevation->clear();
        return;
    }
    QImage azimuth = imgAzimuth->pixmap().toImage();
    QImage elevation = imgElevation->pixmap().toImage();
    try {
        DrawQuickPreviewImages(*record, azimuth, elevation, Reference());
    } catch (const EQuvError& e) {
        prompt_.Inform(this, ToQString(e.what()), IPrompt::Icon::Error);
    }
    // Each image keeps its last picture unless its new drawing completed.
    if (!azimuth.isNull())
        imgAzimuth->setPixmap(QPixmap::fromImage(azimuth));
    if (!elevation.isNull())
        imgElevation->setPixmap(QPixmap::fromImage(elevation));
}

void TfrmMain::SetPlotType(TPlotType type)
{
    PlotType = type;
    mnuRelativePower->setChecked(type == TPlotType::RelativePower);
    mnuRelativeField->setChecked(type == TPlotType::RelativeField);
}

void TfrmMain::CopyText(const std::string& text)
{
    QGuiApplication::clipboard()->setText(ToQString(text));
}

std::vector<std::string> TfrmMain::ListTexts(const QListWidget* list, bool checkedOnly) const
{
    std::vector<std::string> texts;
    for (int i = 0; i < list->count(); ++i)
        if (!checkedOnly || list->item(i)->checkState() == Qt::Checked)
            texts.push_back(FromQString(list->item(i)->text()));
    return texts;
}

bool TfrmMain::FormKeyDown(QKeyEvent* key, QObject* receiver)
{
    const Qt::KeyboardModifiers mods = key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier |
                                                           Qt::AltModifier | Qt::MetaModifier);
    const int k = key->key();
    if (mods == Qt::ControlModifier && k == Qt::Key_P) {
        if (toolPrint->isEnabled()) {
            emit printRequested();
            return true;
        }
    } else if (mods == Qt::ControlModifier && k == Qt::Key_E) {
        if (mnuExport->isEnabled()) {
            emit exportSelectedRequested();
            return true;
        }
    } else if (mods == Qt::ControlModifier && k == Qt::Key_M) {
        if (mnuExportAll->isEnabled()) {
            emit exportMatchesRequested();
            return true;
        }
    } else if (sideBar_->PressShortcut(*key)) {
        return true;
    } else if (mods == Qt::ShiftModifier && k == Qt::Key_F9) {
        const bool show = !mnuCreateQUV->isVisible();
        mnuBreak->setVisible(show);
        mnuCreateQUV->setVisible(show);
        mnuCreateAntenna->setVisible(show);
        return true;
    }
    if (receiver == grdSpecs && mods == Qt::ControlModifier && (k == Qt::Key_C || k == Qt::Key_X)) {
        if (const QTableWidgetItem* item = grdSpecs->currentItem())
            CopyText(FromQString(item->text()));
        return true;
    }
    if ((k == Qt::Key_Return || k == Qt::Key_Enter) && mods == Qt::NoModifier) {
        // A focused push button takes Enter itself, before the default button would.
        if (auto* button = qobject_cast<QPushButton*>(receiver)) {
            if (button->isEnabled())
                button->click();
            return true;
        }
    }
    if ((k == Qt::Key_Return || k == Qt::Key_Enter) && mods == Qt::NoModifier &&
        !qobject_cast<QToolButton*>(receiver)) {
        // The default button takes Enter first, as in a dialog.
        if (btnViewPatterns->isEnabled()) {
            btnViewPatternsClick();
            return true;
        }
        if (receiver == txtMatch) {
            FindClosestMatch();
            return true;
        }
    }
    return false;
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
         type == QEvent::MouseButtonDblClick) &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton &&
        (watched == lbxAntennas->viewport() || watched == lbxPartNumbers->viewport() ||
         watched == lbxRanges->viewport() || watched == grdSpecs->viewport())) {
        // The right button only opens the pop-up menu: it must not select an antenna, a part
        // number, a category or a cell, which would run that filter or copy another item.
        return true;
    }
    if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease) &&
        (watched == lbxAntennas->viewport() || watched == lbxPartNumbers->viewport() ||
         watched == lbxRanges->viewport())) {
        // Ctrl+click would deselect the selected item and so empty the matches or the grid;
        // in these single-choice lists it is a plain click.
        auto* mouse = static_cast<QMouseEvent*>(event);
        mouse->setModifiers(mouse->modifiers() & ~Qt::ControlModifier);
    }
    if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
         type == QEvent::MouseButtonDblClick) &&
        watched == grdSpecs->viewport()) {
        // A title cell cannot be selected: a click on it leaves the value cell selected (the one
        // Ctrl+C copies) instead of clearing the selection behind a refused move.
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        const QModelIndex index = grdSpecs->indexAt(at);
        if (index.isValid() && index.column() == 0) {
            if (type == QEvent::MouseButtonPress)
                grdSpecs->setFocus(Qt::MouseFocusReason);
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonPress && watched == lbxAntennas->viewport()) {
        rowAtPress_ = SelectedRow(lbxAntennas);
    } else if (event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this &&
            FormKeyDown(static_cast<QKeyEvent*>(event), watched))
            return true;
    } else if (event->type() == QEvent::Resize && watched == pnlImage) {
        pnlInner->move((pnlImage->width() - pnlInner->width()) / 2,
                       (pnlImage->height() - pnlInner->height()) / 2);
    } else if (event->type() == QEvent::Resize && watched == grdSpecs->viewport()) {
        grdSpecs->setColumnWidth(
            1, std::max(1, grdSpecs->viewport()->width() - kTitleColumnWidth - 2));
        UpdateDescriptionRow();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    grdSpecs->setColumnWidth(1, std::max(1, grdSpecs->viewport()->width() - kTitleColumnWidth - 2));
    UpdateDescriptionRow();
}

} // namespace quv

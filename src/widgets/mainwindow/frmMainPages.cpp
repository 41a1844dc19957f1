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

namespace quv {

using namespace mainwindow;

namespace {

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
        const QString text =
            option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight, r.width());
        p->drawText(r, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, text);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(),
                option.fontMetrics.height() + 3};
    }
};

} // namespace

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
    ShowCutTextsAsToolTips(*lbxRanges);
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
    ShowCutTextsAsToolTips(*lbxPartNumbers);
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

    tabCrossReference = new TCrossRefPage(prompt_, catalogue_.Catalogue, pgFilter);
    pgFilter->addWidget(tabCrossReference);
    connect(tabCrossReference, &TCrossRefPage::referenceChanged, this, [this] {
        if (pgFilter->currentIndex() == 5)
            ApplyCrossReference();
    });

    tabSiteFit = new TSiteFitPage(prompt_, catalogue_.Catalogue, pgFilter);
    pgFilter->addWidget(tabSiteFit);
    connect(tabSiteFit, &TSiteFitPage::rankingChanged, this, [this] {
        if (pgFilter->currentIndex() == 6)
            ApplySiteFit();
    });

    pgFilter->setCurrentIndex(0);
    return pgFilter;
}

} // namespace quv

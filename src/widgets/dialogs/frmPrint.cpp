#include "dialogs/frmPrint.h"

#include "catalogue/Codepage.h"
#include "printing/PrintJob.h"
#include "printing/SiteFitPage.h"
#include "ui/Prompt.h"
#include "ui/WindowIdioms.h"

#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <exception>

namespace quv {

TfrmPrint::TfrmPrint(IPrompt& prompt, QPrinter& printer, const TQuvFileList& plotList,
                     QWidget* parent)
    : QDialog(parent), prompt_(prompt), printer_(printer), plotList_(plotList)
{
    setObjectName(QStringLiteral("frmPrint"));
    setWindowTitle(QStringLiteral("Print Options"));
    setFont(ProgramFont());
    setFixedSize(369, 195); // room for the fourth and fifth jobs below the three classic ones
    UseFixedDialogFrame(*this);

    auto* lblAntennas = new QLabel(QStringLiteral("Check Antenna(s) to Print"), this);
    lblAntennas->setGeometry(8, 8, 177, 16);
    lbxAntennas = new QListWidget(this);
    lbxAntennas->setObjectName(QStringLiteral("lbxAntennas"));
    ShowCutTextsAsToolTips(*lbxAntennas);
    lbxAntennas->setGeometry(8, 26, 177, 128);

    auto* lblJob = new QLabel(QStringLiteral("Select Print Job"), this);
    lblJob->setGeometry(200, 8, 161, 16);
    rbSpecs = new QRadioButton(QStringLiteral("Print Specs Only"), this);
    rbSpecs->setObjectName(QStringLiteral("rbSpecs"));
    rbSpecs->setGeometry(208, 30, 153, 20);
    rbPatterns = new QRadioButton(QStringLiteral("Print Patterns Only"), this);
    rbPatterns->setObjectName(QStringLiteral("rbPatterns"));
    rbPatterns->setGeometry(208, 56, 153, 20);
    rbBoth = new QRadioButton(QStringLiteral("Print Both"), this);
    rbBoth->setObjectName(QStringLiteral("rbBoth"));
    rbBoth->setGeometry(208, 82, 153, 20);
    rbBoth->setChecked(true);
    rbSpace = new QRadioButton(QStringLiteral("Print 3D and Footprint"), this);
    rbSpace->setObjectName(QStringLiteral("rbSpace"));
    rbSpace->setGeometry(208, 108, 153, 20);
    rbSiteFit = new QRadioButton(QStringLiteral("Print Site Fit"), this);
    rbSiteFit->setObjectName(QStringLiteral("rbSiteFit"));
    rbSiteFit->setGeometry(208, 134, 153, 20);
    rbSiteFit->setEnabled(false);

    btnPrinter = new QPushButton(QStringLiteral("&Printer"), this);
    btnPrinter->setObjectName(QStringLiteral("btnPrinter"));
    btnPrinter->setGeometry(8, 162, 75, 25);
    btnPrinter->setAutoDefault(false);
    btnOK = new QPushButton(QStringLiteral("&OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(206, 162, 75, 25);
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(286, 162, 75, 25);
    btnCancel->setAutoDefault(false);

    // Every antenna offered starts checked.
    for (const auto& item : plotList_) {
        auto* line = new QListWidgetItem(ToQString(item.text), lbxAntennas);
        line->setFlags(line->flags() | Qt::ItemIsUserCheckable);
        line->setCheckState(Qt::Checked);
    }
    lbxAntennasClickCheck();

    connect(lbxAntennas, &QListWidget::itemChanged, this, [this] { lbxAntennasClickCheck(); });
    const auto choose = [this](TPrintJob job) {
        PrintJob = job;
        SiteFit = false;
        lbxAntennasClickCheck();
    };
    connect(rbSpecs, &QRadioButton::clicked, this, [=] { choose(TPrintJob::SpecsOnly); });
    connect(rbPatterns, &QRadioButton::clicked, this, [=] { choose(TPrintJob::PatternsOnly); });
    connect(rbBoth, &QRadioButton::clicked, this, [=] { choose(TPrintJob::Both); });
    connect(rbSpace, &QRadioButton::clicked, this, [=] { choose(TPrintJob::SpaceOnly); });
    connect(rbSiteFit, &QRadioButton::clicked, this, [this] {
        SiteFit = true;
        lbxAntennasClickCheck();
    });
    connect(btnPrinter, &QPushButton::clicked, this, &TfrmPrint::btnPrinterClick);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmPrint::lbxAntennasClickCheck()
{
    bool any = false;
    for (int i = 0; i < lbxAntennas->count(); ++i)
        any = any || lbxAntennas->item(i)->checkState() == Qt::Checked;
    // The Site Fit page prints the ranking, whichever antennas are checked.
    btnOK->setEnabled(any || SiteFit);
}

void TfrmPrint::OfferSiteFit(const TSiteRanking* ranking)
{
    rbSiteFit->setEnabled(ranking != nullptr);
}

void TfrmPrint::btnPrinterClick()
{
    // The chosen printer becomes the one printed on; the dialog's own result is not needed.
    prompt_.ChoosePrinter(this, printer_);
}

void TfrmPrint::FormClose()
{
    SelectedAntennas.Clear();
    for (int i = 0; i < lbxAntennas->count() && i < plotList_.Count(); ++i)
        if (lbxAntennas->item(i)->checkState() == Qt::Checked)
            SelectedAntennas.Add(plotList_.Strings(i), plotList_.Objects(i));
}

bool TfrmPrint::Execute()
{
    const int result = prompt_.ExecDialog(*this);
    FormClose();
    return result == QDialog::Accepted && (SiteFit || !SelectedAntennas.Empty());
}

void PrintAntennas(QWidget* owner, IPrompt& prompt, QPrinter& printer, TPrintOutput& output,
                   const TQuvFileList& plotList, TPlotType plotType,
                   const TSpacePageSettings& space, const TSiteRanking* siteFit)
{
    TfrmPrint dialog(prompt, printer, plotList, owner);
    dialog.PlotType = plotType;
    dialog.OfferSiteFit(siteFit);
    TPrint writer(output.Metrics());
    if (!dialog.Execute())
        return;
    // The area under the closed dialog is redrawn before the printer takes its time.
    if (owner)
        RepaintUncovered(*owner);
    writer.RefreshMetrics(output.Metrics());
    try {
        if (dialog.SiteFit && siteFit)
            PrintSiteFitJob(output, writer, *siteFit);
        else
            PrintAntennaJobs(output, writer, dialog.SelectedAntennas, dialog.PrintJob,
                             dialog.PlotType, space);
    } catch (const std::exception& e) {
        prompt.Inform(owner, ToQString(e.what()), IPrompt::Icon::Error);
    }
}

} // namespace quv

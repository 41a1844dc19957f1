#include "dialogs/frmPrint.h"

#include "catalogue/Codepage.h"
#include "printing/PrintJob.h"
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
    setFixedSize(369, 169); // room for the fourth job below the three classic ones
    UseFixedDialogFrame(*this);

    auto* lblAntennas = new QLabel(QStringLiteral("Check Antenna(s) to Print"), this);
    lblAntennas->setGeometry(8, 8, 177, 16);
    lbxAntennas = new QListWidget(this);
    lbxAntennas->setObjectName(QStringLiteral("lbxAntennas"));
    ShowCutTextsAsToolTips(*lbxAntennas);
    lbxAntennas->setGeometry(8, 26, 177, 92);

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

    btnPrinter = new QPushButton(QStringLiteral("&Printer"), this);
    btnPrinter->setObjectName(QStringLiteral("btnPrinter"));
    btnPrinter->setGeometry(8, 136, 75, 25);
    btnPrinter->setAutoDefault(false);
    btnOK = new QPushButton(QStringLiteral("&OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(206, 136, 75, 25);
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(286, 136, 75, 25);
    btnCancel->setAutoDefault(false);

    // Every antenna offered starts checked.
    for (const auto& item : plotList_) {
        auto* line = new QListWidgetItem(ToQString(item.text), lbxAntennas);
        line->setFlags(line->flags() | Qt::ItemIsUserCheckable);
        line->setCheckState(Qt::Checked);
    }
    lbxAntennasClickCheck();

    connect(lbxAntennas, &QListWidget::itemChanged, this, [this] { lbxAntennasClickCheck(); });
    connect(rbSpecs, &QRadioButton::clicked, this, [this] { PrintJob = TPrintJob::SpecsOnly; });
    connect(rbPatterns, &QRadioButton::clicked, this,
            [this] { PrintJob = TPrintJob::PatternsOnly; });
    connect(rbBoth, &QRadioButton::clicked, this, [this] { PrintJob = TPrintJob::Both; });
    connect(rbSpace, &QRadioButton::clicked, this, [this] { PrintJob = TPrintJob::SpaceOnly; });
    connect(btnPrinter, &QPushButton::clicked, this, &TfrmPrint::btnPrinterClick);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmPrint::lbxAntennasClickCheck()
{
    bool any = false;
    for (int i = 0; i < lbxAntennas->count(); ++i)
        any = any || lbxAntennas->item(i)->checkState() == Qt::Checked;
    btnOK->setEnabled(any);
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
    return result == QDialog::Accepted && !SelectedAntennas.Empty();
}

void PrintAntennas(QWidget* owner, IPrompt& prompt, QPrinter& printer, TPrintOutput& output,
                   const TQuvFileList& plotList, TPlotType plotType,
                   const TSpacePageSettings& space)
{
    TfrmPrint dialog(prompt, printer, plotList, owner);
    dialog.PlotType = plotType;
    TPrint writer(output.Metrics());
    if (!dialog.Execute())
        return;
    // The area under the closed dialog is redrawn before the printer takes its time.
    if (owner)
        RepaintUncovered(*owner);
    writer.RefreshMetrics(output.Metrics());
    try {
        PrintAntennaJobs(output, writer, dialog.SelectedAntennas, dialog.PrintJob, dialog.PlotType,
                         space);
    } catch (const std::exception& e) {
        prompt.Inform(owner, ToQString(e.what()), IPrompt::Icon::Error);
    }
}

} // namespace quv

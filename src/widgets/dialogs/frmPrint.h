// The print command: the "Print Options" dialog asks which antennas of the plot list and which
// pages to print, then each checked antenna goes to the printer as its own job.
#pragma once

#include "catalogue/QuvLib.h"
#include "printing/PrintLib.h"

#include <QDialog>

class QListWidget;
class QPrinter;
class QPushButton;
class QRadioButton;

namespace quv {

class IPrompt;
class TPrintOutput;
struct TSiteRanking;

class TfrmPrint : public QDialog {
    Q_OBJECT
public:
    // Offers the antennas of `plotList`, all checked; "&Printer" changes `printer`.
    TfrmPrint(IPrompt& prompt, QPrinter& printer, const TQuvFileList& plotList,
              QWidget* parent = nullptr);

    // Shows the dialog through the prompt; true when it closed with OK and at least one antenna
    // is checked. SelectedAntennas then holds the checked ones in list order.
    bool Execute();

    TPrintJob PrintJob = TPrintJob::Both;
    // The plot type of the pattern pages.
    TPlotType PlotType = TPlotType::RelativePower;
    TQuvFileList SelectedAntennas;
    // The site ranking offered as a job of its own (one page, not per antenna), or nullptr; the
    // job is chosen when SiteFit is true.
    void OfferSiteFit(const TSiteRanking* ranking);
    bool SiteFit = false;

    QListWidget* lbxAntennas;
    QRadioButton* rbSpecs;
    QRadioButton* rbPatterns;
    QRadioButton* rbBoth;
    QRadioButton* rbSpace;   // the 3D view and the footprint, one page per antenna
    QRadioButton* rbSiteFit; // the Site Fit page's ranking, enabled while it holds one
    QPushButton* btnPrinter;
    QPushButton* btnOK;
    QPushButton* btnCancel;

private:
    void lbxAntennasClickCheck();
    void btnPrinterClick();
    void FormClose();

    IPrompt& prompt_;
    QPrinter& printer_;
    const TQuvFileList& plotList_;
};

// Runs the print command on the antennas of `plotList`, pattern pages drawn as `plotType`; the
// jobs go to `output`, which prints on `printer`. Errors of the printer or of a pattern's points
// end the command with a message box; jobs already ended stay printed. The 3D and footprint
// page shows `space`, the pattern window's settings; `siteFit`, when given, is offered as the
// Site Fit job.
void PrintAntennas(QWidget* owner, IPrompt& prompt, QPrinter& printer, TPrintOutput& output,
                   const TQuvFileList& plotList, TPlotType plotType,
                   const TSpacePageSettings& space = {}, const TSiteRanking* siteFit = nullptr);

} // namespace quv

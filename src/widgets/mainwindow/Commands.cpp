#include "mainwindow/Commands.h"

#include "dialogs/frmExport.h"
#include "dialogs/frmExportAll.h"
#include "dialogs/frmPrint.h"
#include "mainwindow/SummaryCommands.h"
#include "mainwindow/frmMain.h"
#include "patterns/SpaceView.h"
#include "patterns/frmPattern.h"
#include "printing/PrintJob.h"

#include <QObject>
#include <QPageSize>
#include <QPrinter>
#include <QString>

#include <memory>

namespace quv {

void ConnectCommands(TfrmMain& main, TfrmPattern& pattern, const std::string& programFolder)
{
    QObject::connect(&main, &TfrmMain::viewPatternsRequested, &pattern, [&main, &pattern] {
        pattern.Reference = main.Reference();
        pattern.PlotType = main.PlotType();
        pattern.Execute();
    });
    QObject::connect(&pattern, &TfrmPattern::plotTypeChosen, &main, &TfrmMain::SetPlotType);
    // The pattern window's "&Print" runs the main window's print command.
    QObject::connect(&pattern, &TfrmPattern::printRequested, &main, &TfrmMain::printRequested);
    // The save dialogs of one run open where the last one was accepted.
    auto saveFolder = std::make_shared<QString>();
    QObject::connect(&main, &TfrmMain::exportSelectedRequested, &main, [&main, saveFolder] {
        ExportSelected(&main, main.Prompt(), main.Catalogue().PlotList, *saveFolder);
    });
    QObject::connect(&main, &TfrmMain::exportMatchesRequested, &main, [&main, programFolder] {
        ExportMatches(&main, main.Prompt(), main.Catalogue().MatchList, main.ProgressBar(),
                      programFolder);
    });
    // One printer for the run, made at the first print command: the printer chosen with
    // "&Printer" stays chosen for the next command.
    auto printer = std::make_shared<std::unique_ptr<QPrinter>>();
    QObject::connect(&main, &TfrmMain::printRequested, &main, [&main, &pattern, printer] {
        if (!*printer) {
            *printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            (*printer)->setPageSize(QPageSize(QPageSize::Letter));
        }
        TQPrinterOutput output(**printer);
        // The 3D and footprint page as the pattern window's settings show it.
        PrintAntennas(&main, main.Prompt(), **printer, output, main.Catalogue().PlotList,
                      main.PlotType(), pattern.pnlSpace->PrintSettings(), main.SiteFitRanking());
    });
    // Both summary commands propose the name accepted last by either of them.
    auto lastSummary = std::make_shared<QString>();
    QObject::connect(&main, &TfrmMain::createQuvDatRequested, &main, [&main, lastSummary] {
        CreateSummary(&main, main.Prompt(), main.Catalogue().Catalogue, TSummaryLayout::QuvDat,
                      *lastSummary);
    });
    QObject::connect(&main, &TfrmMain::createAntennaDatRequested, &main, [&main, lastSummary] {
        CreateSummary(&main, main.Prompt(), main.Catalogue().Catalogue, TSummaryLayout::AntennaDat,
                      *lastSummary);
    });
}

} // namespace quv

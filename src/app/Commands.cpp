#include "app/Commands.h"

#include "app/frmmain.h"
#include "export/exportalldlg.h"
#include "export/exportdlg.h"
#include "patterns/pattern.h"

#include <QObject>
#include <QString>

#include <memory>

namespace quv {

void ConnectCommands(TfrmMain& main, TfrmPattern& pattern, const std::string& programFolder)
{
    QObject::connect(&main, &TfrmMain::viewPatternsRequested, &pattern,
                     [&pattern] { pattern.Execute(); });
    QObject::connect(&pattern, &TfrmPattern::plotTypeChosen, &main, &TfrmMain::SetPlotType);
    // The pattern window's "&Print" runs the main window's print command.
    QObject::connect(&pattern, &TfrmPattern::printRequested, &main, &TfrmMain::printRequested);
    // The save dialogs of one run open where the last one was accepted.
    auto saveFolder = std::make_shared<QString>();
    QObject::connect(&main, &TfrmMain::exportSelectedRequested, &main,
                     [&main, saveFolder] { ExportSelected(&main, main.Prompt(), *saveFolder); });
    QObject::connect(&main, &TfrmMain::exportMatchesRequested, &main, [&main, programFolder] {
        ExportMatches(&main, main.Prompt(), main.ProgressBar(), programFolder);
    });
    // printRequested, createQuvDatRequested and createAntennaDatRequested stay unconnected until
    // printing and the catalogue summary files are built; their menu items do nothing meanwhile.
}

} // namespace quv

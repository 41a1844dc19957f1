// QUV Select: loads the "QUV" catalogue beside the program behind a splash window, then lets the
// planner filter it, read specifications, plot, export and print antennas. The main window owns
// the prompt for every message box; the catalogue's records live until the program ends.
#include "app/Commands.h"
#include "app/frmmain.h"
#include "catalogue/QuvLib.h"
#include "patterns/pattern.h"
#include "ui/Prompt.h"
#include "ui/WindowIdioms.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QUV Select"));
    // One font for every window, dialog, menu and message box.
    QApplication::setFont(quv::ProgramFont());
    quv::TQtPrompt prompt;
    int result = 0;
    {
        quv::TfrmMain window(prompt, QApplication::applicationDirPath(), 1000,
                             QApplication::arguments().mid(1));
        // The pattern window lives for the whole run and is shown modally on demand.
        quv::TfrmPattern pattern(prompt, &window);
        quv::ConnectCommands(window, pattern, quv::ProgramFolder);
        window.show();
        result = QApplication::exec();
    }
    quv::FreeCatalogueRecords();
    return result;
}

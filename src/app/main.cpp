// QUV Select: loads the "QUV" catalogue beside the program behind a splash window, then lets the
// planner filter it, read specifications, plot, export and print antennas. The main window owns
// the catalogue and the prompt for every message box; the other windows work on its lists.
#include "catalogue/QuvLib.h"
#include "catalogue/UserFolders.h"
#include "mainwindow/Commands.h"
#include "mainwindow/frmMain.h"
#include "patterns/frmPattern.h"
#include "ui/Prompt.h"
#include "ui/WindowIdioms.h"

#include <QApplication>

#include <cstring>
#include <iostream>

// Answered before the window system is touched, so they work without a display.
static bool AnswerInfoOption(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::cout << "quvselect " QUV_VERSION "\n";
            return true;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::cout << "usage: quvselect [PARTNUMBER]\n"
                         "Selects base station antennas from the catalogue in the \"QUV\" folder "
                         "beside the program,\nor in ~/.local/share/QUV Select/QUV when that "
                         "folder holds no data file.\n"
                         "  PARTNUMBER   open this part number at start-up (any letter case)\n"
                         "  -h, --help   show this help and exit\n"
                         "  --version    show the version and exit\n"
                         "See quvselect(1).\n";
            return true;
        }
    }
    return false;
}

int main(int argc, char** argv)
{
    if (AnswerInfoOption(argc, argv))
        return 0;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QUV Select"));
    QApplication::setApplicationVersion(QStringLiteral(QUV_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(QUV_DESKTOP_ID));
    // One font for every window, dialog, menu and message box.
    QApplication::setFont(quv::ProgramFont());
    quv::TQtPrompt prompt;
    int result = 0;
    {
        quv::TfrmMain window(prompt, QApplication::applicationDirPath(), 1000,
                             QApplication::arguments().mid(1));
        // The pattern window lives for the whole run and is shown modally on demand.
        quv::TfrmPattern pattern(prompt, &window, window.Catalogue().PlotList);
        // Installed system-wide, the program's folder is read-only: the settings move to the user.
        const std::string settingsFolder =
            quv::ChooseSettingsFolder(window.Catalogue().ProgramFolder, quv::UserConfigFolder());
        quv::ConnectCommands(window, pattern, settingsFolder);
        window.show();
        result = QApplication::exec();
    }
    return result;
}

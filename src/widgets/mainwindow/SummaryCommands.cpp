#include "mainwindow/SummaryCommands.h"

#include "catalogue/Codepage.h"
#include "catalogue/QuvLib.h"
#include "ui/Prompt.h"

#include <QFile>

#include <exception>

namespace quv {

void CreateSummary(QWidget* owner, IPrompt& prompt, const TQuvFileList& catalogue,
                   TSummaryLayout layout, QString& lastName)
{
    // The name is used exactly as accepted: no extension is added.
    const QString name = prompt.ChooseSaveFile(owner, QStringLiteral("Save As"), lastName,
                                               QStringLiteral("All Files   (*)"));
    if (name.isEmpty())
        return;
    lastName = name;
    try {
        CreateSummaryFile(layout, catalogue, QFile::encodeName(name).toStdString());
    } catch (const std::exception& e) {
        prompt.Inform(owner, ToQString(e.what()), IPrompt::Icon::Error);
    }
}

} // namespace quv

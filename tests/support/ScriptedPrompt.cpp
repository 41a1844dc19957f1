#include "support/ScriptedPrompt.h"

#include <QDialog>
#include <QPrinter>

namespace quv::test {

QStringList TScriptedPrompt::Messages() const
{
    QStringList result;
    for (const Entry& e : entries)
        if (e.kind == Entry::Kind::Inform || e.kind == Entry::Kind::Confirm ||
            e.kind == Entry::Kind::Question)
            result << e.text;
    return result;
}

int TScriptedPrompt::CountOf(Entry::Kind kind) const
{
    int n = 0;
    for (const Entry& e : entries)
        n += e.kind == kind ? 1 : 0;
    return n;
}

void TScriptedPrompt::Inform(QWidget*, const QString& text, Icon icon)
{
    entries.push_back({Entry::Kind::Inform, text, icon, {}, {}});
}

bool TScriptedPrompt::Confirm(QWidget*, const QString& text, Icon icon)
{
    entries.push_back({Entry::Kind::Confirm, text, icon, {}, {}});
    if (confirmAnswers.empty())
        return false;
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

IPrompt::Answer TScriptedPrompt::AskYesAllNoCancel(QWidget*, const QString& text)
{
    entries.push_back({Entry::Kind::Question, text, Icon::Information, {}, {}});
    if (questionAnswers.empty())
        return Answer::Cancel;
    const Answer answer = questionAnswers.front();
    questionAnswers.pop_front();
    return answer;
}

QString TScriptedPrompt::ChooseSaveFile(QWidget*, const QString& caption, const QString& presetPath,
                                        const QString& filter)
{
    entries.push_back({Entry::Kind::SaveFile, caption, Icon::Information, presetPath, filter});
    if (saveFileAnswers.empty())
        return {};
    QString answer = saveFileAnswers.front();
    saveFileAnswers.pop_front();
    return answer;
}

QString TScriptedPrompt::ChooseOpenFile(QWidget*, const QString& caption, const QString& start,
                                        const QString& filter)
{
    entries.push_back({Entry::Kind::OpenFile, caption, Icon::Information, start, filter});
    if (openFileAnswers.empty())
        return {};
    QString answer = openFileAnswers.front();
    openFileAnswers.pop_front();
    return answer;
}

QStringList TScriptedPrompt::ChooseOpenFiles(QWidget*, const QString& caption, const QString& start,
                                             const QString& filter)
{
    entries.push_back({Entry::Kind::OpenFiles, caption, Icon::Information, start, filter});
    if (openFilesAnswers.empty())
        return {};
    QStringList answer = openFilesAnswers.front();
    openFilesAnswers.pop_front();
    return answer;
}

QString TScriptedPrompt::ChooseFolder(QWidget*, const QString& caption, const QString& start)
{
    entries.push_back({Entry::Kind::Folder, caption, Icon::Information, start, {}});
    if (folderAnswers.empty())
        return {};
    QString answer = folderAnswers.front();
    folderAnswers.pop_front();
    return answer;
}

bool TScriptedPrompt::ChoosePrinter(QWidget*, QPrinter& printer)
{
    entries.push_back({Entry::Kind::Printer, {}, Icon::Information, {}, {}});
    if (printerAnswers.empty())
        return false;
    const bool answer = printerAnswers.front();
    printerAnswers.pop_front();
    if (answer && !printerFiles.empty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printerFiles.front());
        printerFiles.pop_front();
    }
    return answer;
}

int TScriptedPrompt::ExecDialog(QDialog& dialog)
{
    entries.push_back({Entry::Kind::Dialog, dialog.windowTitle(), Icon::Information, {}, {}});
    if (dialogAnswers.empty())
        return QDialog::Rejected;
    auto answer = std::move(dialogAnswers.front());
    dialogAnswers.pop_front();
    return answer ? answer(dialog) : QDialog::Rejected;
}

} // namespace quv::test

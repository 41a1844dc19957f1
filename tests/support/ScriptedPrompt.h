// An IPrompt for widget tests: answers from queues filled by the test and records every request,
// so no test ever blocks on a modal dialog. An unscripted question gets a safe default answer
// (Cancel, no file, no folder, no printer, dialog rejected) and is still recorded.
#pragma once

#include "ui/Prompt.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

namespace quv::test {

class TScriptedPrompt : public IPrompt {
public:
    // One recorded request.
    struct Entry {
        enum class Kind {
            Inform,
            Confirm,
            SaveFile,
            Folder,
            Printer,
            Dialog,
            OpenFile,
            OpenFiles,
            Question
        };
        Kind kind;
        QString text; // message text, or the dialog caption / window title
        Icon icon = Icon::Information;
        QString preset; // preset path or start folder
        QString filter; // save dialog filter
    };

    // Scripted answers, used in order.
    std::deque<bool> confirmAnswers;
    std::deque<Answer> questionAnswers;
    std::deque<QString> saveFileAnswers;
    std::deque<QString> folderAnswers;
    std::deque<QString> openFileAnswers;
    std::deque<QStringList> openFilesAnswers;
    std::deque<bool> printerAnswers;
    // With an accepted printer answer: the file it is told to print to ("Print to File (PDF)").
    std::deque<QString> printerFiles;
    // Called with the dialog before it "runs" (to fill its controls); returns the result code.
    // An empty queue rejects the dialog.
    std::deque<std::function<int(QDialog&)>> dialogAnswers;

    std::vector<Entry> entries;

    // Texts of the message boxes (Inform, Confirm and Question) in the order shown.
    QStringList Messages() const;
    int CountOf(Entry::Kind kind) const;
    void Clear() { entries.clear(); }

    void Inform(QWidget* parent, const QString& text, Icon icon) override;
    bool Confirm(QWidget* parent, const QString& text, Icon icon) override;
    Answer AskYesAllNoCancel(QWidget* parent, const QString& text) override;
    QString ChooseSaveFile(QWidget* parent, const QString& caption, const QString& presetPath,
                           const QString& filter) override;
    QString ChooseFolder(QWidget* parent, const QString& caption, const QString& start) override;
    QString ChooseOpenFile(QWidget* parent, const QString& caption, const QString& start,
                           const QString& filter) override;
    QStringList ChooseOpenFiles(QWidget* parent, const QString& caption, const QString& start,
                                const QString& filter) override;
    bool ChoosePrinter(QWidget* parent, QPrinter& printer) override;
    int ExecDialog(QDialog& dialog) override;
};

} // namespace quv::test

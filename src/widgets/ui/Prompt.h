// Every message box, file chooser, folder browser, printer dialog and modal dialog of the program
// goes through this interface, owned by the main window. The program shows the real Qt dialogs;
// tests install a scripted one that answers and records what was asked, so no test ever blocks.
#pragma once

#include <QString>
#include <QStringList>

class QDialog;
class QPrinter;
class QWidget;

namespace quv {

class IPrompt {
public:
    enum class Icon { Error, Information };
    enum class Answer { Yes, YesToAll, No, Cancel };
    virtual ~IPrompt() = default;

    // A message box with an OK button.
    virtual void Inform(QWidget* parent, const QString& text, Icon icon) = 0;
    // A message box with OK and Cancel; true for OK.
    virtual bool Confirm(QWidget* parent, const QString& text, Icon icon) = 0;
    // A question box with Yes, Yes to All, No and Cancel; closing it answers Cancel.
    virtual Answer AskYesAllNoCancel(QWidget* parent, const QString& text) = 0;
    // A save-file dialog (asks before overwriting); returns the chosen path or an empty text.
    virtual QString ChooseSaveFile(QWidget* parent, const QString& caption,
                                   const QString& presetPath, const QString& filter) = 0;
    // An open-file dialog; returns the chosen path or an empty text.
    virtual QString ChooseOpenFile(QWidget*, const QString&, const QString&, const QString&)
    {
        return {};
    }
    // An open-file dialog that takes several files; returns them, or none when cancelled.
    virtual QStringList ChooseOpenFiles(QWidget*, const QString&, const QString&, const QString&)
    {
        return {};
    }
    // A folder browser; returns the chosen folder or an empty text.
    virtual QString ChooseFolder(QWidget* parent, const QString& caption, const QString& start) = 0;
    // The printer selection dialog; false when cancelled.
    virtual bool ChoosePrinter(QWidget* parent, QPrinter& printer) = 0;
    // Shows a dialog modally and returns its result (QDialog::Accepted or Rejected).
    virtual int ExecDialog(QDialog& dialog) = 0;
};

// The program's implementation with the real dialogs.
class TQtPrompt : public IPrompt {
public:
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

} // namespace quv

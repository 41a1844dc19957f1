// The error log of an export of all matches: shown on request after the run, can be saved.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QPlainTextEdit;
class QPushButton;

namespace quv {

class IPrompt;

class TfrmErrorLog : public QDialog {
    Q_OBJECT
public:
    TfrmErrorLog(QWidget* parent, IPrompt& prompt);

    // Adds one line of the log.
    void AppendLine(const std::string& line);
    const std::vector<std::string>& Lines() const { return lines_; }

    QPlainTextEdit* Log;
    QPushButton* btnSave;
    QPushButton* btnClose;

    void btnSaveClick();

private:
    IPrompt& prompt_;
    // The exact bytes of the log, saved as they were logged (the editor only shows them).
    std::vector<std::string> lines_;
};

} // namespace quv

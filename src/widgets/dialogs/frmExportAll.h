// Export of every match into one folder: the options dialog (folder and format) and the command
// that runs the export with the progress bar and reports through the error log.
#pragma once

#include <QDialog>

#include <string>

class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace quv {

class IPrompt;
class TQuvFileList;

class TfrmExportAll : public QDialog {
    Q_OBJECT
public:
    // Reads the remembered folder from the settings file in `programFolder`.
    TfrmExportAll(QWidget* parent, IPrompt& prompt, const std::string& programFolder);

    // Shows the dialog through the prompt; true when closed with OK.
    bool Execute();

    int FormatIndex() const { return formatIndex_; }
    // The folder exactly as typed.
    const std::string& Folder() const { return folder_; }

    QLineEdit* txtPath;
    QToolButton* txtPathBtn;
    QListWidget* lbxExportType;
    QPushButton* btnOK;
    QPushButton* btnCancel;

    void done(int result) override;

private:
    void txtPath1Change();
    void txtPathBtn1Click();
    void btnOKClick();
    void FormClose();

    IPrompt& prompt_;
    std::string programFolder_;
    int formatIndex_ = 0;
    std::string folder_;
};

// "Export Antenna Matches": folder and format, then every antenna of `matches`.
// `progress` may be null.
void ExportMatches(QWidget* parent, IPrompt& prompt, const TQuvFileList& matches,
                   QProgressBar* progress, const std::string& programFolder);

} // namespace quv

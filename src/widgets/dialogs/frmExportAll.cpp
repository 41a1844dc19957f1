#include "dialogs/frmExportAll.h"

#include "catalogue/Codepage.h"
#include "catalogue/QuvLib.h"
#include "dialogs/frmErrorLog.h"
#include "dialogs/frmExport.h"
#include "export/ExportLib.h"
#include "ui/Prompt.h"
#include "ui/WindowIdioms.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <filesystem>

namespace quv {

TfrmExportAll::TfrmExportAll(QWidget* parent, IPrompt& prompt, const std::string& programFolder)
    : QDialog(parent), prompt_(prompt), programFolder_(programFolder)
{
    setObjectName(QStringLiteral("frmExportAll"));
    setWindowTitle(QStringLiteral("Export Antenna Matches Options"));
    setFont(ProgramFont());
    UseFixedDialogFrame(*this);

    txtPath = new QLineEdit(this);
    txtPath->setObjectName(QStringLiteral("txtPath"));
    txtPathBtn = new QToolButton(this);
    txtPathBtn->setObjectName(QStringLiteral("txtPathBtn"));
    txtPathBtn->setText(QStringLiteral("..."));
    lbxExportType = new QListWidget(this);
    lbxExportType->setObjectName(QStringLiteral("lbxExportType"));
    lbxExportType->setMinimumWidth(300);
    FillFormatList(*lbxExportType);
    btnOK = new QPushButton(QStringLiteral("&OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnOK->setEnabled(false);
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);

    auto* pathRow = new QHBoxLayout;
    pathRow->setSpacing(0);
    pathRow->addWidget(txtPath);
    pathRow->addWidget(txtPathBtn);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* main = new QVBoxLayout(this);
    main->addWidget(new QLabel(QStringLiteral("Select Destination Directory"), this));
    main->addLayout(pathRow);
    main->addWidget(new QLabel(QStringLiteral("Select Export Format"), this));
    main->addWidget(lbxExportType);
    main->addLayout(buttons);
    main->setSizeConstraint(QLayout::SetFixedSize);

    connect(txtPath, &QLineEdit::textChanged, this, &TfrmExportAll::txtPath1Change);
    connect(txtPathBtn, &QToolButton::clicked, this, &TfrmExportAll::txtPathBtn1Click);
    connect(btnOK, &QPushButton::clicked, this, &TfrmExportAll::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    txtPath->setText(DisplayPath(ReadExportFolder(programFolder_)));
    txtPath1Change();
}

void TfrmExportAll::txtPath1Change()
{
    std::error_code ec;
    const std::string path = FileSystemPath(txtPath->text());
    btnOK->setEnabled(!path.empty() && std::filesystem::is_directory(path, ec));
}

void TfrmExportAll::txtPathBtn1Click()
{
    const QString chosen =
        prompt_.ChooseFolder(this, QStringLiteral("Select Destination Directory"), QString());
    if (!chosen.isEmpty())
        txtPath->setText(chosen);
}

void TfrmExportAll::btnOKClick()
{
    // A settings file that cannot be written is reported; the export goes ahead regardless.
    try {
        WriteExportFolder(programFolder_, FileSystemPath(txtPath->text()));
    } catch (const std::exception& e) {
        prompt_.Inform(this, ToQString(e.what()), IPrompt::Icon::Error);
    }
    accept();
}

void TfrmExportAll::FormClose()
{
    formatIndex_ = lbxExportType->currentRow();
    folder_ = FileSystemPath(txtPath->text());
}

void TfrmExportAll::done(int result)
{
    FormClose();
    QDialog::done(result);
}

bool TfrmExportAll::Execute()
{
    const int result = prompt_.ExecDialog(*this);
    FormClose();
    return result == QDialog::Accepted;
}

namespace {

// Restores the cursor however the run ends.
class TWaitCursor {
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

} // namespace

void ExportMatches(QWidget* parent, IPrompt& prompt, const TQuvFileList& matches,
                   QProgressBar* progress, const std::string& programFolder)
{
    TfrmErrorLog errorLog(parent, prompt);
    TfrmExportAll dialog(parent, prompt, programFolder);
    if (dialog.Execute()) {
        // Before the loop holds the event loop, the area of the closed dialog is painted over.
        if (parent)
            RepaintUncovered(*parent);
        TExportAllReport report;
        {
            const TWaitCursor wait;
            const int total = matches.Count();
            if (progress) {
                progress->setMaximum(total);
                progress->setValue(0);
            }
            int shownPercent = -1;
            report = ExportAllMatches(matches, dialog.Folder(), dialog.FormatIndex(), ExportToday(),
                                      [&](int done) {
                                          if (!progress)
                                              return;
                                          progress->setValue(done);
                                          // The loop holds the event loop, so the bar is repainted
                                          // by hand, once a percent.
                                          const int percent = total > 0 ? done * 100 / total : 100;
                                          if (percent != shownPercent) {
                                              shownPercent = percent;
                                              progress->repaint();
                                          }
                                      });
        }
        if (report.failures > 0) {
            for (const std::string& line : report.log)
                errorLog.AppendLine(line);
            if (prompt.Confirm(parent, ToQString(kExportErrorQuestion), IPrompt::Icon::Error))
                prompt.ExecDialog(errorLog);
        } else {
            // The folder is a file-system name, not a text in the records' code page.
            prompt.Inform(parent,
                          ToQString(ExportSuccessMessage("%1")).arg(DisplayPath(dialog.Folder())),
                          IPrompt::Icon::Information);
        }
    }
    if (progress)
        progress->setValue(0);
}

} // namespace quv

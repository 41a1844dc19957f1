#include "dialogs/frmErrorLog.h"

#include "catalogue/Codepage.h"
#include "catalogue/TextFile.h"
#include "dialogs/frmExport.h"
#include "export/ExportLib.h"
#include "ui/Prompt.h"

#include <QGridLayout>
#include <QPlainTextEdit>
#include <QPushButton>

namespace quv {

TfrmErrorLog::TfrmErrorLog(QWidget* parent, IPrompt& prompt) : QDialog(parent), prompt_(prompt)
{
    setObjectName(QStringLiteral("frmErrorLog"));
    setWindowTitle(QStringLiteral("Export Error Log"));
    resize(495, 283);

    Log = new QPlainTextEdit(this);
    Log->setObjectName(QStringLiteral("Log"));
    Log->setFont(QFont(QStringLiteral("Courier New"), 10));
    Log->setLineWrapMode(QPlainTextEdit::NoWrap);
    Log->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Log->setReadOnly(true);
    btnSave = new QPushButton(QStringLiteral("&Save"), this);
    btnSave->setObjectName(QStringLiteral("btnSave"));
    btnSave->setAutoDefault(false);
    btnClose = new QPushButton(QStringLiteral("&Close"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Log, 0, 0, 1, 3);
    grid->setColumnStretch(0, 1);
    grid->addWidget(btnSave, 1, 1);
    grid->addWidget(btnClose, 1, 2);

    connect(btnSave, &QPushButton::clicked, this, &TfrmErrorLog::btnSaveClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmErrorLog::AppendLine(const std::string& line)
{
    lines_.push_back(line);
    // A message's sentences are separated by carriage returns; each shows on its own line.
    QString shown = ToQString(line);
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    Log->appendPlainText(shown);
}

void TfrmErrorLog::btnSaveClick()
{
    const QString chosen = prompt_.ChooseSaveFile(this, QStringLiteral("Save As"), QString(),
                                                  QStringLiteral("All Files (*)"));
    if (chosen.isEmpty())
        return;
    const std::string path = ErrorLogFileName(FileSystemPath(chosen));
    try {
        CommitFileDurably(path, LogBytes(lines_));
    } catch (const std::exception& e) {
        prompt_.Inform(this, ToQString(e.what()), IPrompt::Icon::Error);
    }
}

} // namespace quv

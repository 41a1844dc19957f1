#include "ui/Prompt.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace quv {

namespace {
// Messages mark their line breaks with bare carriage returns, which a Qt label does not break on.
QString DisplayText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}
} // namespace

void TQtPrompt::Inform(QWidget* parent, const QString& text, Icon icon)
{
    QMessageBox box(icon == Icon::Error ? QMessageBox::Critical : QMessageBox::Information,
                    QApplication::applicationName(), DisplayText(text), QMessageBox::Ok, parent);
    box.exec();
}

bool TQtPrompt::Confirm(QWidget* parent, const QString& text, Icon icon)
{
    QMessageBox box(icon == Icon::Error ? QMessageBox::Critical : QMessageBox::Information,
                    QApplication::applicationName(), DisplayText(text),
                    QMessageBox::Ok | QMessageBox::Cancel, parent);
    return box.exec() == QMessageBox::Ok;
}

IPrompt::Answer TQtPrompt::AskYesAllNoCancel(QWidget* parent, const QString& text)
{
    QMessageBox box(
        QMessageBox::Question, QApplication::applicationName(), DisplayText(text),
        QMessageBox::Yes | QMessageBox::YesToAll | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::YesToAll:
        return Answer::YesToAll;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

QString TQtPrompt::ChooseSaveFile(QWidget* parent, const QString& caption,
                                  const QString& presetPath, const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, caption, presetPath, filter);
}

QString TQtPrompt::ChooseFolder(QWidget* parent, const QString& caption, const QString& start)
{
    return QFileDialog::getExistingDirectory(parent, caption, start);
}

QString TQtPrompt::ChooseOpenFile(QWidget* parent, const QString& caption, const QString& start,
                                  const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, caption, start, filter);
}

QStringList TQtPrompt::ChooseOpenFiles(QWidget* parent, const QString& caption,
                                       const QString& start, const QString& filter)
{
    return QFileDialog::getOpenFileNames(parent, caption, start, filter);
}

bool TQtPrompt::ChoosePrinter(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

int TQtPrompt::ExecDialog(QDialog& dialog)
{
    return dialog.exec();
}

} // namespace quv

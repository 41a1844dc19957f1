#include "ui/Prompt.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace quv {

void TQtPrompt::Inform(QWidget* parent, const QString& text, Icon icon)
{
    QMessageBox box(icon == Icon::Error ? QMessageBox::Critical : QMessageBox::Information,
                    QApplication::applicationName(), text, QMessageBox::Ok, parent);
    box.exec();
}

bool TQtPrompt::Confirm(QWidget* parent, const QString& text, Icon icon)
{
    QMessageBox box(icon == Icon::Error ? QMessageBox::Critical : QMessageBox::Information,
                    QApplication::applicationName(), text, QMessageBox::Ok | QMessageBox::Cancel,
                    parent);
    return box.exec() == QMessageBox::Ok;
}

QString TQtPrompt::ChooseSaveFile(QWidget* parent, const QString& caption, const QString& presetPath,
                                  const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, caption, presetPath, filter);
}

QString TQtPrompt::ChooseFolder(QWidget* parent, const QString& caption, const QString& start)
{
    return QFileDialog::getExistingDirectory(parent, caption, start);
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

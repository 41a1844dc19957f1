// Export of the antennas chosen for viewing: the options dialog (format and antennas) and the
// command that asks for one file name per antenna. Also the bold-word format list shared with
// the export-all dialog.
#pragma once

#include "catalogue/QuvLib.h"

#include <QDialog>
#include <QStyledItemDelegate>

#include <string>
#include <string_view>

class QListWidget;
class QPushButton;
class QListWidgetItem;

namespace quv {

class IPrompt;

// Draws a caption word by word from `topLeft`, the "<b>" words in bold.
void DrawMarkedText(QPainter& painter, QPoint topLeft, std::string_view caption, const QFont& font);

// Draws the format list's captions through DrawMarkedText on the list's selection colours.
class TFormatListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// A path typed or chosen in a dialog as the file system spells it, and back. Record texts use the
// single-byte code page, but folder and file names on disk do not.
std::string FileSystemPath(const QString& path);
QString DisplayPath(const std::string& path);

// Fills a list with the 18 format captions in index order and selects row 0.
void FillFormatList(QListWidget& list);

class TfrmExport : public QDialog {
    Q_OBJECT
public:
    // Offers the antennas of `plotList`, all checked.
    explicit TfrmExport(const TQuvFileList& plotList, QWidget* parent = nullptr);

    // Shows the dialog through the prompt; true when closed with OK and an antenna is checked.
    bool Execute(IPrompt& prompt);

    const TQuvFileList& Antennas() const { return antennas_; }
    int FormatIndex() const { return formatIndex_; }

    QListWidget* lbxExportType;
    QListWidget* lbxAntennas;
    QPushButton* btnOK;
    QPushButton* btnCancel;

    void done(int result) override;

private:
    void FormShow(const TQuvFileList& plotList);
    void FormClose();
    void lbxAntennasClickCheck(QListWidgetItem* item);
    void lbxExportTypeDblClick();

    TQuvFileList antennas_;
    std::vector<TQuvFile*> listed_; // the plot list's records behind the check list's items
    int formatIndex_ = 0;
};

// "&Export Selected Antennas": format and antennas of `plotList`, then one save dialog per
// antenna; each failure is shown at once and the remaining antennas are still offered.
void ExportSelected(QWidget* parent, IPrompt& prompt, const TQuvFileList& plotList);
// The same, with each save dialog opening in `saveFolder` (when set), which becomes the folder
// of every accepted name: the caller keeps it from one command to the next.
void ExportSelected(QWidget* parent, IPrompt& prompt, const TQuvFileList& plotList,
                    QString& saveFolder);

} // namespace quv

// The list of the user's catalogue behind File > Remove Imported Antennas: one row per antenna
// with a check box; the window deletes the files of the rows ticked when the dialog is accepted.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QDialogButtonBox;
class QTreeWidget;

namespace quv {

struct TRemoveRow {
    std::string partNumber;
    std::string band;
    std::string path; // the data file
};

class TfrmRemoveImported : public QDialog {
    Q_OBJECT
public:
    TfrmRemoveImported(QWidget* parent, std::vector<TRemoveRow> rows);

    // The data files of the ticked rows, in list order.
    std::vector<std::string> CheckedFiles() const;

    QTreeWidget* lstAntennas;
    QDialogButtonBox* btnsOkCancel;

private:
    std::vector<TRemoveRow> rows_;
};

} // namespace quv

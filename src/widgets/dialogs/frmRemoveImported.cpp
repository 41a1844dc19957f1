#include "dialogs/frmRemoveImported.h"

#include "catalogue/Codepage.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <filesystem>

namespace quv {

TfrmRemoveImported::TfrmRemoveImported(QWidget* parent, std::vector<TRemoveRow> rows)
    : QDialog(parent), rows_(std::move(rows))
{
    setObjectName(QStringLiteral("frmRemoveImported"));
    setWindowTitle(QStringLiteral("Remove Imported Antennas"));
    resize(560, 360);

    auto* label = new QLabel(
        QStringLiteral("&Tick the antennas whose files are to be deleted from the user's catalogue "
                       "(Space ticks the row shown):"),
        this);
    label->setWordWrap(true);
    lstAntennas = new QTreeWidget(this);
    lstAntennas->setObjectName(QStringLiteral("lstAntennas"));
    lstAntennas->setRootIsDecorated(false);
    lstAntennas->setHeaderLabels(
        {QStringLiteral("Part Number"), QStringLiteral("Band"), QStringLiteral("File")});
    label->setBuddy(lstAntennas);
    for (const TRemoveRow& row : rows_) {
        auto* item = new QTreeWidgetItem(
            lstAntennas,
            {ToQString(row.partNumber), ToQString(row.band),
             QString::fromStdString(std::filesystem::path(row.path).filename().string())});
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Unchecked);
        item->setToolTip(2, QString::fromStdString(row.path));
    }
    lstAntennas->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    if (lstAntennas->topLevelItemCount() > 0)
        lstAntennas->setCurrentItem(lstAntennas->topLevelItem(0));

    btnsOkCancel = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    btnsOkCancel->setObjectName(QStringLiteral("btnsOkCancel"));
    btnsOkCancel->button(QDialogButtonBox::Ok)->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(lstAntennas, 1);
    layout->addWidget(btnsOkCancel);

    connect(btnsOkCancel, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(btnsOkCancel, &QDialogButtonBox::rejected, this, &QDialog::reject);
    lstAntennas->setFocus();
}

std::vector<std::string> TfrmRemoveImported::CheckedFiles() const
{
    std::vector<std::string> files;
    for (int i = 0; i < lstAntennas->topLevelItemCount(); ++i)
        if (lstAntennas->topLevelItem(i)->checkState(0) == Qt::Checked)
            files.push_back(rows_[static_cast<std::size_t>(i)].path);
    return files;
}

} // namespace quv

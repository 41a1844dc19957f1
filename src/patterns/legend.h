// "Pattern Legend": one row per plotted antenna, the part number in its trace colour and the
// description beside it. Display only.
#pragma once

#include "catalogue/QuvLib.h"

#include <QDialog>

class QTableWidget;

namespace quv {

class TfrmLegend : public QDialog {
    Q_OBJECT
public:
    TfrmLegend(const TQuvFileList& plotList, QWidget* owner);

    QTableWidget* grdLegend;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Fill();
    const TQuvFileList& plotList_;
};

} // namespace quv

// "Pattern Legend": one row per plotted antenna, the part number in its trace colour and the
// description beside it. Display only.
#pragma once

#include "catalogue/QuvLib.h"
#include "reference/PatternFile.h"

#include <QDialog>

class QTableWidget;

namespace quv {

class TfrmLegend : public QDialog {
    Q_OBJECT
public:
    // With a reference pattern open, it is named on a row of its own after the antennas.
    TfrmLegend(const TQuvFileList& plotList, QWidget* owner,
               const TReferencePattern* reference = nullptr);

    QTableWidget* grdLegend;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Fill();
    const TQuvFileList& plotList_;
    const TReferencePattern* reference_;
};

} // namespace quv

// "Pattern Metrics": the plotted antennas side by side, one column each in its trace colour,
// every value measured from the cuts beside the datasheet's, with a mark where they differ by
// more than the tolerance. "Copy" puts the table on the clipboard as tab-separated text.
#pragma once

#include "catalogue/QuvLib.h"

#include <QDialog>

#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;

namespace quv {

// The table as text (record bytes, Windows-1252) so it can be built and checked without a window.
struct TMetricsCell {
    std::string text;     // "64.9", "64.9 / 65", "-" when it cannot be measured
    bool differs = false; // the datasheet value lies beyond the tolerance
};
struct TMetricsTable {
    std::vector<std::string> parts;               // column titles, in plot list order
    std::vector<std::string> titles;              // row titles
    std::vector<std::vector<TMetricsCell>> cells; // [row][antenna]
};
TMetricsTable BuildMetricsTable(const TQuvFileList& plotList);

// "Metric", TAB, the part numbers; then each row's title and cells (a differing cell ends in " !"),
// TAB-separated, every line ending in CR LF.
std::string MetricsTableText(const TMetricsTable& table);

class TfrmMetrics : public QDialog {
    Q_OBJECT
public:
    TfrmMetrics(const TQuvFileList& plotList, QWidget* owner);

    QLabel* lblNote;
    QTableWidget* grdMetrics;
    QPushButton* btnCopy;
    QPushButton* btnClose;

    void btnCopyClick();

private:
    TMetricsTable table_;
};

} // namespace quv

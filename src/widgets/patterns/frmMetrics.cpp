#include "patterns/frmMetrics.h"

#include "catalogue/Codepage.h"
#include "catalogue/NumberText.h"
#include "catalogue/PatternMetrics.h"
#include "plot/PolarPlotLib.h"
#include "ui/WindowIdioms.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace quv {

namespace {

const char* const kUnavailable = "-";

std::string Measured(const std::optional<double>& value)
{
    return value ? Format("%.1f", {*value}) : std::string(kUnavailable);
}

// The measured value, and beside it the datasheet text when the datasheet states one.
TMetricsCell Beside(const std::optional<double>& measured, const std::string& stated,
                    bool statedReadable, bool differs)
{
    TMetricsCell cell{Measured(measured), false};
    if (statedReadable && !stated.empty()) {
        cell.text += " / " + stated;
        cell.differs = differs;
    }
    return cell;
}

} // namespace

TMetricsTable BuildMetricsTable(const TQuvFileList& plotList)
{
    TMetricsTable t;
    t.titles = {"Azimuth peak direction, deg",
                "Azimuth beamwidth 3 dB, deg",
                "Azimuth beamwidth 10 dB, deg",
                "Front to back at 180 deg, dB",
                "Front to back, worst of 180 +/-30 deg, dB",
                "Azimuth ripple (omni), dB",
                "Tilt below the horizon, deg",
                "Elevation beamwidth 3 dB, deg",
                "First upper sidelobe, dB",
                "First null below the beam, dB"};
    t.cells.assign(t.titles.size(), {});
    const int count = std::min(plotList.Count(), kMaxPlotTraces);
    for (int i = 0; i < count; ++i) {
        static const TQuvFile kNoRecord;
        const TQuvFile& record = plotList.Objects(i) ? *plotList.Objects(i) : kNoRecord;
        t.parts.push_back(record.PartNumber);
        const TRecordMetrics m = MeasureRecord(record);
        const TDatasheetValues& d = m.datasheet;
        const TAzimuthMetrics az = m.azimuth.value_or(TAzimuthMetrics{});
        const TElevationMetrics el = m.elevation.value_or(TElevationMetrics{});
        // An omni antenna has no beam to measure across or behind; its ripple is what counts.
        const auto sector = [&](const std::optional<double>& v) {
            return m.omni ? std::nullopt : v;
        };
        t.cells[0].push_back({Measured(sector(az.peakDirection)), false});
        t.cells[1].push_back(Beside(sector(az.beamwidth3dB), record.AzimuthBeamwidth,
                                    d.azimuthBeamwidth.has_value(),
                                    d.azimuthBeamwidth && az.beamwidth3dB &&
                                        BeamwidthDiffers(*d.azimuthBeamwidth, *az.beamwidth3dB)));
        t.cells[2].push_back({Measured(sector(az.beamwidth10dB)), false});
        t.cells[3].push_back(
            Beside(sector(az.frontToBack), record.FrontToBackRatio, d.frontToBack.has_value(),
                   d.frontToBack && az.frontToBack &&
                       FrontToBackDiffers(*d.frontToBack, d.frontToBackAtLeast, *az.frontToBack)));
        t.cells[4].push_back({Measured(sector(az.frontToBackWorst)), false});
        t.cells[5].push_back({Measured(m.omni ? az.ripple : std::nullopt), false});
        t.cells[6].push_back(
            Beside(el.tilt, record.ElectricalDowntilt, d.tiltLow.has_value(),
                   d.tiltLow && el.tilt && TiltDiffers(*d.tiltLow, *d.tiltHigh, *el.tilt)));
        t.cells[7].push_back(Beside(el.beamwidth3dB, record.ElevationBeamwidth,
                                    d.elevationBeamwidth.has_value(),
                                    d.elevationBeamwidth && el.beamwidth3dB &&
                                        BeamwidthDiffers(*d.elevationBeamwidth, *el.beamwidth3dB)));
        t.cells[8].push_back({Measured(el.upperSidelobe), false});
        t.cells[9].push_back({Measured(el.nullFill), false});
    }
    return t;
}

std::string MetricsTableText(const TMetricsTable& table)
{
    std::string text = "Metric";
    for (const auto& part : table.parts)
        text += "\t" + part;
    text += "\r\n";
    for (std::size_t r = 0; r < table.titles.size(); ++r) {
        text += table.titles[r];
        for (const auto& cell : table.cells[r])
            text += "\t" + cell.text + (cell.differs ? " !" : "");
        text += "\r\n";
    }
    return text;
}

TfrmMetrics::TfrmMetrics(const TQuvFileList& plotList, QWidget* owner)
    : QDialog(owner), table_(BuildMetricsTable(plotList))
{
    setObjectName(QStringLiteral("frmMetrics"));
    setWindowTitle(QStringLiteral("Pattern Metrics"));
    setFont(ProgramFont());

    lblNote = new QLabel(
        QStringLiteral("Measured from the cuts / datasheet value. \"!\" marks a datasheet value "
                       "beyond its tolerance: beamwidth 10 %, front to back 3 dB, tilt 1 degree."),
        this);
    lblNote->setObjectName(QStringLiteral("lblNote"));
    lblNote->setWordWrap(true);

    const int columns = static_cast<int>(table_.parts.size());
    const int rows = static_cast<int>(table_.titles.size());
    grdMetrics = new QTableWidget(rows, columns, this);
    grdMetrics->setObjectName(QStringLiteral("grdMetrics"));
    grdMetrics->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdMetrics->setSelectionMode(QAbstractItemView::NoSelection);
    grdMetrics->setFocusPolicy(Qt::NoFocus);
    grdMetrics->verticalHeader()->setDefaultSectionSize(21);
    QFont bold = font();
    bold.setBold(true);
    for (int c = 0; c < columns; ++c) {
        auto* header = new QTableWidgetItem(ToQString(table_.parts[static_cast<std::size_t>(c)]));
        const TColor colour = TraceColors[static_cast<std::size_t>(c)];
        header->setForeground(QColor(colour.r, colour.g, colour.b));
        header->setFont(bold);
        grdMetrics->setHorizontalHeaderItem(c, header);
    }
    for (int r = 0; r < rows; ++r) {
        grdMetrics->setVerticalHeaderItem(
            r, new QTableWidgetItem(ToQString(table_.titles[static_cast<std::size_t>(r)])));
        for (int c = 0; c < columns; ++c) {
            const TMetricsCell& cell =
                table_.cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
            auto* item = new QTableWidgetItem(ToQString(cell.text + (cell.differs ? " !" : "")));
            item->setTextAlignment(Qt::AlignCenter);
            if (cell.differs) {
                item->setBackground(QColor(255, 208, 208));
                item->setToolTip(QStringLiteral("The datasheet value lies beyond the tolerance "
                                                "of the measured one"));
            }
            grdMetrics->setItem(r, c, item);
        }
    }
    grdMetrics->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grdMetrics->horizontalHeader()->setMinimumSectionSize(110);
    grdMetrics->horizontalHeader()->setStretchLastSection(true);

    btnCopy = new QPushButton(QStringLiteral("&Copy"), this);
    btnCopy->setObjectName(QStringLiteral("btnCopy"));
    btnClose = new QPushButton(QStringLiteral("Close"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setDefault(true);
    connect(btnCopy, &QPushButton::clicked, this, &TfrmMetrics::btnCopyClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnCopy);
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblNote);
    layout->addWidget(grdMetrics);
    layout->addLayout(buttons);

    // Wide enough for every column without a scroll bar.
    grdMetrics->resizeColumnsToContents();
    int width = grdMetrics->verticalHeader()->sizeHint().width() + 4;
    for (int c = 0; c < columns; ++c)
        width += std::max(grdMetrics->columnWidth(c), 110);
    const int height = grdMetrics->horizontalHeader()->sizeHint().height() + rows * 21 + 4;
    grdMetrics->setMinimumSize(std::max(width, 360), height);
    resize(sizeHint());
}

void TfrmMetrics::btnCopyClick()
{
    QGuiApplication::clipboard()->setText(ToQString(MetricsTableText(table_)));
}

} // namespace quv

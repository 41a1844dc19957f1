#include "patterns/frmLegend.h"

#include "canvas/Canvas.h"
#include "catalogue/Codepage.h"
#include "plot/PolarPlotLib.h"
#include "ui/WindowIdioms.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include <algorithm>

namespace quv {

namespace {

constexpr int kRowHeight = 28;
// A view's grid line lies inside its section; the cells keep their full size with the line
// after them.
constexpr int kGridLine = 1;

// grdLegendDrawCell: the grid is disabled, so the cells draw their own colours instead of the
// greyed ones a disabled view would use.
class TLegendCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        const QWidget* grid = option.widget;
        const QPalette& palette = grid ? grid->palette() : option.palette;
        painter->save();
        // Both columns draw and measure in the one font the dialog has.
        painter->setFont(option.font);
        painter->fillRect(option.rect, palette.color(QPalette::Active, QPalette::Base));
        const QRect text = option.rect.adjusted(2, 0, -2, 0);
        const QString value = index.data().toString();
        const QFontMetrics fm(option.font);
        if (index.column() == 0) {
            const TColor c = index.data(Qt::UserRole).toBool()
                                 ? kReferenceTraceColor
                                 : TraceColors[static_cast<std::size_t>(
                                       std::clamp(index.row(), 0, kMaxPlotTraces - 1))];
            painter->setPen(QColor(c.r, c.g, c.b));
            painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                              fm.elidedText(value, Qt::ElideRight, text.width()));
        } else {
            painter->setPen(palette.color(QPalette::Active, QPalette::Text));
            painter->setClipRect(text);
            // Centred on the row like the part number beside it, one line or two.
            painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                              WrapWithEndEllipsis(option.font, painter->device(), value,
                                                  text.width(), text.height()));
        }
        painter->restore();
    }
};

} // namespace

TfrmLegend::TfrmLegend(const TQuvFileList& plotList, QWidget* owner,
                       const TReferencePattern* reference)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint),
      plotList_(plotList), reference_(reference)
{
    setObjectName(QStringLiteral("frmLegend"));
    setWindowTitle(QStringLiteral("Pattern Legend"));
    setFont(ProgramFont());
    UseFixedDialogFrame(*this);

    grdLegend = new QTableWidget(0, 2, this);
    grdLegend->setObjectName(QStringLiteral("grdLegend"));
    grdLegend->horizontalHeader()->hide();
    grdLegend->verticalHeader()->hide();
    grdLegend->setColumnWidth(0, 118 + kGridLine);
    grdLegend->setColumnWidth(1, 352 + kGridLine);
    grdLegend->verticalHeader()->setDefaultSectionSize(kRowHeight + kGridLine);
    grdLegend->verticalHeader()->setMinimumSectionSize(1);
    grdLegend->setShowGrid(true);
    grdLegend->setFrameShape(QFrame::NoFrame);
    grdLegend->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdLegend->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdLegend->setSelectionMode(QAbstractItemView::NoSelection);
    grdLegend->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdLegend->setFocusPolicy(Qt::NoFocus);
    grdLegend->setItemDelegate(new TLegendCellDelegate(grdLegend));
    grdLegend->setEnabled(false);
    Fill();
}

void TfrmLegend::Fill()
{
    const int antennas = std::min(plotList_.Count(), kMaxPlotTraces);
    const int rows = antennas + (reference_ ? 1 : 0);
    grdLegend->setRowCount(rows);
    if (reference_) {
        // The dashed trace: the other maker's antenna, named as its file names it.
        QString text = QStringLiteral("Reference (dashed): ") + ToQString(reference_->maker);
        if (!reference_->maker.empty())
            text += QLatin1Char(' ');
        text += ToQString(reference_->name) + QStringLiteral(", ") +
                ToQString(reference_->fileName.substr(reference_->fileName.find_last_of('/') + 1));
        auto* name = new QTableWidgetItem(ToQString(reference_->name));
        name->setData(Qt::UserRole, true);
        grdLegend->setItem(antennas, 0, name);
        grdLegend->setItem(antennas, 1, new QTableWidgetItem(text));
        grdLegend->setRowHeight(antennas, kRowHeight + kGridLine);
    }
    for (int r = 0; r < antennas; ++r) {
        const TQuvFile* record = plotList_.Objects(r);
        const QString part = record ? ToQString(record->PartNumber) : QString();
        const QString description = record ? ToQString(record->Description) : QString();
        grdLegend->setItem(r, 0, new QTableWidgetItem(part));
        grdLegend->setItem(r, 1, new QTableWidgetItem(description));
        grdLegend->setRowHeight(r, kRowHeight + kGridLine);
    }
    // One pixel of grid line per row.
    const int height = rows * kGridLine + rows * kRowHeight;
    grdLegend->setGeometry(0, 0, 472, std::max(height, 1));
    setFixedSize(472, std::max(height, 1));
}

void TfrmLegend::showEvent(QShowEvent* event)
{
    Fill();
    QDialog::showEvent(event);
}

} // namespace quv

#include "mainwindow/frmMain.h"

#include "catalogue/Codepage.h"
#include "catalogue/Errors.h"
#include "catalogue/Filters.h"
#include "catalogue/NumberText.h"
#include "catalogue/QuvLib.h"
#include "catalogue/SharedLib.h"
#include "catalogue/UserFolders.h"
#include "mainwindow/CrossRefPage.h"
#include "mainwindow/SiteFitPage.h"
#include "mainwindow/frmMainPrivate.h"
#include "ui/SideBar.h"
#include "ui/WindowIdioms.h"
#include "ui/frmAbout.h"
#include "ui/frmSplash.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QThread>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <filesystem>

namespace quv {

using namespace mainwindow;

void TfrmMain::ClearSpecifications(bool resetRow)
{
    lblSpecs->setText(QStringLiteral("Specifications"));
    for (int row = 0; row < grdSpecs->rowCount(); ++row) {
        grdSpecs->setRowHeight(row, kRowHeight);
        for (int column = 0; column < 2; ++column) {
            auto* item = new QTableWidgetItem;
            item->setFlags(column == 0 ? Qt::ItemIsEnabled
                                       : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            grdSpecs->setItem(row, column, item);
        }
    }
    if (resetRow && grdSpecs->rowCount() > 0)
        grdSpecs->setCurrentCell(0, 1);
}

void TfrmMain::ShowSpecifications()
{
    const TQuvFile* record = SelectedRecord();
    if (!record)
        return;
    lblSpecs->setText(QStringLiteral("Specifications - ") + ToQString(record->PartNumber));
    const std::vector<TSpecRow> rows = SpecificationRows(*record);
    grdSpecs->setRowCount(kMaxSpecRows);
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        auto setCell = [this, row](int column, const std::string& text) {
            auto* item = new QTableWidgetItem(ToQString(text));
            item->setFlags(column == 0 ? Qt::ItemIsEnabled
                                       : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            grdSpecs->setItem(row, column, item);
        };
        setCell(0, rows[row].title);
        setCell(1, rows[row].value);
        grdSpecs->setRowHeight(row, kRowHeight);
    }
    grdSpecs->setRowCount(static_cast<int>(rows.size()));
    UpdateDescriptionRow();
}

void TfrmMain::UpdateDescriptionRow()
{
    if (grdSpecs->rowCount() < 2)
        return;
    const QTableWidgetItem* item = grdSpecs->item(1, 1);
    const QString text = item ? item->text() : QString();
    const int width = std::max(1, grdSpecs->columnWidth(1) - 2);
    const int height = grdSpecs->fontMetrics()
                           .boundingRect(QRect(0, 0, width, 100000), Qt::TextWordWrap, text)
                           .height();
    grdSpecs->setRowHeight(1, height < 20 ? kRowHeight : height + 2);
}

std::string TfrmMain::SpecsText() const
{
    std::vector<TSpecRow> rows;
    for (int row = 0; row < grdSpecs->rowCount(); ++row) {
        const QTableWidgetItem* title = grdSpecs->item(row, 0);
        const QTableWidgetItem* value = grdSpecs->item(row, 1);
        rows.push_back({title ? FromQString(title->text()) : std::string(),
                        value ? FromQString(value->text()) : std::string()});
    }
    return CopySpecsText(rows);
}

TQuvFile* TfrmMain::SelectedRecord() const
{
    const int row = SelectedRow(lbxAntennas);
    if (row < 0 || row >= catalogue_.MatchList.Count())
        return nullptr;
    return RecordAt(catalogue_.MatchList, row);
}

void TfrmMain::lbxAntennasClick()
{
    ClearSpecifications(false);
    ShowSpecifications();
    if (pgFilter->currentIndex() == 3)
        DrawQuickPreview();
    if (pgFilter->currentIndex() == 5)
        tabCrossReference->ShowCandidate(SelectedRecord());
    if (pgFilter->currentIndex() == 6)
        tabSiteFit->ShowSelected(SelectedRecord());
    BuildPlotList(chkComposite->isChecked());
    UpdateCommandStates();
}

void TfrmMain::lbxAntennasClickCheck(int row)
{
    if (CheckedCount(lbxAntennas) <= 4 || row < 0)
        return;
    const QSignalBlocker block(lbxAntennas);
    lbxAntennas->item(row)->setCheckState(Qt::Unchecked);
    // A tick that springs back without a word looks like a fault.
    StatusBar1->showMessage(QStringLiteral("At most four antennas can be plotted together"), 5000);
}

void TfrmMain::BuildPlotList(bool composite)
{
    catalogue_.PlotList.Clear();
    if (composite) {
        for (int i = 0; i < lbxAntennas->count() && catalogue_.PlotList.Count() < 4; ++i)
            if (lbxAntennas->item(i)->checkState() == Qt::Checked &&
                i < catalogue_.MatchList.Count())
                catalogue_.PlotList.Add(catalogue_.MatchList.Strings(i),
                                        RecordAt(catalogue_.MatchList, i));
    } else if (TQuvFile* record = SelectedRecord()) {
        catalogue_.PlotList.Add(record->PartNumber, record);
    }
}

void TfrmMain::UpdateCommandStates()
{
    if (lbxAntennas->count() == 0) {
        mnuExportAll->setEnabled(false);
        btnViewPatterns->setEnabled(false);
        mnuExport->setEnabled(false);
        toolPrint->setEnabled(false);
        return;
    }
    mnuExportAll->setEnabled(true);
    bool enable = false;
    if (SelectedRow(lbxAntennas) >= 0)
        enable = !chkComposite->isChecked() || AnyChecked(lbxAntennas);
    btnViewPatterns->setEnabled(enable);
    mnuExport->setEnabled(enable);
    toolPrint->setEnabled(enable);
}

void TfrmMain::btnViewPatternsClick()
{
    // Pattern window: shown modally by whoever is connected to this signal.
    if (btnViewPatterns->isEnabled())
        emit viewPatternsRequested();
}

void TfrmMain::DrawQuickPreview()
{
    const TQuvFile* record = SelectedRecord();
    if (!record) {
        imgAzimuth->clear();
        imgElevation->clear();
        return;
    }
    QImage azimuth = imgAzimuth->pixmap().toImage();
    QImage elevation = imgElevation->pixmap().toImage();
    try {
        DrawQuickPreviewImages(*record, plotType_, azimuth, elevation, Reference());
    } catch (const EQuvError& e) {
        prompt_.Inform(this, ToQString(e.what()), IPrompt::Icon::Error);
    }
    // Each image keeps its last picture unless its new drawing completed.
    if (!azimuth.isNull())
        imgAzimuth->setPixmap(QPixmap::fromImage(azimuth));
    if (!elevation.isNull())
        imgElevation->setPixmap(QPixmap::fromImage(elevation));
}

void TfrmMain::SetPlotType(TPlotType type)
{
    plotType_ = type;
    mnuRelativePower->setChecked(type == TPlotType::RelativePower);
    mnuRelativeField->setChecked(type == TPlotType::RelativeField);
}

void TfrmMain::CopyText(const std::string& text)
{
    QGuiApplication::clipboard()->setText(ToQString(text));
}

std::vector<std::string> TfrmMain::ListTexts(const QListWidget* list, bool checkedOnly) const
{
    std::vector<std::string> texts;
    for (int i = 0; i < list->count(); ++i)
        if (!checkedOnly || list->item(i)->checkState() == Qt::Checked)
            texts.push_back(FromQString(list->item(i)->text()));
    return texts;
}

} // namespace quv

#include "mainwindow/frmMain.h"

#include "catalogue/Codepage.h"
#include "catalogue/Errors.h"
#include "catalogue/Filters.h"
#include "catalogue/NumberText.h"
#include "catalogue/QuvLib.h"
#include "catalogue/SharedLib.h"
#include "catalogue/UserFolders.h"
#include "mainwindow/CrossRefPage.h"
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

namespace quv {

using namespace mainwindow;

bool TfrmMain::FormKeyDown(QKeyEvent* key, QObject* receiver)
{
    const Qt::KeyboardModifiers mods = key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier |
                                                           Qt::AltModifier | Qt::MetaModifier);
    const int k = key->key();
    if (mods == Qt::ControlModifier && k == Qt::Key_P) {
        if (toolPrint->isEnabled()) {
            emit printRequested();
            return true;
        }
    } else if (mods == Qt::ControlModifier && k == Qt::Key_E) {
        if (mnuExport->isEnabled()) {
            emit exportSelectedRequested();
            return true;
        }
    } else if (mods == Qt::ControlModifier && k == Qt::Key_M) {
        if (mnuExportAll->isEnabled()) {
            emit exportMatchesRequested();
            return true;
        }
    } else if (sideBar_->PressShortcut(*key)) {
        return true;
    } else if (mods == Qt::ShiftModifier && k == Qt::Key_F9) {
        const bool show = !mnuCreateQUV->isVisible();
        mnuBreak->setVisible(show);
        mnuCreateQUV->setVisible(show);
        mnuCreateAntenna->setVisible(show);
        return true;
    }
    if (receiver == grdSpecs && mods == Qt::ControlModifier && (k == Qt::Key_C || k == Qt::Key_X)) {
        if (const QTableWidgetItem* item = grdSpecs->currentItem())
            CopyText(FromQString(item->text()));
        return true;
    }
    if ((k == Qt::Key_Return || k == Qt::Key_Enter) && mods == Qt::NoModifier) {
        // A focused push button takes Enter itself, before the default button would.
        if (auto* button = qobject_cast<QPushButton*>(receiver)) {
            if (button->isEnabled())
                button->click();
            return true;
        }
    }
    if ((k == Qt::Key_Return || k == Qt::Key_Enter) && mods == Qt::NoModifier &&
        !qobject_cast<QToolButton*>(receiver)) {
        // The default button takes Enter first, as in a dialog.
        if (btnViewPatterns->isEnabled()) {
            btnViewPatternsClick();
            return true;
        }
        if (receiver == txtMatch) {
            FindClosestMatch();
            return true;
        }
    }
    return false;
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
         type == QEvent::MouseButtonDblClick) &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton &&
        (watched == lbxAntennas->viewport() || watched == lbxPartNumbers->viewport() ||
         watched == lbxRanges->viewport() || watched == grdSpecs->viewport())) {
        // The right button only opens the pop-up menu: it must not select an antenna, a part
        // number, a category or a cell, which would run that filter or copy another item.
        return true;
    }
    if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease) &&
        (watched == lbxAntennas->viewport() || watched == lbxPartNumbers->viewport() ||
         watched == lbxRanges->viewport())) {
        // Ctrl+click would deselect the selected item and so empty the matches or the grid;
        // in these single-choice lists it is a plain click.
        auto* mouse = static_cast<QMouseEvent*>(event);
        mouse->setModifiers(mouse->modifiers() & ~Qt::ControlModifier);
    }
    if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
         type == QEvent::MouseButtonDblClick) &&
        watched == grdSpecs->viewport()) {
        // A title cell cannot be selected: a click on it leaves the value cell selected (the one
        // Ctrl+C copies) instead of clearing the selection behind a refused move.
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        const QModelIndex index = grdSpecs->indexAt(at);
        if (index.isValid() && index.column() == 0) {
            if (type == QEvent::MouseButtonPress)
                grdSpecs->setFocus(Qt::MouseFocusReason);
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonPress && watched == lbxAntennas->viewport()) {
        rowAtPress_ = SelectedRow(lbxAntennas);
    } else if (event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this &&
            FormKeyDown(static_cast<QKeyEvent*>(event), watched))
            return true;
    } else if (event->type() == QEvent::Resize && watched == pnlImage) {
        pnlInner->move((pnlImage->width() - pnlInner->width()) / 2,
                       (pnlImage->height() - pnlInner->height()) / 2);
    } else if (event->type() == QEvent::Resize && watched == grdSpecs->viewport()) {
        grdSpecs->setColumnWidth(
            1, std::max(1, grdSpecs->viewport()->width() - kTitleColumnWidth - 2));
        UpdateDescriptionRow();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    grdSpecs->setColumnWidth(1, std::max(1, grdSpecs->viewport()->width() - kTitleColumnWidth - 2));
    UpdateDescriptionRow();
}

} // namespace quv

#include "patterns/frmPattern.h"

#include "catalogue/Codepage.h"
#include "catalogue/Errors.h"
#include "patterns/SpaceView.h"
#include "patterns/frmLegend.h"
#include "patterns/frmMetrics.h"
#include "patterns/frmRotate.h"
#include "ui/Prompt.h"
#include "ui/WindowIdioms.h"

#include <QAction>
#include <QActionGroup>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QResizeEvent>
#include <QShowEvent>
#include <QTimer>

#include <algorithm>

namespace quv {

namespace {

constexpr QSize kMinimumSize(500, 300);
constexpr QSize kOpeningSize(592, 383);

} // namespace

TPlotBox::TPlotBox(TfrmPattern* form, TPatternCutKind cut) : QWidget(form), form_(form), cut_(cut)
{}

void TPlotBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TQPainterCanvas canvas(painter);
    form_->PaintPlot(*this, canvas);
}

TfrmPattern::TfrmPattern(IPrompt& prompt, QWidget* parent, const TQuvFileList& plotList)
    : QDialog(parent), prompt_(prompt), plotList_(plotList)
{
    setObjectName(QStringLiteral("frmPattern"));
    setWindowTitle(QStringLiteral("QUV Select"));
    setFont(ProgramFont());
    setSizeGripEnabled(false);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    pnlHeader = new QWidget(this);
    pnlHeader->setObjectName(QStringLiteral("pnlHeader"));
    QPalette grey = pnlHeader->palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    grey.setColor(QPalette::WindowText, Qt::white);
    pnlHeader->setPalette(grey);
    pnlHeader->setAutoFillBackground(true);
    lblCaption = new QLabel(QStringLiteral("Antenna Pattern(s)"), pnlHeader);
    lblCaption->setObjectName(QStringLiteral("lblCaption"));
    QFont bold = lblCaption->font();
    bold.setBold(true);
    lblCaption->setFont(bold);
    lblHint = new QLabel(QStringLiteral("Right-click for menu"), pnlHeader);
    lblHint->setObjectName(QStringLiteral("lblHint"));
    lblHint->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblStatus =
        new QLabel(ToQString(std::string("Copyright \xA9 ") + std::string(kMakerName)), this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setFrameShape(QFrame::StyledPanel);
    lblStatus->setFrameShadow(QFrame::Sunken);

    imgAzimuth = new TPlotBox(this, TPatternCutKind::Azimuth);
    imgAzimuth->setObjectName(QStringLiteral("imgAzimuth"));
    imgElevation = new TPlotBox(this, TPatternCutKind::Elevation);
    imgElevation->setObjectName(QStringLiteral("imgElevation"));
    pnlSpace = new TSpaceView(plotList_, this);
    pnlSpace->hide();

    popmnuPatterns = new QMenu(this);
    popmnuPatterns->setObjectName(QStringLiteral("popmnuPatterns"));
    auto add = [this](QMenu* menu, const char* name, const QString& caption, QKeySequence key) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        if (!key.isEmpty()) {
            action->setShortcut(key);
            addAction(action); // the shortcut works while the menu is closed
        }
        return action;
    };
    mnuRelativePower =
        add(popmnuPatterns, "mnuRelativePower", QStringLiteral("Relative P&ower (Decibels)"), {});
    mnuRelativeField =
        add(popmnuPatterns, "mnuRelativeField", QStringLiteral("Relative &Field (Amplitude)"), {});
    mnuRelativePower->setCheckable(true);
    mnuRelativeField->setCheckable(true);
    popmnuPatterns->addSeparator();
    mnuPolarView = add(popmnuPatterns, "mnuPolarView", QStringLiteral("Polar Plo&ts"),
                       QKeySequence(Qt::CTRL | Qt::Key_1));
    mnu3DView =
        add(popmnuPatterns, "mnu3DView", QStringLiteral("&3D"), QKeySequence(Qt::CTRL | Qt::Key_2));
    mnuFootprintView = add(popmnuPatterns, "mnuFootprintView", QStringLiteral("Foot&print"),
                           QKeySequence(Qt::CTRL | Qt::Key_3));
    auto* views = new QActionGroup(this);
    for (QAction* view : {mnuPolarView, mnu3DView, mnuFootprintView}) {
        view->setCheckable(true);
        views->addAction(view);
        connect(view, &QAction::triggered, this, [this, view] { ShowView(view); });
    }
    mnuPolarView->setChecked(true);
    popmnuPatterns->addSeparator();
    mnuRotate = add(popmnuPatterns, "mnuRotate", QStringLiteral("&Rotate"),
                    QKeySequence(Qt::CTRL | Qt::Key_R));
    popmnuPatterns->addSeparator();
    mnuLegend = add(popmnuPatterns, "mnuLegend", QStringLiteral("&Legend"),
                    QKeySequence(Qt::CTRL | Qt::Key_L));
    // The plotted antennas' measured metrics beside their datasheet values.
    QAction* mnuMetrics = add(popmnuPatterns, "mnuMetrics", QStringLiteral("Pattern &Metrics"),
                              QKeySequence(Qt::CTRL | Qt::Key_I));
    connect(mnuMetrics, &QAction::triggered, this, [this] {
        TfrmMetrics metrics(plotList_, this);
        prompt_.ExecDialog(metrics);
    });
    popmnuPatterns->addSeparator();
    mnuCopyToClipboard = popmnuPatterns->addMenu(QStringLiteral("&Copy to Clipboard"));
    mnuCopyToClipboard->setObjectName(QStringLiteral("mnuCopyToClipboard"));
    Azimuth1 = add(mnuCopyToClipboard, "Azimuth1", QStringLiteral("&Azimuth"),
                   QKeySequence(Qt::CTRL | Qt::Key_A));
    Elevation1 = add(mnuCopyToClipboard, "Elevation1", QStringLiteral("&Elevation"),
                     QKeySequence(Qt::CTRL | Qt::Key_E));
    popmnuPatterns->addSeparator();
    Print1 =
        add(popmnuPatterns, "Print1", QStringLiteral("&Print"), QKeySequence(Qt::CTRL | Qt::Key_P));
    popmnuPatterns->addSeparator();
    mnuClose = add(popmnuPatterns, "mnuClose", QStringLiteral("C&lose"), {});

    connect(mnuRelativePower, &QAction::triggered, this, &TfrmPattern::mnuRelativePowerClick);
    connect(mnuRelativeField, &QAction::triggered, this, &TfrmPattern::mnuRelativeFieldClick);
    connect(mnuRotate, &QAction::triggered, this, &TfrmPattern::mnuRotateClick);
    connect(mnuLegend, &QAction::triggered, this, &TfrmPattern::ShowLegend);
    connect(Azimuth1, &QAction::triggered, this, [this] { CopyPlotToClipboard(*imgAzimuth); });
    connect(Elevation1, &QAction::triggered, this, [this] { CopyPlotToClipboard(*imgElevation); });
    connect(Print1, &QAction::triggered, this, &TfrmPattern::printRequested);
    connect(mnuClose, &QAction::triggered, this, &QDialog::reject);
    connect(popmnuPatterns, &QMenu::aboutToShow, this, &TfrmPattern::popmnuPatternsPopup);

    const QSize area = screen() ? screen()->availableGeometry().size() : kOpeningSize;
    setMinimumSize(FitToScreen(kMinimumSize, area));
    resize(FitToScreen(kOpeningSize, area));
    FormResize();
    popmnuPatternsPopup();
}

int TfrmPattern::Execute()
{
    return prompt_.ExecDialog(*this);
}

void TfrmPattern::FormResize()
{
    const int h = width() / 2;
    // Box heights follow the outer height, so a framed window leaves room for its caption bar.
    const int outerHeight = isVisible() ? frameGeometry().height() : height();
    const int boxHeight = outerHeight - 150;
    imgAzimuth->setGeometry(10, 70, h - 20, boxHeight);
    imgElevation->setGeometry(h + 10, 70, h - 20, boxHeight);
    pnlSpace->setGeometry(10, 30, width() - 20, std::max(0, height() - 60));
    pnlHeader->setGeometry(0, 0, width(), 20);
    lblCaption->setGeometry(6, 0, width() / 2, 20);
    lblHint->setGeometry(width() / 2, 0, width() / 2 - 6, 20);
    lblStatus->setGeometry(0, height() - 20, width(), 20);
}

void TfrmPattern::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (openingSize_ && size() != requestedSize_)
        openingSize_ = false;
    FormResize();
}

// Sizes are outer sizes, but a window manager tells the frame around the window only some time
// after the window is mapped. Apply them again whenever the frame turns out different.
void TfrmPattern::SyncOuterSize()
{
    if (!isVisible())
        return;
    const QSize frame = frameGeometry().size() - size();
    if (frame == frame_)
        return;
    frame_ = frame;
    // Outer sizes, but never larger than the screen (a scaled one can be smaller than them).
    const QSize area = screen() ? screen()->availableGeometry().size() : kOpeningSize;
    setMinimumSize(FitToScreen(kMinimumSize, area) - frame);
    if (openingSize_ && !isMaximized() && !isFullScreen()) {
        requestedSize_ = FitToScreen(kOpeningSize, area) - frame;
        resize(requestedSize_);
        if (const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr) {
            QRect outer = frameGeometry();
            outer.moveCenter(owner->frameGeometry().center());
            move(outer.topLeft());
        }
    }
    FormResize();
}

bool TfrmPattern::event(QEvent* event)
{
    const bool result = QDialog::event(event);
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowActivate:
    case QEvent::ActivationChange:
        SyncOuterSize();
        break;
    default:
        break;
    }
    return result;
}

void TfrmPattern::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        if (!sizedOnce_) {
            sizedOnce_ = true;
            openingSize_ = true;
        }
        frame_ = QSize(-1, -1);
        RotationAngles = kNoRotation;
        reported_.clear();
        pnlSpace->Refresh();
        popmnuPatternsPopup();
    }
    QDialog::showEvent(event);
    SyncOuterSize();
    FormResize();
}

void TfrmPattern::hideEvent(QHideEvent* event)
{
    // A rotation never outlives one showing; minimising is not closing.
    if (!event->spontaneous()) {
        RotationAngles = kNoRotation;
        openingSize_ = false;
    }
    QDialog::hideEvent(event);
}

void TfrmPattern::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_PageUp:
        showMaximized();
        return;
    case Qt::Key_PageDown:
        showNormal();
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
        if (pnlSpace->isVisible() && pnlSpace->TurnKey(event->key()))
            return;
        QDialog::keyPressEvent(event);
        return;
    default:
        QDialog::keyPressEvent(event); // Escape closes
    }
}

void TfrmPattern::ShowView(QAction* view)
{
    view->setChecked(true);
    const bool polar = view == mnuPolarView;
    imgAzimuth->setVisible(polar);
    imgElevation->setVisible(polar);
    pnlSpace->setVisible(!polar);
    // The 3D and footprint pictures always show power in decibels; rotating and copying act on
    // the polar plots, which those views do not show.
    for (QAction* polarOnly : {mnuRelativeField, mnuRotate, Azimuth1, Elevation1})
        polarOnly->setEnabled(polar);
    mnuCopyToClipboard->setEnabled(polar);
    if (!polar) {
        pnlSpace->SetMode(view == mnu3DView ? TSpaceView::TMode::Pattern3D
                                            : TSpaceView::TMode::Footprint);
        pnlSpace->Refresh();
        pnlSpace->imgSpace->setFocus();
    }
}

void TfrmPattern::contextMenuEvent(QContextMenuEvent* event)
{
    popmnuPatterns->popup(event->globalPos());
}

void TfrmPattern::popmnuPatternsPopup()
{
    mnuRelativePower->setChecked(PlotType == TPlotType::RelativePower);
    mnuRelativeField->setChecked(PlotType == TPlotType::RelativeField);
}

void TfrmPattern::ChoosePlotType(TPlotType plotType)
{
    emit plotTypeChosen(plotType);
    PlotType = plotType;
    popmnuPatternsPopup();
    imgAzimuth->update();
    imgElevation->update();
}

void TfrmPattern::mnuRelativePowerClick()
{
    ChoosePlotType(TPlotType::RelativePower);
}

void TfrmPattern::mnuRelativeFieldClick()
{
    ChoosePlotType(TPlotType::RelativeField);
}

void TfrmPattern::mnuRotateClick()
{
    TfrmRotate dialog(RotationAngles, plotList_, this);
    if (dialog.Execute(prompt_)) {
        RotationAngles = dialog.Angles();
        imgAzimuth->update(); // elevation traces do not rotate
    }
}

void TfrmPattern::ShowLegend()
{
    TfrmLegend legend(plotList_, this, Reference);
    prompt_.ExecDialog(legend);
}

void TfrmPattern::PaintPlot(TPlotBox& box, TCanvas& canvas)
{
    try {
        DrawBoxPlot(canvas, box.width(), box.height(), plotList_, PlotType, box.Cut(),
                    RotationAngles, Reference);
    } catch (const EQuvError& e) {
        ReportDrawError(e.what());
    }
}

void TfrmPattern::ReportDrawError(const std::string& message)
{
    // Every repaint would fail again; the planner needs to hear it once, and never from inside
    // a paint.
    if (!reported_.insert(message).second)
        return;
    QTimer::singleShot(0, this, [this, message] {
        prompt_.Inform(this, ToQString(message), IPrompt::Icon::Error);
    });
}

QImage TfrmPattern::PlotImage(const TPlotBox& box) const
{
    return PlotBoxImage(box.width(), box.height(), plotList_, PlotType, box.Cut(), RotationAngles,
                        Reference);
}

void TfrmPattern::CopyPlotToClipboard(TPlotBox& box)
{
    try {
        const QImage image = PlotImage(box);
        QGuiApplication::clipboard()->setImage(image);
    } catch (const EQuvError& e) {
        prompt_.Inform(this, ToQString(e.what()), IPrompt::Icon::Error);
    }
}

} // namespace quv

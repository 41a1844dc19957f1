// The pattern window, its rotation dialog and legend, offscreen with a scripted prompt.
#include "patterns/frameAngle.h"
#include "patterns/frmLegend.h"
#include "patterns/frmPattern.h"
#include "patterns/frmRotate.h"
#include "support/ScriptedPrompt.h"
#include "support/TestApp.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace quv;
using quv::test::TScriptedPrompt;

namespace {

// Sizes the window by its outer size, frame included, as the layout rules count it.
void ResizeOuter(QWidget& w, int width, int height)
{
    const QSize frame = w.frameGeometry().size() - w.size();
    w.resize(width - frame.width(), height - frame.height());
}

struct TWindowFixture : ::testing::Test {
    TScriptedPrompt prompt;
    TQuvFileList list;
    std::vector<std::unique_ptr<TQuvFile>> records;

    TWindowFixture() { quv::test::EnsureQtApp(); }

    void Add(const std::string& part, const std::string& level = "0", int badIndex = -1)
    {
        auto r = std::make_unique<TQuvFile>();
        r->PartNumber = part;
        r->Description = "Panel antenna " + part;
        for (int i = 0; i <= 360; ++i) {
            r->Azimuth.Append(i == badIndex ? "x" : level);
            r->Elevation.Append(level);
        }
        list.Add(part, r.get());
        records.push_back(std::move(r));
    }
};

std::vector<TPoint> FirstPoints(const TRecordingCanvas& canvas)
{
    std::vector<TPoint> out;
    for (const auto& c : canvas.Of(TRecordingCanvas::Op::Polyline))
        out.push_back(c.points[0]);
    return out;
}

} // namespace

TEST_F(TWindowFixture, BoxesFollowTheWindowSize)
{
    TfrmPattern frm(prompt, nullptr, list);
    EXPECT_EQ(frm.windowTitle(), QStringLiteral("QUV Select"));
    frm.show();
    EXPECT_EQ(frm.frameGeometry().size(), QSize(592, 383));
    EXPECT_EQ(frm.minimumSize() + (frm.frameGeometry().size() - frm.size()), QSize(500, 300));
    EXPECT_EQ(frm.imgAzimuth->geometry(), QRect(10, 70, frm.width() / 2 - 20, 233));

    // The minimum outer height; the client width of 584.
    ResizeOuter(frm, 584 + frm.frameGeometry().width() - frm.width(), 300);
    ASSERT_EQ(frm.width(), 584);
    EXPECT_EQ(frm.imgAzimuth->geometry(), QRect(10, 70, 272, 150));
    EXPECT_EQ(frm.imgElevation->geometry(), QRect(302, 70, 272, 150));
}

TEST_F(TWindowFixture, PaintDrawsTheBoxPlotWithAzimuthRotationOnly)
{
    Add("A");
    Add("B");
    TfrmPattern frm(prompt, nullptr, list);
    frm.show();
    // Boxes 272 x 150: centre (136, 75), diameter 124, outer radius 62.
    ResizeOuter(frm, 584 + frm.frameGeometry().width() - frm.width(), 300);
    frm.RotationAngles = {0, 90, 0, 0};
    TRecordingCanvas azimuth;
    frm.PaintPlot(*frm.imgAzimuth, azimuth);
    EXPECT_EQ(FirstPoints(azimuth), (std::vector<TPoint>{{198, 75}, {136, 13}}));
    TRecordingCanvas elevation;
    frm.PaintPlot(*frm.imgElevation, elevation);
    EXPECT_EQ(FirstPoints(elevation), (std::vector<TPoint>{{198, 75}, {198, 75}}));
}

TEST_F(TWindowFixture, PlotTypeItemsRunTheMainCommandFirst)
{
    TfrmPattern frm(prompt, nullptr, list);
    std::vector<TPlotType> chosen;
    QObject::connect(&frm, &TfrmPattern::plotTypeChosen, [&](TPlotType t) { chosen.push_back(t); });
    EXPECT_TRUE(frm.mnuRelativePower->isChecked());

    frm.mnuRelativeField->trigger();
    EXPECT_EQ(frm.PlotType, TPlotType::RelativeField);
    EXPECT_TRUE(frm.mnuRelativeField->isChecked());
    EXPECT_FALSE(frm.mnuRelativePower->isChecked());

    frm.mnuRelativePower->trigger();
    EXPECT_EQ(chosen, (std::vector<TPlotType>{TPlotType::RelativeField, TPlotType::RelativePower}));
    EXPECT_EQ(frm.PlotType, TPlotType::RelativePower);

    // Opening the menu shows whatever the main window handed over meanwhile.
    frm.PlotType = TPlotType::RelativeField;
    emit frm.popmnuPatterns->aboutToShow();
    EXPECT_TRUE(frm.mnuRelativeField->isChecked());
    EXPECT_FALSE(frm.mnuRelativePower->isChecked());
}

TEST_F(TWindowFixture, RotationDialogSetsAnglesOnOkOnlyAndTheyDieWithTheShowing)
{
    Add("A");
    Add("B");
    TfrmPattern frm(prompt, nullptr, list);
    frm.show();

    prompt.dialogAnswers.push_back([](QDialog& d) {
        auto& dialog = dynamic_cast<TfrmRotate&>(d);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Pattern Rotation Angles"));
        // Wide enough for its whole title in a bold title bar face, buttons at the right.
        const QFont titleFont(QStringLiteral("DejaVu Sans"), 10, QFont::Bold);
        EXPECT_GE(dialog.width(),
                  QFontMetrics(titleFont).horizontalAdvance(dialog.windowTitle()) + 80);
        EXPECT_GE(dialog.width(), 259);
        EXPECT_EQ(dialog.height(), 2 * 65 + 20);
        EXPECT_EQ(dialog.btnOK->geometry(), QRect(dialog.width() - 83, 15, 75, 25));
        EXPECT_TRUE(dialog.btnOK->isDefault());
        EXPECT_EQ(dialog.frames.size(), 2u);
        TframeAngle* second = dialog.findChild<TframeAngle*>(QStringLiteral("AngleBox1"));
        EXPECT_EQ(second, dialog.frames[1]);
        EXPECT_EQ(second->geometry(), QRect(10, 75, 153, 65));
        EXPECT_EQ(second->title(), QStringLiteral(" B "));
        EXPECT_EQ(second->spnAngle->minimum(), -360);
        EXPECT_EQ(second->spnAngle->maximum(), 360);
        second->spnAngle->setValue(90);
        dialog.btnOK->click();
        return dialog.result();
    });
    frm.mnuRotate->trigger();
    EXPECT_EQ(frm.RotationAngles, (TRotationAngles{0, 90, 0, 0}));

    // Cancel keeps the angles; the dialog starts from the current ones.
    prompt.dialogAnswers.push_back([](QDialog& d) {
        auto& dialog = dynamic_cast<TfrmRotate&>(d);
        EXPECT_EQ(dialog.frames[1]->Angle(), 90);
        dialog.frames[0]->SetAngle(-45);
        dialog.btnCancel->click();
        return dialog.result();
    });
    frm.mnuRotate->trigger();
    EXPECT_EQ(frm.RotationAngles, (TRotationAngles{0, 90, 0, 0}));

    // Enter in a spin edit confirms the dialog.
    prompt.dialogAnswers.push_back([](QDialog& d) {
        auto& dialog = dynamic_cast<TfrmRotate&>(d);
        dialog.show();
        dialog.frames[0]->SetAngle(-360);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(dialog.frames[0]->spnAngle, &enter);
        return dialog.result();
    });
    frm.mnuRotate->trigger();
    EXPECT_EQ(frm.RotationAngles, (TRotationAngles{-360, 90, 0, 0}));

    frm.hide();
    EXPECT_EQ(frm.RotationAngles, kNoRotation);
    frm.RotationAngles = {5, 5, 5, 5};
    frm.show();
    EXPECT_EQ(frm.RotationAngles, kNoRotation);
}

TEST_F(TWindowFixture, LegendListsThePlotListInTraceOrder)
{
    for (const char* part : {"A", "B", "C", "D"})
        Add(part);
    TfrmPattern frm(prompt, nullptr, list);
    bool ran = false;
    prompt.dialogAnswers.push_back([&](QDialog& d) {
        auto& legend = dynamic_cast<TfrmLegend&>(d);
        EXPECT_EQ(legend.windowTitle(), QStringLiteral("Pattern Legend"));
        EXPECT_TRUE(legend.windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_EQ(legend.size(), QSize(472, 4 + 4 * 28));
        EXPECT_FALSE(legend.grdLegend->isEnabled());
        EXPECT_EQ(legend.grdLegend->rowCount(), 4);
        // Cells of 118, 352 and 28 pixels, each followed by its grid line, fill the client.
        const QImage grid = legend.grdLegend->grab().toImage();
        EXPECT_EQ(grid.size(), QSize(472, 4 * 29));
        const QColor cellColour = grid.pixelColor(110, 2);
        const QColor lineColour = grid.pixelColor(118, 2);
        EXPECT_NE(cellColour, lineColour);
        EXPECT_EQ(grid.pixelColor(117, 2), cellColour);
        EXPECT_EQ(grid.pixelColor(471, 2), lineColour);
        EXPECT_EQ(grid.pixelColor(110, 27), cellColour);
        EXPECT_EQ(grid.pixelColor(110, 28), lineColour);
        EXPECT_EQ(grid.pixelColor(300, 4 * 29 - 1), lineColour);
        // Part number and description sit on one middle line of their row.
        const auto inkMiddle = [&](int left, int right) {
            int top = 28, bottom = -1;
            for (int y = 0; y < 28; ++y)
                for (int x = left; x < right; ++x)
                    if (grid.pixelColor(x, y) != cellColour) {
                        top = std::min(top, y);
                        bottom = std::max(bottom, y);
                    }
            return (top + bottom) / 2.0;
        };
        EXPECT_NEAR(inkMiddle(2, 116), inkMiddle(121, 470), 1.0);
        EXPECT_EQ(legend.grdLegend->item(2, 0)->text(), QStringLiteral("C"));
        EXPECT_EQ(legend.grdLegend->item(3, 1)->text(), QStringLiteral("Panel antenna D"));
        ran = true;
        return int(QDialog::Accepted);
    });
    frm.mnuLegend->trigger();
    EXPECT_TRUE(ran);
}

TEST_F(TWindowFixture, CopyPutsABitmapOfTheBoxSizeOnTheClipboard)
{
    Add("A");
    TfrmPattern frm(prompt, nullptr, list);
    frm.show();
    ResizeOuter(frm, 584 + frm.frameGeometry().width() - frm.width(), 300);
    frm.Elevation1->trigger();
    const QImage copied = QGuiApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), QSize(272, 150));
    EXPECT_EQ(copied.pixelColor(0, 0), QColor(Qt::white));
    // The 0 dB trace crosses the outer ring at 3 o'clock: (136 + 62, 75).
    EXPECT_EQ(copied.pixelColor(198, 75), QColor(0, 0, 255));
}

TEST_F(TWindowFixture, BadLevelIsReportedOnceAndTheWindowStaysUsable)
{
    Add("GOOD");
    Add("BAD", "0", 100);
    TfrmPattern frm(prompt, nullptr, list);
    frm.show();
    frm.imgAzimuth->grab();
    frm.imgAzimuth->grab();
    QCoreApplication::processEvents();
    EXPECT_EQ(prompt.Messages(),
              QStringList{QStringLiteral("'x' is not a valid floating point value")});
    ASSERT_FALSE(prompt.entries.empty());
    EXPECT_EQ(prompt.entries.back().icon, IPrompt::Icon::Error);
    EXPECT_TRUE(frm.isVisible());

    // The elevation cut is fine and still drawn; a copy of the bad plot tells the user at once.
    TRecordingCanvas elevation;
    frm.PaintPlot(*frm.imgElevation, elevation);
    EXPECT_EQ(elevation.Of(TRecordingCanvas::Op::Polyline).size(), 2u);
    frm.Azimuth1->trigger();
    EXPECT_EQ(prompt.Messages().size(), 2);
}

TEST_F(TWindowFixture, MenuKeysAndCommands)
{
    TfrmPattern frm(prompt, nullptr, list);
    frm.show();
    EXPECT_EQ(frm.mnuRotate->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    EXPECT_EQ(frm.mnuLegend->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
    EXPECT_EQ(frm.Azimuth1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_A));
    EXPECT_EQ(frm.Elevation1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
    EXPECT_EQ(frm.Print1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));

    int prints = 0;
    QObject::connect(&frm, &TfrmPattern::printRequested, [&] { ++prints; });
    frm.Print1->trigger();
    EXPECT_EQ(prints, 1);

    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(20, 100),
                            frm.mapToGlobal(QPoint(20, 100)));
    QCoreApplication::sendEvent(&frm, &click);
    EXPECT_TRUE(frm.popmnuPatterns->isVisible());
    frm.popmnuPatterns->hide();
    // Anywhere means over the plots and the status line too.
    const std::vector<QWidget*> places{frm.imgElevation, frm.lblStatus};
    for (QWidget* w : places) {
        const QPoint at(5, 5);
        QContextMenuEvent over(QContextMenuEvent::Mouse, at, w->mapToGlobal(at));
        QCoreApplication::sendEvent(w, &over);
        EXPECT_TRUE(frm.popmnuPatterns->isVisible());
        frm.popmnuPatterns->hide();
    }

    QKeyEvent pageUp(QEvent::KeyPress, Qt::Key_PageUp, Qt::NoModifier);
    QCoreApplication::sendEvent(&frm, &pageUp);
    EXPECT_TRUE(frm.isMaximized());
    QKeyEvent pageDown(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    QCoreApplication::sendEvent(&frm, &pageDown);
    EXPECT_FALSE(frm.isMaximized());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&frm, &escape);
    EXPECT_FALSE(frm.isVisible());
}

TEST_F(TWindowFixture, RotationDialogOpensReadyForATypedAngleAndEnter)
{
    Add("A");
    Add("B");
    TfrmPattern frm(prompt, nullptr, list);
    frm.show();
    // Typed keys go to the widget that has the focus when the dialog opens.
    auto type = [](QDialog& dialog, const QString& keys) {
        for (const QChar c : keys) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_0 + (c.unicode() - u'0'), Qt::NoModifier,
                          QString(c));
            QCoreApplication::sendEvent(dialog.focusWidget(), &key);
        }
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(dialog.focusWidget(), &enter);
    };
    const struct {
        QString keys;
        TRotationAngles expected;
    } cases[] = {{QStringLiteral("90"), {90, 0, 0, 0}}, {QStringLiteral("270"), {270, 0, 0, 0}}};
    for (const auto& c : cases) {
        prompt.dialogAnswers.push_back([&](QDialog& d) {
            auto& dialog = dynamic_cast<TfrmRotate&>(d);
            dialog.show();
            EXPECT_EQ(dialog.focusWidget(), dialog.frames[0]->spnAngle);
            EXPECT_EQ(dialog.frames[0]->spnAngle->findChild<QLineEdit*>()->selectedText(),
                      QString::number(frm.RotationAngles[0]));
            type(dialog, c.keys);
            return dialog.result();
        });
        frm.mnuRotate->trigger();
        EXPECT_EQ(frm.RotationAngles, c.expected) << c.keys.toStdString();
    }
}

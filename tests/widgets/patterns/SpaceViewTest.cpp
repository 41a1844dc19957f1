// The pattern window's 3D and footprint views: turning the 3D view with the mouse and keys
// (coarse while turning), the footprint following the mast height, and the fourth print job.
#include "patterns/SpaceView.h"
#include "dialogs/frmPrint.h"
#include "patterns/frmPattern.h"
#include "support/ScriptedPrompt.h"
#include "support/TestAntennas.h"
#include "support/TestApp.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPrinter>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <algorithm>

#include <memory>

using namespace quv;
using namespace quvtest;

namespace {

struct SpaceViewTest : ::testing::Test {
    test::TScriptedPrompt prompt;
    TQuvFileList list;
    std::vector<std::unique_ptr<TQuvFile>> records;

    SpaceViewTest()
    {
        test::EnsureQtApp();
        Add("TILT6", 6);
        Add("TILT2", 2);
    }
    void Add(const std::string& part, double tilt)
    {
        auto r = std::make_unique<TQuvFile>();
        r->LoadFromBytes("[HEADER]\r\nPart Number=" + part + "\r\n\r\n" +
                             PointsSection(CutsFromTruth([tilt](double a, double e) {
                                 return ArrayElementTruth(a, e, tilt);
                             })),
                         part + ".quv");
        list.Add(part, r.get());
        records.push_back(std::move(r));
    }
};

void Mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void Key(QWidget* w, int key)
{
    QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

} // namespace

TEST_F(SpaceViewTest, ThreeDTurnsCoarselyAndSettlesAndFootprintFollowsTheMast)
{
    TfrmPattern frm(prompt, nullptr, list);
    frm.show();
    frm.mnu3DView->trigger();
    EXPECT_FALSE(frm.imgAzimuth->isVisible());
    TSpaceView& view = *frm.pnlSpace;
    ASSERT_TRUE(view.isVisible());
    EXPECT_EQ(view.MeshStep(), kFullMeshStep);

    const TViewAngle start = view.View();
    QWidget* box = view.imgSpace;
    Mouse(box, QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton);
    Mouse(box, QEvent::MouseMove, {140, 80}, Qt::LeftButton);
    EXPECT_EQ(view.MeshStep(), kCoarseMeshStep);
    EXPECT_NEAR(view.View().elevation, start.elevation - 10, 1e-9);
    EXPECT_NE(view.View().azimuth, start.azimuth);
    Mouse(box, QEvent::MouseButtonRelease, {140, 80}, Qt::NoButton);
    EXPECT_EQ(view.MeshStep(), kFullMeshStep);
    // Arrow keys reach the view from the window; Home brings the first view back.
    Key(&frm, Qt::Key_Up);
    EXPECT_EQ(view.MeshStep(), kCoarseMeshStep);
    Key(&frm, Qt::Key_Home);
    EXPECT_EQ(view.View(), TViewAngle{});
    EXPECT_EQ(view.MeshStep(), kFullMeshStep);
    TRecordingCanvas both;
    view.Paint(both, 800, 400);
    EXPECT_EQ(both.Of(TRecordingCanvas::Op::Image).size(), 2u); // side by side

    frm.mnuFootprintView->trigger();
    EXPECT_EQ(view.Mode(), TSpaceView::TMode::Footprint);
    const auto maximumX = [&view] {
        TRecordingCanvas canvas;
        view.Paint(canvas, 800, 450);
        const auto lines = canvas.Of(TRecordingCanvas::Op::Polyline);
        EXPECT_EQ(lines.size(), 2u); // every plotted antenna in its colour
        EXPECT_EQ(lines.back().pen.color, TraceColors[1]);
        return canvas.Of(TRecordingCanvas::Op::Ellipse).front().rect.left;
    };
    const int at30 = maximumX();
    view.spnHeight->setValue(60); // a higher mast puts the strongest signal further out
    EXPECT_GT(maximumX(), at30);
    // The slope and the method reach the footprint, and the picture says what loss it includes.
    const auto texts = [&view] {
        TRecordingCanvas canvas;
        view.Paint(canvas, 800, 450);
        std::vector<std::string> all;
        for (const auto& call : canvas.Of(TRecordingCanvas::Op::TextOut))
            all.push_back(call.text);
        return all;
    };
    const auto has = [](const std::vector<std::string>& all, const std::string& text) {
        return std::find(all.begin(), all.end(), text) != all.end();
    };
    EXPECT_TRUE(view.spnSlope->isEnabled());
    EXPECT_TRUE(view.cbxMethod->isEnabled());
    EXPECT_TRUE(has(texts(), "free-space loss included"));
    view.spnSlope->setValue(35);
    EXPECT_EQ(view.Geometry().slope, 35.0);
    EXPECT_TRUE(has(texts(), "path loss 35 dB/decade included"));
    view.cbxMethod->setCurrentIndex(view.cbxMethod->findText(QStringLiteral("projection")));
    EXPECT_EQ(view.Method(), T3DMethod::Projection);
    frm.mnu3DView->trigger();
    EXPECT_FALSE(view.spnSlope->isEnabled());
    frm.mnuFootprintView->trigger();

    QPrinter printer;
    TfrmPrint dialog(prompt, printer, list);
    dialog.rbSpace->click();
    EXPECT_EQ(dialog.PrintJob, TPrintJob::SpaceOnly);
}

TEST_F(SpaceViewTest, ControlsFitAndRelativeFieldIsOfferedOnlyOnThePolarPlots)
{
    Add("AP17-1880/065-VARIABLE", 4); // a long part number in the antenna box
    TfrmPattern frm(prompt, nullptr, list);
    frm.show();
    TSpaceView& view = *frm.pnlSpace;
    for (QAction* mode : {frm.mnu3DView, frm.mnuFootprintView}) {
        mode->trigger();
        for (QAction* polarOnly :
             {frm.mnuRelativeField, frm.mnuRotate, frm.Azimuth1, frm.Elevation1})
            EXPECT_FALSE(polarOnly->isEnabled()) << polarOnly->objectName().toStdString();
        // At the smallest window no control covers another, and a picture remains.
        for (const QSize size : {frm.minimumSize(), QSize(592, 383)}) {
            frm.resize(size);
            QApplication::processEvents();
            SCOPED_TRACE(size.width());
            std::vector<QRect> boxes;
            for (QWidget* w :
                 view.pnlControls->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
                const QRect box = w->geometry();
                EXPECT_LE(box.right(), view.pnlControls->width()) << w->objectName().toStdString();
                for (const QRect& other : boxes)
                    EXPECT_FALSE(box.intersects(other)) << w->objectName().toStdString();
                boxes.push_back(box);
            }
            EXPECT_GT(view.imgSpace->height(), 100);
        }
        // At the opening size the antenna and radius boxes show their contents whole.
        EXPECT_GE(view.cbxAntenna->width(), view.cbxAntenna->sizeHint().width());
        EXPECT_GE(view.spnRadius->width(), view.spnRadius->sizeHint().width());
    }
    frm.mnuPolarView->trigger();
    for (QAction* polarOnly : {frm.mnuRelativeField, frm.mnuRotate, frm.Azimuth1, frm.Elevation1})
        EXPECT_TRUE(polarOnly->isEnabled()) << polarOnly->objectName().toStdString();
}

// The pattern window's 3D and footprint views: switching to them, turning the 3D view with the
// mouse and keys (coarse while turning), the footprint following the mast height, and the
// print dialog's fourth job.
#include "patterns/SpaceView.h"
#include "dialogs/frmPrint.h"
#include "patterns/frmPattern.h"
#include "support/ScriptedPrompt.h"
#include "support/TestAntennas.h"
#include "support/TestApp.h"

#include <QAction>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPrinter>
#include <QRadioButton>

#include <gtest/gtest.h>

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

TEST_F(SpaceViewTest, ThreeDViewTurnsCoarselyAndSettles)
{
    TfrmPattern frm(prompt, nullptr, list);
    frm.show();
    frm.mnu3DView->trigger();
    EXPECT_TRUE(frm.pnlSpace->isVisible());
    EXPECT_FALSE(frm.imgAzimuth->isVisible());
    TSpaceView& view = *frm.pnlSpace;
    EXPECT_EQ(view.Mode(), TSpaceView::TMode::Pattern3D);
    EXPECT_EQ(view.MeshStep(), kFullMeshStep);

    const TViewAngle start = view.View();
    QWidget* box = view.imgSpace;
    Mouse(box, QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton);
    Mouse(box, QEvent::MouseMove, {140, 80}, Qt::LeftButton);
    EXPECT_EQ(view.MeshStep(), kCoarseMeshStep);
    EXPECT_NE(view.View(), start);
    EXPECT_NEAR(view.View().elevation, start.elevation - 10, 1e-9);
    Mouse(box, QEvent::MouseButtonRelease, {140, 80}, Qt::NoButton);
    EXPECT_EQ(view.MeshStep(), kFullMeshStep);

    // Arrow keys reach the view from the window; Home brings the first view back.
    Key(&frm, Qt::Key_Up);
    EXPECT_EQ(view.MeshStep(), kCoarseMeshStep);
    Key(&frm, Qt::Key_Home);
    EXPECT_EQ(view.View(), TViewAngle{});
    EXPECT_EQ(view.MeshStep(), kFullMeshStep);

    TRecordingCanvas canvas;
    view.Paint(canvas, 500, 400);
    EXPECT_EQ(canvas.Of(TRecordingCanvas::Op::Image).size(), 1u);

    frm.mnuPolarView->trigger();
    EXPECT_TRUE(frm.imgAzimuth->isVisible());
    EXPECT_FALSE(frm.pnlSpace->isVisible());
}

TEST_F(SpaceViewTest, FootprintDrawsEveryAntennaAndFollowsTheMast)
{
    TfrmPattern frm(prompt, nullptr, list);
    frm.show();
    frm.mnuFootprintView->trigger();
    TSpaceView& view = *frm.pnlSpace;
    EXPECT_EQ(view.Mode(), TSpaceView::TMode::Footprint);

    const auto maximumX = [&view] {
        TRecordingCanvas canvas;
        view.Paint(canvas, 800, 450);
        const auto lines = canvas.Of(TRecordingCanvas::Op::Polyline);
        EXPECT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0].pen.color, TraceColors[0]);
        EXPECT_EQ(lines[1].pen.color, TraceColors[1]);
        return canvas.Of(TRecordingCanvas::Op::Ellipse).front().rect.left;
    };
    const int at30 = maximumX();
    // A higher mast puts the strongest signal further out.
    view.spnHeight->setValue(60);
    EXPECT_GT(maximumX(), at30);
}

TEST_F(SpaceViewTest, PrintOptionsOfferTheThreeDAndFootprintJob)
{
    QPrinter printer;
    TfrmPrint dialog(prompt, printer, list);
    dialog.rbSpace->click();
    EXPECT_EQ(dialog.PrintJob, TPrintJob::SpaceOnly);
    dialog.rbBoth->click();
    EXPECT_EQ(dialog.PrintJob, TPrintJob::Both);
}

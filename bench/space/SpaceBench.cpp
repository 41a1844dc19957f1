// Times the 3D grid, the footprint map and a frame of the 3D view, and prints how closely each
// method rebuilds an antenna whose true pattern is known, so planners can see which to trust.
// usage: quv_space_bench [RUNS]   (20 by default; the best run counts)
#include "catalogue/Footprint.h"
#include "catalogue/Pattern3D.h"
#include "plot/Pattern3DView.h"

#include "support/TestAntennas.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

using namespace quv;

namespace {

double BestMs(int runs, const std::function<void()>& work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

void Line(const char* what, double ms, double limit)
{
    std::printf("%-34s %8.2f ms (limit %g) %s\n", what, ms, limit, ms <= limit ? "PASS" : "FAIL");
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);

    // The table the README shows: which method to trust on which antenna, and what auto picks.
    std::printf("Mean absolute error within 20 dB of the peak, dB:\n");
    std::printf("| antenna | auto | summing | bilinear | projection |\n|---|---|---|---|---|\n");
    for (const quvtest::TPanel& panel : quvtest::AnalyticPanels()) {
        const auto truth = [&panel](double a, double e) {
            return quvtest::PanelTruth(panel, a, e);
        };
        const TPatternCuts cuts = quvtest::CutsFromTruth(truth);
        std::string row = std::string("| ") + panel.name + " |";
        for (const T3DMethod m :
             {T3DMethod::Auto, T3DMethod::Summing, T3DMethod::Bilinear, T3DMethod::Projection}) {
            const TPattern3D p = BuildPattern3D(cuts, m);
            char cell[64];
            std::snprintf(cell, sizeof cell, " %.2f%s |", quvtest::MeanErrorNearPeak(p, truth),
                          m == T3DMethod::Auto
                              ? (" (" + std::string(MethodName(p.Method())) + ")").c_str()
                              : "");
            row += cell;
        }
        std::printf("%s\n", row.c_str());
    }

    const TPatternCuts cuts = quvtest::CutsFromTruth(
        [](double a, double e) { return quvtest::ArrayElementTruth(a, e, 6.0); });
    const TPattern3D pattern = BuildPattern3D(cuts, T3DMethod::Auto);
    std::printf("best of %d runs:\n", runs);
    Line("3D grid, 1 degree, one antenna",
         BestMs(runs, [&] { BuildPattern3D(cuts, T3DMethod::Auto); }), 5);
    Line("footprint map 500 x 500",
         BestMs(runs,
                [&] {
                    FootprintMap(pattern, {30, 2}, 2000, 500);
                }),
         50);
    QImage image(600, 600, QImage::Format_RGB32);
    const auto frame = [&](int step) {
        image.fill(Qt::white);
        TQPainterCanvas canvas(&image);
        DrawPattern3DView(canvas, {0, 0, 600, 600}, pattern, {40, 25}, "bench", step);
    };
    Line("3D frame 600 x 600, coarse mesh", BestMs(runs, [&] { frame(kCoarseMeshStep); }), 30);
    // The window draws one view per plotted antenna: four in the same area.
    Line("3D frame 600 x 600, four coarse",
         BestMs(runs,
                [&] {
                    image.fill(Qt::white);
                    TQPainterCanvas canvas(&image);
                    for (int k = 0; k < 4; ++k)
                        DrawPattern3DView(
                            canvas,
                            {k % 2 * 300, k / 2 * 300, k % 2 * 300 + 300, k / 2 * 300 + 300},
                            pattern, {40, 25}, "bench", kCoarseMeshStep);
                }),
         30);
    const double full = BestMs(runs, [&] { frame(kFullMeshStep); });
    std::printf("%-34s %8.2f ms\n", "3D frame 600 x 600, full mesh", full);
    return 0;
}

// The site ranking's pictures: an antenna's footprint map at its recommended tilt with the cell
// drawn over it (the sector's edges, the cell's rim at R, the start of the area beyond at 1.5 R
// dashed), several side by side with one colour scale. The Site Fit page, its printed page and
// the tests draw them through the canvas.
#pragma once

#include "canvas/Canvas.h"
#include "catalogue/Footprint.h"
#include "reference/SiteFit.h"

#include <QImage>

#include <string>
#include <vector>

namespace quv {

// One map with the two lines above it.
struct TSiteMapPanel {
    std::string title;    // "Best: TD2165-18"
    std::string subtitle; // "tilt 2.5 deg, cell -61.2 dB, margin 8.4 dB"
    TFootprintMap map;
};

// The map shows twice the cell radius around the mast: the cell and the area beyond it, where
// the spill is measured, are both in view.
inline constexpr double kSiteMapSpan = 2.0;

// The panel of a ranked antenna at its recommended tilt, `cells` squares across. Its pattern is
// rebuilt from the record (the auto method, as the ranking does).
TSiteMapPanel SiteMapPanel(const TSiteEntry& entry, const TSiteScenario& scenario,
                           const std::string& caption, int cells);

// The panels left to right in `columns` columns (rows as many as needed) and the colour scale
// at the right; the cell outline of `scenario` over each map.
void DrawSiteFitMaps(TCanvas& canvas, const TRect& rect, const std::vector<TSiteMapPanel>& panels,
                     const TSiteScenario& scenario, int columns);

QImage SiteFitMapsImage(const std::vector<TSiteMapPanel>& panels, const TSiteScenario& scenario,
                        int columns, int width, int height);

} // namespace quv

// Pattern arithmetic and the one polar plot renderer used by the pattern window, the clipboard
// copies, the quick preview, printed pages and quvtool plot.
#pragma once

#include "catalogue/QuvFile.h"

#include <QImage>

namespace quv {

enum class TPlotType { RelativePower, RelativeField };

// Program-wide plot type, set by the plot type commands and read by every plot.
extern TPlotType PlotType;

// The quick preview's two 170 x 170 plots of one record (azimuth, elevation) with the current
// PlotType. Throws the conversion error when a level text is not a number; the images are only
// replaced when their drawing completed.
void DrawQuickPreviewImages(const TQuvFile& record, QImage& azimuth, QImage& elevation);

} // namespace quv

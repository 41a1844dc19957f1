#include "patterns/PolarPlotLib.h"

namespace quv {

TPlotType PlotType = TPlotType::RelativePower;

// Placeholder until the renderer lands: leaves both images blank white.
void DrawQuickPreviewImages(const TQuvFile&, QImage& azimuth, QImage& elevation)
{
    azimuth = QImage(170, 170, QImage::Format_RGB32);
    azimuth.fill(Qt::white);
    elevation = azimuth;
}

} // namespace quv

// The two printed pages of an antenna on US Letter: the specification sheet (page frame plus five
// sections of title/value rows) and the pattern page (page frame plus the azimuth and elevation
// plots). Positions are inches from the sheet's corner; TPrint turns them into printer pixels.
#pragma once

#include "catalogue/QuvFile.h"
#include "plot/PolarPlotLib.h"
#include "printing/Print.h"

#include <QImage>

#include <functional>
#include <string>

namespace quv {

// Which pages the print command prints for each antenna.
enum class TPrintJob { Both = 0, SpecsOnly = 1, PatternsOnly = 2, SpaceOnly = 3 };

inline constexpr TColor clBlue{0, 0, 255};

// The product line printed in the band, with the trade mark sign (Windows-1252 0x99).
inline constexpr const char* kProductLine = "Velmarix\x99";

// The page frame: band, titles, logo, model, description and footer. Returns the y (inches)
// below the wrapped description.
double PrintSheetHeader(const TQuvFile& record, TPrint& writer);
// Two rules across to x 7.5 with the heading between them; returns the y of the lower rule.
double PrintSectionHeading(TPrint& writer, const std::string& text, double x, double y);
// The five sections of rows, the first heading 0.125 below `y`.
void PrintSpecBody(const TQuvFile& record, TPrint& writer, double y);
void PrintSpecSheet(const TQuvFile& record, TPrint& writer);
// Throws EConvertError when a level text is not a number; what was drawn before stays.
void PrintPatternPage(const TQuvFile& record, TPrint& writer, TPlotType plotType = PlotType);

// The page frame with the antenna's 3D view and its footprint from a 30 m mast (boresight line
// and map). Throws EConvertError when a level text is not a number.
void PrintSpacePage(const TQuvFile& record, TPrint& writer);

// The pages of one antenna for `job`; `newPage` is called between the sheet and the pattern page.
void PrintAntennaPages(const TQuvFile& record, TPrint& writer, TPrintJob job,
                       const std::function<void()>& newPage, TPlotType plotType = PlotType);

// The maker's logo, drawn by the program itself.
QImage LogoImage();
// The logo stretched into the rectangle.
void DrawLogo(TPrint& writer, const TInchRect& rect);

// "Number of Connectors" as a whole number; 0 when the text is not one.
int ConnectorCount(const std::string& text);

} // namespace quv

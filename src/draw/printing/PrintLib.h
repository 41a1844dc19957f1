// The two printed pages of an antenna on US Letter: the specification sheet (page frame plus five
// sections of title/value rows) and the pattern page (page frame plus the azimuth and elevation
// plots). Positions are inches from the sheet's corner; TPrint turns them into printer pixels.
#pragma once

#include "catalogue/Footprint.h"
#include "catalogue/Pattern3D.h"
#include "catalogue/QuvFile.h"
#include "plot/PolarPlotLib.h"
#include "printing/Print.h"

#include <QImage>

#include <functional>
#include <string>
#include <vector>

namespace quv {

// Which pages the print command prints for each antenna.
enum class TPrintJob { Both = 0, SpecsOnly = 1, PatternsOnly = 2, SpaceOnly = 3 };

inline constexpr TColor clBlue{0, 0, 255};

// The product line printed in the band, with the trade mark sign (Windows-1252 0x99).
inline constexpr const char* kProductLine = "Velmarix\x99";

// Starts the next sheet of the same document. Without one, a page's content is drawn on one
// sheet whatever its length.
using TNewPage = std::function<void()>;

// Nothing printed in the body reaches below this line; the footer bar starts 1/16 in lower.
inline constexpr double kBodyBottom = 9.6875;

// The page frame: band, titles, logo, model, description and footer. Returns the y (inches)
// below the wrapped description. A description that would reach the footer continues on a
// continuation sheet started with `newPage`.
double PrintSheetHeader(const TQuvFile& record, TPrint& writer, const TNewPage& newPage = {});
// The frame of a continuation sheet: as the first sheet, the model line saying "(continued)",
// no description; the footer says "Sheet `sheet` of `sheets`" when there is more than one.
// Returns the y below the model line.
double PrintContinuationHeader(const TQuvFile& record, TPrint& writer, int sheet = 2,
                               int sheets = 1);
// Two rules across to x 7.5 with the heading between them; returns the y of the lower rule.
double PrintSectionHeading(TPrint& writer, const std::string& text, double x, double y);

struct TSpecRow {
    std::string title;
    std::string value;
};
struct TSpecSection {
    std::string heading;
    std::vector<TSpecRow> rows;
};
// The sections of the datasheet with the rows the record draws, in order. A section whose values
// are all empty is left out.
std::vector<TSpecSection> SpecSections(const TQuvFile& record);

// The sections of rows, the first heading 0.125 below `y`. A value wider than its column wraps
// within it; a row that would reach the footer moves whole to a continuation sheet, under its
// section's heading repeated with "(continued)".
void PrintSpecBody(const TQuvFile& record, TPrint& writer, double y, const TNewPage& newPage = {});
// Header and body. A datasheet that would spill by a few rows keeps to one sheet with its row
// pitch tightened (down to 85 %); one that must continue says "Sheet 1 of 2" on every sheet.
void PrintSpecSheet(const TQuvFile& record, TPrint& writer, const TNewPage& newPage = {});
// The two plots below the header, each with its caption. Throws EConvertError when a level text
// is not a number; what was drawn before stays.
void PrintPatternPage(const TQuvFile& record, TPrint& writer, TPlotType plotType,
                      const TNewPage& newPage = {});
// The caption under a plot: cut, plot type and measured frequency.
std::string PlotCaption(const TQuvFile& record, TPatternCutKind cut, TPlotType plotType);

// What the 3D and footprint page shows: the settings of the window it is printed from, or the
// print command's options.
struct TSpacePageSettings {
    TFootprintGeometry geometry;
    T3DMethod method = T3DMethod::Auto;
    double radius = 2000; // metres from the mast to the map's edge
};

// The page frame titled "3D PATTERN AND GROUND FOOTPRINT" with the band and electrical tilt, the
// antenna's 3D view and its footprint (boresight line and map). The description is cut to three
// lines, so the view keeps its size whatever the description's length. Throws EConvertError when
// a level text is not a number.
void PrintSpacePage(const TQuvFile& record, TPrint& writer,
                    const TSpacePageSettings& settings = {});

// Composed values print only the parts the record has: "824-896", "824", "14.0 (16.1)", "14.0".
std::string FrequencyBandText(const std::string& begin, const std::string& end);
std::string GainText(const std::string& dBd, const std::string& dBi);

// `text` broken at blanks into lines no wider than `width` device pixels in the canvas's font;
// a word wider than a line is broken between characters.
std::vector<std::string> BreakLines(TCanvas& canvas, const std::string& text, int width);

// The pages of one antenna for `job`; `newPage` is called between the sheet and the pattern page
// and for continuation sheets.
void PrintAntennaPages(const TQuvFile& record, TPrint& writer, TPrintJob job,
                       const std::function<void()>& newPage, TPlotType plotType,
                       const TSpacePageSettings& space = {});

// A part number broken into lines no wider than `width` device pixels, only after a hyphen or at
// a blank (where a reader copying an order code expects a break); one line when it fits, none
// when a piece between two such places is wider than a line.
std::vector<std::string> BreakPartNumber(TCanvas& canvas, const std::string& text, int width);

// The maker's logo, drawn by the program itself.
QImage LogoImage();
// The logo stretched into the rectangle.
void DrawLogo(TPrint& writer, const TInchRect& rect);

// "Number of Connectors" as a whole number; 0 when the text is not one.
int ConnectorCount(const std::string& text);

} // namespace quv

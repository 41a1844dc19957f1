#include "printing/SiteFitPage.h"

#include "catalogue/NumberText.h"
#include "plot/SiteFitView.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace quv {

namespace {

constexpr double kLeft = 0.75, kRight = 7.75;

void UseFont(TPrint& w, double points, bool bold)
{
    TFont& f = w.Canvas()->Font;
    f.name = "Arial";
    f.height = w.PointsToFontHeight(points);
    f.bold = bold;
    f.color = clBlack;
    w.Canvas()->Brush.style = TBrushStyle::Clear;
}

std::string Tilt(const std::optional<double>& value)
{
    return value ? Format("%.1f", {*value}) : std::string("-");
}

} // namespace

void PrintSiteFitPage(const TSiteRanking& ranking, TPrint& writer)
{
    TCanvas& canvas = *writer.Canvas();
    const TSiteScenario& s = ranking.scenario;
    UseFont(writer, 18, true);
    double y = writer.TextAt("Site Fit", kLeft, 0.6);
    UseFont(writer, 10, false);
    y = writer.WrapText(ScenarioText(s), kLeft, y + 0.05, kRight - kLeft);
    const std::size_t unranked = ranking.leftOut.size();
    const auto meeting = std::count_if(ranking.ranked.begin(), ranking.ranked.end(),
                                       [](const TSiteEntry& e) { return e.meetsMargin; });
    std::string counts = std::to_string(ranking.ranked.size()) + " antennas ranked, " +
                         std::to_string(meeting) + " keep the margin";
    if (unranked > 0)
        counts += ", " + std::to_string(unranked) + " could not be ranked";
    y = writer.TextAt(counts, kLeft, y) + 0.15;

    // The columns: rank, part number, then the figures right-aligned at these x (inches).
    const char* headings[] = {"Cell dB", "Margin dB", "Meets",    "Mech.",
                              "Elec.",   "Total",     "Spill dB", "Gain dBi"};
    const double rights[] = {3.6, 4.3, 4.85, 5.4, 5.95, 6.5, 7.15, 7.75};
    UseFont(writer, 9, true);
    writer.TextAt("Rank", kLeft, y);
    writer.TextAt("Part number", kLeft + 0.45, y);
    for (std::size_t c = 0; c < std::size(headings); ++c)
        writer.TextAligned(headings[c], 2, 0, rights[c], y);
    const double rowHeight = writer.PixelsToInchesY(std::abs(canvas.Font.height)) * 1.35;
    y += rowHeight;
    writer.Line(kLeft, y - 0.03, kRight, y - 0.03);
    UseFont(writer, 9, false);
    const std::size_t rows = std::min<std::size_t>(kSiteFitPrintedRows, ranking.ranked.size());
    for (std::size_t i = 0; i < rows; ++i) {
        const TSiteEntry& e = ranking.ranked[i];
        writer.TextAt(std::to_string(i + 1), kLeft, y);
        writer.TextAt(e.record->PartNumber, kLeft + 0.45, y);
        const std::string values[] = {Format("%.1f", {e.figures.cellLevel}),
                                      Format("%.1f", {e.figures.Margin()}),
                                      e.meetsMargin ? "yes" : "no",
                                      Format("%.1f", {e.figures.tilt}),
                                      Tilt(e.electricalTilt),
                                      Tilt(e.TotalTilt()),
                                      Format("%.1f", {e.figures.spillLevel}),
                                      Format("%.1f", {e.gainDBi})};
        for (std::size_t c = 0; c < std::size(values); ++c)
            writer.TextAligned(values[c], 2, 0, rights[c], y);
        y += rowHeight;
    }
    if (rows == 0)
        y = writer.TextAt("No antenna could be ranked for this site.", kLeft, y);
    UseFont(writer, 8, false);
    y = writer.WrapText("Tilts in degrees down: mechanical (recommended), electrical (measured "
                        "from the pattern) and their total. Cell: the level 95 % of the cell's "
                        "area receives; spill: the level the strongest 5 % of the area from 1.5 "
                        "to 3 cell radii receives; levels include the gain and the path loss.",
                        kLeft, y + 0.1, kRight - kLeft);

    std::vector<TSiteMapPanel> panels;
    const std::size_t maps = std::min<std::size_t>(kSiteFitPrintedMaps, ranking.ranked.size());
    for (std::size_t i = 0; i < maps; ++i)
        panels.push_back(SiteMapPanel(ranking.ranked[i], s, std::to_string(i + 1) + ". ", 300));
    const double top = y + 0.25;
    DrawSiteFitMaps(canvas, writer.ToDeviceRect(TPrint::MakeRect(kLeft, top, kRight, 10.2)), panels,
                    s, 2);
}

void PrintSiteFitJob(TPrintOutput& output, TPrint& writer, const TSiteRanking& ranking)
{
    writer.SetCanvas(&output.BeginDoc("Site Fit", 0, 1));
    try {
        PrintSiteFitPage(ranking, writer);
    } catch (...) {
        writer.SetCanvas(nullptr);
        output.AbortDoc();
        throw;
    }
    writer.SetCanvas(nullptr);
    output.EndDoc();
}

} // namespace quv

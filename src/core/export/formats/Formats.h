// One writer per planning-tool format. Build<Name> makes the file's bytes from a record and the
// target name and throws on a value it cannot convert; Export<Name> commits those bytes all or
// nothing under the format's extension. Nothing is written when building fails.
#pragma once

#include "catalogue/QuvFile.h"
#include "export/ExportClock.h"

#include <string>
#include <string_view>

namespace quv {

// Planet, ".pln": keyword header and both cuts as positive attenuation, 730 lines.
std::string BuildPlanet(const std::string& path, const TQuvFile& record);
void ExportPlanet(const std::string& path, const TQuvFile& record);

// The dated formats take "today" as an argument (ExportClock.h), so that building stays pure.

// WIZARD, ".apf": "|KEY|value|" header, the azimuth every 5 degrees over the gain at the horizon
// and the front and back elevation halves in dBd, 454 lines.
std::string BuildWizard(const std::string& path, const TQuvFile& record, const TExportDate& today);
void ExportWizard(const std::string& path, const TQuvFile& record);

// GRANET, ".pat": keyword header, both cuts from -180 to 179 degrees in dBd, 741 lines.
std::string BuildGranet(const std::string& path, const TQuvFile& record, const TExportDate& today);
void ExportGranet(const std::string& path, const TQuvFile& record);

// CE4, ".ce4", and PDF, ".pdf": one file under two extensions, the WIZARD tables without the
// horizon level and without empty lines, 451 lines.
std::string BuildCe4(const std::string& path, const TQuvFile& record, const TExportDate& today);
void ExportCe4(const std::string& path, const TQuvFile& record);
void ExportPdf(const std::string& path, const TQuvFile& record);

// CelPlan, ".ant": tab-separated header and both cuts 0..359 in dBd, 734 lines.
std::string BuildCelPlan(const std::string& path, const TQuvFile& record);
void ExportCelPlan(const std::string& path, const TQuvFile& record);

// Tornado, ".txt": the Planet file with a NAME keyword and two more header lines, 732 lines.
std::string BuildTornado(const std::string& path, const TQuvFile& record);
void ExportTornado(const std::string& path, const TQuvFile& record);

// CellCAD, ".hor" and ".ver": 368 lines each of zero-padded angles and dBi levels; both files are
// committed together or not at all.
struct TCellCadFiles {
    std::string hor;
    std::string ver;
};
TCellCadFiles BuildCellCad(const std::string& path, const TQuvFile& record,
                           const TExportDate& today);
void ExportCellCad(const std::string& path, const TQuvFile& record);

// NSMA, ".dap": "KEYWORD:,value" lines, 772 lines.
std::string BuildNsma(const std::string& path, const TQuvFile& record);
void ExportNsma(const std::string& path, const TQuvFile& record);

// TIA/EIA, ".dap": the NSMA content with "KEYWORD,value" lines and "PCDATA," points, 771 lines.
std::string BuildTiaEia(const std::string& path, const TQuvFile& record);
void ExportTiaEia(const std::string& path, const TQuvFile& record);

// Siemens, ".dat": keyword header and both cuts with one decimal, 732 lines.
std::string BuildSiemens(const std::string& path, const TQuvFile& record);
void ExportSiemens(const std::string& path, const TQuvFile& record);

// Values shared by the NSMA and TIA/EIA files (defined with the NSMA writer).
namespace nsma {
std::string Description(const TQuvFile& record);    // first 80 characters
std::string Gain(const TQuvFile& record);           // dBi, FormatFixed(4, 1)
std::string AzimuthWidth(const TQuvFile& record);   // FormatFixed(5, 1)
std::string ElevationWidth(const TQuvFile& record); // FormatFixed(4, 1)
// The ratio in the return loss's brackets as `pattern` formats it, or the text as stored.
std::string Vswr(const TQuvFile& record, std::string_view pattern = "%5.2f");
std::string FrontToBack(const TQuvFile& record); // "%.2f" of the absolute ratio
std::string Tilt(const TQuvFile& record);        // empty when not a number
std::string LengthMetres(const TQuvFile& record);
std::string Weight(const TQuvFile& record);            // kilograms, empty when not given
std::string_view Polarisation(const TQuvFile& record); // "SLR/SLR" or "V/V"
} // namespace nsma

// NetPlan, ".h" and ".v": a "key = value" header and ten "%6.2f" levels to a line, 43 lines each.
// Both files are committed together or not at all.
struct TNetPlanFiles {
    std::string horizontal; // ".h"
    std::string vertical;   // ".v"
};
TNetPlanFiles BuildNetPlan(const std::string& path, const TQuvFile& record);
void ExportNetPlan(const std::string& path, const TQuvFile& record);

// EDX, ".edx": model and dBi gain line, the azimuth cut and a front and a back vertical cut of
// 181 points each, levels with their sign, 727 lines.
std::string BuildEdx(const std::string& path, const TQuvFile& record);
void ExportEdx(const std::string& path, const TQuvFile& record);

// QEDesign and CDMA, ".txt": 22 tab-commented specification lines and both cuts with two decimals,
// 746 lines. The two files differ only in the gain line (dBd for QEDesign, dBi for CDMA).
std::string BuildQeDesign(const std::string& path, const TQuvFile& record);
void ExportQeDesign(const std::string& path, const TQuvFile& record);
std::string BuildCdma(const std::string& path, const TQuvFile& record);
void ExportCdma(const std::string& path, const TQuvFile& record);

// PathPro, ".ant": "::HEADER" of ten unlabelled values and both cuts with tab-separated points,
// 735 lines.
std::string BuildPathPro(const std::string& path, const TQuvFile& record);
void ExportPathPro(const std::string& path, const TQuvFile& record);

// Odyssey, ".txt": five tab-separated header lines and both cuts numbered 1 to 360 as positive
// attenuation, 727 lines.
std::string BuildOdyssey(const std::string& path, const TQuvFile& record);
void ExportOdyssey(const std::string& path, const TQuvFile& record);

// Nokia, ".msi": short keyword header and both cuts with one decimal as in the Siemens file,
// 727 lines.
std::string BuildNokia(const std::string& path, const TQuvFile& record);
void ExportNokia(const std::string& path, const TQuvFile& record);

} // namespace quv

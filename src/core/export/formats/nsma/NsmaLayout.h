// The NSMA layout (WG16.99.050, "KEYWORD:,value") and its TIA/EIA-804-B form ("KEYWORD,value",
// "PCDATA," points): one reader, the values both writers share, and what detection sees of it.
#pragma once

#include "catalogue/QuvFile.h"
#include "reference/PatternFormat.h"
#include "reference/PatternReaders.h"

#include <string>
#include <string_view>

namespace quv {

// Azimuth and elevation as the record counts them; levels signed, relative to the maximum.
extern const TAngleConvention kNsmaAngles[2];

// Reads the layout. A file may hold several polarisations; each co-polar azimuth and elevation
// pair becomes one pattern, and cross-polar cuts are passed over while a co-polar one exists.
void ReadNsmaLayout(TReaderBase& file, TReaderBase* companion, TPatternFileData& data);

struct TNsmaSigns {
    int keywordLines = 0;     // lines opening with a keyword of the layout
    bool tiaRevision = false; // REVNUM names the TIA revision
    int Base() const;
};
TNsmaSigns NsmaSigns(const TFormatProbe& probe);

namespace nsma {
std::string Description(const TQuvFile& record);    // first 80 characters
std::string Gain(const TQuvFile& record);           // dBi, FormatFixed(4, 1)
std::string AzimuthWidth(const TQuvFile& record);   // FormatFixed(5, 1)
std::string ElevationWidth(const TQuvFile& record); // FormatFixed(4, 1)
std::string FrontToBack(const TQuvFile& record);    // "%.2f" of the absolute ratio
std::string Tilt(const TQuvFile& record);           // empty when not a number
std::string LengthMetres(const TQuvFile& record);
std::string Weight(const TQuvFile& record);            // kilograms, empty when not given
std::string_view Polarisation(const TQuvFile& record); // "SLR/SLR" or "V/V"
} // namespace nsma

} // namespace quv

// Reading another maker's antenna pattern file (Planet/MSI text, NSMA WG16.99.050 or
// TIA/EIA-804-B) into a reference pattern: its name, maker, frequency and gain, and both cuts
// resampled to the data files' 1-degree index with the peak at 0 dB. The format is told by the
// file's keywords, never by its extension. Bad input throws EPatternFileError naming the file
// and the line.
#pragma once

#include "catalogue/Errors.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quv {

// dB relative to the peak; index = degrees the way the data files store a cut (0..360, the last
// repeating the first).
using TReferenceCut = std::array<double, 361>;

enum class TPatternFileFormat { Planet, Nsma, TiaEia };

struct TReferencePattern {
    std::string fileName; // the path it was read from
    TPatternFileFormat format = TPatternFileFormat::Planet;
    std::string name;  // model; the file's base name when the file names none
    std::string maker; // empty when the file names none
    std::optional<double> frequencyMHz;
    std::optional<double> gainDBi;
    // The gain as the file states it when that is in dBd (compared with the catalogue's dBd
    // values, so no conversion factor enters the comparison).
    std::optional<double> gainDBd;
    TReferenceCut azimuth{};
    TReferenceCut elevation{};
    // Values the reader could not use and passed over ("line 3: frequency 'n/a' is not a
    // number"); the pattern itself is complete whenever a reference is returned.
    std::vector<std::string> warnings;
};

class EPatternFileError : public EQuvError {
public:
    using EQuvError::EQuvError;
};

// Throws EFOpenError when the file cannot be read and EPatternFileError for its contents.
TReferencePattern ReadPatternFile(const std::string& path);
// The same from bytes already in memory; `fileName` names the file in messages.
TReferencePattern ReadPatternBytes(std::string_view bytes, const std::string& fileName);

// "Planet", "NSMA", "TIA/EIA".
std::string_view PatternFormatName(TPatternFileFormat format);

// dBd + 2.15 dB: the gain of a half-wave dipole over the isotropic radiator.
inline constexpr double kDipoleGainDBi = 2.15;

} // namespace quv

// Reading another maker's antenna pattern file (any format PatternReaders.h reads) into a
// reference pattern: its name, maker, frequency and gain, and both cuts resampled to the data
// files' 1-degree index with the peak at 0 dB. The format is told by the file's content. Bad
// input throws EPatternFileError naming the file and the line.
#pragma once

#include "catalogue/Errors.h"
#include "reference/FindingKinds.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quv {

// dB relative to the peak; index = degrees the way the data files store a cut (0..360, the last
// repeating the first).
using TReferenceCut = std::array<double, 361>;

struct TFileFormat; // reference/PatternFormat.h

struct TReferencePattern {
    std::string fileName;                // the path it was read from
    const TFileFormat* format = nullptr; // as detected
    std::string name;                    // model; the file's base name when the file names none
    std::string maker;                   // empty when the file names none
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
    explicit EPatternFileError(const std::string& message,
                               std::optional<TFindingKind> kind = std::nullopt)
        : EQuvError(message), kind_(kind)
    {}
    // NotANumber when a value that must be a number is not one; empty otherwise.
    std::optional<TFindingKind> Kind() const { return kind_; }

private:
    std::optional<TFindingKind> kind_;
};

// Throws EFOpenError when the file cannot be read and EPatternFileError for its contents.
TReferencePattern ReadPatternFile(const std::string& path);
// The same from bytes already in memory; `fileName` names the file in messages.
TReferencePattern ReadPatternBytes(std::string_view bytes, const std::string& fileName);

// The export list's log name of a detected format; empty for none.
std::string_view PatternFormatName(const TFileFormat* format);

// dBd + 2.15 dB: the gain of a half-wave dipole over the isotropic radiator.
inline constexpr double kDipoleGainDBi = 2.15;

} // namespace quv

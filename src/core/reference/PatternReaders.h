// Reading the planning tools' pattern files: the format is told by the content (every format's
// descriptor scores the file, PatternFormat.h), then its reader, the inverse of its writer, reads
// it, including the variants other makers write. Readers are pure: bytes in, patterns plus notes
// out. Bad input throws EPatternFileError naming the file and the line; TryReadPatternFile turns
// that into a message, so one bad file never stops a batch.
//
// Every point is stored at its record angle: the angle a of TQuvFile::AzimuthAt(a) and
// ElevationAt(a) (azimuth counted the way the writers count it, elevation a degrees below the
// front horizon). How a format's own angles map to it is written down once, in its descriptor.
#pragma once

#include "reference/PatternFile.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quv {

struct TPatternPoint {
    double fileAngle = 0; // as written in the file
    double angle = 0;     // record angle, any real (not reduced)
    double level = 0;     // dB relative to the file's reference (gain removed), sign as meant
    std::size_t line = 0;
    int block = 0; // points of one block run in one order (a cut, or one half of a cut)
};

struct TPatternCutPoints {
    std::vector<TPatternPoint> points; // in file order
    std::size_t headerLine = 0;
    std::string title;     // "HORIZONTAL block": how messages name it
    double formatStep = 1; // the step the format's own writer uses
};

// A header value as the file states it: the number, and its text as written so that a file
// converted back to its own format keeps its bytes.
struct TStated {
    std::optional<double> value;
    std::string text;
    explicit operator bool() const { return value.has_value(); }
    double operator*() const { return *value; }
};

struct TFilePattern {
    std::string name; // model or part number; the file's base name when the file names none
    bool nameFromFileName = false;
    std::string maker;
    std::string description;
    std::string polarisation;
    TStated gainDBi;
    TStated gainDBd; // as stated, when the file states dBd
    TStated tilt;    // electrical downtilt, degrees, positive down
    TStated lowMHz, highMHz, measuredMHz;
    TStated azimuthBeamwidth, elevationBeamwidth, frontToBack;
    bool mechanicalTilt = false; // the file says its tilt is mechanical
    std::string lengthMetres;    // as written, when the file states it
    // Datasheet values the data file keeps as text: (data file header key, value).
    std::vector<std::pair<std::string, std::string>> recordTexts;
    TPatternCutPoints azimuth, elevation;
};

// A note the reader passed over; `kind` is a finding of the strict check, or empty.
struct TReadNote {
    std::optional<TFindingKind> kind;
    std::string text; // "line 3: gain 'high' is not a number"
};

struct TPatternFileData {
    std::string fileName;
    const TFileFormat* format = nullptr; // as detected
    std::vector<TFilePattern> patterns;  // one per co-polar pair or port; never empty
    std::vector<TReadNote> notes;
};

// `companion` holds the other file of a two-file format (one cut per file, ".v" beside ".h");
// empty for the others. Throws EPatternFileError.
TPatternFileData ReadPatternData(std::string_view bytes, const std::string& fileName,
                                 std::string_view companion = {});

// Reads the file and, for a two-file format, its partner when it lies beside it. Throws
// EFOpenError or EPatternFileError.
TPatternFileData ReadPatternDataFile(const std::string& path);

// Reads the file and, for a two-file format, its partner beside it. Never throws: on failure the
// result is empty and `error` holds "FILE: line N: ...".
std::optional<TPatternFileData> TryReadPatternFile(const std::string& path, std::string& error);

// The other file of a two-file format (its two written extensions); empty for other names.
std::string CompanionFileName(const std::string& path);

// A cut at the record's 1-degree angles (index = record angle 0..359), linear in dB between the
// file's points around the circle. `coarse` is set when some angle had no point of its own.
struct TResampledCut {
    std::array<double, 360> levels{};
    bool coarse = false;
};
TResampledCut ResampleCut(const TPatternCutPoints& cut);

} // namespace quv

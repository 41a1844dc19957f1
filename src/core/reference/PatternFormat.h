// One planning tool's file format, described once: how the export list shows and writes it, the
// names its files carry, how strongly a file's text looks like it, how it is read, and how its
// angles and levels relate to the record's. Each format defines its descriptor in its own file
// under export/formats/; FileFormats() lists them in export order and is the only place that
// names them together. The export table, the detector, the readers' dispatch, the command line's
// format names and the open dialogs' filters are all derived from that list.
#pragma once

#include "export/ExportLib.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quv {

class TReaderBase;
struct TPatternFileData;

// Where a cut of the file puts its angles: `toRecord` maps a file angle to the record angle of
// TQuvFile::AzimuthAt / ElevationAt (the reader's direction), `toFile` is its inverse (the
// writer's). Both are exact on whole degrees; angles are not reduced to a circle.
struct TAngleConvention {
    std::string_view cut; // "azimuth", "elevation", "elevation, back half"...
    double (*toRecord)(double fileAngle);
    double (*toFile)(double recordAngle);
};

// What a file's levels mean. Reading turns them into dB relative to the file's reference (the
// gain removed); writing turns the record's relative levels back.
enum class TLevelConvention {
    Attenuation,   // dB below the maximum; the sign is dropped on writing and ignored on reading
    RelativeLevel, // dB relative to the maximum with their sign, both ways
    GainPlusLevel, // the header's gain plus the relative level; reading removes the gain
};

// What detection looks at, made once per file.
struct TFormatProbe {
    const std::vector<std::string_view>* lines = nullptr; // every line of the file
    // Non-empty lines, trimmed, that hold a letter: headers and keywords. Lines of bare numbers
    // (most of every file) are left out.
    std::vector<std::string_view> textLines;
    std::string_view head; // the first non-empty line, trimmed
    std::string extension; // lower case, with its dot; empty when the name has none
    // The extension is one of `extensions` (".pln .msi").
    bool ExtensionIn(std::string_view extensions) const;
};
TFormatProbe MakeFormatProbe(const std::vector<std::string_view>& lines,
                             const std::string& fileName);

// Detection scores. A line only one format writes scores far above keywords that several share;
// an extension adds only kExtensionScore, so it settles nothing the content decides.
inline constexpr int kHeadScore = 1000;   // the first line is the format's own
inline constexpr int kExtensionScore = 1; // the name carries one of the format's extensions
inline constexpr int kKeywordScore = 10;  // per shared keyword line, up to kMaxKeywordLines
inline constexpr int kMaxKeywordLines = 40;

struct TFileFormat {
    TExportFormat exportAs; // caption, log name, the extensions written, the writer
    // Extensions other makers' files of this format carry (dialog filter, detection hint).
    std::string_view readExtensions;
    // Formats read by one layout share a family; the open dialog lists a family together.
    std::string_view family;
    // How much the file looks like this format; 0 when not at all.
    int (*detect)(const TFormatProbe& probe);
    // Reads one file into `data`; `companion` is the other file of a two-file format (null for
    // the others). Throws EPatternFileError. Two formats with one reader read a file alike.
    void (*read)(TReaderBase& file, TReaderBase* companion, TPatternFileData& data);
    std::span<const TAngleConvention> angles;
    TLevelConvention levels = TLevelConvention::RelativeLevel;
    bool twoFiles = false; // the extensions written name two files, one cut each

    std::string_view LogName() const { return exportAs.logName; }
    // The bold word of the caption: how people name the format, in its own letter case.
    std::string DisplayName() const;
};

// The formats in export order: the index is the export list's row. Defined by the format list.
const std::vector<const TFileFormat*>& FileFormats();

// The export index of a format.
int FileFormatIndex(const TFileFormat& format);

// The open dialogs' filter: one entry per family in list order, then "All files (*)".
std::string PatternFileDialogFilter();

// Every extension the writers put on their files, in list order, each once ("*.pln *.apf ...").
std::string WrittenFilePatterns();

} // namespace quv

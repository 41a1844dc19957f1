// Any byte sequence either loads into a record or throws one of the documented errors; the
// accessors that read a loaded record must hold the same promise. The same bytes go through the
// pattern file readers of every format (the first byte picks the name the file is read under, a
// NUL splits off the other file of a pair), which either give patterns that import and check or
// throw EPatternFileError.
#include "catalogue/Errors.h"
#include "catalogue/NumberText.h"
#include "catalogue/QuvFile.h"
#include "reference/PatternChecks.h"
#include "reference/PatternFile.h"
#include "reference/PatternImport.h"

#include <cmath>
#include <cstdlib>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        const quv::TReferencePattern reference = quv::ReadPatternBytes(bytes, "fuzz.pln");
        for (const quv::TReferenceCut* cut : {&reference.azimuth, &reference.elevation})
            for (double v : *cut)
                if (!std::isfinite(v) || v > 0)
                    std::abort(); // a returned pattern is always finite with its peak at 0 dB
    } catch (const quv::EPatternFileError&) {
    }
    static const char* const names[] = {"f.pln", "f.h", "f.v", "f.hor", "f.ver", "f.pdf", "f.txt"};
    const std::string name = names[size > 0 ? data[0] % 7 : 0];
    const std::size_t nul = bytes.find('\0');
    const std::string_view first = bytes.substr(0, nul);
    const std::string_view second =
        nul == std::string_view::npos ? std::string_view() : bytes.substr(nul + 1);
    try {
        const quv::TPatternFileData read = quv::ReadPatternData(first, name, second);
        if (read.patterns.empty())
            std::abort(); // a file that reads holds at least one pattern
        quv::CheckPatternData(read);
        for (const quv::TDataFileText& file :
             quv::BuildDataFiles(read, quv::TImportStyle::Catalogue)) {
            quv::TQuvFile imported;
            imported.LoadFromBytes(file.bytes, "fuzz.quv"); // always a complete data file
        }
    } catch (const quv::EPatternFileError&) {
    }
    quv::TQuvFile record;
    try {
        record.LoadFromBytes(bytes, "fuzz.quv");
    } catch (const quv::EListError&) {
        return 0;
    }
    for (int a = 0; a <= 360; ++a) {
        double v = 0;
        quv::TryStrToFloat(record.AzimuthAt(a), v);
        quv::TryStrToFloat(record.ElevationAt(a), v);
    }
    try {
        record.FrontToBackValue();
    } catch (const quv::EConvertError&) {
    }
    try {
        record.LengthValue();
    } catch (const quv::EConvertError&) {
    }
    quv::IsNumber(record.GainDBd);
    return 0;
}

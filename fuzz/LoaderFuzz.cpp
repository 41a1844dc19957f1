// Any byte sequence either loads into a record or throws one of the documented errors; the
// accessors that read a loaded record must hold the same promise. The same bytes go through the
// pattern file readers, which either give a complete reference or throw EPatternFileError.
#include "catalogue/Errors.h"
#include "catalogue/NumberText.h"
#include "catalogue/QuvFile.h"
#include "reference/PatternFile.h"

#include <cmath>
#include <cstdlib>

#include <cstddef>
#include <cstdint>
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

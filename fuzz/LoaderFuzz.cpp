// Any byte sequence either loads into a record or throws one of the documented errors; the
// accessors that read a loaded record must hold the same promise.
#include "catalogue/Errors.h"
#include "catalogue/NumberText.h"
#include "catalogue/QuvFile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
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

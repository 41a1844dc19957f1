// The antenna record: the specification texts of one ".quv" data file exactly as read, and the
// two measured pattern cuts (361 level texts each, index = degrees). Nothing is interpreted here;
// the filters, plots and writers convert the texts they need.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quv {

// A list of level texts stored in one buffer: a catalogue holds hundreds of thousands of
// these short texts, and one string object each would cost more than the files themselves.
class TPatternCut {
public:
    std::size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    // Throws EListError for an index outside the list.
    std::string_view operator[](std::size_t index) const;
    std::string Text(std::size_t index) const { return std::string((*this)[index]); }
    void Append(std::string_view text);
    void Clear();
    void Reserve(std::size_t items, std::size_t bytes);

private:
    std::string buffer_;
    std::vector<std::uint32_t> ends_;
};

class TQuvFile {
public:
    TQuvFile() = default;
    virtual ~TQuvFile() = default;
    TQuvFile(const TQuvFile&) = delete;
    TQuvFile& operator=(const TQuvFile&) = delete;

    // Fills the record from the data file at `path`. Throws EFOpenError when the file cannot be
    // opened and EListError with the first missing position when the points are too few.
    void LoadFromFile(const std::string& path);
    // The same from bytes already in memory (`path` only names the record).
    void LoadFromBytes(std::string_view bytes, const std::string& path);

    // Level at angle a (0..360) counted the other way round: AzimuthAt(90) is Azimuth[270].
    std::string_view AzimuthAt(int angle) const;
    std::string_view ElevationAt(int angle) const;

    // "Front to Back Ratio, dB" without leading blanks and ">" signs, as a number (">25" is 25).
    double FrontToBackValue() const;
    // "Length, mm (in)" before its first blank, as a number ("1295 (51.0)" is 1295).
    double LengthValue() const;

    TPatternCut Azimuth;
    TPatternCut Elevation;
    // Characters of a UTF-8 data file that Windows-1252 cannot hold, read as "?".
    int Utf8Replaced = 0;
    std::string FileName;
    std::string BeginFrequency;
    std::string EndFrequency;
    std::string Make;
    std::string AntennaType;
    std::string GainDBd;
    std::string GainDBi;
    std::string ElectricalDowntilt;
    std::string ConnectorType;
    std::string PolarizationType;
    std::string FrontToBackRatio;
    std::string MeasuredFrequency;
    std::string Description;
    std::string Intermodulation;
    std::string Impedance;
    std::string ReturnLoss;
    std::string MaxInputPower;
    std::string LightningProtection;
    std::string Length;
    std::string FlatPlateArea;
    std::string AntennaWeight;
    std::string RadomeMaterial;
    std::string RadomeColor;
    std::string TemperatureRange;
    std::string WindLoadFrontal;
    std::string WindLoadLateral;
    std::string Humidity;
    std::string NumberOfConnectors;
    std::string ElevationBeamwidth;
    std::string ShippingWeightWithMount;
    std::string WindLoadRear;
    std::string ShippingDimensionsWithMount;
    std::string ConnectorPosition;
    std::string MountWeight;
    std::string ShippingDimensions;
    std::string MountDescription;
    std::string SurvivalWindSpeed;
    std::string PartNumber;
    std::string AzimuthBeamwidth;
    std::string PortToPortIsolation;
    std::string PatternFileName;
    std::string PartNumberWithMount;
    std::string ShippingWeight;
    std::string MountPartNumber;
    std::string Dimensions;
    std::string EndSubFrequency;
    std::string BeginSubFrequency;
    std::string ExtendedPatternDescription;
};

// Why a data file whose points section has `pointLines` lines cannot be loaded, in the words of
// the cut it cuts short: "the elevation cut holds 180 of 361 points".
std::string ShortPointsText(long long pointLines);

// The maker named on every record.
inline constexpr std::string_view kMakerName = "Tavrin Corporation";

// The 46 header keys with the record field each one fills, in file-format order.
struct THeaderKey {
    std::string_view key;
    std::string TQuvFile::*field;
};
const std::vector<THeaderKey>& HeaderKeys();

} // namespace quv

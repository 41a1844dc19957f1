#include "catalogue/QuvFile.h"

#include "catalogue/Errors.h"
#include "catalogue/NumberText.h"
#include "catalogue/SharedLib.h"
#include "catalogue/Utf8.h"

#include <algorithm>
#include <array>

namespace quv {

std::string_view TPatternCut::operator[](std::size_t index) const
{
    if (index >= ends_.size())
        throw EListError(static_cast<long long>(index));
    const std::uint32_t begin = index == 0 ? 0 : ends_[index - 1];
    return std::string_view(buffer_).substr(begin, ends_[index] - begin);
}

void TPatternCut::Append(std::string_view text)
{
    buffer_.append(text);
    ends_.push_back(static_cast<std::uint32_t>(buffer_.size()));
}

void TPatternCut::Clear()
{
    buffer_.clear();
    ends_.clear();
}

void TPatternCut::Reserve(std::size_t items, std::size_t bytes)
{
    ends_.reserve(items);
    buffer_.reserve(bytes);
}

const std::vector<THeaderKey>& HeaderKeys()
{
    static const std::vector<THeaderKey> keys = {
        {"Beginning Frequency, MHz", &TQuvFile::BeginFrequency},
        {"Ending Frequency, MHz", &TQuvFile::EndFrequency},
        {"Antenna Type", &TQuvFile::AntennaType},
        {"Gain, dBd", &TQuvFile::GainDBd},
        {"Gain, dBi", &TQuvFile::GainDBi},
        {"Electrical Downtilt, deg", &TQuvFile::ElectricalDowntilt},
        {"Connector Type", &TQuvFile::ConnectorType},
        {"Polarization Type", &TQuvFile::PolarizationType},
        {"Front to Back Ratio, dB", &TQuvFile::FrontToBackRatio},
        {"Measured Frequency", &TQuvFile::MeasuredFrequency},
        {"Description", &TQuvFile::Description},
        {"Intermodulation, dBc", &TQuvFile::Intermodulation},
        {"Impedance, ohms", &TQuvFile::Impedance},
        {"Return Loss, dB (VSWR)", &TQuvFile::ReturnLoss},
        {"Max Input Power, watts", &TQuvFile::MaxInputPower},
        {"Lightning Protection", &TQuvFile::LightningProtection},
        {"Length, mm (in)", &TQuvFile::Length},
        {"Flat Plate Area, sq.m (sq.ft)", &TQuvFile::FlatPlateArea},
        {"Antenna Weight, kg (lb)", &TQuvFile::AntennaWeight},
        {"Radome Material", &TQuvFile::RadomeMaterial},
        {"Radome Color", &TQuvFile::RadomeColor},
        {"Temperature Range, C", &TQuvFile::TemperatureRange},
        {"Wind Load, Frontal, N (lbf)", &TQuvFile::WindLoadFrontal},
        {"Wind Load, Lateral, N (lbf)", &TQuvFile::WindLoadLateral},
        {"Humidity, %", &TQuvFile::Humidity},
        {"Number of Connectors", &TQuvFile::NumberOfConnectors},
        {"Elevation Beamwidth, deg", &TQuvFile::ElevationBeamwidth},
        {"Shipping Weight with Mount, kg (lb)", &TQuvFile::ShippingWeightWithMount},
        {"Wind Load, Rear, N (lbf)", &TQuvFile::WindLoadRear},
        {"Shipping Dimensions with Mount, L x W x D, mm (in)",
         &TQuvFile::ShippingDimensionsWithMount},
        {"Connector Position", &TQuvFile::ConnectorPosition},
        {"Mount Weight, kg (lb)", &TQuvFile::MountWeight},
        {"Shipping Dimensions, L x W x D, mm (in)", &TQuvFile::ShippingDimensions},
        {"Mount Description", &TQuvFile::MountDescription},
        {"Survival Wind Speed, km/h (mph)", &TQuvFile::SurvivalWindSpeed},
        {"Part Number", &TQuvFile::PartNumber},
        {"Azimuth Beamwidth, deg", &TQuvFile::AzimuthBeamwidth},
        {"Port to Port Isolation, dB", &TQuvFile::PortToPortIsolation},
        {"Pattern File Name", &TQuvFile::PatternFileName},
        {"Part Number with Mount", &TQuvFile::PartNumberWithMount},
        {"Shipping Weight, kg (lb)", &TQuvFile::ShippingWeight},
        {"Mount Part Number", &TQuvFile::MountPartNumber},
        {"Antenna Dimensions, L x W x D, mm (in)", &TQuvFile::Dimensions},
        {"Ending Sub-Frequency, MHz", &TQuvFile::EndSubFrequency},
        {"Beginning Sub-Frequency, MHz", &TQuvFile::BeginSubFrequency},
        {"Extended Pattern Description", &TQuvFile::ExtendedPatternDescription},
    };
    return keys;
}

void TQuvFile::LoadFromFile(const std::string& path)
{
    std::string bytes;
    ReadWholeFile(path, bytes);
    LoadFromBytes(bytes, path);
}

static void AppendPoints(const TLines& points, std::size_t first, std::size_t last,
                         TPatternCut& cut)
{
    for (std::size_t p = first; p <= last; ++p) {
        if (p >= points.size())
            throw EShortPointsError(static_cast<long long>(p),
                                    static_cast<long long>(points.size()));
        cut.Append(TextAfter(points[p], '='));
    }
}

std::string ShortPointsText(long long pointLines)
{
    // The positions each cut reads, in the order LoadFromBytes reads them.
    auto held = [pointLines](long long first, long long last, long long first2, long long last2) {
        auto part = [pointLines](long long a, long long b) {
            return std::clamp(pointLines - a, 0LL, b - a + 1);
        };
        return part(first, last) + part(first2, last2);
    };
    const long long azimuth = held(180, 360, 1, 180);
    const char* cut = azimuth < 361 ? "azimuth" : "elevation";
    const long long count = azimuth < 361 ? azimuth : held(541, 721, 362, 541);
    return "the " + std::string(cut) + " cut holds " + std::to_string(count) + " of 361 points";
}

void TQuvFile::LoadFromBytes(std::string_view bytes, const std::string& path)
{
    const TLines lines = SplitLines(bytes);
    TLines header, points;
    ExtractSection("[HEADER]", lines, header);
    ExtractSection("[POINTS]", lines, points);

    FileName = path;
    Make = kMakerName;

    const auto& keys = HeaderKeys();
    std::array<bool, 46> found{};
    std::size_t left = keys.size();
    for (std::string_view line : header) {
        const auto eq = line.find('=');
        if (eq == std::string_view::npos)
            continue;
        const std::string_view key = line.substr(0, eq);
        for (std::size_t k = 0; k < keys.size(); ++k) {
            // The first line with a key counts; later duplicates are ignored.
            if (!found[k] && SameTextIgnoringCase(key, keys[k].key)) {
                found[k] = true;
                this->*keys[k].field = std::string(line.substr(eq + 1));
                --left;
                break;
            }
        }
        if (left == 0)
            break;
    }
    if (IsUtf8Text(bytes)) {
        for (const THeaderKey& key : keys)
            this->*key.field = Utf8ToWindows1252(this->*key.field, Utf8Replaced);
    }

    std::size_t bytesHint = 0;
    for (std::size_t p = 0; p < points.size() && p < 722; ++p)
        bytesHint += TextAfter(points[p], '=').size();
    Azimuth.Reserve(361, bytesHint / 2 + 16);
    Elevation.Reserve(361, bytesHint / 2 + 16);
    AppendPoints(points, 180, 360, Azimuth);
    AppendPoints(points, 1, 180, Azimuth);
    AppendPoints(points, 541, 721, Elevation);
    AppendPoints(points, 362, 541, Elevation);
}

std::string_view TQuvFile::AzimuthAt(int angle) const
{
    if (angle < 0 || angle > 360)
        throw EListError(360 - angle);
    return Azimuth[static_cast<std::size_t>(360 - angle)];
}

std::string_view TQuvFile::ElevationAt(int angle) const
{
    if (angle < 0 || angle > 360)
        throw EListError(360 - angle);
    return Elevation[static_cast<std::size_t>(360 - angle)];
}

double TQuvFile::FrontToBackValue() const
{
    std::string_view text = FrontToBackRatio;
    while (!text.empty() && (text.front() == ' ' || text.front() == '>'))
        text.remove_prefix(1);
    return StrToFloat(text);
}

double TQuvFile::LengthValue() const
{
    const auto blank = Length.find(' ');
    if (blank == std::string::npos)
        throw EConvertError::NotAFloat(Length);
    return StrToFloat(std::string_view(Length).substr(0, blank));
}

} // namespace quv

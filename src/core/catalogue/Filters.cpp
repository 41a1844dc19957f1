#include "catalogue/Filters.h"

#include "catalogue/CaseFold.h"
#include "catalogue/Errors.h"
#include "catalogue/NumberText.h"
#include "catalogue/SharedLib.h"

#include <charconv>
#include <cstdint>
#include <map>
#include <unordered_set>

namespace quv {

namespace {

struct TCategoryRow {
    const char* text;
    double low, high;
    const char* polarization;
    const char* kind;
};

// Category 15 deliberately repeats the band and classes of category 11.
constexpr TCategoryRow kCategoryRows[kCategoryCount - 1] = {
    {"806-960 MHz Wideband Single Polarized Sector", 806, 960, "SINGLE", "SECTOR"},
    {"806-869 MHz SMR/ESMR Single Polarized Omni", 806, 869, "SINGLE", "OMNI"},
    {"806-869 MHz SMR/ESMR Single Polarized Sector", 806, 869, "SINGLE", "SECTOR"},
    {"824-894 MHz Cellular Single Polarized Omni", 824, 894, "SINGLE", "OMNI"},
    {"824-894 MHz Cellular Single Polarized Sector", 824, 894, "SINGLE", "SECTOR"},
    {"824-894 MHz Cellular Dual Polarized Sector", 824, 894, "DUAL", "SECTOR"},
    {"824-960 MHz Cellular Single Polarized Sector", 824, 960, "SINGLE", "SECTOR"},
    {"870-960 MHz Cellular Single Polarized Omni", 870, 960, "SINGLE", "OMNI"},
    {"870-960 MHz Cellular Single Polarized Sector", 870, 960, "SINGLE", "SECTOR"},
    {"870-960 MHz Cellular Dual Polarized Sector", 870, 960, "DUAL", "SECTOR"},
    {"1710-1880 MHz PCS Single Polarized Omni", 1710, 1880, "SINGLE", "OMNI"},
    {"1710-1990 MHz PCS Single Polarized Sector", 1710, 1990, "SINGLE", "SECTOR"},
    {"1710-1880 MHz PCS Dual Polarized Sector", 1710, 1880, "DUAL", "SECTOR"},
    {"1850-1990 MHz PCS Single Polarized Omni", 1850, 1990, "SINGLE", "OMNI"},
    {"1850-1990 MHz PCS Dual Polarized Sector", 1850, 1990, "DUAL", "SECTOR"},
    {"1710-1990 MHz PCS Single Polarized Variable Azimuth Beamwidth Sector", 1710, 1990, "SINGLE",
     "SECTOR"},
    {"1710-2170 MHz UMTS Wideband Dual Polarized Sector", 1710, 2170, "DUAL", "SECTOR"},
    {"1710-2170 MHz UMTS Wideband Single Polarized Sector", 1710, 2170, "SINGLE", "SECTOR"},
    {"2300-2485 MHz Rural Telephony Single Polarized Omni", 2300, 2485, "SINGLE", "OMNI"},
};

const std::vector<CategoryFilter>& CategoryFilters()
{
    static const std::vector<CategoryFilter> filters = [] {
        std::vector<CategoryFilter> result(kCategoryCount - 1);
        for (int i = 0; i < kCategoryCount - 1; ++i)
            MakeCategoryFilter(kCategoryRows[i].polarization, kCategoryRows[i].kind, result[i],
                               kCategoryRows[i].low, kCategoryRows[i].high);
        return result;
    }();
    return filters;
}

bool Contains(std::string_view text, std::string_view sub)
{
    return text.find(sub) != std::string_view::npos;
}

// The record's band covers [low, high]; a band text that is not a number never does.
bool CoversBand(const TQuvFile& record, double low, double high)
{
    double begin = 0, end = 0;
    return TryStrToFloat(record.BeginFrequency, begin) && begin <= low &&
           TryStrToFloat(record.EndFrequency, end) && end >= high;
}

// A searched range: a band must cover it, as for a category; an antenna measured at one
// frequency (a band whose beginning is its end) matches a range that holds that frequency, or
// it could never be found by frequency at all.
bool MatchesRange(const TQuvFile& record, double low, double high)
{
    double begin = 0, end = 0;
    if (TryStrToFloat(record.BeginFrequency, begin) && TryStrToFloat(record.EndFrequency, end) &&
        begin == end)
        return low <= begin && begin <= high;
    return CoversBand(record, low, high);
}

template <typename Pred> void FillMatches(TCatalogue& catalogue, Pred pass)
{
    catalogue.MatchList.Clear();
    std::vector<TQuvFileList::Item> items;
    for (const auto& item : catalogue.Catalogue)
        if (pass(*item.object))
            items.push_back(item);
    catalogue.MatchList.AddMany(std::move(items));
}

// Gains are compared at 0.0001 dB so that 13.0 and 14.00 - 1 are equal.
std::int64_t Units(double value)
{
    return RoundHalfEven(value * 10000.0);
}

// "14.00 (16.20)" -> "14.00"
std::string_view GainItemDBd(std::string_view item)
{
    const auto blank = item.find(' ');
    return blank == std::string_view::npos ? item : item.substr(0, blank);
}

bool PassesFrequency(const TQuvFile& record, const TMultiSearch& s)
{
    double b = 0, e = 0;
    if (!s.begRange || !s.endRange || !TryStrToFloat(*s.begRange, b) ||
        !TryStrToFloat(*s.endRange, e) || !(b < e))
        return false;
    return MatchesRange(record, b, e);
}

bool PassesGain(const TQuvFile& record, const TMultiSearch& s)
{
    double g1 = 0, g2 = 0, gain = 0;
    if (!s.begGain || !s.endGain || !TryStrToFloat(GainItemDBd(*s.begGain), g1) ||
        !TryStrToFloat(GainItemDBd(*s.endGain), g2))
        return false;
    const std::int64_t low = Units(g1 - 1), high = Units(g2 + 1);
    if (high < low || !TryStrToFloat(record.GainDBd, gain))
        return false;
    const std::int64_t value = Units(gain);
    return low <= value && value <= high;
}

bool PassesPolarization(const TQuvFile& record, const TMultiSearch& s)
{
    if (!s.polarizationItem)
        return false;
    return Contains(UpperCase(record.PolarizationType), UpperCase(*s.polarizationItem));
}

bool PassesDowntilt(const TQuvFile& record, const TMultiSearch& s)
{
    if (!s.downtiltItem)
        return false;
    double selected = 0, tilt = 0;
    if (TryStrToFloat(*s.downtiltItem, selected))
        return TryStrToFloat(record.ElectricalDowntilt, tilt) && tilt == selected;
    if (*s.downtiltItem == "Variable")
        return IsVariableDowntilt(record);
    return false;
}

// Distinct number texts (ignoring case) of one field, sorted by value, formatted "%.2f".
std::vector<std::string> NumberList(const TCatalogue& catalogue, std::string TQuvFile::*field)
{
    std::vector<std::string> texts;
    std::unordered_set<std::string> seen;
    for (const auto& item : catalogue.Catalogue) {
        const std::string& text = item.object->*field;
        if (IsNumber(text) && seen.insert(UpperCase(text)).second)
            texts.push_back(text);
    }
    SortNumericTexts(texts, 0, static_cast<int>(texts.size()) - 1);
    for (std::string& text : texts)
        text = Format("%.2f", {StrToFloat(text)});
    return texts;
}

bool Filled(std::string_view text)
{
    return !TrimControl(text).empty();
}

// Integer reading of a value: leading blanks and a sign allowed, nothing after the digits.
int IntegerOrZero(std::string_view text)
{
    std::size_t b = 0;
    while (b < text.size() && text[b] == ' ')
        ++b;
    text.remove_prefix(b);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty())
        return 0;
    return value;
}

const std::string& PartNumberAt(const TQuvFileList& list, int index)
{
    static const std::string empty;
    if (index < 0 || index >= list.Count())
        return empty;
    return RecordAt(list, index)->PartNumber;
}

} // namespace

const std::string kBeginGreaterMessage =
    "\"Beginning Frequency\" cannot be greater than \"Ending Frequency\"";
const std::string kBeginEqualMessage =
    "\"Beginning Frequency\" cannot be equal to \"Ending Frequency\"";

const std::vector<std::string>& CategoryNames()
{
    static const std::vector<std::string> names = [] {
        std::vector<std::string> result;
        for (const auto& row : kCategoryRows)
            result.emplace_back(row.text);
        result.emplace_back("Variable Electrical Downtilt Antennas");
        return result;
    }();
    return names;
}

const CategoryFilter& CategoryFilterAt(int index)
{
    if (index < 0 || index >= kCategoryCount - 1)
        throw EListError(index);
    return CategoryFilters()[index];
}

std::string PolarizationClass(const TQuvFile& record)
{
    const std::string upper = UpperCase(record.PolarizationType);
    return Contains(upper, "DUAL") || Contains(upper, "SLANT") ? "DUAL" : "SINGLE";
}

std::string KindClass(const TQuvFile& record)
{
    return Contains(UpperCase(record.AntennaType), "OMNI") ? "OMNI" : "SECTOR";
}

bool IsVariableDowntilt(const TQuvFile& record)
{
    const std::string& pn = record.PartNumber;
    return pn.size() >= 2 && UpperCase(pn.substr(pn.size() - 2)) == "XD";
}

void ApplyCategory(TCatalogue& catalogue, int index)
{
    if (index == kVariableDowntiltCategory) {
        FillMatches(catalogue, [](const TQuvFile& r) { return IsVariableDowntilt(r); });
        return;
    }
    if (index < 0 || index >= kCategoryCount) {
        catalogue.MatchList.Clear();
        return;
    }
    const CategoryFilter& f = CategoryFilterAt(index);
    FillMatches(catalogue, [&f](const TQuvFile& r) {
        return CoversBand(r, f.LowMHz, f.HighMHz) && PolarizationClass(r) == f.Polarization &&
               KindClass(r) == f.Kind;
    });
}

std::string ApplyFrequencyRange(TCatalogue& catalogue, std::optional<double> begin,
                                std::optional<double> end)
{
    catalogue.MatchList.Clear();
    if (!begin || !end)
        return {};
    if (*begin > *end)
        return kBeginGreaterMessage;
    if (*begin == *end)
        return kBeginEqualMessage;
    const double b = *begin, e = *end;
    FillMatches(catalogue, [b, e](const TQuvFile& r) { return MatchesRange(r, b, e); });
    return {};
}

void ApplyPartNumber(TCatalogue& catalogue, std::optional<std::string_view> partNumber)
{
    if (!partNumber) {
        catalogue.MatchList.Clear();
        return;
    }
    const std::string_view pn = *partNumber;
    FillMatches(catalogue, [pn](const TQuvFile& r) { return r.PartNumber == pn; });
}

void FindClosestMatch(TCatalogue& catalogue, std::string_view text)
{
    catalogue.MatchList.Clear();
    if (text.empty())
        return;
    FillMatches(catalogue, [text](const TQuvFile& r) {
        return r.PartNumber.size() >= text.size() &&
               SameTextIgnoringCase(std::string_view(r.PartNumber).substr(0, text.size()), text);
    });
}

bool PassesMultiSearch(const TQuvFile& record, const TMultiSearch& s)
{
    bool pass = true;
    pass = (!s.frequency || PassesFrequency(record, s)) && pass;
    pass = (!s.gain || PassesGain(record, s)) && pass;
    pass = (!s.polarization || PassesPolarization(record, s)) && pass;
    pass = (!s.downtilt || PassesDowntilt(record, s)) && pass;
    return pass;
}

void RunMultiSearch(TCatalogue& catalogue, const TMultiSearch& search)
{
    FillMatches(catalogue, [&search](const TQuvFile& r) { return PassesMultiSearch(r, search); });
}

std::vector<std::string> PartNumberList(const TCatalogue& catalogue)
{
    std::vector<std::string> result;
    std::unordered_set<std::string> seen;
    for (const auto& item : catalogue.Catalogue)
        if (seen.insert(FoldCase(item.object->PartNumber)).second)
            result.push_back(item.object->PartNumber);
    return result;
}

std::vector<std::string> BeginFrequencyList(const TCatalogue& catalogue)
{
    return NumberList(catalogue, &TQuvFile::BeginFrequency);
}
std::vector<std::string> EndFrequencyList(const TCatalogue& catalogue)
{
    return NumberList(catalogue, &TQuvFile::EndFrequency);
}

std::vector<std::string> DowntiltList(const TCatalogue& catalogue)
{
    std::vector<std::string> result = NumberList(catalogue, &TQuvFile::ElectricalDowntilt);
    result.emplace_back("Variable");
    return result;
}

std::vector<std::string> GainList()
{
    std::vector<std::string> result;
    for (int g = 0; g <= 25; ++g)
        result.push_back(Format("%.2f (%.2f)", {static_cast<double>(g), g + 2.2}));
    return result;
}

std::string AntennaItemText(const TQuvFileList& list, int index)
{
    const TQuvFile& r = *RecordAt(list, index);
    if (r.PartNumber != PartNumberAt(list, index - 1) &&
        r.PartNumber != PartNumberAt(list, index + 1))
        return r.PartNumber;
    return SharedPartItemText(r);
}

std::string SharedPartItemText(const TQuvFile& r)
{
    if (Contains(UpperCase(r.PartNumber), "PCS-XAZ"))
        return Format("%s, %s-%s MHz, %s Deg. AZ BW",
                      {r.PartNumber, r.BeginSubFrequency, r.EndSubFrequency, r.AzimuthBeamwidth});
    return Format("%s, %s-%s MHz", {r.PartNumber, r.BeginSubFrequency, r.EndSubFrequency});
}

std::vector<std::string> RankedItemNames(const std::vector<const TQuvFile*>& records,
                                         const TQuvFileList& catalogue)
{
    std::map<std::string, int> counts;
    for (const auto& item : catalogue)
        ++counts[item.object->PartNumber];
    std::vector<std::string> names;
    names.reserve(records.size());
    for (const TQuvFile* r : records)
        names.push_back(counts[r->PartNumber] > 1 ? SharedPartItemText(*r) : r->PartNumber);
    return names;
}

std::vector<std::string> AntennaItemTexts(const TQuvFileList& list)
{
    std::vector<std::string> result;
    result.reserve(list.Count());
    for (int i = 0; i < list.Count(); ++i)
        result.push_back(AntennaItemText(list, i));
    return result;
}

std::vector<TSpecRow> SpecificationRows(const TQuvFile& r)
{
    const bool omni = Contains(UpperCase(r.AntennaType), "OMNI");
    std::vector<TSpecRow> rows;
    auto add = [&rows](bool when, const char* title, std::string value = {}) {
        if (when && static_cast<int>(rows.size()) < kMaxSpecRows)
            rows.push_back({title, std::move(value)});
    };
    add(true, "Antenna Model", r.PartNumber);
    add(true, "Description", r.Description);
    add(true, "Electrical Specifications");
    add(true, "  Frequency Band, MHz:", r.BeginSubFrequency + "-" + r.EndSubFrequency);
    add(true, "  Gain, dBd (dBi)", Format("%s (%s)", {r.GainDBd, r.GainDBi}));
    add(!omni, "  Azimuth Beamwidth, degrees", r.AzimuthBeamwidth);
    add(true, "  Elevation Beamwidth, degrees", r.ElevationBeamwidth);
    add(!omni, "  Front to Back Ratio, (dB)", r.FrontToBackRatio);
    add(true, "  Return Loss, dB (VSWR)", r.ReturnLoss);
    add(Filled(r.Impedance), "  Impedance, ohms", r.Impedance);
    add(!omni && Filled(r.PortToPortIsolation) && IntegerOrZero(r.NumberOfConnectors) > 1,
        "  Port to Port Isolation, dB", r.PortToPortIsolation);
    add(!omni && Filled(r.Intermodulation), "  Intermodulation, dBc", r.Intermodulation);
    add(true, "  Polarization Type", r.PolarizationType);
    add(true, "  Electrical Downtilt, degrees", r.ElectricalDowntilt);
    add(Filled(r.ExtendedPatternDescription), "  Extended Description",
        r.ExtendedPatternDescription);
    add(Filled(r.MaxInputPower), "  Maximum Input Power, watts", r.MaxInputPower);
    add(Filled(r.LightningProtection), "  Lightning Protection", r.LightningProtection);
    add(true, "  Connector Type", r.ConnectorType);
    add(Filled(r.ConnectorPosition), "  Connector Position", r.ConnectorPosition);
    add(!omni && Filled(r.NumberOfConnectors), "  Number of Connectors", r.NumberOfConnectors);
    add(true, "Mechanical Specifications");
    add(true,
        omni ? "  Antenna Dimensions, L x Dia., mm (inches)"
             : "  Antenna Dimensions, L x W x D, mm (inches)",
        r.Dimensions);
    add(Filled(r.AntennaWeight), "  Weight, kg (lb)", r.AntennaWeight);
    add(Filled(r.RadomeColor), "  Radome Color", r.RadomeColor);
    add(Filled(r.RadomeMaterial), "  Radome Material", r.RadomeMaterial);
    add(true, "Environmental Specifications");
    add(Filled(r.SurvivalWindSpeed), "  Survival Wind Speed, km/h (mph)", r.SurvivalWindSpeed);
    add(Filled(r.WindLoadFrontal), "  Wind Load - Frontal, N (lbf)*", r.WindLoadFrontal);
    add(Filled(r.WindLoadLateral), "  Wind Load - Lateral, N (lbf)*", r.WindLoadLateral);
    add(Filled(r.WindLoadRear), "  Wind Load - Rear, N (lbf)*", r.WindLoadRear);
    add(Filled(r.TemperatureRange), "  Temperature Range, degrees C", r.TemperatureRange);
    add(Filled(r.Humidity), "  Humidity", r.Humidity);
    add(true, "  *Based on 100 mph (161 km/h)");
    add(true, "Mounting Hardware");
    add(true, "  Mounting Bracket Part Number", r.MountPartNumber);
    add(Filled(r.MountDescription), "  Mount Description", r.MountDescription);
    add(Filled(r.MountWeight), "  Mount Weight, kg (lb)", r.MountWeight);
    return rows;
}

bool IsSectionTitle(std::string_view text)
{
    return text == "Electrical Specifications" || text == "Mechanical Specifications" ||
           text == "Environmental Specifications" || text == "Mounting Hardware";
}

bool IsBoldTitle(std::string_view text)
{
    return IsSectionTitle(text) || text == "Antenna Model" || text == "Description";
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines)
{
    std::string result;
    for (const std::string& line : lines) {
        result += line;
        result += "\r\n";
    }
    return result;
}

std::string CopySpecsText(const std::vector<TSpecRow>& rows)
{
    std::string result;
    for (const TSpecRow& row : rows) {
        result += TrimControl(row.title);
        result += '\t';
        result += row.value;
        result += "\r\n";
    }
    return result;
}

} // namespace quv

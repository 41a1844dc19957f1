// The selection window's filters as plain functions over a catalogue: each one clears its
// MatchList and refills it by walking its Catalogue from first to last, so the matches stay in
// part-number order. Also the value lists of the filter pages, the antenna list's item texts and
// the rows of the specification grid, so quvtool and the window show the same texts.
#pragma once

#include "catalogue/QuvLib.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quv {

// The application categories, in list order; the last one is the variable downtilt test.
inline constexpr int kCategoryCount = 20;
inline constexpr int kVariableDowntiltCategory = 19;
const std::vector<std::string>& CategoryNames();
// The band and classes of category 0..18 (EListError for any other index).
const CategoryFilter& CategoryFilterAt(int index);

// Record classes used by the categories.
std::string PolarizationClass(const TQuvFile& record); // "DUAL" (also for "SLANT") or "SINGLE"
std::string KindClass(const TQuvFile& record);         // "OMNI" or "SECTOR"
bool IsVariableDowntilt(const TQuvFile& record);       // part number ends in "XD", any case

// Records whose frequency or gain text is not a number never pass a test that needs the number;
// no filter throws for such a record.

// index -1 (nothing selected) empties the MatchList.
void ApplyCategory(TCatalogue& catalogue, int index);

// The two refusal messages of the frequency page.
extern const std::string kBeginGreaterMessage;
extern const std::string kBeginEqualMessage;
// Empty range (either side absent) or refused range: empty MatchList. Returns the refusal
// message for a refused range (the caller decides whether to show it), else an empty text.
std::string ApplyFrequencyRange(TCatalogue& catalogue, std::optional<double> begin,
                                std::optional<double> end);

// The records whose part number equals `partNumber` exactly; nullopt (no selection) empties.
void ApplyPartNumber(TCatalogue& catalogue, std::optional<std::string_view> partNumber);

// The records whose part number begins with `text`, compared in lower case; empty text: none.
void FindClosestMatch(TCatalogue& catalogue, std::string_view text);

// The multi search page: a criterion applies only when its flag is set; the optionals hold the
// selected item texts of the drop-down lists exactly as listed ("806.00", "14.00 (16.20)",
// "Dual", "6.00" or "Variable"); an absent selection fails its criterion.
struct TMultiSearch {
    bool frequency = false;
    std::optional<std::string> begRange, endRange;
    bool gain = false;
    std::optional<std::string> begGain, endGain;
    bool polarization = false;
    std::optional<std::string> polarizationItem;
    bool downtilt = false;
    std::optional<std::string> downtiltItem;
};
void RunMultiSearch(TCatalogue& catalogue, const TMultiSearch& search);
// One record against the criteria (what RunMultiSearch applies to each record).
bool PassesMultiSearch(const TQuvFile& record, const TMultiSearch& search);

// Value lists of the filter pages, built from the catalogue's Catalogue: part numbers distinct
// ignoring case (the first met kept); frequencies and downtilts as "%.2f", ascending, the
// downtilts followed by "Variable"; gains "0.00 (2.20)" .. "25.00 (27.20)".
std::vector<std::string> PartNumberList(const TCatalogue& catalogue);
std::vector<std::string> BeginFrequencyList(const TCatalogue& catalogue);
std::vector<std::string> EndFrequencyList(const TCatalogue& catalogue);
std::vector<std::string> DowntiltList(const TCatalogue& catalogue);
std::vector<std::string> GainList();

// The antenna list's item text for record `index` of `list`: the part number, decorated with
// the sub-band (and the azimuth beamwidth for "PCS-XAZ" models) when a neighbour shares it.
std::string AntennaItemText(const TQuvFileList& list, int index);
// The decorated form itself: "TP-PCS-XAZ17, 1710-1880 MHz, 65 Deg. AZ BW", "TD2165-18, 1920-1980
// MHz", for a record known to share its part number wherever it is listed.
std::string SharedPartItemText(const TQuvFile& record);
std::vector<std::string> AntennaItemTexts(const TQuvFileList& list);
// Names for records listed out of catalogue order (a ranking): the part number, or the decorated
// form when `catalogue` holds that part number more than once.
std::vector<std::string> RankedItemNames(const std::vector<const TQuvFile*>& records,
                                         const TQuvFileList& catalogue);

// One row of the specification grid; a section row has an empty value.
struct TSpecRow {
    std::string title;
    std::string value;
};
inline constexpr int kMaxSpecRows = 37;
std::vector<TSpecRow> SpecificationRows(const TQuvFile& record);
bool IsSectionTitle(std::string_view text); // drawn on silver
bool IsBoldTitle(std::string_view text);    // section titles, "Antenna Model", "Description"

// Clipboard texts: every line followed by CR LF; for the grid, the trimmed title, TAB, value.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);
std::string CopySpecsText(const std::vector<TSpecRow>& rows);

} // namespace quv

// The record lists of one catalogue. TCatalogue owns every loaded record; its Catalogue lists them
// in part-number order, the filters copy references into its MatchList, the window copies the
// antennas chosen for viewing into its PlotList. The lists never free a record, and no list
// outlives the records it points to.
#pragma once

#include "catalogue/QuvFile.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quv {

// Case-insensitive, locale-aware comparison of two part numbers (<0, 0, >0).
int CompareTextLocale(std::string_view a, std::string_view b);

// An ordered list of texts, each with a record. A sorted list keeps the locale order and puts a
// text added later before the equal texts already present.
class TQuvFileList {
public:
    struct Item {
        std::string text;
        TQuvFile* object = nullptr;
    };

    explicit TQuvFileList(bool sorted = false) : sorted_(sorted) {}

    int Count() const { return static_cast<int>(items_.size()); }
    bool Empty() const { return items_.empty(); }
    bool Sorted() const { return sorted_; }
    // Both throw EListError for an index outside the list.
    const std::string& Strings(int index) const;
    TQuvFile* Objects(int index) const;

    // Returns the index the item went to.
    int Add(std::string text, TQuvFile* object);
    // Adds many items in the given order; the result equals adding them one by one, in far less
    // time for a large catalogue.
    void AddMany(std::vector<Item> items);
    void Clear() { items_.clear(); }

    std::vector<Item>::const_iterator begin() const { return items_.begin(); }
    std::vector<Item>::const_iterator end() const { return items_.end(); }

private:
    std::vector<Item> items_;
    bool sorted_;
};

// Result of scanning an antenna folder: the good records go into the Catalogue, each failure is
// reported with the file's name and the error's text.
struct TLoadFailure {
    std::string name;
    std::string message;
};
struct TLoadReport {
    int fileCount = 0;
    int loaded = 0;
    std::vector<TLoadFailure> failures;
};

// One catalogue with its lists. The main window owns one, each quvtool command and each test
// makes its own. Not copyable: the lists point into its own records.
class TCatalogue {
public:
    TCatalogue() = default;
    TCatalogue(const TCatalogue&) = delete;
    TCatalogue& operator=(const TCatalogue&) = delete;
    // Empties the lists before the records go.
    ~TCatalogue();

    TQuvFileList Catalogue{true}; // sorted, duplicates accepted
    TQuvFileList MatchList;
    TQuvFileList PlotList;
    std::string ProgramFolder; // ends with a path separator

    // Sets ProgramFolder, adding the trailing separator when missing.
    void SetProgramFolder(const std::string& folder);

    // Takes ownership of a record for the catalogue's lifetime and returns it for listing.
    TQuvFile* AdoptRecord(std::unique_ptr<TQuvFile> record);

    // Frees every record and empties the three lists, so no list keeps a dangling reference.
    void FreeRecords();

    // Loads every "*.quv" of `folder` (with or without trailing separator) into the Catalogue,
    // beside the records already there. `progress` (may be empty) is called after each file
    // with the number done so far and the total.
    TLoadReport LoadFolder(const std::string& folder,
                           const std::function<void(int done, int total)>& progress = {});

private:
    std::vector<std::unique_ptr<TQuvFile>> records_;
};

// The antenna folder beside the program, ending with "/": its "QUV" folder, or failing that the
// first folder (by name) called "quv" in any letter case; "QUV/" when there is none.
std::string AntennaFolder(const std::string& programFolder);

// Creates a record and loads it; load errors propagate.
std::unique_ptr<TQuvFile> LoadQuvFile(const std::string& path);

// Appends the bare names of the regular files matching `mask` ("folder/*.quv"; "*" and "?" in
// the name part, compared without regard to case), in the order the file system lists them.
void ListFiles(const std::string& mask, std::vector<std::string>& names);

// The record of item `index` (EListError outside the list).
TQuvFile* RecordAt(const TQuvFileList& list, int index);

// Sorts texts[first..last] by numeric value at a resolution of 0.0001. Every text in the range
// must be a number (EConvertError otherwise).
void SortNumericTexts(std::vector<std::string>& texts, int first, int last);

// One application category: a band and the two classes a record must have.
struct CategoryFilter {
    double LowMHz = 0;
    double HighMHz = 0;
    std::string Polarization; // "SINGLE" or "DUAL"
    std::string Kind;         // "OMNI" or "SECTOR"
};
void MakeCategoryFilter(std::string_view polarization, std::string_view kind,
                        CategoryFilter& filter, double low, double high);

} // namespace quv

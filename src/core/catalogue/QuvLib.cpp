#include "catalogue/QuvLib.h"

#include "catalogue/CaseFold.h"
#include "catalogue/Errors.h"
#include "catalogue/NumberText.h"
#include "catalogue/SharedLib.h"

#include <QCollator>
#include <QString>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

namespace quv {

namespace {

QString Decode1252(std::string_view text)
{
    // Part numbers are nearly always ASCII; skip the decoder then.
    bool ascii = true;
    for (unsigned char c : text)
        if (c >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii)
        return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    QStringDecoder decoder("windows-1252");
    if (!decoder.isValid())
        return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    return decoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

const QCollator& PartNumberCollator()
{
    static const QCollator collator = [] {
        QCollator c{QLocale()};
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}

} // namespace

namespace {

// The locale order, made consistent with FoldCase: texts that fold alike are equal, and texts
// the collator cannot tell apart but that fold differently are ordered by their folded bytes,
// so an equal run in the Catalogue is exactly one part number in any case.
int CompareKeyed(std::string_view foldedA, const QString& a, std::string_view foldedB,
                 const QString& b)
{
    if (foldedA == foldedB)
        return 0;
    if (const int c = PartNumberCollator().compare(a, b); c != 0)
        return c;
    return foldedA < foldedB ? -1 : 1;
}

} // namespace

int CompareTextLocale(std::string_view a, std::string_view b)
{
    if (SameTextIgnoringCase(a, b))
        return 0;
    return CompareKeyed(FoldCase(a), Decode1252(a), FoldCase(b), Decode1252(b));
}

const std::string& TQuvFileList::Strings(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(index);
    return items_[static_cast<std::size_t>(index)].text;
}

TQuvFile* TQuvFileList::Objects(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(index);
    return items_[static_cast<std::size_t>(index)].object;
}

int TQuvFileList::Add(std::string text, TQuvFile* object)
{
    if (!sorted_) {
        items_.push_back({std::move(text), object});
        return Count() - 1;
    }
    // Before the first item that is not less: a later record goes before equal ones.
    const auto pos = std::partition_point(items_.begin(), items_.end(), [&](const Item& item) {
        return CompareTextLocale(item.text, text) < 0;
    });
    const auto index = pos - items_.begin();
    items_.insert(pos, {std::move(text), object});
    return static_cast<int>(index);
}

void TQuvFileList::AddMany(std::vector<Item> items)
{
    if (!sorted_) {
        for (auto& item : items)
            items_.push_back(std::move(item));
        return;
    }
    // Newest first, then a stable sort: equal texts end up latest-added first, as one-by-one
    // insertion would leave them.
    // Texts are decoded once; sort keys are not used because without a full collation backend
    // they do not fold letter case the way compare() does.
    struct Keyed {
        Item item;
        QString key;
        std::string folded;
    };
    std::vector<Keyed> all;
    all.reserve(items_.size() + items.size());
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        QString key = Decode1252(it->text);
        std::string folded = FoldCase(it->text);
        all.push_back({std::move(*it), std::move(key), std::move(folded)});
    }
    for (auto& item : items_) {
        QString key = Decode1252(item.text);
        std::string folded = FoldCase(item.text);
        all.push_back({std::move(item), std::move(key), std::move(folded)});
    }
    std::stable_sort(all.begin(), all.end(), [](const Keyed& a, const Keyed& b) {
        return CompareKeyed(a.folded, a.key, b.folded, b.key) < 0;
    });
    items_.clear();
    items_.reserve(all.size());
    for (auto& k : all)
        items_.push_back(std::move(k.item));
}

TCatalogue::~TCatalogue()
{
    FreeRecords();
}

void TCatalogue::SetProgramFolder(const std::string& folder)
{
    ProgramFolder = folder;
    if (!ProgramFolder.empty() && ProgramFolder.back() != '/')
        ProgramFolder += '/';
}

std::string AntennaFolder(const std::string& programFolder)
{
    namespace fs = std::filesystem;
    std::string base = programFolder;
    if (!base.empty() && base.back() != '/')
        base += '/';
    std::error_code ec;
    if (fs::is_directory(base + "QUV", ec))
        return base + "QUV/";
    // Other systems do not tell "quv" from "QUV"; the start-up message itself says "quv".
    std::string found;
    fs::directory_iterator it(base.empty() ? std::string(".") : base, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (SameTextIgnoringCase(name, "QUV") && it->is_directory(typeError) &&
            (found.empty() || name < found))
            found = name;
    }
    return base + (found.empty() ? std::string("QUV") : found) + "/";
}

std::unique_ptr<TQuvFile> LoadQuvFile(const std::string& path)
{
    auto record = std::make_unique<TQuvFile>();
    record->LoadFromFile(path);
    return record;
}

TQuvFile* TCatalogue::AdoptRecord(std::unique_ptr<TQuvFile> record)
{
    records_.push_back(std::move(record));
    return records_.back().get();
}

void TCatalogue::FreeRecords()
{
    MatchList.Clear();
    PlotList.Clear();
    Catalogue.Clear();
    records_.clear();
}

TQuvFile* RecordAt(const TQuvFileList& list, int index)
{
    return list.Objects(index);
}

namespace {

char Fold(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool WildcardMatch(std::string_view pattern, std::string_view name)
{
    std::size_t p = 0, n = 0, star = std::string_view::npos, mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || Fold(pattern[p]) == Fold(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace

void ListFiles(const std::string& mask, std::vector<std::string>& names)
{
    namespace fs = std::filesystem;
    const auto slash = mask.find_last_of('/');
    const std::string folder =
        slash == std::string::npos ? std::string(".") : mask.substr(0, slash + 1);
    const std::string pattern = slash == std::string::npos ? mask : mask.substr(slash + 1);
    std::error_code ec;
    fs::directory_iterator it(folder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        std::string name = it->path().filename().string();
        if (WildcardMatch(pattern, name))
            names.push_back(std::move(name));
    }
}

void SortNumericTexts(std::vector<std::string>& texts, int first, int last)
{
    if (last < first)
        return;
    if (first < 0 || last >= static_cast<int>(texts.size()))
        throw EListError(first < 0 ? first : last);
    // Every value, not only the pivot, is rounded to 0.0001 steps: a pivot rounded on its own
    // can fall outside the values of its range, and the partition then never ends. The steps are
    // kept as doubles, so values beyond a 64-bit integer's range keep their order; values too
    // large to scale at all are ordered by the values themselves.
    struct TKey {
        double steps;
        double value;
        bool operator<(const TKey& o) const
        {
            return steps != o.steps ? steps < o.steps : std::isinf(steps) && value < o.value;
        }
        bool operator>(const TKey& o) const { return o < *this; }
    };
    std::vector<TKey> values(texts.size());
    for (int k = first; k <= last; ++k) {
        const double value = StrToFloat(texts[static_cast<std::size_t>(k)]);
        values[static_cast<std::size_t>(k)] = {std::nearbyint(value * 10000.0), value};
    }
    auto at = [&](int k) -> TKey& { return values[static_cast<std::size_t>(k)]; };
    auto sort = [&](auto&& self, int lo, int hi) -> void {
        int i = lo, j = hi;
        const TKey pivot = at((lo + hi) / 2);
        do {
            while (at(i) < pivot)
                ++i;
            while (at(j) > pivot)
                --j;
            if (i <= j) {
                std::swap(at(i), at(j));
                std::swap(texts[static_cast<std::size_t>(i)], texts[static_cast<std::size_t>(j)]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (lo < j)
            self(self, lo, j);
        if (i < hi)
            self(self, i, hi);
    };
    sort(sort, first, last);
}

void MakeCategoryFilter(std::string_view polarization, std::string_view kind,
                        CategoryFilter& filter, double low, double high)
{
    filter.Polarization = std::string(polarization);
    filter.Kind = std::string(kind);
    filter.LowMHz = low;
    filter.HighMHz = high;
}

TLoadReport TCatalogue::LoadFolder(const std::string& folder,
                                   const std::function<void(int done, int total)>& progress)
{
    std::string base = folder;
    if (!base.empty() && base.back() != '/')
        base += '/';
    std::vector<std::string> names;
    ListFiles(base + "*.quv", names);

    TLoadReport report;
    report.fileCount = static_cast<int>(names.size());
    std::vector<TQuvFileList::Item> items;
    items.reserve(names.size());
    std::string bytes;
    int done = 0;
    for (const auto& name : names) {
        const std::string path = base + name;
        try {
            auto record = std::make_unique<TQuvFile>();
            ReadWholeFile(path, bytes);
            record->LoadFromBytes(bytes, path);
            TQuvFile* kept = AdoptRecord(std::move(record));
            items.push_back({kept->PartNumber, kept});
            ++report.loaded;
        } catch (const EShortPointsError& e) {
            // The loader's own error only names a position; the report says what is short.
            report.failures.push_back({name, ShortPointsText(e.PointLines())});
        } catch (const EQuvError& e) {
            report.failures.push_back({name, e.what()});
        }
        ++done;
        if (progress)
            progress(done, report.fileCount);
    }
    Catalogue.AddMany(std::move(items));
    return report;
}

} // namespace quv

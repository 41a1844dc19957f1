#include "reference/PatternFormat.h"

#include "catalogue/NumberText.h"
#include "catalogue/SharedLib.h"
#include "reference/ReaderSupport.h"

#include <algorithm>

namespace quv {

namespace {

bool IsTextLine(std::string_view line)
{
    for (char c : line) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u >= 0x80)
            return true;
    }
    return false;
}

std::vector<std::string_view> Patterns(std::string_view extensions)
{
    return Words(extensions);
}

void AddPatterns(std::string& list, std::vector<std::string_view>& seen,
                 std::string_view extensions)
{
    for (std::string_view ext : Patterns(extensions)) {
        if (std::find(seen.begin(), seen.end(), ext) != seen.end())
            continue;
        seen.push_back(ext);
        list += (list.empty() ? "*" : " *") + std::string(ext);
    }
}

} // namespace

bool TFormatProbe::ExtensionIn(std::string_view extensions) const
{
    if (extension.empty())
        return false;
    for (std::string_view ext : Patterns(extensions))
        if (ext == extension)
            return true;
    return false;
}

TFormatProbe MakeFormatProbe(const std::vector<std::string_view>& lines,
                             const std::string& fileName)
{
    TFormatProbe probe;
    probe.lines = &lines;
    bool headSeen = false;
    for (std::string_view raw : lines) {
        const std::string_view line = TrimControl(raw);
        if (line.empty())
            continue;
        if (!headSeen) {
            probe.head = line;
            headSeen = true;
        }
        if (IsTextLine(line))
            probe.textLines.push_back(line);
    }
    const std::size_t slash = fileName.find_last_of('/');
    const std::size_t dot = fileName.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        probe.extension = LowerCase(std::string_view(fileName).substr(dot));
    return probe;
}

std::string TFileFormat::DisplayName() const
{
    for (const TMarkedWord& word : SplitMarkedText(exportAs.caption))
        if (word.bold)
            return word.text;
    return std::string(exportAs.logName);
}

int FileFormatIndex(const TFileFormat& format)
{
    const auto& formats = FileFormats();
    const auto at = std::find(formats.begin(), formats.end(), &format);
    return at == formats.end() ? -1 : static_cast<int>(at - formats.begin());
}

std::string PatternFileDialogFilter()
{
    const auto& formats = FileFormats();
    std::vector<std::string_view> families;
    std::string filter;
    for (const TFileFormat* first : formats) {
        if (std::find(families.begin(), families.end(), first->family) != families.end())
            continue;
        families.push_back(first->family);
        std::vector<std::string> names;
        std::string patterns;
        std::vector<std::string_view> seen;
        for (const TFileFormat* f : formats) {
            if (f->family != first->family)
                continue;
            names.push_back(f->DisplayName());
            AddPatterns(patterns, seen, f->readExtensions);
        }
        std::string title = names.front();
        for (std::size_t k = 1; k < names.size(); ++k)
            title += (k + 1 == names.size() ? " and " : ", ") + names[k];
        filter += title + " files (" + patterns + ");;";
    }
    return filter + "All files (*)";
}

std::string WrittenFilePatterns()
{
    std::string list;
    std::vector<std::string_view> seen;
    for (const TFileFormat* format : FileFormats())
        AddPatterns(list, seen, format->exportAs.extensions);
    return list;
}

} // namespace quv

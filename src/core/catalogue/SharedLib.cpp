#include "catalogue/SharedLib.h"

#include "catalogue/CaseFold.h"
#include "catalogue/Errors.h"

#include <cstdio>
#include <memory>

namespace quv {

TLines SplitLines(std::string_view text)
{
    if (auto nul = text.find('\0'); nul != std::string_view::npos)
        text = text.substr(0, nul);
    TLines lines;
    lines.reserve(text.size() / 10 + 1);
    std::size_t start = 0;
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < n && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.push_back(text.substr(start));
    return lines;
}

void ReadWholeFile(const std::string& path, std::string& bytes)
{
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        throw EFOpenError(path);
    bytes.clear();
    char buffer[65536];
    for (;;) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
        bytes.append(buffer, got);
        if (got < sizeof buffer) {
            if (std::ferror(file.get()))
                throw EInOutError("Cannot read file " + path);
            break;
        }
    }
}

bool IsBlankLine(std::string_view line)
{
    for (unsigned char c : line)
        if (c > ' ')
            return false;
    return true;
}

std::string_view TrimControl(std::string_view text)
{
    std::size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ')
        --e;
    return text.substr(b, e - b);
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    return true;
}

void ExtractSection(std::string_view name, const TLines& source, TLines& target)
{
    std::size_t i = 0;
    while (i < source.size() && !SameTextIgnoringCase(source[i], name))
        ++i;
    if (i == source.size())
        return;
    target.clear();
    ++i;
    // The line after the section line is always taken, even when blank.
    if (i >= source.size())
        return;
    target.push_back(source[i]);
    for (++i; i < source.size() && !IsBlankLine(source[i]); ++i)
        target.push_back(source[i]);
}

std::string_view TextAfter(std::string_view text, char delimiter)
{
    const auto pos = text.find(delimiter);
    return pos == std::string_view::npos ? text : text.substr(pos + 1);
}

} // namespace quv

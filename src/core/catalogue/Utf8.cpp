#include "catalogue/Utf8.h"

#include <array>
#include <cstdint>

namespace quv {

namespace {

// The characters Windows-1252 puts at 0x80..0x9F (0 where it puts none).
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Decodes one character at `at`; 0 bytes when the sequence is not valid UTF-8.
std::size_t Decode(std::string_view s, std::size_t at, char32_t& c)
{
    const auto b0 = static_cast<unsigned char>(s[at]);
    std::size_t length = b0 < 0x80                  ? 1
                         : b0 >= 0xC2 && b0 <= 0xDF ? 2
                         : b0 >= 0xE0 && b0 <= 0xEF ? 3
                         : b0 >= 0xF0 && b0 <= 0xF4 ? 4
                                                    : 0;
    if (length == 0 || at + length > s.size())
        return 0;
    c = length == 1 ? b0 : length == 2 ? b0 & 0x1F : length == 3 ? b0 & 0x0F : b0 & 0x07;
    for (std::size_t k = 1; k < length; ++k) {
        const auto b = static_cast<unsigned char>(s[at + k]);
        if ((b & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (b & 0x3F);
    }
    // Overlong forms, surrogates and code points beyond Unicode are not valid.
    if ((length == 3 && c < 0x800) || (length == 4 && (c < 0x10000 || c > 0x10FFFF)) ||
        (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

bool IsUtf8Text(std::string_view bytes)
{
    bool multiByte = false;
    for (std::size_t at = 0; at < bytes.size();) {
        char32_t c = 0;
        const std::size_t length = Decode(bytes, at, c);
        if (length == 0)
            return false;
        multiByte = multiByte || length > 1;
        at += length;
    }
    return multiByte;
}

std::string Utf8ToWindows1252(std::string_view utf8, int& replaced)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        char32_t c = 0;
        std::size_t length = Decode(utf8, at, c);
        if (length == 0) {
            // Not expected in text already found valid; kept as the byte it is.
            out += utf8[at++];
            continue;
        }
        at += length;
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += static_cast<char>(c);
            continue;
        }
        char byte = 0;
        for (std::size_t k = 0; k < kHighControls.size(); ++k)
            if (kHighControls[k] == c && c != 0)
                byte = static_cast<char>(0x80 + k);
        if (byte == 0) {
            byte = '?';
            ++replaced;
        }
        out += byte;
    }
    return out;
}

} // namespace quv

#include "catalogue/CaseFold.h"

#include <array>

namespace quv {

namespace {

constexpr std::array<unsigned char, 256> MakeFoldTable()
{
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c);
    for (int c = 'A'; c <= 'Z'; ++c)
        table[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c + 0x20);
    for (int c = 0xC0; c <= 0xDE; ++c)
        if (c != 0xD7) // the multiplication sign has no lower case
            table[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c + 0x20);
    table[0x8A] = 0x9A; // Š
    table[0x8C] = 0x9C; // Œ
    table[0x8E] = 0x9E; // Ž
    table[0x9F] = 0xFF; // Ÿ
    return table;
}

constexpr std::array<unsigned char, 256> kFold = MakeFoldTable();

} // namespace

char FoldCase(char c)
{
    return static_cast<char>(kFold[static_cast<unsigned char>(c)]);
}

std::string FoldCase(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = FoldCase(c);
    return out;
}

} // namespace quv

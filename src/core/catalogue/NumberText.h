// Every conversion between number and text in the program goes through here: one parse rule
// (blanks, sign, digits, ".", exponent; nothing locale-dependent) and one rounding rule for
// fixed-decimal output (the value's 18-significant-digit expansion, halves away from zero).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace quv {

// Text to double. Leading/trailing blanks (spaces only), optional sign, digits with an optional "."
// and an optional exponent. Anything else throws
// EConvertError("'<text>' is not a valid floating point value").
double StrToFloat(std::string_view text);

// Same rule without throwing. An empty text is not a number.
bool TryStrToFloat(std::string_view text, double& value);
bool IsNumber(std::string_view text);

// One argument of Format: an integer, a double or a text.
class FormatArg {
public:
    enum class Kind { Int, Double, Text };
    FormatArg(int v) : kind_(Kind::Int), i_(v) {}
    FormatArg(long v) : kind_(Kind::Int), i_(v) {}
    FormatArg(long long v) : kind_(Kind::Int), i_(v) {}
    FormatArg(double v) : kind_(Kind::Double), d_(v) {}
    FormatArg(std::string_view v) : kind_(Kind::Text), s_(v) {}
    FormatArg(const char* v) : kind_(Kind::Text), s_(v) {}
    FormatArg(const std::string& v) : kind_(Kind::Text), s_(v) {}
    Kind GetKind() const { return kind_; }
    long long Int() const { return i_; }
    double Double() const { return d_; }
    std::string_view Text() const { return s_; }

private:
    Kind kind_;
    long long i_ = 0;
    double d_ = 0;
    std::string_view s_;
};

// printf-style patterns: %d %f %s %% with flags "-" "0" "+" " ", width (or "*"), precision.
// "%f" rounds on the 18-digit decimal expansion with halves away from zero ("%.1f" of 7.25 is
// "7.3"; "%.2f" of 2.675 is "2.67"). "%.4d" of 7 is "0007". A double passed to %d, an int to
// %f, a missing argument or an unknown conversion throws EConvertError.
std::string Format(std::string_view pattern, std::initializer_list<FormatArg> args);

// Fixed notation: at most `precision` significant digits and at most `digits` decimals (whichever
// gives fewer), then exactly `digits` decimals; scientific when the integer part has more than
// `precision` digits. FormatFixed(-0.125, 5, 2) is "-0.13"; FormatFixed(123.456, 4, 2) is "123.50".
std::string FormatFixed(double value, int precision, int digits);

// Shortest general form: up to 15 significant digits, no trailing zeros, no exponent for
// ordinary magnitudes (129.5 -> "129.5", 130.0 -> "130").
std::string FloatToStrGeneral(double value);

// "%*.1f" in `width`, blanks turned into "0", the minus sign moved to the front:
// FormatZeroPadded(6, -0.5) is "-000.5". A value wider than the field is left as formatted.
std::string FormatZeroPadded(int width, double value);

// Nearest integer, halves to the even neighbour (device coordinates, the numeric sort).
std::int64_t RoundHalfEven(double value);

// Shared writer helpers that work on text.
bool TextContains(std::string_view sub, std::string_view text); // case-insensitive containment
bool IsOmni(std::string_view antennaType);                      // "OMNI" in any case
std::string RemoveDashes(std::string_view text);
double AddDb(double a, double b);
std::string UpperCase(std::string_view text); // ASCII letters only, bytes kept otherwise
std::string LowerCase(std::string_view text);

} // namespace quv

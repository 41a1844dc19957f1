// Number text: one parse rule and one rounding rule (see NumberText.h and design.md, "Numbers").
//
// Output rounding never goes through printf. A double is first expanded to 18 significant
// decimal digits with std::to_chars (exact binary value, correctly rounded to 18 digits), and
// that digit string is rounded half away from zero at the requested position. Everything is
// built in fixed-size stack buffers and appended to the one result string.
#include "catalogue/NumberText.h"

#include "catalogue/Errors.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <system_error>

namespace quv {

namespace {

// ---------------------------------------------------------------------------------------------
// Text to number

bool IsBlank(char c)
{
    return c == ' ';
}
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// For a syntactically valid unsigned number text: the power of ten of its first nonzero digit,
// exponent included (saturated; a very negative value for zero). Tells an overflow from an
// underflow when from_chars reports the value out of range.
long long LeadingPowerOfTen(const char* p, const char* end)
{
    constexpr long long kLimit = 1'000'000'000;
    long long position = 0; // digits before the point
    for (const char* q = p; q < end && IsDigit(*q); ++q)
        ++position;
    long long power = -kLimit;
    const char* q = p;
    for (; q < end && *q != 'e' && *q != 'E'; ++q) {
        if (*q == '.')
            continue;
        --position; // now the power of ten of this digit
        if (*q != '0' && power == -kLimit)
            power = std::max(-kLimit, position);
    }
    if (power == -kLimit)
        return -kLimit;
    long long exponent = 0;
    if (q < end) {
        ++q;
        bool negative = false;
        if (*q == '+' || *q == '-')
            negative = *q++ == '-';
        for (; q < end; ++q)
            exponent = std::min(kLimit, exponent * 10 + (*q - '0'));
        if (negative)
            exponent = -exponent;
    }
    return power + exponent;
}

// Checks the syntax (blanks, sign, digits with ".", exponent, blanks) and converts. False for a
// text that breaks the rule or whose value overflows a double. An underflowing value (1e-999)
// is a valid number and gives the nearest double (zero or a subnormal).
bool ParseFloat(std::string_view text, double& value)
{
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end && IsBlank(*p))
        ++p;
    while (end > p && IsBlank(end[-1]))
        --end;
    if (p == end)
        return false;

    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    const char* const number = p; // from_chars gets the unsigned part only
    std::size_t mantissaDigits = 0, fractionDigits = 0;
    std::uint64_t mantissa = 0;
    while (p < end && IsDigit(*p)) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
        ++p;
        ++mantissaDigits;
    }
    if (p < end && *p == '.') {
        ++p;
        while (p < end && IsDigit(*p)) {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
            ++p;
            ++mantissaDigits;
            ++fractionDigits;
        }
    }
    if (mantissaDigits == 0)
        return false;
    // Pattern files hold millions of short decimals ("-28.125"): with at most 15 digits the
    // mantissa and the power of ten are exact doubles, and one division rounds correctly, so
    // the result is the one from_chars gives, at a fraction of its cost.
    if (p == end && mantissaDigits <= 15) {
        static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
        const double parsed = static_cast<double>(mantissa) / kPowers[fractionDigits];
        value = negative ? -parsed : parsed;
        return true;
    }
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        if (p < end && (*p == '+' || *p == '-'))
            ++p;
        const char* const exponentStart = p;
        while (p < end && IsDigit(*p))
            ++p;
        if (p == exponentStart)
            return false;
    }
    if (p != end)
        return false;

    double parsed = 0;
    const auto result = std::from_chars(number, end, parsed, std::chars_format::general);
    if (result.ptr != end)
        return false;
    if (result.ec == std::errc::result_out_of_range) {
        // Overflow or underflow (from_chars leaves the value untouched for both): only
        // overflow is refused; an underflow reads as zero.
        if (LeadingPowerOfTen(number, end) > 0)
            return false;
        parsed = 0;
    } else if (result.ec != std::errc()) {
        return false;
    }
    if (std::isinf(parsed) || std::isnan(parsed))
        return false;
    value = negative ? -parsed : parsed;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Number to text

constexpr int kExpansionDigits = 18;

// A finite double as a digit string: value = 0.d1d2d3... x 10^pointPos (count digits; positions
// past count are zeros). count == 0 means the value is zero.
struct Decimal {
    char digits[kExpansionDigits + 1];
    int count = 0;
    int pointPos = 1; // digits before the decimal point
    bool negative = false;

    bool IsZero() const { return count == 0; }
};

// The 18-significant-digit expansion of a finite value.
Decimal Expand(double value)
{
    Decimal d;
    d.negative = std::signbit(value);
    const double magnitude = std::fabs(value);
    if (magnitude == 0) {
        d.count = 0;
        d.pointPos = 1;
        return d;
    }
    char buf[48];
    const auto r = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific,
                                 kExpansionDigits - 1);
    // buf holds "d.ddddddddddddddddde+XX" (or e-XXX).
    d.digits[0] = buf[0];
    std::memcpy(d.digits + 1, buf + 2, kExpansionDigits - 1);
    const char* e = buf + 1 + kExpansionDigits; // the 'e'
    int exponent = 0;
    std::from_chars(e + 2, r.ptr, exponent);
    if (e[1] == '-')
        exponent = -exponent;
    d.count = kExpansionDigits;
    d.pointPos = exponent + 1;
    return d;
}

// Rounds the expansion to `keep` significant digits, halves away from zero (a digit of 5 or more
// at the first dropped position rounds up: the expansion is exact to 18 digits). Trailing zeros
// are removed. The sign is kept even when the result is zero; writers print it only for nonzero
// results.
Decimal RoundDigits(const Decimal& in, int keep)
{
    Decimal d = in;
    if (in.IsZero() || keep >= in.count) {
        // nothing dropped
    } else if (keep < 0) {
        d.count = 0;
    } else {
        const bool up = in.digits[keep] >= '5';
        d.count = keep;
        if (up) {
            int i = keep - 1;
            while (i >= 0 && d.digits[i] == '9')
                --i;
            if (i < 0) {
                d.digits[0] = '1';
                d.count = 1;
                ++d.pointPos;
            } else {
                ++d.digits[i];
                d.count = i + 1;
            }
        }
    }
    while (d.count > 0 && d.digits[d.count - 1] == '0')
        --d.count;
    if (d.count == 0)
        d.pointPos = 1;
    return d;
}

// Rounded to `decimals` digits after the point.
Decimal RoundDecimals(double value, int decimals)
{
    const Decimal d = Expand(value);
    if (d.IsZero())
        return d;
    const long long keep = static_cast<long long>(d.pointPos) + decimals;
    return RoundDigits(d, static_cast<int>(std::clamp<long long>(keep, -1, kExpansionDigits)));
}

bool ShowsMinus(const Decimal& d)
{
    return d.negative && !d.IsZero();
}

char DigitAt(const Decimal& d, long long index)
{
    return index >= 0 && index < d.count ? d.digits[index] : '0';
}

// Length of the fixed text without its sign.
std::size_t FixedLength(const Decimal& d, int decimals)
{
    const std::size_t intLen = d.pointPos > 0 ? static_cast<std::size_t>(d.pointPos) : 1;
    return intLen + (decimals > 0 ? 1 + static_cast<std::size_t>(decimals) : 0);
}

// Appends the digits (no sign) with exactly `decimals` decimals.
void AppendFixed(std::string& out, const Decimal& d, int decimals)
{
    const std::size_t start = out.size();
    out.resize(start + FixedLength(d, decimals));
    char* p = out.data() + start;
    if (d.pointPos <= 0) {
        *p++ = '0';
    } else {
        for (int i = 0; i < d.pointPos; ++i)
            *p++ = DigitAt(d, i);
    }
    if (decimals > 0) {
        *p++ = '.';
        for (int j = 0; j < decimals; ++j)
            *p++ = DigitAt(d, static_cast<long long>(d.pointPos) + j);
    }
}

// Scientific form, as the general format writes it: "1.2346E5", "-1E20", "1.5E-7" (digits
// without trailing zeros, no "+" and no leading zeros in the exponent).
void AppendScientific(std::string& out, const Decimal& d)
{
    if (ShowsMinus(d))
        out += '-';
    out += d.digits[0];
    if (d.count > 1) {
        out += '.';
        out.append(d.digits + 1, static_cast<std::size_t>(d.count - 1));
    }
    out += 'E';
    char buf[16];
    const auto r = std::to_chars(buf, buf + sizeof buf, d.pointPos - 1);
    out.append(buf, r.ptr);
}

// Non-finite values, spelled as the general format spells them.
const char* NonFiniteText(double value)
{
    if (std::isnan(value))
        return "NAN";
    return value < 0 ? "-INF" : "INF";
}

// ---------------------------------------------------------------------------------------------
// Format

[[noreturn]] void ThrowInvalidFormat(std::string_view pattern)
{
    throw EConvertError("Format '" + std::string(pattern) +
                        "' invalid or incompatible with argument");
}

[[noreturn]] void ThrowMissingArgument(std::string_view pattern)
{
    throw EConvertError("No argument for format '" + std::string(pattern) + "'");
}

constexpr int kMaxField = 1'000'000; // widths and precisions above this are refused

struct Spec {
    bool left = false;
    bool zero = false;
    bool plus = false;
    bool space = false;
    int width = 0;
    int precision = -1; // -1: none given
};

// Pads `body` (already sign-free) written by `writeBody` of length `bodyLen` with its sign.
template <typename WriteBody>
void AppendField(std::string& out, const Spec& spec, char sign, std::size_t bodyLen, bool zeroFill,
                 WriteBody&& writeBody)
{
    const std::size_t len = bodyLen + (sign ? 1 : 0);
    const std::size_t pad =
        spec.width > 0 && static_cast<std::size_t>(spec.width) > len ? spec.width - len : 0;
    if (spec.left) {
        if (sign)
            out += sign;
        writeBody();
        out.append(pad, ' ');
    } else if (zeroFill) {
        if (sign)
            out += sign;
        out.append(pad, '0');
        writeBody();
    } else {
        out.append(pad, ' ');
        if (sign)
            out += sign;
        writeBody();
    }
}

char PositiveSign(const Spec& spec)
{
    return spec.plus ? '+' : (spec.space ? ' ' : 0);
}

void AppendInt(std::string& out, const Spec& spec, long long value)
{
    const unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                                   : static_cast<unsigned long long>(value);
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, magnitude);
    const std::size_t digits = static_cast<std::size_t>(r.ptr - buf);
    const std::size_t minDigits = spec.precision > 0 ? static_cast<std::size_t>(spec.precision) : 0;
    const std::size_t leadingZeros = minDigits > digits ? minDigits - digits : 0;
    const char sign = value < 0 ? '-' : PositiveSign(spec);
    AppendField(out, spec, sign, leadingZeros + digits, spec.zero && spec.precision < 0, [&] {
        out.append(leadingZeros, '0');
        out.append(buf, digits);
    });
}

void AppendFloat(std::string& out, const Spec& spec, double value)
{
    if (!std::isfinite(value)) {
        const std::string_view text = NonFiniteText(value);
        Spec plain = spec;
        AppendField(out, plain, 0, text.size(), false, [&] { out.append(text); });
        return;
    }
    const int decimals = spec.precision < 0 ? 6 : spec.precision;
    const Decimal d = RoundDecimals(value, decimals);
    const char sign = ShowsMinus(d) ? '-' : PositiveSign(spec);
    AppendField(out, spec, sign, FixedLength(d, decimals), spec.zero,
                [&] { AppendFixed(out, d, decimals); });
}

void AppendText(std::string& out, const Spec& spec, std::string_view text)
{
    if (spec.precision >= 0 && static_cast<std::size_t>(spec.precision) < text.size())
        text = text.substr(0, static_cast<std::size_t>(spec.precision));
    AppendField(out, spec, 0, text.size(), false, [&] { out.append(text); });
}

} // namespace

// ---------------------------------------------------------------------------------------------

double StrToFloat(std::string_view text)
{
    double value = 0;
    if (!ParseFloat(text, value))
        throw EConvertError::NotAFloat(text);
    return value;
}

bool TryStrToFloat(std::string_view text, double& value)
{
    return ParseFloat(text, value);
}

bool IsNumber(std::string_view text)
{
    double value = 0;
    return ParseFloat(text, value);
}

std::string Format(std::string_view pattern, std::initializer_list<FormatArg> args)
{
    std::string out;
    out.reserve(pattern.size() + 16);
    const FormatArg* arg = args.begin();
    const FormatArg* const argEnd = args.end();
    const std::size_t n = pattern.size();

    auto nextArg = [&]() -> const FormatArg& {
        if (arg == argEnd)
            ThrowMissingArgument(pattern);
        return *arg++;
    };
    auto readNumber = [&](std::size_t& i) {
        int number = 0;
        while (i < n && IsDigit(pattern[i])) {
            number = number * 10 + (pattern[i] - '0');
            if (number > kMaxField)
                ThrowInvalidFormat(pattern);
            ++i;
        }
        return number;
    };
    auto starValue = [&]() {
        const FormatArg& a = nextArg();
        if (a.GetKind() != FormatArg::Kind::Int)
            ThrowInvalidFormat(pattern);
        const long long v = a.Int();
        if (v > kMaxField || v < -kMaxField)
            ThrowInvalidFormat(pattern);
        return static_cast<int>(v);
    };

    std::size_t i = 0;
    while (i < n) {
        const std::size_t percent = pattern.find('%', i);
        if (percent == std::string_view::npos) {
            out.append(pattern.substr(i));
            break;
        }
        out.append(pattern.substr(i, percent - i));
        i = percent + 1;
        if (i >= n)
            ThrowInvalidFormat(pattern);
        if (pattern[i] == '%') {
            out += '%';
            ++i;
            continue;
        }

        Spec spec;
        for (; i < n; ++i) {
            const char c = pattern[i];
            if (c == '-')
                spec.left = true;
            else if (c == '0')
                spec.zero = true;
            else if (c == '+')
                spec.plus = true;
            else if (c == ' ')
                spec.space = true;
            else
                break;
        }
        if (i < n && pattern[i] == '*') {
            ++i;
            int w = starValue();
            if (w < 0) {
                spec.left = true;
                w = -w;
            }
            spec.width = w;
        } else {
            spec.width = readNumber(i);
        }
        if (i < n && pattern[i] == '.') {
            ++i;
            if (i < n && pattern[i] == '*') {
                ++i;
                const int p = starValue();
                spec.precision = p < 0 ? -1 : p;
            } else {
                spec.precision = readNumber(i);
            }
        }
        if (i >= n)
            ThrowInvalidFormat(pattern);
        const char conversion = pattern[i++];
        switch (conversion) {
        case 'd':
        case 'D': {
            const FormatArg& a = nextArg();
            if (a.GetKind() != FormatArg::Kind::Int)
                ThrowInvalidFormat(pattern);
            AppendInt(out, spec, a.Int());
            break;
        }
        case 'f':
        case 'F': {
            const FormatArg& a = nextArg();
            if (a.GetKind() != FormatArg::Kind::Double)
                ThrowInvalidFormat(pattern);
            AppendFloat(out, spec, a.Double());
            break;
        }
        case 's':
        case 'S': {
            const FormatArg& a = nextArg();
            if (a.GetKind() != FormatArg::Kind::Text)
                ThrowInvalidFormat(pattern);
            AppendText(out, spec, a.Text());
            break;
        }
        default:
            ThrowInvalidFormat(pattern);
        }
    }
    return out;
}

std::string FormatFixed(double value, int precision, int digits)
{
    if (!std::isfinite(value))
        return NonFiniteText(value);
    precision = std::clamp(precision, 1, kExpansionDigits);
    digits = std::clamp(digits, 0, kExpansionDigits);
    const Decimal expansion = Expand(value);
    // One rounding, at whichever position keeps fewer digits.
    const long long byDecimals = static_cast<long long>(expansion.pointPos) + digits;
    const int keep = static_cast<int>(
        std::clamp<long long>(std::min<long long>(precision, byDecimals), -1, kExpansionDigits));
    const Decimal d = expansion.IsZero() ? expansion : RoundDigits(expansion, keep);

    std::string out;
    if (!d.IsZero() && d.pointPos > precision) {
        AppendScientific(out, d); // d holds at most `precision` digits here
        return out;
    }
    out.reserve(FixedLength(d, digits) + 1);
    if (ShowsMinus(d))
        out += '-';
    AppendFixed(out, d, digits);
    return out;
}

std::string FloatToStrGeneral(double value)
{
    if (!std::isfinite(value))
        return NonFiniteText(value);
    const Decimal d = RoundDigits(Expand(value), 15);
    std::string out;
    if (d.IsZero()) {
        out = "0";
        return out;
    }
    const int exponent = d.pointPos - 1;
    if (exponent < -5 || exponent >= 15) {
        AppendScientific(out, d);
        return out;
    }
    const int decimals = std::max(0, d.count - d.pointPos);
    out.reserve(FixedLength(d, decimals) + 1);
    if (ShowsMinus(d))
        out += '-';
    AppendFixed(out, d, decimals);
    return out;
}

std::string FormatZeroPadded(int width, double value)
{
    std::string s = Format("%*.1f", {width, value});
    std::replace(s.begin(), s.end(), ' ', '0');
    const std::size_t minus = s.find('-');
    if (minus != std::string::npos) {
        s[minus] = '0';
        s[0] = '-';
    }
    return s;
}

std::int64_t RoundHalfEven(double value)
{
    // Out-of-range and NaN inputs are clamped (a plain cast would be undefined behaviour).
    if (std::isnan(value))
        return 0;
    const double r = std::nearbyint(value);
    if (r >= 9223372036854775808.0)
        return std::numeric_limits<std::int64_t>::max();
    if (r < -9223372036854775808.0)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(r);
}

namespace {
char AsciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
} // namespace

bool TextContains(std::string_view sub, std::string_view text)
{
    // An empty sub is never found, as a plain position search reports it.
    if (sub.empty() || sub.size() > text.size())
        return false;
    const auto equal = [](char a, char b) { return AsciiUpper(a) == AsciiUpper(b); };
    return std::search(text.begin(), text.end(), sub.begin(), sub.end(), equal) != text.end();
}

bool IsOmni(std::string_view antennaType)
{
    return TextContains("OMNI", antennaType);
}

std::string RemoveDashes(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text)
        if (c != '-')
            out += c;
    return out;
}

double AddDb(double a, double b)
{
    return a + b;
}

std::string UpperCase(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = AsciiUpper(c);
    return out;
}

std::string LowerCase(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = AsciiLower(c);
    return out;
}

} // namespace quv

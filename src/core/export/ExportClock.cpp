#include "export/ExportClock.h"

#include "catalogue/NumberText.h"

#include <ctime>
#include <langinfo.h>
#include <locale.h>

namespace quv {

namespace {

bool IsSeparatorChar(char c)
{
    return (c >= '!' && c <= '/') || (c >= ':' && c <= '@') || (c >= '[' && c <= '`') ||
           (c >= '{' && c <= '~');
}

char LocaleDateSeparator()
{
    locale_t locale = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr))
        return '/';
    const char separator = DateSeparatorOf(nl_langinfo_l(D_FMT, locale));
    freelocale(locale);
    return separator;
}

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

} // namespace

char DateSeparatorOf(std::string_view dateFormat)
{
    for (std::size_t i = 0; i < dateFormat.size(); ++i) {
        if (dateFormat[i] == '%') {
            // Skip the conversion with its flags and modifiers ("%-d", "%Ey").
            ++i;
            while (i + 1 < dateFormat.size() &&
                   std::string_view("_-0^#EO123456789").find(dateFormat[i]) !=
                       std::string_view::npos)
                ++i;
            continue;
        }
        if (IsSeparatorChar(dateFormat[i]))
            return dateFormat[i];
    }
    return '/';
}

TExportDate ExportToday()
{
    // The locale does not change while the program runs: looked up once.
    static const char separator = LocaleDateSeparator();
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, separator};
}

bool ParseIsoDate(std::string_view text, TExportDate& date)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    int parts[3] = {};
    const std::size_t starts[3] = {0, 5, 8}, lengths[3] = {4, 2, 2};
    for (int p = 0; p < 3; ++p)
        for (std::size_t i = starts[p]; i < starts[p] + lengths[p]; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return false;
            parts[p] = parts[p] * 10 + (text[i] - '0');
        }
    if (parts[0] < 1 || parts[1] < 1 || parts[1] > 12 || parts[2] < 1 ||
        parts[2] > DaysInMonth(parts[0], parts[1]))
        return false;
    date.year = parts[0];
    date.month = parts[1];
    date.day = parts[2];
    return true;
}

std::string FormatExportDate(const TExportDate& date, std::string_view pattern)
{
    std::string out;
    for (std::size_t i = 0; i < pattern.size();) {
        const std::string_view rest = pattern.substr(i);
        if (rest.starts_with("yyyy")) {
            out += Format("%.4d", {date.year});
            i += 4;
        } else if (rest.starts_with("mm")) {
            out += Format("%.2d", {date.month});
            i += 2;
        } else if (rest.starts_with("dd")) {
            out += Format("%.2d", {date.day});
            i += 2;
        } else {
            out += pattern[i] == '/' ? date.separator : pattern[i];
            ++i;
        }
    }
    return out;
}

} // namespace quv

// "Today" for the date lines of the export files, the only input of a writer that is not in the
// record. It is a parameter of every export: the command or dialog that starts one takes the
// calendar day here, or the day it was told (quvtool --date), so that two exports of one
// catalogue can be byte-identical.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quv {

// `separator` is the locale's date separator, which a "/" of a date pattern stands for.
struct TExportDate {
    int year = 2000;
    int month = 1;
    int day = 1;
    char separator = '/';
};

// The local calendar day with the locale's date separator.
TExportDate ExportToday();

// The first punctuation of a C library date format ("%d.%m.%Y" gives "."); "/" when it has none.
char DateSeparatorOf(std::string_view dateFormat);

// "YYYY-MM-DD" of a real calendar day into year, month and day (the separator is kept); false
// with `date` unchanged otherwise.
bool ParseIsoDate(std::string_view text, TExportDate& date);

// "yyyy", "mm" and "dd" become the zero-filled year, month and day, "/" the date separator;
// anything else is copied ("mm-dd-yyyy" gives 03-07-2024).
std::string FormatExportDate(const TExportDate& date, std::string_view pattern);

} // namespace quv

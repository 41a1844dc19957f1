// Antenna records for the export tests, built in memory from data-file text so each test states
// exactly the values it depends on.
#pragma once

#include "catalogue/QuvFile.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace quv::test {

// Header values of an ordinary sector antenna; a test overrides the ones it is about.
inline std::map<std::string, std::string> BaseHeader()
{
    return {
        {"Part Number", "ABC123"},
        {"Pattern File Name", "P45"},
        {"Antenna Type", "Sector"},
        {"Gain, dBd", "15.9"},
        {"Gain, dBi", "18"},
        {"Electrical Downtilt, deg", "6"},
        {"Connector Type", "7-16 DIN"},
        {"Polarization Type", "Vertical"},
        {"Front to Back Ratio, dB", ">25"},
        {"Measured Frequency", "1850"},
        {"Description", "65\xB0 sector panel"},
        {"Return Loss, dB (VSWR)", "17.7 (<1.3)"},
        {"Max Input Power, watts", "500"},
        {"Length, mm (in)", "2580 (101.6)"},
        {"Antenna Weight, kg (lb)", "12.5 (27.6)"},
        {"Elevation Beamwidth, deg", "6.5"},
        {"Azimuth Beamwidth, deg", "65"},
        {"Beginning Sub-Frequency, MHz", "1850"},
        {"Ending Sub-Frequency, MHz", "1990"},
    };
}

// Position in [POINTS] of the level that AzimuthAt(angle) returns (add 361 for the elevation).
inline int PointPosition(int angle)
{
    if (angle == 0)
        return 180;
    return angle < 180 ? 180 - angle : 540 - angle;
}

using TLevelFn = std::function<std::string(int angle)>;

// Azimuth level at angle a: -(a mod 40) - 0.25; elevation: -(a mod 20) - 0.125. Both have exact
// binary halves, so they also exercise the away-from-zero rounding.
inline std::string DefaultAzimuth(int a)
{
    return "-" + std::to_string(a % 40) + ".25";
}
inline std::string DefaultElevation(int a)
{
    return "-" + std::to_string(a % 20) + ".125";
}

inline std::string QuvText(const std::map<std::string, std::string>& header,
                           const TLevelFn& azimuth = DefaultAzimuth,
                           const TLevelFn& elevation = DefaultElevation)
{
    std::string text = "[HEADER]\r\n";
    for (const auto& [key, value] : header)
        text += key + "=" + value + "\r\n";
    text += "\r\n[POINTS]\r\n";
    std::vector<std::string> points(722, "0");
    for (int a = 0; a < 360; ++a) {
        points[static_cast<std::size_t>(PointPosition(a))] = azimuth(a);
        points[static_cast<std::size_t>(PointPosition(a) + 361)] = elevation(a);
    }
    for (std::size_t p = 0; p < points.size(); ++p)
        text += std::to_string(static_cast<int>(p % 361) - 180) + "=" + points[p] + "\r\n";
    return text;
}

inline std::unique_ptr<TQuvFile> MakeRecord(const std::map<std::string, std::string>& header,
                                            const TLevelFn& azimuth = DefaultAzimuth,
                                            const TLevelFn& elevation = DefaultElevation)
{
    auto record = std::make_unique<TQuvFile>();
    record->LoadFromBytes(QuvText(header, azimuth, elevation), "fixture.quv");
    return record;
}

inline std::unique_ptr<TQuvFile> MakeRecord()
{
    return MakeRecord(BaseHeader());
}

// Splits file bytes at CR LF; a line ending without CR or a missing final CR LF shows up as
// a line holding "<bad line end>".
inline std::vector<std::string> CrLfLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const auto lf = bytes.find('\n', start);
        if (lf == std::string::npos || lf == start || bytes[lf - 1] != '\r') {
            lines.push_back("<bad line end>");
            if (lf == std::string::npos)
                break;
            start = lf + 1;
            continue;
        }
        lines.push_back(bytes.substr(start, lf - 1 - start));
        start = lf + 1;
    }
    return lines;
}

// A new folder under the temporary folder, removed with its content at the end of the test
// (made writable again first, for tests that take the write permission away).
class TempFolder {
public:
    TempFolder()
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quvexport-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string Path() const { return path_.string(); }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    // The names of its entries, sorted.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(path_))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string Read(const std::string& name) const;

private:
    std::filesystem::path path_;
};

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string TempFolder::Read(const std::string& name) const
{
    return ReadBytes(*this / name);
}

} // namespace quv::test

#include "reference/PatternReaders.h"

#include "catalogue/NumberText.h"
#include "catalogue/SharedLib.h"
#include "reference/ReaderSupport.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace quv {

namespace {

using F = TPatternFileFormat;

std::string Extension(const std::string& fileName)
{
    const std::size_t slash = fileName.find_last_of('/');
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    return LowerCase(std::string_view(fileName).substr(dot));
}

bool IsNumberStart(char c)
{
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.';
}

bool StartsWithWord(std::string_view line, std::string_view word)
{
    const std::vector<std::string_view> words = Words(line);
    return !words.empty() && SameTextIgnoringCase(words.front(), word);
}

// The layout is told by the lines that only it writes; the MSI family and the NSMA family are
// told apart by counting their keywords, as vendor files of either vary the rest.
F Detect(const TReaderBase& reader, const std::string& fileName)
{
    const auto& lines = reader.Lines();
    const std::string ext = Extension(fileName);
    int msi = 0, nsma = 0;
    bool tia = false, odyssey = false, nokia = false, planetName = false, siemens = false,
         tornado = false, pipes = false, wizard = false, granet = false, netplan = false,
         edxEnd = false, qeDbi = false, qe = false;
    std::size_t first = 0;
    while (first < lines.size() && TrimControl(lines[first]).empty())
        ++first;
    const std::string_view head = first < lines.size() ? TrimControl(lines[first]) : "";
    if (head == "[CelPlan DT ANT]" || StartsWithWord(head, "[CelPlan"))
        return F::CelPlan;
    if (head == "LCC")
        return F::CellCad;
    // Only EDX opens with a quoted model.
    if (head.starts_with("'"))
        return F::Edx;
    for (std::string_view raw : lines) {
        const std::string_view line = TrimControl(raw);
        if (line.empty())
            continue;
        if (line == "999")
            edxEnd = true;
        // QEDesign's header lines start with their value.
        if (line.find("##") != std::string_view::npos) {
            if (line.find("## Horizontal Radiation Pattern") != std::string_view::npos)
                qe = true;
            if (line.find("## maximum antenna gain (dBi)") != std::string_view::npos)
                qeDbi = true;
            continue;
        }
        // Points carry no keyword, and they are most of every file.
        if (IsNumberStart(line.front()))
            continue;
        if (line.starts_with("::HEADER") || line.starts_with("::HORIZONTAL"))
            return F::PathPro;
        if (line.starts_with("|HORIZ|") || line.starts_with("|VERT|") ||
            line.starts_with("|MODEL|"))
            pipes = true;
        if (line.starts_with("|MAXGAIN|") || line.starts_with("A|"))
            wizard = true;
        const std::string lower = LowerCase(line.substr(0, 24));
        if (lower.starts_with("model_number") || lower.starts_with("unequal unsymmetrical"))
            granet = true;
        if (lower.starts_with("orientation =") || lower.starts_with("number of points ="))
            netplan = true;
        const std::vector<std::string_view> words = Words(line);
        const std::string word = UpperCase(words.front());
        if (word == "NAME" || word == "MAKE" || word == "FREQUENCY" || word == "GAIN" ||
            word == "TILT" || word == "HORIZONTAL" || word == "VERTICAL" || word == "H_WIDTH" ||
            word == "V_WIDTH" || word == "FILENAME" || word == "POLARIZATION" ||
            word == "COMMENT" || word == "COMMENTS" || word == "BEAM_WIDTH" ||
            word == "ANTENNATYPE:" || word == "FRONT_TO_BACK")
            ++msi;
        odyssey = odyssey || word == "BEAM_WIDTH";
        nokia = nokia || word == "ANTENNATYPE:";
        planetName = planetName || word == "FILENAME";
        tornado = tornado || word == "COMMENTS";
        siemens = siemens || (word == "POLARIZATION" && words.size() > 1 &&
                              UpperCase(words[1]).starts_with("POL_"));
        if (line.find(',') != std::string_view::npos) {
            const std::vector<std::string_view> fields = Fields(line);
            std::string key = UpperCase(fields.front());
            if (!key.empty() && key.back() == ':')
                key.pop_back();
            static const std::vector<std::string_view> keys{
                "REVNUM", "REVDAT", "ANTMAN", "MODNUM", "PATNUM", "DESCR1",   "DTDATA", "LOWFRQ",
                "HGHFRQ", "GUNITS", "MDGAIN", "AZWIDT", "ELWIDT", "PATTYP",   "PATFRE", "NUMCUT",
                "PATCUT", "POLARI", "NUPOIN", "NUMPTS", "FSTLST", "NUPOINTS", "PCDATA", "ENDFIL"};
            if (std::find(keys.begin(), keys.end(), key) != keys.end()) {
                ++nsma;
                if (key == "REVNUM" && TextContains("TIA", fields.size() > 1 ? fields[1] : ""))
                    tia = true;
            }
        }
    }
    if (pipes)
        return wizard ? F::Wizard : ext == ".pdf" ? F::Pdf : F::Ce4;
    if (qe)
        return qeDbi ? F::Cdma : F::QeDesign;
    if (granet)
        return F::Granet;
    if (netplan)
        return F::NetPlan;
    if (msi == 0 && nsma == 0) {
        if (edxEnd)
            return F::Edx;
        reader.Fail("no pattern data found");
    }
    if (nsma > msi)
        return tia ? F::TiaEia : F::Nsma;
    if (odyssey)
        return F::Odyssey;
    if (nokia)
        return F::Nokia;
    if (planetName)
        return F::Planet;
    if (siemens)
        return F::Siemens;
    if (tornado)
        return F::Tornado;
    return F::Planet;
}

// Every cut needs two directions to interpolate between.
void CheckDistinctAngles(const TReaderBase& reader, const TPatternCutPoints& cut)
{
    if (cut.points.empty())
        reader.Fail("the " + cut.title + " holds no points");
    const double first = std::fmod(std::fmod(cut.points.front().angle, 360.0) + 360.0, 360.0);
    for (const TPatternPoint& p : cut.points) {
        const double a = std::fmod(std::fmod(p.angle, 360.0) + 360.0, 360.0);
        if (std::fabs(a - first) > 1e-9 && std::fabs(std::fabs(a - first) - 360) > 1e-9)
            return;
    }
    reader.FailAt(cut.headerLine, "the " + cut.title + " holds fewer than two distinct angles");
}

void TakeNotes(TReaderBase& reader, TPatternFileData& data)
{
    for (TReadNote& note : reader.Notes())
        data.notes.push_back(std::move(note));
    reader.Notes().clear();
}

} // namespace

TPatternFileData ReadPatternData(std::string_view bytes, const std::string& fileName,
                                 std::string_view companion)
{
    TReaderBase reader(bytes, fileName);
    TPatternFileData data;
    data.fileName = fileName;
    data.format = Detect(reader, fileName);
    switch (data.format) {
    case F::Planet:
    case F::Tornado:
    case F::Siemens:
    case F::Nokia:
    case F::Odyssey:
        ReadMsi(reader, data);
        break;
    case F::Nsma:
    case F::TiaEia:
        ReadNsma(reader, data);
        break;
    case F::Wizard:
    case F::Ce4:
    case F::Pdf:
        ReadPipeTables(reader, data);
        break;
    case F::Granet:
        ReadGranet(reader, data);
        break;
    case F::CelPlan:
        ReadCelPlan(reader, data);
        break;
    case F::Edx:
        ReadEdx(reader, data);
        break;
    case F::QeDesign:
    case F::Cdma:
        ReadQeDesign(reader, data);
        break;
    case F::PathPro:
        ReadPathPro(reader, data);
        break;
    case F::NetPlan:
    case F::CellCad: {
        const std::string partnerName = CompanionFileName(fileName);
        if (companion.empty())
            reader.Fail("the other file of the pair (" +
                        (partnerName.empty() ? std::string("\".h\"/\".v\"") : partnerName) +
                        ") is missing");
        TReaderBase partner(companion, partnerName.empty() ? fileName : partnerName);
        if (data.format == F::NetPlan)
            ReadNetPlan(reader, partner, data);
        else
            ReadCellCad(reader, partner, data);
        TakeNotes(partner, data);
        break;
    }
    }
    TakeNotes(reader, data);
    for (const TFilePattern& p : data.patterns) {
        CheckDistinctAngles(reader, p.azimuth);
        CheckDistinctAngles(reader, p.elevation);
    }
    return data;
}

std::string CompanionFileName(const std::string& path)
{
    const std::string ext = Extension(path);
    const std::string stem = path.substr(0, path.size() - ext.size());
    const bool upper =
        !ext.empty() && ext != std::string_view(path).substr(path.size() - ext.size());
    auto withExt = [&](std::string_view e) {
        return stem + (upper ? UpperCase(e) : std::string(e));
    };
    if (ext == ".h")
        return withExt(".v");
    if (ext == ".v")
        return withExt(".h");
    if (ext == ".hor")
        return withExt(".ver");
    if (ext == ".ver")
        return withExt(".hor");
    return {};
}

TPatternFileData ReadPatternDataFile(const std::string& path)
{
    std::string bytes, companion;
    ReadWholeFile(path, bytes);
    const std::string partner = CompanionFileName(path);
    std::error_code ec;
    if (!partner.empty() && std::filesystem::is_regular_file(partner, ec))
        ReadWholeFile(partner, companion);
    return ReadPatternData(bytes, path, companion);
}

std::optional<TPatternFileData> TryReadPatternFile(const std::string& path, std::string& error)
{
    error.clear();
    try {
        return ReadPatternDataFile(path);
    } catch (const std::exception& e) {
        error = e.what();
    }
    return std::nullopt;
}

const std::string& PatternFileDialogFilter()
{
    static const std::string filter =
        "Planet/MSI, Tornado, Siemens, Nokia and Odyssey files (*.pln *.msi *.txt *.dat);;"
        "NSMA and TIA/EIA files (*.dap *.adf *.nsm *.txt);;"
        "EDX files (*.edx);;"
        "WIZARD, CE4 and PDF files (*.apf *.ce4 *.pdf);;"
        "GRANET files (*.pat);;"
        "CelPlan and PathPro files (*.ant);;"
        "NetPlan files (*.h *.v);;"
        "CellCAD files (*.hor *.ver);;"
        "QEDesign and CDMA files (*.txt);;"
        "All files (*)";
    return filter;
}

TResampledCut ResampleCut(const TPatternCutPoints& cut)
{
    // Most files hold every whole degree: those need no sorting and no interpolation.
    TResampledCut result;
    std::array<bool, 360> held{};
    std::size_t filled = 0;
    for (const TPatternPoint& p : cut.points) {
        const double a = std::fmod(p.angle, 360.0);
        const double whole = std::floor(a);
        if (whole != a)
            break;
        const auto index = static_cast<std::size_t>(a < 0 ? whole + 360 : whole);
        if (index < 360 && !held[index]) {
            held[index] = true;
            result.levels[index] = p.level;
            ++filled;
        }
    }
    if (filled == 360)
        return result;

    struct TPoint {
        double angle, level;
    };
    std::vector<TPoint> points;
    points.reserve(cut.points.size());
    for (const TPatternPoint& p : cut.points) {
        double a = std::fmod(p.angle, 360.0);
        if (a < 0)
            a += 360;
        if (a >= 360)
            a = 0;
        points.push_back({a, p.level});
    }
    // The first of several points at one angle counts (a closing 360 repeats 0).
    std::stable_sort(points.begin(), points.end(),
                     [](const TPoint& a, const TPoint& b) { return a.angle < b.angle; });
    points.erase(std::unique(points.begin(), points.end(),
                             [](const TPoint& a, const TPoint& b) { return a.angle == b.angle; }),
                 points.end());
    if (points.empty())
        return result;
    for (int j = 0; j < 360; ++j) {
        const double angle = j;
        const auto upper = std::lower_bound(points.begin(), points.end(), angle,
                                            [](const TPoint& p, double a) { return p.angle < a; });
        if (upper != points.end() && std::fabs(upper->angle - angle) < 1e-9) {
            result.levels[static_cast<std::size_t>(j)] = upper->level;
            continue;
        }
        result.coarse = true;
        TPoint before = upper == points.begin() ? points.back() : *(upper - 1);
        TPoint after = upper == points.end() ? points.front() : *upper;
        if (upper == points.begin())
            before.angle -= 360;
        if (upper == points.end())
            after.angle += 360;
        const double span = after.angle - before.angle;
        const double t = span > 0 ? (angle - before.angle) / span : 0;
        result.levels[static_cast<std::size_t>(j)] =
            before.level + t * (after.level - before.level);
    }
    return result;
}

} // namespace quv

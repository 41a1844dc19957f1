#include "CliCommon.h"

#include "catalogue/Filters.h"
#include "catalogue/Footprint.h"
#include "catalogue/NumberText.h"
#include "catalogue/QuvLib.h"
#include "catalogue/SharedLib.h"
#include "catalogue/UserFolders.h"
#include "export/ExportLib.h"

#include <QGuiApplication>
#include <QStringList>

#include <algorithm>
#include <filesystem>
#include <iostream>

namespace quv {

std::string DefaultCatalogueFolder()
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return "QUV/";
    return AntennaFolder(exe.parent_path().string());
}

bool TakeCatalogueOption(std::vector<std::string>& args, std::string& folder, std::string& error)
{
    // The same choice as the window: the user's catalogue when the one beside us holds no file.
    folder = ChooseCatalogueFolder(DefaultCatalogueFolder(), UserCatalogueFolder());
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--catalogue")
            continue;
        if (i + 1 >= args.size()) {
            error = "--catalogue needs a folder";
            return false;
        }
        folder = args[i + 1];
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                   args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        break;
    }
    return true;
}

namespace {

// Arguments are bytes; Latin-1 maps each byte to one character and back, so no byte is lost on
// the way through the parser.
QString Word(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string Bytes(const QString& text)
{
    return text.toLatin1().toStdString();
}

// Joins the two words of a pair into the one value the parser keeps for an option.
constexpr char kPairJoin = '\x1f';

} // namespace

TCommandOptions::TCommandOptions(std::string command, std::string usage,
                                 std::vector<TOptionSpec> options, std::string example,
                                 bool positional)
    : command_(std::move(command)), usage_(std::move(usage)), specs_(std::move(options)),
      example_(std::move(example)), allowPositional_(positional)
{
    parser_.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    parser_.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
    for (const TOptionSpec& spec : specs_) {
        QCommandLineOption option(Word(spec.name));
        if (spec.values > 0)
            option.setValueName(QStringLiteral("value"));
        parser_.addOption(option);
    }
}

const TOptionSpec* TCommandOptions::Spec(const std::string& name) const
{
    for (const TOptionSpec& spec : specs_)
        if (spec.name == name)
            return &spec;
    return nullptr;
}

std::optional<int> TCommandOptions::Parse(const std::vector<std::string>& args)
{
    // The parser takes one word per option: a pair's two words go in as one, and the order of
    // the options is noted on the way, since the parser keeps it per option only.
    QStringList words{QStringLiteral("quvtool")};
    given_.clear();
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--") {
            for (; i < args.size(); ++i)
                words << Word(args[i]);
            break;
        }
        const bool isLong = a.size() > 2 && a.rfind("--", 0) == 0;
        const std::size_t equals = isLong ? a.find('=') : std::string::npos;
        if (equals != std::string::npos) {
            // "--name=value" carries its one value within the word.
            given_.push_back({a.substr(2, equals - 2), {a.substr(equals + 1)}});
            words << Word(a);
            continue;
        }
        const TOptionSpec* spec = isLong ? Spec(a.substr(2)) : nullptr;
        words << Word(a);
        if (!spec || spec->values == 0 || i + 1 >= args.size()) {
            if (spec)
                given_.push_back({spec->name, {}});
            continue;
        }
        TGiven given{spec->name, {args[i + 1]}};
        std::string value = args[++i];
        if (spec->values == 2 && i + 1 < args.size()) {
            given.values.push_back(args[i + 1]);
            value += kPairJoin + args[++i];
        }
        words << Word(value);
        given_.push_back(std::move(given));
    }
    if (!parser_.parse(words))
        return Fail(Bytes(parser_.errorText()));
    if (parser_.isSet(QStringLiteral("help"))) {
        std::cout << Help();
        return 0;
    }
    positional_.clear();
    for (const QString& word : parser_.positionalArguments())
        positional_.push_back(Bytes(word));
    if (!allowPositional_ && !positional_.empty())
        return Fail("unexpected argument: " + positional_.front());
    for (const TGiven& given : given_) {
        const TOptionSpec* spec = Spec(given.name);
        if (spec && static_cast<int>(given.values.size()) < spec->values)
            return Fail("--" + given.name + " needs " + std::to_string(spec->values) + " values");
    }
    return std::nullopt;
}

bool TCommandOptions::IsSet(const std::string& name) const
{
    return parser_.isSet(Word(name));
}

std::string TCommandOptions::Value(const std::string& name) const
{
    for (auto it = given_.rbegin(); it != given_.rend(); ++it)
        if (it->name == name && !it->values.empty())
            return it->values.front();
    return {};
}

std::vector<std::string> TCommandOptions::Values(const std::string& name) const
{
    std::vector<std::string> values;
    for (const TGiven& given : given_)
        if (given.name == name)
            values.insert(values.end(), given.values.begin(), given.values.end());
    return values;
}

namespace {

// Where the option descriptions start, and the width they wrap at, so that the help fits an
// 80-column terminal.
constexpr std::size_t kHelpColumn = 24;
constexpr std::size_t kHelpWidth = 79;

// `text` wrapped at blanks into lines that start at kHelpColumn; `first` already holds the start
// of the first line.
std::string Wrapped(std::string first, const std::string& text)
{
    std::string out;
    std::string line = std::move(first);
    if (line.size() + 2 > kHelpColumn) {
        out += line + "\n";
        line.clear();
    }
    line.resize(kHelpColumn, ' ');
    bool empty = true;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string word = text.substr(start, end - start);
        start = end + 1;
        if (!empty && line.size() + 1 + word.size() > kHelpWidth) {
            out += line + "\n";
            line.assign(kHelpColumn, ' ');
            empty = true;
        }
        line += (empty ? "" : " ") + word;
        empty = false;
    }
    return out + line + "\n";
}

} // namespace

std::string TCommandOptions::Help() const
{
    std::string text = usage_ + "options:\n";
    for (const TOptionSpec& spec : specs_)
        text += Wrapped("  --" + spec.name + (spec.arg.empty() ? "" : " " + spec.arg), spec.help);
    return text + "example: " + example_ + "\n";
}

int TCommandOptions::Fail(const std::string& line) const
{
    std::cerr << "quvtool " << command_ << ": " << line << "\n" << usage_;
    return 2;
}

std::vector<TOptionSpec> JoinSpecs(std::initializer_list<std::vector<TOptionSpec>> tables)
{
    std::vector<TOptionSpec> joined;
    for (const auto& table : tables)
        joined.insert(joined.end(), table.begin(), table.end());
    return joined;
}

TOptionSpec CatalogueOptionSpec()
{
    return {"catalogue", 1, "DIR",
            "the catalogue folder to load (default: QUV beside quvtool, or the user's catalogue "
            "folder when that holds no data file)"};
}

std::vector<TOptionSpec> PartOptionSpecs(const std::string& what)
{
    return {{"part", 1, "P",
             "an antenna by part number, or by the list's text of one record of a shared part "
             "number, " +
                 what},
            {"file", 1, "NAME",
             "an antenna by the name of its data file in the catalogue folder, " + what}};
}

std::vector<TOptionSpec> Pattern3DOptionSpecs()
{
    return {{"method", 1, "auto|summing|bilinear|projection",
             "how the 3D pattern is built from the two cuts (default auto: projection when the "
             "azimuth front-to-back ratio is below 18 dB, summing otherwise)"},
            {"mechanical-tilt", 1, "M",
             "mechanical downtilt in degrees, -90 to 90, positive down (default 0)"}};
}

std::vector<TOptionSpec> FootprintOptionSpecs()
{
    const TFootprintGeometry geometry;
    return {{"height", 1, "H",
             "mast height above flat ground in m, above zero (default " +
                 FloatToStrGeneral(geometry.height) + ")"},
            {"radius", 1, "R",
             "how far the footprint map reaches from the mast, in m, above zero (default 2000)"},
            {"slope", 1, "DB_PER_DECADE",
             "path loss in dB per decade of slant range, 0 to 100 (default " +
                 FloatToStrGeneral(geometry.slope) + ": free space)"}};
}

std::string CatalogueFolder(const TCommandOptions& options)
{
    if (options.IsSet("catalogue"))
        return options.Value("catalogue");
    return ChooseCatalogueFolder(DefaultCatalogueFolder(), UserCatalogueFolder());
}

namespace {

std::string BareFileName(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

TPartPick PickPart(const TCatalogue& catalogue, const std::string& text, bool ignoreCase)
{
    const TQuvFileList& records = catalogue.Catalogue;
    // Records sharing a part number sit side by side in the sorted catalogue, so its item texts
    // are the ones the window's list shows for them.
    const std::vector<std::string> items = AntennaItemTexts(records);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i] != records.Strings(static_cast<int>(i)) && items[i] == text)
            return {records.Objects(static_cast<int>(i)), {}};
    TPartPick pick;
    std::vector<std::size_t> sharing;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string& part = records.Objects(static_cast<int>(i))->PartNumber;
        if (ignoreCase ? SameTextIgnoringCase(part, text) : part == text)
            sharing.push_back(i);
    }
    if (sharing.empty())
        return pick;
    pick.record = records.Objects(static_cast<int>(sharing.front()));
    if (sharing.size() > 1) {
        std::string files;
        for (std::size_t k = 0; k < sharing.size(); ++k) {
            const TQuvFile* r = records.Objects(static_cast<int>(sharing[k]));
            files += (k == 0                    ? ""
                      : k + 1 == sharing.size() ? " and "
                                                : ", ") +
                     BareFileName(r->FileName) + " (\"" + items[sharing[k]] + "\")";
        }
        pick.note = "part number " + pick.record->PartNumber + " is shared by " + files +
                    "; using " + BareFileName(pick.record->FileName) +
                    ". Pick another with --file NAME or give the quoted text as the part";
    }
    return pick;
}

TQuvFile* PickFile(const TCatalogue& catalogue, const std::string& name)
{
    for (const auto& item : catalogue.Catalogue)
        if (BareFileName(item.object->FileName) == name)
            return item.object;
    return nullptr;
}

void EnsureGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "quvtool";
    static char* argv[] = {name, nullptr};
    // Lives until the process ends; destroying Qt from static destructors is not safe.
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
}

std::string FormatNameUsage()
{
    std::string text =
        "  NAME: a format's log name in any case, INDEX its place in the list, 0 to " +
        std::to_string(kExportFormatCount - 1) + ":\n";
    std::string line = "   ";
    const std::string names = ExportFormatNames();
    std::size_t start = 0;
    while (start < names.size()) {
        std::size_t end = names.find(", ", start);
        end = end == std::string::npos ? names.size() : end + 1;
        const std::string word = names.substr(start, end - start);
        if (line.size() + 1 + word.size() > 78) {
            text += line + "\n";
            line = "   ";
        }
        line += " " + word;
        start = end + (end < names.size() ? 1 : 0);
    }
    return text + line + "\n";
}

} // namespace quv

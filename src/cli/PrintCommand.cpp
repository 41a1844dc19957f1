#include "PrintCommand.h"

#include "CliCommon.h"
#include "catalogue/NumberText.h"
#include "catalogue/QuvLib.h"
#include "catalogue/TextFile.h"
#include "export/ExportClock.h"
#include "export/Summary.h"
#include "printing/PrintJob.h"

#include <QFile>
#include <QHashFunctions>
#include <QPageSize>
#include <QPrinter>

#include <cmath>
#include <exception>
#include <iostream>
#include <optional>

namespace quv {

namespace {

constexpr const char* kPrintUsage =
    "usage: quvtool print [--catalogue DIR] --part P [--part P ...] [--file NAME ...]\n"
    "                     [--job both|specs|patterns|space] [--date YYYY-MM-DD]\n"
    "                     [--method auto|summing|bilinear|projection] [--height H]\n"
    "                     [--mechanical-tilt M] [--radius R] [--slope DB_PER_DECADE]\n"
    "                     --pdf FILE.pdf\n"
    "  P: a part number, or the list's text of a record that shares one;\n"
    "  NAME: a data file's name in the catalogue folder, for one record of a shared part number;\n"
    "  --date: the PDF's creation date (a calendar day); two prints with the same day are the\n"
    "  same bytes;\n"
    "  --method ... --slope: the 3D and footprint page (--job space), as quvtool footprint\n";
constexpr const char* kSummaryUsage =
    "usage: quvtool summary [--catalogue DIR] --layout quv|antenna --out FILE\n";

bool ParseNumber(const std::string& text, double low, double high, double& value)
{
    double v = 0;
    if (!TryStrToFloat(text, v) || !std::isfinite(v) || v < low || v > high)
        return false;
    value = v;
    return true;
}

// The 3D and footprint page's options, with the footprint command's ranges; the exit status of
// the refusal when one is out of them.
std::optional<int> SpaceOptions(TCommandOptions& options, TSpacePageSettings& space)
{
    TFootprintGeometry& g = space.geometry;
    if (options.IsSet("method")) {
        const auto method = MethodFromName(options.Value("method"));
        if (!method)
            return options.Fail("--method must be auto, summing, bilinear or projection");
        space.method = *method;
    }
    if (options.IsSet("height") &&
        (!ParseNumber(options.Value("height"), 0, 100000, g.height) || g.height <= 0))
        return options.Fail("--height must be a number of metres above zero");
    if (options.IsSet("mechanical-tilt") &&
        !ParseNumber(options.Value("mechanical-tilt"), -90, 90, g.mechanicalTilt))
        return options.Fail("--mechanical-tilt must be a number of degrees from -90 to 90");
    if (options.IsSet("radius") &&
        (!ParseNumber(options.Value("radius"), 0, 100000, space.radius) || space.radius <= 0))
        return options.Fail("--radius must be a number of metres above zero");
    if (options.IsSet("slope") && !ParseNumber(options.Value("slope"), 0, 100, g.slope))
        return options.Fail("--slope must be a number of dB per decade from 0 to 100");
    return std::nullopt;
}

} // namespace

int PrintCommand(const std::vector<std::string>& args)
{
    // The 3D and footprint page takes the footprint's settings.
    std::vector<TOptionSpec> spaceSpecs =
        JoinSpecs({Pattern3DOptionSpecs(), FootprintOptionSpecs()});
    for (TOptionSpec& spec : spaceSpecs)
        spec.help = "with --job space: " + spec.help;
    const std::vector<TOptionSpec> specs = JoinSpecs(
        {{CatalogueOptionSpec()},
         PartOptionSpecs("to print; pages in the order given"),
         {{"job", 1, "both|specs|patterns|space",
           "specification sheets and pattern pages (default both), only one of them, or one 3D "
           "and footprint page per antenna"},
          {"date", 1, "YYYY-MM-DD",
           "the PDF's creation date (default: the time of printing); two prints with the same "
           "day are the same bytes"}},
         spaceSpecs,
         {{"pdf", 1, "FILE.pdf", "the US Letter PDF file written"}}});
    TCommandOptions options("print", kPrintUsage, specs,
                            "quvtool print --part TD1965-17 --part TO19-8 --pdf sheets.pdf");
    if (const auto exit = options.Parse(args))
        return *exit;
    std::vector<std::pair<bool, std::string>> parts; // (a file name?, the text), in order
    for (const auto& given : options.Given())
        if ((given.name == "part" || given.name == "file") && !given.values.empty())
            parts.emplace_back(given.name == "file", given.values.front());
    const std::string pdf = options.Value("pdf");
    const std::string jobText = options.IsSet("job") ? options.Value("job") : "both";
    if (jobText != "both" && jobText != "specs" && jobText != "patterns" && jobText != "space")
        return options.Fail("--job must be both, specs, patterns or space");
    const TPrintJob job = jobText == "both"       ? TPrintJob::Both
                          : jobText == "specs"    ? TPrintJob::SpecsOnly
                          : jobText == "patterns" ? TPrintJob::PatternsOnly
                                                  : TPrintJob::SpaceOnly;
    if (parts.empty() || pdf.empty())
        return options.Fail("--part and --pdf are required");
    TSpacePageSettings space;
    if (const auto refused = SpaceOptions(options, space))
        return *refused;
    TExportDate day;
    const bool dated = options.IsSet("date");
    if (dated && !ParseIsoDate(options.Value("date"), day))
        return options.Fail("--date needs a calendar day as YYYY-MM-DD: " + options.Value("date"));
    // The PDF writer emits its fonts in the order of a Qt hash; with the per-run seed that order
    // (and so the bytes) changes from run to run. Set before the first hash of this process.
    if (dated)
        QHashSeed::setDeterministicGlobalSeed();

    TCatalogue catalogue;
    catalogue.LoadFolder(CatalogueFolder(options));
    std::vector<const TQuvFile*> records;
    std::vector<std::string> names;
    for (const auto& [isFile, text] : parts) {
        const TPartPick pick =
            isFile ? TPartPick{PickFile(catalogue, text), {}} : PickPart(catalogue, text);
        if (!pick.record) {
            std::cerr << "quvtool print: " << (isFile ? "no data file " : "unknown part number ")
                      << text << (isFile ? " in the catalogue" : "") << "\n";
            return 1;
        }
        if (!pick.note.empty())
            std::cerr << "quvtool print: " << pick.note << "\n";
        records.push_back(pick.record);
        names.push_back(pick.record->PartNumber);
    }

    EnsureGuiApplication();
    // The output prints aside and commits the whole file only when every page is drawn.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setOutputFileName(QFile::decodeName(pdf.c_str()));
    TQPrinterOutput output(printer);
    if (dated)
        output.SetCreationDay(day.year, day.month, day.day);
    TPrint writer(output.Metrics());
    std::string current;
    try {
        std::string title;
        for (const std::string& part : names)
            title += (title.empty() ? "" : ", ") + part;
        writer.SetCanvas(&output.BeginDoc(title, 0, 1));
        for (std::size_t i = 0; i < records.size(); ++i) {
            current = names[i];
            if (i > 0)
                output.NewPage();
            // As the window prints before its plot type is changed.
            PrintAntennaPages(
                *records[i], writer, job, [&output] { output.NewPage(); }, TPlotType::RelativePower,
                space);
        }
        current.clear();
        writer.SetCanvas(nullptr);
        output.EndDoc();
    } catch (const std::exception& e) {
        writer.SetCanvas(nullptr);
        output.AbortDoc();
        std::cerr << "quvtool print: " << (current.empty() ? "" : "part number " + current + ": ")
                  << e.what() << "\n";
        return 1;
    }
    return 0;
}

int SummaryCommand(const std::vector<std::string>& args)
{
    TCommandOptions options(
        "summary", kSummaryUsage,
        {CatalogueOptionSpec(),
         {"layout", 1, "quv|antenna",
          "quv: the 36-column quv.dat layout; antenna: the 40-column antenna.dat layout"},
         {"out", 1, "FILE", "the summary file written, whole or not at all"}},
        "quvtool summary --layout quv --out quv.dat");
    if (const auto exit = options.Parse(args))
        return *exit;
    const std::string layoutName = options.Value("layout");
    const std::string out = options.Value("out");
    if ((layoutName != "quv" && layoutName != "antenna") || out.empty())
        return options.Fail("--layout quv|antenna and --out are required");
    const std::string folder = CatalogueFolder(options);
    TCatalogue catalogue;
    catalogue.LoadFolder(folder);
    try {
        CreateSummaryFile(layoutName == "quv" ? TSummaryLayout::QuvDat : TSummaryLayout::AntennaDat,
                          catalogue.Catalogue, out);
    } catch (const std::exception& e) {
        std::cerr << "quvtool summary: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

} // namespace quv

#include "PrintCommand.h"

#include "CliCommon.h"
#include "catalogue/QuvLib.h"
#include "catalogue/TextFile.h"
#include "export/Summary.h"
#include "printing/PrintJob.h"

#include <QFile>
#include <QPageSize>
#include <QPrinter>

#include <exception>
#include <iostream>

namespace quv {

namespace {

constexpr const char* kPrintUsage =
    "usage: quvtool print [--catalogue DIR] --part P [--part P ...] [--file NAME ...]\n"
    "                     [--job both|specs|patterns|space] --pdf FILE.pdf\n"
    "  P: a part number, or the list's text of a record that shares one;\n"
    "  NAME: a data file's name in the catalogue folder, for one record of a shared part number\n";
constexpr const char* kSummaryUsage =
    "usage: quvtool summary [--catalogue DIR] --layout quv|antenna --out FILE\n";

} // namespace

int PrintCommand(const std::vector<std::string>& args)
{
    TCommandOptions options("print", kPrintUsage,
                            {{"catalogue", 1}, {"part", 1}, {"file", 1}, {"job", 1}, {"pdf", 1}});
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
                *records[i], writer, job, [&output] { output.NewPage(); },
                TPlotType::RelativePower);
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
    TCommandOptions options("summary", kSummaryUsage,
                            {{"catalogue", 1}, {"layout", 1}, {"out", 1}});
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

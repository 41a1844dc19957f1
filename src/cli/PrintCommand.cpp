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
    "usage: quvtool print [--catalogue DIR] --part P [--part P ...] [--job both|specs|patterns]\n"
    "                     --pdf FILE.pdf\n";
constexpr const char* kSummaryUsage =
    "usage: quvtool summary [--catalogue DIR] --layout quv|antenna --out FILE\n";

// Reads "--name VALUE" pairs; every option must be one of `known`.
bool ReadOptions(const std::vector<std::string>& args, const std::vector<std::string>& known,
                 std::vector<std::pair<std::string, std::string>>& options, std::string& error)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        bool ok = false;
        for (const std::string& k : known)
            ok = ok || args[i] == k;
        if (!ok) {
            error = "unexpected argument: " + args[i];
            return false;
        }
        if (i + 1 >= args.size()) {
            error = args[i] + " needs a value";
            return false;
        }
        options.emplace_back(args[i], args[i + 1]);
        ++i;
    }
    return true;
}

} // namespace

int PrintCommand(const std::vector<std::string>& argsIn)
{
    std::vector<std::string> args = argsIn;
    std::string folder, error;
    std::vector<std::pair<std::string, std::string>> options;
    if (!TakeCatalogueOption(args, folder, error) ||
        !ReadOptions(args, {"--part", "--job", "--pdf"}, options, error)) {
        std::cerr << error << "\n" << kPrintUsage;
        return 2;
    }
    std::vector<std::string> parts;
    std::string pdf;
    TPrintJob job = TPrintJob::Both;
    for (const auto& [name, value] : options) {
        if (name == "--part") {
            parts.push_back(value);
        } else if (name == "--pdf") {
            pdf = value;
        } else if (value == "both" || value == "specs" || value == "patterns") {
            job = value == "both"    ? TPrintJob::Both
                  : value == "specs" ? TPrintJob::SpecsOnly
                                     : TPrintJob::PatternsOnly;
        } else {
            std::cerr << "--job must be both, specs or patterns\n" << kPrintUsage;
            return 2;
        }
    }
    if (parts.empty() || pdf.empty()) {
        std::cerr << "--part and --pdf are required\n" << kPrintUsage;
        return 2;
    }

    LoadCatalogueFolder(folder);
    std::vector<const TQuvFile*> records;
    for (const std::string& part : parts) {
        const TQuvFile* record = FindPart(part);
        if (!record) {
            std::cerr << "quvtool print: unknown part number " << part << "\n";
            return 1;
        }
        records.push_back(record);
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
        for (const std::string& part : parts)
            title += (title.empty() ? "" : ", ") + part;
        writer.SetCanvas(&output.BeginDoc(title, 0, 1));
        for (std::size_t i = 0; i < records.size(); ++i) {
            current = parts[i];
            if (i > 0)
                output.NewPage();
            PrintAntennaPages(*records[i], writer, job, [&output] { output.NewPage(); });
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

int SummaryCommand(const std::vector<std::string>& argsIn)
{
    std::vector<std::string> args = argsIn;
    std::string folder, error;
    std::vector<std::pair<std::string, std::string>> options;
    if (!TakeCatalogueOption(args, folder, error) ||
        !ReadOptions(args, {"--layout", "--out"}, options, error)) {
        std::cerr << error << "\n" << kSummaryUsage;
        return 2;
    }
    std::string layoutName, out;
    for (const auto& [name, value] : options)
        (name == "--layout" ? layoutName : out) = value;
    if ((layoutName != "quv" && layoutName != "antenna") || out.empty()) {
        std::cerr << "--layout quv|antenna and --out are required\n" << kSummaryUsage;
        return 2;
    }
    LoadCatalogueFolder(folder);
    try {
        CreateSummaryFile(layoutName == "quv" ? TSummaryLayout::QuvDat : TSummaryLayout::AntennaDat,
                          Catalogue, out);
    } catch (const std::exception& e) {
        std::cerr << "quvtool summary: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

} // namespace quv

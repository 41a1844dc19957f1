#include "printing/PrintJob.h"

#include "catalogue/Codepage.h"
#include "catalogue/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QStorageInfo>
#include <QTemporaryFile>

#include <algorithm>
#include <cstdio>

namespace quv {

bool IsCompletePdf(std::string_view pdf)
{
    const std::size_t eof = pdf.rfind("%%EOF");
    const std::size_t start = pdf.rfind("startxref");
    if (!pdf.starts_with("%PDF-") || eof == std::string_view::npos ||
        start == std::string_view::npos || start > eof)
        return false;
    std::size_t at = start + 9;
    while (at < eof && (pdf[at] == '\r' || pdf[at] == '\n' || pdf[at] == ' '))
        ++at;
    std::size_t offset = 0;
    bool digits = false;
    for (; at < eof && pdf[at] >= '0' && pdf[at] <= '9'; ++at, digits = true)
        offset = offset * 10 + static_cast<std::size_t>(pdf[at] - '0');
    return digits && offset < start && pdf.substr(offset).starts_with("xref");
}

bool SetPdfCreationDate(std::string& pdf, std::string_view stamp)
{
    constexpr std::string_view key = "/CreationDate (";
    const auto isDigits = [](std::string_view t) {
        return std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    const auto isDate = [&](std::string_view t) {
        return t.size() == 17 && t.starts_with("D:") && isDigits(t.substr(2, 14)) &&
               t.back() == 'Z';
    };
    const std::size_t at = pdf.find(key);
    if (at == std::string::npos || !isDate(stamp))
        return false;
    const std::size_t from = at + key.size();
    if (!isDate(std::string_view(pdf).substr(from, 17)) || pdf.compare(from + 17, 1, ")") != 0)
        return false;
    pdf.replace(from, 17, stamp);
    return true;
}

TQPrinterOutput::TQPrinterOutput(QPrinter& printer) : printer_(printer) {}

TQPrinterOutput::~TQPrinterOutput()
{
    if (canvas_)
        AbortDoc();
}

TPrinterMetrics TQPrinterOutput::Metrics() const
{
    return ReadPrinterMetrics(printer_);
}

TCanvas& TQPrinterOutput::BeginDoc(const std::string& title, int job, int jobs)
{
    job_ = job;
    jobs_ = jobs;
    if (job == 0 || !canvas_)
        chosenFile_ = printer_.outputFileName();
    // The next antenna of a file continues the same document.
    if (!chosenFile_.isEmpty() && canvas_) {
        NewPage();
        return *canvas_;
    }
    // A PDF printer without a file, or a printer without a name, has nowhere to print. Starting
    // it anyway would leave it active and refusing every later setting, even a chosen file.
    if (chosenFile_.isEmpty() &&
        (printer_.outputFormat() == QPrinter::PdfFormat || printer_.printerName().isEmpty()))
        throw EPrinterError("Cannot start the print job " + title +
                            " on the printer: no printer is chosen");
    if (!chosenFile_.isEmpty()) {
        const QFileInfo chosen(chosenFile_);
        scratch_ = std::make_unique<QTemporaryFile>(chosen.absoluteDir().filePath(
            QStringLiteral(".") + chosen.fileName() + QStringLiteral(".XXXXXX")));
        if (!scratch_->open()) {
            const std::string reason = FromQString(scratch_->errorString());
            scratch_.reset();
            throw EPrinterError("Cannot create file " + FromQString(chosenFile_) + ": " + reason);
        }
        scratch_->close(); // the printer opens the file by its name
        printer_.setOutputFileName(scratch_->fileName());
    }
    printer_.setDocName(ToQString(title));
    auto canvas = std::make_unique<TQPainterCanvas>(&printer_);
    if (!canvas->Painter().isActive()) {
        canvas.reset();
        const QString target = chosenFile_.isEmpty() ? printer_.printerName() : chosenFile_;
        Release();
        throw EPrinterError("Cannot start the print job " + title + " on " +
                            (target.isEmpty() ? std::string("the printer: no printer is chosen")
                                              : FromQString(target)));
    }
    canvas_ = std::move(canvas);
    return *canvas_;
}

void TQPrinterOutput::NewPage()
{
    if (!printer_.newPage())
        throw EPrinterError("The printer cannot start a new page");
}

void TQPrinterOutput::EndDoc()
{
    if (!chosenFile_.isEmpty() && job_ + 1 < jobs_)
        return;      // the file's document goes on with the next antenna
    canvas_.reset(); // ends the painter, which ends the document
    if (chosenFile_.isEmpty() || !scratch_) {
        Release();
        return;
    }
    QFile printed(printer_.outputFileName());
    const bool read = printed.open(QIODevice::ReadOnly);
    const QByteArray bytes = read ? printed.readAll() : QByteArray();
    printed.close();
    const bool failed = printer_.printerState() == QPrinter::Error;
    const std::string target = QFile::encodeName(chosenFile_).toStdString();
    const QString folder = QFileInfo(chosenFile_).absolutePath();
    Release();
    if (!read)
        throw EPrinterError("The printed pages of " + target + " cannot be read back");
    std::string pdf(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    // The PDF writer does not report a failed write: a file that does not end in a cross
    // reference where its trailer says is incomplete, and must not replace the old one.
    if (failed || !IsCompletePdf(pdf)) {
        const QStorageInfo disk(folder);
        throw EPrinterError("Cannot write file " + target + ": " +
                            (disk.isValid() && disk.bytesAvailable() < 64 * 1024
                                 ? std::string("No space left on device")
                                 : std::string("the PDF writer could not finish the file")));
    }
    // A day was asked for but the writer's date cannot be found: the file would not be the
    // reproducible one that was promised.
    if (!creationStamp_.empty() && !SetPdfCreationDate(pdf, creationStamp_))
        throw EPrinterError("Cannot write file " + target +
                            ": the PDF writer's creation date was not found");
    CommitFileDurably(target, pdf);
}

void TQPrinterOutput::SetCreationDay(int year, int month, int day)
{
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "D:%04d%02d%02d000000Z", year, month, day);
    creationStamp_ = stamp;
}

void TQPrinterOutput::AbortDoc()
{
    if (canvas_)
        printer_.abort();
    canvas_.reset();
    Release();
}

void TQPrinterOutput::Release()
{
    scratch_.reset();
    if (!chosenFile_.isEmpty())
        printer_.setOutputFileName(chosenFile_);
}

void PrintAntennaJobs(TPrintOutput& output, TPrint& writer, const TQuvFileList& antennas,
                      TPrintJob job, TPlotType plotType, const TSpacePageSettings& space)
{
    std::vector<const TQuvFile*> records;
    for (int i = 0; i < antennas.Count(); ++i)
        if (antennas.Objects(i))
            records.push_back(antennas.Objects(i));
    const int jobs = static_cast<int>(records.size());
    for (int i = 0; i < jobs; ++i) {
        const TQuvFile& record = *records[static_cast<std::size_t>(i)];
        writer.SetCanvas(&output.BeginDoc(record.PartNumber, i, jobs));
        try {
            PrintAntennaPages(
                record, writer, job, [&output] { output.NewPage(); }, plotType, space);
        } catch (...) {
            writer.SetCanvas(nullptr);
            output.AbortDoc();
            throw;
        }
        writer.SetCanvas(nullptr);
        output.EndDoc();
    }
}

} // namespace quv

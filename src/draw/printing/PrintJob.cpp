#include "printing/PrintJob.h"

#include "catalogue/Codepage.h"
#include "catalogue/TextFile.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

namespace quv {

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
        scratch_ = std::make_unique<QTemporaryDir>();
        if (!scratch_->isValid()) {
            scratch_.reset();
            throw EPrinterError("Cannot start the print job " + title +
                                ": no temporary folder can be made");
        }
        printer_.setOutputFileName(scratch_->filePath(QStringLiteral("pages.pdf")));
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
    const std::string target = QFile::encodeName(chosenFile_).toStdString();
    Release();
    if (!read)
        throw EPrinterError("The printed pages of " + target + " cannot be read back");
    CommitFileDurably(target,
                      std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
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
                      TPrintJob job, TPlotType plotType)
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
                record, writer, job, [&output] { output.NewPage(); }, plotType);
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

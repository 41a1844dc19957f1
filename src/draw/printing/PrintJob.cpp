#include "printing/PrintJob.h"

#include "catalogue/Codepage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>

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

QString JobFileName(const QString& chosenFile, const std::string& title)
{
    QString part = ToQString(title);
    for (QChar& ch : part)
        if (ch == QLatin1Char('/') || ch == QLatin1Char('\\') || ch == QLatin1Char(':'))
            ch = QLatin1Char('-');
    const QFileInfo info(chosenFile);
    const QString suffix = info.suffix();
    QString name = info.completeBaseName() + QLatin1Char('_') + part;
    if (!suffix.isEmpty())
        name += QLatin1Char('.') + suffix;
    return info.dir().filePath(name);
}

TCanvas& TQPrinterOutput::BeginDoc(const std::string& title, int job, int jobs)
{
    if (job == 0)
        chosenFile_ = printer_.outputFileName();
    if (!chosenFile_.isEmpty())
        printer_.setOutputFileName(jobs > 1 ? JobFileName(chosenFile_, title) : chosenFile_);
    printer_.setDocName(ToQString(title));
    auto canvas = std::make_unique<TQPainterCanvas>(&printer_);
    if (!canvas->Painter().isActive()) {
        const QString target = printer_.outputFileName().isEmpty() ? printer_.printerName()
                                                                   : printer_.outputFileName();
        if (!chosenFile_.isEmpty())
            printer_.setOutputFileName(chosenFile_);
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
    canvas_.reset(); // ends the painter, which ends the document
    if (!chosenFile_.isEmpty())
        printer_.setOutputFileName(chosenFile_);
}

void TQPrinterOutput::AbortDoc()
{
    const QString file = printer_.outputFileName();
    printer_.abort();
    canvas_.reset();
    // A PDF cannot be aborted; a half-written job file is not kept.
    if (!file.isEmpty())
        QFile::remove(file);
    if (!chosenFile_.isEmpty())
        printer_.setOutputFileName(chosenFile_);
}

void PrintAntennaJobs(TPrintOutput& output, TPrint& writer, const TQuvFileList& antennas,
                      TPrintJob job, TPlotType plotType)
{
    const int jobs = antennas.Count();
    for (int i = 0; i < jobs; ++i) {
        const TQuvFile* record = antennas.Objects(i);
        if (!record)
            continue;
        writer.SetCanvas(&output.BeginDoc(record->PartNumber, i, jobs));
        try {
            PrintAntennaPages(
                *record, writer, job, [&output] { output.NewPage(); }, plotType);
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

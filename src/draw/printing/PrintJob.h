// Sending antennas to a printer: one print job per antenna, titled with its part number, of one
// or two pages. The output is an interface so the jobs can go to a printer, a PDF file or, in
// tests, a recording of every page.
#pragma once

#include "catalogue/QuvLib.h"
#include "printing/PrintLib.h"

#include <QString>

#include <memory>
#include <string>
#include <string_view>

class QPrinter;
class QTemporaryFile;

namespace quv {

// A printer that fails to start a document.
class EPrinterError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TPrintOutput {
public:
    virtual ~TPrintOutput() = default;
    virtual TPrinterMetrics Metrics() const = 0;
    // Starts job `job` of `jobs` titled `title`; returns the canvas of its first page. Throws
    // EPrinterError when the printer cannot start it.
    virtual TCanvas& BeginDoc(const std::string& title, int job, int jobs) = 0;
    virtual void NewPage() = 0;
    virtual void EndDoc() = 0;
    // Drops the job in progress after a failure.
    virtual void AbortDoc() = 0;
};

// Jobs on a QPrinter. A real printer gets one job per antenna. A printer that writes a file gets
// one document holding every job's pages in order, printed aside and committed whole over the
// file the user named when the last job ends: a failed job leaves no partial file and an older
// file of that name untouched. After any outcome the printer can print again and still names
// the chosen file.
class TQPrinterOutput : public TPrintOutput {
public:
    explicit TQPrinterOutput(QPrinter& printer);
    ~TQPrinterOutput() override;
    TPrinterMetrics Metrics() const override;
    TCanvas& BeginDoc(const std::string& title, int job, int jobs) override;
    void NewPage() override;
    // Throws the file errors of the commit when the file cannot be written.
    void EndDoc() override;
    void AbortDoc() override;
    // A file written from now on says it was made at the start of that day (UTC) instead of
    // now, so that two prints of the same pages are the same bytes.
    void SetCreationDay(int year, int month, int day);

private:
    void Release();
    QPrinter& printer_;
    std::unique_ptr<TQPainterCanvas> canvas_;
    // Where a file's pages are printed first: beside the target, so that a full temporary
    // folder elsewhere cannot cut them short, and only a complete file replaces the target.
    std::unique_ptr<QTemporaryFile> scratch_;
    QString chosenFile_; // the printer's output file when the batch began
    int job_ = 0, jobs_ = 1;
    std::string creationStamp_; // "D:YYYYMMDD000000Z", or empty for the moment of printing
};

// A PDF that ends in a cross reference table where its trailer says: the whole file was written.
bool IsCompletePdf(std::string_view pdf);

// Puts `stamp` in place of the PDF's creation date "D:" + 14 digits + "Z". The stamp has the
// same length, so no offset of the cross reference moves. False, with `pdf` unchanged, when the
// file holds no such date or the stamp is not of that form.
bool SetPdfCreationDate(std::string& pdf, std::string_view stamp);

// Prints every antenna of `antennas` in order as its own job. A failing job is dropped and its
// error thrown; on a printer, jobs already ended stay printed, while a file is written only when
// every job of it ended.
void PrintAntennaJobs(TPrintOutput& output, TPrint& writer, const TQuvFileList& antennas,
                      TPrintJob job, TPlotType plotType, const TSpacePageSettings& space = {});

} // namespace quv

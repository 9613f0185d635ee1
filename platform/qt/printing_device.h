// The printer: one print job per BeginDoc/EndDoc pair, drawn through a
// QPainter on the printer's page (a canvas can be opened on that painter).
//
// The job goes to the chosen system printer, or to the system's default one.
// When the system has no printer set up, or PDF output is asked for, the job
// is written as a PDF file into the PDF folder instead: the file is named
// after the job's title ("<title>.pdf", "<title> (2).pdf" when that exists),
// written under a temporary name and renamed when the job ends, so an
// aborted job leaves no file. A PDF page is the whole sheet at 600 pixels per
// inch; a printer page is the printer's printable area at its resolution.
//
// Titles and printer names are code page 1251; folders and files are UTF-8
// paths with '/'.
#pragma once

#include <QPageSize>
#include <memory>
#include <string>
#include <vector>

class QPainter;
class QPaintDevice;
class QPrinter;

enum class PageOrientation { Portrait, Landscape };

class PrintDevice {
 public:
  // Pixels per inch of a PDF page.
  static constexpr int kPdfResolution = 600;  // pixels per inch

  PrintDevice();
  ~PrintDevice();  // aborts a job that was not ended
  PrintDevice(const PrintDevice&) = delete;
  PrintDevice& operator=(const PrintDevice&) = delete;

  // The system's printers by name, and the default one (empty: none).
  static std::vector<std::string> PrinterNames();
  static std::string DefaultPrinterName();

  // The printer of the next job; empty (or a name the system does not know)
  // means the default printer.
  void SetPrinterName(const std::string& cp1251Name) { printerName_ = cp1251Name; }
  const std::string& PrinterName() const { return printerName_; }
  // Folder of the PDF files; empty means the current folder.
  void SetPdfFolder(const std::string& utf8Folder) { pdfFolder_ = utf8Folder; }
  // Writes PDF files even when a printer is set up.
  void SetPrintToPdf(bool toPdf) { forcePdf_ = toPdf; }
  // True when the next job goes to a PDF file.
  bool PrintsToPdf() const;

  // Sheet size and orientation of the next job (A4 portrait at first).
  void SetPageSize(const QPageSize& size) { pageSize_ = size; }
  // During a job the orientation is that of the next page (NewPage), so one
  // document can hold portrait and landscape pages.
  void SetOrientation(PageOrientation orientation);
  PageOrientation Orientation() const { return orientation_; }

  // Page width and height in device pixels: of the running job, or of the
  // next one as it would be set up now. 0 when no device can be set up.
  int PageWidth() const;
  int PageHeight() const;

  // Starts a job. On failure returns false, no job runs, and a code page 1251
  // message goes into *error when given.
  bool BeginDoc(const std::string& cp1251Title, std::string* error = nullptr);
  // Ends the page and starts a new one within the running job.
  bool NewPage(std::string* error = nullptr);
  // Finishes the job: the printer gets it, or the PDF file takes its name.
  bool EndDoc(std::string* error = nullptr);
  // Drops the running job; a PDF file being written is removed.
  void Abort();
  bool Printing() const { return painter_ != nullptr; }

  // The painter and the device of the running job; null when none runs.
  QPainter* Painter() const { return painter_.get(); }
  QPaintDevice* Device() const;

  // The PDF file of the last job that went to PDF (UTF-8); empty before one.
  const std::string& OutputFile() const { return outputFile_; }

 private:
  // A printer set up for the next job (PDF or system printer).
  std::unique_ptr<QPrinter> MakePrinter() const;
  void Discard();

  std::string printerName_;            // code page 1251
  std::string pdfFolder_;              // UTF-8 path
  bool forcePdf_ = false;              // flag
  QPageSize pageSize_{QPageSize::A4};  // sheet
  PageOrientation orientation_ = PageOrientation::Portrait;
  std::unique_ptr<QPrinter> printer_;  // running job's device
  std::unique_ptr<QPainter> painter_;  // running job's painter
  std::string partFile_;               // UTF-8 temporary PDF of the running job
  std::string pendingFile_;            // UTF-8 final PDF name of the running job
  std::string outputFile_;             // UTF-8 last finished PDF
};

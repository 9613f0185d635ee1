// Print jobs over QPrinter: a system printer or a PDF file.
#include "platform/qt/printing_device.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <filesystem>
#include <system_error>

#include "platform/qt/paths.h"
#include "platform/text/cp1251.h"

namespace fs = std::filesystem;

namespace {

std::string ToCp(const QString& text) { return Utf8ToCp1251(text.toStdString()); }

// A file name made of a job title: no folder separators or control
// characters, no leading dots; "document" when nothing is left.
std::string FileStem(const std::string& cp1251Title) {
  std::string stem;
  for (char c : Cp1251ToUtf8(cp1251Title)) {
    const auto byte = static_cast<unsigned char>(c);
    stem += (c == '/' || byte < 0x20 || byte == 0x7F) ? '_' : c;
  }
  const auto first = stem.find_first_not_of(" .");
  const auto last = stem.find_last_not_of(' ');
  stem = first == std::string::npos ? std::string() : stem.substr(first, last - first + 1);
  return stem.empty() ? std::string("document") : stem;
}

// "<folder>/<stem>.pdf", or with " (n)" before the extension when taken.
std::string FreePdfName(const std::string& folder, const std::string& stem) {
  const std::string base = (folder.empty() ? std::string(".") : folder) + "/" + stem;
  std::string name = base + ".pdf";
  std::error_code ec;
  for (int n = 2; fs::exists(fs::path(name), ec) && n < 100000; ++n)
    name = base + " (" + std::to_string(n) + ").pdf";
  return name;
}

}  // namespace

PrintDevice::PrintDevice() = default;

PrintDevice::~PrintDevice() { Abort(); }

std::vector<std::string> PrintDevice::PrinterNames() {
  std::vector<std::string> names;
  for (const QString& name : QPrinterInfo::availablePrinterNames()) names.push_back(ToCp(name));
  return names;
}

std::string PrintDevice::DefaultPrinterName() { return ToCp(QPrinterInfo::defaultPrinterName()); }

bool PrintDevice::PrintsToPdf() const {
  return forcePdf_ || QPrinterInfo::availablePrinterNames().isEmpty();
}

std::unique_ptr<QPrinter> PrintDevice::MakePrinter() const {
  std::unique_ptr<QPrinter> printer;
  if (PrintsToPdf()) {
    printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setResolution(kPdfResolution);
    // A PDF page has no unprintable border: draw on the whole sheet.
    printer->setFullPage(true);
  } else {
    QPrinterInfo info =
        QPrinterInfo::printerInfo(QString::fromStdString(Cp1251ToUtf8(printerName_)));
    if (info.isNull()) info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) info = QPrinterInfo::availablePrinters().value(0);
    printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
  }
  printer->setPageSize(pageSize_);
  printer->setPageOrientation(orientation_ == PageOrientation::Landscape ? QPageLayout::Landscape
                                                                         : QPageLayout::Portrait);
  return printer;
}

void PrintDevice::SetOrientation(PageOrientation orientation) {
  orientation_ = orientation;
  if (printer_)
    printer_->setPageOrientation(orientation == PageOrientation::Landscape ? QPageLayout::Landscape
                                                                           : QPageLayout::Portrait);
}

int PrintDevice::PageWidth() const {
  if (printer_) return printer_->width();
  return MakePrinter()->width();
}

int PrintDevice::PageHeight() const {
  if (printer_) return printer_->height();
  return MakePrinter()->height();
}

QPaintDevice* PrintDevice::Device() const { return painter_ ? printer_.get() : nullptr; }

bool PrintDevice::BeginDoc(const std::string& cp1251Title, std::string* error) {
  if (Printing()) {
    if (error != nullptr) *error = "Printing in progress";
    return false;
  }
  printer_ = MakePrinter();
  printer_->setDocName(QString::fromStdString(Cp1251ToUtf8(cp1251Title)));
  if (printer_->outputFormat() == QPrinter::PdfFormat) {
    pendingFile_ = FreePdfName(pdfFolder_, FileStem(cp1251Title));
    partFile_ = pendingFile_ + ".part";
    printer_->setOutputFileName(QtPath(partFile_));
  }
  painter_ = std::make_unique<QPainter>();
  if (!painter_->begin(printer_.get())) {
    if (error != nullptr)
      *error = pendingFile_.empty() ? "Cannot print on " + ToCp(printer_->printerName())
                                    : "Cannot create file " + Utf8ToCp1251(pendingFile_);
    Discard();
    return false;
  }
  return true;
}

bool PrintDevice::NewPage(std::string* error) {
  if (!Printing() || !printer_->newPage()) {
    if (error != nullptr)
      *error = Printing() ? "Printer error" : "Printer is not currently printing";
    return false;
  }
  return true;
}

bool PrintDevice::EndDoc(std::string* error) {
  if (!Printing()) {
    if (error != nullptr) *error = "Printer is not currently printing";
    return false;
  }
  const bool ended = painter_->end() && printer_->printerState() != QPrinter::Error;
  painter_.reset();
  printer_.reset();  // a PDF file is complete once its printer is gone
  if (!ended) {
    if (error != nullptr)
      *error = pendingFile_.empty() ? "Printer error"
                                    : "Cannot create file " + Utf8ToCp1251(pendingFile_);
    Discard();
    return false;
  }
  if (!partFile_.empty()) {
    std::error_code ec;
    fs::rename(fs::path(partFile_), fs::path(pendingFile_), ec);
    if (ec) {
      if (error != nullptr) *error = "Cannot create file " + Utf8ToCp1251(pendingFile_);
      Discard();
      return false;
    }
    outputFile_ = pendingFile_;
  }
  partFile_.clear();
  pendingFile_.clear();
  return true;
}

void PrintDevice::Abort() {
  if (painter_ && painter_->isActive()) {
    printer_->abort();
    painter_->end();
  }
  Discard();
}

void PrintDevice::Discard() {
  painter_.reset();
  printer_.reset();
  if (!partFile_.empty()) {
    std::error_code ec;
    fs::remove(fs::path(partFile_), ec);
  }
  partFile_.clear();
  pendingFile_.clear();
}

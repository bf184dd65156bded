#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "platform/Canvas.h"
#include "platform/PrintSurface.h"
#include "platform/Ui.h"

namespace korval {
class HostContext;
}

namespace korval::cli {

// What the korval program prints with on this system: the messages of the
// print path go to the terminal, the jobs to the system's printers (Qt with
// CUPS and a PDF writer on Linux, the spooler on Windows).
// One sheet drawn into a picture of whole pixels, white to begin with.
class SheetImage {
 public:
  virtual ~SheetImage() = default;
  virtual Canvas& GetCanvas() = 0;
  // Writes the picture as a PNG file; false when it could not be written.
  virtual bool SavePng(const std::string& path) = 0;
};

class SystemPrinting {
 public:
  virtual ~SystemPrinting() = default;
  virtual Ui& GetUi() = 0;
  // How many messages (not questions) the library has shown through GetUi()
  // and the print surface: when a job failed and the library said why, the
  // program does not say it again.
  virtual int MessagesShown() const = 0;
  virtual PrintSurface& Surface() = 0;
  // Selects a printer that writes the run into a PDF file and returns its
  // index; nothing when this system has no such printer.
  virtual std::optional<int> PdfPrinterWriting(const std::string& path) = 0;
  // Where the PDF printer wrote the run.
  virtual std::string PdfOutputFile() const = 0;
  // A sheet picture of the given size at dpi dots per inch; nothing when
  // this system cannot draw into pictures.
  virtual std::unique_ptr<SheetImage> NewSheetImage(int width, int height, int dpi) = 0;
};

std::unique_ptr<SystemPrinting> OpenSystemPrinting(HostContext& host, std::ostream& err);

}  // namespace korval::cli

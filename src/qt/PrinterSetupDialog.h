#pragma once

#include <QDialog>
#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/PrintSurface.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPrinter;

namespace korval::qt {

// "Nastavení tiskárny": the printer, its paper and orientation, what the
// printer can print of that paper, and the printer's calibration offset. Qt's
// own page setup dialog offers no printer at all, so the print system's
// queues could not be chosen from the label dialog.
//
// The dialog only chooses; the print surface makes the choice current. The
// offsets are the exception: they belong to the printers, not to the
// surface, and are written into their store when the dialog is confirmed.
class PrinterSetupDialog final : public QDialog {
 public:
  struct Printer {
    std::string Name;
    bool Pdf = false;  // the built-in printer that writes PDF files
    bool Default = false;
  };

  // printers in the surface's order; selected is the surface's printer,
  // whose page is current. offsets may be null: the offset boxes are then
  // disabled.
  PrinterSetupDialog(std::vector<Printer> printers, int selected, const QPageLayout& current,
                     PrintOffsetStore* offsets, int pdfDpi, QWidget* parent = nullptr);
  ~PrinterSetupDialog() override;
  PrinterSetupDialog(const PrinterSetupDialog&) = delete;
  PrinterSetupDialog& operator=(const PrinterSetupDialog&) = delete;

  int ChosenPrinter() const;
  QPageSize ChosenPageSize() const;
  QPageLayout::Orientation ChosenOrientation() const;

  // OK: the offsets that were changed go into their store.
  void accept() override;

 private:
  void BuildWidgets();
  void ShowPrinter(int index);
  void FillPapers(int index, const QPageSize& wanted);
  void ShowProperties();
  void ShowOffset(const std::string& printer);
  void KeepOffset();

  std::vector<Printer> printers_;
  int initial_;
  QPageLayout current_;
  PrintOffsetStore* offsets_;
  int pdfDpi_;

  QComboBox* printerBox_ = nullptr;
  QComboBox* paperBox_ = nullptr;
  QComboBox* orientationBox_ = nullptr;
  QLabel* resolution_ = nullptr;
  QLabel* margins_ = nullptr;
  QLabel* printable_ = nullptr;
  QLabel* model_ = nullptr;
  QLabel* location_ = nullptr;
  QDoubleSpinBox* offsetX_ = nullptr;
  QDoubleSpinBox* offsetY_ = nullptr;

  // The paper sizes offered for the printer shown, in the paper box's order.
  std::vector<QPageSize> sizes_;
  // The printer shown, asked for its resolution and margins; none for PDF.
  std::unique_ptr<QPrinter> probe_;
  // The resolutions the printer itself names, which the page need not be
  // drawn at.
  QList<int> nativeDpi_;
  int shown_ = -1;
  bool filling_ = false;
  // Offsets per printer name: as first shown (read from the store, rounded
  // as the boxes show them) and as edited since.
  std::map<std::string, PrintOffset> offsetsShown_;
  std::map<std::string, PrintOffset> offsetsEdited_;
};

}  // namespace korval::qt

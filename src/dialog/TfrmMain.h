#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "barcode/TBarCodeControl.h"
#include "dialog/Action.h"
#include "dialog/Form.h"
#include "dialog/StdControls.h"
#include "label/TImage.h"
#include "label/TLabel.h"
#include "platform/Canvas.h"
#include "print/SheetGeometry.h"

namespace korval {

class Clock;
class GoodsRecord;
class HostContext;
class LocaleInfo;
class PrintSurface;
class TPropCheckBox;
class Ui;

// What the label dialog works with: the host's context and the platform.
struct DialogServices {
  HostContext& Host;
  Ui& UserInterface;
  PrintSurface& Printer;
  const LocaleInfo& Locale;
  const Clock& Today;
};

// The label dialog, "Nastavení etikety": a headless object that owns the
// named controls of its layout, the catalogue items and the link labels, in
// creation order. Views mirror it; the print path uses it unseen.
class TfrmMain : public Form {
 public:
  static constexpr int kPixelsPerInch = 96;
  static constexpr const char* kFormName = "TfrmMain";

  explicit TfrmMain(DialogServices services);
  ~TfrmMain() override;

  DialogServices& Services() { return services_; }
  const LocaleInfo& Locale() const { return services_.Locale; }

  Action& GetAction(std::string_view name) const;

  // Hooks of the format store: where catalogue items (parameter set) and
  // link labels (design set) are registered as they are created.
  std::function<void(Control&)> RegisterParameterControl;
  std::function<void(Control&)> RegisterDesignControl;
  // Reloads the picture item from the file named in EBitMap.
  std::function<void()> ReloadPicture;

  // --- Items and catalogue --------------------------------------------
  // Creates one catalogue entry: the switch "cb" + key in the item list and
  // the item "l" + key on the design panel.
  enum class ItemClass { Text, Price, Barcode };
  Control& AddCatalogueItem(const std::string& key, const std::string& caption,
                            const std::string& hint, GetValueEvent getter, int valueIndex,
                            ItemClass itemClass);
  void BuildCatalogue();
  void ArrangeItemSwitches();
  void ItemClick(Control& sender);

  // Placing mode: the next press on the label places CurrentItem.
  bool PlacingItem() const { return placingItem_; }
  Control* CurrentItem() const { return currentItem_; }
  void SetCurrentItem(Control* item) { currentItem_ = item; }
  void LeavePlacingMode();

  // --- Values ------------------------------------------------------------
  std::optional<std::string> GetRecordValue(Control& item, const GoodsRecord* record,
                                            int valueIndex);
  std::optional<std::string> GetAllNotes(Control& item, const GoodsRecord* record, int);
  std::optional<std::string> GetEuroValue(Control& item, const GoodsRecord* record, int);
  std::optional<std::string> GetEuroRate(Control& item, const GoodsRecord* record, int);
  std::optional<std::string> GetFurtherBarcodes(Control& item, const GoodsRecord* record, int);
  std::string FormatSplitNumber(double number, const Control& item) const;
  void ApplyBarcodeText(TPropBarCode& barcode, const std::string& text);
  std::string SubstituteTexts(const std::string& pattern) const;
  void CBAsCHMJClick(Control& sender);
  void eText1Change(Control& sender);
  void eText2Change(Control& sender);
  void eText3Change(Control& sender);
  void SplitPriceClick(Control& item);

  // --- Goods navigation --------------------------------------------------
  bool BindGoodsItem(int index);
  void NextPol();
  void PrevPol();
  int CurrentItemIndex = 0;
  int BoundItemIndex = -1;
  int LabelCount = 0;

  // --- Barcode item menu ------------------------------------------------
  static void ToggleNumberAbove(TBarCodeControl& barcode);
  static void ToggleTallGuardBars(TBarCodeControl& barcode);

  // --- Sheet geometry (the "Parametry" tab) ---------------------------------
  MeasureUnit Unit = MeasureUnit::Dots;  // the unit of the six geometry edits
  PrinterResolution Resolution;          // DotsPerMmX, DotsPerMmY
  float DotsPerPixelX = 0;               // printer dots per design pixel
  float DotsPerPixelY = 0;
  SheetEdits CurrentSheetEdits() const;
  double LabelWidthMm() const;
  double LabelHeightMm() const;
  // Refreshes the read-outs and the resolution; with a paper size (inches,
  // both not -1) also sets it as the printer's custom paper size.
  void UpdateSheetInfo(double paperWidthInches, double paperHeightInches);
  void ComboBox1Change(Control& sender);
  void ConvertUnits(MeasureUnit unit);
  void ODChange(Control& edit);
  void MJEditPress(Control& edit, char32_t& key);

  // --- Design surface refresh ------------------------------------------------
  void DrawTiket();
  void ZmVelTiketu();
  // The label frame and the print-area outlines of the design surface.
  void PaintBox1Paint(Canvas& canvas);

  // --- Printing ------------------------------------------------------------
  int StartCol = 0;
  int StartRow = 0;
  Point ClickPoint{0, 0};
  int ItemPrintedCount = 0;
  int NextItemIndex = 0;
  bool PrintFinished = false;
  bool TestMode = false;
  int TestCounter = 0;
  // Draws the label as it stands at (x, y) printer dots of a page canvas.
  void PaintTiket(Canvas& canvas, int x, int y);
  void DrawItemText(Canvas& canvas, const std::string& text, Rect rect, unsigned flags);
  enum class PageMode { Print, Preview };
  void DrawPage(Canvas& canvas, PageMode mode);
  void PrintTikets();
  void actTestPrintExecute();
  void actPrinterSetupExecute();
  void sbResetClick();
  void NrEditPress(Control& edit, char32_t& key);

  // --- Page preview --------------------------------------------------------
  // The canvas of the preview's paint box, set by a view while it paints;
  // without one the preview draws nowhere (its hit test still runs).
  Canvas* PreviewCanvas = nullptr;
  void Preview();
  void Image1MouseDown(int x, int y);
  void TabSheet2Enter();

  // --- Printer settings ----------------------------------------------------
  void LoadPrinterSettings(const std::string& formatName);
  void ApplyPrinterSelection(int index, double paperWidthInches, double paperHeightInches);
  // Index of the system default printer; throws when there is none.
  int DefaultPrinterIndex();
  double RememberedPaperWidth = -1;
  double RememberedPaperHeight = -1;

  // --- Dialog state -------------------------------------------------------
  bool Loading = false;  // a label format is being applied
  int HandleSize = 5;
  bool SolidHandles = true;

  // Typed access to the controls of the layout.
  template <typename T>
  T& Ctl(std::string_view name) const {
    return Get<T>(name);
  }

 private:
  void BuildLayout();
  void BuildFixedItems();
  void AttachLayoutHandlers();
  void SetEditEnabled(Edit& edit, bool enabled);

  DialogServices services_;
  std::vector<std::unique_ptr<Action>> actions_;
  bool placingItem_ = false;
  Control* currentItem_ = nullptr;
};

// The switch of a catalogue item.
class TPropCheckBox : public CheckBox {
 public:
  using CheckBox::CheckBox;
  Control* Item = nullptr;
};

}  // namespace korval

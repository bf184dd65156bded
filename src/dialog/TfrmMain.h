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
#include "dialog/MessageTexts.h"
#include "dialog/StdControls.h"
#include "label/TImage.h"
#include "label/TLabel.h"
#include "label/UnitPriceText.h"
#include "platform/Canvas.h"
#include "platform/Ui.h"
#include "print/LayoutGrid.h"
#include "print/SheetGeometry.h"
#include "print/SheetTemplates.h"

namespace korval {

class Clock;
class ComponentStateList;
class GoodsRecord;
class HostContext;
class LocaleInfo;
class PrintOffsetFile;
class PrintSurface;
struct PrintOffset;
class ProfileFile;
class TPropCheckBox;
class Ui;

// What the label dialog works with: the host's context and the platform.
struct DialogServices {
  HostContext& Host;
  Ui& UserInterface;
  PrintSurface& Printer;
  const LocaleInfo& Locale;
  const Clock& Today;
  // The host program's file; names the placement file read at creation.
  std::string HostExecutable;
};

// The dialog window's placement as formats keep it (section "Formular"); a
// view applies it and reports it back.
struct WindowPlacement {
  int Flags = 0;
  int ShowCmd = 1;  // 1 normal, 2 or 6 minimized, 3 maximized
  Rect NormalPos{0, 0, 670, 466};
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
  // The picture item: loading the file named in EBitMap, and its browse button.
  void EBitMapChange();
  void EBitMapButtonClick();

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
  std::string SubstituteTexts(const std::string& pattern);
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

  // --- Sheet templates (cbArch, "Arch:") ---------------------------------------
  // The catalogue cbArch lists after "vlastní"; the dialog loads the shipped
  // one at creation (none found: only "vlastní").
  void SetSheetCatalogue(SheetTemplates catalogue);
  const SheetTemplates& SheetCatalogue() const { return sheetCatalogue_; }
  // The template picked in cbArch; null for "vlastní".
  const SheetTemplate* ChosenSheet() const;
  // Picks the template (one of SheetCatalogue's) and fills the six edits.
  void ChooseSheet(const SheetTemplate& sheet);
  void cbArchChange();
  // A template (its code) that the first showing applies once the format is
  // loaded: the command line's --sheet.
  std::string StartSheet;
  // The edits' change handler then knows the change is not the user's.
  bool SheetEditsByProgram = false;
  // The chosen template's code, kept with a format under a key of its own.
  void WriteChosenSheet(ProfileFile& file, const std::string& section) const;
  void ReadChosenSheet(const ProfileFile& file, const std::string& section);

  // --- Design surface refresh ------------------------------------------------
  void DrawTiket();
  void ZmVelTiketu();
  // The label frame and the print-area outlines of the design surface.
  void PaintBox1Paint(Canvas& canvas);

  // --- Design surface editing -----------------------------------------------
  // Mouse positions on items are in the item's own pixels; on the label
  // (PaintBox1) in the label's pixels. A view forwards its mouse events here
  // and draws what DragOutline and SelectionHandles say.
  enum DragSide : unsigned { dsMove = 1, dsLeft = 2, dsRight = 4, dsTop = 8, dsBottom = 16 };
  unsigned DragSides = 0;
  bool Moving = false;
  bool Resizing = false;
  int DownX = 0;
  int DownY = 0;
  Control* DragItem = nullptr;
  Rect DragRect{};
  // The cursor of the item under the mouse (hover), for the view to show.
  Cursor ItemCursor = Cursor::Default;
  void MouseDownClick(Control& item, MouseButton button, int x, int y);
  void MouseMoveClick(Control& item, int x, int y);
  void MouseUpClick(Control& item, MouseButton button, int x, int y);
  void imgTiketMouseDown(MouseButton button, int x, int y);
  void imgTiketMouseMove(int x, int y);
  void ScrollBox1MouseMove();
  // The focus-rectangle outline while a drag runs (design-panel pixels).
  std::optional<Rect> DragOutline() const;
  // The rectangle whose handles were drawn after the last drop, until the
  // next repaint of the surface.
  std::optional<Rect> SelectionHandles;
  static void DrawSelectionHandles(Canvas& canvas, const Rect& r, int size, bool solid);

  // The item popup menu: which entries it shows for an item, and their effects.
  struct ItemMenuState {
    bool FontVisible = false;
    bool GuardBarsVisible = false;  // "&EAN och.známka"
    bool GuardBarsChecked = false;
    bool NumberAboveVisible = false;  // "Tisknout číslo na&d čárový kód"
    bool NumberAboveChecked = false;
    bool FitVisible = false;  // "&Přizpůsobit rozměru"
    bool FitEnabled = false;
    bool FitChecked = false;
    bool AlignmentVisible = false;  // both alignment submenus
    TAlignment Alignment = TAlignment::taLeftJustify;
    TTextLayout Layout = TTextLayout::tlTop;
    bool WordWrapVisible = false;  // "Zalomení textu"
    bool WordWrapChecked = false;
    bool SplitVisible = false;  // "Rozdělt cenu na celé a zbytek"
    bool SplitChecked = false;
  };
  // The view asks for the menu at a position (right button on a barcode's
  // release, or the platform's context-menu gesture on other items).
  std::function<void(Control& item, int x, int y)> OnPopupRequest;
  ItemMenuState ppMenuPopup(Control& item);
  void FontClick();
  void AlignFont(TAlignment alignment);
  void Nahoru1Click();
  void Nasted2Click();
  void Dol1Click();
  void Zalomentextu1Click();
  void NrTopClick();
  void EanGuardClick();
  void Pizpsobitrozmru1Click();
  void Rozdltcenunacelazbytek1Click();

  // --- Printing ------------------------------------------------------------
  int StartCol = 0;
  int StartRow = 0;
  Point ClickPoint{0, 0};
  int ItemPrintedCount = 0;
  int NextItemIndex = 0;
  bool PrintFinished = false;
  bool TestMode = false;
  // A print job is drawing its labels: the design surface is bound to each
  // record in turn, and what only the screen shows waits for the job's end.
  bool PrintingJob = false;
  int TestCounter = 0;
  // Added to every position of the running job: the printer's offset.
  Point JobOffset{0, 0};
  // Draws the label as it stands at (x, y) printer dots of a page canvas.
  void PaintTiket(Canvas& canvas, int x, int y);
  // The label's items as the design surface shows them: at (0, 0), one
  // design pixel per canvas unit, without the frame.
  void PaintItemsForScreen(Canvas& canvas);
  // The whole design surface as a view paints it at the design resolution:
  // the paint box's frame and print areas, the items, the outline of a drag
  // in progress, and the selection handles once after a drop.
  void PaintDesignSurface(Canvas& canvas);
  void DrawItemText(Canvas& canvas, const std::string& text, Rect rect, unsigned flags);
  // The grid of the whole sheet in printer dots from the start position: the
  // positions the print job fills, and the ones the preview shows.
  GridInput SheetOnPaper() const;
  // The selected printer's name, empty when there is none.
  std::string SelectedPrinterName() const;
  // The selected printer's offset (etikety.ini), in millimetres and in
  // printer dots: what a print adds to every position. Read once per job.
  PrintOffset PrintOffsetMm() const;
  Point PrintOffsetDots() const;
  // Whether a position, moved by offset (printer dots), reaches outside the
  // printable area by a millimetre or more; less ends in the strip of a
  // sheet that the labels fill exactly, where it loses nothing.
  bool ReachesOutside(const GridPosition& position, Point offset) const;
  // Asks once, before a job, whether to print labels that reach outside the
  // printable area: the first labels positions of the grid from the start
  // position, then of full sheets. True when the job may go on.
  bool ConfirmPrintableArea(long long labels);
  enum class PageMode { Print, Preview };
  void DrawPage(Canvas& canvas, PageMode mode);
  void PrintTikets();
  // One sheet with the grid's corners crossed and millimetre rulers, on the
  // selected printer with its offset; false when the job did not go out.
  bool PrintCalibrationSheet();
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
  // DrawPage in preview mode.
  void DrawPreviewPage(Canvas& canvas);
  // DrawPage in preview mode without resizing, on PreviewCanvas; outside a
  // paint onto nothing, asking the view to paint the box again.
  void RedrawPreview();
  // Set by a view while the dialog is on screen: only then does the preview
  // refresh the design surface of the other tab first.
  bool OnScreen = false;

  // --- Printer settings ----------------------------------------------------
  void LoadPrinterSettings(const std::string& formatName);
  void ApplyPrinterSelection(int index, double paperWidthInches, double paperHeightInches);
  // Index of the system default printer; throws when there is none.
  int DefaultPrinterIndex();
  double RememberedPaperWidth = -1;
  double RememberedPaperHeight = -1;

  // --- Label format store -------------------------------------------------
  // The two stored sets: parameters and design.
  ComponentStateList& ParamsStorage() { return *paramsStorage_; }
  ComponentStateList& ComponentState1() { return *componentState1_; }
  // The fixed controls into both sets, in their order.
  void RegisterStoredControls();
  std::string StoreFile;     // empty until the first load or save
  std::string StoreSection;  // "SetUp" or "SetLast"
  std::string DefaultFormatName;
  // The names of section "Saves" of the format list file, in file order.
  std::vector<std::string> ReadFormatList() const;
  void LoadFormat(const std::string& name);
  void SaveState(bool ask, bool quiet);
  void SaveLastUsedState();
  // Both sets into the store file and section in force, in one write.
  void WriteSets();
  // Both sets into a section of a file whose writes are batched.
  void WriteSets(ProfileFile& file, const std::string& section);
  void cboxSavesChange();
  void cbDefautlClick();
  WindowPlacement Placement;
  bool PlacementWritten = false;
  void ReadWindowPlacement();
  void WriteWindowPlacement();

  // --- Lifecycle -----------------------------------------------------------
  std::string Caption = "Nastavení etikety";
  // Creation steps after the form is built: printer settings, stored
  // controls, caption, format list, host's format name, window placement.
  // An error ends them with the "Chyba" report and a close request.
  void RunCreationSteps();
  // The handler of the first showing; the print path calls it directly.
  void ShowStep();
  // PrintTiketFormular after creation: printer settings again, the show
  // step, the print action, pending events once.
  void RunPrintPath();
  // WM_CLOSE: from "&Ok" (result Ok) or the window's close box (no result).
  // Saves as the leaving rules say; false when the dialog stays open.
  bool Close();
  void OkClick();
  // "&Zrušit": the last-used state is written, no question asked.
  void CancelClick();
  // The dialog sends itself a close request (after an error report); the
  // modal loop, or the print path's pending events, deliver it.
  bool CloseRequested = false;
  bool Created = false;  // the creation steps ran
  bool Closed = false;
  ModalResult Result = ModalResult::None;
  // Printer changes of the system.
  void WmDevModeChange();
  void WmDeviceChange();
  void WmSettingChange();
  static constexpr int kMinWidth = 600;
  static constexpr int kMinHeight = 410;

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

  // Every message box of the dialog is shown through this, in the language
  // of the catalogue; services_ hands it out as the user interface.
  std::unique_ptr<TranslatedUi> translatedUi_;
  DialogServices services_;
  // The printers' offsets, read and edited by the printer setup dialog.
  std::unique_ptr<PrintOffsetFile> offsetFile_;
  UnitPriceText unitPrice_;
  std::vector<std::unique_ptr<Action>> actions_;
  std::unique_ptr<ComponentStateList> paramsStorage_;
  std::unique_ptr<ComponentStateList> componentState1_;
  bool placingItem_ = false;
  Control* currentItem_ = nullptr;
  SheetTemplates sheetCatalogue_;
};

// The sheet catalogue shipped beside the library or the program; empty when
// there is none or it cannot be read.
SheetTemplates ShippedSheetCatalogue();

// The services of a dialog that runs for a host: the given user interface
// and printer, the user's locale, the real clock, the host program's file.
DialogServices SystemDialogServices(HostContext& host, Ui& ui, PrintSurface& printer);

// PrintTiketFormular's whole path on the given services: the dialog is
// created, prints the host's goods with the host's format unseen, and goes.
void PrintTiketFormularWith(const DialogServices& services);

// The switch of a catalogue item.
class TPropCheckBox : public CheckBox {
 public:
  using CheckBox::CheckBox;
  Control* Item = nullptr;
};

}  // namespace korval

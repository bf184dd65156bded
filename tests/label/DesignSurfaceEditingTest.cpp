#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "doubles/DialogFixture.h"
#include "doubles/RecordingCanvas.h"

namespace korval {
namespace {

using test::DialogFixture;
using test::RecordingCanvas;

constexpr unsigned kMove = TfrmMain::dsMove;
constexpr unsigned kLeft = TfrmMain::dsLeft;
constexpr unsigned kRight = TfrmMain::dsRight;
constexpr unsigned kTop = TfrmMain::dsTop;
constexpr unsigned kBottom = TfrmMain::dsBottom;

// A shown item at a known place; mouse events go through the item's own
// handlers, as a view delivers them.
Control& ShowItem(TfrmMain& d, const std::string& name, int left, int top, int width, int height) {
  Control& item = d.Ctl<Control>(name);
  item.SetBounds(left, top, width, height);
  item.SetVisible(true);
  return item;
}

// Counts the repaint requests a view would get for one control.
struct PaintRequests : ControlObserver {
  explicit PaintRequests(const Control& watched) : control(&watched) {}
  void ControlChanged(Control& c, std::string_view property) override {
    if (&c == control && property == "Paint") ++count;
  }
  const Control* control;
  int count = 0;
};

TEST(DesignSurfaceEditingTest, HoverOverAFortyByTwentyItem) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  Control& item = ShowItem(d, "lNazev", 50, 60, 40, 20);
  struct Case {
    int x, y;
    unsigned sides;
    Cursor cursor;
  };
  // s = 5: side areas span y 7..10 ((20-5) div 2 .. 20 div 2) and x 17..20.
  const Case cases[] = {
      {2, 2, kLeft | kTop, Cursor::SizeNWSE},
      {38, 18, kRight | kBottom, Cursor::SizeNWSE},
      {2, 18, kLeft | kBottom, Cursor::SizeNESW},
      {38, 2, kRight | kTop, Cursor::SizeNESW},
      {2, 9, kLeft, Cursor::SizeWE},
      {38, 9, kRight, Cursor::SizeWE},
      {19, 2, kTop, Cursor::SizeNS},
      {19, 18, kBottom, Cursor::SizeNS},
      {20, 10, kMove, Cursor::Default},
      {0, 0, kLeft | kTop, Cursor::SizeNWSE},
      {5, 5, kLeft | kTop, Cursor::SizeNWSE},
      {40, 20, kRight | kBottom, Cursor::SizeNWSE},
      {2, 7, kLeft, Cursor::SizeWE},
      {2, 10, kLeft, Cursor::SizeWE},
      {2, 6, kMove, Cursor::Default},
      {2, 11, kMove, Cursor::Default},
      {6, 9, kMove, Cursor::Default},
      {17, 0, kTop, Cursor::SizeNS},
      {16, 0, kMove, Cursor::Default},
      {21, 20, kMove, Cursor::Default},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    item.MouseMove(c.x, c.y);
    EXPECT_EQ(d.DragSides, c.sides);
    EXPECT_EQ(d.ItemCursor, c.cursor);
  }
}

TEST(DesignSurfaceEditingTest, HoverAreasAreTriedInOrder) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  // 300 high: the bottom-left corner, not the left side far above it.
  Control& tall = ShowItem(d, "lCislo", 0, 0, 40, 300);
  tall.MouseMove(2, 298);
  EXPECT_EQ(d.DragSides, kLeft | kBottom);
  EXPECT_EQ(d.ItemCursor, Cursor::SizeNESW);
  tall.MouseMove(2, 150);
  EXPECT_EQ(d.DragSides, kLeft);

  // 8 high: (2, 4) lies in the top-left corner, the bottom-left corner and
  // the left side at once; the first of them wins.
  Control& flat = ShowItem(d, "lNazev", 0, 0, 40, 8);
  flat.MouseMove(2, 4);
  EXPECT_EQ(d.DragSides, kLeft | kTop);
  flat.MouseMove(38, 4);
  EXPECT_EQ(d.DragSides, kRight | kBottom);

  // The hit areas follow HandleSize.
  d.HandleSize = 2;
  Control& item = ShowItem(d, "lText1", 0, 0, 40, 20);
  item.MouseMove(4, 4);
  EXPECT_EQ(d.DragSides, kMove);
  item.MouseMove(2, 2);
  EXPECT_EQ(d.DragSides, kLeft | kTop);
}

TEST(DesignSurfaceEditingTest, DraggingTheLeftEdgeKeepsTheRightEdge) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  Control& item = ShowItem(d, "lNazev", 50, 60, 40, 20);
  item.MouseMove(2, 9);
  item.MouseDown(MouseButton::Left, 2, 9);
  EXPECT_TRUE(d.Resizing);
  EXPECT_FALSE(d.Moving);
  EXPECT_EQ(d.DragItem, &item);
  EXPECT_EQ(d.DownX, 2);
  EXPECT_EQ(d.DownY, 9);
  ASSERT_TRUE(d.DragOutline().has_value());
  EXPECT_EQ(*d.DragOutline(), (Rect{50, 60, 90, 80}));

  item.MouseMove(17, 12);  // the vertical part does not move a left edge
  EXPECT_EQ(*d.DragOutline(), (Rect{65, 60, 90, 80}));
  EXPECT_EQ(item.BoundsRect(), (Rect{50, 60, 90, 80}));  // only the outline moves

  item.MouseUp(MouseButton::Left, 17, 12);
  EXPECT_EQ(item.Left(), 65);
  EXPECT_EQ(item.Width(), 25);
  EXPECT_EQ(item.Left() + item.Width(), 90);
  EXPECT_EQ(item.Top(), 60);
  EXPECT_EQ(item.Height(), 20);
  EXPECT_FALSE(d.Resizing);
  EXPECT_FALSE(d.DragOutline().has_value());
}

TEST(DesignSurfaceEditingTest, ResizingCornersFromTheSizeAtTheStart) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  Control& item = ShowItem(d, "lNazev", 50, 60, 40, 20);
  item.MouseMove(38, 18);
  item.MouseDown(MouseButton::Left, 38, 18);
  item.MouseMove(45, 12);
  EXPECT_EQ(*d.DragOutline(), (Rect{50, 60, 97, 74}));
  // Every step is measured from the press, not from the previous step.
  item.MouseMove(41, 20);
  EXPECT_EQ(*d.DragOutline(), (Rect{50, 60, 93, 82}));
  item.MouseUp(MouseButton::Left, 41, 20);
  EXPECT_EQ(item.BoundsRect(), (Rect{50, 60, 93, 82}));

  item.MouseMove(2, 2);
  item.MouseDown(MouseButton::Left, 2, 2);
  item.MouseMove(-8, -2);
  EXPECT_EQ(*d.DragOutline(), (Rect{40, 56, 93, 82}));
  item.MouseUp(MouseButton::Left, -8, -2);
  EXPECT_EQ(item.BoundsRect(), (Rect{40, 56, 93, 82}));

  // The top edge dragged below the bottom one is taken as it is.
  item.MouseMove(25, 1);
  EXPECT_EQ(d.DragSides, kTop);
  item.MouseDown(MouseButton::Left, 25, 1);
  item.MouseMove(25, 41);
  item.MouseUp(MouseButton::Left, 25, 41);
  EXPECT_EQ(item.Top(), 96);
  EXPECT_EQ(item.Height(), -14);
}

TEST(DesignSurfaceEditingTest, MovingByTheMouseDistance) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  Control& item = ShowItem(d, "lText2", 50, 60, 40, 20);
  item.MouseMove(20, 10);
  item.MouseDown(MouseButton::Left, 20, 10);
  EXPECT_TRUE(d.Moving);
  EXPECT_FALSE(d.Resizing);
  item.MouseMove(25, 3);
  EXPECT_EQ(*d.DragOutline(), (Rect{55, 53, 95, 73}));
  item.MouseMove(-30, 40);
  EXPECT_EQ(*d.DragOutline(), (Rect{0, 90, 40, 110}));
  // The drop counts from where the button comes up; nothing keeps the item
  // on the label.
  item.MouseUp(MouseButton::Left, -60, 4);
  EXPECT_EQ(item.BoundsRect(), (Rect{-30, 54, 10, 74}));
  EXPECT_FALSE(d.Moving);
  EXPECT_FALSE(d.DragOutline().has_value());
}

TEST(DesignSurfaceEditingTest, OnlyTheLeftButtonStartsADrag) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  Control& item = ShowItem(d, "lNazev", 50, 60, 40, 20);
  item.MouseMove(20, 10);
  for (MouseButton button : {MouseButton::Right, MouseButton::Middle}) {
    item.MouseDown(button, 20, 10);
    EXPECT_FALSE(d.Moving);
    EXPECT_FALSE(d.Resizing);
    EXPECT_FALSE(d.DragOutline().has_value());
    item.MouseUp(button, 30, 30);
    EXPECT_EQ(item.BoundsRect(), (Rect{50, 60, 90, 80}));
  }
}

TEST(DesignSurfaceEditingTest, TheViewIsAskedToRedrawTheOutline) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  Control& item = ShowItem(d, "lNazev", 50, 60, 40, 20);
  PaintRequests surface(d.Ctl<Control>("PaintBox1"));
  PaintRequests itemPaints(item);
  d.AddObserver(&surface);
  d.AddObserver(&itemPaints);
  item.MouseMove(20, 10);
  EXPECT_EQ(surface.count, 0);
  item.MouseDown(MouseButton::Left, 20, 10);
  EXPECT_EQ(itemPaints.count, 1);
  const int atStart = surface.count;
  EXPECT_GE(atStart, 1);
  item.MouseMove(21, 10);
  EXPECT_GT(surface.count, atStart);
  d.RemoveObserver(&surface);
  d.RemoveObserver(&itemPaints);
}

TEST(DesignSurfaceEditingTest, ADropRefreshesAndLeavesHandles) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  d.DrawTiket();
  for (const char* name : {"lNazev", "NrEANCode", "imgBitMap", "lcena1"}) {
    SCOPED_TRACE(name);
    Control& item = ShowItem(d, name, 50, 60, 40, 20);
    d.Ctl<CheckBox>("cbjedn").Click();  // placing mode, which a refresh ends
    ASSERT_TRUE(d.PlacingItem());
    d.SelectionHandles.reset();
    item.MouseMove(20, 10);
    item.MouseDown(MouseButton::Left, 20, 10);
    item.MouseUp(MouseButton::Left, 23, 14);
    EXPECT_FALSE(d.PlacingItem());
    ASSERT_TRUE(d.SelectionHandles.has_value());
    EXPECT_EQ(*d.SelectionHandles, (Rect{53, 64, 93, 84}));
  }
}

TEST(DesignSurfaceEditingTest, RightReleaseOnABarcodeOnlyAsksForTheMenu) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  struct Request {
    Control* item;
    int x, y;
  };
  std::vector<Request> requests;
  TfrmMain::ItemMenuState shown;
  d.OnPopupRequest = [&](Control& item, int x, int y) {
    requests.push_back({&item, x, y});
    shown = d.ppMenuPopup(item);
  };
  for (const char* name : {"NrEANCode", "lEANCode"}) {
    SCOPED_TRACE(name);
    requests.clear();
    Control& barcode = ShowItem(d, name, 50, 60, 120, 40);
    d.Ctl<CheckBox>("cbjedn").Click();  // a refresh would end placing mode
    barcode.MouseMove(60, 20);
    barcode.MouseDown(MouseButton::Right, 60, 20);
    barcode.MouseUp(MouseButton::Right, 61, 22);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].item, &barcode);
    EXPECT_EQ(requests[0].x, 61);
    EXPECT_EQ(requests[0].y, 22);
    EXPECT_TRUE(shown.FontVisible);
    EXPECT_EQ(d.CurrentItem(), &barcode);
    EXPECT_TRUE(d.PlacingItem());
    EXPECT_FALSE(d.SelectionHandles.has_value());
    EXPECT_EQ(barcode.BoundsRect(), (Rect{50, 60, 170, 100}));
    d.Ctl<CheckBox>("cbjedn").Click();
  }

  // Text items and the picture carry the menu themselves.
  requests.clear();
  for (const char* name : {"lNazev", "imgBitMap"}) {
    Control& item = ShowItem(d, name, 50, 60, 40, 20);
    item.MouseUp(MouseButton::Right, 10, 10);
  }
  EXPECT_TRUE(requests.empty());
}

TEST(DesignSurfaceEditingTest, PlacingASwitchedOnItem) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  d.DrawTiket();
  Control& unit = d.Ctl<Control>("ljedn");
  ASSERT_LE(unit.Width(), 0);
  ASSERT_LE(unit.Height(), 0);
  d.Ctl<CheckBox>("cbjedn").Click();
  ASSERT_TRUE(d.PlacingItem());
  ASSERT_EQ(d.CurrentItem(), &unit);
  f.ui.cursors_.clear();
  auto& surface = d.Ctl<Control>("PaintBox1");
  surface.MouseDown(MouseButton::Right, 30, 20);  // any button places
  EXPECT_EQ(unit.Left(), 30);
  EXPECT_EQ(unit.Top(), 20);
  EXPECT_TRUE(unit.Visible());
  EXPECT_EQ(unit.Width(), 10);
  EXPECT_EQ(unit.Height(), 5);
  EXPECT_FALSE(d.PlacingItem());
  ASSERT_FALSE(f.ui.cursors_.empty());
  EXPECT_EQ(f.ui.cursors_.back(), Cursor::Default);
  EXPECT_TRUE(d.Ctl<CheckBox>("cbjedn").Checked());

  // Outside placing mode a press on the label changes nothing.
  surface.MouseDown(MouseButton::Left, 80, 90);
  EXPECT_EQ(unit.BoundsRect(), (Rect{30, 20, 40, 25}));

  // An item with a size keeps it.
  d.Ctl<CheckBox>("cbNazev").Click();
  surface.MouseDown(MouseButton::Left, 5, 7);
  EXPECT_EQ(d.Ctl<Control>("lNazev").BoundsRect(), (Rect{5, 7, 102, 32}));
}

TEST(DesignSurfaceEditingTest, PlacingModeCursors) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  auto& surface = d.Ctl<Control>("PaintBox1");
  auto& scrollBox = d.Ctl<Control>("ScrollBox1");
  d.Ctl<CheckBox>("cbjedn").Click();
  f.ui.cursors_.clear();
  scrollBox.MouseMove(3, 3);
  surface.MouseMove(10, 10);
  d.Ctl<Control>("gbTiket").MouseMove(3, 3);
  EXPECT_EQ(f.ui.cursors_,
            (std::vector<Cursor>{Cursor::NotAllowed, Cursor::Default, Cursor::NotAllowed}));

  surface.MouseDown(MouseButton::Left, 10, 10);
  f.ui.cursors_.clear();
  scrollBox.MouseMove(3, 3);
  surface.MouseMove(10, 10);
  EXPECT_TRUE(f.ui.cursors_.empty());
}

TEST(DesignSurfaceEditingTest, ReadoutsOverAnItem) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  auto& mouse = d.Ctl<Control>("Label7");
  auto& object = d.Ctl<Control>("Label8");
  // 720 pixels are 190.5 mm, which rounds to the even 190; 96 pixels are 25.4.
  Control& item = ShowItem(d, "lNazev", 680, 72, 96, 48);
  item.MouseMove(40, 24);
  EXPECT_EQ(mouse.Caption(), "Myš(mm):\r190:25");
  EXPECT_EQ(object.Caption(),
            "Objekt: [Název zboží]\rpozice myši(mm): 11 : 6 \rvelikost objektu(mm): 25 : 13");

  // During a drag the object read-out stands still.
  item.MouseDown(MouseButton::Left, 40, 24);
  item.MouseMove(136, 24);
  EXPECT_EQ(mouse.Caption(), "Myš(mm):\r216:25");
  EXPECT_EQ(object.Caption(),
            "Objekt: [Název zboží]\rpozice myši(mm): 11 : 6 \rvelikost objektu(mm): 25 : 13");
  item.MouseUp(MouseButton::Left, 136, 24);

  // A barcode that refused a code is named by its error hint.
  Control& barcode = ShowItem(d, "NrEANCode", 0, 0, 96, 96);
  barcode.SetHint("ERR : 1234567890A");
  barcode.MouseMove(96, 0);
  EXPECT_EQ(mouse.Caption(), "Myš(mm):\r25:0");
  EXPECT_EQ(object.Caption(),
            "Objekt: [ERR : 1234567890A]\rpozice myši(mm): 25 : 0 \rvelikost objektu(mm): 25 : 25");
}

TEST(DesignSurfaceEditingTest, ReadoutsOnTheLabelAndOutsideIt) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  auto& mouse = d.Ctl<Control>("Label7");
  auto& object = d.Ctl<Control>("Label8");
  auto& pages = d.Ctl<Control>("PageControl1");
  d.Ctl<ComboBox>("cboxSaves").SetText("Regál 3");
  d.Ctl<Control>("PaintBox1").MouseMove(96, 720);
  EXPECT_EQ(mouse.Caption(), "Myš(mm):\r25:190");
  EXPECT_EQ(object.Caption(), "Etiketa : Regál 3");
  EXPECT_EQ(pages.HelpContext(), 5);

  d.Ctl<Control>("ScrollBox1").MouseMove(200, 100);
  EXPECT_EQ(mouse.Caption(), "Myš(mm):\r0:0");
  EXPECT_EQ(object.Caption(), "");
  EXPECT_EQ(pages.HelpContext(), 3);

  d.Ctl<Control>("PaintBox1").MouseMove(0, 0);
  EXPECT_EQ(pages.HelpContext(), 5);
  d.Ctl<Control>("gbTiket").MouseMove(1, 1);
  EXPECT_EQ(pages.HelpContext(), 3);
}

TEST(DesignSurfaceEditingTest, EveryItemTakesPartInEditing) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  std::vector<std::string> names = {"lNazev", "lCislo", "NrEANCode", "lText1",
                                    "lText2", "lText3", "lDatum",    "imgBitMap"};
  for (Control* child : d.Ctl<Control>("ScrollBox2").Children()) {
    if (auto* itemSwitch = dynamic_cast<TPropCheckBox*>(child)) {
      names.push_back(itemSwitch->Item->Name());
    }
  }
  ASSERT_EQ(names.size(), 8u + 24u);
  // A split price's second half is dragged like its first.
  auto& price = d.Ctl<TLabel>("lcena1");
  price.SetLinked(true);
  names.push_back(price.LinkLabel()->Name());

  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    Control& item = ShowItem(d, name, 50, 60, 40, 20);
    item.MouseMove(38, 9);
    EXPECT_EQ(d.DragSides, kRight);
    item.MouseDown(MouseButton::Left, 38, 9);
    item.MouseMove(43, 9);
    item.MouseUp(MouseButton::Left, 43, 9);
    EXPECT_EQ(item.Width(), 45);
  }
}

TEST(DesignSurfaceEditingTest, SelectionHandlesInOrder) {
  struct Case {
    Rect r;
    int size;
    std::vector<Rect> squares;
  };
  const Case cases[] = {
      // cx = 10 + (52-5-10) div 2 = 28, cy = 20 + (40-5-20) div 2 = 27
      {{10, 20, 52, 40},
       5,
       {{10, 20, 15, 25},
        {10, 35, 15, 40},
        {47, 20, 52, 25},
        {47, 35, 52, 40},
        {28, 35, 33, 40},
        {28, 20, 33, 25},
        {10, 27, 15, 32},
        {47, 27, 52, 32}}},
      // Narrower than a handle: (2-5) div 2 truncates to -1.
      {{0, 0, 2, 2},
       5,
       {{0, 0, 5, 5},
        {0, -3, 5, 2},
        {-3, 0, 2, 5},
        {-3, -3, 2, 2},
        {-1, -3, 4, 2},
        {-1, 0, 4, 5},
        {0, -1, 5, 4},
        {-3, -1, 2, 4}}},
  };
  for (const Case& c : cases) {
    for (const bool solid : {true, false}) {
      SCOPED_TRACE(solid ? "solid" : "outlined");
      RecordingCanvas canvas;
      canvas.SetBrushColor(0x0000FF);
      TfrmMain::DrawSelectionHandles(canvas, c.r, c.size, solid);
      const auto drawn =
          canvas.CallsOf(solid ? RecordingCanvas::Op::FillRect : RecordingCanvas::Op::FrameRect);
      EXPECT_EQ(canvas.Calls().size(), drawn.size());
      ASSERT_EQ(drawn.size(), c.squares.size());
      for (std::size_t i = 0; i < drawn.size(); ++i) {
        EXPECT_EQ(drawn[i].rect, c.squares[i]) << i;
        EXPECT_EQ(drawn[i].brushColor, kBlack) << i;
      }
      EXPECT_EQ(canvas.BrushColor(), kWhite);
    }
  }
}

// A width typed far beyond any label (99999999999 dots) overflowed the
// panel's pixels and the label vanished; it is drawn at the largest size.
TEST(DesignSurfaceEditingTest, HugeLabelSizeKeepsThePanelOnScreen) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  for (const MeasureUnit unit : {MeasureUnit::Dots, MeasureUnit::Millimetres}) {
    d.Unit = unit;
    d.Ctl<Edit>("rxseOsax").SetText("99999999999");
    d.Ctl<Edit>("rxseOsay").SetText("99999999999999999999");
    d.DrawTiket();
    const int largest = static_cast<int>(TfrmMain::kPixelsPerInch * kMaxLabelMm / 25.4);
    EXPECT_EQ(d.Ctl<Control>("Panel2").Width(), largest);
    EXPECT_EQ(d.Ctl<Control>("Panel2").Height(), largest);
    RecordingCanvas page;
    d.PaintTiket(page, 0, 0);
  }
}

}  // namespace
}  // namespace korval

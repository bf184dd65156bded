#pragma once

#include <functional>
#include <optional>
#include <string>

#include "dialog/Control.h"
#include "platform/Font.h"

namespace korval {

class GoodsRecord;
class TPropLabelLink;

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TTextLayout { tlTop, tlCenter, tlBottom };

// The value getter of a catalogue item: the item, the bound goods record (or
// none) and the item's ValueIndex in; a text, or no value (the empty text).
using GetValueEvent = std::function<std::optional<std::string>(
    Control& item, const GoodsRecord* record, int valueIndex)>;

// The dialog's text item class: every text on the label and the read-outs.
// Adds the link label of a split price.
class TLabel : public Control {
 public:
  TLabel(Form& owner, std::string name) : Control(owner, ControlKind::Label, std::move(name)) {}
  ~TLabel() override;

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout v);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v) { autoSize_ = v; }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v) { transparent_ = v; }
  const Font& GetFont() const { return font_; }
  void SetFont(const Font& v);
  // Items with the popup menu of the design surface.
  bool HasPopupMenu() const { return popupMenu_; }
  void SetPopupMenu(bool v) { popupMenu_ = v; }

  // The second half of a split price, or none.
  TPropLabelLink* LinkLabel() const { return linkLabel_; }
  // 1 for the price items of the catalogue: only they offer the split.
  int CanSplit() const { return canSplit_; }
  void SetCanSplit(int v) { canSplit_ = v; }
  std::function<void(TLabel& link)> OnLinkCreated;

  bool Linked() const { return linkLabel_ != nullptr; }
  // True creates the link label "<name>_Link" beside the label, false frees it.
  void SetLinked(bool v);

  // Text from the getter when one is attached, else the own caption.
  void UpdateFromRecord(const GoodsRecord* record);
  virtual GetValueEvent ValueGetter() const { return {}; }
  virtual int ValueIndexOf() const { return -1; }

  void Notification(Control& removed) override;

 private:
  TAlignment alignment_ = TAlignment::taLeftJustify;
  TTextLayout layout_ = TTextLayout::tlTop;
  bool wordWrap_ = false;
  bool autoSize_ = true;
  bool transparent_ = false;
  Font font_;
  bool popupMenu_ = false;
  TPropLabelLink* linkLabel_ = nullptr;
  int canSplit_ = 0;
};

// A catalogue text item whose text comes from a value getter.
class TPropLabel : public TLabel {
 public:
  using TLabel::TLabel;
  GetValueEvent OnGetValue;
  int ValueIndex = -1;
  GetValueEvent ValueGetter() const override { return OnGetValue; }
  int ValueIndexOf() const override { return ValueIndex; }
};

// The second half of a split price.
class TPropLabelLink : public TPropLabel {
 public:
  using TPropLabel::TPropLabel;
};

// A control is a label item — drawn, printed and outlined — when it is a
// graphic control, visible, with Tag above 9, and not the design surface's
// paint box.
bool IsLabelItem(const Control& control);

}  // namespace korval

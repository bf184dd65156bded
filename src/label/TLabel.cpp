#include "label/TLabel.h"

#include "dialog/Form.h"

namespace korval {

TLabel::~TLabel() = default;

void TLabel::SetAlignment(TAlignment v) {
  if (v == alignment_) return;
  alignment_ = v;
  Changed("Alignment");
}

void TLabel::SetLayout(TTextLayout v) {
  if (v == layout_) return;
  layout_ = v;
  Changed("Layout");
}

void TLabel::SetWordWrap(bool v) {
  if (v == wordWrap_) return;
  wordWrap_ = v;
  Changed("WordWrap");
}

void TLabel::SetFont(const Font& v) {
  if (v == font_) return;
  font_ = v;
  Changed("Font");
}

void TLabel::SetLinked(bool v) {
  if (v == Linked()) return;
  if (linkLabel_ != nullptr) {
    // Freeing the link label reaches Notification, which clears the reference.
    Owner().Destroy(*linkLabel_);
    linkLabel_ = nullptr;
  }
  if (v) {
    auto& link = Owner().Create<TPropLabelLink>(Name() + "_Link");
    link.SetAutoSize(AutoSize());
    link.OnGetValue = ValueGetter();
    link.OnMouseDown = OnMouseDown;
    link.OnMouseMove = OnMouseMove;
    link.OnMouseUp = OnMouseUp;
    link.SetHint(Hint());
    link.SetParent(Parent());
    link.SetFont(GetFont());
    link.SetPopupMenu(HasPopupMenu());
    link.ValueIndex = ValueIndexOf();
    link.SetVisible(false);
    link.SetBounds(Left() + Width(), Top(), Width() / 4, Height());
    link.SetVisible(Visible());
    link.SetTag(10);
    linkLabel_ = &link;
    FreeNotification(link);
  }
  Changed("Linked");
  if (linkLabel_ != nullptr && OnLinkCreated) OnLinkCreated(*linkLabel_);
}

void TLabel::UpdateFromRecord(const GoodsRecord* record) {
  const GetValueEvent getter = ValueGetter();
  if (!getter) return;  // the own caption stays
  SetCaption(getter(*this, record, ValueIndexOf()).value_or(std::string()));
}

void TLabel::Notification(Control& removed) {
  if (&removed == linkLabel_) {
    linkLabel_ = nullptr;
    Changed("Linked");
  }
}

bool IsLabelItem(const Control& control) {
  return control.IsGraphic() && control.Visible() && control.Tag() > 9 &&
         control.Kind() != ControlKind::PaintBox;
}

}  // namespace korval

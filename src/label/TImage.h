#pragma once

#include <string>

#include "dialog/Control.h"
#include "platform/Picture.h"

namespace korval {

// The picture item: a picture loaded from a file, drawn stretched into the
// item or at its own size.
class TImage : public Control {
 public:
  TImage(Form& owner, std::string name) : Control(owner, ControlKind::Image, std::move(name)) {}

  const Picture& GetPicture() const { return picture_; }
  void SetPicture(Picture picture);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool v);
  bool HasPopupMenu() const { return popupMenu_; }
  void SetPopupMenu(bool v) { popupMenu_ = v; }

 private:
  Picture picture_;
  bool stretch_ = false;
  bool popupMenu_ = false;
};

}  // namespace korval

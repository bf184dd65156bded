#include "qt/DockLayout.h"

#include <algorithm>

namespace korval::qt {

void DockControls(const Form& form, const std::vector<Control*>& controls, const Rect& client) {
  Rect rest = client;
  for (const ControlAlign align :
       {ControlAlign::alTop, ControlAlign::alBottom, ControlAlign::alLeft, ControlAlign::alRight,
        ControlAlign::alClient}) {
    for (Control* control : controls) {
      // A resize handler run by an earlier control may have freed this one.
      if (!form.Owns(control) || control->Align() != align || !control->Visible()) continue;
      const int w = control->Width();
      const int h = control->Height();
      switch (align) {
        case ControlAlign::alTop:
          control->SetBounds(rest.Left, rest.Top, rest.Width(), h);
          rest.Top += h;
          break;
        case ControlAlign::alBottom:
          control->SetBounds(rest.Left, rest.Bottom - h, rest.Width(), h);
          rest.Bottom -= h;
          break;
        case ControlAlign::alLeft:
          control->SetBounds(rest.Left, rest.Top, w, rest.Height());
          rest.Left += w;
          break;
        case ControlAlign::alRight:
          control->SetBounds(rest.Right - w, rest.Top, w, rest.Height());
          rest.Right -= w;
          break;
        case ControlAlign::alClient:
          control->SetBounds(rest.Left, rest.Top, std::max(0, rest.Width()),
                             std::max(0, rest.Height()));
          break;
        case ControlAlign::alNone:
          break;
      }
    }
  }
}

}  // namespace korval::qt

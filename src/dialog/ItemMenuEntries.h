#pragma once

#include <functional>
#include <string>
#include <vector>

#include "dialog/TfrmMain.h"

namespace korval {

// One entry of the design surface's item menu (ppMenu), as every toolkit
// builds it: the toolkits differ only in how a menu is made and shown.
struct ItemMenuEntry {
  enum class Kind {
    Command,  // runs its handler
    Check,    // runs its handler; shows a check mark
    Choice,   // one of its submenu's choices, marked by a radio mark
    Submenu,  // holds the entries whose Parent it is
  };

  // The menu item's name on the form, under which a language catalogue
  // translates the caption.
  std::string Name;
  // With "&" before the accelerator key.
  std::string Caption;
  Kind Type = Kind::Command;
  // Index of the submenu entry that holds this one in the table, -1 for the
  // menu itself. A submenu comes before its entries.
  int Parent = -1;
  // An entry that does not fit the item is in the menu but not shown.
  bool Visible = true;
  bool Enabled = true;
  bool Checked = false;
  // The dialog's handler; empty for a submenu. A view runs it through its
  // ActionRunner after the menu has closed.
  std::function<void()> Handler;
};

// The entries of the item menu for the item that ppMenuPopup was asked
// about, in the order the menu shows them, with what ppMenuPopup says is
// shown, usable and checked.
std::vector<ItemMenuEntry> ItemMenuEntries(TfrmMain& dialog, const TfrmMain::ItemMenuState& state);

// Whether an item opens the item menu by the platform's context-menu gesture:
// the text items and the picture have the menu as their own; a barcode asks
// for it on a right-button release instead (TfrmMain::OnPopupRequest).
bool HasItemMenu(const Control& item);

}  // namespace korval

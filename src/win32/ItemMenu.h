#pragma once

#include "win32/WinApi.h"

#include <vector>

#include "dialog/ItemMenuEntries.h"
#include "dialog/TfrmMain.h"
#include "dialog/ViewMirror.h"

namespace korval::win32 {

// The design surface's item menu (ppMenu) as a popup menu: the shown entries
// of the table, each with its index in the table + 1 as command id, choices
// with the radio mark. A Windows menu has no hidden items, so the hidden
// entries (and all of a hidden submenu) are left out. The caller destroys it.
HMENU MakeItemMenu(const std::vector<ItemMenuEntry>& entries);

// Opens the item menu that state describes at a point of the screen, owned
// by owner, and waits for the person; the entry chosen runs through run once
// the menu has closed. Whether an entry was chosen.
bool TrackItemMenu(HWND owner, POINT screenPoint, TfrmMain& dialog,
                   const TfrmMain::ItemMenuState& state, const ActionRunner& run);

}  // namespace korval::win32

#include "win32/WinApi.h"

#include "win32/ItemMenu.h"

#include <string>

#include "platform/WideText.h"

namespace korval::win32 {

HMENU MakeItemMenu(const std::vector<ItemMenuEntry>& entries) {
  const HMENU menu = CreatePopupMenu();
  if (menu == nullptr) return nullptr;
  // The menu made for each submenu entry; none for a hidden one.
  std::vector<HMENU> submenus(entries.size(), nullptr);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const ItemMenuEntry& entry = entries[i];
    const HMENU holder = entry.Parent < 0 ? menu : submenus[static_cast<std::size_t>(entry.Parent)];
    if (holder == nullptr || !entry.Visible) continue;
    std::wstring caption = WideFromUtf8(entry.Caption);
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE | MIIM_FTYPE;
    item.fType = MFT_STRING;
    item.wID = static_cast<UINT>(i + 1);
    item.dwTypeData = caption.data();
    item.fState = (entry.Enabled ? MFS_ENABLED : MFS_DISABLED) |
                  (entry.Checked ? MFS_CHECKED : MFS_UNCHECKED);
    if (entry.Type == ItemMenuEntry::Kind::Submenu) {
      submenus[i] = CreatePopupMenu();
      if (submenus[i] == nullptr) continue;
      item.fMask |= MIIM_SUBMENU;
      item.hSubMenu = submenus[i];
    } else if (entry.Type == ItemMenuEntry::Kind::Choice) {
      item.fType |= MFT_RADIOCHECK;
    }
    const UINT position = static_cast<UINT>(GetMenuItemCount(holder));
    if (!InsertMenuItemW(holder, position, TRUE, &item) && submenus[i] != nullptr) {
      DestroyMenu(submenus[i]);
      submenus[i] = nullptr;
    }
  }
  return menu;
}

bool TrackItemMenu(HWND owner, POINT screenPoint, TfrmMain& dialog,
                   const TfrmMain::ItemMenuState& state, const ActionRunner& run) {
  const std::vector<ItemMenuEntry> entries = ItemMenuEntries(dialog, state);
  const HMENU menu = MakeItemMenu(entries);
  if (menu == nullptr) return false;
  // The entry comes back as the answer rather than as WM_COMMAND, so that it
  // runs here, after the menu's own message loop has ended.
  const int chosen =
      static_cast<int>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN,
                                      screenPoint.x, screenPoint.y, 0, owner, nullptr));
  DestroyMenu(menu);
  if (chosen <= 0 || chosen > static_cast<int>(entries.size())) return false;
  const std::function<void()>& handler = entries[static_cast<std::size_t>(chosen - 1)].Handler;
  if (!handler) return false;
  run(handler);
  return true;
}

}  // namespace korval::win32

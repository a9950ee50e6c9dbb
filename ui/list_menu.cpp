// The device list's context menu.
#include "ui/list_menu.h"

#include <windowsx.h>

#include <cstring>

#include "protocol/field_text.h"
#include "protocol/mac_text.h"
#include "resources/resource_ids.h"
#include "ui/clipboard_text.h"
#include "ui/details_panel.h"
#include "ui/plan_file.h"
#include "ui/plan_text.h"
#include "ui/web_launch.h"

namespace lumora {
namespace {

int SelectedSlot(const DialogControls& controls) {
  HWND list = controls.deviceList;
  LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (selected == LB_ERR) return -1;
  char text[512] = {};
  LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(selected), 0);
  if (length == LB_ERR || length >= static_cast<LRESULT>(sizeof text)) return -1;
  SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text));
  return SlotOfEntry(text);
}

// The same path a left click takes.
void ShowSelectedEntry(const ListMenuContext& menu) {
  OnDeviceListNotify(MAKEWPARAM(IDC_DEVICE_LIST, LBN_SELCHANGE), &menu.search, menu.controls, menu.arrivals,
                     menu.seen);
}

// A right click selects and shows the entry under the pointer; false when
// there is none. LB_ITEMFROMPOINT answers the nearest entry, which for a
// click below the last one is the last one, so its rectangle decides.
bool SelectEntryAtPointer(const ListMenuContext& menu, POINT screen) {
  HWND list = menu.controls.deviceList;
  POINT client = screen;
  ScreenToClient(list, &client);
  LRESULT hit = SendMessageA(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
  if (HIWORD(hit) != 0 || LOWORD(hit) >= SendMessageA(list, LB_GETCOUNT, 0, 0)) return false;
  RECT item = {};
  if (SendMessageA(list, LB_GETITEMRECT, LOWORD(hit), reinterpret_cast<LPARAM>(&item)) == LB_ERR ||
      !PtInRect(&item, client)) {
    return false;
  }
  SendMessageA(list, LB_SETCURSEL, LOWORD(hit), 0);
  ShowSelectedEntry(menu);
  return true;
}

// From the keyboard the menu opens below the selected entry, which is shown
// first unless the panel shows it already (a new camera's entry is selected
// without being shown, and the menu must not act on another camera).
POINT PlaceAtSelection(const ListMenuContext& menu) {
  HWND list = menu.controls.deviceList;
  RECT item = {};
  LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (selected != LB_ERR) {
    SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&item));
    int slot = SelectedSlot(menu.controls);
    if (slot >= 0 && slot != ShownSlot(menu.controls, menu.search.table)) ShowSelectedEntry(menu);
  }
  POINT at = {item.left, item.bottom};
  ClientToScreen(list, &at);
  return at;
}

// The list as it is when the operator chose the command, not after the
// Save As dialog, during which a search may change it. The status line is
// the search's, so a failure has a message box of its own.
void SaveList(const ListMenuContext& menu) {
  const std::string sheet = ListSheetText(
      ListedCamerasNow(menu.controls.deviceList, menu.search.table, menu.arrivals, menu.seen), SheetJoin::kCsv);
  std::wstring path;
  if (!AskSaveFile(menu.dialog, "lumora-list", path)) return;
  std::string problem;
  if (!SaveFileInPlace(path, Utf8FileText(sheet), problem)) {
    MessageBoxA(menu.dialog, problem.c_str(), "Save list", MB_OK | MB_ICONERROR);
  }
}

}  // namespace

int ShownSlot(const DialogControls& controls, const DeviceTable& table) {
  char caption[32] = {};
  GetWindowTextA(controls.macGroup, caption, sizeof caption);
  for (int slot = 0; slot < kTableSlots; ++slot) {
    const DeviceRecord& record = table.slots[slot];
    if (record.number == slot + 1 && std::strcmp(MacToText(record.mac).text, caption) == 0) return slot;
  }
  return -1;
}

bool OnListContextMenu(const ListMenuContext& menu, HWND target, LPARAM lParam) {
  if (target != menu.controls.deviceList) return false;
  bool fromKeyboard = GET_X_LPARAM(lParam) == -1 && GET_Y_LPARAM(lParam) == -1;
  POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  // A click beside every entry is about no camera, not the one shown.
  bool onCamera = true;
  if (fromKeyboard) {
    at = PlaceAtSelection(menu);
  } else {
    onCamera = SelectEntryAtPointer(menu, at);
  }
  HMENU loaded = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_LIST_MENU));
  if (loaded == nullptr) return true;
  HMENU popup = GetSubMenu(loaded, 0);
  UINT state = onCamera && ShownSlot(menu.controls, menu.search.table) >= 0 ? MF_ENABLED : MF_GRAYED;
  for (UINT command : {IDM_OPEN_PAGE, IDM_COPY_IP, IDM_COPY_MAC}) EnableMenuItem(popup, command, MF_BYCOMMAND | state);
  bool listed = SendMessageA(menu.controls.deviceList, LB_GETCOUNT, 0, 0) > 0;
  EnableMenuItem(popup, IDM_ASSIGN_ADDRESSES, MF_BYCOMMAND | (listed ? MF_ENABLED : MF_GRAYED));
  // The chosen command comes back to the dialog as a WM_COMMAND.
  TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, menu.dialog, nullptr);
  DestroyMenu(loaded);
  return true;
}

void OnListMenuCommand(const ListMenuContext& menu, WORD command) {
  if (SendMessageA(menu.controls.deviceList, LB_GETCOUNT, 0, 0) <= 0) return;
  if (command == IDM_COPY_LIST) {
    PutTextOnClipboard(menu.dialog, ListSheetText(ListedCamerasNow(menu.controls.deviceList, menu.search.table,
                                                                   menu.arrivals, menu.seen),
                                                  SheetJoin::kTabs));
    return;
  }
  if (command == IDM_SAVE_LIST) {
    SaveList(menu);
    return;
  }
  int slot = ShownSlot(menu.controls, menu.search.table);
  if (slot < 0) return;
  const DeviceRecord& record = menu.search.table.slots[slot];
  switch (command) {
    case IDM_OPEN_PAGE: OpenDeviceWebPage(record, menu.dialog); break;
    case IDM_COPY_IP: PutTextOnClipboard(menu.dialog, FieldText(record.ipText)); break;
    case IDM_COPY_MAC: PutTextOnClipboard(menu.dialog, MacToText(record.mac).text); break;
    default: break;
  }
}

}  // namespace lumora

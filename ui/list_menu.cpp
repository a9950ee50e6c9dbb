// The device list's context menu.
#include "ui/list_menu.h"

#include <windowsx.h>

#include <cstring>

#include "protocol/field_text.h"
#include "protocol/mac_text.h"
#include "resources/resource_ids.h"
#include "ui/clipboard_text.h"
#include "ui/details_panel.h"
#include "ui/web_launch.h"

namespace lumora {
namespace {

int SelectedSlot(const AppState& app) {
  HWND list = app.controls.deviceList;
  LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (selected == LB_ERR) return -1;
  char text[512] = {};
  LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(selected), 0);
  if (length == LB_ERR || length >= static_cast<LRESULT>(sizeof text)) return -1;
  SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text));
  return SlotOfEntry(text);
}

// The same path a left click takes.
void ShowSelectedEntry(AppState& app) {
  OnDeviceListNotify(MAKEWPARAM(IDC_DEVICE_LIST, LBN_SELCHANGE), &app.search, app.controls);
}

// A right click selects and shows the entry under the pointer; false when
// there is none. LB_ITEMFROMPOINT answers the nearest entry, which for a
// click below the last one is the last one, so its rectangle decides.
bool SelectEntryAtPointer(AppState& app, POINT screen) {
  HWND list = app.controls.deviceList;
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
  ShowSelectedEntry(app);
  return true;
}

// From the keyboard the menu opens below the selected entry, which is shown
// first unless the panel shows it already (a new camera's entry is selected
// without being shown, and the menu must not act on another camera).
POINT PlaceAtSelection(AppState& app) {
  HWND list = app.controls.deviceList;
  RECT item = {};
  LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (selected != LB_ERR) {
    SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&item));
    int slot = SelectedSlot(app);
    if (slot >= 0 && slot != ShownSlot(app)) ShowSelectedEntry(app);
  }
  POINT at = {item.left, item.bottom};
  ClientToScreen(list, &at);
  return at;
}

}  // namespace

int ShownSlot(const AppState& app) {
  char caption[32] = {};
  GetWindowTextA(app.controls.macGroup, caption, sizeof caption);
  for (int slot = 0; slot < kTableSlots; ++slot) {
    const DeviceRecord& record = app.search.table.slots[slot];
    if (record.number == slot + 1 && std::strcmp(MacToText(record.mac).text, caption) == 0) return slot;
  }
  return -1;
}

bool OnListContextMenu(AppState& app, HWND target, LPARAM lParam) {
  if (target != app.controls.deviceList) return false;
  bool fromKeyboard = GET_X_LPARAM(lParam) == -1 && GET_Y_LPARAM(lParam) == -1;
  POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  // A click beside every entry is about no camera, not the one shown.
  bool onCamera = true;
  if (fromKeyboard) {
    at = PlaceAtSelection(app);
  } else {
    onCamera = SelectEntryAtPointer(app, at);
  }
  HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_LIST_MENU));
  if (menu == nullptr) return true;
  HMENU popup = GetSubMenu(menu, 0);
  UINT state = onCamera && ShownSlot(app) >= 0 ? MF_ENABLED : MF_GRAYED;
  for (UINT command : {IDM_OPEN_PAGE, IDM_COPY_IP, IDM_COPY_MAC}) EnableMenuItem(popup, command, MF_BYCOMMAND | state);
  // The chosen command comes back to the dialog as a WM_COMMAND.
  TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, app.dialog, nullptr);
  DestroyMenu(menu);
  return true;
}

void OnListMenuCommand(AppState& app, WORD command) {
  if (SendMessageA(app.controls.deviceList, LB_GETCOUNT, 0, 0) <= 0) return;
  if (command == IDM_COPY_LIST) {
    PutTextOnClipboard(app.dialog, ListSheetText(ListedCamerasNow(app.controls.deviceList, app.search.table,
                                                                  app.slotAdapters, app.slotAddresses)));
    return;
  }
  int slot = ShownSlot(app);
  if (slot < 0) return;
  const DeviceRecord& record = app.search.table.slots[slot];
  switch (command) {
    case IDM_OPEN_PAGE: OpenDeviceWebPage(record, app.dialog); break;
    case IDM_COPY_IP: PutTextOnClipboard(app.dialog, FieldText(record.ipText)); break;
    case IDM_COPY_MAC: PutTextOnClipboard(app.dialog, MacToText(record.mac).text); break;
    default: break;
  }
}

}  // namespace lumora

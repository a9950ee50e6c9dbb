// The device list's context menu: open the shown camera's page, copy its IP
// address or MAC, copy the whole list or save it to a CSV file. It writes no
// status and sends no datagram.
#pragma once

#include <windows.h>

#include "protocol/device_record.h"
#include "ui/dialog_controls.h"
#include "ui/listed_cameras.h"

namespace lumora {

// What the menu acts on, lent by the dialog's owner: the dialog, which its
// commands come back to, its controls, and the table with what is kept
// beside it.
struct ListMenuContext {
  HWND dialog;
  const DialogControls& controls;
  SearchState& search;
  const SlotArrivals& arrivals;
  const SlotAddresses& seen;
};

// WM_CONTEXTMENU: `target` is the window clicked (only the list has the
// menu), `lParam` the screen point, or -1, -1 from the keyboard. A right
// click on an entry first shows it, as a left click does; one beside every
// entry selects nothing and leaves only "Copy list" enabled. False when
// `target` is not the list, for the default handling.
bool OnListContextMenu(const ListMenuContext& menu, HWND target, LPARAM lParam);

// One of the menu's commands (IDM_*). With nothing shown or the list empty
// it does nothing.
void OnListMenuCommand(const ListMenuContext& menu, WORD command);

// The slot whose camera the panel shows (its MAC text is the group box's
// caption, as "Submit" finds it), or -1.
int ShownSlot(const DialogControls& controls, const DeviceTable& table);

}  // namespace lumora

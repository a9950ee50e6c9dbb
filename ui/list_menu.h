// The device list's context menu: open the shown camera's page, copy its IP
// address or MAC, copy the whole list. It writes no status and sends no
// datagram.
#pragma once

#include <windows.h>

#include "app/app_state.h"

namespace lumora {

// WM_CONTEXTMENU: `target` is the window clicked (only the list has the
// menu), `lParam` the screen point, or -1, -1 from the keyboard. A right
// click on an entry first shows it, as a left click does; one beside every
// entry selects nothing and leaves only "Copy list" enabled. False when
// `target` is not the list, for the default handling.
bool OnListContextMenu(AppState& app, HWND target, LPARAM lParam);

// One of the menu's commands (IDM_*). With nothing shown or the list empty
// it does nothing.
void OnListMenuCommand(AppState& app, WORD command);

// The slot whose camera the panel shows (its MAC text is the group box's
// caption, as "Submit" finds it), or -1.
int ShownSlot(const AppState& app);

}  // namespace lumora

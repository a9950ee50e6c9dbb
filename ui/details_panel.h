// The details panel: the settings of the camera selected in the list, and
// its emptying after every request the worker sends.
#pragma once

#include <windows.h>

#include "protocol/device_record.h"
#include "ui/dialog_controls.h"

namespace lumora {

// The caption of the MAC group box while no camera is shown. Lower case, so
// it never equals a MAC text.
inline constexpr char kNoCameraCaption[] = "ffffffffffff";

// Every command from the list box; the notification code is the high word of
// `wParam`.
void OnDeviceListNotify(WPARAM wParam, SearchState* state);

// Empties the panel and the list and zeroes the table. Runs on the dialog
// thread, when the worker's notice of a sent request is applied.
void ClearDevices(const DialogControls& controls, DeviceTable& table);

}  // namespace lumora

// The details panel: the settings of the camera selected in the list, and
// its emptying after every request the worker sends.
#pragma once

#include <windows.h>

#include <string>

#include "protocol/device_record.h"
#include "ui/device_list.h"
#include "ui/dialog_controls.h"
#include "ui/listed_cameras.h"

namespace lumora {

// The caption of the MAC group box while no camera is shown. Lower case, so
// it never equals a MAC text.
inline constexpr char kNoCameraCaption[] = "ffffffffffff";

// Every command from the list box; the notification code is the high word of
// `wParam`. A selection shows the entry's camera and its note (read with
// what the dialog keeps beside the table), a double click opens its web
// page; an entry that names no used slot leads to nothing.
void OnDeviceListNotify(WPARAM wParam, SearchState* state, const DialogControls& controls,
                        const SlotArrivals& arrivals, const SlotAddresses& seen);

// Fills the panel from one record; the note is the caller's.
void ShowDeviceDetails(const DialogControls& controls, const DeviceRecord& record);

// The static 1008 text for a record: "IP Assignment:", the mode, the version.
std::string DeviceInfoText(const DeviceRecord& record);

// Empties the panel and the list and zeroes the table. Runs on the dialog
// thread, when the worker's notice of a sent request is applied.
void ForgetDevices(const DialogControls& controls, DeviceList& list, DeviceTable& table);

}  // namespace lumora

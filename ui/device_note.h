// The note under the information text: what bites the camera the panel
// shows, one line per finding, or nothing.
#pragma once

#include <string>

#include "protocol/device_record.h"
#include "ui/dialog_controls.h"
#include "ui/listed_cameras.h"

namespace lumora {

// The note for listed slot `slot`: "Outside ...", "Same IP address as ...",
// "This MAC also answered from ...", in that order, lines ending in CRLF
// but the last; "" when nothing bites.
std::string DeviceNoteText(const ListedCameras& listed, int slot);

// Sets the note for used slot `slot` of `table`, read with what the dialog
// keeps beside the table.
void ShowDeviceNote(const DialogControls& controls, const DeviceTable& table, const SlotArrivals& arrivals,
                    const SlotAddresses& seen, int slot);

void ClearDeviceNote(const DialogControls& controls);

}  // namespace lumora

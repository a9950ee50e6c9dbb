// What the details panel holds when "Submit" is pressed, read from its
// controls for the configuration request, and the edit each setting is shown
// in.
#pragma once

#include <windows.h>

#include "protocol/configuration_request.h"
#include "protocol/settings.h"
#include "ui/dialog_controls.h"

namespace lumora {

PanelSnapshot ReadPanelSnapshot(const DialogControls& controls);

// The edit that holds the row's panel text, or nullptr: the version and the
// mode have none, and a hidden new-MAC edit is neither read nor written.
HWND SettingEdit(const DialogControls& controls, const Setting& setting);

}  // namespace lumora

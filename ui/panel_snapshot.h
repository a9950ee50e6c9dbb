// What the details panel holds when "Submit" is pressed, read from its
// controls for the configuration request.
#pragma once

#include "protocol/configuration_request.h"
#include "ui/dialog_controls.h"

namespace lumora {

PanelSnapshot ReadPanelSnapshot(const DialogControls& controls);

}  // namespace lumora

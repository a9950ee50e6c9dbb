// What the simulator knows besides its sockets and timers: the cameras as
// configured so far, the received-datagram log, and whether searches are
// answered. The control channel reads and changes it.
#pragma once

#include <vector>

#include "tools/camsim/camera_settings.h"
#include "tools/camsim/datagram_log.h"

namespace camsim {

struct SimulatorState {
  std::vector<CameraSettings> cameras;  // never empty
  DatagramLog log;
  bool answering = true;
  bool configuring = true;  // off: configuration requests are logged, not applied
};

}  // namespace camsim

// The sheet both front ends write of the cameras found: `lumora scan
// --format csv` and the dialog's "Copy list". One row a camera, its cells
// in the settings' order and then interface, source and warnings, each text
// cell guarded against the spreadsheet, so that a sheet saved as CSV is a
// plan that changes nothing. The front ends only join the cells (commas
// and quotes; tabs).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "protocol/device_record.h"

namespace lumora::provisioning {

struct SheetCamera {
  const DeviceRecord* record = nullptr;
  bool carriesIpAssign = false;  // without the flags the mode cell is empty
  std::string interfaceName;     // the adapter the reply came in on
  std::string source;            // "10.77.0.2:3566"; "" when not known
  std::vector<std::string> warnings;
};

// A camera's bytes (or any text of a row) as the front end shows them: its
// encoding, its rule for control characters.
using CellText = std::function<std::string(const std::string& text)>;

// "mac", "name", ... "pppoe_password" (only `withPassword`), "interface",
// "source", "warnings".
std::vector<std::string> SheetTitles(bool withPassword);

// The cells of one camera under SheetTitles: the MAC in colon notation,
// ports in decimal, the mode as a request writes it back, warnings joined
// by ";".
std::vector<std::string> SheetCells(const SheetCamera& camera, bool withPassword, const CellText& cellText);

}  // namespace lumora::provisioning

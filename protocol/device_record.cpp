// The table is only ever zeroed whole, which keeps every free slot all zero.
#include "protocol/device_record.h"

#include <cstring>

namespace lumora {

void ZeroTable(DeviceTable& table) { std::memset(&table, 0, sizeof table); }

}  // namespace lumora

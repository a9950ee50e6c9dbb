// Verification of a camera against its plan row.
#include "provisioning/verify.h"

namespace lumora::provisioning {

std::string PlanMismatch(const PlanRow&, const DeviceRecord&) { return "not written yet"; }

}  // namespace lumora::provisioning

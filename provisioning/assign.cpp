// The range assignment.
#include "provisioning/assign.h"

namespace lumora::provisioning {

bool PlanAddresses(const std::vector<FoundCamera>&, const AssignOptions&, Plan& plan, std::string& error) {
  plan.rows.clear();
  error = "not written yet";
  return false;
}

bool ParseIpRange(const std::string&, uint32_t&, uint32_t&, std::string& error) {
  error = "not written yet";
  return false;
}

}  // namespace lumora::provisioning

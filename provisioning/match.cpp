// Matching plan rows to cameras and composing their requests.
#include "provisioning/match.h"

namespace lumora::provisioning {

std::vector<Step> MatchPlan(const Plan& plan, const std::vector<FoundCamera>&, std::vector<PlanProblem>&) {
  std::vector<Step> steps(plan.rows.size());
  for (std::size_t i = 0; i < steps.size(); ++i) steps[i].row = i;
  return steps;
}

}  // namespace lumora::provisioning

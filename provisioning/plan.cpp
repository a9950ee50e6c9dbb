// Reading and checking a site plan.
#include "provisioning/plan.h"

namespace lumora::provisioning {

std::string ProblemText(const PlanProblem& problem) {
  std::string out = "line " + std::to_string(problem.line);
  if (!problem.column.empty()) out += ", column " + problem.column;
  return out + ": " + problem.message;
}

bool ReadPlan(const std::string&, Plan& plan, std::vector<PlanProblem>& problems) {
  plan.rows.clear();
  problems.push_back({1, "", "not read yet"});
  return false;
}

std::optional<std::string> ReadMacCell(const std::string&, std::string& message) {
  message = "not read yet";
  return std::nullopt;
}

std::string ValueProblem(std::size_t, const std::string&) { return ""; }

std::size_t SettingIndex(const char* key) { return static_cast<std::size_t>(FindSetting(key) - kSettings); }

}  // namespace lumora::provisioning

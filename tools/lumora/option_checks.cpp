#include "tools/lumora/option_checks.h"

#include <cstdio>

#include "protocol/decimal_text.h"
#include "provisioning/value_rules.h"

namespace lumora::cli {

CLI::Validator WholeNumber(uint64_t min, uint64_t max) {
  return CLI::Validator(
      [min, max](std::string& text) -> std::string {
        uint64_t value = 0;
        if (ReadDecimal(text, min, max, value)) return "";
        return "'" + text + "' is not a decimal number from " + std::to_string(min) + " to " + std::to_string(max) +
               " without leading zeros";
      },
      "");
}

CLI::Validator DecimalSeconds(double min, double max) {
  return CLI::Validator(
      [min, max](std::string& text) -> std::string {
        double value = 0;
        if (ReadDecimalFraction(text, min, max, value)) return "";
        char range[64];
        std::snprintf(range, sizeof range, "%g to %g", min, max);
        return "'" + text + "' is not a decimal number of seconds from " + range;
      },
      "");
}

CLI::Validator Value(SettingId setting) {
  return CLI::Validator([setting](std::string& text) { return provisioning::TypedValueProblem(setting, text); }, "");
}

CLI::Validator OneOf(std::vector<std::string> names) { return CLI::IsMember(names).description(""); }

}  // namespace lumora::cli

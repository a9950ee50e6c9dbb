#include "tools/lumora/option_checks.h"

#include <cstdio>

#include "protocol/decimal_text.h"
#include "tools/lumora/number_text.h"

namespace lumora::cli {

CLI::Validator WholeNumber(long long min, long long max) {
  return CLI::Validator(
      [min, max](std::string& text) -> std::string {
        long long value = 0;
        if (ReadWholeNumber(text, min, max, value)) return "";
        return "'" + text + "' is not a decimal number from " + std::to_string(min) + " to " + std::to_string(max) +
               " without leading zeros";
      },
      "");
}

CLI::Validator DecimalSeconds(double min, double max) {
  return CLI::Validator(
      [min, max](std::string& text) -> std::string {
        double value = 0;
        if (ReadSeconds(text, min, max, value)) return "";
        char range[64];
        std::snprintf(range, sizeof range, "%g to %g", min, max);
        return "'" + text + "' is not a decimal number of seconds from " + range;
      },
      "");
}

CLI::Validator Address() {
  return CLI::Validator(
      [](std::string& text) -> std::string {
        if (IsDottedIpv4(text)) return "";
        return "'" + text + "' is not four decimal numbers 0..255 without leading zeros";
      },
      "");
}

CLI::Validator OneOf(std::vector<std::string> names) { return CLI::IsMember(names).description(""); }

}  // namespace lumora::cli

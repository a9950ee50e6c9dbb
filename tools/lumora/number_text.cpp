#include "tools/lumora/number_text.h"

#include <cstdlib>

namespace lumora::cli {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool AllDigits(const std::string& text, std::size_t from, std::size_t to) {
  if (from >= to) return false;
  for (std::size_t i = from; i < to; ++i) {
    if (!IsDigit(text[i])) return false;
  }
  return true;
}

}  // namespace

bool ReadSeconds(const std::string& text, double min, double max, double& out) {
  std::size_t dot = text.find('.');
  if (text.size() > 18 || !AllDigits(text, 0, dot == std::string::npos ? text.size() : dot)) return false;
  if (dot != std::string::npos && !AllDigits(text, dot + 1, text.size())) return false;
  double value = std::strtod(text.c_str(), nullptr);
  if (!(value >= min && value <= max)) return false;
  out = value;
  return true;
}

}  // namespace lumora::cli

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

bool ReadWholeNumber(const std::string& text, long long min, long long max, long long& out) {
  // Eighteen digits cannot overflow a long long.
  if (!AllDigits(text, 0, text.size()) || text.size() > 18) return false;
  if (text.size() > 1 && text[0] == '0') return false;
  long long value = std::strtoll(text.c_str(), nullptr, 10);
  if (value < min || value > max) return false;
  out = value;
  return true;
}

bool ReadSeconds(const std::string& text, double min, double max, double& out) {
  std::size_t dot = text.find('.');
  if (text.size() > 18 || !AllDigits(text, 0, dot == std::string::npos ? text.size() : dot)) return false;
  if (dot != std::string::npos && !AllDigits(text, dot + 1, text.size())) return false;
  double value = std::strtod(text.c_str(), nullptr);
  if (!(value >= min && value <= max)) return false;
  out = value;
  return true;
}

bool IsDottedIpv4(const std::string& text) {
  int parts = 0;
  std::size_t start = 0;
  while (true) {
    std::size_t dot = text.find('.', start);
    std::string part = text.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
    long long value = 0;
    if (!ReadWholeNumber(part, 0, 255, value)) return false;
    ++parts;
    if (dot == std::string::npos) break;
    start = dot + 1;
  }
  return parts == 4;
}

}  // namespace lumora::cli

// Plan text conversions.
#include "ui/plan_text.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>

#include "provisioning/sheet_text.h"

namespace lumora {
namespace {

std::wstring Widened(UINT codePage, DWORD flags, const std::string& bytes) {
  if (bytes.empty()) return L"";
  const int size = static_cast<int>(bytes.size());
  int units = MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
  if (units <= 0) return L"";
  std::wstring wide(static_cast<std::size_t>(units), L'\0');
  MultiByteToWideChar(codePage, flags, bytes.data(), size, &wide[0], units);
  return wide;
}

// WC_NO_BEST_FIT_CHARS keeps "Ł" from becoming "L" (a camera renamed to
// what nobody typed); the default character then says it did not fit. The
// way back must give the same character, which also catches a code page
// that maps it to a byte standing for something else.
bool FitsCodePage(const wchar_t* wide, int units) {
  char bytes[8];
  BOOL usedDefault = FALSE;
  int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, units, bytes, sizeof bytes, nullptr, &usedDefault);
  if (size <= 0 || usedDefault) return false;
  wchar_t back[4];
  return MultiByteToWideChar(CP_ACP, 0, bytes, size, back, 4) == units && std::wmemcmp(back, wide, units) == 0;
}

// The first character that does not fit, by line and column; a surrogate
// pair is one character.
std::string UnfitCharacterProblem(const wchar_t* wide, std::size_t length) {
  int line = 1, column = 1;
  for (std::size_t i = 0; i < length; ++column) {
    const int units = (wide[i] >= 0xD800 && wide[i] <= 0xDBFF && i + 1 < length) ? 2 : 1;
    if (!FitsCodePage(wide + i, units)) {
      char code[16];
      const unsigned value = units == 2 ? 0x10000u + ((wide[i] - 0xD800u) << 10) + (wide[i + 1] - 0xDC00u) : wide[i];
      std::snprintf(code, sizeof code, "U+%04X", value);
      return "line " + std::to_string(line) + ", column " + std::to_string(column) + ": the character " + code +
             " is not in this system's code page " + std::to_string(GetACP());
    }
    if (wide[i] == L'\n') {
      ++line;
      column = 0;
    }
    i += static_cast<std::size_t>(units);
  }
  return "";
}

}  // namespace

bool AnsiPlanText(const wchar_t* wide, std::size_t length, std::string& text, std::string& problem) {
  text.clear();
  if (length == 0) return true;
  const int units = static_cast<int>(length);
  BOOL usedDefault = FALSE;
  int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, units, nullptr, 0, nullptr, &usedDefault);
  if (size > 0) {
    text.assign(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, units, &text[0], size, nullptr, &usedDefault);
  }
  // Nearly every text fits; only one that seems not to is looked at closely.
  if (size > 0 && !usedDefault && Widened(CP_ACP, 0, text) == std::wstring(wide, length)) return true;
  problem = UnfitCharacterProblem(wide, length);
  if (problem.empty()) problem = "the text cannot be read in this system's code page";
  text.clear();
  return false;
}

bool PlanTextOfFile(const std::string& bytes, std::string& text, std::string& problem) {
  if (bytes.size() > kMostPlanBytes) {
    problem = "the file holds " + std::to_string(bytes.size() >> 20) + " MB, more than any plan";
    return false;
  }
  if (const void* nul = std::memchr(bytes.data(), '\0', bytes.size())) {
    const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(nul) - bytes.data());
    const std::size_t line = 1 + static_cast<std::size_t>(std::count(bytes.begin(), bytes.begin() + at, '\n'));
    problem = "line " + std::to_string(line) + ": the file holds a NUL character; no plan holds one";
    return false;
  }
  const bool bom = bytes.compare(0, 3, provisioning::kUtf8Bom) == 0;
  const std::string body = bom ? bytes.substr(3) : bytes;
  // Bytes that are not UTF-8 are the ANSI code page's already.
  const std::wstring wide = Widened(CP_UTF8, MB_ERR_INVALID_CHARS, body);
  if (wide.empty() && !body.empty()) {
    text = body;
    return true;
  }
  return AnsiPlanText(wide.data(), wide.size(), text, problem);
}

std::string Utf8FileText(const std::string& ansi) {
  const std::wstring wide = Widened(CP_ACP, 0, ansi);
  std::string out = provisioning::kUtf8Bom;
  int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  if (size <= 0) return out;
  const std::size_t at = out.size();
  out.resize(at + static_cast<std::size_t>(size));
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &out[at], size, nullptr, nullptr);
  return out;
}

}  // namespace lumora

// Code pages through MultiByteToWideChar, the reading the dialog's ANSI
// controls give the same bytes.
#include <windows.h>

#include "protocol/decimal_text.h"
#include "tools/lumora/code_page.h"

namespace lumora::cli {
namespace {

std::string Convert(UINT codePage, const std::string& bytes) {
  if (bytes.empty()) return "";
  int wide = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (wide <= 0) return Windows1252ToUtf8(bytes);
  std::wstring text(static_cast<std::size_t>(wide), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], wide);
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, &out[0], size, nullptr, nullptr);
  return out;
}

}  // namespace

bool OpenCodePage(const std::string& name, CodePageReader& reader, std::string& error) {
  UINT codePage = GetACP();
  if (!name.empty()) {
    uint64_t number = 0;
    if (!ReadDecimal(name, 1, 65535, number) || !IsValidCodePage(static_cast<UINT>(number))) {
      error = "--codepage: '" + name + "' is not a code page number this system has (such as 1252, 936, 932)";
      return false;
    }
    codePage = static_cast<UINT>(number);
  }
  reader = [codePage](const std::string& bytes) { return Convert(codePage, bytes); };
  return true;
}

}  // namespace lumora::cli

// The code page --codepage names, read by the platform: iconv's names
// (GBK, SHIFT_JIS, WINDOWS-1251, ...) on Linux, MultiByteToWideChar's code
// page numbers (936, 932, 1251, ...) on Windows.
#pragma once

#include <string>

#include "tools/lumora/camera_text.h"

namespace lumora::cli {

// The reader for code page `name`; "" gives the default (the system's ANSI
// code page on Windows, an empty reader, meaning Windows-1252, elsewhere).
// False with `error` set when the platform does not know `name`.
bool OpenCodePage(const std::string& name, CodePageReader& reader, std::string& error);

}  // namespace lumora::cli

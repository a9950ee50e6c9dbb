// What the list's menu puts on the clipboard: one value, or the whole list
// as a sheet (tab-separated, CRLF, a header line) whose columns are those of
// `lumora scan --format csv`, so a pasted sheet saved as CSV is a plan.
#pragma once

#include <windows.h>

#include <string>

#include "ui/listed_cameras.h"

namespace lumora {

// The sheet of every listed camera, in list order, in the dialog's ANSI
// code page: each control character (tab included) as "?", text cells made
// spreadsheet-safe, the MAC in colon notation. No password column.
std::string ListSheetText(const ListedCameras& listed);

// Puts `text` (ANSI code page) on the clipboard as CF_UNICODETEXT, C1
// controls as "?" too. False when the clipboard could not be had.
bool PutTextOnClipboard(HWND owner, const std::string& text);

}  // namespace lumora

// What the list's menu puts on the clipboard: one value, or the whole list
// as a sheet (tab-separated, CRLF, a header line) whose columns are those of
// `lumora scan --format csv`, so a pasted sheet saved as CSV is a plan. The
// same sheets, comma-separated, are what the dialog saves to files.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "provisioning/report.h"
#include "ui/listed_cameras.h"

namespace lumora {

// How a sheet's cells are joined: by tabs, for the clipboard, or by commas
// with RFC 4180 quoting, for a CSV file.
enum class SheetJoin { kTabs, kCsv };

// The sheet of every listed camera, in list order, in the dialog's ANSI
// code page: each control character (tab included) as "?", text cells made
// spreadsheet-safe, the MAC in colon notation. No password column.
std::string ListSheetText(const ListedCameras& listed, SheetJoin join);

// The apply report as the same kind of sheet: a header line
// "mac\tstatus\tinterface\tchanges\treason", then the cells lumora apply's
// CSV writes, secrets hidden.
std::string ReportSheetText(const std::vector<provisioning::RowReport>& reports, SheetJoin join);

// A camera's bytes as they come back when Copy list's sheet is pasted: its
// controls as "?", and whatever the code page reads as a C1 control too.
// A pasted plan's texts are compared with the cameras through this.
std::string ThroughClipboard(const std::string& bytes);

// The clipboard's text (CF_UNICODETEXT, up to its NUL) in the ANSI code
// page; false with `problem` when there is none, or it is more than any
// plan, or it holds a character the code page cannot hold.
bool TakeClipboardText(HWND owner, std::string& text, std::string& problem);

// Puts `text` (ANSI code page) on the clipboard as CF_UNICODETEXT, C1
// controls as "?" too. False when the clipboard could not be had.
bool PutTextOnClipboard(HWND owner, const std::string& text);

}  // namespace lumora

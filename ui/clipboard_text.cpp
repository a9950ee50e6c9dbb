// The clipboard texts and the sheets.
#include "ui/clipboard_text.h"

#include <cwchar>
#include <vector>

#include "protocol/ipv4.h"
#include "provisioning/sheet_row.h"
#include "provisioning/sheet_text.h"
#include "ui/plan_text.h"

namespace lumora {
namespace {

// A tab or a line break inside a cell would move the rest of the row.
std::string AsciiControlsReplaced(std::string text) {
  for (char& c : text) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) c = '?';
  }
  return text;
}

std::string SheetLine(const std::vector<std::string>& cells, SheetJoin join) {
  std::string out;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (join == SheetJoin::kTabs) out += (i == 0 ? "" : "\t") + cells[i];
    else out += (i == 0 ? "" : ",") + provisioning::CsvQuoted(cells[i]);
  }
  return out + "\r\n";
}

std::string CameraLine(const ListedCameras& listed, int slot, SheetJoin join) {
  const DeviceRecord& r = listed.table->slots[slot];
  const CameraReading reading = ReadCamera(listed, slot);
  const Arrival& arrival = (*listed.arrivals)[slot];
  provisioning::SheetCamera camera{&r, CarriesIpAssign(r), reading.interfaceName,
                                   arrival.sourcePort != 0 ? Ipv4PortText(arrival.sourceIp, arrival.sourcePort) : "",
                                   FindingNames(reading.findings)};
  return SheetLine(provisioning::SheetCells(camera, false, AsciiControlsReplaced), join);
}

}  // namespace

std::string ReportSheetText(const std::vector<provisioning::RowReport>& reports, SheetJoin join) {
  std::string sheet = SheetLine(provisioning::ReportSheetTitles(), join);
  for (const provisioning::RowReport& report : reports) {
    sheet += SheetLine(provisioning::ReportSheetCells(report, false, AsciiControlsReplaced), join);
  }
  return sheet;
}

std::string ThroughClipboard(const std::string& bytes) {
  std::string text = AsciiControlsReplaced(bytes);
  int units = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (units <= 0) return text;
  std::wstring wide(static_cast<std::size_t>(units), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], units);
  for (wchar_t& c : wide) {
    if (c >= 0x80 && c <= 0x9F) c = L'?';
  }
  int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
  std::string back(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) WideCharToMultiByte(CP_ACP, 0, wide.data(), units, &back[0], size, nullptr, nullptr);
  return back;
}

bool TakeClipboardText(HWND owner, std::string& text, std::string& problem) {
  if (!OpenClipboard(owner)) {
    problem = "the clipboard could not be opened; try again";
    return false;
  }
  bool good = false;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  const wchar_t* wide = data != nullptr ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
  if (wide == nullptr) {
    problem = "the clipboard holds no text: copy the plan's rows, header included, in the spreadsheet first";
  } else {
    // The text ends at its NUL; GlobalSize may count more than was
    // allocated, and whatever follows the NUL is not the text's.
    const SIZE_T units = GlobalSize(data) / sizeof(wchar_t);
    SIZE_T length = 0;
    while (length < units && wide[length] != 0) ++length;
    if (length * sizeof(wchar_t) > kMostPlanBytes) {
      problem = "the clipboard holds " + std::to_string(length * sizeof(wchar_t) >> 20) +
                " MB of text, more than any plan";
    } else {
      good = AnsiPlanText(wide, length, text, problem);
    }
    GlobalUnlock(data);
  }
  CloseClipboard();
  return good;
}

std::string ListSheetText(const ListedCameras& listed, SheetJoin join) {
  std::string sheet = SheetLine(provisioning::SheetTitles(false), join);
  for (int slot : listed.slots) sheet += CameraLine(listed, slot, join);
  return sheet;
}

bool PutTextOnClipboard(HWND owner, const std::string& text) {
  int units = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  if (units <= 0) return false;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(units) * sizeof(wchar_t));
  if (memory == nullptr) return false;
  auto* wide = static_cast<wchar_t*>(GlobalLock(memory));
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, units);
  // A code page may map bytes to C1 controls (Windows-1252: 81 8D 8F 90 9D).
  for (int i = 0; i + 1 < units; ++i) {
    if (wide[i] >= 0x80 && wide[i] <= 0x9F) wide[i] = L'?';
  }
  GlobalUnlock(memory);
  if (!OpenClipboard(owner)) {
    GlobalFree(memory);
    return false;
  }
  EmptyClipboard();
  // The clipboard owns the memory once it is set, and only then.
  bool set = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  CloseClipboard();
  if (!set) GlobalFree(memory);
  return set;
}

}  // namespace lumora

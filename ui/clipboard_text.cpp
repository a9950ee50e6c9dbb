// The clipboard texts.
#include "ui/clipboard_text.h"

#include <cwchar>
#include <vector>

#include "protocol/ipv4.h"
#include "provisioning/sheet_row.h"

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

std::string SheetLine(const std::vector<std::string>& cells) {
  std::string out;
  for (std::size_t i = 0; i < cells.size(); ++i) out += (i == 0 ? "" : "\t") + cells[i];
  return out + "\r\n";
}

std::string CameraLine(const ListedCameras& listed, int slot) {
  const DeviceRecord& r = listed.table->slots[slot];
  const CameraReading reading = ReadCamera(listed, slot);
  const Arrival& arrival = (*listed.adapters)[slot];
  provisioning::SheetCamera camera{&r, CarriesIpAssign(r), reading.interfaceName,
                                   arrival.sourcePort != 0 ? Ipv4PortText(arrival.sourceIp, arrival.sourcePort) : "",
                                   FindingNames(reading.findings)};
  return SheetLine(provisioning::SheetCells(camera, false, AsciiControlsReplaced));
}

}  // namespace

std::string ListSheetText(const ListedCameras& listed) {
  std::string sheet = SheetLine(provisioning::SheetTitles(false));
  for (int slot : listed.slots) sheet += CameraLine(listed, slot);
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

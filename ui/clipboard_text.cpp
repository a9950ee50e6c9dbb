// The clipboard texts.
#include "ui/clipboard_text.h"

#include <cwchar>
#include <vector>

#include "protocol/field_text.h"
#include "protocol/ip_assign.h"
#include "provisioning/sheet_text.h"

namespace lumora {
namespace {

constexpr char kSheetHeader[] =
    "mac\tname\tversion\tip\tmask\tgateway\thttp_port\taudio_port\tmode\tpppoe_account\tinterface\twarnings\r\n";

// A tab or a line break inside a cell would move the rest of the row.
std::string ControlsReplaced(std::string text) {
  for (char& c : text) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) c = '?';
  }
  return text;
}

std::string SafeText(const std::string& text) { return provisioning::SheetSafe(ControlsReplaced(text)); }

// lumora leaves the mode empty when the reply carried no IP-assignment
// field. The table cannot tell, but such a reply leaves all four bytes 0
// (which read as PPPoE), while cameras write 01 or FF: empty then, so a
// plan made from the sheet asks for a mode rather than turning the camera
// to PPPoE. Otherwise the reading a request writes back, as lumora's, so
// the sheet applied unchanged keeps every mode.
std::string ModeCell(const uint8_t (&ipAssign)[4]) {
  if (ipAssign[0] == 0 && ipAssign[1] == 0 && ipAssign[2] == 0 && ipAssign[3] == 0) return "";
  return ModeName(CheckedMode(ipAssign));
}

std::string Joined(const std::vector<std::string>& items, const char* separator) {
  std::string out;
  for (std::size_t i = 0; i < items.size(); ++i) out += (i == 0 ? "" : separator) + items[i];
  return out;
}

std::string SheetLine(const ListedCameras& listed, int slot) {
  const DeviceRecord& r = listed.table->slots[slot];
  const CameraReading reading = ReadCamera(listed, slot);
  const std::vector<std::string> cells = {
      provisioning::ColonMac(r.mac), SafeText(FieldText(r.name)), SafeText(FieldText(r.version)),
      ControlsReplaced(FieldText(r.ipText)), ControlsReplaced(FieldText(r.maskText)),
      ControlsReplaced(FieldText(r.gatewayText)), std::to_string(r.httpPort), std::to_string(r.audioPort),
      ModeCell(r.ipAssign), SafeText(FieldText(r.pppoeAccount)), SafeText(reading.interfaceName),
      Joined(FindingNames(reading.findings), ",")};
  return Joined(cells, "\t") + "\r\n";
}

}  // namespace

std::string ListSheetText(const ListedCameras& listed) {
  std::string sheet = kSheetHeader;
  for (int slot : listed.slots) sheet += SheetLine(listed, slot);
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

#include "protocol/ip_assign.h"

namespace lumora {
namespace {

bool IsSet(uint8_t byte) { return byte != 0xFF; }

}  // namespace

IpAssignMode ReportedMode(const uint8_t (&ipAssign)[4]) {
  if (IsSet(ipAssign[0]) && IsSet(ipAssign[1])) return IpAssignMode::kPppoe;
  if (IsSet(ipAssign[2]) && IsSet(ipAssign[3])) return IpAssignMode::kDhcp;
  return IpAssignMode::kStatic;
}

IpAssignMode CheckedMode(const uint8_t (&ipAssign)[4]) {
  if (IsSet(ipAssign[0])) return IpAssignMode::kPppoe;
  if (IsSet(ipAssign[2])) return IpAssignMode::kDhcp;
  return IpAssignMode::kStatic;
}

const char* ModeName(IpAssignMode mode) {
  switch (mode) {
    case IpAssignMode::kDhcp: return "dhcp";
    case IpAssignMode::kPppoe: return "pppoe";
    case IpAssignMode::kStatic: break;
  }
  return "static";
}

bool ModeFromName(const std::string& name, IpAssignMode& out) {
  for (IpAssignMode mode : {IpAssignMode::kStatic, IpAssignMode::kDhcp, IpAssignMode::kPppoe}) {
    if (name == ModeName(mode)) {
      out = mode;
      return true;
    }
  }
  return false;
}

}  // namespace lumora

// What the program knows about the cameras: one record per camera that has
// answered since the table was last zeroed, in the table the dialog keeps.
#pragma once

#include <cstdint>

namespace lumora {

// One camera's settings from its latest reply. Field order and widths are
// fixed: the panel, the configuration request and the web launch all read
// them by these widths. The four texts `name`, `version`, `pppoeAccount` and
// `pppoePassword` hold the bytes as received and carry no terminator when
// they fill their field; read them only through FieldText (field_text.h).
struct DeviceRecord {
  int32_t number;           // 0 = free slot, else slot index + 1
  char name[16];            // tag 0x20
  char version[16];         // tag 0x21
  uint8_t mac[6];           // tag 0x10, the key of the table
  char ipText[16];          // tag 0x11 as dotted text, always terminated
  char maskText[16];        // tag 0x12
  char gatewayText[16];     // tag 0x13
  int32_t httpPort;         // tag 0x14, 0..65535
  int32_t audioPort;        // tag 0x15, 0..65535
  uint8_t ipAssign[4];      // tag 0x1F, raw flag bytes, 0xFF = not set
  char pppoeAccount[32];    // tag 0x22
  char pppoePassword[32];   // tag 0x23
};

inline constexpr int kTableSlots = 255;

struct DeviceTable {
  DeviceRecord slots[kTableSlots];
};

// Sets every byte of all 255 records to zero: every slot becomes free.
void ZeroTable(DeviceTable& table);

// The table the replies are decoded into. It belongs to the dialog thread
// alone (the worker only hands datagrams over), so it needs no lock.
struct SearchState {
  DeviceTable table{};
};

}  // namespace lumora

// The note for the camera shown and the sheet "Copy list" puts on the
// clipboard, in the program's own process.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "net/adapters.h"
#include "tests/app/dialog_fixture.h"
#include "tests/support/reply_builder.h"
#include "ui/device_note.h"
#include "tests/support/ipv4.h"

namespace lumora {
namespace {

using test::Ip;

struct NoteCamera {
  int slot;
  const char* name;
  const char* ip;
  uint32_t adapter;
  std::vector<uint32_t> alsoFrom;  // other addresses its MAC answered from
};

struct NoteRow {
  const char* what;
  std::vector<NoteCamera> cameras;  // in list order; the first is the one shown
  std::string note;
};

const char kOutside[] =
    "Outside 10.88.0.0/24, the network it answered on: its page will not open until it has an address there.";
const char kTwinMac[] = "This MAC also answered from 10.88.0.7: Submit changes every camera that has it.";

TEST(DeviceNote, SaysWhatBitesTheCameraShown) {
  const NoteRow rows[] = {
      {"clean", {{254, "Lobby", "10.88.0.10", 1, {}}, {253, "Gate", "10.88.0.11", 1, {}}}, ""},
      {"outside", {{254, "Factory", "192.168.1.64", 1, {}}}, kOutside},
      {"adapter not known", {{254, "Factory", "192.168.1.64", 0, {}}}, ""},
      {"same IP, one other",
       {{254, "Lobby", "10.88.0.5", 1, {}}, {253, "Gate", "10.88.0.6", 1, {}}, {252, "Yard", "10.88.0.5", 1, {}}},
       "Same IP address as 253 Yard."},
      {"same IP, three others",
       {{254, "A", "10.88.0.5", 1, {}}, {253, "B", "10.88.0.5", 1, {}}, {252, "C", "10.88.0.5", 2, {}},
        {251, "D", "10.88.0.5", 1, {}}},
       "Same IP address as 254 B, 253 C."},
      {"MAC from two addresses", {{254, "Twin", "10.88.0.9", 1, {Ip(10, 88, 0, 7)}}}, kTwinMac},
      {"all three",
       {{254, "Factory", "192.168.1.64", 1, {Ip(10, 88, 0, 7)}}, {253, "Copy", "192.168.1.64", 2, {}}},
       std::string(kOutside) + "\r\nSame IP address as 254 Copy.\r\n" + kTwinMac},
  };
  for (const NoteRow& row : rows) {
    SCOPED_TRACE(row.what);
    static DeviceTable table;
    static SlotArrivals arrivals;
    static SlotAddresses seen;
    table = DeviceTable{};
    arrivals.fill(Arrival{});
    seen.fill(SeenAddresses{});
    ListedCameras listed;
    listed.table = &table;
    listed.arrivals = &arrivals;
    listed.seen = &seen;
    // The adapters the search went out of, as the worker describes a reply's.
    const std::vector<Adapter> searched = {
        {"Site", 1, true, AdapterKind::kBroadcast, {{Ip(10, 88, 0, 1), Ip(255, 255, 255, 0)}}, {}},
        {"Lab", 2, true, AdapterKind::kBroadcast, {{Ip(10, 77, 0, 1), Ip(255, 255, 255, 0)}}, {}}};
    for (const NoteCamera& c : row.cameras) {
      DeviceRecord& r = table.slots[c.slot];
      r.number = c.slot + 1;
      r.mac[5] = static_cast<uint8_t>(c.slot);
      std::snprintf(r.name, sizeof r.name, "%s", c.name);
      std::snprintf(r.ipText, sizeof r.ipText, "%s", c.ip);
      DescribeArrival(searched, c.adapter, RecordIp(r), 0, arrivals[c.slot]);
      for (uint32_t ip : c.alsoFrom) NoteSeenAddress(seen[c.slot], ip);
      NoteSeenAddress(seen[c.slot], RecordIp(r));
      listed.slots.push_back(c.slot);
      listed.entries.push_back(std::to_string(c.slot + 1) + " " + c.name);
    }
    EXPECT_EQ(DeviceNoteText(listed, row.cameras[0].slot), row.note);
  }
}

class CopyListTest : public test::DialogTest {
 protected:
  void SetUp() override { ASSERT_NE(Create(false), nullptr); }

  static std::wstring ClipboardText() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return L"(no clipboard)";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
      text = static_cast<const wchar_t*>(GlobalLock(data));
      GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
  }
};

TEST_F(CopyListTest, PutsEveryListedCameraOnTheClipboardAsASpreadsheetSafeSheet) {
  test::CameraFields formula;
  formula.mac = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x01};
  formula.name = "=1+1";
  formula.pppoeAccount = "@home";
  test::CameraFields tabbed;
  tabbed.mac = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x02};
  tabbed.name = "Gate\tWest";
  tabbed.version = "2.6";
  tabbed.ipAssign = {0xFF, 0xFF, 0x01, 0x01};
  test::CameraFields plain;
  plain.mac = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x03};
  plain.name = "Yard";
  plain.ip = {192, 168, 1, 11};
  plain.httpPort = 8080;
  plain.ipAssign = {0, 0, 0, 0};  // as a reply without the field leaves the record: no mode, not PPPoE
  Receive({FullReply(formula).bytes(), FullReply(tabbed).bytes(), FullReply(plain).bytes()});
  ASSERT_TRUE(OpenClipboard(dialog_) && EmptyClipboard() && CloseClipboard());

  Command(IDM_COPY_LIST, 0);
  EXPECT_EQ(ClipboardText(),
            L"mac\tname\tversion\tip\tmask\tgateway\thttp_port\taudio_port\tmode\tpppoe_account\tinterface\tsource\twarnings\r\n"
            L"00:1A:2B:3C:4D:01\t'=1+1\tV2.6.0\t192.168.1.10\t255.255.255.0\t192.168.1.1\t80\t8000\tstatic\t'@home\t\t\t"
            L"duplicate-ip\r\n"
            L"00:1A:2B:3C:4D:02\tGate?West\t'2.6\t192.168.1.10\t255.255.255.0\t192.168.1.1\t80\t8000\tdhcp\t\t\t\t"
            L"duplicate-ip\r\n"
            L"00:1A:2B:3C:4D:03\tYard\tV2.6.0\t192.168.1.11\t255.255.255.0\t192.168.1.1\t8080\t8000\t\t\t\t\t\r\n");
}

}  // namespace
}  // namespace lumora

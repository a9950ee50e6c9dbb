// lumora's pure parts: the scan's bookkeeping and
// warnings, the printed lines, the value checks, and the panel a change is
// composed from (checked through the request the dialog's composer makes of
// it).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "protocol/configuration_request.h"
#include "protocol/decimal_text.h"
#include "protocol/ipv4.h"
#include "protocol/mac_text.h"
#include "provisioning/match.h"
#include "provisioning/value_rules.h"
#include "provisioning/verify.h"
#include "tests/support/reply_builder.h"
#include "tools/lumora/camera_list.h"
#include "tools/lumora/camera_text.h"
#include "tools/lumora/code_page.h"
#include "tools/lumora/output.h"
#include "tools/lumora/set_row.h"
#include "tests/support/ipv4.h"

namespace lumora::cli {
namespace {

using test::ReplyBuilder;

using test::Ip;

OutputOptions Options(Format format, bool showSecrets = false) {
  OutputOptions options;
  options.format = format;
  options.showSecrets = showSecrets;
  return options;
}

Camera Decoded(const ReplyBuilder& reply) {
  Camera camera;
  EXPECT_TRUE(DecodeCamera(reply.bytes().data(), reply.size(), camera));
  return camera;
}

// A camera on 10.77.0.0/24 that answered on eth0 from 10.77.0.2:4000.
Camera LabCamera(uint8_t id, uint8_t ipLast, const std::string& name = "Cam") {
  test::CameraFields f;
  f.mac = {0x00, 0xAA, 0, 0, 0, id};
  f.name = name;
  f.ip = {10, 77, 0, ipLast};
  f.gateway = {10, 77, 0, 1};
  f.ipAssign = {0xFF, 0xFF, 0x01, 0x01};  // DHCP
  f.pppoeAccount = "acct";
  f.pppoePassword = "secret";
  Camera camera = Decoded(test::FullReply(f));
  camera.arrival = {0, "eth0", Ip(10, 77, 0, 1), Ip(255, 255, 255, 0), Ip(10, 77, 0, 2), 4000};
  return camera;
}

TEST(CameraList, KeysByMacAndIpAndWarnsAsTheEntriesArrive) {
  struct Step {
    uint8_t id, ipLast;
    bool offSubnet;
    int index;  // -1: a pair already listed, or no camera
    std::vector<std::string> warnings;
    bool fromPc = false;  // sent from the PC's own address
  };
  const Step steps[] = {
      {1, 11, false, 0, {}},
      {1, 11, false, -1, {}},                          // the same camera again
      {2, 12, false, 1, {}},
      {1, 21, false, 2, {kFindingDuplicateMac}},          // MAC 1 from a second IP
      {3, 12, false, 3, {kFindingDuplicateIp}},           // a second MAC on IP .12
      {4, 40, true, 4, {kFindingOffSubnet}},
      {5, 50, false, -1, {}, true},                    // the PC's own request, heard back
  };
  CameraList list({Ip(10, 77, 0, 1)});
  for (const Step& s : steps) {
    Camera camera = LabCamera(s.id, s.ipLast);
    if (s.offSubnet) camera.arrival.ip = Ip(10, 78, 0, 1);
    if (s.fromPc) camera.arrival.sourceIp = Ip(10, 77, 0, 1);
    int index = list.Add(camera);
    EXPECT_EQ(index, s.index) << int(s.id) << "/" << int(s.ipLast);
    if (index >= 0) {
      EXPECT_EQ(list.WarningsNow(index), s.warnings) << int(s.id) << "/" << int(s.ipLast);
    }
  }
  // Both members of each conflict carry the warning once the scan is over.
  EXPECT_EQ(list.WarningsNow(0), std::vector<std::string>{kFindingDuplicateMac});
  EXPECT_EQ(list.WarningsNow(1), std::vector<std::string>{kFindingDuplicateIp});
  EXPECT_EQ(list.FindMac("00AA00000001"), (std::vector<std::size_t>{0, 2}));
}

TEST(CameraList, KeepsAtMostItsBoundAndCountsWhatItTurnsAway) {
  CameraList list;
  Camera camera = LabCamera(0, 11);
  for (std::size_t i = 0; i < kMaxCameras + 10; ++i) {
    camera.record.mac[3] = static_cast<uint8_t>(i >> 16);
    camera.record.mac[4] = static_cast<uint8_t>(i >> 8);
    camera.record.mac[5] = static_cast<uint8_t>(i);
    list.Add(camera);
  }
  list.Add(LabCamera(0, 11));  // listed already: not turned away
  EXPECT_EQ(list.cameras().size(), kMaxCameras);
  EXPECT_EQ(list.ignored(), 10u);
}

TEST(Output, JsonLinesCarryTheKeysScriptsReadAndThePasswordOnlyOnRequest) {
  Camera camera = LabCamera(1, 11);
  nlohmann::json plain = nlohmann::json::parse(CameraLine(camera, {kFindingDuplicateIp}, Options(Format::kJson)));
  EXPECT_EQ(plain["mac"], "00AA00000001");
  EXPECT_EQ(plain["mode"], "dhcp");
  EXPECT_EQ(plain["http_port"], 80);
  EXPECT_EQ(plain["pppoe_account"], "acct");
  EXPECT_EQ(plain["interface"], "eth0");
  EXPECT_EQ(plain["source"], "10.77.0.2:4000");
  EXPECT_EQ(plain["warnings"], nlohmann::json::array({"duplicate-ip"}));
  EXPECT_FALSE(plain.contains("pppoe_password"));
  nlohmann::json secret = nlohmann::json::parse(CameraLine(camera, {}, Options(Format::kJson, true)));
  EXPECT_EQ(secret["pppoe_password"], "secret");
}

// A hostile or foreign name reads as the same characters in every format; the
// table and CSV carry no control character a terminal would act on.
TEST(Output, CameraTextsReadTheSameInEveryFormatAndNeverSteerATerminal) {
  struct Case {
    std::string name;  // the field's bytes, at most 16
    std::string text;  // what JSON carries
    std::string csv;   // the CSV cell
    std::string table;
  };
  const Case cases[] = {
      {"\x1b[2J\x1b]0;T\x07", "\x1b[2J\x1b]0;T\x07", "?[2J?]0;T?", "?[2J?]0;T?"},
      {"Bell\x07", "Bell\x07", "Bell?", "Bell?"},
      {"Line\nBreak", "Line\nBreak", "\"Line\nBreak\"", "Line?Break"},
      {"CR\rDEL\x7f", "CR\rDEL\x7f", "CR?DEL?", "CR?DEL?"},
      {"Hall, \"East\"", "Hall, \"East\"", "\"Hall, \"\"East\"\"\"", "Hall, \"East\""},
      {"Cam\xe9ra \xfc \x80", "Cam\xc3\xa9ra \xc3\xbc \xe2\x82\xac", "Cam\xc3\xa9ra \xc3\xbc \xe2\x82\xac",
       "Cam\xc3\xa9ra \xc3\xbc \xe2\x82\xac"},                                     // Windows-1252
      {"Entr\xc3\xa9" "e", "Entr\xc3\xa9" "e", "Entr\xc3\xa9" "e", "Entr\xc3\xa9" "e"},  // UTF-8
      {"A\xc2\x9b" "2J", "A\xc2\x9b" "2J", "A?2J", "A?2J"},                        // C1 CSI in UTF-8
      {"x\x81y", "x\xc2\x81y", "x?y", "x?y"},  // unassigned in Windows-1252: C1, as Windows reads it
      {"\xef\xbc\xa1\xef\xbc\xa2\xef\xbc\xa3\xef\xbc\xa4\xef\xbc\xa5" "1",  // full-width, all 16 bytes
       "\xef\xbc\xa1\xef\xbc\xa2\xef\xbc\xa3\xef\xbc\xa4\xef\xbc\xa5" "1",
       "\xef\xbc\xa1\xef\xbc\xa2\xef\xbc\xa3\xef\xbc\xa4\xef\xbc\xa5" "1",
       "\xef\xbc\xa1\xef\xbc\xa2\xef\xbc\xa3\xef\xbc\xa4\xef\xbc\xa5" "1"},
      {"SixteenCharsLong", "SixteenCharsLong", "SixteenCharsLong", "SixteenCharsLong"},
      // A spreadsheet would run the one and read the other as 123.
      {"=1+1", "=1+1", "'=1+1", "=1+1"},
      {"0123", "0123", "'0123", "0123"},
  };
  for (const Case& c : cases) {
    Camera camera = LabCamera(1, 11, c.name);
    nlohmann::json json = nlohmann::json::parse(CameraLine(camera, {}, Options(Format::kJson)));
    EXPECT_EQ(json["name"], c.text) << c.text;
    std::string csv = CameraLine(camera, {}, Options(Format::kCsv));
    EXPECT_EQ(csv.rfind("00:AA:00:00:00:01," + c.csv + ",V2.6.0,", 0), 0u) << csv;
    std::string table = CameraLine(camera, {}, Options(Format::kTable));
    EXPECT_EQ(table.rfind("00AA00000001  " + c.table, 0), 0u) << table;
    // The IP column starts where the header puts it, whatever the name's bytes.
    EXPECT_EQ(DisplayWidth(table.substr(0, table.find("10.77.0.11"))), 32u) << table;
    for (const std::string& line : {csv, table}) {
      for (std::size_t i = 0; i < line.size(); ++i) {
        unsigned char b = static_cast<unsigned char>(line[i]);
        bool c1 = b == 0xC2 && i + 1 < line.size() && static_cast<unsigned char>(line[i + 1]) <= 0x9F;
        EXPECT_FALSE((b < 0x20 && !(b == '\n' && line == csv)) || b == 0x7F || c1) << line;
      }
    }
  }
}

TEST(Output, ANamedCodePageReadsTextsThatAreNotUtf8) {
#ifdef _WIN32
  const char* gbk = "936";
  const char* unknown = "99999";
#else
  const char* gbk = "GBK";
  const char* unknown = "NO-SUCH-PAGE";
#endif
  OutputOptions options = Options(Format::kJson);
  std::string error;
  ASSERT_TRUE(OpenCodePage(gbk, options.readCodePage, error)) << error;
  nlohmann::json json = nlohmann::json::parse(CameraLine(LabCamera(1, 11, "\xd6\xd0\xce\xc4" "1"), {}, options));
  EXPECT_EQ(json["name"], "\xe4\xb8\xad\xe6\x96\x87" "1");
  CodePageReader none;
  EXPECT_FALSE(OpenCodePage(unknown, none, error));
}

TEST(Output, ModeIsNullWithoutTheIpAssignmentField) {
  Camera camera = Decoded(ReplyBuilder().Mac({0, 0xAA, 0, 0, 0, 1}).Ip(0x11, 10, 77, 0, 11));
  EXPECT_TRUE(nlohmann::json::parse(CameraLine(camera, {}, Options(Format::kJson)))["mode"].is_null());
}

TEST(Output, CsvHeaderNamesTheColumnsOfEveryRow) {
  for (bool secrets : {false, true}) {
    OutputOptions options = Options(Format::kCsv, secrets);
    std::string header = HeaderLine(options);
    std::string row = CameraLine(LabCamera(1, 11), {}, options);
    EXPECT_EQ(std::count(header.begin(), header.end(), ','), std::count(row.begin(), row.end(), ',')) << row;
    EXPECT_EQ(header.find("pppoe_password") != std::string::npos, secrets);
  }
}

TEST(Values, AddressesPortsAndMacsAreCheckedStrictly) {
  struct Case {
    const char* text;
    bool ip, port, mac;
  };
  const Case cases[] = {
      {"192.168.1.10", true, false, false},  {"0.0.0.0", true, false, false},
      {"255.255.255.255", true, false, false}, {"192.168.1.300", false, false, false},
      {"10.1", false, false, false},         {"10.0.0.1.", false, false, false},
      // inet_addr reads a leading 0 as octal: .010 would send .8, .09 FF FF FF FF.
      {"192.168.1.010", false, false, false}, {"192.168.1.09", false, false, false},
      {"192.168.001.008", false, false, false}, {"10.0.0.0", true, false, false},
      {"010", false, false, false},          {"0x50", false, false, false},
      {" 10.0.0.1", false, false, false},    {"0x0A.0.0.1", false, false, false},
      {"1", false, true, false},             {"65535", false, true, false},
      {"0", false, false, false},            {"65536", false, false, false},
      {"80a", false, false, false},          {"", false, false, false},
      {"-1", false, false, false},           {"001a2b3c4d01", false, false, true},
      {"001A2B3C4D0", false, false, false},  {"001A2B3C4D0G", false, false, false},
      {"00:1A:2B:3C:4D", false, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsDecimalIpv4(c.text), c.ip) << c.text;
    EXPECT_EQ(provisioning::TypedValueProblem(SettingId::kHttpPort, c.text).empty(), c.port) << c.text;
    EXPECT_EQ(provisioning::ReadMacDigits(c.text).has_value(), c.mac) << c.text;
  }
  EXPECT_EQ(provisioning::ReadMacDigits("001a2b3c4d0f"), "001A2B3C4D0F");
}

TEST(Values, TimesAreDecimalSecondsWithinTheirRange) {
  struct Case {
    const char* text;
    bool good;
    double seconds;
  };
  const Case cases[] = {
      {"2", true, 2.0},   {"0.5", true, 0.5}, {"3600", true, 3600.0}, {"nan", false, 0},  {"inf", false, 0},
      {"1e3", false, 0},  {"0x1p3", false, 0}, {"-1", false, 0},      {"", false, 0},     {".", false, 0},
      {"3600.5", false, 0}, {"2.", false, 0},
  };
  for (const Case& c : cases) {
    double seconds = -1;
    EXPECT_EQ(ReadDecimalFraction(c.text, 0.0, 3600.0, seconds), c.good) << c.text;
    if (c.good) {
      EXPECT_EQ(seconds, c.seconds) << c.text;
    }
  }
}

TEST(Values, ABadValueIsNamedByItsOption) {
  struct Case {
    provisioning::PlanRow change;
    const char* option;
  };
  auto with = [](SettingId id, const std::string& value) {
    provisioning::PlanRow c;
    c[id] = value;
    return c;
  };
  const Case cases[] = {
      {with(SettingId::kIp, "1.2.3"), "--ip: "},
      {with(SettingId::kMask, "255.255.255.256"), "--mask: "},
      {with(SettingId::kGateway, "gw"), "--gateway: "},
      {with(SettingId::kHttpPort, "0"), "--http-port: "},
      {with(SettingId::kAudioPort, "70000"), "--audio-port: "},
      {with(SettingId::kName, "SeventeenCharsNam"), "--name: "},
      {with(SettingId::kPppoeAccount, std::string(33, 'a')), "--pppoe-account: "},
      {with(SettingId::kMode, "bootp"), "--mode: "},
      {with(SettingId::kMac, "12345"), "--new-mac: "},
  };
  for (Case c : cases) {
    std::string message = CheckSetRow(c.change);
    EXPECT_EQ(message.rfind(c.option, 0), 0u) << message;
  }
  provisioning::PlanRow secret = with(SettingId::kPppoePassword, std::string(33, 's'));
  EXPECT_EQ(CheckSetRow(secret).find("sss"), std::string::npos);  // never echoed
  provisioning::PlanRow good = with(SettingId::kMac, "00aa0000b001");
  good[SettingId::kName] = "SixteenCharsLong";
  EXPECT_EQ(CheckSetRow(good), "");
  EXPECT_EQ(good[SettingId::kMac], "00AA0000B001");
}

// The fields of the request `set` sends, behind the magic; none when the
// camera already shows the values and nothing is sent.
std::vector<uint8_t> RequestFor(const DeviceRecord& record, provisioning::PlanRow change) {
  provisioning::FoundCamera camera;
  camera.record = record;
  camera.carriesIpAssign = true;
  provisioning::Plan plan;
  change.mac = provisioning::MacOf(record.mac);
  plan.rows.push_back(change);
  std::vector<provisioning::PlanProblem> conflicts;
  const provisioning::Step step = provisioning::MatchPlan(plan, {camera}, conflicts).front();
  return std::vector<uint8_t>(step.frame.bytes + (step.frame.cursor ? kMagicSize : 0),
                              step.frame.bytes + step.frame.cursor);
}

TEST(SetRow, AChangedCameraGetsItsModeBackByTheRadioRule) {
  struct Case {
    uint8_t assign[4];
    uint8_t flags[4];
  };
  const Case cases[] = {
      {{0xFF, 0xFF, 0xFF, 0xFF}, {0xFF, 0xFF, 0xFF, 0xFF}},
      {{0xFF, 0xFF, 0x01, 0x01}, {0xFF, 0xFF, 0x01, 0xFF}},
      {{0x01, 0x01, 0xFF, 0xFF}, {0x01, 0xFF, 0xFF, 0xFF}},
      {{0x01, 0xFF, 0x01, 0x01}, {0x01, 0xFF, 0xFF, 0xFF}},  // the radio rule, not the text rule
  };
  for (const Case& c : cases) {
    // Texts filling their whole fields must still compare as unchanged.
    Camera camera = Decoded(ReplyBuilder()
                                .Mac({0, 0xAA, 0, 0, 0, 1})
                                .Name("SixteenCharsLong")
                                .Ip(0x11, 10, 77, 0, 11)
                                .Port(0x14, 8080)
                                .Field(0x1F, {c.assign[0], c.assign[1], c.assign[2], c.assign[3]})
                                .Text(0x22, std::string(32, 'a'), 32)
                                .Text(0x23, std::string(32, 'p'), 32));
    provisioning::PlanRow change;
    change[SettingId::kHttpPort] = "80";
    std::vector<uint8_t> expected = {0x10, 6, 0, 0xAA, 0, 0, 0, 1, 0x14, 5, '8', '0', 0, 0, 0, 0x1F, 4};
    expected.insert(expected.end(), c.flags, c.flags + 4);
    EXPECT_EQ(RequestFor(camera.record, change), expected) << int(c.assign[0]) << " " << int(c.assign[2]);
  }
}

TEST(SetRow, EachGivenValueIsSentAsTheOperatorWouldTypeIt) {
  const DeviceRecord record = LabCamera(1, 11).record;  // DHCP, http 80, audio 8000
  auto with = [](SettingId id, const std::string& value) {
    provisioning::PlanRow c;
    c[id] = value;
    return c;
  };
  const std::vector<uint8_t> mac = {0x10, 6, 0, 0xAA, 0, 0, 0, 1};
  const std::vector<uint8_t> dhcp = {0x1F, 4, 0xFF, 0xFF, 0x01, 0xFF};
  struct Case {
    provisioning::PlanRow change;
    std::vector<uint8_t> middle;  // between the target MAC and the flags
    std::vector<uint8_t> flags;
  };
  const Case cases[] = {
      {with(SettingId::kIp, "10.77.0.99"), {0x11, 4, 10, 77, 0, 99}, dhcp},
      {with(SettingId::kIp, "10.77.0.11"), {}, {}},  // what it has already: nothing is sent
      {with(SettingId::kHttpPort, "8080"), {0x14, 5, '8', '0', '8', '0', 0}, dhcp},
      {with(SettingId::kHttpPort, "80"), {}, {}},
      {with(SettingId::kName, "Gate"), {0x20, 16, 'G', 'a', 't', 'e', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, dhcp},
      {with(SettingId::kMac, "00AA00000002"), {0x10, 6, 0, 0xAA, 0, 0, 0, 2}, dhcp},
      {with(SettingId::kMac, "00AA00000001"), {}, {}},
      {with(SettingId::kMode, "static"), {}, {0x1F, 4, 0xFF, 0xFF, 0xFF, 0xFF}},
      {with(SettingId::kMode, "pppoe"), {}, {0x1F, 4, 0x01, 0xFF, 0xFF, 0xFF}},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> expected = c.flags.empty() ? std::vector<uint8_t>{} : mac;
    expected.insert(expected.end(), c.middle.begin(), c.middle.end());
    expected.insert(expected.end(), c.flags.begin(), c.flags.end());
    EXPECT_EQ(RequestFor(record, c.change), expected);
  }
}

TEST(SetRow, VerificationNamesTheFirstValueTheCameraDoesNotShow) {
  provisioning::FoundCamera camera;
  camera.record = LabCamera(1, 11).record;
  camera.carriesIpAssign = true;
  provisioning::PlanRow change;
  change[SettingId::kIp] = "10.77.0.11";
  change[SettingId::kMode] = "dhcp";
  change.mac = provisioning::MacOf(camera.record.mac);
  EXPECT_EQ(provisioning::PlanMismatch(change, camera), "");
  change[SettingId::kHttpPort] = "8080";
  EXPECT_EQ(provisioning::PlanMismatch(change, camera).rfind("http_port", 0), 0u);
  change[SettingId::kHttpPort].reset();
  change[SettingId::kPppoePassword] = "other";
  EXPECT_EQ(provisioning::PlanMismatch(change, camera), "pppoe_password differs");  // never echoed
}

}  // namespace
}  // namespace lumora::cli

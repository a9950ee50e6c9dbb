// The Wireshark dissector (tools/wireshark/lumora.lua) as field engineers
// run it: tshark over a capture. The capture is written here from datagrams
// built byte by byte, so nothing touches a network.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/dissector/pcap_writer.h"
#include "tests/support/reply_builder.h"

namespace lumora::test {
namespace {

constexpr uint32_t kPc = 0x0A000001;         // 10.0.0.1
constexpr uint32_t kCamera = 0x0A000002;     // 10.0.0.2
constexpr uint32_t kBroadcast = 0xFFFFFFFF;  // 255.255.255.255

// The fields each packet is asked for, in the order of tshark's columns.
const char* const kFields[] = {
    "frame.number",       "_ws.col.Protocol",    "lumora.kind",       "lumora.tag",         "lumora.length",
    "lumora.mac",         "lumora.new_mac",      "lumora.ip",         "lumora.mask",        "lumora.gateway",
    "lumora.http_port",   "lumora.audio_port",   "lumora.ip_assign",  "lumora.name",        "lumora.version",
    "lumora.pppoe_account", "lumora.pppoe_password", "_ws.expert.message",
};

std::vector<uint8_t> Zeros(std::size_t n) { return std::vector<uint8_t>(n, 0); }

std::vector<uint8_t> Padded(std::vector<uint8_t> bytes, std::size_t size) {
  bytes.resize(size, 0);
  return bytes;
}

// Every request is a 256-byte frame.
std::vector<uint8_t> SearchRequest() {
  ReplyBuilder b;
  const std::pair<uint8_t, std::size_t> kTemplate[] = {{0x20, 16}, {0x10, 6}, {0x21, 16}, {0x11, 4},
                                                       {0x12, 4},  {0x13, 4}, {0x14, 5},  {0x15, 5},
                                                       {0x1F, 4},  {0x22, 32}, {0x23, 32}};
  for (const auto& [tag, width] : kTemplate) b.Field(tag, Zeros(width));
  return Padded(b.bytes(), 256);
}

std::vector<uint8_t> FullReply() {
  return ReplyBuilder()
      .Name("Caf\xE9 cam")  // Windows-1252, as the camera's PC wrote it
      .Mac({0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E})
      .Text(0x21, "V2.1.7-build.123", 16)  // fills its field: no terminator
      .Ip(0x11, 192, 168, 1, 10)
      .Ip(0x12, 255, 255, 255, 0)
      .Ip(0x13, 192, 168, 1, 1)
      .Field(0x14, {0x90, 0x1F, 0x00, 0x00, 0x00})  // 8080, little-endian, in a 5-byte value
      .Port(0x15, 5000)                                // a 2-byte value
      .Field(0x1F, {0xFF, 0xFF, 0x01, 0x01})           // DHCP
      .Field(0x30, {0xAA, 0xBB, 0xCC})                 // a tag of a newer camera: skipped
      .Text(0x22, "pppoe-user", 32)
      .Text(0x23, "s3cret", 32)
      .bytes();
}

std::vector<uint8_t> ConfigurationRequest() {
  ReplyBuilder b;
  b.Mac({0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E})  // the camera meant
      .Mac({0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x99})  // its new MAC
      .Name("Lobby")
      .Ip(0x11, 192, 168, 1, 20)
      .Field(0x14, {'8', '0', '8', '0', 0})  // ports go out as decimal text
      .Field(0x15, {'1', '5', '0', '0', '0'})
      .Field(0x1F, {0x01, 0xFF, 0xFF, 0xFF});  // PPPoE
  return Padded(b.bytes(), 256);
}

struct Packet {
  const char* what;
  UdpDatagram datagram;
};

// Frame numbers are positions in this list, from 1.
std::vector<Packet> Capture() {
  return {
      {"search", {kPc, 3566, kBroadcast, 4000, SearchRequest()}},
      {"full reply", {kCamera, 4000, kBroadcast, 3566, FullReply()}},
      {"configuration", {kPc, 3566, kBroadcast, 4000, ConfigurationRequest()}},
      {"truncated reply",
       {kCamera, 4000, kBroadcast, 3566,
        ReplyBuilder().Mac({0, 1, 2, 3, 4, 5}).FieldWithLength(0x20, 16, {'C', 'a', 'm'}).bytes()}},
      {"no magic", {kCamera, 4000, kBroadcast, 3566, {'H', 'E', 'L', 'L', 'O', 0x10, 0x06}}},
      {"length not fitting",
       {kCamera, 4000, kBroadcast, 3566, ReplyBuilder().Field(0x11, {192, 168, 1, 10, 0}).Name("After").bytes()}},
      {"tag without length", {kCamera, 4000, kBroadcast, 3566, ReplyBuilder().Mac({0, 1, 2, 3, 4, 5}).Raw({0x20}).bytes()}},
      {"other ports, by the magic", {kPc, 7000, 0x0A000007, 7001, ConfigurationRequest()}},
      {"other ports, no magic", {kPc, 7000, 0x0A000007, 7001, {'K', 'V', '2', '8', '1', 0, 0}}},
      {"port text not a number",
       {kPc, 3566, kBroadcast, 4000, Padded(ReplyBuilder().Mac({0, 1, 2, 3, 4, 5}).Field(0x14, {'8', 'x', 0, 0, 0}).bytes(), 256)}},
  };
}

using Row = std::map<std::string, std::string>;

std::vector<std::string> Split(const std::string& line, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(line);
  while (std::getline(in, part, separator)) parts.push_back(part);
  if (!line.empty() && line.back() == separator) parts.emplace_back();
  return parts;
}

class DissectorTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::vector<UdpDatagram> datagrams;
    for (const Packet& p : Capture()) datagrams.push_back(p.datagram);
    ASSERT_TRUE(WritePcap(LUMORA_CAPTURE, datagrams));

    std::string command = std::string("tshark -n -X lua_script:") + LUMORA_DISSECTOR + " -r " + LUMORA_CAPTURE +
                          " -T fields -E separator=/t -E occurrence=a -E 'aggregator=|'";
    for (const char* field : kFields) command += std::string(" -e ") + field;
    command += std::string(" 2>") + LUMORA_CAPTURE + ".stderr";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    std::array<char, 4096> buffer;
    while (std::size_t n = fread(buffer.data(), 1, buffer.size(), pipe)) output.append(buffer.data(), n);
    status_ = pclose(pipe);
    std::ifstream err(std::string(LUMORA_CAPTURE) + ".stderr");
    stderr_.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());

    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
      std::vector<std::string> columns = Split(line, '\t');
      Row row;
      for (std::size_t i = 0; i < std::size(kFields) && i < columns.size(); ++i) row[kFields[i]] = columns[i];
      rows_.push_back(row);
    }
  }

  // The row of frame `number` (from 1), or an empty one.
  static Row Frame(std::size_t number) { return number >= 1 && number <= rows_.size() ? rows_[number - 1] : Row{}; }

  static int status_;
  static std::string stderr_;
  static std::vector<Row> rows_;
};

int DissectorTest::status_ = -1;
std::string DissectorTest::stderr_;
std::vector<Row> DissectorTest::rows_;

TEST_F(DissectorTest, TsharkLoadsTheScriptAndReadsEveryFrame) {
  EXPECT_EQ(status_, 0) << stderr_;
  EXPECT_EQ(stderr_.find("Lua"), std::string::npos) << stderr_;
  EXPECT_EQ(rows_.size(), Capture().size());
}

TEST_F(DissectorTest, NamesTheKindByDirectionAndValues) {
  struct Case {
    std::size_t frame;
    const char* protocol;
    const char* kind;
  };
  const Case kCases[] = {
      {1, "LUMORA", "search"},         {2, "LUMORA", "reply"},         {3, "LUMORA", "configuration"},
      {4, "LUMORA", "reply"},          {5, "LUMORA", ""},              {8, "LUMORA", "configuration"},
      {9, "UDP", ""},  // no magic on ports that are not ours: left alone
  };
  for (const Case& c : kCases) {
    Row row = Frame(c.frame);
    EXPECT_EQ(row["_ws.col.Protocol"], c.protocol) << "frame " << c.frame;
    EXPECT_EQ(row["lumora.kind"], c.kind) << "frame " << c.frame;
  }
}

TEST_F(DissectorTest, ShowsTheSearchRequestsFieldsInTemplateOrder) {
  Row row = Frame(1);
  EXPECT_EQ(row["lumora.tag"], "0x20|0x10|0x21|0x11|0x12|0x13|0x14|0x15|0x1f|0x22|0x23");
  EXPECT_EQ(row["lumora.length"], "16|6|16|4|4|4|5|5|4|32|32");
  EXPECT_EQ(row["lumora.ip_assign"], "not set");
  EXPECT_EQ(row["_ws.expert.message"], "");
}

// Each value as decoded, and the fields of each packet, in one table.
TEST_F(DissectorTest, DecodesTheValuesOfRepliesAndConfigurationRequests) {
  struct Case {
    std::size_t frame;
    const char* field;
    const char* value;
  };
  const Case kCases[] = {
      {2, "lumora.mac", "00:1a:2b:3c:4d:5e"},
      {2, "lumora.new_mac", ""},
      {2, "lumora.ip", "192.168.1.10"},
      {2, "lumora.mask", "255.255.255.0"},
      {2, "lumora.gateway", "192.168.1.1"},
      {2, "lumora.http_port", "8080"},  // binary, little-endian, in a reply
      {2, "lumora.audio_port", "5000"},
      {2, "lumora.ip_assign", "DHCP"},
      {2, "lumora.name", "Caf\xC3\xA9 cam"},  // shown as UTF-8
      {2, "lumora.version", "V2.1.7-build.123"},
      {2, "lumora.pppoe_account", "pppoe-user"},
      {2, "lumora.pppoe_password", "s3cret"},
      {2, "lumora.tag", "0x20|0x10|0x21|0x11|0x12|0x13|0x14|0x15|0x1f|0x30|0x22|0x23"},
      {2, "lumora.length", "16|6|16|4|4|4|5|2|4|3|32|32"},
      {2, "_ws.expert.message", "Unknown tag, skipped by its length"},
      {3, "lumora.mac", "00:1a:2b:3c:4d:5e"},
      {3, "lumora.new_mac", "00:1a:2b:3c:4d:99"},
      {3, "lumora.name", "Lobby"},
      {3, "lumora.ip", "192.168.1.20"},
      {3, "lumora.http_port", "8080"},  // decimal text in a request
      {3, "lumora.audio_port", "15000"},
      {3, "lumora.ip_assign", "PPPoE"},
      {3, "_ws.expert.message", ""},
      {8, "lumora.new_mac", "00:1a:2b:3c:4d:99"},
  };
  for (const Case& c : kCases) EXPECT_EQ(Frame(c.frame)[c.field], c.value) << "frame " << c.frame << " " << c.field;
}

TEST_F(DissectorTest, FlagsMalformedDatagrams) {
  struct Case {
    std::size_t frame;
    const char* expert;
  };
  const Case kCases[] = {
      {4, "Length 16 runs past the end of the datagram: 3 value bytes received"},
      {5, "No KV280 magic: not a Lumora Search datagram"},
      {6, "Length 5 does not fit tag 0x11 (IP address: 4)"},
      {7, "The datagram ends after the tag byte: no length"},
      {10, "Port text \"8x\" is not a number from 0 to 65535"},
  };
  for (const Case& c : kCases) EXPECT_EQ(Frame(c.frame)["_ws.expert.message"], c.expert) << "frame " << c.frame;
}

TEST_F(DissectorTest, KeepsWhatPrecedesAndFollowsABadField) {
  EXPECT_EQ(Frame(4)["lumora.mac"], "00:01:02:03:04:05");  // before the field that runs past the end
  EXPECT_EQ(Frame(4)["lumora.name"], "");
  EXPECT_EQ(Frame(6)["lumora.ip"], "");  // a length that does not fit is not decoded...
  EXPECT_EQ(Frame(6)["lumora.name"], "After");  // ...but the walk goes on by it
}

}  // namespace
}  // namespace lumora::test

int main(int argc, char** argv) {
  if (std::system("tshark --version >/dev/null 2>&1") != 0) {
    std::puts("dissector_tests: tshark is not installed (scripts/install-deps.sh installs it): skipped");
    return 77;
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

// The command line: what each accepted one sets, which ones are refused
// (naming the option at fault), and when help is given. The rows were taken
// from what camsim did before its options were declared with CLI11, so a row
// that changes is a change the lab scripts and the demo could trip on.
#include "tools/camsim/options.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace camsim {
namespace {

// --config files served from memory.
FileReader Files(std::map<std::string, std::string> files) {
  return [files](const std::string& path, std::string& contents, std::string& error) {
    auto found = files.find(path);
    if (found == files.end()) {
      error = "cannot open the file";
      return false;
    }
    contents = found->second;
    return true;
  };
}

OptionsOutcome Parse(const std::vector<std::string>& args, CamsimOptions& options,
                     std::string& message) {
  std::string many;
  for (int i = 0; i < 1000; ++i) many += "audio=8000\n";
  return ParseOptions(args,
                      Files({{"cams.txt", "name=FromFile\n# x\nhttp=81\n"},
                             {"bad.txt", "\nip=1.2.3\n"},
                             {"comments.txt", "# none\n"},
                             {"many.txt", many}}),
                      options, message);
}

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream in(line);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// What differs from a bare `camsim`, as words; a camera shows the keys that
// differ from the defaults of its number, so the numbering is checked too.
std::string ChangedSettings(const CamsimOptions& o) {
  const CamsimOptions d;
  std::ostringstream s;
  auto put = [&s](const char* name, auto value, auto fallback) {
    if (value != fallback) s << ' ' << name << '=' << value;
  };
  put("port", o.port, d.port);
  put("reply", o.replyPort, d.replyPort);
  put("source", o.sourcePort, d.sourcePort);
  put("control", o.controlPort, d.controlPort);
  put("delay", o.delayMs, d.delayMs);
  put("drop", o.dropSearchesPercent, d.dropSearchesPercent);
  put("ignore", o.ignoreConfigPercent, d.ignoreConfigPercent);
  put("silent", o.silentAfterChangeMs, d.silentAfterChangeMs);
  put("pattern", o.dropPattern, d.dropPattern);
  put("log", o.logPath, d.logPath);
  put("flood", o.floodSeconds, d.floodSeconds);
  put("distinct", o.floodDistinct, d.floodDistinct);
  put("max", o.maxSeconds, d.maxSeconds);
  put("once", o.once, d.once);
  put("host", o.allowHostNetwork, d.allowHostNetwork);
  for (const SendRequest& send : o.sends) {
    if (send.kind == SendRequest::Kind::kSized) s << " size:" << send.size;
    if (send.kind == SendRequest::Kind::kCrafted)
      s << " crafted:" << static_cast<int>(send.crafted);
    if (send.kind == SendRequest::Kind::kHex) {
      s << " hex:" << std::hex;
      for (uint8_t byte : send.bytes) s << byte / 16 << byte % 16;
      s << std::dec;
    }
  }
  put("cameras", o.cameras.size(), std::size_t{1});
  for (std::size_t i = 0; i < o.cameras.size(); ++i) {
    std::vector<std::string> mine = Words(FormatCamera(o.cameras[i], ' '));
    std::vector<std::string> plain = Words(FormatCamera(DefaultCamera(i + 1), ' '));
    for (std::size_t k = 0; k < mine.size(); ++k) {
      if (mine[k] != plain[k]) s << " #" << i + 1 << ':' << mine[k];
    }
  }
  return s.str().empty() ? "" : s.str().substr(1);
}

void PrintTo(const std::vector<std::string>& args, std::ostream* out) {
  for (const std::string& arg : args) *out << " '" << arg << "'";
}

struct AcceptedCase {
  std::vector<std::string> args;
  const char* settings;  // ChangedSettings of the result
};

void PrintTo(const AcceptedCase& row, std::ostream* out) { PrintTo(row.args, out); }

class Accepted : public testing::TestWithParam<AcceptedCase> {};

TEST_P(Accepted, GivesTheSettings) {
  CamsimOptions options;
  std::string message;
  ASSERT_EQ(Parse(GetParam().args, options, message), OptionsOutcome::kRun) << message;
  EXPECT_EQ(ChangedSettings(options), GetParam().settings);
}

INSTANTIATE_TEST_SUITE_P(
    Args, Accepted,
    testing::Values(
        AcceptedCase{{}, ""}, AcceptedCase{{"--port", "1"}, "port=1"},
        AcceptedCase{{"--port", "65535"}, "port=65535"}, AcceptedCase{{"--port=00080"}, "port=80"},
        AcceptedCase{{"--port", "5", "--port", "6"}, "port=6"},
        AcceptedCase{{"--reply-port", "65535"}, "reply=65535"},
        AcceptedCase{{"--source-port", "65535"}, "source=65535"},
        AcceptedCase{{"--source-port", "4000"}, "source=4000"},
        AcceptedCase{{"--port", "5000", "--source-port", "5000"}, "port=5000 source=5000"},
        AcceptedCase{{"--port", "3566", "--reply-port", "4000"}, "port=3566 reply=4000"},
        AcceptedCase{{"--control", "65535"}, "control=65535"},
        AcceptedCase{{"--delay-ms", "0"}, ""}, AcceptedCase{{"--delay-ms", "60000"}, "delay=60000"},
        AcceptedCase{{"--drop-searches", "0"}, ""},
        AcceptedCase{{"--drop-searches", "100"}, "drop=100"},
        AcceptedCase{{"--ignore-config", "100", "--silent-after-change", "60000"}, "ignore=100 silent=60000"},
        AcceptedCase{{"--drop-pattern", "4294967295"}, "pattern=4294967295"},
        // The old name, which scripts written for it still give.
        AcceptedCase{{"--seed", "0"}, "pattern=0"},
        AcceptedCase{{"--flood-seconds", "1"}, "flood=1"},
        AcceptedCase{{"--flood-seconds", "60"}, "flood=60"},
        AcceptedCase{{"--flood-distinct", "16777216"}, "distinct=16777216"},
        AcceptedCase{{"--max-seconds", "1"}, "max=1"},
        AcceptedCase{{"--max-seconds", "31536000"}, "max=31536000"},
        AcceptedCase{{"--log", "x.log"}, "log=x.log"}, AcceptedCase{{"--log=a=b"}, "log=a=b"},
        AcceptedCase{{"--log", "--help"}, "log=--help"},
        AcceptedCase{{"--send-hex", "4b 56"}, "hex:4b56"},
        AcceptedCase{{"--send-hex", " 4B\t5632\n"}, "hex:4b5632"},
        AcceptedCase{{"--send-crafted", "no-magic"}, "crafted:0"},
        AcceptedCase{{"--send-crafted", "unknown-tags"}, "crafted:1"},
        AcceptedCase{{"--send-crafted", "tag0"}, "crafted:2"},
        AcceptedCase{{"--send-crafted", "oversize"}, "crafted:3"},
        AcceptedCase{{"--send-crafted", "empty"}, "crafted:4"},
        AcceptedCase{{"--send-size", "0"}, "size:0"},
        AcceptedCase{{"--send-size", "65000"}, "size:65000"},
        // Sends keep the command line's order.
        AcceptedCase{{"--send-size", "3", "--send-hex", "4b 56", "--send-crafted", "oversize",
                      "--send-size", "1"},
                     "size:3 hex:4b56 crafted:3 size:1"},
        AcceptedCase{{"--once"}, "once=1"}, AcceptedCase{{"--once", "--once"}, "once=1"},
        AcceptedCase{{"--allow-host-network"}, "host=1"}, AcceptedCase{{"--burst", "1"}, ""},
        AcceptedCase{{"--burst", "1000"}, "cameras=1000"},
        AcceptedCase{{"--burst", "600", "--burst", "400"}, "cameras=1000"},
        AcceptedCase{{"--burst", "999", "--camera", "name=Last"}, "cameras=1000 #1000:name=Last"},
        AcceptedCase{{"--camera", ""}, ""}, AcceptedCase{{"--camera="}, ""},
        AcceptedCase{{"--camera=", "--once"}, "once=1"},
        AcceptedCase{{"--camera=http=99"}, "#1:http=99"},
        AcceptedCase{{"--camera", "name=A,mac=00AA0000A001,ip=10.77.0.11"},
                     "#1:mac=00AA0000A001 #1:name=A #1:ip=10.77.0.11"},
        // Cameras are numbered in the command line's order, whatever adds them.
        AcceptedCase{
            {"--camera", "name=First", "--burst", "2", "--config=cams.txt", "--camera=http=99"},
            "cameras=6 #1:name=First #4:name=FromFile #5:http=81 #6:http=99"},
        AcceptedCase{{"--burst", "3", "--config", "cams.txt", "--burst", "995"},
                     "cameras=1000 #4:name=FromFile #5:http=81"},
        AcceptedCase{{"--config", "cams.txt"}, "cameras=2 #1:name=FromFile #2:http=81"},
        AcceptedCase{{"--config", "comments.txt"}, ""},
        AcceptedCase{{"--config", "many.txt"}, "cameras=1000"},
        // What the lab scripts start camsim with.
        AcceptedCase{{"--control", "4999", "--max-seconds", "3600", "--source-port", "4100",
                      "--camera", "name=B1,mac=00AA0000B001,ip=10.78.0.11,gateway=10.78.0.1"},
                     "source=4100 control=4999 max=3600 #1:mac=00AA0000B001 #1:name=B1 "
                     "#1:ip=10.78.0.11 #1:gateway=10.78.0.1"},
        AcceptedCase{{"--control", "4999", "--max-seconds", "3600", "--drop-searches", "30",
                      "--drop-pattern", "5", "--burst", "3"},
                     "control=4999 drop=30 pattern=5 max=3600 cameras=3"}));

struct RefusedCase {
  std::vector<std::string> args;
  const char* names;  // what the message must name
};

void PrintTo(const RefusedCase& row, std::ostream* out) { PrintTo(row.args, out); }

class Refused : public testing::TestWithParam<RefusedCase> {};

TEST_P(Refused, NamingTheOptionAtFault) {
  CamsimOptions options;
  std::string message;
  EXPECT_EQ(Parse(GetParam().args, options, message), OptionsOutcome::kError);
  EXPECT_NE(message.find(GetParam().names), std::string::npos) << message;
}

INSTANTIATE_TEST_SUITE_P(
    Args, Refused,
    testing::Values(
        // Whole numbers are digits only, within their range.
        RefusedCase{{"--port", "0"}, "--port"}, RefusedCase{{"--port", "65536"}, "--port"},
        RefusedCase{{"--port", "-1"}, "--port"}, RefusedCase{{"--port", "+5"}, "--port"},
        RefusedCase{{"--port", "0x10"}, "--port"}, RefusedCase{{"--port", " 5"}, "--port"},
        RefusedCase{{"--port", "5 "}, "--port"}, RefusedCase{{"--port", ""}, "--port"},
        RefusedCase{{"--port", "1e3"}, "--port"}, RefusedCase{{"--port", "5.0"}, "--port"},
        RefusedCase{{"--port", "99999999999999999999999"}, "--port"},
        RefusedCase{{"--port"}, "--port"}, RefusedCase{{"--port="}, "--port"},
        RefusedCase{{"--port=", "5"}, "--port"}, RefusedCase{{"--log=", "x"}, "--log"},
        RefusedCase{{"--port", "--help"}, "--port"},
        RefusedCase{{"--reply-port=x"}, "--reply-port"},
        RefusedCase{{"--source-port", "65536"}, "--source-port"},
        RefusedCase{{"--control", "65536"}, "--control"},
        RefusedCase{{"--delay-ms", "60001"}, "--delay-ms"},
        RefusedCase{{"--delay-ms", "-0"}, "--delay-ms"},
        RefusedCase{{"--drop-searches", "101"}, "--drop-searches"},
        RefusedCase{{"--drop-pattern", "4294967296"}, "--drop-pattern"},
        RefusedCase{{"--drop-pattern", "-1"}, "--drop-pattern"},
        RefusedCase{{"--flood-seconds", "0"}, "--flood-seconds"},
        RefusedCase{{"--flood-seconds", "61"}, "--flood-seconds"},
        RefusedCase{{"--flood-distinct", "0"}, "--flood-distinct"},
        RefusedCase{{"--flood-distinct", "16777217"}, "--flood-distinct"},
        RefusedCase{{"--max-seconds", "0"}, "--max-seconds"},
        RefusedCase{{"--max-seconds", "31536001"}, "--max-seconds"},
        RefusedCase{{"--log", ""}, "--log"}, RefusedCase{{"--log="}, "--log"},
        RefusedCase{{"--log"}, "--log"}, RefusedCase{{"--send-hex", "4b5"}, "--send-hex"},
        RefusedCase{{"--send-hex", ""}, "--send-hex"},
        RefusedCase{{"--send-hex", "  "}, "--send-hex"},
        RefusedCase{{"--send-hex", "zz"}, "--send-hex"},
        RefusedCase{{"--send-hex", "0x4b"}, "--send-hex"},
        RefusedCase{{"--send-crafted", "huge"}, "--send-crafted"},
        RefusedCase{{"--send-crafted", "Empty"}, "--send-crafted"},
        RefusedCase{{"--send-crafted", ""}, "--send-crafted"},
        RefusedCase{{"--send-size", "65001"}, "--send-size"},
        // At most 1000 cameras, however they are added.
        RefusedCase{{"--burst", "0"}, "--burst"}, RefusedCase{{"--burst", "1001"}, "--burst"},
        RefusedCase{{"--burst", "600", "--burst", "401"}, "--burst"},
        RefusedCase{{"--burst", "1000", "--camera", ""}, "--camera"},
        RefusedCase{{"--camera", "", "--config", "many.txt"}, "--config"},
        // The KEYS syntax: the message names the key.
        RefusedCase{{"--camera", "mac=xyz"}, "'mac'"},
        RefusedCase{{"--camera", "colour=red"}, "'colour'"},
        RefusedCase{{"--camera", "http=80,http=81"}, "'http'"},
        RefusedCase{{"--camera"}, "--camera"}, RefusedCase{{"--camera", "--help"}, "--camera"},
        RefusedCase{{"--config", "missing.txt"}, "missing.txt"},
        RefusedCase{{"--config", "bad.txt"}, "line 2"},
        // Words that are no option of camsim's.
        RefusedCase{{"--verbose"}, "--verbose"}, RefusedCase{{"stray"}, "stray"},
        RefusedCase{{"-"}, "-"}, RefusedCase{{""}, ""}, RefusedCase{{"-x"}, "-x"},
        RefusedCase{{"-p", "5"}, "-p"}, RefusedCase{{"--PORT", "5"}, "--PORT"},
        RefusedCase{{"-port", "5"}, "-port"}, RefusedCase{{"--port", "5", "6"}, "6"},
        RefusedCase{{"/port", "5"}, "/port"}, RefusedCase{{"--once", "x"}, "x"},
        RefusedCase{{"--"}, "--"}, RefusedCase{{"-hx"}, "-hx"},
        RefusedCase{{"--help=1"}, "--help=1"}, RefusedCase{{"--once=1"}, "--once"},
        RefusedCase{{"--once="}, "--once"},
        RefusedCase{{"--allow-host-network=yes"}, "--allow-host-network"},
        // An error before --help is reported; help is not given.
        RefusedCase{{"--port", "0", "--help"}, "--port"},
        RefusedCase{{"--bogus", "--help"}, "--bogus"},
        // Ports that would make camsim answer its own datagrams.
        RefusedCase{{"--reply-port", "4000"}, "--reply-port"},
        RefusedCase{{"--source-port", "3566"}, "--reply-port"},
        RefusedCase{{"--control", "3566"}, "--reply-port"},
        RefusedCase{{"--port", "5000", "--reply-port", "4000", "--control", "4000"},
                    "--reply-port"},
        RefusedCase{{"--control", "4000"}, "--control"},
        RefusedCase{{"--source-port", "5000", "--control", "5000"}, "--control"}));

class Help : public testing::TestWithParam<std::vector<std::string>> {};

// Help is given as soon as it is asked for; nothing after it is read.
TEST_P(Help, IsGiven) {
  CamsimOptions options;
  std::string message;
  EXPECT_EQ(Parse(GetParam(), options, message), OptionsOutcome::kHelp) << message;
  EXPECT_NE(message.find("KEYS (of --camera"), std::string::npos) << message;
}

INSTANTIATE_TEST_SUITE_P(
    Args, Help,
    testing::Values(std::vector<std::string>{"--help"}, std::vector<std::string>{"-h"},
                    std::vector<std::string>{"--port", "1", "--help", "--bogus"},
                    std::vector<std::string>{"--help", "--port", "0"}));

}  // namespace
}  // namespace camsim

// Control commands: how each text is read, and what the state-only ones answer.
#include "tools/camsim/control_channel.h"

#include <gtest/gtest.h>

#include "tests/camsim/test_bytes.h"

namespace camsim {
namespace {

using camsim_test::Hex;

struct ParseCase {
  const char* text;
  ControlVerb verb;
  const char* reply;  // the reply of a command that needs no socket; "" when it sends
};

class ParseCommand : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseCommand, GivesVerbAndReply) {
  SimulatorState state;
  state.cameras = {DefaultCamera(1)};
  ControlCommand command = ParseControlCommand(GetParam().text);
  EXPECT_EQ(command.verb, GetParam().verb);
  ControlOutcome outcome = ExecuteControlCommand(command, state);
  if (*GetParam().reply != '\0') {
    EXPECT_EQ(outcome.reply, GetParam().reply);
    EXPECT_FALSE(outcome.send);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseCommand,
    testing::Values(
        ParseCase{"ping", ControlVerb::kPing, "pong"},
        ParseCase{"  ping\r\n", ControlVerb::kPing, "pong"},
        ParseCase{"ping now", ControlVerb::kBadArguments, "err usage: ping"},
        ParseCase{"PING", ControlVerb::kUnknown, "err unknown command"},
        ParseCase{"", ControlVerb::kUnknown, "err unknown command"},
        ParseCase{"reboot", ControlVerb::kUnknown, "err unknown command"},
        ParseCase{"log-count", ControlVerb::kLogCount, "0"},
        ParseCase{"log-get 0", ControlVerb::kLogGet, "err no such entry"},
        ParseCase{"log-get -1", ControlVerb::kBadArguments, "err usage: log-get I"},
        ParseCase{"log-get", ControlVerb::kBadArguments, "err usage: log-get I"},
        ParseCase{"log-clear", ControlVerb::kLogClear, "ok"},
        ParseCase{"answer off", ControlVerb::kAnswer, "ok"},
        ParseCase{"answer maybe", ControlVerb::kBadArguments, "err usage: answer on|off"},
        ParseCase{"configure off", ControlVerb::kConfigure, "ok"},
        ParseCase{"configure", ControlVerb::kBadArguments, "err usage: configure on|off"},
        ParseCase{"flood 60", ControlVerb::kFlood, "ok"},
        ParseCase{"flood 0", ControlVerb::kBadArguments, "err usage: flood T (T 1..60 seconds)"},
        ParseCase{"flood 61", ControlVerb::kBadArguments, "err usage: flood T (T 1..60 seconds)"},
        ParseCase{"flood-stop", ControlVerb::kFloodStop, "ok"},
        ParseCase{"cameras 1", ControlVerb::kCameras, "err no such camera"},
        ParseCase{"send 0 4b5632", ControlVerb::kSend, ""},
        ParseCase{"send 65536 4b", ControlVerb::kBadArguments, "err usage: send S HEX"},
        ParseCase{"send 0 4b5", ControlVerb::kBadArguments, "err usage: send S HEX"},
        ParseCase{"send 0", ControlVerb::kBadArguments, "err usage: send S HEX"},
        ParseCase{"send-size 0 65000", ControlVerb::kSend, ""},
        ParseCase{"send-size 0 65001", ControlVerb::kBadArguments,
                  "err usage: send-size S N (N 0..65000)"},
        ParseCase{"send-crafted 5000 tag0", ControlVerb::kSend, ""},
        ParseCase{"send-crafted 5000 tag1", ControlVerb::kBadArguments,
                  "err usage: send-crafted S no-magic|unknown-tags|tag0|oversize|empty"}));

struct SendCase {
  const char* text;
  uint16_t port;
  std::vector<uint8_t> datagram;
};

class SendCommand : public testing::TestWithParam<SendCase> {};

TEST_P(SendCommand, AsksTheLoopForTheseBytes) {
  SimulatorState state;
  state.cameras = {DefaultCamera(1)};
  ControlOutcome outcome = ExecuteControlCommand(ParseControlCommand(GetParam().text), state);
  ASSERT_TRUE(outcome.send);
  EXPECT_EQ(outcome.port, GetParam().port);
  EXPECT_EQ(outcome.datagram, GetParam().datagram);
  EXPECT_EQ(outcome.reply, "ok");
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SendCommand,
    testing::Values(SendCase{"send 0 4b5632", 0, Hex("4B 56 32")},
                    SendCase{"send 7000 4B 56 32 38 30 00", 7000, Hex("4B 56 32 38 30 00")},
                    SendCase{"send-size 12 6", 12, Hex("4B 56 32 38 30 00")},
                    SendCase{"send-size 12 0", 12, {}},
                    SendCase{"send-crafted 1 empty", 1, {}}));

TEST(ControlLog, GetCountAndClearSeeTheSameEntries) {
  SimulatorState state;
  state.cameras = {DefaultCamera(1)};
  AddLogEntry(state.log, LogEntry{4000, {10, 77, 0, 1}, 5123, Hex("4B 56 00 FF")});
  AddLogEntry(state.log, LogEntry{9000, {10, 77, 0, 1}, 3566, {}});
  auto run = [&](const char* text) {
    return ExecuteControlCommand(ParseControlCommand(text), state).reply;
  };
  EXPECT_EQ(run("log-count"), "2");
  EXPECT_EQ(run("log-get 0"), "4000 5123 4 4b5600ff");
  EXPECT_EQ(run("log-get 1"), "9000 3566 0 ");
  EXPECT_EQ(run("log-get 2"), "err no such entry");
  EXPECT_EQ(FormatFileLine(state.log.entries[0]), "4000 10.77.0.1:5123 4 4b5600ff");
  EXPECT_EQ(run("log-clear"), "ok");
  EXPECT_EQ(run("log-count"), "0");
  EXPECT_EQ(run("log-get 0"), "err no such entry");
}

TEST(ControlLog, LongDatagramIsCutToFitOneReply) {
  SimulatorState state;
  state.cameras = {DefaultCamera(1)};
  AddLogEntry(state.log, LogEntry{4000, {0, 0, 0, 0}, 1, std::vector<uint8_t>(65000, 0xAB)});
  std::string reply = ExecuteControlCommand(ParseControlCommand("log-get 0"), state).reply;
  EXPECT_LE(reply.size(), kMaxControlReply);
  EXPECT_EQ(reply.compare(0, 17, "4000 1 65000 abab"), 0);
  EXPECT_EQ(reply.substr(reply.size() - 3), "...");
}

TEST(ControlCameras, ListsEveryCameraAndPagesWhenLarge) {
  SimulatorState state;
  for (std::size_t n = 1; n <= kMaxCameras; ++n) state.cameras.push_back(DefaultCamera(n));
  std::size_t listed = 0;
  std::string next = "cameras";
  for (int pages = 0; pages < 10 && listed < kMaxCameras; ++pages) {
    std::string reply = ExecuteControlCommand(ParseControlCommand(next), state).reply;
    ASSERT_LE(reply.size(), kMaxControlReply);
    std::size_t at = 0;
    while (at < reply.size()) {
      std::size_t end = reply.find('\n', at);
      if (end == std::string::npos) end = reply.size();
      std::string line = reply.substr(at, end - at);
      at = end + 1;
      if (line.compare(0, 5, "more ") == 0) {
        EXPECT_EQ(line, "more " + std::to_string(listed));
        next = "cameras " + line.substr(5);
        break;
      }
      ASSERT_EQ(line, FormatCamera(state.cameras[listed], ' '));
      ++listed;
    }
  }
  EXPECT_EQ(listed, kMaxCameras);
}

TEST(ControlAnswer, SwitchesSearchAnswering) {
  SimulatorState state;
  state.cameras = {DefaultCamera(1)};
  ExecuteControlCommand(ParseControlCommand("answer off"), state);
  EXPECT_FALSE(state.answering);
  ExecuteControlCommand(ParseControlCommand("answer on"), state);
  EXPECT_TRUE(state.answering);
}

}  // namespace
}  // namespace camsim

// The command line: values, the order cameras are numbered in, and the
// checks that keep camsim from hearing itself.
#include "tools/camsim/options.h"

#include <gtest/gtest.h>

#include <map>

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

OptionsOutcome Parse(std::vector<std::string> args, CamsimOptions& options, std::string& error) {
  return ParseOptions(args, Files({{"cams.txt", "name=FromFile\n# x\nhttp=81\n"},
                                   {"bad.txt", "\nip=1.2.3\n"}}),
                      options, error);
}

TEST(Options, DefaultsWithoutArguments) {
  CamsimOptions options;
  std::string error;
  ASSERT_EQ(Parse({}, options, error), OptionsOutcome::kRun) << error;
  EXPECT_EQ(options.port, 4000);
  EXPECT_EQ(options.replyPort, 3566);
  EXPECT_EQ(options.sourcePort, 0);
  EXPECT_EQ(options.controlPort, 0);
  ASSERT_EQ(options.cameras.size(), 1u);
  EXPECT_EQ(options.cameras[0], DefaultCamera(1));
}

TEST(Options, CamerasAreNumberedInCommandLineOrder) {
  CamsimOptions options;
  std::string error;
  ASSERT_EQ(Parse({"--camera", "name=First", "--burst", "2", "--config=cams.txt",
                   "--camera=http=99"},
                  options, error),
            OptionsOutcome::kRun)
      << error;
  ASSERT_EQ(options.cameras.size(), 6u);
  const char* names[] = {"First", "Camera-2", "Camera-3", "FromFile", "Camera-5", "Camera-6"};
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(options.cameras[i].name, names[i]) << i;
    EXPECT_EQ(options.cameras[i].mac[5], i + 1) << i;
  }
  EXPECT_EQ(options.cameras[4].httpPort, 81);
  EXPECT_EQ(options.cameras[5].httpPort, 99);
}

TEST(Options, SendsKeepTheirOrder) {
  CamsimOptions options;
  std::string error;
  ASSERT_EQ(Parse({"--send-size", "3", "--send-hex", "4b 56", "--send-crafted", "oversize",
                   "--once", "--flood-seconds", "2"},
                  options, error),
            OptionsOutcome::kRun)
      << error;
  ASSERT_EQ(options.sends.size(), 3u);
  EXPECT_EQ(BuildPayload(options.sends[0], options.cameras[0]).size(), 3u);
  EXPECT_EQ(BuildPayload(options.sends[1], options.cameras[0]), (std::vector<uint8_t>{0x4B, 0x56}));
  EXPECT_EQ(BuildPayload(options.sends[2], options.cameras[0]).size(), kOversizeLength);
  EXPECT_TRUE(options.once);
  EXPECT_EQ(options.floodSeconds, 2u);
}

TEST(Options, HelpWinsOverEverythingElse) {
  CamsimOptions options;
  std::string error;
  EXPECT_EQ(Parse({"--port", "1", "--help", "--bogus"}, options, error), OptionsOutcome::kHelp);
}

struct BadCase {
  std::vector<std::string> args;
  const char* mentions;
};

class BadOptions : public testing::TestWithParam<BadCase> {};

TEST_P(BadOptions, AreRefusedNamingTheCulprit) {
  CamsimOptions options;
  std::string error;
  EXPECT_EQ(Parse(GetParam().args, options, error), OptionsOutcome::kError);
  EXPECT_NE(error.find(GetParam().mentions), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Args, BadOptions,
    testing::Values(
        BadCase{{"--port", "0"}, "--port"}, BadCase{{"--port", "65536"}, "--port"},
        BadCase{{"--port"}, "--port: needs a value"}, BadCase{{"--reply-port=x"}, "--reply-port"},
        BadCase{{"--delay-ms", "60001"}, "--delay-ms"},
        BadCase{{"--flood-seconds", "61"}, "--flood-seconds"},
        BadCase{{"--flood-seconds", "0"}, "--flood-seconds"},
        BadCase{{"--max-seconds", "0"}, "--max-seconds"},
        BadCase{{"--drop-searches", "101"}, "--drop-searches"}, BadCase{{"--seed", "-1"}, "--seed"},
        BadCase{{"--burst", "0"}, "--burst"}, BadCase{{"--burst", "1001"}, "--burst"},
        BadCase{{"--burst", "600", "--burst", "401"}, "--burst: too many cameras"},
        BadCase{{"--send-size", "65001"}, "--send-size"},
        BadCase{{"--send-hex", "4b5"}, "--send-hex"}, BadCase{{"--send-hex", ""}, "--send-hex"},
        BadCase{{"--send-crafted", "huge"}, "--send-crafted"},
        BadCase{{"--camera", "mac=xyz"}, "'mac'"},
        BadCase{{"--config", "missing.txt"}, "--config missing.txt: cannot open"},
        BadCase{{"--config", "bad.txt"}, "line 2"}, BadCase{{"--log", ""}, "--log"},
        BadCase{{"--verbose"}, "unknown option '--verbose'"},
        BadCase{{"stray"}, "unknown option 'stray'"},
        // Ports that would make camsim answer its own datagrams.
        BadCase{{"--reply-port", "4000"}, "--reply-port"},
        BadCase{{"--source-port", "3566"}, "--reply-port"},
        BadCase{{"--control", "3566"}, "--reply-port"},
        BadCase{{"--control", "4000"}, "--control"},
        BadCase{{"--source-port", "5000", "--control", "5000"}, "--control"}));

}  // namespace
}  // namespace camsim

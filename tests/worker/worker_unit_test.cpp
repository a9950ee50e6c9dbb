// The parts of the worker that need no network: the status texts.
#include <gtest/gtest.h>

#include <string>

#include "worker/status_text.h"

namespace lumora {
namespace {

TEST(StatusText, CarriesTheCodeAndKeepsTheTrailingCharacters) {
  struct Row {
    const char* format;
    int code;
    const char* text;
  };
  const Row kRows[] = {
      {kStatusStartupFailed, 10091, "ERR: WSAStartup() fail 10091 \n"},
      {kStatusSocketFailed, 10047, "ERR: socket() error! Errorcode =10047\n"},
      {kStatusBindFailed, 10048, "ERR: bind() error! Errorcode =10048\n"},
      {kStatusSendFailed, 10051, "ERR: sendto error! Errorcode =10051\n"},
      {kStatusRecvFailed, 10040, "ERR: recv error! Errorcode =10040\n"},
      {kStatusRecvFailed, -1, "ERR: recv error! Errorcode =-1\n"},
  };
  for (const Row& row : kRows) {
    char out[kStatusSize];
    FormatStatus(out, row.format, row.code);
    EXPECT_EQ(std::string(out), row.text);
  }
}

}  // namespace
}  // namespace lumora

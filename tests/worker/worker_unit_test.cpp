// The parts of the worker that need no network: error codes and status texts.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "worker/status_text.h"
#ifndef _WIN32
#include "worker/posix_error_codes.h"
#endif

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

#ifndef _WIN32
TEST(PosixErrorCodes, AreShownAsTheirWinsockCodes) {
  struct Row {
    int error;
    int winsock;
  };
  const Row kRows[] = {
      {EADDRINUSE, 10048}, {EMSGSIZE, 10040},      {EACCES, 10013},     {ENETUNREACH, 10051},
      {EADDRNOTAVAIL, 10049}, {EWOULDBLOCK, 10035}, {ECONNREFUSED, 10061}, {EHOSTUNREACH, 10065},
      {ENOBUFS, 10055},    {EAFNOSUPPORT, 10047},  {EINVAL, 10022},     {ENOTSOCK, 10038},
      {ENOENT, ENOENT},  // no Winsock counterpart: unchanged
  };
  for (const Row& row : kRows) EXPECT_EQ(net::WinsockCodeForErrno(row.error), row.winsock) << row.error;
}
#endif

}  // namespace
}  // namespace lumora

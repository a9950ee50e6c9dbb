// POSIX only: errno values shown as the Winsock codes the status texts carry.
#include <gtest/gtest.h>

#include <cerrno>

#include "net/posix_error_codes.h"

namespace lumora {
namespace {

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

}  // namespace
}  // namespace lumora

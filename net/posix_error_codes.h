// POSIX errno values as the Winsock codes that the status texts show, so that
// a status line reads the same natively and under Windows.
#pragma once

namespace lumora::net {

// The Winsock code for `error`; an errno without a Winsock counterpart is
// returned unchanged.
int WinsockCodeForErrno(int error);

// Records `error` as this thread's LastError() (in Winsock terms) and
// returns -1, the failure result of the socket calls.
int FailWithErrno(int error);

}  // namespace lumora::net

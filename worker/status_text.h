// The status line texts. The trailing "\n", and in the start-up text the blank
// before it, belong to the texts.
#pragma once

#include <cstddef>

namespace lumora {

inline constexpr char kStatusOk[] = "OK";
inline constexpr char kStatusStartupFailed[] = "ERR: WSAStartup() fail %d \n";
inline constexpr char kStatusSocketFailed[] = "ERR: socket() error! Errorcode =%d\n";
inline constexpr char kStatusBindFailed[] = "ERR: bind() error! Errorcode =%d\n";
inline constexpr char kStatusSendFailed[] = "ERR: sendto error! Errorcode =%d\n";
inline constexpr char kStatusRecvFailed[] = "ERR: recv error! Errorcode =%d\n";

inline constexpr std::size_t kStatusSize = 256;

// Formats one of the texts above with its error code into `out`.
void FormatStatus(char (&out)[kStatusSize], const char* format, int code);

}  // namespace lumora

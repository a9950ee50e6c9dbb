// Code pages through iconv. A byte sequence the code page does not define
// becomes U+FFFD and the reading goes on with the next byte.
#include <iconv.h>

#include <cerrno>
#include <memory>

#include "tools/lumora/code_page.h"

namespace lumora::cli {
namespace {

struct IconvCloser {
  void operator()(void* handle) const { iconv_close(static_cast<iconv_t>(handle)); }
};

std::string Convert(iconv_t cd, const std::string& bytes) {
  std::string out;
  char buffer[256];
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  while (inLeft > 0) {
    char* to = buffer;
    std::size_t toLeft = sizeof buffer;
    std::size_t result = iconv(cd, &in, &inLeft, &to, &toLeft);
    out.append(buffer, to - buffer);
    if (result != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
    out += "\xEF\xBF\xBD";  // an invalid or cut sequence
    ++in;
    --inLeft;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

}  // namespace

bool OpenCodePage(const std::string& name, CodePageReader& reader, std::string& error) {
  reader = nullptr;
  if (name.empty()) return true;
  iconv_t cd = iconv_open("UTF-8", name.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    error = "--codepage: iconv does not know '" + name + "' (see iconv --list)";
    return false;
  }
  std::shared_ptr<void> handle(cd, IconvCloser());
  reader = [handle](const std::string& bytes) { return Convert(static_cast<iconv_t>(handle.get()), bytes); };
  return true;
}

}  // namespace lumora::cli

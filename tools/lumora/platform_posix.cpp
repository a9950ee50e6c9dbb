// xdg-open, isatty and plain writes.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

#include "tools/lumora/platform.h"

extern char** environ;

namespace lumora::cli {

bool IsTerminal(std::FILE* stream) { return isatty(fileno(stream)) != 0; }

void WriteText(std::FILE* stream, const std::string& text) { std::fwrite(text.data(), 1, text.size(), stream); }

bool OpenInBrowser(const std::string& url, std::string& error) {
  char program[] = "xdg-open";
  std::string address = url;
  char* argv[] = {program, &address[0], nullptr};
  pid_t pid = 0;
  int code = posix_spawnp(&pid, program, nullptr, nullptr, argv, environ);
  if (code != 0) {
    error = std::string("cannot start xdg-open: ") + std::strerror(code);
    return false;
  }
  int status = 0;
  if (waitpid(pid, &status, 0) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    error = "xdg-open could not open the page";
    return false;
  }
  return true;
}

}  // namespace lumora::cli

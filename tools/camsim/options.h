// The command line of camsim: what each option asks for, checked and
// turned into plain settings before any socket is opened.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/camsim/camera_settings.h"
#include "tools/camsim/reply_encoding.h"

namespace camsim {

inline constexpr unsigned kMaxDelayMs = 60000;
inline constexpr unsigned kMaxRunSeconds = 31536000;  // a year
inline constexpr uint32_t kMaxFloodDistinct = 16777216;  // 24 bits of MAC and address

struct CamsimOptions {
  uint16_t port = 4000;
  uint16_t replyPort = 3566;
  uint16_t sourcePort = 0;   // 0: replies leave from the listening socket
  uint16_t controlPort = 0;  // 0: no control channel
  unsigned delayMs = 0;
  unsigned dropSearchesPercent = 0;  // searches ignored, as if lost on the way
  unsigned ignoreConfigPercent = 0;  // configuration requests ignored, as if lost
  unsigned silentAfterChangeMs = 0;  // a changed camera answers no search for this long
  uint32_t dropPattern = 1;          // seeds the drop and ignore choices, so a run repeats
  std::string logPath;             // empty: no log file
  std::vector<SendRequest> sends;  // one-shot sends, in command-line order
  unsigned floodSeconds = 0;       // 0: no flood at start
  uint32_t floodDistinct = 0;      // 0: floods repeat the cameras' replies
  unsigned maxSeconds = 0;         // 0: until a signal
  bool once = false;
  bool allowHostNetwork = false;
  std::vector<CameraSettings> cameras;  // never empty after a successful parse
};

enum class OptionsOutcome { kRun, kHelp, kError };

// Reads a --config file; `error` says why it could not.
using FileReader =
    std::function<bool(const std::string& path, std::string& contents, std::string& error)>;

// `args` without the program name. On kHelp `message` is the help text; on
// kError it is CLI11's error message, naming the option or key at fault.
OptionsOutcome ParseOptions(const std::vector<std::string>& args, const FileReader& readFile,
                            CamsimOptions& options, std::string& message);

// The end of --help: the KEYS syntax, the camera defaults, the exit status,
// the datagrams and the control commands.
extern const char kHelpFooter[];

}  // namespace camsim

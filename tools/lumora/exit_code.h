// lumora's exit statuses, decided once per command: what each means is in
// that command's help.
#pragma once

namespace lumora::cli {

enum class ExitCode {
  kDone = 0,     // done, or nothing needed doing
  kNotDone = 1,  // ran, but not everything was done (nothing found, not verified)
  kUsage = 2,    // a usage error, an invalid value or plan, a conflict: nothing was sent
};

inline int ExitStatus(ExitCode code) { return static_cast<int>(code); }

}  // namespace lumora::cli

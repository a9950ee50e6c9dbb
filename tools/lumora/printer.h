// How `lumora scan` prints what it finds: every camera at the end with every
// warning known (the default), or each as it is first heard (--stream); then
// the count line, and the count of replies the list's bound turned away.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

#include "tools/lumora/camera_list.h"
#include "tools/lumora/output.h"

namespace lumora::cli {

// The table's last line, and stderr for the machine formats, says how many
// cameras were found and how many carry warnings; a terminal's stderr shows
// a live count meanwhile.
class Printer {
 public:
  Printer(const OutputOptions& options, bool stream);

  void Start();
  void OnNew(const CameraList& list, std::size_t index);
  void Finish(const CameraList& list);

 private:
  void PrintCamera(const CameraList& list, std::size_t index);
  void PrintLine(const std::string& line);
  void ShowLive(std::size_t count);
  void ClearLive();

  OutputOptions options_;
  bool stream_;
  bool live_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point lastLive_{};
  std::size_t printed_ = 0;
};

// One line on stderr when a flood went past the bound: the cameras found are
// still listed.
void ReportIgnored(const CameraList& list);

}  // namespace lumora::cli

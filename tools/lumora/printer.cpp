#include "tools/lumora/printer.h"

#include <cstdio>

#include "tools/lumora/platform.h"

namespace lumora::cli {

Printer::Printer(const OutputOptions& options, bool stream)
    : options_(options), stream_(stream), live_(IsTerminal(stderr)) {}

void Printer::Start() {
  if (options_.format == Format::kCsv) PrintLine(HeaderLine(options_));
}

void Printer::OnNew(const CameraList& list, std::size_t index) {
  if (stream_) {
    PrintCamera(list, index);
  } else {
    ShowLive(list.cameras().size());
  }
}

void Printer::Finish(const CameraList& list) {
  if (!stream_) {
    for (std::size_t i = 0; i < list.cameras().size(); ++i) PrintCamera(list, i);
  }
  ClearLive();
  // Before anything goes to stderr, so that with 2>&1 no camera line is cut.
  std::fflush(stdout);
  std::size_t warned = 0;
  for (std::size_t i = 0; i < list.cameras().size(); ++i) warned += list.WarningsNow(i).empty() ? 0 : 1;
  std::size_t found = list.cameras().size();
  char line[96];
  std::snprintf(line, sizeof line, "%zu camera%s found, %zu with warnings\n", found, found == 1 ? "" : "s", warned);
  std::FILE* where = options_.format == Format::kTable ? stdout : stderr;
  WriteText(where, line);
  std::fflush(where);
}

void Printer::PrintCamera(const CameraList& list, std::size_t index) {
  if (printed_ == 0 && options_.format == Format::kTable) PrintLine(HeaderLine(options_));
  ++printed_;
  PrintLine(CameraLine(list.cameras()[index], list.WarningsNow(index), options_));
  if (stream_) ShowLive(printed_);
}

void Printer::PrintLine(const std::string& line) {
  ClearLive();
  WriteText(stdout, line + "\n");
  if (stream_) std::fflush(stdout);
}

// At most ten times a second, so a flood is not slowed by the terminal.
void Printer::ShowLive(std::size_t count) {
  auto now = std::chrono::steady_clock::now();
  if (!live_ || now - lastLive_ < std::chrono::milliseconds(100)) return;
  lastLive_ = now;
  std::fprintf(stderr, "\r%zu found", count);
  shown_ = true;
}

void Printer::ClearLive() {
  if (shown_) std::fprintf(stderr, "\r%20s\r", "");
  shown_ = false;
}

void ReportIgnored(const CameraList& list) {
  if (list.ignored() == 0) return;
  std::fprintf(stderr, "lumora: %zu replies from cameras past the first %zu were ignored\n", list.ignored(),
               kMaxCameras);
}

}  // namespace lumora::cli

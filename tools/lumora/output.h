// How found cameras are printed: an aligned table for a person, JSON Lines
// or CSV for a script. Each camera is one line; with --stream it is written
// as soon as it is known, so a table's columns have fixed widths instead of
// measured ones.
#pragma once

#include <string>
#include <vector>

#include "tools/lumora/camera_list.h"
#include "tools/lumora/camera_text.h"

namespace lumora::cli {

enum class Format { kTable, kJson, kCsv };

// False when `name` is none of "table", "json", "csv".
bool ParseFormat(const std::string& name, Format& out);

struct OutputOptions {
  Format format = Format::kTable;
  bool showSecrets = false;      // adds the PPPoE password
  CodePageReader readCodePage;   // for texts that are not UTF-8; empty: Windows-1252
};

// The line before the first camera ("" for JSON), without the newline.
std::string HeaderLine(const OutputOptions& options);

// One camera with its warnings as one line, without the newline.
std::string CameraLine(const Camera& camera, const std::vector<std::string>& warnings, const OutputOptions& options);

}  // namespace lumora::cli

// One reading of a camera's text fields for every output format. The bytes
// are UTF-8 when they form valid UTF-8; otherwise they are read in a code
// page, the one the dialog would show them in (the system's ANSI code page
// on Windows, Windows-1252 elsewhere) or the one --codepage names. Then each
// format applies its own rule for control characters.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "provisioning/found_camera.h"
#include "provisioning/plan.h"

namespace lumora::cli {

// Bytes that are not UTF-8, read in a code page, as UTF-8.
using CodePageReader = std::function<std::string(const std::string& bytes)>;

// Windows-1252, with its five unassigned bytes read as the C1 controls of
// the same value, as Windows reads them.
std::string Windows1252ToUtf8(const std::string& bytes);

bool IsValidUtf8(const std::string& bytes);

// The text as UTF-8: `bytes` as they are when valid, else `readCodePage`'s
// reading (Windows-1252 when it is empty).
std::string CameraText(const std::string& bytes, const CodePageReader& readCodePage);

// Every control character of UTF-8 `text` (C0, DEL, C1) as "?", except a
// line feed when `keepLineFeeds`: a terminal must not be steered by a
// camera's name.
std::string Utf8ControlsReplaced(const std::string& text, bool keepLineFeeds);

// A camera text as lumora printed it in a plan of `dialect`: a camera whose
// name is not UTF-8 (Windows-1252 "Caf\xE9") comes back as "Café" in both;
// a control character as "?" in a CSV, as itself in JSON. Such a text asks
// for no change.
provisioning::TextReading PrintedText(const CodePageReader& readCodePage, provisioning::PlanDialect dialect);

// The columns `text` (UTF-8) takes on a terminal: East Asian wide and
// full-width characters take two, combining marks none.
std::size_t DisplayWidth(const std::string& text);

}  // namespace lumora::cli

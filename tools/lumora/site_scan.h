// The scan as plan and apply use it: the cameras found as provisioning's
// plain records, and the plan's texts read against the cameras' own bytes.
#pragma once

#include <optional>
#include <vector>

#include "provisioning/found_camera.h"
#include "provisioning/plan.h"
#include "tools/lumora/camera_text.h"
#include "tools/lumora/scanner.h"

namespace lumora::cli {

// Opens the scanner and runs one scan; the exit status when it cannot open.
std::optional<int> ScanSite(Scanner& scanner, const ScanOptions& options);

// The scan's cameras in answer order: index i is scanner.list().cameras()[i].
std::vector<provisioning::FoundCamera> FoundCameras(const Scanner& scanner);

// A camera whose name is not UTF-8 (Windows-1252 "Caf\xE9") is printed as
// UTF-8 ("Café") and comes back so in a plan, which would rename it to other
// bytes. So a text cell that reads the same as its camera's bytes, as scan
// prints them, is replaced by those bytes: that row asks for no change there.
void ReadTextsAsCameraBytes(provisioning::Plan& plan, const Scanner& scanner, const CodePageReader& readCodePage);

}  // namespace lumora::cli

// The one outside switch besides the tool port edit: the existence of a
// marker file enables the new-MAC and UDP tool port edits.
#pragma once

namespace lumora {

inline constexpr char kMarkerFilePath[] = "c:\\tmp\\webcam\\Search.conf";

// Only existence counts; the file is never read.
bool MarkerFileExists();

}  // namespace lumora

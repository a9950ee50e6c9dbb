// The files of "Assign addresses" and the list's menu: the system's Open and
// Save As dialogs, a plan file read whole, and a sheet saved so that a
// failed save never leaves a half-written file over a good one. A failure
// is said in the system's own words.
#pragma once

#include <windows.h>

#include <string>

namespace lumora {

// The system's Open dialog for a plan (*.csv;*.txt, or any file), which
// must exist. False when the operator cancels it.
bool AskPlanFile(HWND owner, std::wstring& path);

// The system's Save As dialog for a CSV file, suggesting `stem` followed by
// the date and time ("lumora-report-2026-12-10-1405.csv"); .csv is added
// when no extension is typed, and overwriting asks first. False when the
// operator cancels it.
bool AskSaveFile(HWND owner, const std::string& stem, std::wstring& path);

// The whole file, at most `most` bytes (one more is read, so a larger file
// shows as larger). False with `problem` in the system's words.
bool ReadWholeFile(const std::wstring& path, std::size_t most, std::string& bytes, std::string& problem);

// `bytes` written to a new file beside `path`, then moved over it.
bool SaveFileInPlace(const std::wstring& path, const std::string& bytes, std::string& problem);

// The last part of `path`, in the ANSI code page, for the summary.
std::string FileNameOf(const std::wstring& path);

}  // namespace lumora

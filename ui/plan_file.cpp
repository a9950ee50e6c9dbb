// Plan and sheet files.
#include "ui/plan_file.h"

#include <commdlg.h>

#include <algorithm>
#include <cwchar>
#include <vector>

namespace lumora {
namespace {

// "The system cannot find the file specified." without its line break.
std::string SystemMessage(DWORD error) {
  char* text = nullptr;
  const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  DWORD size = FormatMessageA(flags, nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = size > 0 && text != nullptr ? std::string(text, size) : "error " + std::to_string(error);
  if (text != nullptr) LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
    message.pop_back();
  }
  return message;
}

std::string Failure(const std::wstring& path, DWORD error) { return FileNameOf(path) + ": " + SystemMessage(error); }

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? L"." : path.substr(0, slash + 1);
}

bool WriteAll(HANDLE file, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return FlushFileBuffers(file) != FALSE;
}

// The chooser's common fields; `file` is the name it starts with and returns.
OPENFILENAMEW FileChooser(HWND owner, const wchar_t* filter, wchar_t (&file)[MAX_PATH], DWORD flags) {
  OPENFILENAMEW dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file;
  dialog.nMaxFile = MAX_PATH;
  dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | flags;
  return dialog;
}

}  // namespace

bool AskPlanFile(HWND owner, std::wstring& path) {
  wchar_t file[MAX_PATH] = {};
  OPENFILENAMEW dialog =
      FileChooser(owner, L"Plans (*.csv;*.txt)\0*.csv;*.txt\0All files\0*.*\0", file, OFN_FILEMUSTEXIST);
  if (!GetOpenFileNameW(&dialog)) return false;
  path = file;
  return true;
}

bool AskSaveFile(HWND owner, const std::string& stem, std::wstring& path) {
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  wchar_t file[MAX_PATH] = {};
  std::swprintf(file, MAX_PATH, L"%hs-%04u-%02u-%02u-%02u%02u.csv", stem.c_str(), now.wYear, now.wMonth, now.wDay,
                now.wHour, now.wMinute);
  OPENFILENAMEW dialog = FileChooser(owner, L"CSV (*.csv)\0*.csv\0All files\0*.*\0", file, OFN_OVERWRITEPROMPT);
  dialog.lpstrDefExt = L"csv";
  if (!GetSaveFileNameW(&dialog)) return false;
  path = file;
  return true;
}

bool ReadWholeFile(const std::wstring& path, std::size_t most, std::string& bytes, std::string& problem) {
  // A spreadsheet may hold the file open while the operator opens it here.
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    problem = Failure(path, GetLastError());
    return false;
  }
  bytes.clear();
  std::vector<char> buffer(1u << 16);
  DWORD got = 0;
  bool good = true;
  while (bytes.size() <= most) {
    if (!ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
      problem = Failure(path, GetLastError());
      good = false;
      break;
    }
    if (got == 0) break;
    bytes.append(buffer.data(), got);
  }
  CloseHandle(file);
  return good;
}

bool SaveFileInPlace(const std::wstring& path, const std::string& bytes, std::string& problem) {
  wchar_t temporary[MAX_PATH] = {};
  if (GetTempFileNameW(FolderOf(path).c_str(), L"lum", 0, temporary) == 0) {
    problem = Failure(path, GetLastError());
    return false;
  }
  HANDLE file = CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  bool good = file != INVALID_HANDLE_VALUE && WriteAll(file, bytes);
  DWORD error = good ? 0 : GetLastError();
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  // The target is replaced whole or not at all; a report open in a
  // spreadsheet stays as it was, and the failure says why.
  if (good && !MoveFileExW(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    good = false;
    error = GetLastError();
  }
  if (!good) {
    DeleteFileW(temporary);
    problem = Failure(path, error);
  }
  return good;
}

std::string FileNameOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  const std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
  int size = WideCharToMultiByte(CP_ACP, 0, name.data(), static_cast<int>(name.size()), nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) {
    WideCharToMultiByte(CP_ACP, 0, name.data(), static_cast<int>(name.size()), &text[0], size, nullptr, nullptr);
  }
  return text;
}

}  // namespace lumora

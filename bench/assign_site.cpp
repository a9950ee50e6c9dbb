// Windows, for the figures (scripts/assign-figures.sh): applies a range to
// every camera the running program lists, from its "Assign addresses"
// dialog, as an installer would, and prints the time from the Apply click
// to the final counts in the summary, and the worst round trip of a message
// to the main dialog meanwhile (a WM_NULL every 2 ms, sent from this
// process, bounded by SendMessageTimeout), then closes the program as a
// user would (WM_CLOSE) with "Assign addresses" still open, and prints the
// time to the process's end. With --exit-during-job it closes the program
// once the job has sent its first requests instead, and prints that time.
// Asserts nothing.
//
//   assign-site.exe [--exit-during-job] CAMERAS FIRST-ADDRESS [NAME-PATTERN]
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/support/window_text.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

std::string TextOf(HWND window) { return lumora::test::WindowTextOf(window, 10000); }

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result);
  return static_cast<LRESULT>(result);
}

template <typename Found>
bool WaitFor(Found found, int limitMs) {
  const Clock::time_point end = Clock::now() + std::chrono::milliseconds(limitMs);
  while (!found()) {
    if (Clock::now() > end) return false;
    Sleep(20);
  }
  return true;
}

// Closes the program as its caption's close button would and waits for its
// process to end; the milliseconds that took, or -1.
double ExitMs(HWND main) {
  DWORD pid = 0;
  GetWindowThreadProcessId(main, &pid);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  if (process == nullptr) return -1;
  const Clock::time_point closed = Clock::now();
  PostMessageA(main, WM_CLOSE, 0, 0);
  const bool ended = WaitForSingleObject(process, 60000) == WAIT_OBJECT_0;
  CloseHandle(process);
  return ended ? Ms(Clock::now() - closed) : -1;
}

int Fail(const char* what) {
  std::fprintf(stderr, "assign-site: %s\n", what);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const bool exitDuringJob = argc > 1 && std::string(argv[1]) == "--exit-during-job";
  if (exitDuringJob) {
    --argc;
    ++argv;
  }
  if (argc < 3) return Fail("usage: assign-site.exe [--exit-during-job] CAMERAS FIRST-ADDRESS [NAME-PATTERN]");
  const int cameras = std::atoi(argv[1]);
  HWND main = nullptr, dialog = nullptr;
  if (!WaitFor([&] { return (main = FindWindowA("#32770", "Lumora Search V2.6")) != nullptr; }, 30000)) {
    return Fail("no Lumora Search window");
  }
  HWND list = GetDlgItem(main, IDC_DEVICE_LIST);
  if (!WaitFor([&] { return Send(list, LB_GETCOUNT, 0, 0) == cameras; }, 60000)) {
    return Fail("the program did not list every camera");
  }
  PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_ASSIGN_ADDRESSES, 0), 0);
  // Shown once its controls exist and it has initialised.
  if (!WaitFor([&] { return (dialog = FindWindowA("#32770", "Assign addresses")) != nullptr && IsWindowVisible(dialog); },
               10000)) {
    return Fail("no Assign addresses dialog");
  }
  HWND summary = GetDlgItem(dialog, IDC_ASSIGN_SUMMARY);
  Send(GetDlgItem(dialog, IDC_ASSIGN_FIRST), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[2]));
  if (argc > 3) Send(GetDlgItem(dialog, IDC_ASSIGN_PATTERN), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[3]));
  // Preview looks the range up through the worker, saying so meanwhile.
  const Clock::time_point previewed = Clock::now();
  Send(GetDlgItem(dialog, IDC_ASSIGN_PREVIEW), BM_CLICK, 0, 0);
  std::string preview;
  while ((preview = TextOf(summary)).rfind("Looking up", 0) == 0 && Ms(Clock::now() - previewed) < 30000) Sleep(5);
  std::printf("dialog preview, %d cameras: the summary after %.2f s, the range looked up\n", cameras,
              Ms(Clock::now() - previewed) / 1000);
  if (preview.rfind(std::to_string(cameras) + " would-change", 0) != 0) {
    std::fprintf(stderr, "assign-site: the preview says \"%s\"\n", preview.c_str());
    return 1;
  }

  std::atomic<bool> measuring{true};
  std::vector<double> trips;
  std::thread pinger([&] {
    while (measuring.load()) {
      const Clock::time_point sent = Clock::now();
      DWORD_PTR ignored = 0;
      SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &ignored);
      trips.push_back(Ms(Clock::now() - sent));
      Sleep(2);
    }
  });
  const Clock::time_point clicked = Clock::now();
  Send(GetDlgItem(dialog, IDC_ASSIGN_APPLY), BM_CLICK, 0, 0);
  // Apply looks the planned addresses up again before the job starts.
  std::string counts;
  while ((counts = TextOf(summary)).rfind("Looking up", 0) == 0 && Ms(Clock::now() - clicked) < 30000) Sleep(5);
  const double lookupMs = Ms(Clock::now() - clicked);
  if (exitDuringJob) {
    // The requests go out 2 ms apart: by now the job is sending.
    Sleep(300);
    measuring.store(false);
    pinger.join();
    std::printf("exit during the job, %d cameras: the program ended %.0f ms after WM_CLOSE\n", cameras, ExitMs(main));
    return 0;
  }
  // The job's last progress replaces "Applying: 0 of N verified" with the counts.
  while ((counts = TextOf(summary)).rfind("Applying:", 0) == 0 && Ms(Clock::now() - clicked) < 300000) Sleep(5);
  const double applyMs = Ms(Clock::now() - clicked);
  measuring.store(false);
  pinger.join();

  std::sort(trips.begin(), trips.end());
  const double median = trips.empty() ? 0 : trips[trips.size() / 2];
  const double worst = trips.empty() ? 0 : trips.back();
  std::printf("dialog apply, %d cameras: the job started after the look-up of %.2f s; counts after %.2f s (%s);"
              " round trip to the main dialog during the job: median %.2f ms, worst %.1f ms over %zu messages\n",
              cameras, lookupMs / 1000, applyMs / 1000, counts.c_str(), median, worst, trips.size());
  std::printf("exit after the job, Assign addresses open: the program ended %.0f ms after WM_CLOSE\n", ExitMs(main));
  return 0;
}

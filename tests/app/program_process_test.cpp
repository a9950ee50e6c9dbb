// LumoraSearch.exe as an operator meets it: started as a process of its own
// in the lab, next to the camera simulator, read and driven from outside
// through window messages.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "protocol/packet_format.h"
#include "resources/resource_ids.h"
#include "tests/support/camsim_control.h"
#include "worker/net_socket.h"

namespace lumora {
namespace {

constexpr char kTitle[] = "Lumora Search V2.6";
std::string gProgramPath;  // from the command line

using Clock = std::chrono::steady_clock;

bool WaitUntil(const std::function<bool()>& done, int limitMs) {
  auto deadline = Clock::now() + std::chrono::milliseconds(limitMs);
  while (!done()) {
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

// The program's window: the dialog class with our title, owned by `pid`.
HWND FindProgramWindow(DWORD pid) {
  HWND found = nullptr;
  for (HWND w = FindWindowA("#32770", kTitle); w; w = FindWindowExA(nullptr, w, "#32770", kTitle)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == pid) found = w;
  }
  return found;
}

int CountProgramWindows() {
  int count = 0;
  for (HWND w = FindWindowA("#32770", kTitle); w; w = FindWindowExA(nullptr, w, "#32770", kTitle)) ++count;
  return count;
}

class Program {
 public:
  Program() {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + gProgramPath + "\"";
    started_ = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                              &process_) != FALSE;
  }

  ~Program() {
    if (!started_) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      if (window_) PostMessageA(window_, WM_CLOSE, 0, 0);
      if (WaitForSingleObject(process_.hProcess, 5000) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
      WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }

  bool started() const { return started_; }

  HWND WaitForWindow(int limitMs = 30000) {
    WaitUntil([&] { return (window_ = FindProgramWindow(process_.dwProcessId)) != nullptr; }, limitMs);
    return window_;
  }

  // GetWindowText does not ask another process's edit control for its text,
  // so the text is asked for with WM_GETTEXT, bounded in time.
  std::string ControlText(int id) const {
    char text[512] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(GetDlgItem(window_, id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 2000, &ignored);
    return text;
  }

  bool WaitForControlText(int id, const std::string& text, int limitMs = 10000) const {
    return WaitUntil([&] { return ControlText(id) == text; }, limitMs);
  }

  // The exit code once the process has ended within `limitMs`, else -1.
  long WaitForEnd(int limitMs) const {
    if (WaitForSingleObject(process_.hProcess, static_cast<DWORD>(limitMs)) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<long>(code);
  }

  void PressExit() const { PostMessageA(window_, WM_COMMAND, IDC_EXIT, 0); }
  HWND window() const { return window_; }

 private:
  bool started_ = false;
  PROCESS_INFORMATION process_ = {};
  HWND window_ = nullptr;
};

class ProgramInLab : public ::testing::Test {
 protected:
  void SetUp() override {
    camsim_ = test::CamsimControl::ForTest();
    if (!camsim_) GTEST_SKIP() << test::CamsimControl::kNotInLab;
  }
  std::unique_ptr<test::CamsimControl> camsim_;
};

TEST_F(ProgramInLab, SearchesAtOnceAndShowsTheWorkersStatus) {
  Program program;
  ASSERT_TRUE(program.started());
  ASSERT_NE(program.WaitForWindow(), nullptr);
  EXPECT_TRUE(IsWindowVisible(program.window()));
  ASSERT_TRUE(camsim_->WaitForLogCount(1));
  std::optional<test::LoggedDatagram> search = camsim_->LogEntry(0);
  ASSERT_TRUE(search);
  RequestFrame expected;
  BuildSearchRequest(expected);
  EXPECT_EQ(search->localPort, 4000);
  EXPECT_EQ(search->bytes, std::vector<uint8_t>(expected.bytes, expected.bytes + kRequestSize));
  EXPECT_TRUE(program.WaitForControlText(IDC_TOOL_PORT, "4000"));
  EXPECT_TRUE(program.WaitForControlText(IDC_STATUS_LINE, "OK"));
  auto pressed = Clock::now();
  program.PressExit();
  EXPECT_EQ(program.WaitForEnd(5000), 0);
  std::printf("exit when idle: %.0f ms\n", std::chrono::duration<double, std::milli>(Clock::now() - pressed).count());
}

TEST_F(ProgramInLab, ASecondCopyBringsTheFirstForwardAndEnds) {
  Program first;
  ASSERT_NE(first.WaitForWindow(), nullptr);
  ShowWindow(first.window(), SW_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(first.window()) != FALSE; }, 5000));

  Program second;
  ASSERT_TRUE(second.started());
  EXPECT_EQ(second.WaitForEnd(30000), 0);
  EXPECT_TRUE(WaitUntil([&] { return IsIconic(first.window()) == FALSE; }, 5000)) << "not restored";
  EXPECT_EQ(CountProgramWindows(), 1);

  Program third;  // the first is not minimised now: it is brought to the front
  EXPECT_EQ(third.WaitForEnd(30000), 0);
  EXPECT_EQ(CountProgramWindows(), 1);
  EXPECT_EQ(GetForegroundWindow(), first.window());
}

TEST_F(ProgramInLab, ABusyReplyPortIsReportedAndExitStillEndsAtOnce) {
  net::Socket holder = net::OpenUdp();
  ASSERT_NE(holder, net::kInvalidSocket);
  ASSERT_TRUE(net::Bind(holder, 3566));
  Program program;
  ASSERT_NE(program.WaitForWindow(), nullptr);
  EXPECT_TRUE(program.WaitForControlText(IDC_STATUS_LINE, "ERR: bind() error! Errorcode =10048\n"));
  program.PressExit();
  EXPECT_EQ(program.WaitForEnd(2000), 0);
  net::Close(holder);
  EXPECT_EQ(camsim_->LogCount(), 0);
}

TEST_F(ProgramInLab, ClosingTheWindowEndsTheProgramAsExitDoes) {
  Program program;
  ASSERT_NE(program.WaitForWindow(), nullptr);
  ASSERT_TRUE(program.WaitForControlText(IDC_STATUS_LINE, "OK"));
  PostMessageA(program.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(program.WaitForEnd(2000), 0);
}

// "Exit" while replies pour in: the dialog thread waits for the worker, which
// must never wait for the dialog thread. Fifty times in a row.
TEST_F(ProgramInLab, ExitEndsTheProgramWhileCamerasFloodIt) {
  std::vector<double> exitMs;
  for (int round = 0; round < 50; ++round) {
    SCOPED_TRACE(round);
    // The last round's window may outlive its process for a moment; a copy
    // started then would only bring it forward.
    ASSERT_TRUE(WaitUntil([] { return CountProgramWindows() == 0; }, 5000));
    Program program;
    ASSERT_NE(program.WaitForWindow(), nullptr);
    ASSERT_TRUE(program.WaitForControlText(IDC_STATUS_LINE, "OK"));
    ASSERT_EQ(camsim_->Command("flood 20"), "ok");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // let the replies pour in
    auto pressed = Clock::now();
    program.PressExit();
    long code = program.WaitForEnd(2000);
    exitMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - pressed).count());
    ASSERT_EQ(code, 0) << "did not end within 2 s";
    camsim_->Command("flood-stop");
  }
  std::sort(exitMs.begin(), exitMs.end());
  std::printf("exit under a reply flood, 50 rounds: median %.0f ms, max %.0f ms\n", exitMs[exitMs.size() / 2],
              exitMs.back());
}

}  // namespace
}  // namespace lumora

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s PATH-TO-LumoraSearch.exe\n", argv[0]);
    return 2;
  }
  std::string path = argv[1];
  if (!path.empty() && path[0] == '/') {  // a Unix path under Wine: drive Z: is the root
    std::replace(path.begin(), path.end(), '/', '\\');
    path = "Z:" + path;
  }
  lumora::gProgramPath = path;
  if (lumora::net::Startup() != 0) return 1;
  int result = RUN_ALL_TESTS();
  lumora::net::Cleanup();
  return result;
}

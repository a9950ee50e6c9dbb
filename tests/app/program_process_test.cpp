// LumoraSearch.exe as an operator meets it: started as a process of its own
// in the lab, next to the camera simulator, read and driven from outside
// through window messages.
#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "protocol/packet_format.h"
#include "resources/resource_ids.h"
#include "tests/support/window_text.h"
#include "tests/support/camsim_control.h"
#include "net/net_socket.h"

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

// Every top-level window of this lab's Wine session, for a failure message.
std::string DescribeTopLevelWindows() {
  std::string out;
  EnumWindows(
      [](HWND w, LPARAM param) -> BOOL {
        char cls[64] = {}, title[128] = {};
        GetClassNameA(w, cls, sizeof cls);
        GetWindowTextA(w, title, sizeof title);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        auto& text = *reinterpret_cast<std::string*>(param);
        text += "\n  class \"" + std::string(cls) + "\" title \"" + title + "\" pid " + std::to_string(pid) +
                (IsWindowVisible(w) ? " visible" : " hidden");
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&out));
  return out.empty() ? " none" : out;
}

class Program {
 public:
  Program() {
    startedAt_ = Clock::now();
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + gProgramPath + "\"";
    // Wine's loader now and then fails to map a new process's shared user
    // data ("c0000018", ERROR_INTERNAL_ERROR) at random; that start alone is
    // tried again, so a rare loader failure is not read as the program's.
    for (int attempt = 0; attempt < 3 && !started_; ++attempt) {
      started_ = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                &process_) != FALSE;
      createError_ = started_ ? 0 : GetLastError();
      if (createError_ != ERROR_INTERNAL_ERROR) break;
    }
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

  // The shown window, or nullptr after `limitMs`; a failure then says what the
  // child did, so that a rare one explains itself.
  HWND WaitForWindow(int limitMs = 30000) {
    // The dialog exists, hidden, a moment before the entry shows it.
    WaitUntil([&] { return (window_ = FindProgramWindow(process_.dwProcessId)) != nullptr && IsWindowVisible(window_); },
              limitMs);
    if (window_ == nullptr) ADD_FAILURE() << "no window from LumoraSearch.exe: " << Describe();
    return window_;
  }

  std::string Describe() const {
    if (!started_) return "CreateProcess failed with error " + std::to_string(createError_);
    std::string text = "pid " + std::to_string(process_.dwProcessId) + ", ";
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    if (code == STILL_ACTIVE) {
      text += "still running";
    } else {
      FILETIME created, exited, kernel, user;
      GetProcessTimes(process_.hProcess, &created, &exited, &kernel, &user);
      auto ticks = [](const FILETIME& t) { return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
      text += "ended with exit code " + std::to_string(code) + " after " +
              std::to_string((ticks(exited) - ticks(created)) / 10000) + " ms";
    }
    double waitedMs = std::chrono::duration<double, std::milli>(Clock::now() - startedAt_).count();
    return text + ", " + std::to_string(static_cast<int>(waitedMs)) + " ms since start; top-level windows:" +
           DescribeTopLevelWindows();
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

  void PressExit() const { Press(IDC_EXIT); }
  void Press(int id) const { PostMessageA(window_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

  // Wine does not convert LB_GETTEXT between processes for the A form, so
  // the entries are read as UTF-16; ours are ASCII.
  std::vector<std::string> Entries() const {
    std::vector<std::string> entries;
    HWND list = GetDlgItem(window_, IDC_DEVICE_LIST);
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count)) return entries;
    for (DWORD_PTR i = 0; i < count && static_cast<LRESULT>(count) != LB_ERR; ++i) {
      wchar_t text[256] = {};
      DWORD_PTR ignored = 0;
      SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &ignored);
      std::string narrow;
      for (const wchar_t* c = text; *c; ++c) narrow += static_cast<char>(*c);
      entries.push_back(narrow);
    }
    return entries;
  }

  int EntryCount() const {
    DWORD_PTR count = 0;
    SendMessageTimeoutA(GetDlgItem(window_, IDC_DEVICE_LIST), LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count);
    return static_cast<int>(static_cast<LRESULT>(count));
  }

  bool WaitForEntryCount(int count, int limitMs = 10000) const {
    return WaitUntil([&] { return EntryCount() == count; }, limitMs);
  }

  // As the operator's click does: the selection, then its notification.
  void SelectEntry(int index) const {
    DWORD_PTR ignored = 0;
    HWND list = GetDlgItem(window_, IDC_DEVICE_LIST);
    SendMessageTimeoutA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0, SMTO_ABORTIFHUNG, 2000, &ignored);
    SendMessageTimeoutA(window_, WM_COMMAND, MAKEWPARAM(IDC_DEVICE_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list),
                        SMTO_ABORTIFHUNG, 2000, &ignored);
  }

  void SetControlText(int id, const std::string& text) const {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(GetDlgItem(window_, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                        SMTO_ABORTIFHUNG, 2000, &ignored);
  }

  void Click(int id) const {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(GetDlgItem(window_, id), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
  }
  HWND window() const { return window_; }

 private:
  bool started_ = false;
  DWORD createError_ = 0;
  Clock::time_point startedAt_;
  PROCESS_INFORMATION process_ = {};
  HWND window_ = nullptr;
};

class ProgramInLab : public ::testing::Test {
 protected:
  void SetUp() override {
    camsim_ = test::CamsimControl::ForTest();
    if (!camsim_) GTEST_SKIP() << test::CamsimControl::kNotInLab;
    ASSERT_EQ(camsim_->Command("answer on"), "ok");
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


// A camera's reply as the test sends it itself, unicast to the program.
std::vector<uint8_t> Reply(uint8_t macLast, const std::string& name) {
  std::vector<uint8_t> bytes = {'K', 'V', '2', '8', '0', 0x10, 6, 0x00, 0x1A, 0x2B, 0x3C, 0x4D, macLast, 0x20, 16};
  std::string padded = name;
  padded.resize(16, '\0');
  bytes.insert(bytes.end(), padded.begin(), padded.end());
  return bytes;
}

bool SendUnicast(const std::vector<uint8_t>& bytes) {
  const uint8_t loopback[4] = {127, 0, 0, 1};
  net::Address to{0, 3566};
  std::memcpy(&to.ip, loopback, 4);  // network order
  net::Socket s = net::OpenUdp();
  bool sent = net::SendTo(s, bytes.data(), static_cast<int>(bytes.size()), to) >= 0;
  net::Close(s);
  return sent;
}

std::vector<std::string> Numbered(int first, int count) {
  std::vector<std::string> entries;
  for (int i = 0; i < count; ++i) entries.push_back(std::to_string(255 - i) + " Camera-" + std::to_string(first + i));
  return entries;
}

TEST_F(ProgramInLab, CamerasAreListedInAnswerOrderAndUpdateStartsAfresh) {
  Program program;
  ASSERT_NE(program.WaitForWindow(), nullptr);
  ASSERT_TRUE(program.WaitForEntryCount(3));
  EXPECT_EQ(program.Entries(), Numbered(1, 3));

  ASSERT_TRUE(SendUnicast(Reply(0x99, "Unicast")));
  ASSERT_TRUE(program.WaitForEntryCount(4));
  EXPECT_EQ(program.Entries().back(), "252 Unicast");

  ASSERT_EQ(camsim_->Command("answer off"), "ok");
  int logged = camsim_->LogCount();
  program.Press(IDC_UPDATE);
  ASSERT_TRUE(camsim_->WaitForLogCount(logged + 1));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // room for a wrong entry to show
  EXPECT_EQ(program.EntryCount(), 0);
  ASSERT_EQ(camsim_->Command("answer on"), "ok");
  program.Press(IDC_UPDATE);
  ASSERT_TRUE(program.WaitForEntryCount(3));
  EXPECT_EQ(program.Entries(), Numbered(1, 3));
}

// The configuration request on the wire, field by field, and its effect.
TEST_F(ProgramInLab, SubmitSendsTheChangesOfTheShownCameraAndOnlyOfIt) {
  Program program;
  ASSERT_NE(program.WaitForWindow(), nullptr);
  ASSERT_TRUE(program.WaitForEntryCount(3));
  program.SelectEntry(1);  // Camera-2, MAC 001A2B3C4D02
  ASSERT_TRUE(program.WaitForControlText(IDC_MAC_GROUP, "001A2B3C4D02"));
  program.SetControlText(IDC_NAME, "Gate");
  program.SetControlText(IDC_IP, "10.77.0.50");
  program.SetControlText(IDC_SUBNET_MASK, "255.255.0.0");
  program.SetControlText(IDC_GATEWAY, "10.77.0.254");
  program.SetControlText(IDC_HTTP_PORT, "8080");
  program.SetControlText(IDC_AUDIO_PORT, "9000");
  program.SetControlText(IDC_PPPOE_ACCOUNT, "acct");
  program.SetControlText(IDC_PPPOE_PASSWORD, "pw");
  program.Click(IDC_MODE_DHCP);
  int logged = camsim_->LogCount();
  program.Press(IDC_SUBMIT);
  ASSERT_TRUE(camsim_->WaitForLogCount(logged + 1));

  std::vector<uint8_t> expected = {'K', 'V', '2', '8', '0', 0x10, 6, 0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x02};
  auto text = [&](uint8_t tag, const std::string& value, std::size_t width) {
    expected.push_back(tag);
    expected.push_back(static_cast<uint8_t>(width));
    for (std::size_t i = 0; i < width; ++i) expected.push_back(i < value.size() ? value[i] : 0);
  };
  text(0x20, "Gate", 16);
  for (const std::vector<uint8_t>& field : std::vector<std::vector<uint8_t>>{
           {0x11, 4, 10, 77, 0, 50}, {0x12, 4, 255, 255, 0, 0}, {0x13, 4, 10, 77, 0, 254}}) {
    expected.insert(expected.end(), field.begin(), field.end());
  }
  text(0x14, "8080", 5);
  text(0x15, "9000", 5);
  text(0x22, "acct", 32);
  text(0x23, "pw", 32);
  expected.insert(expected.end(), {0x1F, 4, 0xFF, 0xFF, 0x01, 0xFF});
  expected.resize(kRequestSize, 0);
  std::optional<test::LoggedDatagram> sent = camsim_->LogEntry(logged);
  ASSERT_TRUE(sent);
  EXPECT_EQ(sent->bytes, expected);
  EXPECT_TRUE(program.WaitForControlText(IDC_MAC_GROUP, "ffffffffffff"));
  EXPECT_EQ(program.ControlText(IDC_NAME), "");

  program.Press(IDC_UPDATE);
  ASSERT_TRUE(program.WaitForEntryCount(3));
  EXPECT_EQ(program.Entries(), (std::vector<std::string>{"255 Camera-1", "254 Gate", "253 Camera-3"}));
  program.SelectEntry(1);
  ASSERT_TRUE(program.WaitForControlText(IDC_MAC_GROUP, "001A2B3C4D02"));
  const std::pair<int, const char*> kNow[] = {{IDC_IP, "10.77.0.50"},       {IDC_SUBNET_MASK, "255.255.0.0"},
                                             {IDC_GATEWAY, "10.77.0.254"},   {IDC_HTTP_PORT, "8080"},
                                             {IDC_AUDIO_PORT, "9000"},       {IDC_PPPOE_ACCOUNT, "acct"}};
  for (const auto& [id, value] : kNow) EXPECT_EQ(program.ControlText(id), value) << id;
  program.SelectEntry(0);
  EXPECT_TRUE(program.WaitForControlText(IDC_IP, "10.77.0.101"));  // the other camera is as it was
  EXPECT_EQ(program.ControlText(IDC_NAME), "Camera-1");
}

TEST_F(ProgramInLab, AConfigurationRequestGoesToTheSourcePortOfTheLastReply) {
  Program program;
  ASSERT_NE(program.WaitForWindow(), nullptr);
  ASSERT_TRUE(program.WaitForEntryCount(3));
  ASSERT_TRUE(camsim_->Send(5000, Reply(0x77, "Port5000")));
  ASSERT_TRUE(program.WaitForEntryCount(4));
  int logged = camsim_->LogCount();
  program.Press(IDC_SUBMIT);
  ASSERT_TRUE(camsim_->WaitForLogCount(logged + 1));
  std::optional<test::LoggedDatagram> sent = camsim_->LogEntry(logged);
  ASSERT_TRUE(sent);
  EXPECT_EQ(sent->localPort, 5000);
  EXPECT_EQ(sent->bytes.size(), kRequestSize);
  EXPECT_EQ(std::vector<uint8_t>(sent->bytes.begin(), sent->bytes.begin() + 6),
            (std::vector<uint8_t>{'K', 'V', '2', '8', '0', 0}));  // nothing shown: the magic alone
  program.Press(IDC_UPDATE);
  ASSERT_TRUE(camsim_->WaitForLogCount(logged + 2));
  EXPECT_EQ(camsim_->LogEntry(logged + 1)->localPort, 4000);
}

// Run in a lab of its own with 256 cameras (see CMakeLists.txt).
TEST_F(ProgramInLab, BurstOf255IsListedWholeAndTheTableKeepsUpdatingWhenFull) {
  Program program;
  ASSERT_NE(program.WaitForWindow(), nullptr);
  ASSERT_TRUE(program.WaitForEntryCount(255, 30000));
  EXPECT_EQ(program.Entries(), Numbered(1, 255));

  // Figures: from "Update" and from the first entry seen to the 255th.
  program.Press(IDC_UPDATE);
  auto pressed = Clock::now(), first = Clock::time_point::max();
  int count = 255, firstCount = 0;
  ASSERT_TRUE(WaitUntil([&] { return program.EntryCount() < 255; }, 5000)) << "the list was not emptied";
  auto deadline = Clock::now() + std::chrono::seconds(30);
  // Each look is a message the dialog thread must handle: not too often.
  while ((count = program.EntryCount()) < 255 && Clock::now() < deadline) {
    if (count > 0 && first == Clock::time_point::max()) first = Clock::now(), firstCount = count;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  auto last = Clock::now();
  ASSERT_EQ(count, 255);
  if (first == Clock::time_point::max()) first = last, firstCount = 255;
  auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
  std::printf("burst of 255 cameras: Update to 255th entry %.0f ms; first entries seen (%d) to 255th %.0f ms\n",
              ms(last - pressed), firstCount, ms(last - first));
  EXPECT_EQ(program.Entries(), Numbered(1, 255));

  // A new camera finds no room; a known one's reply still replaces its record.
  ASSERT_TRUE(SendUnicast(Reply(0x00, "NoRoom")));
  ASSERT_TRUE(SendUnicast(Reply(0x07, "Seventh")));
  EXPECT_TRUE(WaitUntil(
      [&] {
        program.SelectEntry(6);
        return program.ControlText(IDC_NAME) == "Seventh";
      },
      5000));
  EXPECT_EQ(program.EntryCount(), 255);
}

// Two camera subnets behind two PC adapters (two_sides_test.sh):
// Camera-1..3, Twin-A and Factory (at 192.168.1.64, outside the first
// adapter's network) behind the first, which holds the default route; B1
// and Twin-B, with Twin-A's MAC, behind the second.
class ProgramInTwoSidedLab : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::getenv("LUMORA_CAMSIM_B") == nullptr) GTEST_SKIP() << "runs only in a two-sided lab";
    sideA_ = test::CamsimControl::ForTest();
    sideB_ = test::CamsimControl::ForTest("LUMORA_CAMSIM_B");
    ASSERT_TRUE(sideA_ && sideB_) << "no answer from the simulators";
  }

  // Presses "Update" (or, with `press` false, takes the search at start)
  // and waits until each side has logged one more datagram and both sides
  // are listed again; which twin is listed depends on which answered first.
  void SearchAndWait(Program& program, bool press) {
    int seenA = press ? sideA_->LogCount() : 0, seenB = press ? sideB_->LogCount() : 0;
    if (press) program.Press(IDC_UPDATE);
    ASSERT_TRUE(sideA_->WaitForLogCount(seenA + 1) && sideB_->WaitForLogCount(seenB + 1));
    ASSERT_TRUE(program.WaitForEntryCount(6)) << program.EntryCount() << " listed";
    std::vector<std::string> names;
    for (const std::string& entry : program.Entries()) names.push_back(entry.substr(entry.find(' ') + 1, 4));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"B1", "Came", "Came", "Came", "Fact", "Twin"}));
  }

  // Shows the camera whose entry holds `name`; false when none is listed.
  bool Show(Program& program, const std::string& name) {
    std::vector<std::string> entries = program.Entries();
    auto entry = std::find_if(entries.begin(), entries.end(),
                              [&](const std::string& e) { return e.find(" " + name) != std::string::npos; });
    if (entry == entries.end()) return false;
    program.SelectEntry(static_cast<int>(entry - entries.begin()));
    return WaitUntil([&] { return program.ControlText(IDC_MAC_GROUP) != "ffffffffffff"; }, 5000);
  }

  std::unique_ptr<test::CamsimControl> sideA_, sideB_;
};

std::vector<uint8_t> SearchFrame() {
  RequestFrame frame;
  BuildSearchRequest(frame);
  return std::vector<uint8_t>(frame.bytes, frame.bytes + kRequestSize);
}

TEST_F(ProgramInTwoSidedLab, EachSearchListsBothSidesWithOneDatagramOutOfEachAdapter) {
  Program program;
  ASSERT_NE(program.WaitForWindow(), nullptr);
  for (int searches = 1; searches <= 2; ++searches) {  // the search at start, then "Update"
    SCOPED_TRACE(searches);
    SearchAndWait(program, searches > 1);
    EXPECT_TRUE(program.WaitForControlText(IDC_STATUS_LINE, "OK"));
    for (test::CamsimControl* side : {sideA_.get(), sideB_.get()}) {
      EXPECT_EQ(side->LogCount(), searches);
      std::optional<test::LoggedDatagram> search = side->LogEntry(searches - 1);
      ASSERT_TRUE(search);
      EXPECT_EQ(search->localPort, 4000);
      EXPECT_EQ(search->bytes, SearchFrame());
    }
  }
}

// B1 is only behind the second adapter; the twins share a MAC, so their one
// slot holds whichever answered last, and only that side may see "Submit".
TEST_F(ProgramInTwoSidedLab, SubmitGoesOutOfTheAdapterItsCameraLastAnsweredOnAlone) {
  // The cameras keep their settings: the lab's later states list them as built.
  ASSERT_EQ(sideA_->Command("configure off"), "ok");
  ASSERT_EQ(sideB_->Command("configure off"), "ok");
  Program program;
  ASSERT_NE(program.WaitForWindow(), nullptr);
  SearchAndWait(program, false);
  const std::pair<std::string, std::vector<uint8_t>> kCameras[] = {{"B1", {0x00, 0xAA, 0x00, 0x00, 0xB0, 0x01}},
                                                                    {"Twin", {0x00, 0xBB, 0x00, 0x00, 0x00, 0xFF}}};
  for (const auto& [camera, mac] : kCameras) {
    SCOPED_TRACE(camera);
    ASSERT_TRUE(Show(program, camera));
    // The panel shows the record of the last reply, and so its side.
    bool onB = program.ControlText(IDC_NAME) != "Twin-A";
    test::CamsimControl& target = onB ? *sideB_ : *sideA_;
    test::CamsimControl& other = onB ? *sideA_ : *sideB_;
    program.SetControlText(IDC_NAME, "Renamed");
    int targetSeen = target.LogCount(), otherSeen = other.LogCount();
    program.Press(IDC_SUBMIT);
    ASSERT_TRUE(target.WaitForLogCount(targetSeen + 1));
    std::vector<uint8_t> expected = {'K', 'V', '2', '8', '0', 0x10, 6};
    expected.insert(expected.end(), mac.begin(), mac.end());
    expected.insert(expected.end(), {0x20, 16, 'R', 'e', 'n', 'a', 'm', 'e', 'd', 0, 0, 0, 0, 0, 0, 0, 0, 0});
    expected.insert(expected.end(), {0x1F, 4, 0xFF, 0xFF, 0xFF, 0xFF});
    expected.resize(kRequestSize, 0);
    EXPECT_EQ(target.LogEntry(targetSeen)->bytes, expected);

    // On the other side the first datagram since "Submit" is the next search.
    SearchAndWait(program, true);
    EXPECT_EQ(other.LogCount(), otherSeen + 1);
    EXPECT_EQ(other.LogEntry(otherSeen)->bytes, SearchFrame());
  }
}

// The note names the network of the adapter the camera answered on; after
// "Update" nothing is shown and the note is empty.
TEST_F(ProgramInTwoSidedLab, ACameraOutsideTheFirstAdaptersNetworkIsNotedUntilUpdate) {
  Program program;
  ASSERT_NE(program.WaitForWindow(), nullptr);
  SearchAndWait(program, false);
  ASSERT_TRUE(Show(program, "Factory"));
  EXPECT_TRUE(program.WaitForControlText(
      IDC_DEVICE_NOTE,
      "Outside 10.77.0.0/24, the network it answered on: its page will not open until it has an address there.",
      5000))
      << program.ControlText(IDC_DEVICE_NOTE);
  SearchAndWait(program, true);
  EXPECT_EQ(program.ControlText(IDC_DEVICE_NOTE), "");
}

// The script runs this one after removing the PC's default route.
TEST_F(ProgramInTwoSidedLab, WithoutADefaultRouteUpdateStillListsBothSides) {
  if (std::getenv("LUMORA_LAB_NO_DEFAULT_ROUTE") == nullptr) GTEST_SKIP() << "runs only without a default route";
  Program program;
  ASSERT_NE(program.WaitForWindow(), nullptr);
  SearchAndWait(program, false);
  SearchAndWait(program, true);
  EXPECT_TRUE(program.WaitForControlText(IDC_STATUS_LINE, "OK"));
}

// And this one with every PC adapter down, and a route for 255.255.255.255
// on loopback as Windows keeps one: no adapter can broadcast, so nothing is
// sent, not even to loopback, and the status says so.
TEST(ProgramWithEveryAdapterDown, UpdateShowsTheSendFailure) {
  if (std::getenv("LUMORA_LAB_ADAPTERS_DOWN") == nullptr) GTEST_SKIP() << "runs only with every adapter down";
  net::Socket listener = net::OpenUdp();
  net::ReadWatch watch;
  ASSERT_TRUE(net::Bind(listener, 4000) && net::WatchReadable(listener, watch));
  Program program;
  ASSERT_NE(program.WaitForWindow(), nullptr);
  const std::string kFailure = "ERR: sendto error! Errorcode =10051\n";
  EXPECT_TRUE(program.WaitForControlText(IDC_STATUS_LINE, kFailure));
  program.SetControlText(IDC_STATUS_LINE, "");
  program.Press(IDC_UPDATE);
  EXPECT_TRUE(program.WaitForControlText(IDC_STATUS_LINE, kFailure));
  uint8_t datagram[kReceiveSize];
  net::Address from{};
  EXPECT_LT(net::RecvFrom(listener, datagram, sizeof datagram, from), 0) << "a search went to loopback";
  net::CloseWatch(watch);
  net::Close(listener);
}


// The site lab (CMakeLists.txt, assign_site_test.sh): eleven cameras behind
// the first adapter and nine behind the second, all at the factory address
// 192.168.1.64, MACs 00AA0000A001..A00B and 00AA0000B001..B009; each side
// ignores a fifth of the configuration requests, the same ones every run, so
// some are sent again. A host that is no camera (an NVR) answers on
// 10.77.0.105, inside the range, behind the first adapter.
class ProgramAssigningASite : public ::testing::Test {
 protected:
  static constexpr int kCameras = 20;
  static constexpr int kOnA = 11;

  void SetUp() override {
    if (std::getenv("LUMORA_LAB_SITE") == nullptr) GTEST_SKIP() << "runs only in the site lab";
    sideA_ = test::CamsimControl::ForTest();
    sideB_ = test::CamsimControl::ForTest("LUMORA_CAMSIM_B");
    ASSERT_TRUE(sideA_ && sideB_) << "no answer from the simulators";
  }

  // The target MAC of every configuration request a side logged, as
  // "00aa0000a001", with how many each got.
  static std::map<std::string, int> Requests(test::CamsimControl& side) {
    std::map<std::string, int> targets;
    for (int i = 0, n = side.LogCount(); i < n; ++i) {
      std::optional<test::LoggedDatagram> entry = side.LogEntry(i);
      if (entry && entry->bytes.size() >= 13 && entry->bytes[kMagicSize] == kTagMac) {
        ++targets[test::ToHex({entry->bytes.begin() + 7, entry->bytes.begin() + 13})];
      }
    }
    return targets;
  }

  // What the summary says of the NVR's address, after the counts.
  static std::string NvrSkipped() {
    const char* ip = std::getenv("LUMORA_LAB_NVR_IP");
    const char* mac = std::getenv("LUMORA_LAB_NVR_MAC");
    return std::string(". ") + (ip ? ip : "?") + " is in use by " + (mac ? mac : "?") +
           ", which is no listed camera: skipped.";
  }

  std::unique_ptr<test::CamsimControl> sideA_, sideB_;
};

HWND FindAssignDialog(HWND owner) {
  for (HWND w = FindWindowA("#32770", "Assign addresses"); w; w = FindWindowExA(nullptr, w, "#32770", "Assign addresses")) {
    if (GetWindow(w, GW_OWNER) == owner) return w;
  }
  return nullptr;
}

std::string TextOf(HWND window) { return lumora::test::WindowTextOf(window, 2000); }

void SendText(HWND window, const std::string& text) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 2000, &ignored);
}

void ClickButton(HWND button) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
}

// The clipboard's CF_UNICODETEXT, narrowed: the report is ASCII.
std::string ClipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return "(no clipboard)";
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const wchar_t* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
      for (const wchar_t* c = wide; *c; ++c) text += *c < 0x80 ? static_cast<char>(*c) : '?';
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

std::vector<std::string> Split(const std::string& text, const std::string& by) {
  std::vector<std::string> parts;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find(by, from)) != std::string::npos; from = at + by.size()) {
    parts.push_back(text.substr(from, at - from));
  }
  parts.push_back(text.substr(from));
  return parts;
}

// A click that does not wait for the handler: one that opens a modal
// dialog returns only when that dialog is closed.
void PostClick(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// The system's Open or Save As dialog over `owner`, given `path` in its
// file name control (the Explorer style's combo box cmb13, else edt1) and
// closed with OK, as an operator types a name and presses Enter.
bool ChooseFile(HWND owner, const char* caption, const std::string& path) {
  HWND chooser = nullptr;
  auto find = [&] {
    for (HWND w = FindWindowA("#32770", caption); w; w = FindWindowExA(nullptr, w, "#32770", caption)) {
      if (GetWindow(w, GW_OWNER) == owner && IsWindowVisible(w)) chooser = w;
    }
    return chooser != nullptr;
  };
  if (!WaitUntil(find, 10000)) return false;
  HWND name = GetDlgItem(chooser, cmb13);
  if (name != nullptr && IsWindowVisible(name)) {
    if (HWND edit = FindWindowExA(name, nullptr, "Edit", nullptr)) name = edit;
  } else {
    name = GetDlgItem(chooser, edt1);
  }
  if (name == nullptr) return false;
  SendText(name, path);
  PostClick(chooser, IDOK);
  return WaitUntil([&] { return !IsWindow(chooser); }, 10000);
}

std::string TempPath(const char* name) {
  char folder[MAX_PATH] = {};
  GetTempPathA(sizeof folder, folder);
  std::string path = std::string(folder) + name;
  DeleteFileA(path.c_str());
  return path;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

int RowCount(HWND listView) { return static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0)); }

// One flow, as the site's installer works: a plan file opened and
// previewed (nothing sent), the range previewed on the adapter it starts on
// and on all of them (nothing sent, the NVR's address skipped and named),
// applied only
// once the site is as Preview showed it, out of each camera's own adapter and
// verified, the report copied and saved,
// the same range previewed again once the cameras are listed as they now
// are, and the list saved and opened again as a plan that changes nothing.
TEST_F(ProgramAssigningASite, ARangeIsPreviewedAppliedOutOfEachAdapterReportedAndThenUnchanged) {
  Program program;
  ASSERT_NE(program.WaitForWindow(), nullptr);
  ASSERT_TRUE(program.WaitForEntryCount(kCameras, 30000)) << program.EntryCount() << " listed";
  PostMessageA(program.window(), WM_COMMAND, MAKEWPARAM(IDM_ASSIGN_ADDRESSES, 0), 0);
  HWND dialog = nullptr;
  // Shown only once its controls exist and it has initialised.
  ASSERT_TRUE(WaitUntil([&] { return (dialog = FindAssignDialog(program.window())) != nullptr && IsWindowVisible(dialog); },
                        10000))
      << "no Assign addresses dialog: " << program.Describe();
  auto item = [&](int id) { return GetDlgItem(dialog, id); };
  auto summary = [&] { return TextOf(item(IDC_ASSIGN_SUMMARY)); };
  // The mask of the network the first listed camera answered on.
  EXPECT_EQ(TextOf(item(IDC_ASSIGN_MASK)), "255.255.255.0");
  SendText(item(IDC_ASSIGN_FIRST), "10.77.0.100");
  SendText(item(IDC_ASSIGN_PATTERN), "Cam-{n:02}");

  const std::string plan = TempPath("plan.csv");
  std::ofstream(plan, std::ios::binary) << "mac;ip;name\r\n00:AA:00:00:A0:01;10.77.0.200;Plan-1\r\n"
                                          "00:AA:00:00:B0:01;10.77.0.201;Plan-2\r\n";
  PostClick(dialog, IDC_ASSIGN_OPEN_PLAN);
  ASSERT_TRUE(ChooseFile(dialog, "Open", plan)) << DescribeTopLevelWindows();
  EXPECT_TRUE(WaitUntil([&] { return summary() == "plan.csv: 2 would-change"; }, 10000)) << summary();
  EXPECT_EQ(RowCount(item(IDC_ASSIGN_PLAN)), 2);
  EXPECT_TRUE(Requests(*sideA_).empty() && Requests(*sideB_).empty()) << "Open plan sent a request";

  // The range starts on the adapter with the most cameras, and takes only those.
  HWND adapter = item(IDC_ASSIGN_ADAPTER);
  EXPECT_EQ(SendMessageA(adapter, CB_GETCOUNT, 0, 0), 3);
  const std::string busiest = TextOf(adapter), busiestEnd = " 10.77.0.1/24 (11 cameras)";
  EXPECT_TRUE(busiest.size() > busiestEnd.size() && busiest.rfind(busiestEnd) == busiest.size() - busiestEnd.size())
      << busiest;
  // The summary says it is looking until the worker's answer comes.
  ClickButton(item(IDC_ASSIGN_PREVIEW));
  EXPECT_TRUE(WaitUntil([&] { return summary() == "11 would-change" + NvrSkipped(); }, 10000)) << summary();
  ClickButton(item(IDC_ASSIGN_COPY_REPORT));
  std::vector<std::string> rows = Split(ClipboardText(), "\r\n");
  ASSERT_EQ(rows.size(), kOnA + 2u) << ClipboardText();
  for (int n = 1; n <= kOnA; ++n) EXPECT_EQ(rows[n].rfind("00:AA:00:00:A0:", 0), 0u) << rows[n];

  SendMessageA(adapter, CB_SETCURSEL, 0, 0);
  EXPECT_EQ(TextOf(adapter), "All adapters (20 cameras)");
  ClickButton(item(IDC_ASSIGN_PREVIEW));
  EXPECT_TRUE(WaitUntil([&] { return summary() == "20 would-change" + NvrSkipped(); }, 10000)) << summary();
  EXPECT_TRUE(Requests(*sideA_).empty() && Requests(*sideB_).empty()) << "Preview sent a request";

  // Apply searches again: with the second side silent since Preview, the
  // plan is not the one shown, and nothing is sent.
  ASSERT_EQ(sideB_->Command("answer off"), "ok");
  ClickButton(item(IDC_ASSIGN_APPLY));
  const std::string changed = "The site changed since Preview: nothing was sent; this is the new preview.";
  EXPECT_TRUE(WaitUntil([&] { return summary().rfind("11 would-change", 0) == 0 && summary().find(changed) != std::string::npos; },
                        20000))
      << summary();
  EXPECT_EQ(RowCount(item(IDC_ASSIGN_PLAN)), kOnA);
  ASSERT_EQ(sideB_->Command("answer on"), "ok");
  ClickButton(item(IDC_ASSIGN_PREVIEW));
  EXPECT_TRUE(WaitUntil([&] { return summary() == "20 would-change" + NvrSkipped(); }, 10000)) << summary();
  EXPECT_TRUE(Requests(*sideA_).empty() && Requests(*sideB_).empty()) << "Apply sent what Preview did not show";

  // The site as Preview showed it: the job starts.
  ClickButton(item(IDC_ASSIGN_APPLY));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(GetDlgItem(program.window(), IDC_UPDATE)); }, 10000))
      << "Update stays usable during the job";
  EXPECT_TRUE(WaitUntil([&] { return summary() == "20 changed"; }, 120000)) << summary();

  for (auto [side, letter] : {std::pair{sideA_.get(), 'a'}, std::pair{sideB_.get(), 'b'}}) {
    std::map<std::string, int> targets = Requests(*side);
    EXPECT_EQ(targets.size(), static_cast<std::size_t>(letter == 'a' ? kOnA : kCameras - kOnA)) << letter;
    for (const auto& [mac, count] : targets) EXPECT_EQ(mac[8], letter) << mac << " got " << count << " on side " << letter;
  }

  ClickButton(item(IDC_ASSIGN_COPY_REPORT));
  std::vector<std::string> lines = Split(ClipboardText(), "\r\n");
  ASSERT_EQ(lines.size(), kCameras + 2u) << ClipboardText();  // the header, the rows, and "" after the last CRLF
  EXPECT_EQ(lines[0], "mac\tstatus\tinterface\tchanges\treason");
  EXPECT_EQ(lines.back(), "");
  std::set<std::string> interfaces[2];
  for (int n = 1; n <= kCameras; ++n) {
    SCOPED_TRACE(lines[n]);
    std::vector<std::string> cells = Split(lines[n], "\t");
    ASSERT_EQ(cells.size(), 5u);
    const bool onA = n <= kOnA;
    char mac[32], ip[32], name[32];
    std::snprintf(mac, sizeof mac, "00:AA:00:00:%c0:%02X", onA ? 'A' : 'B', onA ? n : n - kOnA);
    // 10.77.0.100 on, the NVR's 10.77.0.105 left alone.
    // The name numbers the address's place in the range.
    const int host = n <= 5 ? 99 + n : 100 + n;
    std::snprintf(ip, sizeof ip, "10.77.0.%d", host);
    std::snprintf(name, sizeof name, "Cam-%02d", host - 99);
    EXPECT_EQ(cells[0], mac);
    EXPECT_EQ(cells[1], "changed");
    EXPECT_FALSE(cells[2].empty());
    interfaces[onA ? 0 : 1].insert(cells[2]);
    // In the settings' order, as lumora apply reports; each simulator
    // numbers its cameras from 1.
    EXPECT_EQ(cells[3], "name: Camera-" + std::to_string(onA ? n : n - kOnA) + " -> " + name + "; ip: 192.168.1.64 -> " + ip);
    EXPECT_EQ(cells[4], "");
  }
  EXPECT_EQ(interfaces[0].size(), 1u);
  EXPECT_EQ(interfaces[1].size(), 1u);
  EXPECT_NE(interfaces[0], interfaces[1]);

  // The same report as a UTF-8 CSV file, as lumora apply --format csv writes it.
  const std::string report = TempPath("report.csv");
  PostClick(dialog, IDC_ASSIGN_SAVE_REPORT);
  ASSERT_TRUE(ChooseFile(dialog, "Save As", report)) << DescribeTopLevelWindows();
  std::string sheet = ClipboardText();
  std::replace(sheet.begin(), sheet.end(), '\t', ',');
  // The program writes the file after the chooser has closed.
  EXPECT_TRUE(WaitUntil([&] { return ReadWholeFile(report) == "\xEF\xBB\xBF" + sheet; }, 10000))
      << ReadWholeFile(report);

  // The job's own search lists the cameras as they now are.
  ASSERT_TRUE(program.WaitForEntryCount(kCameras, 30000)) << program.EntryCount() << " listed";
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(program.window(), IDC_UPDATE)));
  int logged = sideA_->LogCount() + sideB_->LogCount();
  ClickButton(item(IDC_ASSIGN_PREVIEW));
  EXPECT_TRUE(WaitUntil([&] { return summary() == "20 unchanged" + NvrSkipped(); }, 10000)) << summary();
  EXPECT_EQ(sideA_->LogCount() + sideB_->LogCount(), logged) << "Preview sent something";

  const std::string list = TempPath("list.csv");
  PostMessageA(program.window(), WM_COMMAND, MAKEWPARAM(IDM_SAVE_LIST, 0), 0);
  ASSERT_TRUE(ChooseFile(program.window(), "Save As", list)) << DescribeTopLevelWindows();
  EXPECT_TRUE(WaitUntil([&] { return ReadWholeFile(list).rfind("\xEF\xBB\xBFmac,name,", 0) == 0; }, 10000))
      << ReadWholeFile(list);
  PostClick(dialog, IDC_ASSIGN_OPEN_PLAN);
  ASSERT_TRUE(ChooseFile(dialog, "Open", list)) << DescribeTopLevelWindows();
  EXPECT_TRUE(WaitUntil([&] { return summary() == "list.csv: 20 unchanged"; }, 10000)) << summary();
  EXPECT_EQ(RowCount(item(IDC_ASSIGN_PLAN)), kCameras);
  EXPECT_EQ(sideA_->LogCount() + sideB_->LogCount(), logged) << "Open plan sent something";
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
  // The first process of a Wine session that needs the desktop starts it.
  // Left to the first child, it is started while this process looks for the
  // child's window, two processes at once; bring it up from here first.
  HWND probe = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  if (probe == nullptr) {
    std::fprintf(stderr, "no window can be made in this Wine session (error %lu): no desktop?\n", GetLastError());
    return 1;
  }
  DestroyWindow(probe);
  if (lumora::net::Startup() != 0) return 1;
  int result = RUN_ALL_TESTS();
  lumora::net::Cleanup();
  return result;
}

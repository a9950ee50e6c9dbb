// The web page launch: the browser command formed from the registry value,
// and the calls a double click makes, recorded at the seam.
#include "ui/web_launch.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/app/dialog_fixture.h"
#include "tests/support/reply_builder.h"

namespace lumora {
namespace {

std::string Formed(const std::string& value, bool* fitted = nullptr) {
  char buffer[kBrowserBufferSize] = {};
  std::memcpy(buffer, value.data(), value.size() < kBrowserBufferSize - 1 ? value.size() : kBrowserBufferSize - 1);
  bool ok = FormBrowserCommand(buffer);
  if (fitted) *fitted = ok;
  EXPECT_EQ(buffer[kBrowserBufferSize - 1], '\0');
  return buffer;
}

TEST(FormBrowserCommand, KeepsTheTextUpToTheLastBackslash) {
  const struct {
    std::string value, command;
  } kRows[] = {
      {"\"C:\\Program Files\\Internet Explorer\\iexplore.exe\" %1",
       "\"C:\\Program Files\\Internet Explorer\\iexplore.exe "},
      {"C:\\Browsers\\", "C:\\Browsers\\iexplore.exe "},
      {"C:\\IE\\iexplore.exe -nohome \\\\server\\share", "C:\\IE\\iexplore.exe -nohome \\\\server\\iexplore.exe "},
      {"iexplore.exe %1", kFallbackBrowser},
      {"", kFallbackBrowser},
  };
  for (const auto& row : kRows) EXPECT_EQ(Formed(row.value), row.command) << row.value;
}

TEST(FormBrowserCommand, NeverRunsPastItsBufferNorCutsTheCommand) {
  for (std::size_t at : {246u, 247u, 259u}) {
    SCOPED_TRACE(at);
    std::string value(at, 'a');
    value += '\\';
    value.resize(kBrowserBufferSize - 1, 'b');  // all that the read may store
    bool fitted = false;
    std::string command = Formed(value, &fitted);
    if (at == 246) {
      EXPECT_TRUE(fitted);
      EXPECT_EQ(command, std::string(246, 'a') + "\\iexplore.exe ");
      EXPECT_EQ(command.size(), 260u);
    } else {
      EXPECT_FALSE(fitted);
      EXPECT_EQ(command, value);  // untouched, and not run
    }
  }
}

// The launch calls of one double click, in order.
std::vector<std::string> gCalls;
UINT WINAPI RecordWinExec(LPCSTR command, UINT show) {
  gCalls.push_back("WinExec " + std::string(command) + " " + std::to_string(show));
  return 33;
}
HINSTANCE WINAPI RecordShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                                    INT show) {
  bool plain = owner == nullptr && verb == nullptr && parameters == nullptr && directory == nullptr;
  gCalls.push_back("ShellExecute " + std::string(file) + " " + std::to_string(show) + (plain ? "" : " (not plain)"));
  return reinterpret_cast<HINSTANCE>(33);
}
BOOL WINAPI RecordSetForeground(HWND window) {
  gCalls.push_back(window != nullptr && window == App().dialog ? "SetForeground dialog" : "SetForeground other");
  return TRUE;
}
const WebLaunchCalls kRecording = {RecordWinExec, RecordShellExecute, RecordSetForeground};

constexpr char kKey[] = "SOFTWARE\\Classes\\Applications\\iexplore.exe\\shell\\open\\command";

class WebLaunchTest : public test::DialogTest {
 protected:
  void SetUp() override {
    gCalls.clear();
    SetWebLaunchCalls(&kRecording);
    ASSERT_NE(Create(false), nullptr);
    test::ReplyBuilder cam = test::CameraReply(1, "Cam");  // 192.168.77.1, port 80
    cam.Port(0x14, 8080);
    Receive({cam.bytes()});
  }
  void TearDown() override {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kKey);
    SetWebLaunchCalls(nullptr);
    DialogTest::TearDown();
  }
  void SetBrowserValue(const std::string& value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
  }
};

TEST_F(WebLaunchTest, WithoutTheKeyOnlyTheShellOpensThePage) {
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, kKey);
  Select(0, LBN_DBLCLK);
  EXPECT_EQ(gCalls, std::vector<std::string>{"ShellExecute http://192.168.77.1:8080/index.html 1"});
}

TEST_F(WebLaunchTest, WithTheKeyTheBrowserStartsThenTheShellThenTheDialogComesForward) {
  SetBrowserValue("\"C:\\Program Files\\Internet Explorer\\iexplore.exe\" %1");
  Select(0, LBN_DBLCLK);
  EXPECT_EQ(gCalls, (std::vector<std::string>{"WinExec \"C:\\Program Files\\Internet Explorer\\iexplore.exe  3",
                                              "ShellExecute http://192.168.77.1:8080/index.html 1",
                                              "SetForeground dialog"}));
}

TEST_F(WebLaunchTest, AValueThatFormsNoCommandStartsNoBrowser) {
  SetBrowserValue(std::string(250, 'x') + "\\y");
  Select(0, LBN_DBLCLK);
  EXPECT_EQ(gCalls, (std::vector<std::string>{"ShellExecute http://192.168.77.1:8080/index.html 1",
                                              "SetForeground dialog"}));
}

TEST_F(WebLaunchTest, OnlyADoubleClickOnAnEntryOpensAnything) {
  SetBrowserValue("C:\\IE\\iexplore.exe");
  for (WORD code : {LBN_SELCHANGE, LBN_SETFOCUS, LBN_KILLFOCUS, LBN_SELCANCEL}) Select(0, code);
  SendMessageA(Item(IDC_DEVICE_LIST), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  Command(IDC_DEVICE_LIST, LBN_DBLCLK);
  EXPECT_TRUE(gCalls.empty());
}

}  // namespace
}  // namespace lumora

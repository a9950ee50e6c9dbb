// Process entry: the title, the single-instance check, the dialog and the
// message loop.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdio>

#include "app/app_state.h"
#include "app/main_dialog.h"
#include "app/message_loop.h"
#include "resources/resource_ids.h"

namespace {

// Another copy already shows a dialog with our title: bring it forward.
bool ForwardToRunningCopy(const char* title) {
  HWND other = FindWindowA("#32770", title);
  if (other == nullptr) return false;
  if (IsIconic(other)) {
    ShowWindow(other, SW_RESTORE);
  } else {
    SetForegroundWindow(other);
  }
  return true;
}

int RunMessageLoop(HWND dialog) {
  MSG msg;
  BOOL got;
  // GetMessageA answers -1 on an error; that ends the loop too, rather than
  // spinning on it.
  while ((got = GetMessageA(&msg, nullptr, 0, 0)) != 0 && got != -1) {
    lumora::HandleLoopMessage(dialog, msg);
  }
  return got == 0 ? static_cast<int>(msg.wParam) : 1;
}

int RunDialog(HINSTANCE instance, int showCommand) {
  lumora::AppState& app = lumora::App();
  HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, lumora::MainDialogProc, 0);
  if (dialog == nullptr) {
    // Without a window nothing could ever end the message loop.
    MessageBoxA(nullptr, "Lumora Search could not create its window.", app.title, MB_OK | MB_ICONERROR);
    return 1;
  }
  app.instance = instance;  // the dialog handle was recorded while it initialised
  SetWindowTextA(dialog, app.title);
  ShowWindow(dialog, showCommand);
  return RunMessageLoop(dialog);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  lumora::AppState& app = lumora::App();
  char szTitle[256] = {};
  LoadStringA(instance, IDS_TITLE, szTitle, 255);
  std::snprintf(app.title, sizeof app.title, "%s", szTitle);  // the title buffer starts empty

  if (ForwardToRunningCopy(app.title)) return 0;

  // The manifest asks for Common Controls 6; loading it before the first
  // window is what makes the dialog's controls take the visual styles on
  // every supported Windows.
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);

  // ShellExecute may hand the page address to a shell extension that is a
  // COM object, so COM must be initialised on the thread that calls it, for
  // as long as it may; this thread is the dialog's.
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  int code = RunDialog(instance, showCommand);
  if (SUCCEEDED(com)) CoUninitialize();
  return code;
}

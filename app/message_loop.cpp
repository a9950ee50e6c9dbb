#include "app/message_loop.h"

#include "app/app_state.h"

namespace lumora {
namespace {

bool IsKeyMessage(UINT message) {
  return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR || message == WM_SYSKEYDOWN ||
         message == WM_SYSKEYUP || message == WM_SYSCHAR;
}

bool BelongsToDialog(HWND dialog, HWND target) {
  return target != nullptr && (target == dialog || IsChild(dialog, target));
}

}  // namespace

bool IsHeldBackDialogKey(HWND dialog, const MSG& msg) {
  if (dialog == nullptr || !IsKeyMessage(msg.message)) return false;
  // VK_RETURN and VK_ESCAPE have the same values as the characters '\r' and
  // 0x1B, so one test covers the key messages and the WM_CHAR that follow.
  if (msg.wParam != VK_RETURN && msg.wParam != VK_ESCAPE) return false;
  return BelongsToDialog(dialog, msg.hwnd);
}

void HandleLoopMessage(HWND dialog, MSG& msg) {
  // Before IsDialogMessageA, which would act on them.
  if (IsHeldBackDialogKey(dialog, msg)) return;
  if (dialog != nullptr && IsDialogMessageA(dialog, &msg)) return;
  // The modeless "Assign addresses" takes Tab, Enter and Esc as any dialog.
  HWND assign = App().assignDialog;
  if (assign != nullptr && IsDialogMessageA(assign, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

}  // namespace lumora

#include "dialog_driver.h"

#include <string>

namespace {

struct Driver {
  std::function<void(HWND)> script;
  HWND dialog = nullptr;
  HHOOK hook = nullptr;
};
Driver* current = nullptr;

void CALLBACK RunScript(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  HWND dialog = current->dialog;
  current->script(dialog);
  if (IsWindow(dialog)) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && current && !current->dialog) {
    current->dialog = reinterpret_cast<HWND>(wParam);
    SetTimer(nullptr, 0, 0, RunScript);
  }
  return CallNextHookEx(current ? current->hook : nullptr, code, wParam, lParam);
}

}  // namespace

int DriveDialog(const std::function<int()>& open, const std::function<void(HWND)>& script) {
  Driver driver;
  driver.script = script;
  current = &driver;
  driver.hook = SetWindowsHookExA(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
  const int result = open();
  UnhookWindowsHookEx(driver.hook);
  current = nullptr;
  return result;
}

void ScrollSlider(HWND dialog, int sliderId, int code, int thumb) {
  HWND bar = GetDlgItem(dialog, sliderId);
  SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(code, thumb), reinterpret_cast<LPARAM>(bar));
}

void ClickButton(HWND dialog, int buttonId) { SendMessageA(GetDlgItem(dialog, buttonId), BM_CLICK, 0, 0); }

std::string WindowText(HWND window) {
  char text[256] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

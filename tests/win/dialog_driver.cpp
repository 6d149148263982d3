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
  if (!IsWindowVisible(dialog)) {  // as a user, wait until the dialog is on screen
    SetTimer(nullptr, 0, 10, RunScript);
    return;
  }
  current->script(dialog);
  if (IsWindow(dialog) && IsWindowVisible(dialog)) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);  // not ended yet
}

// The first top-level dialog window created; the timer's message arrives once its modal loop
// runs, after WM_INITDIALOG.
bool IsTopLevelDialog(HWND window, const CBT_CREATEWNDA* create) {
  char name[16] = "";
  GetClassNameA(window, name, sizeof name);
  return lstrcmpA(name, "#32770") == 0 && !(create->lpcs->style & WS_CHILD);
}

LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam) {
  HWND window = reinterpret_cast<HWND>(wParam);
  if (code == HCBT_CREATEWND && current && !current->dialog &&
      IsTopLevelDialog(window, reinterpret_cast<const CBT_CREATEWNDA*>(lParam))) {
    current->dialog = window;
    SetTimer(nullptr, 0, 0, RunScript);
  }
  return CallNextHookEx(current ? current->hook : nullptr, code, wParam, lParam);
}

}  // namespace

int DriveDialog(const std::function<int()>& open, const std::function<void(HWND)>& script) {
  Driver driver;
  driver.script = script;
  Driver* outer = current;  // the driver whose script opens this dialog, if any
  current = &driver;
  driver.hook = SetWindowsHookExA(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
  const int result = open();
  UnhookWindowsHookEx(driver.hook);
  current = outer;
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

std::string ClickAndAnswerFileDialog(HWND dialog, int button, const std::string& path) {
  // The name box of the file dialog: the combo box of the explorer style, or the edit box.
  constexpr int kNameCombo = 0x47c, kNameEdit = 0x480;
  std::string title;
  DriveDialog([&] { return ClickButton(dialog, button), 0; },
              [&](HWND files) {
                title = WindowText(files);
                if (path.empty()) return;  // left open: cancelled
                HWND name = GetDlgItem(files, kNameCombo);
                SetWindowTextA(name ? name : GetDlgItem(files, kNameEdit), path.c_str());
                ClickButton(files, IDOK);
              });
  return title;
}

std::string ScratchFile(const std::string& name) {
  char folder[MAX_PATH] = "";
  GetTempPathA(sizeof folder, folder);
  const std::string path = std::string(folder) + name;
  DeleteFileA(path.c_str());
  return path;
}

#include "file_dialog_driver.h"

namespace {

// The name box of the file dialog: the combo box of the explorer style, or the edit box.
constexpr int kNameCombo = 0x47c;
constexpr int kNameEdit = 0x480;

struct Answer {
  HWND owner = nullptr;
  std::string path;
  HHOOK hook = nullptr;
  HWND fileDialog = nullptr;
  FileDialogSeen seen;
};
Answer* answer = nullptr;

void CALLBACK Type(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  HWND box = answer->fileDialog;
  if (!IsWindow(box)) return;
  if (!IsWindowVisible(box)) {
    SetTimer(nullptr, 0, 10, Type);
    return;
  }
  char title[128] = "";
  GetWindowTextA(box, title, sizeof title);
  answer->seen.title = title;
  if (answer->path.empty()) {
    PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    return;
  }
  HWND name = GetDlgItem(box, kNameCombo);
  if (!name) name = GetDlgItem(box, kNameEdit);
  SetWindowTextA(name, answer->path.c_str());
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
}

LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
  HWND window = reinterpret_cast<HWND>(wParam);
  char name[16] = "";
  if (code == HCBT_ACTIVATE && answer && !answer->fileDialog && window != answer->owner &&
      GetClassNameA(window, name, sizeof name) && lstrcmpA(name, "#32770") == 0) {
    answer->fileDialog = window;
    answer->seen.shown = true;
    SetTimer(nullptr, 0, 0, Type);
  }
  return CallNextHookEx(answer ? answer->hook : nullptr, code, wParam, lParam);
}

}  // namespace

FileDialogSeen ClickAndAnswerFileDialog(HWND dialog, int button, const std::string& path) {
  Answer current;
  current.owner = dialog;
  current.path = path;
  answer = &current;
  current.hook = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
  SendMessageA(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
  UnhookWindowsHookEx(current.hook);
  answer = nullptr;
  return current.seen;
}

std::string ScratchFile(const std::string& name) {
  char folder[MAX_PATH] = "";
  GetTempPathA(sizeof folder, folder);
  const std::string path = std::string(folder) + name;
  DeleteFileA(path.c_str());
  return path;
}

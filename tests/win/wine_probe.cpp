// The probes behind wine_probe.h. The edit box probe runs in a child process (this executable
// started again with kEditChildArg) because where WM_SETTEXT crashes it takes the process down.
#include "wine_probe.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>

#include <windows.h>

namespace {

const wchar_t kEditChildArg[] = L"--fxui-probe-edit-text";
const DWORD kChildTimeoutMs = 20000;

std::mutex findingsLock;
std::map<std::string, std::string>& Findings() {
  static std::map<std::string, std::string> findings;
  return findings;
}

// Keeps the answer of a probe and, when it failed, what it saw.
bool Record(const char* probeCall, const std::string& failure) {
  std::lock_guard<std::mutex> hold(findingsLock);
  Findings()[probeCall] = failure;
  return failure.empty();
}

std::string Format(const char* format, unsigned long value) {
  char text[160];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// Fills a 4 x 4 top-down DIB section with one colour through GDI and reads it back both
// from the bits and through GetPixel.
std::string DrawAndReadBack() {
  const COLORREF colour = RGB(10, 200, 30);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = 4;
  info.bmiHeader.biHeight = -4;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  if (screen) ReleaseDC(nullptr, screen);
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dc || !bitmap || !bits) {
    if (bitmap) DeleteObject(bitmap);
    if (dc) DeleteDC(dc);
    return dc ? "CreateDIBSection failed" : "CreateCompatibleDC failed";
  }
  std::memset(bits, 0, 4 * 4 * 4);
  HGDIOBJ old = SelectObject(dc, bitmap);
  HBRUSH brush = CreateSolidBrush(colour);
  RECT all{0, 0, 4, 4};
  FillRect(dc, &all, brush);
  GdiFlush();
  const uint8_t* p = static_cast<const uint8_t*>(bits) + (2 * 4 + 1) * 4;  // pixel (1, 2), BGRX
  const bool bitsOk = p[0] == 30 && p[1] == 200 && p[2] == 10;
  const COLORREF read = GetPixel(dc, 1, 2);
  SelectObject(dc, old);
  DeleteObject(brush);
  DeleteObject(bitmap);
  DeleteDC(dc);
  if (!bitsOk) return "FillRect into a DIB section left its bits unchanged";
  if (read != colour) return Format("GetPixel answered 0x%08lX after FillRect", read);
  return {};
}

std::string CreateComboBox() {
  HWND combo = CreateWindowExA(0, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL, 0, 0, 120, 200,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!combo) return Format("creating a combo box failed (error %lu)", GetLastError());
  DestroyWindow(combo);
  return {};
}

// A crash in the child ends it at once with the exception code, instead of waiting for a
// debugger to attach.
LONG WINAPI EndOnCrash(EXCEPTION_POINTERS* exception) {
  TerminateProcess(GetCurrentProcess(), exception->ExceptionRecord->ExceptionCode);
  return EXCEPTION_EXECUTE_HANDLER;
}

// In the child: sets an edit box's text and reads it back; the exit code tells the parent.
[[noreturn]] void EditTextChild() {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  SetUnhandledExceptionFilter(EndOnCrash);
  HWND edit = CreateWindowExA(0, "EDIT", "", ES_AUTOHSCROLL, 0, 0, 100, 20, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  if (!edit) ExitProcess(2);
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("42"));
  char text[8] = {};
  SendMessageA(edit, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  DestroyWindow(edit);
  ExitProcess(std::strcmp(text, "42") == 0 ? 0 : 3);
}

// Runs before main in every test executable: the child run does its probe and exits.
[[maybe_unused]] const bool kIsEditChild = [] {
  if (std::wcsstr(GetCommandLineW(), kEditChildArg)) EditTextChild();
  return false;
}();

std::string EditTextInChild() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return "cannot find this executable to start the probe";
  std::wstring commandLine = L"\"" + std::wstring(path) + L"\" " + kEditChildArg;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(path, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return Format("cannot start the probe process (error %lu)", GetLastError());
  DWORD code = 1;
  const bool ended = WaitForSingleObject(process.hProcess, kChildTimeoutMs) == WAIT_OBJECT_0;
  if (!ended) TerminateProcess(process.hProcess, 1);
  else GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (!ended) return "WM_SETTEXT to an edit box hung the probe process";
  switch (code) {
    case 0: return {};
    case 2: return "creating an edit box failed";
    case 3: return "an edit box did not keep the text WM_SETTEXT gave it";
    default: return Format("WM_SETTEXT to an edit box ended the probe process with code 0x%08lX", code);
  }
}

}  // namespace

bool PixelsReadable() {
  static const bool ok = Record("PixelsReadable()", DrawAndReadBack());
  return ok;
}

bool ComboBoxesWork() {
  static const bool ok = Record("ComboBoxesWork()", CreateComboBox());
  return ok;
}

bool EditTextWorks() {
  static const bool ok = Record("EditTextWorks()", EditTextInChild());
  return ok;
}

std::string ProbeFinding(const char* probeCall) {
  std::lock_guard<std::mutex> hold(findingsLock);
  auto found = Findings().find(probeCall);
  return found == Findings().end() ? std::string() : found->second;
}

bool NoteUnless(bool ok, const char* probeCall, const std::string& what) {
  if (ok) return true;
  const std::string line = what + " needs " + probeCall + ", which fails here: " + ProbeFinding(probeCall);
  std::printf("[  SKIPPED ] %s\n", line.c_str());
  std::fflush(stdout);
  ::testing::Test::RecordProperty("skipped", line);
  return false;
}

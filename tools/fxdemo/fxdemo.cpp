// fxdemo: a small host. It loads a BMP into a HostImage, opens an effect's dialog through
// GetFxParam (or the effect browser through GetFxBrowserParam) and, after OK, applies the
// returned record to the whole picture with ApplyEffect and saves the result.
//
//   fxdemo [--effect N | --browser] [--auto] [--screenshot SHOT.bmp] INPUT.bmp OUTPUT.bmp
//
// --auto plays the user: it moves the dialog's first slider to three quarters of its range,
// waits for the After preview, takes the screenshot if asked, and presses OK. In the browser
// it walks through a few entries the same way, with one screenshot per entry (SHOT-1-name.bmp
// and so on), and keeps the last one.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <windows.h>

#include "fxui.h"
#include "image/dib.h"
#include "resources/resource.h"
#include "tools/bmp/bmp_file.h"

namespace {

struct Options {
  int effect = EFFECT_BRIGHTNESS_CONTRAST;
  bool browser = false;
  bool automatic = false;
  std::string screenshot;
  std::string input, output;
};

constexpr UINT kMoveDelay = 500;      // ms after the dialog appears
constexpr UINT kRenderDelay = 1500;   // ms for the After preview's timer to render

// The browser entries the scripted user visits, in order; the last one is applied.
const char* const kBrowserTour[] = {"Hue and Saturation", "Emboss", "Mosaic", "Whirlpool", "Oil Painting"};
constexpr int kBrowserTourLength = sizeof kBrowserTour / sizeof kBrowserTour[0];

struct AutoUser {
  const Options* options = nullptr;
  HWND dialog = nullptr;
  HHOOK hook = nullptr;
  int tourStep = 0;  // the browser entry being shown
};
AutoUser autoUser;

// Moves the first horizontal scroll bar among the dialog's children, then stops.
BOOL CALLBACK MoveFirstSlider(HWND child, LPARAM dialog) {
  char name[32] = "";
  GetClassNameA(child, name, sizeof name);
  if (lstrcmpiA(name, "ScrollBar") != 0 || (GetWindowLongA(child, GWL_STYLE) & SBS_VERT)) return TRUE;
  int low = 0, high = 0;
  GetScrollRange(child, SB_CTL, &low, &high);
  const int position = low + (high - low) * 3 / 4;
  SendMessageA(reinterpret_cast<HWND>(dialog), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, position),
               reinterpret_cast<LPARAM>(child));
  return FALSE;
}

// The dialog as it is on screen, saved as a 24-bit BMP.
bool SaveScreenshot(HWND window, const std::string& path) {
  RECT r;
  GetWindowRect(window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int stride = DibRowStride(w, 24);
  HGLOBAL dib = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, kDibHeaderSize + size_t(stride) * h);
  auto* bits = dib ? static_cast<BITMAPINFO*>(GlobalLock(dib)) : nullptr;
  if (!bits) return false;
  bits->bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, DWORD(stride * h), 0, 0, 0, 0};
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  const int rows = GetDIBits(memory, bitmap, 0, h, reinterpret_cast<BYTE*>(bits) + kDibHeaderSize, bits, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  bits->bmiHeader.biClrUsed = 0;  // GetDIBits may fill it in; a 24-bit DIB here has no palette
  GlobalUnlock(dib);
  std::string error;
  const bool saved = rows == h && SaveBmpFile(path, dib, &error);
  if (!saved) std::fprintf(stderr, "fxdemo: no screenshot: %s\n", error.empty() ? "screen not readable" : error.c_str());
  GlobalFree(dib);
  return saved;
}

// SHOT.bmp becomes SHOT-2-emboss.bmp for the second entry "Emboss".
std::string TourScreenshotPath(const std::string& shot, int step, const char* entry) {
  std::string slug;
  for (const char* c = entry; *c; ++c) slug += *c == ' ' ? '-' : char(std::tolower(static_cast<unsigned char>(*c)));
  const size_t dot = shot.rfind('.');
  const std::string stem = dot == std::string::npos ? shot : shot.substr(0, dot);
  const std::string extension = dot == std::string::npos ? ".bmp" : shot.substr(dot);
  return stem + "-" + std::to_string(step + 1) + "-" + slug + extension;
}

// The effect dialog embedded in the browser: its visible dialog child.
HWND EmbeddedDialog(HWND browser) {
  for (HWND child = GetWindow(browser, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[16] = "";
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpA(name, "#32770") == 0 && IsWindowVisible(child)) return child;
  }
  return nullptr;
}

void CALLBACK ChooseTourEntry(HWND, UINT, UINT_PTR timer, DWORD);

// The entry's After preview has rendered: screenshot, then the next entry or OK.
void CALLBACK ShootTourEntry(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  const char* entry = kBrowserTour[autoUser.tourStep];
  const std::string& shot = autoUser.options->screenshot;
  if (!shot.empty()) {
    const std::string path = TourScreenshotPath(shot, autoUser.tourStep, entry);
    if (SaveScreenshot(autoUser.dialog, path)) std::printf("screenshot of \"%s\": %s\n", entry, path.c_str());
  }
  if (++autoUser.tourStep < kBrowserTourLength) {
    SetTimer(nullptr, 0, 0, ChooseTourEntry);
  } else {
    SendMessageA(GetDlgItem(autoUser.dialog, IDOK), BM_CLICK, 0, 0);
  }
}

// Chooses the next entry as a user does (the list notifies the browser) and moves the
// embedded dialog's first slider.
void CALLBACK ChooseTourEntry(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  HWND list = GetDlgItem(autoUser.dialog, IDC_BROWSER_LIST);
  const LPARAM name = reinterpret_cast<LPARAM>(kBrowserTour[autoUser.tourStep]);
  SendMessageA(list, CB_SETCURSEL, SendMessageA(list, CB_FINDSTRINGEXACT, WPARAM(-1), name), 0);
  SendMessageA(autoUser.dialog, WM_COMMAND, MAKEWPARAM(IDC_BROWSER_LIST, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  if (HWND embedded = EmbeddedDialog(autoUser.dialog)) {
    EnumChildWindows(embedded, MoveFirstSlider, reinterpret_cast<LPARAM>(embedded));
  }
  SetTimer(nullptr, 0, kRenderDelay, ShootTourEntry);
}

void CALLBACK FinishAuto(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  if (!autoUser.options->screenshot.empty() && SaveScreenshot(autoUser.dialog, autoUser.options->screenshot)) {
    std::printf("screenshot of the dialog: %s\n", autoUser.options->screenshot.c_str());
  }
  SendMessageA(GetDlgItem(autoUser.dialog, IDOK), BM_CLICK, 0, 0);
}

void CALLBACK MoveSliders(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  EnumChildWindows(autoUser.dialog, MoveFirstSlider, reinterpret_cast<LPARAM>(autoUser.dialog));
  SetTimer(nullptr, 0, kRenderDelay, FinishAuto);
}

LRESULT CALLBACK WatchDialogs(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && !autoUser.dialog) {
    autoUser.dialog = reinterpret_cast<HWND>(wParam);
    SetTimer(nullptr, 0, kMoveDelay, autoUser.options->browser ? ChooseTourEntry : MoveSliders);
  }
  return CallNextHookEx(autoUser.hook, code, wParam, lParam);
}

// The picture as a one-entry HostImage with an opaque mask; null for kinds the previews do
// not take.
HGLOBAL MakeHostImage(HGLOBAL image) {
  const int kind = ClassifyDib(image);
  int w = 0, h = 0;
  if ((kind != kDibRgb24 && kind != kDibGreyRamp) || !GetDibSize(image, &w, &h)) return nullptr;
  const int stride = DibRowStride(w, 8);
  const size_t offset = kDibHeaderSize + 4 * kGreyRampColors;
  HGLOBAL mask = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, offset + size_t(stride) * h);
  auto* bits = static_cast<uint8_t*>(GlobalLock(mask));
  BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), w, h, 1, 8, BI_RGB, DWORD(stride * h), 0, 0, kGreyRampColors, 0};
  std::memcpy(bits, &header, sizeof header);
  for (uint32_t i = 0; i < kGreyRampColors; ++i) std::memset(bits + kDibHeaderSize + 4 * i, int(i), 3);
  std::memset(bits + offset, 255, size_t(stride) * h);
  GlobalUnlock(mask);

  HGLOBAL host = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(HostImage));
  auto* record = static_cast<HostImage*>(GlobalLock(host));
  record->width = w;
  record->height = h;
  record->imageType = kind == kDibGreyRamp ? 8 : 24;
  record->entryCount = 1;
  record->entries[0].image = image;
  record->entries[0].mask = mask;
  GlobalUnlock(host);
  return host;
}

bool ParseOptions(int argc, char** argv, Options* options) {
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--effect" && i + 1 < argc) {
      options->effect = std::atoi(argv[++i]);
    } else if (arg == "--browser") {
      options->browser = true;
    } else if (arg == "--auto") {
      options->automatic = true;
    } else if (arg == "--screenshot" && i + 1 < argc) {
      options->screenshot = argv[++i];
    } else if (arg.compare(0, 2, "--") == 0) {
      return false;
    } else {
      files.push_back(arg);
    }
  }
  if (files.size() != 2) return false;
  options->input = files[0];
  options->output = files[1];
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) {
    std::fprintf(stderr, "usage: fxdemo [--effect N | --browser] [--auto] [--screenshot SHOT.bmp] INPUT.bmp OUTPUT.bmp\n");
    return 1;
  }
  std::string error;
  HGLOBAL image = LoadBmpFile(options.input, &error);
  if (!image) {
    std::fprintf(stderr, "fxdemo: %s\n", error.c_str());
    return 1;
  }
  HGLOBAL host = MakeHostImage(image);
  if (!host) {
    std::fprintf(stderr, "fxdemo: %s is neither a 24-bit nor an 8-bit grey picture\n", options.input.c_str());
    GlobalFree(image);
    return 1;
  }
  GetFxuiBackgroundSetting(8, 0x00FFFFFF, 0x00C0C0C0);  // a light checkerboard behind the previews

  if (options.automatic) {
    autoUser.options = &options;
    autoUser.hook = SetWindowsHookExA(WH_CBT, WatchDialogs, nullptr, GetCurrentThreadId());
  }
  std::vector<int32_t> record(1024, 0);
  const int answer = options.browser ? GetFxBrowserParam(nullptr, host, &options.effect, record.data(), 0)
                                     : GetFxParam(options.effect, nullptr, host, record.data());
  if (autoUser.hook) UnhookWindowsHookEx(autoUser.hook);

  int status = 0;
  if (answer == 1) {
    std::printf("effect %d, record:", options.effect);
    for (int i = 0; i < 4; ++i) std::printf(" %d", record[i]);
    std::printf(" ...\n");
    HGLOBAL result = ApplyEffect(image, options.effect, record.data());
    if (!result) {
      std::fprintf(stderr, "fxdemo: the effect gave no image for these parameters\n");
      status = 2;
    } else if (!SaveBmpFile(options.output, result, &error)) {
      std::fprintf(stderr, "fxdemo: %s\n", error.c_str());
      status = 1;
    } else {
      std::printf("result: %s\n", options.output.c_str());
    }
    if (result) GlobalFree(result);
  } else {
    const char* reason = answer == 0 ? "cancelled" : options.browser ? "the browser could not be shown" : "effect has no dialog";
    std::fprintf(stderr, "fxdemo: %s\n", reason);
    status = answer == 0 ? 0 : 2;
  }
  auto* record_ = static_cast<HostImage*>(GlobalLock(host));
  GlobalFree(record_->entries[0].mask);
  GlobalUnlock(host);
  GlobalFree(host);
  GlobalFree(image);
  return status;
}

// The Tone Adjustment dialog through GetFxParam, driven as a user would: its sliders, channel
// buttons and "&Auto" against the record and the labels, the panel's painted bars and curve,
// and the After preview after a timer tick.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "dialog_driver.h"
#include "fxui.h"
#include "image/host_image.h"
#include "preview/preview_control.h"
#include "resources/resource.h"
#include "test_images.h"
#include "wine_probe.h"

namespace {

constexpr int kWidth = 300;
constexpr int kHeight = 200;

// A one-entry picture, opaque, its pixels from `pixel` (or grey levels from `level`).
HGLOBAL MakePicture(const std::function<Bgr(int x, int row)>& pixel) {
  return MakeHostImage(kWidth, kHeight,
                       {{MakeRgbDib(kWidth, kHeight, pixel), MakeGreyDib(kWidth, kHeight, [](int, int) { return uint8_t{255}; })}},
                       0);
}
HGLOBAL MakeGreyPicture(const std::function<uint8_t(int x, int row)>& level) {
  HGLOBAL host = MakeHostImage(kWidth, kHeight,
                               {{MakeGreyDib(kWidth, kHeight, level), MakeGreyDib(kWidth, kHeight, [](int, int) { return uint8_t{255}; })}},
                               0);
  static_cast<HostImage*>(GlobalLock(host))->imageType = 8;
  GlobalUnlock(host);
  return host;
}

// Levels per channel: blue 20 .. 200 and red 40 .. 230 across, green 60 .. 160 up; all
// channels together run from 20 to 230.
Bgr Ramps(int x, int row) {
  return Bgr{uint8_t(20 + x * 180 / 299), uint8_t(60 + row * 100 / 199), uint8_t(40 + x * 190 / 299)};
}

int Open(HGLOBAL host, ToneAdjustmentParams* params, const std::function<void(HWND)>& script) {
  return DriveDialog([&] { return GetFxParam(EFFECT_TONE_ADJUSTMENT, nullptr, host, params); }, script);
}

std::string Label(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

// One user action and the record and labels that must follow it.
struct Action {
  enum Kind { kNone, kScroll, kClick } kind;
  int id;
  int code;   // scroll code
  int thumb;  // thumb position
  ToneAdjustmentParams expected;  // highlight, midtone, shadow, channel
};

TEST(ToneAdjustmentDialog, SlidersChannelsAndAutoFillTheRecordAndTheLabels) {
  HGLOBAL host = MakePicture(Ramps);
  const Action actions[] = {
      {Action::kNone, 0, 0, 0, {0, 0, 0, 0}},  // written at start over the host's values
      {Action::kScroll, IDC_TONE_HIGHLIGHT, SB_LINERIGHT, 0, {1, 0, 0, 0}},
      {Action::kScroll, IDC_TONE_HIGHLIGHT, SB_PAGERIGHT, 0, {11, 0, 0, 0}},
      {Action::kScroll, IDC_TONE_HIGHLIGHT, SB_LINELEFT, 0, {10, 0, 0, 0}},
      {Action::kScroll, IDC_TONE_HIGHLIGHT, SB_PAGELEFT, 0, {0, 0, 0, 0}},
      {Action::kScroll, IDC_TONE_MIDTONE, SB_THUMBTRACK, -37, {0, -37, 0, 0}},  // a signed 16-bit thumb
      {Action::kScroll, IDC_TONE_MIDTONE, SB_THUMBPOSITION, 120, {0, 100, 0, 0}},
      {Action::kScroll, IDC_TONE_MIDTONE, SB_LEFT, 0, {0, -100, 0, 0}},
      {Action::kScroll, IDC_TONE_SHADOW, SB_RIGHT, 0, {0, -100, 100, 0}},
      {Action::kScroll, IDC_TONE_SHADOW, SB_PAGELEFT, 0, {0, -100, 90, 0}},
      {Action::kScroll, IDC_TONE_SHADOW, SB_ENDSCROLL, 0, {0, -100, 90, 0}},
      {Action::kScroll, IDC_TONE_SHADOW, SB_LEFT, 0, {0, -100, -100, 0}},
      {Action::kScroll, IDC_TONE_SHADOW, SB_LINELEFT, 0, {0, -100, -100, 0}},
      {Action::kScroll, IDC_TONE_MIDTONE, SB_RIGHT, 0, {0, 100, -100, 0}},
      // "&Auto" takes the histogram of the checked channel: all 20 .. 230 gives 13 and -10;
      // red 40 .. 230 gives 13 and -20; green 60 .. 160 gives 48 and -30; blue 20 .. 200
      // gives 28 and -10. The midtone stays.
      {Action::kClick, IDC_TONE_AUTO, 0, 0, {13, 100, -10, 0}},
      {Action::kClick, IDC_CHANNEL_R, 0, 0, {13, 100, -10, 1}},
      {Action::kClick, IDC_TONE_AUTO, 0, 0, {13, 100, -20, 1}},
      {Action::kClick, IDC_CHANNEL_G, 0, 0, {13, 100, -20, 2}},
      {Action::kClick, IDC_TONE_AUTO, 0, 0, {48, 100, -30, 2}},
      {Action::kClick, IDC_CHANNEL_B, 0, 0, {48, 100, -30, 3}},
      {Action::kClick, IDC_TONE_AUTO, 0, 0, {28, 100, -10, 3}},
  };
  ToneAdjustmentParams params{9, 9, 9, 2};
  bool registered = false, square = false;
  std::string title;
  const int result = Open(host, &params, [&](HWND dialog) {
    title = WindowText(dialog);
    WNDCLASSA info;
    registered = GetClassInfoA(GetModuleHandleA("fxUi.dll"), "superwnd", &info) != 0;
    RECT panel;
    GetClientRect(GetDlgItem(dialog, IDC_TONE_PANEL), &panel);
    square = panel.right == panel.bottom && panel.right > 40;
    for (const Action& a : actions) {
      if (a.kind == Action::kScroll) ScrollSlider(dialog, a.id, a.code, a.thumb);
      if (a.kind == Action::kClick) ClickButton(dialog, a.id);
      const std::string step = "after action on " + std::to_string(a.id) + " code " + std::to_string(a.code);
      EXPECT_EQ(params.highlight, a.expected.highlight) << step;
      EXPECT_EQ(params.midtone, a.expected.midtone) << step;
      EXPECT_EQ(params.shadow, a.expected.shadow) << step;
      EXPECT_EQ(params.channel, a.expected.channel) << step;
      EXPECT_EQ(Label(dialog, IDC_TONE_HIGHLIGHT_LABEL), std::to_string(a.expected.highlight)) << step;
      EXPECT_EQ(Label(dialog, IDC_TONE_MIDTONE_LABEL), std::to_string(a.expected.midtone)) << step;
      EXPECT_EQ(Label(dialog, IDC_TONE_SHADOW_LABEL), std::to_string(a.expected.shadow)) << step;
      EXPECT_EQ(GetScrollPos(GetDlgItem(dialog, IDC_TONE_SHADOW), SB_CTL), a.expected.shadow) << step;
    }
    ClickButton(dialog, IDOK);
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(title, "Tone Adjustment");
  EXPECT_TRUE(registered) << "the panel's class exists while the dialog runs";
  EXPECT_TRUE(square) << "the panel is made square at start";
  WNDCLASSA info;
  EXPECT_FALSE(GetClassInfoA(GetModuleHandleA("fxUi.dll"), "superwnd", &info)) << "and is gone afterwards";
  EXPECT_EQ(params.highlight, 28) << "OK keeps what the dialog wrote";
  EXPECT_EQ(params.channel, 3);

  // Cancel returns 0 and leaves the last values written; every opening starts at 0 again.
  int startPosition = -1;
  const int cancelled = Open(host, &params, [&](HWND dialog) {
    startPosition = GetScrollPos(GetDlgItem(dialog, IDC_TONE_HIGHLIGHT), SB_CTL);
    ScrollSlider(dialog, IDC_TONE_MIDTONE, SB_THUMBTRACK, 5);
    ClickButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(cancelled, 0);
  EXPECT_EQ(startPosition, 0);
  EXPECT_EQ(params.highlight, 0);
  EXPECT_EQ(params.midtone, 5);
  EXPECT_EQ(params.shadow, 0);
  EXPECT_EQ(params.channel, 0);
  FreeHostImage(host);
}

TEST(ToneAdjustmentDialog, GreyPicturesHaveOneHistogramAndTheGrayLayout) {
  HGLOBAL host = MakeGreyPicture([](int x, int) { return uint8_t(30 + x * 190 / 299); });  // 30 .. 220
  ToneAdjustmentParams params{1, 1, 1, 3};
  std::string caption;
  bool enabled[3] = {true, true, true};
  const int result = Open(host, &params, [&](HWND dialog) {
    caption = Label(dialog, IDC_CHANNEL_RGB);
    for (int i = 0; i < 3; ++i) enabled[i] = IsWindowEnabled(GetDlgItem(dialog, IDC_CHANNEL_R + i)) != 0;
    ClickButton(dialog, IDC_TONE_AUTO);
    ClickButton(dialog, IDOK);
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(caption, "Gray");
  for (bool e : enabled) EXPECT_FALSE(e);
  EXPECT_EQ(params.highlight, 18) << "(256 - 220) / 2";
  EXPECT_EQ(params.shadow, -15) << "(30 + 1) / 2";
  EXPECT_EQ(params.channel, 0);
  FreeHostImage(host);
}

// What the panel shows on screen at a few places, level by level.
struct PanelCheck {
  const char* when;
  int level;       // the bar column of this level, or -1: the curve's first point (2, height - 2)
  int fromBottom;  // y = height - fromBottom, or with level 256 the curve's top row y = 2
  COLORREF expected;
};

TEST(ToneAdjustmentDialog, ThePanelDrawsTheChosenHistogramUnderTheCurve) {
  SKIP_UNLESS(PixelsReadable(), "The panel's painted pixels");
  // Every pixel is blue 100, green 60, red 200. All channels: three levels of equal count,
  // factor 2, bars two thirds of the panel high. Red alone: one level, a bar to the top.
  HGLOBAL host = MakePicture([](int, int) { return Bgr{100, 60, 200}; });
  constexpr COLORREF kBar = RGB(128, 128, 128), kEmpty = RGB(192, 192, 192);
  const PanelCheck checks[] = {
      {"start", 100, 3, kBar},
      {"start", 60, 3, kBar},
      {"start", 200, 3, kBar},
      {"start", 120, 3, kEmpty},
      {"start", 200, 0, kEmpty},  // level 200 bar top near the panel's top
      {"start", -1, 0, RGB(0, 0, 0)},
      {"red", 200, 0, kBar},
      {"red", 100, 3, kEmpty},
      {"red", -1, 0, RGB(255, 0, 0)},
      {"highlight 50", 256, 0, RGB(255, 0, 0)},  // the curve reaches the top at level 155
      {"green", 60, 0, kBar},
      {"green", -1, 0, RGB(0, 255, 0)},
  };
  std::vector<std::pair<const PanelCheck*, COLORREF>> seen;
  ToneAdjustmentParams params{};
  Open(host, &params, [&](HWND dialog) {
    HWND panel = GetDlgItem(dialog, IDC_TONE_PANEL);
    std::string phase = "start";
    for (const PanelCheck& c : checks) {
      if (phase != c.when) {
        phase = c.when;
        if (phase == "red") ClickButton(dialog, IDC_CHANNEL_R);
        if (phase == "green") ClickButton(dialog, IDC_CHANNEL_G);
        if (phase == "highlight 50") ScrollSlider(dialog, IDC_TONE_HIGHLIGHT, SB_THUMBPOSITION, 50);
      }
      RedrawWindow(panel, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      RECT client;
      GetClientRect(panel, &client);
      int x = 2, y = client.bottom - 2;  // the curve's first point
      if (c.level == 256) {
        x = 2 + (client.right - 4) * 220 / 255;  // a step at about level 220
        y = 2;
      } else if (c.level >= 0) {
        x = c.level * (client.right - 2) / 255 + 1;
        y = c.fromBottom ? client.bottom - c.fromBottom : 6;
      }
      HDC dc = GetDC(panel);
      seen.emplace_back(&c, GetPixel(dc, x, y));
      ReleaseDC(panel, dc);
    }
    ClickButton(dialog, IDOK);
  });
  ASSERT_EQ(seen.size(), std::size(checks));
  for (const auto& [check, color] : seen) {
    EXPECT_EQ(color, check->expected) << check->when << ", level " << check->level << ", " << check->fromBottom
                                      << " from the bottom";
  }
  FreeHostImage(host);
}

TEST(ToneAdjustmentDialog, TheTimerTickRendersTheAdjustedAfterPreview) {
  HGLOBAL host = MakePicture([](int, int) { return Bgr{100, 60, 200}; });
  ToneAdjustmentParams params{};
  std::vector<uint8_t> after;
  Open(host, &params, [&](HWND dialog) {
    ScrollSlider(dialog, IDC_TONE_HIGHLIGHT, SB_THUMBPOSITION, 50);
    HWND control = GetDlgItem(dialog, IDC_PREVIEW_AFTER);
    SendMessageA(control, WM_TIMER, kPreviewTimer, 0);
    const auto* state = reinterpret_cast<const PreviewState*>(GetWindowLongPtrA(control, GWLP_USERDATA));
    ImageEntry* entry = state ? LockImageEntry(state->view.previewImage, 0) : nullptr;
    if (entry) {
      after = PixelBytes(entry->image);
      UnlockHostImage(state->view.previewImage);
    }
    ClickButton(dialog, IDOK);
  });
  // Highlight 50 stretches 0 .. 205 over 0 .. 255: 100 x 255 / 205 = 124.4, 60 -> 74.6, 200 -> 248.8.
  ASSERT_GE(after.size(), 3u);
  EXPECT_EQ(after[0], 124);
  EXPECT_EQ(after[1], 75);
  EXPECT_EQ(after[2], 249);
  FreeHostImage(host);
}

TEST(ToneAdjustmentDialog, APanelClassThatCannotBeRegisteredGivesZero) {
  // A window of the class in the library's module keeps the class from being replaced.
  HINSTANCE module = GetModuleHandleA("fxUi.dll");
  WNDCLASSA taken{};
  taken.lpfnWndProc = DefWindowProcA;
  taken.hInstance = module;
  taken.lpszClassName = "superwnd";
  ASSERT_TRUE(RegisterClassA(&taken));
  HWND holder = CreateWindowA("superwnd", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, module, nullptr);
  ASSERT_NE(holder, nullptr);
  HGLOBAL host = MakePicture(Ramps);
  ToneAdjustmentParams params{};
  bool shown = false;
  const int result = Open(host, &params, [&](HWND dialog) {
    shown = true;
    ClickButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(result, 0);
  EXPECT_FALSE(shown);
  DestroyWindow(holder);
  UnregisterClassA("superwnd", module);
  FreeHostImage(host);
}

}  // namespace

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

// A 300 x 200 opaque one-entry picture of this colour or grey DIB.
HGLOBAL MakePicture(HGLOBAL dib, bool grey = false) {
  HGLOBAL host = MakeHostImage(300, 200, {{dib, MakeGreyDib(300, 200, [](int, int) { return uint8_t{255}; })}}, 0);
  static_cast<HostImage*>(GlobalLock(host))->imageType = grey ? 8 : 24;
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

TEST(ToneAdjustmentDialog, SlidersChannelsAndAutoFillTheRecordAndTheLabels) {
  // Each slider in turn goes through every scroll code: {code, thumb, position after}.
  const int moves[][3] = {
      {SB_LINERIGHT, 0, 1},        {SB_PAGERIGHT, 0, 11},  {SB_LINELEFT, 0, 10}, {SB_PAGELEFT, 0, 0},
      {SB_THUMBTRACK, -37, -37},  // a signed 16-bit thumb
      {SB_THUMBPOSITION, 120, 100}, {SB_LINERIGHT, 0, 100}, {SB_ENDSCROLL, 0, 100},
      {SB_LEFT, 0, -100},          {SB_PAGELEFT, 0, -100}, {SB_RIGHT, 0, 100},
  };
  // Then clicks, and the record after each. "&Auto" takes the histogram of the checked channel:
  // all 20 .. 230 gives 13 and -10; red 40 .. 230 13 and -20; green 60 .. 160 48 and -30;
  // blue 20 .. 200 28 and -10. The midtone stays.
  struct Click {
    int button;
    ToneAdjustmentParams expected;
  };
  const Click clicks[] = {
      {IDC_TONE_AUTO, {13, 100, -10, 0}}, {IDC_CHANNEL_R, {13, 100, -10, 1}}, {IDC_TONE_AUTO, {13, 100, -20, 1}},
      {IDC_CHANNEL_G, {13, 100, -20, 2}}, {IDC_TONE_AUTO, {48, 100, -30, 2}}, {IDC_CHANNEL_B, {48, 100, -30, 3}},
      {IDC_TONE_AUTO, {28, 100, -10, 3}},
  };
  HGLOBAL host = MakePicture(MakeRgbDib(300, 200, Ramps));
  ToneAdjustmentParams params{9, 9, 9, 2};
  ToneAdjustmentParams atStart{};
  bool registered = false, square = false;
  const int result = Open(host, &params, [&](HWND dialog) {
    atStart = params;
    WNDCLASSA info;
    registered = GetClassInfoA(GetModuleHandleA("fxUi.dll"), "superwnd", &info) != 0;
    RECT panel;
    GetClientRect(GetDlgItem(dialog, IDC_TONE_PANEL), &panel);
    square = panel.right == panel.bottom && panel.right > 40;
    const auto check = [&](const ToneAdjustmentParams& expected, const std::string& step) {
      const int32_t positions[3] = {expected.highlight, expected.midtone, expected.shadow};
      const int32_t written[3] = {params.highlight, params.midtone, params.shadow};
      for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(written[i], positions[i]) << step << ", slider " << i;
        EXPECT_EQ(Label(dialog, IDC_TONE_HIGHLIGHT_LABEL + i), std::to_string(positions[i])) << step;
        EXPECT_EQ(GetScrollPos(GetDlgItem(dialog, IDC_TONE_HIGHLIGHT + i), SB_CTL), positions[i]) << step;
      }
      EXPECT_EQ(params.channel, expected.channel) << step;
    };
    int32_t positions[3] = {0, 0, 0};
    for (int slider = 0; slider < 3; ++slider) {
      for (const auto& move : moves) {
        ScrollSlider(dialog, IDC_TONE_HIGHLIGHT + slider, move[0], move[1]);
        positions[slider] = move[2];
        check({positions[0], positions[1], positions[2], 0},
              "slider " + std::to_string(slider) + " code " + std::to_string(move[0]));
      }
    }
    for (const Click& click : clicks) {
      ClickButton(dialog, click.button);
      check(click.expected, "click " + std::to_string(click.button));
    }
    ClickButton(dialog, IDOK);
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(atStart.highlight, 0) << "written from the controls at start";
  EXPECT_EQ(atStart.shadow, 0);
  EXPECT_EQ(atStart.channel, 0);
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
  HGLOBAL host = MakePicture(MakeGreyDib(300, 200, [](int x, int) { return uint8_t(30 + x * 190 / 299); }), true);
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

// Every pixel blue 100, green 60, red 200.
HGLOBAL FlatPicture() { return MakePicture(MakeRgbDib(300, 200, [](int, int) { return Bgr{100, 60, 200}; })); }

TEST(ToneAdjustmentDialog, ThePanelDrawsTheChosenHistogramUnderTheCurve) {
  SKIP_UNLESS(PixelsReadable(), "The panel's painted pixels");
  // All channels: three levels of equal count, factor 2, bars two thirds of the panel high.
  // One channel: one level, a bar up to y 4. The curve starts at (2, height - 2).
  constexpr int kCurveStart = -1, kCurveTop = -2;  // a curve point at about level 220 on row 2
  constexpr COLORREF kBar = RGB(128, 128, 128), kEmpty = RGB(192, 192, 192);
  struct Check {
    int action;  // a button clicked, or the highlight slider moved to 50, before looking
    int level;   // the bar column of this level, or a curve point
    int y;       // row counted from the bottom (negative) or from the top
    COLORREF expected;
  };
  const Check checks[] = {
      {0, 100, -3, kBar}, {0, 60, -3, kBar}, {0, 200, -3, kBar}, {0, 120, -3, kEmpty}, {0, 200, 6, kEmpty},
      {0, kCurveStart, 0, RGB(0, 0, 0)},
      {IDC_CHANNEL_R, 200, 6, kBar}, {0, 100, -3, kEmpty}, {0, kCurveStart, 0, RGB(255, 0, 0)},
      {IDC_TONE_HIGHLIGHT, kCurveTop, 2, RGB(255, 0, 0)},  // the curve reaches the top at level 155
      {IDC_CHANNEL_G, 60, 6, kBar}, {0, kCurveStart, 0, RGB(0, 255, 0)},
  };
  HGLOBAL host = FlatPicture();
  std::vector<COLORREF> seen;
  ToneAdjustmentParams params{};
  Open(host, &params, [&](HWND dialog) {
    HWND panel = GetDlgItem(dialog, IDC_TONE_PANEL);
    for (const Check& c : checks) {
      if (c.action == IDC_TONE_HIGHLIGHT) ScrollSlider(dialog, c.action, SB_THUMBPOSITION, 50);
      else if (c.action) ClickButton(dialog, c.action);
      RedrawWindow(panel, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      RECT client;
      GetClientRect(panel, &client);
      int x = c.level * (client.right - 2) / 255 + 1, y = c.y < 0 ? client.bottom + c.y : c.y;
      if (c.level == kCurveStart) x = 2, y = client.bottom - 2;
      if (c.level == kCurveTop) x = 2 + (client.right - 4) * 220 / 255;
      HDC dc = GetDC(panel);
      seen.push_back(GetPixel(dc, x, y));
      ReleaseDC(panel, dc);
    }
    ClickButton(dialog, IDOK);
  });
  ASSERT_EQ(seen.size(), std::size(checks));
  for (size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i], checks[i].expected) << "check " << i;
  FreeHostImage(host);
}

TEST(ToneAdjustmentDialog, TheTimerTickRendersTheAdjustedAfterPreview) {
  HGLOBAL host = FlatPicture();
  ToneAdjustmentParams params{};
  std::vector<uint8_t> after;
  Open(host, &params, [&](HWND dialog) {
    ScrollSlider(dialog, IDC_TONE_HIGHLIGHT, SB_THUMBPOSITION, 50);
    HWND control = GetDlgItem(dialog, IDC_PREVIEW_AFTER);
    SendMessageA(control, WM_TIMER, kPreviewTimer, 0);
    HGLOBAL preview = reinterpret_cast<const PreviewState*>(GetWindowLongPtrA(control, GWLP_USERDATA))->view.previewImage;
    if (ImageEntry* entry = LockImageEntry(preview, 0)) {
      after = PixelBytes(entry->image);
      UnlockHostImage(preview);
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
  WNDCLASSA taken{0, DefWindowProcA, 0, 0, module, nullptr, nullptr, nullptr, nullptr, "superwnd"};
  ASSERT_TRUE(RegisterClassA(&taken));
  HWND holder = CreateWindowA("superwnd", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, module, nullptr);
  HGLOBAL host = FlatPicture();
  ToneAdjustmentParams params{};
  bool shown = false;
  EXPECT_EQ(Open(host, &params, [&](HWND dialog) { shown = true, ClickButton(dialog, IDCANCEL); }), 0);
  EXPECT_FALSE(shown);
  DestroyWindow(holder);
  UnregisterClassA("superwnd", module);
  FreeHostImage(host);
}

}  // namespace

// The Tone Adjustment dialog through GetFxParam, driven as a user would: its sliders, channel
// buttons and "&Auto" against the record and the labels, the After preview, the panel's class,
// shape, painted bars and curve.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "dialog_driver.h"
#include "dialog_steps.h"
#include "fxui.h"
#include "image/host_image.h"
#include "preview/preview_control.h"
#include "resources/resource.h"
#include "test_images.h"
#include "wine_probe.h"

namespace {

// A 300 x 200 opaque picture, every pixel blue 100, green 60, red 200.
HGLOBAL FlatPicture() {
  return MakeHostImage(300, 200, {{MakeRgbDib(300, 200, [](int, int) { return Bgr{100, 60, 200}; }),
                                   MakeGreyDib(300, 200, [](int, int) { return uint8_t{255}; })}}, 0);
}

int Open(HGLOBAL host, ToneAdjustmentParams* params, const std::function<void(HWND)>& script) {
  return DriveDialog([&] { return GetFxParam(EFFECT_TONE_ADJUSTMENT, nullptr, host, params); }, script);
}

TEST(ToneAdjustmentDialog, Table) {
  // The slider handling that every dialog shares is played through here, on the signed range:
  // each kind of move, the clamps at both ends and the codes that move nothing.
  // "&Auto" takes the histogram of the checked channel of the ramps: all 20 .. 230 gives 13
  // and -10; red 40 .. 230 13 and -20; green 60 .. 160 48 and -30; blue 20 .. 200 28 and -10.
  // The midtone stays.
  RunOpenings({
      {EFFECT_TONE_ADJUSTMENT, kRamps, {9, 9, 9, 2},
       {Fields(0, {0, 0, 0, 0}), Scroll(IDC_TONE_HIGHLIGHT, SB_PAGERIGHT), Field(0, 10),
        Text(IDC_TONE_HIGHLIGHT_LABEL, "10"), Scroll(IDC_TONE_MIDTONE, SB_THUMBTRACK, -37),  // a signed 16-bit thumb
        Field(1, -37), Text(IDC_TONE_MIDTONE_LABEL, "-37"), Position(IDC_TONE_MIDTONE, -37),
        Scroll(IDC_TONE_SHADOW, SB_THUMBPOSITION, 120), Field(2, 100), Text(IDC_TONE_SHADOW_LABEL, "100"),
        Scroll(IDC_TONE_SHADOW, SB_LINERIGHT), Field(2, 100), Scroll(IDC_TONE_SHADOW, SB_LINELEFT),
        Scroll(IDC_TONE_SHADOW, SB_PAGELEFT), Field(2, 89), Scroll(IDC_TONE_SHADOW, SB_LEFT), Field(2, -100),
        Scroll(IDC_TONE_SHADOW, SB_PAGELEFT), Field(2, -100), Scroll(IDC_TONE_SHADOW, SB_RIGHT),
        Scroll(IDC_TONE_SHADOW, SB_ENDSCROLL, 50), Scroll(IDC_TONE_SHADOW, 9, 50), Field(2, 100), Click(IDC_TONE_AUTO),
        Fields(0, {13, -37, -10}), Click(IDC_CHANNEL_R), Field(3, 1), Field(0, 13), Click(IDC_TONE_AUTO), Field(2, -20),
        Text(IDC_TONE_SHADOW_LABEL, "-20"), Position(IDC_TONE_SHADOW, -20), Click(IDC_CHANNEL_G), Field(3, 2),
        Click(IDC_TONE_AUTO), Field(0, 48), Field(2, -30), Click(IDC_CHANNEL_B), Click(IDC_TONE_AUTO),
        Text(IDC_TONE_HIGHLIGHT_LABEL, "28"), AfterShowsEffect(), Click(IDOK)},
       1, {28, -37, -10, 3}},
      // Every opening starts at 0 again; Cancel leaves the last values written.
      {EFFECT_TONE_ADJUSTMENT, kRamps, {28, -37, -10, 3},
       {Position(IDC_TONE_HIGHLIGHT, 0), Position(IDC_TONE_MIDTONE, 0), Field(3, 0),
        Scroll(IDC_TONE_MIDTONE, SB_THUMBTRACK, 5), Click(IDCANCEL)},
       0, {0, 5, 0, 0}},
      {EFFECT_TONE_ADJUSTMENT, kGrey, {1, 1, 1, 3},
       {Text(IDC_CHANNEL_RGB, "Gray"), Enabled(IDC_CHANNEL_R, false), Enabled(IDC_CHANNEL_B, false),
        Scroll(IDC_TONE_HIGHLIGHT, SB_PAGERIGHT), AfterShowsEffect(), Click(IDOK)},
       1, {10, 0, 0, 0}},
  });
}

// The panel's class lives while the dialog runs, and the panel is square.
TEST(ToneAdjustmentDialog, ThePanelDrawsTheChosenHistogramUnderTheCurve) {
  const bool pixels = CAN_CHECK(PixelsReadable(), "The panel's painted pixels");
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
  bool registered = false, square = false;
  WNDCLASSA info;
  Open(host, &params, [&](HWND dialog) {
    registered = GetClassInfoA(GetModuleHandleA("fxUi.dll"), "superwnd", &info) != 0;
    HWND panel = GetDlgItem(dialog, IDC_TONE_PANEL);
    RECT client;
    GetClientRect(panel, &client);
    square = client.right == client.bottom && client.right > 40;
    for (size_t i = 0; i < (pixels ? std::size(checks) : 0); ++i) {
      const Check& c = checks[i];
      if (c.action == IDC_TONE_HIGHLIGHT) ScrollSlider(dialog, c.action, SB_THUMBPOSITION, 50);
      else if (c.action) ClickButton(dialog, c.action);
      RedrawWindow(panel, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      int x = c.level * (client.right - 2) / 255 + 1, y = c.y < 0 ? client.bottom + c.y : c.y;
      if (c.level == kCurveStart) x = 2, y = client.bottom - 2;
      if (c.level == kCurveTop) x = 2 + (client.right - 4) * 220 / 255;
      HDC dc = GetDC(panel);
      seen.push_back(GetPixel(dc, x, y));
      ReleaseDC(panel, dc);
    }
    ClickButton(dialog, IDOK);
  });
  EXPECT_TRUE(registered);
  EXPECT_TRUE(square);
  EXPECT_FALSE(GetClassInfoA(GetModuleHandleA("fxUi.dll"), "superwnd", &info)) << "and is gone afterwards";
  ASSERT_EQ(seen.size(), pixels ? std::size(checks) : 0u);
  for (size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i], checks[i].expected) << "check " << i;
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

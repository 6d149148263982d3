// The effect browser through GetFxBrowserParam, driven as a user would: entries chosen in the
// list, OK or Cancel, the embedded dialog's place, buttons, keyboard order and sliders.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "dialog_driver.h"
#include "dialog_steps.h"
#include "fxui.h"
#include "image/host_image.h"
#include "resources/resource.h"
#include "test_images.h"
#include "wine_probe.h"

namespace {

constexpr int32_t kUntouched = 77;  // every record word before the call
const std::vector<int32_t> kRecord(8, kUntouched);
constexpr int kList = IDC_BROWSER_LIST;

// The list in its order: the names as the user reads them and the effects they stand for.
const char kNames[] =
    "Brightness and Contrast, Hue and Saturation, Color Reduction, Threshold, Average, Guassian Blur, Unsharp Mask, "
    "Maximum, Median, Minimum, Add Noise, Find Contour, Oil Painting, Sketch, Film Grain, Splash, Melting, Ripple, "
    "Wrinkle, 3D Grid, Mosaic, Emboss, MotionBlur, Fish Eye, Cone, Whirlpool, Spiral, Ribbon";
const int kEffects[28] = {1, 2, 4, 7, 8, 17, 18, 20, 21, 20, 38, 22, 40, 32, 34, 35, 39, 36, 37, 51, 52, 54, 53, 41,
                          48, 49, 50, 65};
enum Entry { kThreshold = 3, kMaximum = 7, kMinimum = 9, kMosaic = 20, kEmboss = 21 };

// Every entry chosen in turn embeds its effect's dialog and gives back its identifier.
std::vector<Step> EveryEntry() {
  std::vector<Step> steps{Items(kList, kNames)};
  for (int i = 0; i < 28; ++i) {
    for (const Step& step : {Select(kList, i), Effect(kEffects[i]), Embedded(true)}) steps.push_back(step);
  }
  steps.push_back(Click(IDCANCEL));
  return steps;
}

// The effect given back and the record's first words: those after the chosen effect's hold what
// earlier dialogs wrote into the shared record, or nothing.
TEST(Browser, ChoicesLeaveTheLastEffectAndItsRecord) {
  SKIP_UNLESS(ComboBoxesWork(), "the browser's effect list");
  RunBrowserOpenings({
      {EFFECT_BRIGHTNESS_CONTRAST, kColour, kRecord, {Embedded(true), Click(IDOK)}, 1, {0, 0, 0, kUntouched}},
      {EFFECT_EMBOSS, kColour, kRecord, {Select(kList, kMosaic), Select(kList, kEmboss), Click(IDOK)},
       1, {5, 3, 2, 0, kUntouched}},
      {EFFECT_MAXIMUM_MINIMUM, kColour, kRecord, {Select(kList, kMaximum), Click(IDOK)}, 1, {3, 1}},
      {EFFECT_MAXIMUM_MINIMUM, kColour, kRecord, {Select(kList, kMaximum), Select(kList, kMinimum), Click(IDOK)},
       1, {3, 0}},
      // The embedded dialog's slider reaches the record and the embedded After preview.
      {EFFECT_THRESHOLD, kColour, kRecord,
       {Select(kList, kThreshold), Scroll(IDC_SLIDER_1, SB_RIGHT), AfterShowsEffect(), Click(IDCANCEL)}, 0, {255}},
      {EFFECT_RIBBON, kColour, kRecord, EveryEntry(), 0, {}},
      // Without a picture the list works and nothing is embedded.
      {kNoEffect, kNone, kRecord, {Items(kList, kNames), Select(kList, kEmboss), Embedded(false), Click(IDOK)},
       1, {kUntouched}},
  });
}

TEST(Browser, TheEmbeddedDialogSitsInTheFrameWithoutItsButtonsOrCaption) {
  SKIP_UNLESS(ComboBoxesWork(), "the browser's effect list");
  HGLOBAL host = MakeHostImage(96, 72, {{MakeRgbDib(96, 72, [](int x, int y) { return Bgr{uint8_t(x), uint8_t(y), 9}; }),
                                         MakeGreyDib(96, 72, [](int, int) { return uint8_t{255}; })}}, 0);
  int32_t record[8] = {};
  int effectId = kNoEffect;
  std::vector<int> tabOrder;
  DriveDialog([&] { return GetFxBrowserParam(nullptr, host, &effectId, record, 0); }, [&](HWND browser) {
    Settle();
    HWND dialog = EmbeddedDialog(browser);
    ASSERT_NE(dialog, nullptr) << "the first effect is embedded without user action";
    EXPECT_EQ(WindowText(browser), "Effect Browser");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDOK)), "");
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDCANCEL)));
    const LONG style = GetWindowLongA(dialog, GWL_STYLE);
    EXPECT_TRUE((style & WS_CHILD) && GetParent(dialog) == browser);
    EXPECT_FALSE(style & WS_CAPTION);
    RECT frame{}, placed{};
    GetWindowRect(GetDlgItem(browser, IDC_BROWSER_FRAME), &frame);
    GetWindowRect(dialog, &placed);
    EXPECT_EQ(placed.left, frame.left + 3);
    EXPECT_EQ(placed.top, frame.top + 10);
    EXPECT_LE(placed.right, frame.right) << "the frame holds the dialog";
    EXPECT_LE(placed.bottom, frame.bottom);
    // Tab from the list walks into the embedded dialog's controls and back out.
    HWND start = GetDlgItem(browser, kList);
    HWND item = start;
    do {
      tabOrder.push_back(GetDlgCtrlID(item));
      item = GetNextDlgTabItem(browser, item, FALSE);
    } while (item && item != start && tabOrder.size() < 20);
    ClickButton(browser, IDOK);
  });
  FreeHostImage(host);
  // The embedded dialog lies on top: Tab goes round into its controls.
  const std::vector<int> expected{kList, IDOK, IDCANCEL, IDC_CHANNEL_RGB, IDC_SLIDER_1, IDC_SLIDER_2};
  std::vector<int> reached;
  for (int id : tabOrder) {
    if (std::find(expected.begin(), expected.end(), id) != expected.end()) reached.push_back(id);
  }
  EXPECT_EQ(reached, expected) << "Tab reaches the list, the browser's buttons and the embedded controls";
}

}  // namespace

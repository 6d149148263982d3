// The effect browser through GetFxBrowserParam, driven as a user would: entries chosen in the
// list, OK or Cancel, the embedded dialog's place, buttons, keyboard order and sliders.
#include <gtest/gtest.h>

#include <algorithm>
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

constexpr int32_t kUntouched = 77;  // every record word before the call
constexpr int kNoEffect = -5;       // the caller's identifier before the call

struct BrowserRun {
  int result = 0;
  int effectId = kNoEffect;
  int32_t record[8];
  HWND embedded = nullptr;  // the embedded dialog when the script ran, if any
};

HGLOBAL MakePicture() {
  HGLOBAL image = MakeRgbDib(120, 90, [](int x, int y) { return Bgr{uint8_t(2 * x), uint8_t(2 * y), 100}; });
  HGLOBAL mask = MakeGreyDib(120, 90, [](int, int) { return uint8_t{255}; });
  return MakeHostImage(120, 90, {{image, mask}}, 0);
}

// Delivers what the browser posted to itself (the first embedding) before the script goes on.
void Settle() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

HWND EmbeddedDialog(HWND browser) {
  for (HWND child = GetWindow(browser, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[16] = "";
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpA(name, "#32770") == 0 && IsWindowVisible(child)) return child;
  }
  return nullptr;
}

// Chooses an entry as a user does: the list's selection changes and it notifies the browser.
void Choose(HWND browser, const char* name) {
  HWND list = GetDlgItem(browser, IDC_BROWSER_LIST);
  const LRESULT index = SendMessageA(list, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(name));
  ASSERT_GE(index, 0) << name;
  SendMessageA(list, CB_SETCURSEL, index, 0);
  SendMessageA(browser, WM_COMMAND, MAKEWPARAM(IDC_BROWSER_LIST, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

BrowserRun RunBrowser(HGLOBAL image, const std::function<void(HWND browser, BrowserRun& run)>& script) {
  BrowserRun run;
  std::fill(std::begin(run.record), std::end(run.record), kUntouched);
  run.result = DriveDialog([&] { return GetFxBrowserParam(nullptr, image, &run.effectId, run.record, 0); },
                           [&](HWND browser) {
                             Settle();
                             run.embedded = EmbeddedDialog(browser);
                             script(browser, run);
                           });
  return run;
}

class Browser : public ::testing::Test {
 protected:
  void SetUp() override {
    SKIP_UNLESS(ComboBoxesWork(), "the browser's effect list");
    host_ = MakePicture();
  }
  void TearDown() override {
    if (host_) FreeHostImage(host_);
  }
  HGLOBAL host_ = nullptr;
};

// Entries chosen in order, then OK or Cancel: the result, the effect and the record's first
// words (the words after them hold what earlier dialogs wrote into the shared record).
struct ChoiceCase {
  std::vector<const char*> entries;
  int button;
  int result;
  int effectId;
  std::vector<int32_t> record;
};

TEST_F(Browser, ChoicesLeaveTheLastEffectAndItsRecord) {
  const ChoiceCase cases[] = {
      {{}, IDOK, 1, EFFECT_BRIGHTNESS_CONTRAST, {0, 0, 0, kUntouched}},
      {{"Mosaic", "Emboss"}, IDOK, 1, EFFECT_EMBOSS, {5, 3, 2, 0, kUntouched}},
      {{"Maximum"}, IDOK, 1, EFFECT_MAXIMUM_MINIMUM, {3, 1}},
      {{"Maximum", "Minimum"}, IDOK, 1, EFFECT_MAXIMUM_MINIMUM, {3, 0}},
      {{"Threshold"}, IDCANCEL, 0, EFFECT_THRESHOLD, {255}},
  };
  for (const ChoiceCase& c : cases) {
    std::vector<uint8_t> after;
    const BrowserRun run = RunBrowser(host_, [&](HWND browser, BrowserRun&) {
      for (const char* entry : c.entries) Choose(browser, entry);
      // In the threshold case the user moves its slider to 255 before cancelling: every pixel
      // of the embedded After preview turns black.
      if (c.effectId == EFFECT_THRESHOLD) {
        HWND dialog = EmbeddedDialog(browser);
        ScrollSlider(dialog, IDC_SLIDER_1, SB_RIGHT);
        SendMessageA(GetDlgItem(dialog, IDC_PREVIEW_AFTER), WM_TIMER, kPreviewTimer, 0);
        after = PreviewPixels(dialog, IDC_PREVIEW_AFTER);
        EXPECT_FALSE(after.empty());
        EXPECT_EQ(after, std::vector<uint8_t>(after.size(), 0));
      }
      ClickButton(browser, c.button);
    });
    const std::string name = c.entries.empty() ? "OK at once" : c.entries.back();
    EXPECT_EQ(run.result, c.result) << name;
    EXPECT_EQ(run.effectId, c.effectId) << name;
    for (size_t i = 0; i < c.record.size(); ++i) EXPECT_EQ(run.record[i], c.record[i]) << name << " word " << i;
  }
}

// The first effect is embedded without user action, in the frame, without its buttons or
// caption; then every entry in the list embeds its effect's dialog.
TEST_F(Browser, EveryEntryEmbedsItsEffectsDialogInTheFrame) {
  // The list in its order: the name as the user reads it and the effect it stands for.
  const struct {
    const char* name;
    int effectId;
  } entries[] = {
      {"Brightness and Contrast", 1}, {"Hue and Saturation", 2}, {"Color Reduction", 4}, {"Threshold", 7},
      {"Average", 8},       {"Guassian Blur", 17}, {"Unsharp Mask", 18}, {"Maximum", 20},   {"Median", 21},
      {"Minimum", 20},      {"Add Noise", 38},     {"Find Contour", 22}, {"Oil Painting", 40}, {"Sketch", 32},
      {"Film Grain", 34},   {"Splash", 35},        {"Melting", 39},      {"Ripple", 36},    {"Wrinkle", 37},
      {"3D Grid", 51},      {"Mosaic", 52},        {"Emboss", 54},       {"MotionBlur", 53}, {"Fish Eye", 41},
      {"Cone", 48},         {"Whirlpool", 49},     {"Spiral", 50},       {"Ribbon", 65},
  };
  std::vector<int> tabOrder;
  RunBrowser(host_, [&](HWND browser, BrowserRun& run) {
    ASSERT_NE(run.embedded, nullptr);
    HWND dialog = run.embedded;
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
    HWND start = GetDlgItem(browser, IDC_BROWSER_LIST);
    HWND item = start;
    do {
      tabOrder.push_back(GetDlgCtrlID(item));
      item = GetNextDlgTabItem(browser, item, FALSE);
    } while (item && item != start && tabOrder.size() < 20);
    HWND list = GetDlgItem(browser, IDC_BROWSER_LIST);
    ASSERT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 28);
    for (int i = 0; i < 28; ++i) {
      char name[64] = "";
      SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(name));
      EXPECT_STREQ(name, entries[i].name) << "entry " << i;
      SendMessageA(list, CB_SETCURSEL, i, 0);
      SendMessageA(browser, WM_COMMAND, MAKEWPARAM(IDC_BROWSER_LIST, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
      EXPECT_EQ(run.effectId, entries[i].effectId) << entries[i].name;
      dialog = EmbeddedDialog(browser);
      EXPECT_TRUE(dialog && GetDlgItem(dialog, IDC_PREVIEW_AFTER) && !IsWindowVisible(GetDlgItem(dialog, IDOK)))
          << entries[i].name << " is embedded with its previews and without its OK";
    }
    ClickButton(browser, IDCANCEL);
  });
  // The embedded dialog lies on top: Tab goes round into its controls.
  const std::vector<int> expected{IDC_BROWSER_LIST, IDOK, IDCANCEL, IDC_CHANNEL_RGB, IDC_SLIDER_1, IDC_SLIDER_2};
  std::vector<int> reached;
  for (int id : tabOrder) {
    if (std::find(expected.begin(), expected.end(), id) != expected.end()) reached.push_back(id);
  }
  EXPECT_EQ(reached, expected) << "Tab reaches the list, the browser's buttons and the embedded controls";
}

TEST(BrowserWithoutPicture, TheListWorksAndNothingIsEmbedded) {
  SKIP_UNLESS(ComboBoxesWork(), "the browser's effect list");
  int entries = 0;
  const BrowserRun run = RunBrowser(nullptr, [&](HWND browser, BrowserRun&) {
    entries = static_cast<int>(SendMessageA(GetDlgItem(browser, IDC_BROWSER_LIST), CB_GETCOUNT, 0, 0));
    Choose(browser, "Emboss");
    EXPECT_EQ(EmbeddedDialog(browser), nullptr);
    ClickButton(browser, IDOK);
  });
  EXPECT_EQ(entries, 28);
  EXPECT_EQ(run.embedded, nullptr);
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(run.effectId, kNoEffect);
  EXPECT_EQ(run.record[0], kUntouched);
}

}  // namespace

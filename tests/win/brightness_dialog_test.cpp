// The brightness and contrast dialog through GetFxParam, driven as a user would, with the
// framework around it: the previews, their zoom and panning, the After rendering.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "dialog_driver.h"
#include "fxui.h"
#include "image/dib.h"
#include "image/host_image.h"
#include "preview/preview_control.h"
#include "resources/resource.h"
#include "test_images.h"
#include "preview/view_geometry.h"

namespace {

// A 300 x 200 colour picture with one opaque entry (or a grey one).
HGLOBAL MakePicture(bool grey) {
  HGLOBAL image = grey ? MakeGreyDib(300, 200, [](int x, int y) { return uint8_t((x + y) / 2); })
                       : MakeRgbDib(300, 200, [](int x, int y) { return Bgr{uint8_t(x), uint8_t(y), 90}; });
  HGLOBAL mask = MakeGreyDib(300, 200, [](int, int) { return uint8_t{255}; });
  HGLOBAL host = MakeHostImage(300, 200, {{image, mask}}, 0);
  if (grey) {
    static_cast<HostImage*>(GlobalLock(host))->imageType = 8;
    GlobalUnlock(host);
  }
  return host;
}

// The state a preview control keeps in its user-data slot (the layout of preview_control.h).
PreviewState* Preview(HWND dialog, int id) {
  return reinterpret_cast<PreviewState*>(GetWindowLongPtrA(GetDlgItem(dialog, id), GWLP_USERDATA));
}

// The pixels of a control's preview image entry 0.
std::vector<uint8_t> PreviewPixels(const PreviewState* state) {
  ImageEntry* entry = LockImageEntry(state->view.previewImage, 0);
  if (!entry) return {};
  std::vector<uint8_t> pixels = PixelBytes(entry->image);
  UnlockHostImage(state->view.previewImage);
  return pixels;
}

class BrightnessDialog : public ::testing::Test {
 protected:
  void SetUp() override { host_ = MakePicture(false); }
  void TearDown() override { FreeHostImage(host_); }
  int Open(BrightnessContrastParams* params, const std::function<void(HWND)>& script) {
    return DriveDialog([&] { return GetFxParam(EFFECT_BRIGHTNESS_CONTRAST, nullptr, host_, params); }, script);
  }
  HGLOBAL host_ = nullptr;
};

TEST_F(BrightnessDialog, SlidersAndChannelFillTheRecordAndOkReturnsOne) {
  BrightnessContrastParams params{9, 99, 99};
  BrightnessContrastParams atStart{};
  std::string labels[2];
  const int result = Open(&params, [&](HWND dialog) {
    atStart = params;
    EXPECT_EQ(WindowText(dialog), "Brightness and Contrast");
    for (int i = 0; i < 3; ++i) ScrollSlider(dialog, IDC_SLIDER_1, SB_LINERIGHT);
    ScrollSlider(dialog, IDC_SLIDER_2, SB_PAGELEFT);
    ClickButton(dialog, IDC_CHANNEL_G);
    labels[0] = WindowText(GetDlgItem(dialog, IDC_LABEL_1));
    labels[1] = WindowText(GetDlgItem(dialog, IDC_LABEL_2));
    ClickButton(dialog, IDOK);
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(atStart.channel, 0) << "written from the controls at start";
  EXPECT_EQ(atStart.brightness, 0);
  EXPECT_EQ(atStart.contrast, 0);
  EXPECT_EQ(labels[0], "3");
  EXPECT_EQ(labels[1], "-16");
  EXPECT_EQ(params.channel, 2);
  EXPECT_EQ(params.brightness, 3);
  EXPECT_EQ(params.contrast, -16);
}

TEST_F(BrightnessDialog, CancelReturnsZeroAndKeepsWhatTheDialogWrote) {
  BrightnessContrastParams params{1, 50, 50};
  const int result = Open(&params, [](HWND dialog) {
    ScrollSlider(dialog, IDC_SLIDER_1, SB_THUMBTRACK, 255);
    ScrollSlider(dialog, IDC_SLIDER_2, SB_LEFT);
    ClickButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(params.channel, 0);
  EXPECT_EQ(params.brightness, 127);
  EXPECT_EQ(params.contrast, -128);
}

TEST_F(BrightnessDialog, PositionsStartAtTheCentreAtEveryOpening) {
  BrightnessContrastParams params{};
  Open(&params, [](HWND dialog) {
    ScrollSlider(dialog, IDC_SLIDER_1, SB_RIGHT);
    ClickButton(dialog, IDOK);
  });
  EXPECT_EQ(params.brightness, 127);
  int position = -1;
  Open(&params, [&](HWND dialog) {
    position = GetScrollPos(GetDlgItem(dialog, IDC_SLIDER_1), SB_CTL);
    ClickButton(dialog, IDOK);
  });
  EXPECT_EQ(position, 128);
  EXPECT_EQ(params.brightness, 0);
}

TEST_F(BrightnessDialog, TheTimerTickRendersTheEffectInTheAfterPreviewOnly) {
  BrightnessContrastParams params{};
  std::vector<uint8_t> before, after, beforeAgain;
  Open(&params, [&](HWND dialog) {
    for (int i = 0; i < 40; ++i) ScrollSlider(dialog, IDC_SLIDER_1, SB_LINERIGHT);
    SendMessageA(GetDlgItem(dialog, IDC_PREVIEW_AFTER), WM_TIMER, kPreviewTimer, 0);
    // A refresh request to the Before control only marks it dirty: no effect there.
    SendMessageA(GetDlgItem(dialog, IDC_PREVIEW_BEFORE), kRefreshRequest, 0, reinterpret_cast<LPARAM>(&params));
    SendMessageA(GetDlgItem(dialog, IDC_PREVIEW_BEFORE), WM_TIMER, kPreviewTimer, 0);
    before = PreviewPixels(Preview(dialog, IDC_PREVIEW_BEFORE));
    after = PreviewPixels(Preview(dialog, IDC_PREVIEW_AFTER));
    ClickButton(dialog, IDOK);
  });
  ASSERT_FALSE(before.empty());
  ASSERT_EQ(after.size(), before.size());
  size_t changed = 0;
  for (size_t i = 0; i < before.size(); ++i) {
    if (before[i] == 0 && i % 4 == 3) continue;  // may be row padding
    const int expected = std::min(before[i] + 40, 255);
    if (after[i] != expected && !(before[i] == 0 && after[i] == 0)) {
      ADD_FAILURE() << "byte " << i << ": " << int(before[i]) << " became " << int(after[i]);
      break;
    }
    changed += after[i] != before[i];
  }
  EXPECT_GT(changed, before.size() / 2);
}

TEST_F(BrightnessDialog, ZoomButtonsMoveBothPreviewsAndStopAtTheLimits) {
  BrightnessContrastParams params{};
  int first = 0, minimum = 0, afterMinus = 0, afterPlus[2] = {0, 0};
  bool afterHasButtons = true;
  Open(&params, [&](HWND dialog) {
    PreviewState* before = Preview(dialog, IDC_PREVIEW_BEFORE);
    PreviewState* after = Preview(dialog, IDC_PREVIEW_AFTER);
    first = before->view.zoom;
    minimum = before->minZoom;
    afterHasButtons = IsWindowVisible(GetDlgItem(after->window, IDC_ZOOM_IN)) != 0;
    SendMessageA(before->window, WM_COMMAND, IDC_ZOOM_OUT, 0);  // at the minimum: nothing
    afterMinus = before->view.zoom;
    SendMessageA(before->window, WM_COMMAND, IDC_ZOOM_IN, 0);
    afterPlus[0] = before->view.zoom;
    afterPlus[1] = after->view.zoom;
    ClickButton(dialog, IDOK);
  });
  EXPECT_EQ(first, minimum);
  EXPECT_LT(first, 100) << "a 300 x 200 picture does not fit the preview at 100 %";
  EXPECT_FALSE(afterHasButtons) << "only the Before preview has zoom buttons";
  EXPECT_EQ(afterMinus, first);
  EXPECT_EQ(afterPlus[0], ZoomStep(first, ZoomDirection::kIn));
  EXPECT_EQ(afterPlus[1], afterPlus[0]);
}

TEST_F(BrightnessDialog, DraggingPansBothPreviews) {
  BrightnessContrastParams params{};
  ViewRect start{}, moved{}, twin{};
  int zoom = 0;
  Open(&params, [&](HWND dialog) {
    PreviewState* before = Preview(dialog, IDC_PREVIEW_BEFORE);
    SendMessageA(before->window, WM_COMMAND, IDC_ZOOM_IN, 0);
    SendMessageA(before->window, WM_COMMAND, IDC_ZOOM_IN, 0);
    zoom = before->view.zoom;
    start = ViewRect{before->view.viewLeft, before->view.viewTop, before->view.viewRight, before->view.viewBottom};
    SendMessageA(before->display, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 30));
    SendMessageA(before->display, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 30));
    SendMessageA(before->display, WM_LBUTTONUP, 0, MAKELPARAM(50, 30));
    moved = ViewRect{before->view.viewLeft, before->view.viewTop, before->view.viewRight, before->view.viewBottom};
    const PreviewState* after = Preview(dialog, IDC_PREVIEW_AFTER);
    twin = ViewRect{after->view.viewLeft, after->view.viewTop, after->view.viewRight, after->view.viewBottom};
    ClickButton(dialog, IDOK);
  });
  EXPECT_EQ(moved, PannedView(start, 300, 200, zoom, 10, 0));
  EXPECT_LT(moved.left, start.left) << "dragging right shows what lies to the left";
  EXPECT_EQ(twin, moved);
}

TEST(BrightnessDialogGray, GreyPicturesGetTheGrayLayout) {
  HGLOBAL host = MakePicture(true);
  BrightnessContrastParams params{};
  std::string caption;
  bool redEnabled = true;
  DriveDialog([&] { return GetFxParam(EFFECT_BRIGHTNESS_CONTRAST, nullptr, host, &params); },
              [&](HWND dialog) {
                caption = WindowText(GetDlgItem(dialog, IDC_CHANNEL_RGB));
                redEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_CHANNEL_R)) != 0;
                ClickButton(dialog, IDOK);
              });
  EXPECT_EQ(caption, "Gray");
  EXPECT_FALSE(redEnabled);
  FreeHostImage(host);
}

TEST(Framework, EffectsWithoutADialogGiveMinusTwo) {
  HGLOBAL host = MakePicture(false);
  int record[64] = {};
  for (int id : {3, 9, 55, 66, 69, 70, 0, 71}) EXPECT_EQ(GetFxParam(id, nullptr, host, record), -2) << id;
  EXPECT_EQ(GetFxParam(EFFECT_BRIGHTNESS_CONTRAST, nullptr, host, nullptr), -2) << "no record to fill";
  FreeHostImage(host);
}

TEST(Framework, BackgroundValuesReachTheImagingLibrary) {
  // A 20 x 10 picture sits in the middle of the display; the rest of the composed picture is
  // the background, here squares of 4 pixels, red (COLORREF 0x000000FF) and blue.
  HGLOBAL image = MakeRgbDib(20, 10, [](int, int) { return Bgr{255, 255, 255}; });
  HGLOBAL host = MakeHostImage(20, 10, {{image, MakeGreyDib(20, 10, [](int, int) { return uint8_t{255}; })}}, 0);
  ASSERT_EQ(GetFxuiBackgroundSetting(4, 0x000000FF, 0x00FF0000), 1);
  BrightnessContrastParams params{};
  COLORREF first = 0, second = 0, centre = 0;
  DriveDialog([&] { return GetFxParam(EFFECT_BRIGHTNESS_CONTRAST, nullptr, host, &params); },
              [&](HWND dialog) {
                HWND display = Preview(dialog, IDC_PREVIEW_BEFORE)->display;
                UpdateWindow(display);
                RECT client;
                GetClientRect(display, &client);
                HDC dc = GetDC(display);
                first = GetPixel(dc, 1, 1);
                second = GetPixel(dc, 5, 1);
                centre = GetPixel(dc, client.right / 2, client.bottom / 2);
                ReleaseDC(display, dc);
                ClickButton(dialog, IDOK);
              });
  EXPECT_EQ(first, RGB(255, 0, 0));
  EXPECT_EQ(second, RGB(0, 0, 255));
  EXPECT_EQ(centre, RGB(255, 255, 255));
  GetFxuiBackgroundSetting(0, 0, 0);
  FreeHostImage(host);
}

TEST(Framework, ModuleEntryAnswersOneWhenTheClassesExist) {
  HMODULE module = GetModuleHandleA("fxUi.dll");
  ASSERT_NE(module, nullptr);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(reinterpret_cast<const BYTE*>(module) + dos->e_lfanew);
  using Entry = BOOL(WINAPI*)(HINSTANCE, DWORD, LPVOID);
  auto entry = reinterpret_cast<Entry>(reinterpret_cast<const BYTE*>(module) + nt->OptionalHeader.AddressOfEntryPoint);
  WNDCLASSA existing;
  ASSERT_TRUE(GetClassInfoA(module, "previewwnd", &existing)) << "registered at load";
  EXPECT_EQ(entry(module, DLL_THREAD_ATTACH, nullptr), TRUE);
  EXPECT_TRUE(GetClassInfoA(module, "SubPreviewWnd", &existing));
}

}  // namespace

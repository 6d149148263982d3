// The brightness and contrast dialog as a table of steps, and the framework around every
// dialog: the previews' zoom and panning, the answer without a record, the background values
// and the module entry.
#include <gtest/gtest.h>

#include "dialog_driver.h"
#include "dialog_steps.h"
#include "fxui.h"
#include "image/host_image.h"
#include "preview/preview_control.h"
#include "preview/view_geometry.h"
#include "resources/resource.h"
#include "test_images.h"
#include "wine_probe.h"

namespace {

TEST(BrightnessContrastDialog, Table) {
  RunOpenings({
      {EFFECT_BRIGHTNESS_CONTRAST, kColour, {9, 99, 99},
       {Text(0, "Brightness and Contrast"), Field(0, 0), Field(1, 0), Field(2, 0),  // written at start
        Scroll(IDC_SLIDER_1, SB_LINERIGHT), Scroll(IDC_SLIDER_1, SB_LINERIGHT), Scroll(IDC_SLIDER_1, SB_LINERIGHT),
        Scroll(IDC_SLIDER_2, SB_PAGELEFT), Click(IDC_CHANNEL_G), Text(IDC_LABEL_1, "3"), Text(IDC_LABEL_2, "-16"),
        Scroll(IDC_SLIDER_1, SB_ENDSCROLL, 200), Scroll(IDC_SLIDER_1, 9, 200), Field(1, 3), Text(IDC_LABEL_1, "3"),
        AfterShowsEffect(), Click(IDOK)},
       1, {2, 3, -16}},
      // Back at the centre at the next opening; Cancel keeps what the dialog wrote.
      {EFFECT_BRIGHTNESS_CONTRAST, kColour, {1, 50, 50},
       {Position(IDC_SLIDER_1, 128), Text(IDC_LABEL_2, "0"), Scroll(IDC_SLIDER_1, SB_THUMBTRACK, 255),
        Scroll(IDC_SLIDER_2, SB_LEFT), Text(IDC_LABEL_1, "127"), Text(IDC_LABEL_2, "-128"), Click(IDCANCEL)},
       0, {0, 127, -128}},
      {EFFECT_BRIGHTNESS_CONTRAST, kGrey, {3, 0, 0},
       {Text(IDC_CHANNEL_RGB, "Gray"), Enabled(IDC_CHANNEL_RGB, true), Enabled(IDC_CHANNEL_R, false),
        Enabled(IDC_CHANNEL_G, false), Enabled(IDC_CHANNEL_B, false), Scroll(IDC_SLIDER_1, SB_PAGERIGHT),
        AfterShowsEffect(), Click(IDOK)},
       1, {0, 16, 0}},
  });
}

// A 300 x 200 picture, larger than the previews.
HGLOBAL LargePicture() {
  HGLOBAL image = MakeRgbDib(300, 200, [](int x, int y) { return Bgr{uint8_t(x), uint8_t(y), 90}; });
  return MakeHostImage(300, 200, {{image, MakeGreyDib(300, 200, [](int, int) { return uint8_t{255}; })}}, 0);
}

ViewRect Visible(const PreviewState* state) {
  return {state->view.viewLeft, state->view.viewTop, state->view.viewRight, state->view.viewBottom};
}

TEST(Framework, ZoomingAndPanningTheBeforePreviewMovesBoth) {
  HGLOBAL host = LargePicture();
  int record[64] = {};
  int first = 0, minimum = 0, afterMinus = 0, zoomed[2] = {}, panZoom = 0;
  ViewRect start{}, moved{}, twin{};
  DriveDialog([&] { return GetFxParam(EFFECT_BRIGHTNESS_CONTRAST, nullptr, host, record); },
              [&](HWND dialog) {
                PreviewState* before = PreviewOf(dialog, IDC_PREVIEW_BEFORE);
                const PreviewState* after = PreviewOf(dialog, IDC_PREVIEW_AFTER);
                first = before->view.zoom;
                minimum = before->minZoom;
                SendMessageA(before->window, WM_COMMAND, IDC_ZOOM_OUT, 0);  // at the minimum: nothing
                afterMinus = before->view.zoom;
                SendMessageA(before->window, WM_COMMAND, IDC_ZOOM_IN, 0);
                zoomed[0] = before->view.zoom;
                zoomed[1] = after->view.zoom;
                SendMessageA(before->window, WM_COMMAND, IDC_ZOOM_IN, 0);
                panZoom = before->view.zoom;
                start = Visible(before);
                SendMessageA(before->display, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 30));
                SendMessageA(before->display, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 30));
                SendMessageA(before->display, WM_LBUTTONUP, 0, MAKELPARAM(50, 30));
                moved = Visible(before);
                twin = Visible(after);
                ClickButton(dialog, IDOK);
              });
  FreeHostImage(host);
  EXPECT_EQ(first, minimum);
  EXPECT_LT(first, 100) << "a 300 x 200 picture does not fit the preview at 100 %";
  EXPECT_EQ(afterMinus, first);
  EXPECT_EQ(zoomed[0], ZoomStep(first, ZoomDirection::kIn));
  EXPECT_EQ(zoomed[1], zoomed[0]);
  EXPECT_EQ(moved, PannedView(start, 300, 200, panZoom, 10, 0));
  EXPECT_LT(moved.left, start.left) << "dragging right shows what lies to the left";
  EXPECT_EQ(twin, moved);
}

// Only the Before preview has zoom buttons, and the geometric distortions show the whole
// picture: no zoom buttons, no panning.
TEST(Framework, WholeImageEffectsNeitherZoomNorPan) {
  struct Case {
    int effect;
    bool zoomsAndPans;
  };
  const Case cases[] = {{EFFECT_FISHEYE, false}, {EFFECT_CONE, false}, {EFFECT_WHIRLPOOL, false},
                        {EFFECT_SPIRAL, false},  {EFFECT_RIBBON, false}, {EFFECT_MOSAIC, true},
                        {EFFECT_OIL_PAINTING, true}};
  HGLOBAL host = LargePicture();
  for (const Case& c : cases) {
    int record[64] = {};
    bool buttons[2] = {}, pan[2] = {};
    DriveDialog([&] { return GetFxParam(c.effect, nullptr, host, record); },
                [&](HWND dialog) {
                  for (int i = 0; i < 2; ++i) {
                    const PreviewState* state = PreviewOf(dialog, IDC_PREVIEW_BEFORE + i);
                    buttons[i] = IsWindowVisible(GetDlgItem(state->window, IDC_ZOOM_IN)) != 0;
                    pan[i] = state->panEnabled != 0;
                  }
                  ClickButton(dialog, IDOK);
                });
    EXPECT_EQ(buttons[0], c.zoomsAndPans) << c.effect;
    EXPECT_FALSE(buttons[1]) << c.effect;
    EXPECT_EQ(pan[0], c.zoomsAndPans) << c.effect;
    EXPECT_EQ(pan[1], c.zoomsAndPans) << c.effect;
  }
  int record[64] = {};
  EXPECT_EQ(GetFxParam(EFFECT_BRIGHTNESS_CONTRAST, nullptr, host, nullptr), -2) << "no record to fill";
  EXPECT_EQ(GetFxParam(EFFECT_SOFTEN, nullptr, host, record), -2) << "no dialog, even with a picture";
  FreeHostImage(host);
}

TEST(Framework, BackgroundValuesReachTheImagingLibrary) {
  SKIP_UNLESS(PixelsReadable(), "the preview display's pixels");
  // A 20 x 10 picture sits in the middle of the display; the rest of the composed picture is
  // the background, here squares of 4 pixels, red (COLORREF 0x000000FF) and blue.
  HGLOBAL image = MakeRgbDib(20, 10, [](int, int) { return Bgr{255, 255, 255}; });
  HGLOBAL host = MakeHostImage(20, 10, {{image, MakeGreyDib(20, 10, [](int, int) { return uint8_t{255}; })}}, 0);
  ASSERT_EQ(GetFxuiBackgroundSetting(4, 0x000000FF, 0x00FF0000), 1);
  BrightnessContrastParams params{};
  COLORREF first = 0, second = 0, centre = 0;
  DriveDialog([&] { return GetFxParam(EFFECT_BRIGHTNESS_CONTRAST, nullptr, host, &params); },
              [&](HWND dialog) {
                HWND display = PreviewOf(dialog, IDC_PREVIEW_BEFORE)->display;
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

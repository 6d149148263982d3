// The User's Filter dialog through GetFxParam, driven as a user would: weights typed into the
// cells under each symmetry, scale and bias, Reset, Load and Save through the file dialogs,
// and the After preview.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <vector>

#include "dialog_driver.h"
#include "file_dialog_driver.h"
#include "fxui.h"
#include "image/host_image.h"
#include "preview/preview_control.h"
#include "resources/resource.h"
#include "test_images.h"
#include "wine_probe.h"

namespace {

using Kernel = std::vector<int>;  // 25 weights, row by row

int Cell(int row, int column) { return IDC_KERNEL_FIRST + 5 * row + column; }

Kernel Identity() {
  Kernel kernel(25, 0);
  kernel[12] = 1;
  return kernel;
}

Kernel RecordKernel(const UserFilterParams& params) { return Kernel(params.kernel, params.kernel + 25); }

// Typing: the box's text changes and its change notification reaches the dialog.
void Type(HWND dialog, int id, const char* text) { SetWindowTextA(GetDlgItem(dialog, id), text); }

int refreshes = 0;
WNDPROC afterProc = nullptr;
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRefreshRequest) ++refreshes;
  return CallWindowProcA(afterProc, window, message, wParam, lParam);
}

std::vector<uint8_t> PreviewPixels(HWND dialog, int id) {
  auto* state = reinterpret_cast<PreviewState*>(GetWindowLongPtrA(GetDlgItem(dialog, id), GWLP_USERDATA));
  ImageEntry* entry = state ? LockImageEntry(state->view.previewImage, 0) : nullptr;
  if (!entry) return {};
  std::vector<uint8_t> pixels = PixelBytes(entry->image);
  UnlockHostImage(state->view.previewImage);
  return pixels;
}

class UserFilterDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    SKIP_UNLESS(EditTextWorks(), "the User's Filter dialog, which sets its edit boxes,");
    HGLOBAL image = MakeRgbDib(96, 72, [](int x, int y) { return Bgr{uint8_t(x * 2), uint8_t(y * 3), 240}; });
    HGLOBAL mask = MakeGreyDib(96, 72, [](int, int) { return uint8_t{255}; });
    host_ = MakeHostImage(96, 72, {{image, mask}}, 0);
  }
  void TearDown() override {
    if (host_) FreeHostImage(host_);
  }
  int Open(UserFilterParams* params, const std::function<void(HWND)>& script) {
    return DriveDialog([&] { return GetFxParam(EFFECT_USER_FILTER, nullptr, host_, params); },
                       [&](HWND dialog) {
                         refreshes = 0;
                         afterProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
                             GetDlgItem(dialog, IDC_PREVIEW_AFTER), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProc)));
                         script(dialog);
                       });
  }
  HGLOBAL host_ = nullptr;
};

TEST_F(UserFilterDialog, OkAtOnceReturnsTheIdentityWithScaleOneAndBiasZero) {
  UserFilterParams params{5, 9, 2, {9, 9, 9}};
  std::string title;
  EXPECT_EQ(Open(&params, [&](HWND dialog) {
              title = WindowText(dialog);
              ClickButton(dialog, IDOK);
            }),
            1);
  EXPECT_EQ(title, "User's Filter");
  EXPECT_EQ(std::vector<int>({params.scale, params.bias, params.symmetry}), std::vector<int>({1, 0, 0}));
  EXPECT_EQ(RecordKernel(params), Identity());
}

TEST_F(UserFilterDialog, TypedWeightsAreMirroredByTheCheckedSymmetry) {
  struct Case {
    int symmetry;  // the button checked after a Reset
    int row, column;
    const char* text;
    std::map<int, int> changed;  // cell index -> weight, beyond the identity
    int symmetryField;
  };
  const Case cases[] = {
      {IDC_SYMMETRY_HORI, 0, 1, "2", {{1, 2}, {3, 2}}, 1},
      {IDC_SYMMETRY_VERT, 0, 1, "2", {{1, 2}, {21, 2}}, 2},
      {IDC_SYMMETRY_4WAY, 0, 1, "2", {{1, 2}, {3, 2}, {21, 2}, {23, 2}}, 3},
      {IDC_SYMMETRY_4WAY, 2, 0, "5", {{10, 5}, {14, 5}, {2, 5}, {22, 5}}, 3},
      {IDC_SYMMETRY_4WAY, 2, 2, "7", {{12, 7}}, 3},
      {IDC_SYMMETRY_NONE, 1, 1, "-3", {{6, -3}}, 0},
      {IDC_SYMMETRY_HORI, 3, 0, "x", {{3 * 5, 0}, {3 * 5 + 4, 0}}, 1},  // not a number: 0
  };
  UserFilterParams params{};
  Open(&params, [&](HWND dialog) {
    for (const Case& c : cases) {
      ClickButton(dialog, IDC_FILTER_RESET);
      ClickButton(dialog, c.symmetry);
      refreshes = 0;
      Type(dialog, Cell(c.row, c.column), c.text);
      Kernel expected = Identity();
      for (const auto& [cell, weight] : c.changed) expected[cell] = weight;
      const std::string what = std::string("typing ") + c.text + " at (" + std::to_string(c.row) + ", " +
                               std::to_string(c.column) + ") with button " + std::to_string(c.symmetry);
      EXPECT_EQ(RecordKernel(params), expected) << what;
      EXPECT_EQ(params.symmetry, c.symmetryField) << what;
      EXPECT_EQ(refreshes, 1) << what << ": the mirrored writes do not echo";
    }
    ClickButton(dialog, IDCANCEL);
  });
}

TEST_F(UserFilterDialog, ScaleBiasResetOkAndCancel) {
  UserFilterParams params{};
  Kernel afterReset;
  int checkedAfterReset = 0;
  EXPECT_EQ(Open(&params, [&](HWND dialog) {
              Type(dialog, IDC_FILTER_SCALE, "9");
              EXPECT_EQ(params.scale, 9);
              Type(dialog, IDC_FILTER_BIAS, "20");
              EXPECT_EQ(params.bias, 20);
              ClickButton(dialog, IDC_SYMMETRY_4WAY);
              Type(dialog, Cell(0, 0), "4");
              ClickButton(dialog, IDC_FILTER_RESET);
              afterReset = RecordKernel(params);
              for (int id = IDC_SYMMETRY_NONE; id <= IDC_SYMMETRY_4WAY; ++id) {
                if (IsDlgButtonChecked(dialog, id)) checkedAfterReset = id;
              }
              EXPECT_EQ(params.scale, 1);
              EXPECT_EQ(params.bias, 0);
              Type(dialog, Cell(4, 4), "6");
              Type(dialog, IDC_FILTER_SCALE, "3");
              ClickButton(dialog, IDCANCEL);
            }),
            0);
  EXPECT_EQ(afterReset, Identity());
  EXPECT_EQ(checkedAfterReset, IDC_SYMMETRY_NONE);
  EXPECT_EQ(params.kernel[24], 6) << "Cancel keeps what the dialog wrote";
  EXPECT_EQ(params.scale, 3);
  EXPECT_EQ(params.symmetry, 0);
}

TEST_F(UserFilterDialog, SaveAndLoadGoThroughTheFileDialogsAndTheChangePath) {
  SKIP_UNLESS(ComboBoxesWork(), "the file dialogs");
  const std::string saved = ScratchFile("fxui-test.udf");
  const std::string curve = ScratchFile("fxui-test.mmc");
  std::ofstream(curve, std::ios::binary) << std::string("RUCC\0\1\0\0\10\0\0\1\0\0\0\0\0\0", 18) << std::string(256, '\1');
  UserFilterParams params{};
  FileDialogSeen saveSeen, loadSeen;
  Kernel afterCurveLoad, afterLoad;
  int checkedAfterLoad = 0;
  Open(&params, [&](HWND dialog) {
    Type(dialog, Cell(0, 1), "2");  // "No": only this cell
    Type(dialog, Cell(1, 4), "-300");
    Type(dialog, IDC_FILTER_SCALE, "4");
    Type(dialog, IDC_FILTER_BIAS, "7");
    saveSeen = ClickAndAnswerFileDialog(dialog, IDC_FILTER_SAVE, saved);
    ClickButton(dialog, IDC_FILTER_RESET);
    loadSeen = ClickAndAnswerFileDialog(dialog, IDC_FILTER_LOAD, curve);
    afterCurveLoad = RecordKernel(params);
    // With "Hori" checked, every loaded cell is mirrored as it arrives: (0, 1) = 2 writes
    // (0, 3), then the file's (0, 3) = 0 writes (0, 1) back to 0; (1, 0) = 0 first writes
    // (1, 4), then the file's (1, 4) = -300 writes (1, 0).
    ClickButton(dialog, IDC_SYMMETRY_HORI);
    ClickAndAnswerFileDialog(dialog, IDC_FILTER_LOAD, saved);
    afterLoad = RecordKernel(params);
    for (int id = IDC_SYMMETRY_NONE; id <= IDC_SYMMETRY_4WAY; ++id) {
      if (IsDlgButtonChecked(dialog, id)) checkedAfterLoad = id;
    }
    ClickButton(dialog, IDOK);
  });
  EXPECT_EQ(saveSeen.title, "Save User Defined Filter");
  EXPECT_EQ(loadSeen.title, "Load User Defined Filter");
  std::ifstream in(saved, std::ios::binary);
  const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_EQ(file.size(), 74u);
  EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 18),
            (std::vector<uint8_t>{'F', 'D', 'U', 'C', 5, 0, 5, 0, 16, 0, 56, 0, 0, 0, 0, 0, 0, 0}));
  std::vector<uint8_t> payload(56, 0);
  payload[2] = 2;                                    // (0, 1)
  payload[18] = 0xD4, payload[19] = 0xFE;            // (1, 4) = -300
  payload[24] = 1;                                   // the centre
  payload[50] = 4, payload[52] = 7, payload[54] = 0;  // scale, bias, "No"
  EXPECT_EQ(std::vector<uint8_t>(file.begin() + 18, file.end()), payload);
  EXPECT_EQ(afterCurveLoad, Identity()) << "a curve file is refused by its magic";
  Kernel expected = Identity();
  expected[5] = -300;
  expected[9] = -300;
  EXPECT_EQ(afterLoad, expected);
  EXPECT_EQ(checkedAfterLoad, IDC_SYMMETRY_NONE) << "the file's symmetry is checked last";
  EXPECT_EQ(params.scale, 4);
  EXPECT_EQ(params.bias, 7);
  EXPECT_EQ(params.symmetry, 0);
  DeleteFileA(saved.c_str());
  DeleteFileA(curve.c_str());
}

TEST_F(UserFilterDialog, TheAfterPreviewShowsTheBiasAndSurvivesAScaleOfZero) {
  UserFilterParams params{};
  std::vector<uint8_t> before, biased, unscaled;
  Open(&params, [&](HWND dialog) {
    HWND after = GetDlgItem(dialog, IDC_PREVIEW_AFTER);
    Type(dialog, IDC_FILTER_BIAS, "20");
    SendMessageA(after, WM_TIMER, kPreviewTimer, 0);
    before = PreviewPixels(dialog, IDC_PREVIEW_BEFORE);
    biased = PreviewPixels(dialog, IDC_PREVIEW_AFTER);
    Type(dialog, IDC_FILTER_SCALE, "0");
    SendMessageA(after, WM_TIMER, kPreviewTimer, 0);
    unscaled = PreviewPixels(dialog, IDC_PREVIEW_AFTER);
    ClickButton(dialog, IDOK);
  });
  EXPECT_EQ(params.scale, 0) << "passed on unchanged";
  ASSERT_EQ(before.size(), size_t{96 * 72 * 3});
  ASSERT_EQ(biased.size(), before.size());
  for (size_t i = 0; i < before.size(); ++i) {
    ASSERT_EQ(biased[i], std::min(before[i] + 20, 255)) << "byte " << i;
  }
  EXPECT_EQ(unscaled, before) << "no image from the effect: the picture as it is";
}

}  // namespace

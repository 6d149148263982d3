// The Magic Mirror dialog through GetFxParam, driven as a user would: strokes drawn into the
// curve editor with mouse messages, the shaping functions, the mapping buttons, Load and Save
// through the file dialogs, and the After preview.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "dialog_driver.h"
#include "dialog_steps.h"
#include "file_dialog_driver.h"
#include "fxui.h"
#include "image/host_image.h"
#include "preview/preview_control.h"
#include "resources/resource.h"
#include "test_images.h"
#include "wine_probe.h"

namespace {

using Curve = std::vector<uint8_t>;

Curve Identity() {
  Curve curve(256);
  for (int i = 0; i < 256; ++i) curve[i] = uint8_t(i);
  return curve;
}

Curve RecordCurve(const MagicMirrorParams& params) { return Curve(params.curve, params.curve + 256); }

// Counts the refresh requests that reach the After preview.
int refreshes = 0;
WNDPROC afterProc = nullptr;
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRefreshRequest) ++refreshes;
  return CallWindowProcA(afterProc, window, message, wParam, lParam);
}
void CountRefreshes(HWND dialog) {
  refreshes = 0;
  afterProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(GetDlgItem(dialog, IDC_PREVIEW_AFTER), GWLP_WNDPROC,
                                                          reinterpret_cast<LONG_PTR>(CountingProc)));
}

// Gives the editor a 257 x 257 client area, so that input i lies at x = i + 1 and output v at
// y = 256 - v.
HWND SizedEditor(HWND dialog) {
  HWND editor = GetDlgItem(dialog, IDC_CURVE_EDITOR);
  RECT window, client;
  GetWindowRect(editor, &window);
  GetClientRect(editor, &client);
  SetWindowPos(editor, nullptr, 0, 0, 257 + (window.right - window.left) - client.right,
               257 + (window.bottom - window.top) - client.bottom, SWP_NOMOVE | SWP_NOZORDER);
  return editor;
}

void Mouse(HWND editor, UINT message, WPARAM keys, int input, int output) {
  SendMessageA(editor, message, keys, MAKELPARAM(input + 1, 256 - output));
}

std::string Axis(HWND dialog) { return WindowText(GetDlgItem(dialog, IDC_CURVE_AXIS)); }

void Operate(HWND dialog, int function) {
  SendDlgItemMessageA(dialog, IDC_CURVE_FUNCTION, CB_SETCURSEL, function, 0);
  ClickButton(dialog, IDC_CURVE_OPERATE);
}

std::vector<uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class MagicMirrorDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    HGLOBAL image = MakeRgbDib(96, 72, [](int x, int y) { return Bgr{uint8_t(x * 2), uint8_t(y * 3), 40}; });
    HGLOBAL mask = MakeGreyDib(96, 72, [](int, int) { return uint8_t{255}; });
    host_ = MakeHostImage(96, 72, {{image, mask}}, 0);
  }
  void TearDown() override { FreeHostImage(host_); }
  int Open(MagicMirrorParams* params, const std::function<void(HWND)>& script) {
    return DriveDialog([&] { return GetFxParam(EFFECT_MAGIC_MIRROR, nullptr, host_, params); },
                       [&](HWND dialog) {
                         CountRefreshes(dialog);
                         script(dialog);
                       });
  }
  HGLOBAL host_ = nullptr;
};

// A stroke from (0, 255) to (255, 0): entry i = 255 + i * (0 - 255) / 255 = 255 - i.
void DrawFalling(HWND editor) {
  Mouse(editor, WM_LBUTTONDOWN, MK_LBUTTON, 0, 255);
  Mouse(editor, WM_MOUSEMOVE, MK_LBUTTON, 255, 0);
  Mouse(editor, WM_LBUTTONUP, 0, 255, 0);
}

Curve Falling() {
  Curve curve(256);
  for (int i = 0; i < 256; ++i) curve[i] = uint8_t(255 - i);
  return curve;
}

TEST_F(MagicMirrorDialog, StrokesFillTheCurveRefreshOnReleaseAndReachTheAfterPreview) {
  struct Stroke {
    UINT message;
    WPARAM keys;
    int input, output;
    std::vector<std::pair<int, int>> entries;  // (entry, value) expected in the record after it
    int refreshes;                             // counted since the dialog started
  };
  // The run between points is filled as the curve logic's tests pin down; here the dialog's part.
  const Stroke strokes[] = {
      {WM_LBUTTONDOWN, MK_LBUTTON, 10, 50, {{9, 9}, {10, 50}, {11, 11}}, 0},
      {WM_MOUSEMOVE, MK_LBUTTON, 20, 100, {{15, 75}, {20, 100}}, 0},
      {WM_LBUTTONUP, 0, 20, 100, {{20, 100}}, 1},
      {WM_MOUSEMOVE, 0, 100, 0, {{100, 100}}, 1},        // no button held: nothing
      {WM_LBUTTONDOWN, MK_LBUTTON, -1, 0, {{0, 0}}, 1},  // outside the drawing area: ignored
      {WM_LBUTTONUP, 0, -1, 0, {{0, 0}}, 2},
  };
  MagicMirrorParams params{};
  std::vector<uint8_t> before, after;
  const int result = Open(&params, [&](HWND dialog) {
    HWND editor = SizedEditor(dialog);
    for (size_t s = 0; s < std::size(strokes); ++s) {
      const Stroke& stroke = strokes[s];
      Mouse(editor, stroke.message, stroke.keys, stroke.input, stroke.output);
      for (const auto& [entry, value] : stroke.entries) {
        EXPECT_EQ(params.curve[entry], value) << "stroke " << s << " entry " << entry;
      }
      EXPECT_EQ(refreshes, stroke.refreshes) << "stroke " << s;
    }
    DrawFalling(editor);
    SendMessageA(GetDlgItem(dialog, IDC_PREVIEW_AFTER), WM_TIMER, kPreviewTimer, 0);
    before = PreviewPixels(dialog, IDC_PREVIEW_BEFORE);
    after = PreviewPixels(dialog, IDC_PREVIEW_AFTER);
    ClickButton(dialog, IDOK);
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(params.mapping, 0);
  EXPECT_EQ(RecordCurve(params), Falling());
  constexpr size_t kStride = 96 * 3;  // the picture is shown whole at 100 %
  ASSERT_EQ(before.size(), kStride * 72);
  ASSERT_EQ(after.size(), before.size());
  // The falling curve mirrors each row left to right: pixel x takes pixel 95 - x.
  for (size_t i = 0; i < after.size(); ++i) {
    const size_t x = i % kStride / 3, mirrored = i - i % kStride + (95 - x) * 3 + i % 3;
    ASSERT_EQ(after[i], before[mirrored]) << "row " << i / kStride << " x " << x;
  }
}

// Word 0 is the mapping; word 3 holds curve entries 8 .. 11, 0x0B0A0908 in the identity,
// which every opening starts from although the first test ended with OK and a drawn curve.
TEST_F(MagicMirrorDialog, MappingButtonsAndWhatIsRememberedThroughOkOnly) {
  constexpr int kIdentity8 = 0x0B0A0908;
  RunOpenings({
      {EFFECT_MAGIC_MIRROR, kColour, {7},
       {Text(0, "Magic Mirror"), Text(IDC_CURVE_AXIS, "x"), Field(0, 0), Field(3, kIdentity8),
        Click(IDC_MAPPING_VERTICAL), Text(IDC_CURVE_AXIS, "y"), Field(0, 1), Refreshes(1),
        Click(IDC_MAPPING_VERTICAL), Refreshes(0),  // already current
        Click(IDC_MAPPING_RADIAL), Text(IDC_CURVE_AXIS, "r"), Field(0, 2), Click(IDC_MAPPING_ANGULAR),
        Text(IDC_CURVE_AXIS, "r"), Field(0, 3), Click(IDC_MAPPING_HORIZONTAL), Text(IDC_CURVE_AXIS, "x"), Field(0, 0),
        Refreshes(3), Click(IDC_MAPPING_VERTICAL), Select(IDC_CURVE_FUNCTION, 3), Click(IDOK)},
       1, {1}},
      // OK remembered the mapping and the function; Cancel remembers nothing.
      {EFFECT_MAGIC_MIRROR, kColour, {7},
       {Checked(IDC_MAPPING_VERTICAL, true), Checked(IDC_MAPPING_HORIZONTAL, false), Text(IDC_CURVE_AXIS, "y"),
        Selected(IDC_CURVE_FUNCTION, 3), Field(0, 1), Field(3, kIdentity8), Click(IDC_MAPPING_ANGULAR),
        Select(IDC_CURVE_FUNCTION, 6), Click(IDCANCEL)},
       0, {3}},
      {EFFECT_MAGIC_MIRROR, kColour, {7},
       {Checked(IDC_MAPPING_VERTICAL, true), Checked(IDC_MAPPING_ANGULAR, false), Selected(IDC_CURVE_FUNCTION, 3),
        Click(IDC_MAPPING_HORIZONTAL), Select(IDC_CURVE_FUNCTION, 0), Click(IDOK)},  // back to the first state
       1, {0}},
  });
}

TEST_F(MagicMirrorDialog, FunctionsAndSaveAndLoadThroughTheFileDialogs) {
  SKIP_UNLESS(ComboBoxesWork(), "the function list and the file dialogs");
  const std::string saved = ScratchFile("fxui-test.mmc");
  const std::string filter = ScratchFile("fxui-test.udf");
  std::ofstream(filter, std::ios::binary) << std::string("FDUC\5\0\5\0\20\0\70\0\0\0\0\0\0\0", 18) << std::string(56, '\1');
  std::string longPath = ScratchFile("");
  longPath += std::string(130 - longPath.size(), 'n') + ".mmc";
  MagicMirrorParams params{};
  FileDialogSeen saveSeen, loadSeen;
  Curve afterFilterLoad, afterLoad, afterCancelledLoad;
  int mappingAfterLoad = -1;
  std::string axisAfterLoad;
  std::vector<std::string> names;
  int square128 = -1, refreshesAfterOne = 0;
  Open(&params, [&](HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_CURVE_FUNCTION);
    for (int i = 0; i < SendMessageA(list, CB_GETCOUNT, 0, 0); ++i) {
      char name[32] = "";
      SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(name));
      names.push_back(name);
    }
    Operate(dialog, 5);  // Square
    refreshesAfterOne = refreshes;
    square128 = params.curve[128];
    ClickButton(dialog, IDC_MAPPING_RADIAL);
    DrawFalling(SizedEditor(dialog));
    saveSeen = ClickAndAnswerFileDialog(dialog, IDC_CURVE_SAVE, saved);
    ClickAndAnswerFileDialog(dialog, IDC_CURVE_SAVE, longPath);  // too long for the name buffer
    Operate(dialog, 7);  // Reset (the identity), and Horizontal
    ClickButton(dialog, IDC_MAPPING_HORIZONTAL);
    loadSeen = ClickAndAnswerFileDialog(dialog, IDC_CURVE_LOAD, filter);
    afterFilterLoad = RecordCurve(params);
    const int refreshesBefore = refreshes;
    ClickAndAnswerFileDialog(dialog, IDC_CURVE_LOAD, saved);
    EXPECT_EQ(refreshes, refreshesBefore + 1);
    afterLoad = RecordCurve(params);
    mappingAfterLoad = params.mapping;
    axisAfterLoad = Axis(dialog);
    ClickAndAnswerFileDialog(dialog, IDC_CURVE_LOAD, "");  // cancelled
    afterCancelledLoad = RecordCurve(params);
    ClickButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(names, (std::vector<std::string>{"Circle", "Exponent", "Logarithm", "Sine", "Arcsine", "Square",
                                             "Squareroot", "Reset", "Smooth"}));
  EXPECT_EQ(refreshesAfterOne, 1);
  EXPECT_EQ(square128, 64);  // (128 * 128 + 127) / 255
  EXPECT_TRUE(saveSeen.shown);
  EXPECT_EQ(saveSeen.title, "Save Magic Curve");
  EXPECT_EQ(loadSeen.title, "Load Magic Curve");
  const Curve falling = Falling();
  const std::vector<uint8_t> file = FileBytes(saved);
  ASSERT_EQ(file.size(), 274u);
  EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 18),
            (std::vector<uint8_t>{'R', 'U', 'C', 'C', 0, 1, 2, 0, 8, 0, 0, 1, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(std::vector<uint8_t>(file.begin() + 18, file.end()), falling);
  EXPECT_EQ(GetFileAttributesA(longPath.c_str()), INVALID_FILE_ATTRIBUTES) << "a path over 128 characters is refused";
  EXPECT_EQ(afterFilterLoad, Identity()) << "a filter file is refused by its magic";
  EXPECT_EQ(afterLoad, falling);
  EXPECT_EQ(mappingAfterLoad, 2);
  EXPECT_EQ(axisAfterLoad, "r");
  EXPECT_EQ(afterCancelledLoad, falling);
  DeleteFileA(saved.c_str());
  DeleteFileA(filter.c_str());
}

}  // namespace

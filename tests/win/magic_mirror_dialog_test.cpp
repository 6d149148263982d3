// The Magic Mirror dialog through GetFxParam, driven as a user would: strokes drawn into the
// curve editor with mouse messages, the shaping functions, the mapping buttons, Load and Save
// through the file dialogs, and the After preview.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
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

TEST_F(MagicMirrorDialog, StrokesFillTheCurveAndRefreshOnlyOnRelease) {
  struct Stroke {
    UINT message;
    WPARAM keys;
    int input, output;
    std::vector<std::pair<int, int>> entries;  // (entry, value) expected in the record after it
    int refreshes;                             // counted since the dialog started
  };
  const Stroke strokes[] = {
      {WM_LBUTTONDOWN, MK_LBUTTON, 10, 50, {{9, 9}, {10, 50}, {11, 11}}, 0},
      {WM_MOUSEMOVE, MK_LBUTTON, 20, 100, {{11, 55}, {15, 75}, {20, 100}, {21, 21}}, 0},
      {WM_MOUSEMOVE, MK_LBUTTON, 5, 0, {{4, 4}, {5, 0}, {6, 6}, {12, 46}, {19, 93}, {20, 100}}, 0},
      {WM_LBUTTONUP, 0, 5, 0, {{5, 0}}, 1},
      {WM_MOUSEMOVE, 0, 100, 0, {{100, 100}}, 1},  // no button held: nothing
      {WM_LBUTTONDOWN, MK_LBUTTON, -1, 0, {{0, 0}}, 1},  // outside the drawing area: ignored
      {WM_LBUTTONUP, 0, -1, 0, {{0, 0}}, 2},
  };
  MagicMirrorParams params{};
  const int result = Open(&params, [&](HWND dialog) {
    EXPECT_EQ(WindowText(dialog), "Magic Mirror");
    HWND editor = SizedEditor(dialog);
    for (size_t s = 0; s < std::size(strokes); ++s) {
      const Stroke& stroke = strokes[s];
      Mouse(editor, stroke.message, stroke.keys, stroke.input, stroke.output);
      for (const auto& [entry, value] : stroke.entries) {
        EXPECT_EQ(params.curve[entry], value) << "stroke " << s << " entry " << entry;
      }
      EXPECT_EQ(refreshes, stroke.refreshes) << "stroke " << s;
    }
    ClickButton(dialog, IDOK);
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(params.mapping, 0);
  EXPECT_EQ(params.curve[12], 46);
}

TEST_F(MagicMirrorDialog, OperateAppliesTheSelectedFunction) {
  SKIP_UNLESS(ComboBoxesWork(), "choosing a function from the list");
  MagicMirrorParams params{};
  std::vector<std::string> names;
  Curve afterSquare, afterSmooth;
  int refreshesAfterOne = 0;
  Open(&params, [&](HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_CURVE_FUNCTION);
    for (int i = 0; i < SendMessageA(list, CB_GETCOUNT, 0, 0); ++i) {
      char name[32] = "";
      SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(name));
      names.push_back(name);
    }
    Operate(dialog, 5);  // Square
    refreshesAfterOne = refreshes;
    afterSquare = RecordCurve(params);
    Operate(dialog, 7);  // Reset
    Operate(dialog, 8);  // Smooth
    afterSmooth = RecordCurve(params);
    ClickButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(names, (std::vector<std::string>{"Circle", "Exponent", "Logarithm", "Sine", "Arcsine", "Square",
                                             "Squareroot", "Reset", "Smooth"}));
  EXPECT_EQ(refreshesAfterOne, 1);
  ASSERT_EQ(afterSquare.size(), 256u);
  EXPECT_EQ(afterSquare[128], 64);  // (128 * 128 + 127) / 255
  EXPECT_EQ(afterSquare[255], 255);
  Curve smoothed = Identity();
  smoothed[255] = 254;
  EXPECT_EQ(afterSmooth, smoothed) << "Reset gave the identity back, Smooth changed its last entry";
}

TEST_F(MagicMirrorDialog, MappingButtonsAndWhatIsRememberedThroughOkOnly) {
  MagicMirrorParams params{};
  struct Click {
    int button;
    const char* axis;
    int mapping, refreshes;
  };
  const Click clicks[] = {
      {IDC_MAPPING_VERTICAL, "y", 1, 1},
      {IDC_MAPPING_VERTICAL, "y", 1, 1},  // already current: no refresh
      {IDC_MAPPING_RADIAL, "r", 2, 2},
      {IDC_MAPPING_ANGULAR, "r", 3, 3},
      {IDC_MAPPING_HORIZONTAL, "x", 0, 4},
  };
  EXPECT_EQ(Open(&params, [&](HWND dialog) {
              EXPECT_EQ(Axis(dialog), "x");
              for (const Click& click : clicks) {
                ClickButton(dialog, click.button);
                EXPECT_EQ(Axis(dialog), click.axis) << click.button;
                EXPECT_EQ(params.mapping, click.mapping) << click.button;
                EXPECT_EQ(refreshes, click.refreshes) << click.button;
              }
              ClickButton(dialog, IDCANCEL);
            }),
            0);
  EXPECT_EQ(params.mapping, 0) << "the record keeps what the dialog wrote";

  // Cancel remembers nothing; OK remembers the mapping and the function, never the curve.
  struct Opening {
    int click, function, expectChecked;
    const char* expectAxis;
    int expectFunction;
    bool ok;
  };
  const Opening openings[] = {
      {IDC_MAPPING_VERTICAL, 3, IDC_MAPPING_HORIZONTAL, "x", 0, true},
      {IDC_MAPPING_ANGULAR, 6, IDC_MAPPING_VERTICAL, "y", 3, false},
      {0, 0, IDC_MAPPING_VERTICAL, "y", 3, true},
  };
  for (const Opening& o : openings) {
    int checked = 0, function = -1;
    std::string axis;
    Curve atStart;
    params.mapping = 7;
    const int result = Open(&params, [&](HWND dialog) {
      for (int id = IDC_MAPPING_HORIZONTAL; id <= IDC_MAPPING_ANGULAR; ++id) {
        if (IsDlgButtonChecked(dialog, id)) checked = id;
      }
      axis = Axis(dialog);
      function = static_cast<int>(SendDlgItemMessageA(dialog, IDC_CURVE_FUNCTION, CB_GETCURSEL, 0, 0));
      atStart = RecordCurve(params);
      HWND editor = SizedEditor(dialog);
      Mouse(editor, WM_LBUTTONDOWN, MK_LBUTTON, 30, 200);
      Mouse(editor, WM_LBUTTONUP, 0, 30, 200);
      if (o.click) ClickButton(dialog, o.click);
      SendDlgItemMessageA(dialog, IDC_CURVE_FUNCTION, CB_SETCURSEL, o.function, 0);
      ClickButton(dialog, o.ok ? IDOK : IDCANCEL);
    });
    EXPECT_EQ(result, o.ok ? 1 : 0);
    EXPECT_EQ(checked, o.expectChecked) << o.click;
    EXPECT_EQ(axis, o.expectAxis) << o.click;
    EXPECT_EQ(atStart, Identity()) << "every opening starts from the identity";
    EXPECT_EQ(params.curve[30], 200);
    if (CAN_CHECK(ComboBoxesWork(), "the remembered function")) {
      EXPECT_EQ(function, o.expectFunction) << o.click;
    }
  }
  Open(&params, [](HWND dialog) {  // back to the first state for the other tests
    ClickButton(dialog, IDC_MAPPING_HORIZONTAL);
    SendDlgItemMessageA(dialog, IDC_CURVE_FUNCTION, CB_SETCURSEL, 0, 0);
    ClickButton(dialog, IDOK);
  });
}

TEST_F(MagicMirrorDialog, SaveAndLoadThroughTheFileDialogs) {
  SKIP_UNLESS(ComboBoxesWork(), "the file dialogs");
  const std::string saved = ScratchFile("fxui-test.mmc");
  const std::string filter = ScratchFile("fxui-test.udf");
  std::ofstream(filter, std::ios::binary) << std::string("FDUC\5\0\5\0\20\0\70\0\0\0\0\0\0\0", 18) << std::string(56, '\1');
  std::string longPath = ScratchFile("");
  longPath += std::string(130 - longPath.size(), 'n') + ".mmc";
  MagicMirrorParams params{};
  FileDialogSeen saveSeen, loadSeen;
  Curve drawn, afterFilterLoad, afterLoad, afterLongLoad;
  int mappingAfterLoad = -1;
  std::string axisAfterLoad;
  Open(&params, [&](HWND dialog) {
    ClickButton(dialog, IDC_MAPPING_RADIAL);
    HWND editor = SizedEditor(dialog);
    Mouse(editor, WM_LBUTTONDOWN, MK_LBUTTON, 0, 255);
    Mouse(editor, WM_MOUSEMOVE, MK_LBUTTON, 255, 0);
    Mouse(editor, WM_LBUTTONUP, 0, 255, 0);
    drawn = RecordCurve(params);
    saveSeen = ClickAndAnswerFileDialog(dialog, IDC_CURVE_SAVE, saved);
    ClickAndAnswerFileDialog(dialog, IDC_CURVE_SAVE, longPath);  // too long for the name buffer
    Operate(dialog, 7);  // Reset, and Horizontal
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
    afterLongLoad = RecordCurve(params);
    ClickButton(dialog, IDCANCEL);
  });
  EXPECT_TRUE(saveSeen.shown);
  EXPECT_EQ(saveSeen.title, "Save Magic Curve");
  EXPECT_EQ(loadSeen.title, "Load Magic Curve");
  // From (0, 255) to (255, 0): entry i = 255 + i * (0 - 255) / 255 = 255 - i.
  Curve falling(256);
  for (int i = 0; i < 256; ++i) falling[i] = uint8_t(255 - i);
  EXPECT_EQ(drawn, falling);
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
  EXPECT_EQ(afterLongLoad, falling);
  DeleteFileA(saved.c_str());
  DeleteFileA(filter.c_str());
}

TEST_F(MagicMirrorDialog, TheTimerTickShowsTheMirroredPictureInTheAfterPreview) {
  MagicMirrorParams params{};
  std::vector<uint8_t> before, after;
  int width = 0;
  Open(&params, [&](HWND dialog) {
    HWND editor = SizedEditor(dialog);
    Mouse(editor, WM_LBUTTONDOWN, MK_LBUTTON, 0, 255);
    Mouse(editor, WM_MOUSEMOVE, MK_LBUTTON, 255, 0);
    Mouse(editor, WM_LBUTTONUP, 0, 255, 0);
    HWND control = GetDlgItem(dialog, IDC_PREVIEW_AFTER);
    SendMessageA(control, WM_TIMER, kPreviewTimer, 0);
    for (int id : {IDC_PREVIEW_BEFORE, IDC_PREVIEW_AFTER}) {
      auto* state = reinterpret_cast<PreviewState*>(GetWindowLongPtrA(GetDlgItem(dialog, id), GWLP_USERDATA));
      ImageEntry* entry = LockImageEntry(state->view.previewImage, 0);
      if (!entry) continue;
      (id == IDC_PREVIEW_BEFORE ? before : after) = PixelBytes(entry->image);
      const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(entry->image));
      width = header ? header->biWidth : 0;
      GlobalUnlock(entry->image);
      UnlockHostImage(state->view.previewImage);
    }
    ClickButton(dialog, IDOK);
  });
  ASSERT_EQ(width, 96) << "the picture is shown whole at 100 %";
  ASSERT_EQ(after.size(), before.size());
  // The falling curve mirrors each row left to right: pixel x takes pixel 95 - x.
  const size_t stride = 96 * 3;
  for (size_t row = 0; row < before.size() / stride; ++row) {
    for (int x = 0; x < 96; ++x) {
      for (int b = 0; b < 3; ++b) {
        ASSERT_EQ(after[row * stride + x * 3 + b], before[row * stride + (95 - x) * 3 + b]) << "row " << row << " x " << x;
      }
    }
  }
}

}  // namespace

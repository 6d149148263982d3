// The Magic Mirror dialog through GetFxParam, driven as a user would: strokes drawn into the
// curve editor with mouse messages, the shaping functions, the mapping buttons, Load and Save
// through the file dialogs, and the After preview.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "dialog_steps.h"
#include "dialog_driver.h"
#include "fxui.h"
#include "resources/resource.h"
#include "wine_probe.h"

namespace {

// Curve entries from `entry` on: the record's bytes after the mapping word.
Step Curve(int entry, std::vector<int32_t> values) { return Bytes(4 + entry, std::move(values)); }

std::vector<int32_t> Identity() {
  std::vector<int32_t> curve(256);
  for (int i = 0; i < 256; ++i) curve[i] = i;
  return curve;
}

// A stroke from (0, 255) to (255, 0): entry i = 255 + i * (0 - 255) / 255 = 255 - i.
std::vector<int32_t> Falling() {
  std::vector<int32_t> curve(256);
  for (int i = 0; i < 256; ++i) curve[i] = 255 - i;
  return curve;
}

// The editor is given a 257 x 257 client area (Resize), so that input i lies at x = i + 1
// and output v at y = 256 - v; the left button is held until it is released.
Step Pen(UINT message, int input, int output) {
  return Mouse(IDC_CURVE_EDITOR, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, input + 1, 256 - output);
}
const Step kSize = Resize(IDC_CURVE_EDITOR, 257, 257);

// Word 0 is the mapping. Every opening starts from the identity, also after an OK with a
// drawn curve; OK remembers the mapping and the function, Cancel nothing.
TEST(MagicMirrorDialog, StrokesMappingsAndWhatIsRemembered) {
  RunOpenings({
      // The run between points is filled as the curve logic's tests pin down; here the dialog's
      // part: where a stroke lands and that only a release refreshes.
      {EFFECT_MAGIC_MIRROR, kColour, {7},
       {kSize, Pen(WM_LBUTTONDOWN, 10, 50), Curve(9, {9, 50, 11}), Pen(WM_MOUSEMOVE, 20, 100), Curve(15, {75}),
        Curve(20, {100}), Refreshes(0), Pen(WM_LBUTTONUP, 20, 100), Refreshes(1),
        Mouse(IDC_CURVE_EDITOR, WM_MOUSEMOVE, 0, 101, 256), Curve(100, {100}),  // no button held: nothing
        Pen(WM_LBUTTONDOWN, -1, 0), Curve(0, {0}), Pen(WM_LBUTTONUP, -1, 0),  // outside the drawing area: ignored
        Refreshes(1), Pen(WM_LBUTTONDOWN, 0, 255), Pen(WM_MOUSEMOVE, 255, 0), Pen(WM_LBUTTONUP, 255, 0),
        Curve(0, Falling()), AfterShowsEffect(), Click(IDOK)},
       1, {0}},
      {EFFECT_MAGIC_MIRROR, kColour, {7},
       {Text(0, "Magic Mirror"), Text(IDC_CURVE_AXIS, "x"), Field(0, 0), Curve(0, Identity()),
        Click(IDC_MAPPING_VERTICAL), Text(IDC_CURVE_AXIS, "y"), Field(0, 1), Refreshes(1),
        Click(IDC_MAPPING_VERTICAL), Refreshes(0),  // already current
        Click(IDC_MAPPING_RADIAL), Text(IDC_CURVE_AXIS, "r"), Field(0, 2), Click(IDC_MAPPING_ANGULAR),
        Text(IDC_CURVE_AXIS, "r"), Field(0, 3), Click(IDC_MAPPING_HORIZONTAL), Text(IDC_CURVE_AXIS, "x"), Field(0, 0),
        Refreshes(3), Click(IDC_MAPPING_VERTICAL), Select(IDC_CURVE_FUNCTION, 3), Click(IDOK)},
       1, {1}},
      {EFFECT_MAGIC_MIRROR, kColour, {7},
       {Field(0, 1), Text(IDC_CURVE_AXIS, "y"), Selected(IDC_CURVE_FUNCTION, 3), Click(IDC_MAPPING_ANGULAR),
        Select(IDC_CURVE_FUNCTION, 6), Click(IDCANCEL)},
       0, {3}},
      {EFFECT_MAGIC_MIRROR, kColour, {7},
       {Field(0, 1), Selected(IDC_CURVE_FUNCTION, 3), Click(IDC_MAPPING_HORIZONTAL), Select(IDC_CURVE_FUNCTION, 0),
        Click(IDOK)},  // back to the first state
       1, {0}},
  });
}

TEST(MagicMirrorDialog, FunctionsAndSaveAndLoadThroughTheFileDialogs) {
  SKIP_UNLESS(ComboBoxesWork(), "the function list and the file dialogs");
  const std::string saved = ScratchFile("fxui-test.mmc");
  const std::string filter = ScratchFile("fxui-test.udf");
  std::ofstream(filter, std::ios::binary) << std::string("FDUC\5\0\5\0\20\0\70\0\0\0\0\0\0\0", 18) << std::string(56, '\1');
  std::string longPath = ScratchFile("");
  longPath += std::string(130 - longPath.size(), 'n') + ".mmc";
  RunOpenings({
      {EFFECT_MAGIC_MIRROR, kColour, {7},
       {Items(IDC_CURVE_FUNCTION, "Circle, Exponent, Logarithm, Sine, Arcsine, Square, Squareroot, Reset, Smooth"),
        Select(IDC_CURVE_FUNCTION, 5), Click(IDC_CURVE_OPERATE), Refreshes(1),
        Curve(128, {64}),  // Square: (128 * 128 + 127) / 255
        Click(IDC_MAPPING_RADIAL), kSize, Pen(WM_LBUTTONDOWN, 0, 255), Pen(WM_MOUSEMOVE, 255, 0),
        Pen(WM_LBUTTONUP, 255, 0), File(IDC_CURVE_SAVE, saved.c_str(), "Save Magic Curve"),
        File(IDC_CURVE_SAVE, longPath.c_str()),  // too long for the name buffer
        Select(IDC_CURVE_FUNCTION, 7), Click(IDC_CURVE_OPERATE), Click(IDC_MAPPING_HORIZONTAL),  // Reset
        File(IDC_CURVE_LOAD, filter.c_str(), "Load Magic Curve"),
        Curve(0, Identity()),  // a filter file is refused by its magic
        Refreshes(5),          // radial, the stroke, Reset, horizontal, the load
        File(IDC_CURVE_LOAD, saved.c_str()), Refreshes(1), Curve(0, Falling()), Field(0, 2), Text(IDC_CURVE_AXIS, "r"),
        File(IDC_CURVE_LOAD, ""), Curve(0, Falling()), Click(IDCANCEL)},
       0, {2}},
  });
  std::ifstream in(saved, std::ios::binary);
  const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  in.close();
  ASSERT_EQ(file.size(), 274u);
  EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 18),
            (std::vector<uint8_t>{'R', 'U', 'C', 'C', 0, 1, 2, 0, 8, 0, 0, 1, 0, 0, 0, 0, 0, 0}));
  for (int i = 0; i < 256; ++i) ASSERT_EQ(file[18 + i], 255 - i) << "curve entry " << i;
  EXPECT_EQ(GetFileAttributesA(longPath.c_str()), INVALID_FILE_ATTRIBUTES) << "a path over 128 characters is refused";
  DeleteFileA(saved.c_str());
  DeleteFileA(filter.c_str());
}

}  // namespace

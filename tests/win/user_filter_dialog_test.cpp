// The User's Filter dialog through GetFxParam, driven as a user would: weights typed into the
// cells under each symmetry, scale and bias, Reset, Load and Save through the file dialogs,
// and the After preview.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "dialog_driver.h"
#include "dialog_steps.h"
#include "file_dialog_driver.h"
#include "fxui.h"
#include "preview/preview_control.h"
#include "resources/resource.h"
#include "test_images.h"
#include "wine_probe.h"

namespace {

int Cell(int row, int column) { return IDC_KERNEL_FIRST + 5 * row + column; }
// The record word of a cell: scale, bias and symmetry come first.
int W(int row, int column) { return 3 + 5 * row + column; }

TEST(UserFilterDialog, Table) {
  SKIP_UNLESS(EditTextWorks(), "the User's Filter dialog, which sets its edit boxes,");
  RunOpenings({
      {EFFECT_USER_FILTER, kColour, {5, 9, 2, 9, 9, 9},
       {Text(0, "User's Filter"), Field(0, 1), Field(1, 0), Field(2, 0), Field(W(0, 0), 0), Field(W(2, 2), 1),
        Checked(IDC_SYMMETRY_NONE, true),
        // Each typed weight reaches its mirrored cells with one refresh: the mirrored writes do not echo.
        Click(IDC_SYMMETRY_4WAY), Type(Cell(0, 1), "2"), Refreshes(1), Field(W(0, 1), 2), Field(W(0, 3), 2),
        Field(W(4, 1), 2), Field(W(4, 3), 2), Field(2, 3), Type(Cell(2, 0), "5"), Refreshes(1), Field(W(2, 4), 5),
        Field(W(0, 2), 5), Field(W(4, 2), 5), Click(IDC_SYMMETRY_VERT), Type(Cell(1, 1), "-3"), Refreshes(1),
        Field(W(3, 1), -3), Field(W(1, 3), 0), Field(2, 2), Click(IDC_SYMMETRY_HORI), Type(Cell(3, 0), "4"),
        Field(W(3, 4), 4), Type(Cell(3, 0), "x"), Refreshes(2), Field(W(3, 4), 0), Field(2, 1),  // not a number: 0
        Type(IDC_FILTER_SCALE, "9"), Field(0, 9), Type(IDC_FILTER_BIAS, "20"), Field(1, 20), AfterShowsEffect(),
        Click(IDC_FILTER_RESET), Field(0, 1), Field(1, 0), Field(W(0, 1), 0), Field(W(2, 0), 0), Field(W(2, 2), 1),
        Checked(IDC_SYMMETRY_NONE, true), Field(2, 0), Type(Cell(4, 4), "6"), Type(IDC_FILTER_SCALE, "3"),
        Click(IDCANCEL)},
       0,  // Cancel keeps what the dialog wrote
       {3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 6}},
      {EFFECT_USER_FILTER, kColour, {},
       {Field(W(4, 4), 0), Type(Cell(0, 0), "2"), Field(W(4, 4), 0), AfterShowsEffect(), Click(IDOK)},
       1, {1, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
  });
}

TEST(UserFilterDialog, SaveLoadAndAScaleOfZero) {
  SKIP_UNLESS(EditTextWorks(), "the User's Filter dialog, which sets its edit boxes,");
  SKIP_UNLESS(ComboBoxesWork(), "the file dialogs");
  const std::string saved = ScratchFile("fxui-test.udf");
  const std::string curve = ScratchFile("fxui-test.mmc");
  std::ofstream(curve, std::ios::binary) << std::string("RUCC\0\1\0\0\10\0\0\1\0\0\0\0\0\0", 18) << std::string(256, '\1');
  HGLOBAL image = MakeRgbDib(96, 72, [](int x, int y) { return Bgr{uint8_t(x * 2), uint8_t(y * 3), 240}; });
  HGLOBAL host = MakeHostImage(96, 72, {{image, MakeGreyDib(96, 72, [](int, int) { return uint8_t{255}; })}}, 0);
  UserFilterParams params{};
  FileDialogSeen saveSeen, loadSeen;
  std::vector<int> afterCurveLoad, afterLoad;
  int checkedAfterLoad = 0;
  std::vector<uint8_t> before, unscaled;
  DriveDialog([&] { return GetFxParam(EFFECT_USER_FILTER, nullptr, host, &params); }, [&](HWND dialog) {
    const auto set = [&](int id, const char* text) { SetWindowTextA(GetDlgItem(dialog, id), text); };
    set(Cell(0, 1), "2");  // "No": only this cell
    set(Cell(1, 4), "-300");
    set(IDC_FILTER_SCALE, "4");
    set(IDC_FILTER_BIAS, "7");
    saveSeen = ClickAndAnswerFileDialog(dialog, IDC_FILTER_SAVE, saved);
    ClickButton(dialog, IDC_FILTER_RESET);
    loadSeen = ClickAndAnswerFileDialog(dialog, IDC_FILTER_LOAD, curve);
    afterCurveLoad.assign(params.kernel, params.kernel + 25);
    // With "Hori" checked, every loaded cell is mirrored as it arrives: (0, 1) = 2 writes
    // (0, 3), then the file's (0, 3) = 0 writes (0, 1) back to 0; (1, 0) = 0 first writes
    // (1, 4), then the file's (1, 4) = -300 writes (1, 0).
    ClickButton(dialog, IDC_SYMMETRY_HORI);
    ClickAndAnswerFileDialog(dialog, IDC_FILTER_LOAD, saved);
    afterLoad.assign(params.kernel, params.kernel + 25);
    for (int id = IDC_SYMMETRY_NONE; id <= IDC_SYMMETRY_4WAY; ++id) {
      if (IsDlgButtonChecked(dialog, id)) checkedAfterLoad = id;
    }
    // A scale of 0 is passed on; the effect refuses it and the After preview shows the picture.
    set(IDC_FILTER_SCALE, "0");
    SendMessageA(GetDlgItem(dialog, IDC_PREVIEW_AFTER), WM_TIMER, kPreviewTimer, 0);
    before = PreviewPixels(dialog, IDC_PREVIEW_BEFORE);
    unscaled = PreviewPixels(dialog, IDC_PREVIEW_AFTER);
    ClickButton(dialog, IDOK);
  });
  FreeHostImage(host);
  EXPECT_EQ(saveSeen.title, "Save User Defined Filter");
  EXPECT_EQ(loadSeen.title, "Load User Defined Filter");
  std::ifstream in(saved, std::ios::binary);
  const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_EQ(file.size(), 74u);
  std::vector<uint8_t> payload(56, 0);
  payload[2] = 2;                                    // (0, 1)
  payload[18] = 0xD4, payload[19] = 0xFE;            // (1, 4) = -300
  payload[24] = 1;                                   // the centre
  payload[50] = 4, payload[52] = 7, payload[54] = 0;  // scale, bias, "No"
  EXPECT_EQ(std::vector<uint8_t>(file.begin() + 18, file.end()), payload);
  std::vector<int> expected(25, 0);
  expected[12] = 1;
  EXPECT_EQ(afterCurveLoad, expected) << "a curve file is refused by its magic";
  expected[5] = expected[9] = -300;
  EXPECT_EQ(afterLoad, expected);
  EXPECT_EQ(checkedAfterLoad, IDC_SYMMETRY_NONE) << "the file's symmetry is checked last";
  EXPECT_EQ(params.scale, 0);
  EXPECT_EQ(params.bias, 7);
  ASSERT_FALSE(before.empty());
  EXPECT_EQ(unscaled, before);
  DeleteFileA(saved.c_str());
  DeleteFileA(curve.c_str());
}

}  // namespace

// The User's Filter dialog through GetFxParam, driven as a user would: weights typed into the
// cells under each symmetry, scale and bias, Reset, Load and Save through the file dialogs,
// and the After preview.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "dialog_steps.h"
#include "dialog_driver.h"
#include "fxui.h"
#include "resources/resource.h"
#include "wine_probe.h"

namespace {

int Cell(int row, int column) { return IDC_KERNEL_FIRST + 5 * row + column; }
// The record word of a cell: scale, bias and symmetry come first.
int W(int row, int column) { return 3 + 5 * row + column; }
// Scale 1, bias 0, "No" and the centre weight 1: the record at every opening and after Reset.
const std::vector<int32_t> kStart{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

TEST(UserFilterDialog, Table) {
  SKIP_UNLESS(EditTextWorks(), "the User's Filter dialog, which sets its edit boxes,");
  RunOpenings({
      {EFFECT_USER_FILTER, kColour, {5, 9, 2, 9, 9, 9},
       {Text(0, "User's Filter"), Fields(0, kStart), Checked(IDC_SYMMETRY_NONE, true),
        // Each typed weight reaches its mirrored cells with one refresh: the mirrored writes do not echo.
        Click(IDC_SYMMETRY_4WAY), Type(Cell(0, 1), "2"), Refreshes(1), Field(W(0, 1), 2), Field(W(0, 3), 2),
        Field(W(4, 1), 2), Field(W(4, 3), 2), Field(2, 3), Type(Cell(2, 0), "5"), Refreshes(1), Field(W(2, 4), 5),
        Field(W(0, 2), 5), Field(W(4, 2), 5), Click(IDC_SYMMETRY_VERT), Type(Cell(1, 1), "-3"), Refreshes(1),
        Field(W(3, 1), -3), Field(W(1, 3), 0), Field(2, 2), Click(IDC_SYMMETRY_HORI), Type(Cell(3, 0), "4"),
        Field(W(3, 4), 4), Type(Cell(3, 0), "x"), Refreshes(2), Field(W(3, 4), 0), Field(2, 1),  // not a number: 0
        Type(IDC_FILTER_SCALE, "9"), Field(0, 9), Type(IDC_FILTER_BIAS, "20"), Field(1, 20), AfterShowsEffect(),
        Click(IDC_FILTER_RESET), Fields(0, kStart), Checked(IDC_SYMMETRY_NONE, true), Type(Cell(4, 4), "6"),
        Type(IDC_FILTER_SCALE, "3"), Click(IDCANCEL)},
       0,  // Cancel keeps what the dialog wrote
       {3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 6}},
      {EFFECT_USER_FILTER, kColour, {},
       {Fields(0, kStart), Type(Cell(0, 0), "2"), Field(W(4, 4), 0), AfterShowsEffect(), Click(IDOK)},
       1, {1, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
  });
}

TEST(UserFilterDialog, SaveLoadAndAScaleOfZero) {
  SKIP_UNLESS(EditTextWorks(), "the User's Filter dialog, which sets its edit boxes,");
  SKIP_UNLESS(ComboBoxesWork(), "the file dialogs");
  const std::string saved = ScratchFile("fxui-test.udf");
  const std::string curve = ScratchFile("fxui-test.mmc");
  std::ofstream(curve, std::ios::binary) << std::string("RUCC\0\1\0\0\10\0\0\1\0\0\0\0\0\0", 18) << std::string(256, '\1');
  RunOpenings({
      {EFFECT_USER_FILTER, kColour, {},
       {Type(Cell(0, 1), "2"), Type(Cell(1, 4), "-300"), Type(IDC_FILTER_SCALE, "4"), Type(IDC_FILTER_BIAS, "7"),
        File(IDC_FILTER_SAVE, saved.c_str(), "Save User Defined Filter"), Click(IDC_FILTER_RESET),
        File(IDC_FILTER_LOAD, curve.c_str(), "Load User Defined Filter"),
        Fields(3, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}),  // refused by its magic
        // With "Hori" checked, every loaded cell is mirrored as it arrives: (0, 1) = 2 writes
        // (0, 3), then the file's (0, 3) = 0 writes (0, 1) back to 0; (1, 0) = 0 first writes
        // (1, 4), then the file's (1, 4) = -300 writes (1, 0). The file's symmetry is checked last.
        Click(IDC_SYMMETRY_HORI), File(IDC_FILTER_LOAD, saved.c_str()),
        Fields(3, {0, 0, 0, 0, 0, -300, 0, 0, 0, -300, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}),
        Checked(IDC_SYMMETRY_NONE, true),
        // A scale of 0 is passed on; the effect refuses it and the After preview shows the picture.
        Type(IDC_FILTER_SCALE, "0"), AfterShowsPicture(), Click(IDOK)},
       1, {0, 7, 0}},
  });
  std::ifstream in(saved, std::ios::binary);
  const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  in.close();
  ASSERT_EQ(file.size(), 74u);
  std::vector<uint8_t> payload(56, 0);
  payload[2] = 2;                                    // (0, 1)
  payload[18] = 0xD4, payload[19] = 0xFE;            // (1, 4) = -300
  payload[24] = 1;                                   // the centre
  payload[50] = 4, payload[52] = 7, payload[54] = 0;  // scale, bias, "No"
  EXPECT_EQ(std::vector<uint8_t>(file.begin() + 18, file.end()), payload);
  DeleteFileA(saved.c_str());
  DeleteFileA(curve.c_str());
}

}  // namespace

// The cells a typed kernel weight is mirrored into, worked out on the 5 x 5 grid by hand.
#include "ui/dialogs/kernel_mirror.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

namespace {

using Cells = std::set<std::pair<int, int>>;

TEST(KernelMirror, TypedCellsWriteTheirSymmetricCells) {
  struct Case {
    int row, column, symmetry;
    Cells expected;
  };
  const Case cases[] = {
      {0, 1, kSymmetryNone, {}},
      {0, 1, kSymmetryHorizontal, {{0, 3}}},
      {0, 1, kSymmetryVertical, {{4, 1}}},
      {0, 1, kSymmetryFourWay, {{0, 3}, {4, 1}, {4, 3}}},
      {1, 3, kSymmetryFourWay, {{1, 1}, {3, 3}, {3, 1}}},
      // on the centre row: also turned about the centre
      {2, 0, kSymmetryFourWay, {{2, 4}, {0, 2}, {4, 2}}},
      {2, 1, kSymmetryFourWay, {{2, 3}, {1, 2}, {3, 2}}},
      // on the centre column
      {4, 2, kSymmetryFourWay, {{0, 2}, {2, 4}, {2, 0}}},
      // the centre writes nothing else under any symmetry
      {2, 2, kSymmetryHorizontal, {}},
      {2, 2, kSymmetryFourWay, {}},
      // a cell on the mirror line of one axis
      {1, 2, kSymmetryHorizontal, {}},
      {2, 3, kSymmetryVertical, {}},
      {3, 0, 7, {}},  // not a symmetry
  };
  for (const Case& c : cases) {
    KernelCell cells[kMaxMirrorCells];
    const int count = MirrorCells(c.row, c.column, c.symmetry, cells);
    Cells got;
    for (int i = 0; i < count; ++i) got.insert({cells[i].row, cells[i].column});
    EXPECT_EQ(count, int(got.size())) << "each cell once";
    EXPECT_EQ(got, c.expected) << "cell (" << c.row << ", " << c.column << ") symmetry " << c.symmetry;
  }
}

}  // namespace

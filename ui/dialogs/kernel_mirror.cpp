#include "ui/dialogs/kernel_mirror.h"

namespace {

constexpr int kLast = 4;  // the last row and column

void Add(KernelCell cell, int row, int column, KernelCell* cells, int* count) {
  if (cell.row == row && cell.column == column) return;
  for (int i = 0; i < *count; ++i) {
    if (cells[i].row == cell.row && cells[i].column == cell.column) return;
  }
  cells[(*count)++] = cell;
}

}  // namespace

int MirrorCells(int row, int column, int symmetry, KernelCell* cells) {
  int count = 0;
  const int r = row, c = column;
  switch (symmetry) {
    case kSymmetryHorizontal:
      Add({r, kLast - c}, r, c, cells, &count);
      break;
    case kSymmetryVertical:
      Add({kLast - r, c}, r, c, cells, &count);
      break;
    case kSymmetryFourWay:
      Add({r, kLast - c}, r, c, cells, &count);
      Add({kLast - r, c}, r, c, cells, &count);
      Add({kLast - r, kLast - c}, r, c, cells, &count);
      if (r == 2 || c == 2) {
        Add({c, r}, r, c, cells, &count);
        Add({kLast - c, r}, r, c, cells, &count);
        Add({c, kLast - r}, r, c, cells, &count);
      }
      break;
    default:
      break;
  }
  return count;
}

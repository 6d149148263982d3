// Which cells of the 5 x 5 kernel a typed weight is mirrored into, by symmetry.
#ifndef FXUI_UI_DIALOGS_KERNEL_MIRROR_H
#define FXUI_UI_DIALOGS_KERNEL_MIRROR_H

// The symmetry choices in button order.
enum KernelSymmetry { kSymmetryNone, kSymmetryHorizontal, kSymmetryVertical, kSymmetryFourWay };

struct KernelCell {
  int row;
  int column;
};

constexpr int kMaxMirrorCells = 6;

// The cells that a weight typed into (row, column) is copied into under `symmetry`, never the
// typed cell itself and each cell once; returns their count. "4Way" also turns a cell of the
// centre row or column about the centre.
int MirrorCells(int row, int column, int symmetry, KernelCell* cells);

#endif

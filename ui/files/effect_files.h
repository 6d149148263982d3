// The two payloads of the parameter files: the Magic Mirror curve (.mmc) and the 5 x 5 kernel
// of the user-defined filter (.udf), each saved and loaded through the file named in
// ParameterFileName().
#ifndef FXUI_UI_FILES_EFFECT_FILES_H
#define FXUI_UI_FILES_EFFECT_FILES_H

#include <cstdint>

constexpr int kCurveEntries = 256;
constexpr int kKernelSide = 5;
constexpr int kKernelCells = kKernelSide * kKernelSide;
constexpr int kNoSymmetryChecked = 4;  // the symmetry saved when no button is checked

// Saves the curve with its mapping: a 274-byte file with the descriptors 256, mapping, 8.
bool SaveMagicCurve(const uint8_t* curve, int mapping);

// Loads a Magic Curve file into `curve`: the first descriptor's number of entries, at most
// 256 and never more than the payload holds, from entry 0 on; entries beyond stay. Stores the
// file's mapping descriptor in `mapping`. False (nothing changed) when the file is refused.
bool LoadMagicCurve(uint8_t* curve, int* mapping);

// A user-defined filter as it is saved: the 25 weights row by row, scale, bias and the
// symmetry index (0 to 3, or kNoSymmetryChecked).
struct UserFilterValues {
  int kernel[kKernelCells];
  int scale;
  int bias;
  int symmetry;
};

// Saves the values as signed 16-bit numbers (truncated to 16 bits): a 74-byte file with the
// descriptors 5, 5, 16.
bool SaveUserFilter(const UserFilterValues& values);

// What a user-defined filter file sets: the cells it names (row r < rows, column c < columns
// of its header, in that order), then scale, bias and symmetry.
struct LoadedUserFilter {
  bool present[kKernelCells];  // whether the file sets cell 5 x r + c
  int kernel[kKernelCells];
  int scale;
  int bias;
  int symmetry;
};

// Loads a user-defined filter file. False, and `loaded` untouched, when the file is refused:
// missing, short, the other magic, more than 5 rows or columns, or a payload holding fewer
// than rows x columns + 3 values.
bool LoadUserFilter(LoadedUserFilter* loaded);

#endif

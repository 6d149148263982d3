#include "ui/files/effect_files.h"

#include <windows.h>

#include <algorithm>

#include "ui/files/parameter_file.h"

namespace {

constexpr int kFilterValues = kKernelCells + 3;  // weights, scale, bias, symmetry
constexpr int kFilterPayload = kFilterValues * 2;

int Signed16(const uint8_t* at) { return static_cast<int16_t>(static_cast<uint16_t>(at[0] | at[1] << 8)); }

// Reads a file of `magic` and hands its header and payload to `use`; false when refused.
template <typename Use>
bool WithParameterFile(uint32_t magic, Use use) {
  HGLOBAL block = ReadParameterFile(magic);
  if (!block) return false;
  bool used = false;
  if (const auto* bytes = static_cast<const uint8_t*>(GlobalLock(block))) {
    used = use(ParameterFileHeaderOf(bytes), bytes + kParameterFileHeaderSize);
    GlobalUnlock(block);
  }
  GlobalFree(block);
  return used;
}

}  // namespace

bool SaveMagicCurve(const uint8_t* curve, int mapping) {
  return WriteParameterFile(curve, kMagicCurveMagic, kCurveEntries, static_cast<uint16_t>(mapping), 8, kCurveEntries);
}

bool LoadMagicCurve(uint8_t* curve, int* mapping) {
  return WithParameterFile(kMagicCurveMagic, [&](const ParameterFileHeader& header, const uint8_t* payload) {
    const uint32_t count = std::min<uint32_t>({header.first, kCurveEntries, header.length});
    std::copy(payload, payload + count, curve);
    *mapping = header.second;
    return true;
  });
}

bool SaveUserFilter(const UserFilterValues& values) {
  uint8_t payload[kFilterPayload];
  int all[kFilterValues];
  std::copy(values.kernel, values.kernel + kKernelCells, all);
  all[kKernelCells] = values.scale;
  all[kKernelCells + 1] = values.bias;
  all[kKernelCells + 2] = values.symmetry;
  for (int i = 0; i < kFilterValues; ++i) {
    payload[2 * i] = static_cast<uint8_t>(all[i]);
    payload[2 * i + 1] = static_cast<uint8_t>(all[i] >> 8);
  }
  return WriteParameterFile(payload, kUserFilterMagic, kKernelSide, kKernelSide, 16, kFilterPayload);
}

bool LoadUserFilter(LoadedUserFilter* loaded) {
  return WithParameterFile(kUserFilterMagic, [&](const ParameterFileHeader& header, const uint8_t* payload) {
    const int columns = header.first;
    const int rows = header.second;
    if (columns > kKernelSide || rows > kKernelSide || header.length / 2 < uint32_t(rows * columns + 3)) return false;
    LoadedUserFilter file{};
    const uint8_t* value = payload;
    for (int r = 0; r < rows; ++r) {
      for (int c = 0; c < columns; ++c, value += 2) {
        file.present[kKernelSide * r + c] = true;
        file.kernel[kKernelSide * r + c] = Signed16(value);
      }
    }
    file.scale = Signed16(value);
    file.bias = Signed16(value + 2);
    file.symmetry = Signed16(value + 4);
    *loaded = file;
    return true;
  });
}

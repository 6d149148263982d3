// Fuzz entry: every catalogue effect over a picture of every kind, size, palette and content
// and any record, all taken from the input bytes. Whatever they are, the effect leaves its
// source untouched, returns null or a DIB of the source's shape, frees every working block,
// and holds no more than two pictures' worth of memory plus a fixed budget.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <windows.h>

#include "engine/catalogue.h"
#include "engine/random.h"
#include "fxui.h"
#include "image/dib.h"
#include "platform_control.h"

namespace {

constexpr size_t kRecordBytes = 512;  // more than the longest record (a curve: 4 + 256 bytes)
constexpr size_t kFixedBudget = size_t{4} << 20;
constexpr int kMaxAbortQueries = 4000;  // a run whose work grows with a field is stopped here

void Check(bool condition, const char* what, int effectId) {
  if (condition) return;
  std::fprintf(stderr, "effects fuzz: effect %d: %s\n", effectId, what);
  std::abort();
}

// Reads the input from the front; past its end, zeros.
struct Bytes {
  const uint8_t* data;
  size_t size;
  size_t at = 0;
  uint8_t Next() { return at < size ? data[at++] : 0; }
};

int abortQueries = 0;
int WINAPI StopLongRuns() { return ++abortQueries > kMaxAbortQueries ? 1 : 0; }

struct Kind {
  int bits;
  bool greyRamp;
};
constexpr Kind kKinds[] = {{24, false}, {8, true}, {8, false}, {4, false}, {1, false}};

// A DIB of the chosen kind and size; palette and pixels come from the input, repeated.
HGLOBAL MakeSource(Bytes& in) {
  const Kind kind = kKinds[in.Next() % 5];
  const int width = 1 + (in.Next() | (in.Next() << 8)) % 320;
  const int height = 1 + in.Next() % 40;
  const uint32_t colors = kind.bits == 24 ? 0 : kind.greyRamp ? 256 : 1 + in.Next() % (1u << kind.bits);
  const size_t stride = static_cast<size_t>(DibRowStride(width, kind.bits));
  const size_t pixelOffset = kDibHeaderSize + 4 * colors;
  HGLOBAL dib = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, pixelOffset + stride * height);
  auto* bits = static_cast<uint8_t*>(GlobalLock(dib));
  BITMAPINFOHEADER header = {};
  header.biSize = kDibHeaderSize;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = static_cast<WORD>(kind.bits);
  header.biClrUsed = colors;
  std::memcpy(bits, &header, sizeof header);
  for (uint32_t i = 0; i < colors; ++i) {
    uint8_t* entry = bits + kDibHeaderSize + 4 * i;
    if (kind.greyRamp) {
      entry[0] = entry[1] = entry[2] = static_cast<uint8_t>(i);
    } else {
      entry[0] = in.Next();
      entry[1] = in.Next();
      entry[2] = in.Next();
    }
  }
  const size_t start = in.at, left = in.size - std::min(in.at, in.size);
  for (size_t i = 0; i < stride * height; ++i) bits[pixelOffset + i] = left ? in.data[start + i % left] : 0;
  GlobalUnlock(dib);
  return dib;
}

std::vector<uint8_t> BlockBytes(HGLOBAL dib) {
  const auto* bits = static_cast<const uint8_t*>(GlobalLock(dib));
  std::vector<uint8_t> bytes(bits, bits + GlobalSize(dib));
  GlobalUnlock(dib);
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  size_t count = 0;
  const EffectRow* rows = CatalogueRows(&count);
  std::vector<const EffectRow*> effects;
  for (size_t i = 0; i < count; ++i) {
    if (rows[i].HasRoutine()) effects.push_back(&rows[i]);
  }
  Bytes in{data, size};
  const EffectRow& effect = *effects[in.Next() % effects.size()];
  std::vector<uint8_t> record(kRecordBytes, 0);
  const size_t recordBytes = in.Next() % (kRecordBytes + 1);
  for (size_t i = 0; i < recordBytes; ++i) record[i] = in.Next();

  const size_t blocks = PlatformLiveBlockCount();
  HGLOBAL source = MakeSource(in);
  const std::vector<uint8_t> before = BlockBytes(source);
  SeedRandom(1);
  abortQueries = 0;
  SetFxAbortHook(1, StopLongRuns);
  PlatformResetPeakLiveBytes();
  const size_t live = PlatformPeakLiveBytes();
  HGLOBAL result = ApplyEffect(source, effect.id, record.data());
  const size_t peak = PlatformPeakLiveBytes() - live;
  SetFxAbortHook(1, nullptr);

  Check(BlockBytes(source) == before, "the source was changed", effect.id);
  Check(peak <= 2 * before.size() + kFixedBudget, "memory beyond two pictures and the fixed budget", effect.id);
  if (result) {
    const std::vector<uint8_t> made = BlockBytes(result);
    DibLayout sourceLayout, resultLayout;
    Check(ReadDibLayout(before.data(), before.size(), &sourceLayout), "the source is not a DIB", effect.id);
    Check(ReadDibLayout(made.data(), made.size(), &resultLayout), "the result is not a valid DIB", effect.id);
    Check(resultLayout.width == sourceLayout.width && resultLayout.height == sourceLayout.height &&
              resultLayout.bitCount == sourceLayout.bitCount,
          "the result's shape differs from the source's", effect.id);
    GlobalFree(result);
  }
  GlobalFree(source);
  Check(PlatformLiveBlockCount() == blocks, "memory blocks leaked", effect.id);
  return 0;
}

// Effects 4 and 7: levels mapped by a fixed rule. Colour reduction quantises the chosen
// channels to evenly spaced levels; threshold makes every colour black or white by its
// luminance.
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/routine_frame.h"
#include "engine/tone/tone.h"
#include "engine/tone/tone_paths.h"

namespace {

// Each level to the nearest multiple of step = 255 / (levels - 1) rounded to nearest, halves
// upward, held at 255 at the top.
void BuildReductionTable(int levels, uint8_t* table) {
  const int step = ((levels - 1) / 2 + 255) / (levels - 1);
  for (int i = 0; i < 256; ++i) {
    const int value = (i + step / 2) / step * step;
    table[i] = static_cast<uint8_t>(value > 255 ? 255 : value);
  }
}

// Luminance weights sum to 255, so the test against 255 x level needs no division.
struct ThresholdTransform {
  int32_t limit;  // 255 x level

  void operator()(uint8_t& b, uint8_t& g, uint8_t& r) const {
    const int32_t luminance = 76 * r + 150 * g + 29 * b;
    const uint8_t value = luminance > limit ? 255 : 0;
    b = g = r = value;
  }
};

// One 24-bit row of `width` pixels through the threshold. With SSE2, sixteen pixels (48
// bytes) at a time: the bytes widened to 16-bit lanes and multiplied by their channel's
// weight (the weights repeat every three lanes, so three weight vectors serve all six lane
// vectors), each lane summed with the next two (the sum at a pixel's first lane is its
// luminance, at most 255 x 255, exact in 16 bits), compared unsigned with the limit, and the
// answer of each pixel's first lane copied to its other two before packing back to bytes.
void ThresholdRgbRow(const uint8_t* in, uint8_t* out, int width, int32_t limit) {
  int x = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i weights[3] = {_mm_setr_epi16(29, 150, 76, 29, 150, 76, 29, 150),
                              _mm_setr_epi16(76, 29, 150, 76, 29, 150, 76, 29),
                              _mm_setr_epi16(150, 76, 29, 150, 76, 29, 150, 76)};
  // The lanes where a pixel starts, in the same three phases.
  const __m128i starts[3] = {_mm_setr_epi16(-1, 0, 0, -1, 0, 0, -1, 0), _mm_setr_epi16(0, -1, 0, 0, -1, 0, 0, -1),
                             _mm_setr_epi16(0, 0, -1, 0, 0, -1, 0, 0)};
  const __m128i flip = _mm_set1_epi16(-32768);
  const __m128i bound = _mm_xor_si128(_mm_set1_epi16(static_cast<int16_t>(limit)), flip);
  for (; x + 16 <= width; x += 16, in += 48, out += 48) {
    __m128i p[7];
    for (int k = 0; k < 3; ++k) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 16 * k));
      p[2 * k] = _mm_mullo_epi16(_mm_unpacklo_epi8(bytes, zero), weights[(2 * k) % 3]);
      p[2 * k + 1] = _mm_mullo_epi16(_mm_unpackhi_epi8(bytes, zero), weights[(2 * k + 1) % 3]);
    }
    p[6] = zero;  // the lanes it feeds are not pixel starts
    __m128i on[6];
    for (int k = 0; k < 6; ++k) {
      const __m128i next = _mm_or_si128(_mm_srli_si128(p[k], 2), _mm_slli_si128(p[k + 1], 14));
      const __m128i after = _mm_or_si128(_mm_srli_si128(p[k], 4), _mm_slli_si128(p[k + 1], 12));
      const __m128i luminance = _mm_add_epi16(_mm_add_epi16(p[k], next), after);
      on[k] = _mm_and_si128(_mm_cmpgt_epi16(_mm_xor_si128(luminance, flip), bound), starts[k % 3]);
    }
    __m128i spread[6];
    for (int k = 0; k < 6; ++k) {
      const __m128i before = k > 0 ? on[k - 1] : zero;  // a pixel never straddles two blocks
      spread[k] = _mm_or_si128(on[k], _mm_or_si128(_mm_or_si128(_mm_slli_si128(on[k], 2), _mm_srli_si128(before, 14)),
                                                   _mm_or_si128(_mm_slli_si128(on[k], 4), _mm_srli_si128(before, 12))));
    }
    for (int k = 0; k < 3; ++k) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16 * k), _mm_packs_epi16(spread[2 * k], spread[2 * k + 1]));
    }
  }
#endif
  const ThresholdTransform transform{limit};
  for (; x < width; ++x, in += 3, out += 3) {
    uint8_t b = in[0], g = in[1], r = in[2];
    transform(b, g, r);
    out[0] = b;
    out[1] = g;
    out[2] = r;
  }
}

}  // namespace

HGLOBAL ColorReduction(HGLOBAL dib, const void* record) {
  if (!dib || !record) return nullptr;
  const auto& params = *static_cast<const ColorReductionParams*>(record);
  if (params.channel < 0 || params.channel > 3) return nullptr;
  if (params.levels < 2 || params.levels > 128) return nullptr;

  RoutineFrame frame(kToneKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  uint8_t* table = frame.AllocateTable<uint8_t>(256);
  if (!table) return nullptr;
  BuildReductionTable(params.levels, table);
  frame.DiscardAbortQuery();
  // With all channels a 24-bit row goes through the table whole, padding included (0 maps
  // to 0, so zero padding stays zero).
  MapSelectedChannels(frame, params.channel, table, AllChannelRows::kWholeStride);
  return frame.Finish();
}

HGLOBAL Threshold(HGLOBAL dib, const void* record) {
  if (!dib || !record) return nullptr;
  const int32_t level = static_cast<const ThresholdParams*>(record)->level;
  if (level < 0 || level > 255) return nullptr;

  RoutineFrame frame(kToneKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  frame.CopyHeaderBySizeField();
  frame.DiscardAbortQuery();
  const ThresholdTransform transform{255 * level};
  switch (frame.kind()) {
    case kDibRgb24: {
      const int width = frame.layout().width;
      ForEachPixelRow(frame, [&](const uint8_t* in, uint8_t* out) { ThresholdRgbRow(in, out, width, transform.limit); });
      break;
    }
    case kDibGreyRamp: {
      uint8_t table[256];
      for (int i = 0; i < 256; ++i) table[i] = i > level ? 255 : 0;
      frame.CopyPalette();
      MapGreyRows(frame, table);
      break;
    }
    default:
      MapPaletteColours(frame, transform);
      CopyPixelRows(frame, 1, RowCopy::kSkip8BitPadding);
      break;
  }
  return frame.Finish();
}

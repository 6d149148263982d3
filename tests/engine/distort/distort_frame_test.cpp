// What every routine of the family shares: the kinds it takes, the header copy, the abort.
#include "engine/distort/distort.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

struct EffectRun {
  int effect;
  int32_t record[4];
};
const EffectRun kRuns[] = {
    {EFFECT_SPLASH, {40}},         {EFFECT_WRINKLE, {50, 0x123456}}, {EFFECT_MELTING, {100}},
    {EFFECT_FISHEYE, {50}},        {EFFECT_CONE, {50}},              {EFFECT_WHIRLPOOL, {50}},
    {EFFECT_SPIRAL, {50}},         {EFFECT_MOTION_BLUR, {1, 8}},     {EFFECT_MOTION_BLUR, {2, 8}},
    {EFFECT_EMBOSS, {3, 1, 2, 0}}, {EFFECT_SPHERE, {}},              {EFFECT_ROTATIONAL_WARP, {3, 1}},
    {EFFECT_RADIAL_WARP, {2, -7}},
};

using DistortFrame = EngineTest;

TEST_F(DistortFrame, TakesRgbAndGreyRampOnlyAndStopsOnAbort) {
  ScopedDib rgb(MakeRgbDib(33, 40, [](int x, int y) { return Bgr{uint8_t(x * 7), uint8_t(y * 5), 9}; }));
  ScopedDib grey(MakeGreyDib(33, 40, [](int x, int y) { return uint8_t(x * y); }));
  std::vector<RGBQUAD> almostRamp(256);
  for (int i = 0; i < 256; ++i) almostRamp[i] = RGBQUAD{uint8_t(i), uint8_t(i), uint8_t(i), 0};
  almostRamp[255].rgbGreen = 0;
  ScopedDib palette8(MakePaletteDib(33, 40, 8, almostRamp, [](int x, int) { return uint8_t(x); }));
  ScopedDib palette4(MakePaletteDib(33, 40, 4, std::vector<RGBQUAD>(16), [](int x, int) { return uint8_t(x); }));
  for (const EffectRun& run : kRuns) {
    for (HGLOBAL dib : {rgb.get(), grey.get()}) {
      ScopedDib result(ApplyEffect(dib, run.effect, run.record));
      ASSERT_TRUE(result) << run.effect;
      const std::vector<uint8_t> in = BlockBytes(dib), out = BlockBytes(result.get());
      ASSERT_EQ(in.size(), out.size()) << run.effect;
      EXPECT_TRUE(std::equal(in.begin(), in.end() - PixelBytes(dib).size(), out.begin())) << run.effect;
      if (dib == rgb.get()) {  // stride 100: the padding byte of every row stays zero
        for (int row = 0; row < 40; ++row) EXPECT_EQ(out[40 + 100 * row + 99], 0) << run.effect;
      }
    }
    SetCursor(Stock(IDC_CROSS));
    for (HGLOBAL dib : {palette8.get(), palette4.get(), HGLOBAL{}}) {
      EXPECT_EQ(ApplyEffect(dib, run.effect, run.record), nullptr) << run.effect;
    }
    EXPECT_EQ(GetCursor(), Stock(IDC_CROSS)) << run.effect;

    progress().clear();
    onProgress() = [](int) { PlatformPressKey(VK_ESCAPE); };
    EXPECT_EQ(ApplyEffect(rgb.get(), run.effect, run.record), nullptr) << run.effect;
    EXPECT_EQ(progress().back(), 100) << run.effect;
    EXPECT_EQ(GetCursor(), Stock(IDC_ARROW)) << run.effect;
    onProgress() = nullptr;
    PlatformResetKeys();
  }
}

}  // namespace

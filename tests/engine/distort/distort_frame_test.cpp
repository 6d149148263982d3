// What every routine of the family shares: the kinds it takes and the grey palette copied.
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
    {EFFECT_MOTION_BLUR, {2, 8}},  {EFFECT_EMBOSS, {3, 1, 2, 0}},    {EFFECT_ROTATIONAL_WARP, {3, 1}},
    {EFFECT_RADIAL_WARP, {2, -7}},
};

using DistortFrame = EngineTest;

TEST_F(DistortFrame, TakesGreyRampsCopyingThePaletteAndRefusesOtherPalettes) {
  ScopedDib grey(MakeGreyDib(33, 40, [](int x, int y) { return uint8_t(x * y); }));
  ScopedDib palette(MakePaletteDib(33, 40, 8, std::vector<RGBQUAD>(256), [](int x, int) { return uint8_t(x); }));
  for (const EffectRun& run : kRuns) {
    ScopedDib greyResult(ApplyEffect(grey.get(), run.effect, run.record));
    ASSERT_TRUE(greyResult) << run.effect;
    EXPECT_EQ(PaletteAt(greyResult.get(), 200).rgbGreen, 200) << run.effect << ": the grey palette copied";
    EXPECT_EQ(ApplyEffect(palette.get(), run.effect, run.record), nullptr) << run.effect;
  }
}

}  // namespace

#include <thread>

#include "engine/catalogue.h"
#include "engine/hooks.h"
#include "engine/random.h"
#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using Dispatch = EngineTest;

TEST_F(Dispatch, IdentifiersWithoutARoutineGiveNullAndLeaveTheImage) {
  ScopedDib dib(MakeRgbDib(4, 3, [](int x, int y) { return Bgr{uint8_t(x), uint8_t(y), 9}; }));
  const std::vector<uint8_t> before = BlockBytes(dib.get());
  const BrightnessContrastParams params{0, 10, 10};
  for (int id : {69, 12, -1, 1000}) EXPECT_EQ(ApplyEffect(dib.get(), id, &params), nullptr) << id;
  EXPECT_EQ(BlockBytes(dib.get()), before);
  EXPECT_TRUE(progress().empty());
}

TEST_F(Dispatch, PassesTheRecordToItsRoutineAndRefusesNulls) {
  ScopedDib dib(MakeRgbDib(2, 1, [](int, int) { return Bgr{10, 20, 30}; }));
  const BrightnessContrastParams params{0, 5, 0};
  ScopedDib result(ApplyEffect(dib.get(), EFFECT_BRIGHTNESS_CONTRAST, &params));
  ASSERT_TRUE(result);
  EXPECT_EQ(RgbAt(result.get(), 1, 0), (Bgr{15, 25, 35}));
  EXPECT_EQ(ApplyEffect(dib.get(), EFFECT_BRIGHTNESS_CONTRAST, nullptr), nullptr);
  EXPECT_EQ(ApplyEffect(nullptr, EFFECT_BRIGHTNESS_CONTRAST, &params), nullptr);
}

TEST(Catalogue, KnowsExactlyTheIdentifiersInUse) {
  size_t count = 0;
  const EffectRow* rows = CatalogueRows(&count);
  EXPECT_EQ(count, 45u);
  for (int id = -1; id <= 71; ++id) {
    const bool gap = id < 1 || id > 70 || (id >= 10 && id <= 15) || (id >= 26 && id <= 31) ||
                     (id >= 42 && id <= 47) || (id >= 58 && id <= 63) || id == 69;
    EXPECT_EQ(FindEffect(id) == nullptr, gap) << id;
  }
  for (size_t i = 1; i < count; ++i) EXPECT_LT(rows[i - 1].id, rows[i].id) << "rows in identifier order";
}

TEST(Catalogue, PassesParametersAsEachEffectExpects) {
  for (int id : {33, 34, 35, 36, 38, 39, 40, 41, 48, 49, 50, 70}) {
    EXPECT_EQ(FindEffect(id)->passing, Passing::kFirstWord) << id;
  }
  for (int id : {5, 6, 16, 23, 24, 55, 66}) EXPECT_EQ(FindEffect(id)->passing, Passing::kNone) << id;
  for (int id : {1, 2, 3, 4, 7, 8, 9, 17, 18, 19, 20, 21, 22, 25, 32, 37, 51, 52, 53, 54, 56, 57, 64, 65, 67, 68}) {
    EXPECT_EQ(FindEffect(id)->passing, Passing::kRecord) << id;
  }
}

TEST(Random, FollowsTheSequenceAndEachThreadStartsAtSeedOne) {
  SeedRandom(0);
  EXPECT_EQ(NextRandom(), 38);  // 2531011 >> 16
  SeedRandom(1);
  EXPECT_EQ(NextRandom(), 41);
  EXPECT_EQ(NextRandom(), 18467);
  std::vector<int> fresh;
  std::thread([&fresh] { fresh = {NextRandom(), NextRandom()}; }).join();
  EXPECT_EQ(fresh, (std::vector<int>{41, 18467}));
}

using Hooks = EngineTest;

TEST_F(Hooks, ProgressGoesToTheCallbackOnlyWhenEnabled) {
  ReportProgress(30);
  SetFxProgressHook(0, nullptr);
  ReportProgress(40);
  EXPECT_EQ(progress(), std::vector<int>{30});
}

int WINAPI AlwaysAbort() { return 7; }

TEST_F(Hooks, AbortTestAsksTheCallbackOrTheEscapeKey) {
  EXPECT_EQ(IsAbortRequested(), 0);
  PlatformPressKey(VK_ESCAPE);
  EXPECT_EQ(IsAbortRequested(), 1) << "down and pressed";
  EXPECT_EQ(IsAbortRequested(), 1) << "still held down";
  PlatformReleaseKey(VK_ESCAPE);
  EXPECT_EQ(IsAbortRequested(), 0);

  PlatformPressKey(VK_ESCAPE);
  PlatformReleaseKey(VK_ESCAPE);
  EXPECT_EQ(IsAbortRequested(), 1) << "pressed since the previous query";
  EXPECT_EQ(IsAbortRequested(), 0);

  SetFxAbortHook(1, AlwaysAbort);
  EXPECT_EQ(IsAbortRequested(), 7);
  PlatformPressKey(VK_ESCAPE);
  SetFxAbortHook(0, AlwaysAbort);
  EXPECT_EQ(IsAbortRequested(), 0) << "a disabled abort test reads neither";
}

}  // namespace

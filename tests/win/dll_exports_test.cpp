// The DLL as a host sees it: loaded by name, every export found by its plain name and called.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "fxui.h"
#include "test_images.h"

namespace {

using ApplyEffectFn = HGLOBAL(WINAPI*)(HGLOBAL, int, const void*);
using GetFxParamFn = int(WINAPI*)(int, HWND, void*, void*);
using BackgroundFn = int(WINAPI*)(int32_t, uint32_t, uint32_t);
using ProgressHookFn = void(WINAPI*)(int, FxProgressCallback);
using AbortHookFn = void(WINAPI*)(int, FxAbortCallback);

class DllExports : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { module_ = LoadLibraryA("fxUi.dll"); }
  static void TearDownTestSuite() {
    if (module_) FreeLibrary(module_);
  }
  template <typename Fn>
  static Fn Export(const char* name) {
    return module_ ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_, name))) : nullptr;
  }
  static HMODULE module_;
};
HMODULE DllExports::module_ = nullptr;

std::vector<int> reports;
void WINAPI Record(int percent) { reports.push_back(percent); }
int WINAPI AbortAlways() { return 1; }

TEST_F(DllExports, ApplyEffectRunsBrightnessAndContrast) {
  auto apply = Export<ApplyEffectFn>("ApplyEffect");
  ASSERT_NE(apply, nullptr);
  ScopedDib source(MakeRgbDib(5, 3, [](int x, int) { return Bgr{uint8_t(60 * x), 100, 250}; }));
  // Contrast 127 is a hard threshold at 128; the channel is red alone.
  const BrightnessContrastParams threshold{CHANNEL_RED, 0, 127};
  ScopedDib result(apply(source.get(), EFFECT_BRIGHTNESS_CONTRAST, &threshold));
  ASSERT_TRUE(result);
  EXPECT_EQ(RgbAt(result.get(), 4, 2), (Bgr{240, 100, 255}));
}

// Every identifier from 0 to 71 through the export, with a record the effect accepts: the
// catalogue's identifiers give an image (68 only on an 8-bit grey image), the gaps, 0, 69 and
// 71 give null. In 32-bit this also covers the first-word and whole-record parameter passing.
struct EffectVerdict {
  int id;
  std::vector<int32_t> record;  // the leading fields; the rest of the record is zero
  bool greyOnly;
};

const EffectVerdict kEffects[] = {
    {1, {0, 10, 10}, false},  {2, {30, 20}, false},    {3, {0}, false},          {4, {0, 8}, false},
    {5, {}, false},           {6, {}, false},          {7, {128}, false},        {8, {3, 0}, false},
    {9, {3, 1}, false},       {16, {}, false},         {17, {3, 0}, false},      {18, {3, 100, 0}, false},
    {19, {1}, false},         {20, {3, 1}, false},     {21, {3, 0}, false},      {22, {1, 0, 50}, false},
    {23, {}, false},          {24, {}, false},         {32, {2, 30}, false},     {33, {50}, false},
    {34, {50}, false},        {35, {50}, false},       {36, {50}, false},        {37, {50, 0x808080}, false},
    {38, {50}, false},        {39, {50}, false},       {40, {2}, false},         {41, {50}, false},
    {48, {50}, false},        {49, {50}, false},       {50, {50}, false},        {51, {2, 1, 1}, false},
    {52, {4, 3}, false},      {53, {3, 4}, false},     {54, {1, 4, 2, 0}, false}, {55, {}, false},
    {56, {3}, false},         {57, {4, 1}, false},     {64, {3, 50}, false},     {65, {50, 50, 0}, false},
    {66, {}, false},          {67, {20, -30, 10, 0}, false}, {68, {2}, true},    {70, {128}, false},
    // The user's filter: scale 1, the centre weight 1 (field 3 + 12).
    {25, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}, false},
};

TEST_F(DllExports, ApplyEffectGivesAnImageForEveryCatalogueIdentifierAndNullForTheGaps) {
  auto apply = Export<ApplyEffectFn>("ApplyEffect");
  ASSERT_NE(apply, nullptr);
  ScopedDib colour(MakeRgbDib(24, 18, [](int x, int y) { return Bgr{uint8_t(10 * x), uint8_t(13 * y), uint8_t(7 * (x + y))}; }));
  ScopedDib grey(MakeGreyDib(24, 18, [](int x, int y) { return uint8_t(9 * x + 5 * y); }));
  bool listed[72] = {};
  for (const EffectVerdict& e : kEffects) {
    listed[e.id] = true;
    std::vector<int32_t> record(80, 0);  // room for the longest record (a 256-byte curve)
    std::copy(e.record.begin(), e.record.end(), record.begin());
    ScopedDib onColour(apply(colour.get(), e.id, record.data()));
    ScopedDib onGrey(apply(grey.get(), e.id, record.data()));
    EXPECT_EQ(bool(onColour), !e.greyOnly) << "effect " << e.id << " on a 24-bit image";
    EXPECT_TRUE(onGrey) << "effect " << e.id << " on a grey image";
  }
  std::vector<int32_t> record(80, 1);
  for (int id = 0; id <= 71; ++id) {
    if (listed[id]) continue;
    EXPECT_EQ(apply(colour.get(), id, record.data()), nullptr) << "identifier " << id;
  }
}

TEST_F(DllExports, HooksReachTheHostsCallbacks) {
  auto apply = Export<ApplyEffectFn>("ApplyEffect");
  auto setProgress = Export<ProgressHookFn>("SetFxProgressHook");
  auto setAbort = Export<AbortHookFn>("SetFxAbortHook");
  ASSERT_TRUE(apply && setProgress && setAbort);
  ScopedDib source(MakeRgbDib(2, 33, [](int, int) { return Bgr{1, 2, 3}; }));
  const BrightnessContrastParams params{CHANNEL_ALL, 9, 0};
  reports.clear();
  setProgress(1, Record);
  ScopedDib result(apply(source.get(), EFFECT_BRIGHTNESS_CONTRAST, &params));
  EXPECT_TRUE(result);
  EXPECT_EQ(reports, (std::vector<int>{0, 48, 96, 100}));

  reports.clear();
  setAbort(1, AbortAlways);
  EXPECT_EQ(apply(source.get(), EFFECT_BRIGHTNESS_CONTRAST, &params), nullptr);
  EXPECT_EQ(reports, std::vector<int>{100});
  setAbort(1, nullptr);
  setProgress(1, nullptr);
}

TEST_F(DllExports, BackgroundSettingAndDialogs) {
  auto background = Export<BackgroundFn>("GetFxuiBackgroundSetting");
  auto getParam = Export<GetFxParamFn>("GetFxParam");
  ASSERT_TRUE(background && getParam);
  EXPECT_EQ(background(-5, 0xFFFFFFFFu, 16), 1);
  BrightnessContrastParams record{};
  for (int id : {3, 9, 55, 66, 69, 70, 0, 71}) EXPECT_EQ(getParam(id, nullptr, nullptr, &record), -2) << id;
}

}  // namespace

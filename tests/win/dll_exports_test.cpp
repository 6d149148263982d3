// The DLL as a host sees it: loaded by name, every export found undecorated and called.
#include <gtest/gtest.h>

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

TEST_F(DllExports, EveryExportIsFoundByItsPlainName) {
  ASSERT_NE(module_, nullptr) << "fxUi.dll did not load";
  for (const char* name : {"ApplyEffect", "GetFxParam", "GetFxuiBackgroundSetting", "SetFxProgressHook",
                           "SetFxAbortHook"}) {
    EXPECT_NE(GetProcAddress(module_, name), nullptr) << name;
  }
}

TEST_F(DllExports, ApplyEffectRunsBrightnessAndContrast) {
  auto apply = Export<ApplyEffectFn>("ApplyEffect");
  ASSERT_NE(apply, nullptr);
  ScopedDib source(MakeRgbDib(5, 3, [](int x, int) { return Bgr{uint8_t(60 * x), 100, 250}; }));
  // Contrast 127 is a hard threshold at 128; the channel is red alone.
  const BrightnessContrastParams threshold{CHANNEL_RED, 0, 127};
  ScopedDib result(apply(source.get(), EFFECT_BRIGHTNESS_CONTRAST, &threshold));
  ASSERT_TRUE(result);
  EXPECT_EQ(RgbAt(result.get(), 4, 2), (Bgr{240, 100, 255}));
  // Contrast -128 squeezes 0..255 into 64..191, on every channel.
  const BrightnessContrastParams flat{CHANNEL_ALL, 0, -128};
  ScopedDib flatter(apply(source.get(), EFFECT_BRIGHTNESS_CONTRAST, &flat));
  ASSERT_TRUE(flatter);
  EXPECT_EQ(RgbAt(flatter.get(), 0, 0).b, 64);
  EXPECT_EQ(GlobalSize(flatter.get()), GlobalSize(source.get()));

  EXPECT_EQ(apply(source.get(), 12, &threshold), nullptr) << "an identifier without a routine";
  EXPECT_EQ(apply(source.get(), 71, &threshold), nullptr);
  EXPECT_EQ(apply(nullptr, EFFECT_BRIGHTNESS_CONTRAST, &threshold), nullptr);
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

// A fixture for engine tests: hooks back to their defaults, no key pressed, the progress
// reports of a run recorded, and every test checked for leaked memory blocks.
#ifndef FXUI_TESTS_ENGINE_FIXTURE_H
#define FXUI_TESTS_ENGINE_FIXTURE_H

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "fxui.h"
#include "platform_control.h"

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    progress().clear();
    onProgress() = nullptr;
    PlatformResetKeys();
    PlatformFailAllocation(0);
    SetFxProgressHook(1, RecordProgress);
    SetFxAbortHook(1, nullptr);
    SetCursor(nullptr);
    blocksBefore_ = PlatformLiveBlockCount();
  }
  void TearDown() override {
    SetFxProgressHook(1, nullptr);
    SetFxAbortHook(1, nullptr);
    PlatformResetKeys();
    PlatformFailAllocation(0);
    EXPECT_EQ(PlatformLiveBlockCount(), blocksBefore_) << "memory blocks leaked";
  }

  // Percentages reported during the test, in order.
  static std::vector<int>& progress() {
    static std::vector<int> reports;
    return reports;
  }
  // Runs at each progress report (after it is recorded), for a test that acts mid-run.
  static std::function<void(int)>& onProgress() {
    static std::function<void(int)> action;
    return action;
  }
  static HCURSOR Stock(LPCSTR id) { return LoadCursorA(nullptr, id); }

 private:
  static void WINAPI RecordProgress(int percent) {
    progress().push_back(percent);
    if (onProgress()) onProgress()(percent);
  }
  size_t blocksBefore_ = 0;
};

#endif

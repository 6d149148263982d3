// The boundary guard: a body's result passes through; any exception it throws (a failed
// allocation, a standard error, anything else) becomes the failure result, and a body without
// a result simply ends.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "platform/boundary.h"
#include "platform_control.h"

namespace {

std::unique_ptr<int> kept;  // where an allocation goes, so that it cannot be left out

void (*const kSteps[])() = {
    [] {},
    [] {
      PlatformFailNew(1);  // the next C++ allocation fails as on a full heap
      kept = std::make_unique<int>(1);
    },
    [] { throw std::length_error("too long"); },
    [] { throw 42; },
};

TEST(AtBoundary, ResultOrFailure) {
  for (int thrown = 0; thrown < 4; ++thrown) {
    int steps = 0;
    const int result = AtBoundary(-2, [&] {
      kSteps[thrown]();
      ++steps;
      return 7;
    });
    EXPECT_EQ(result, thrown ? -2 : 7) << thrown;
    AtBoundary([&] {
      ++steps;
      kSteps[thrown]();
      ++steps;
    });
    EXPECT_EQ(steps, thrown ? 1 : 3) << thrown;
    PlatformFailNew(0);
  }
}

}  // namespace

// The boundary guard: a body's result passes through; any exception it throws becomes the
// failure result, and a body without a result simply ends.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "platform/boundary.h"
#include "platform_control.h"

namespace {

enum Thrown { kNothing, kAllocationFailure, kStandardError, kForeignType };

std::unique_ptr<int> kept;  // where an allocation goes, so that it cannot be left out

void Step(Thrown thrown) {
  switch (thrown) {
    case kNothing:
      return;
    case kAllocationFailure: {
      PlatformFailNew(1);  // the next C++ allocation fails as on a full heap
      kept = std::make_unique<int>(1);
      PlatformFailNew(0);
      return;
    }
    case kStandardError:
      throw std::length_error("too long");
    case kForeignType:
      throw 42;
  }
}

TEST(AtBoundary, ResultOrFailure) {
  struct Case {
    Thrown thrown;
    int expected;
  };
  const Case cases[] = {{kNothing, 7}, {kAllocationFailure, -2}, {kStandardError, -2}, {kForeignType, -2}};
  for (const Case& c : cases) {
    int ended = 0;
    const int result = AtBoundary(-2, [&] {
      Step(c.thrown);
      ended = 1;
      return 7;
    });
    EXPECT_EQ(result, c.expected) << c.thrown;
    EXPECT_EQ(ended, c.thrown == kNothing) << c.thrown;

    int steps = 0;
    AtBoundary([&] {
      ++steps;
      Step(c.thrown);
      ++steps;
    });
    EXPECT_EQ(steps, c.thrown == kNothing ? 2 : 1) << c.thrown;
    PlatformFailNew(0);
  }
}

}  // namespace

// The probes themselves: a probe that failed by mistake would skip its checks everywhere, so in
// 64-bit (where Wine and Windows can do all three) every probe must succeed; in 32-bit the
// findings are printed so the log says what this Wine's WoW64 mode could not do.
#include <gtest/gtest.h>

#include <cstdio>

#include "wine_probe.h"

namespace {

struct ProbeRow {
  const char* call;
  bool (*probe)();
};

const ProbeRow kProbes[] = {
    {"PixelsReadable()", PixelsReadable},
    {"ComboBoxesWork()", ComboBoxesWork},
    {"EditTextWorks()", EditTextWorks},
};

TEST(WineProbe, EverySucceedsIn64BitAndAFailureSaysWhatItSaw) {
  for (const ProbeRow& row : kProbes) {
    const bool ok = row.probe();
    EXPECT_EQ(ok, row.probe()) << row.call << " answers once and keeps its answer";
    EXPECT_EQ(ok, ProbeFinding(row.call).empty()) << row.call << ": " << ProbeFinding(row.call);
    if (sizeof(void*) == 8) {
      EXPECT_TRUE(ok) << row.call << ": " << ProbeFinding(row.call);
    }
    if (!ok) std::printf("[   NOTE   ] %s fails here: %s\n", row.call, ProbeFinding(row.call).c_str());
  }
}

}  // namespace

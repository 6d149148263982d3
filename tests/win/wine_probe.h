// Run-time probes for what the Windows under the tests can do. Wine's WoW64 mode (the 32-bit
// build under a 64-bit Wine) cannot draw with GDI or read pixels back, create combo boxes or take
// WM_SETTEXT on an edit box; the checks needing those ask these probes and are skipped with a
// one-line reason, so that they run again wherever the probe succeeds.
#ifndef FXUI_TESTS_WIN_WINE_PROBE_H
#define FXUI_TESTS_WIN_WINE_PROBE_H

#include <string>

#include <gtest/gtest.h>

// Each probe runs once per process and caches its answer.
bool PixelsReadable();  // drawing into a DIB section and reading the pixels back works
bool ComboBoxesWork();  // a combo box can be created
bool EditTextWorks();   // WM_SETTEXT to an edit box is safe (probed in a child process)

// What a failed probe saw, by its call text ("PixelsReadable()"); empty when it succeeded.
std::string ProbeFinding(const char* probeCall);

// Inside a table loop: returns `ok`; when false, prints one line saying which check `what`
// is skipped and why, and records it as a test property.
bool NoteUnless(bool ok, const char* probeCall, const std::string& what);

// Skips the rest of the test with a one-line reason when `probe` fails.
#define SKIP_UNLESS(probe, what)  \
  GTEST_AMBIGUOUS_ELSE_BLOCKER_    \
  if (probe) {                     \
  } else                           \
    GTEST_SKIP() << (what) << " needs " #probe ", which fails here: " << ProbeFinding(#probe)

// In a table-driven test: `if (CAN_CHECK(PixelsReadable(), "row 3 pixels")) EXPECT_...;`
#define CAN_CHECK(probe, what) NoteUnless((probe), #probe, (what))

#endif

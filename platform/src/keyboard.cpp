// The asynchronous key state: bit 0x8000 while a key is down, bit 0x0001 when it was pressed
// since the previous query of that key (the query clears it).
#include <windows.h>

#include <atomic>

#include "platform_control.h"

namespace {

constexpr unsigned char kDown = 1;
constexpr unsigned char kPressedSinceQuery = 2;

std::atomic<unsigned char> keyStates[256];

bool ValidKey(int virtualKey) { return virtualKey >= 0 && virtualKey < 256; }

}  // namespace

short GetAsyncKeyState(int virtualKey) {
  if (!ValidKey(virtualKey)) return 0;
  const unsigned char state = keyStates[virtualKey].fetch_and(kDown);
  return static_cast<short>(((state & kDown) ? 0x8000 : 0) | ((state & kPressedSinceQuery) ? 1 : 0));
}

void PlatformPressKey(int virtualKey) {
  if (ValidKey(virtualKey)) keyStates[virtualKey].store(kDown | kPressedSinceQuery);
}

void PlatformReleaseKey(int virtualKey) {
  if (ValidKey(virtualKey)) keyStates[virtualKey].fetch_and(kPressedSinceQuery);
}

void PlatformResetKeys(void) {
  for (auto& state : keyStates) state.store(0);
}

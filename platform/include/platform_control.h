// Controls of the native platform layer that only tests and tools use: the key state a
// user would make, the count of live memory blocks and a way to make an allocation fail.
#ifndef FXUI_PLATFORM_CONTROL_H
#define FXUI_PLATFORM_CONTROL_H

#include <stddef.h>

// Key presses as the user makes them: a press sets "down now" and "pressed since the
// previous query"; a release clears "down now" only.
void PlatformPressKey(int virtualKey);
void PlatformReleaseKey(int virtualKey);
// Forgets every key state (for test isolation).
void PlatformResetKeys(void);

// Number of global memory blocks allocated and not yet freed.
size_t PlatformLiveBlockCount(void);
// Makes the n-th GlobalAlloc from now fail (1 = the next one); 0 turns failing off.
void PlatformFailAllocation(int nth);

#endif

// Controls of the native platform layer that only tests and tools use: the key state a
// user would make, the count and peak size of live memory blocks and a way to make an
// allocation fail.
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
// Highest sum of the sizes of the live blocks since the last reset (or since start).
size_t PlatformPeakLiveBytes(void);
// Starts a new peak from the bytes live now.
void PlatformResetPeakLiveBytes(void);
// Makes the n-th GlobalAlloc from now fail (1 = the next one); 0 turns failing off.
void PlatformFailAllocation(int nth);

// Makes the n-th C++ allocation (operator new) from now throw std::bad_alloc, or give null
// for the nothrow form; 0 turns failing off.
void PlatformFailNew(int nth);

#endif

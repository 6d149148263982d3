// Console and file queries that the command-line tools need on both platforms.
#ifndef FXUI_PLATFORM_CONSOLE_H
#define FXUI_PLATFORM_CONSOLE_H

#include <cstdint>
#include <cstdio>

// True when standard error is an interactive terminal (a progress bar makes sense there).
bool StderrIsTerminal();

// Bytes from the current position to the end of `file` when it is a regular file; -1 for a
// pipe, a device, or when the system cannot say.
int64_t RegularFileBytesLeft(std::FILE* file);

#endif

// Console queries that the command-line tools need on both platforms.
#ifndef FXUI_PLATFORM_CONSOLE_H
#define FXUI_PLATFORM_CONSOLE_H

// True when standard error is an interactive terminal (a progress bar makes sense there).
bool StderrIsTerminal();

#endif

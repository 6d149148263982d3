#include "console.h"

#ifdef _WIN32
#include <io.h>
#include <stdio.h>
bool StderrIsTerminal() { return _isatty(_fileno(stderr)) != 0; }
#else
#include <unistd.h>
bool StderrIsTerminal() { return isatty(STDERR_FILENO) != 0; }
#endif

// The engine's shared facilities: the progress hook and the abort test.
#ifndef FXUI_ENGINE_HOOKS_H
#define FXUI_ENGINE_HOOKS_H

#include "fxui.h"

// Tells the progress callback a percentage, if the hook is enabled and a callback installed.
void ReportProgress(int percent);

// Non-zero asks the running routine to stop. A disabled hook answers 0; an installed
// callback answers for itself; otherwise the Escape key is asked, and counts when it is
// down now or was pressed since the previous query.
int IsAbortRequested();

#endif

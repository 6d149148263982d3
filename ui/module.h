// Module-wide state of the DLL.
#ifndef FXUI_UI_MODULE_H
#define FXUI_UI_MODULE_H

#include <windows.h>

// The DLL's instance handle, recorded by the module entry point; every template, string,
// bitmap and cursor is loaded from it.
HINSTANCE ModuleInstance();

#endif

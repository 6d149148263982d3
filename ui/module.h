// Module-wide state of the DLL: the instance handle and the preview background setting.
#ifndef FXUI_UI_MODULE_H
#define FXUI_UI_MODULE_H

#include <cstdint>

#include <windows.h>

// The three values of GetFxuiBackgroundSetting, in argument order; all 0 until it is called.
struct BackgroundSetting {
  int32_t value1;
  uint32_t value2;
  uint32_t value3;
};

// The DLL's instance handle, recorded by the module entry point.
HINSTANCE ModuleInstance();
const BackgroundSetting& CurrentBackgroundSetting();

#endif

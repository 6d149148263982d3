// The module entry point and the module-wide state it keeps.
#include "ui/module.h"

#include "fxui.h"

namespace {

HINSTANCE moduleInstance = nullptr;
BackgroundSetting backgroundSetting = {0, 0, 0};

}  // namespace

HINSTANCE ModuleInstance() { return moduleInstance; }

const BackgroundSetting& CurrentBackgroundSetting() { return backgroundSetting; }

extern "C" int WINAPI GetFxuiBackgroundSetting(int32_t value1, uint32_t value2, uint32_t value3) {
  backgroundSetting = BackgroundSetting{value1, value2, value3};
  return 1;
}

// Records the instance on every notification; nothing is kept that needs undoing at unload.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)reason;
  (void)reserved;
  moduleInstance = instance;
  return TRUE;
}

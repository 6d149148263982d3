// The module entry point and the exported background setting.
#include "ui/module.h"

#include "fxui.h"
#include "platform/boundary.h"
#include "preview/display_window.h"
#include "preview/preview_control.h"

namespace {
HINSTANCE moduleInstance = nullptr;
}

HINSTANCE ModuleInstance() { return moduleInstance; }

extern "C" int WINAPI GetFxuiBackgroundSetting(int32_t value1, uint32_t value2, uint32_t value3) {
  return AtBoundary(0, [&] {
    SetDisplayBackground(YmBackground{value1, value2, value3});
    return 1;
  });
}

// On every notification: record the instance and register the preview classes (a class that
// exists already ends the attempt quietly). The classes are never unregistered.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)reason;
  (void)reserved;
  moduleInstance = instance;
  RegisterPreviewClasses(instance);
  return TRUE;
}

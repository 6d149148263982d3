#include "engine/hooks.h"

#include "platform/boundary.h"

namespace {

// Module-wide hook state: both hooks enabled, no callbacks, from load on.
struct HookState {
  bool progressEnabled = true;
  FxProgressCallback progress = nullptr;
  bool abortEnabled = true;
  FxAbortCallback abort = nullptr;
};

HookState hooks;

}  // namespace

void ReportProgress(int percent) {
  if (hooks.progressEnabled && hooks.progress) hooks.progress(percent);
}

int IsAbortRequested() {
  if (!hooks.abortEnabled) return 0;
  if (hooks.abort) return hooks.abort();
  return GetAsyncKeyState(VK_ESCAPE) != 0 ? 1 : 0;
}

// The setters only store two values; the guard keeps them exception-free should that change.
extern "C" void WINAPI SetFxProgressHook(int enabled, FxProgressCallback callback) {
  AtBoundary([&] {
    hooks.progressEnabled = enabled != 0;
    hooks.progress = callback;
  });
}

extern "C" void WINAPI SetFxAbortHook(int enabled, FxAbortCallback callback) {
  AtBoundary([&] {
    hooks.abortEnabled = enabled != 0;
    hooks.abort = callback;
  });
}

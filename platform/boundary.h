// The boundary between the library and whoever calls it: the exports, the window and dialog
// procedures (called by the system's message loop) and a program's main. No C++ exception may
// cross it: a C caller or the system cannot take one, and an escaping exception terminates
// the host. An exception from below (in practice std::bad_alloc when memory runs out) becomes
// the boundary's documented failure result instead.
//
// An export or procedure keeps its body in a plain function and wraps it once:
//
//   INT_PTR CALLBACK SomeDialogProc(HWND d, UINT m, WPARAM w, LPARAM l) {
//     return AtBoundary<INT_PTR>(FALSE, [&] { return SomeDialogMessage(d, m, w, l); });
//   }
#ifndef FXUI_PLATFORM_BOUNDARY_H
#define FXUI_PLATFORM_BOUNDARY_H

#include <utility>

// Returns body(), or `failure` when body throws.
template <typename Result, typename Body>
Result AtBoundary(Result failure, Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    return failure;
  }
}

// For a boundary without a result: an exception ends the call and is dropped.
template <typename Body>
void AtBoundary(Body&& body) noexcept {
  try {
    std::forward<Body>(body)();
  } catch (...) {
  }
}

#endif

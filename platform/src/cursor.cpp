// The stock cursors and the current-cursor value. Only the system's stock cursors exist
// natively: a cursor asked of a module instance (a resource) is not found.
#include <windows.h>

#include <atomic>
#include <iterator>

struct HICON__ {
  WORD id;  // the stock cursor's resource number
};

namespace {

HICON__ stockCursors[] = {{32512}, {32513}, {32514}, {32515}, {32516}, {32642}, {32643},
                          {32644}, {32645}, {32646}, {32648}, {32649}, {32650}};

std::atomic<HCURSOR> currentCursor{nullptr};

}  // namespace

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
  if (instance != nullptr || !IS_INTRESOURCE(name)) return nullptr;
  const WORD id = static_cast<WORD>(reinterpret_cast<UINT_PTR>(name));
  for (HICON__& cursor : stockCursors) {
    if (cursor.id == id) return &cursor;
  }
  return nullptr;
}

HCURSOR SetCursor(HCURSOR cursor) { return currentCursor.exchange(cursor); }

HCURSOR GetCursor(void) { return currentCursor.load(); }

#include "ui/dialogs/direction_buttons.h"

#include "resources/resource.h"
#include "ui/module.h"

bool IsDirectionButton(int id) { return id >= IDC_DIRECTION_1 && id <= IDC_DIRECTION_8; }

int DirectionOf(int buttonId) { return buttonId - IDC_DIRECTION_1 + 1; }

bool DrawDirectionButton(const DRAWITEMSTRUCT& item, int currentButton) {
  const int id = static_cast<int>(item.CtlID);
  if (item.CtlType != ODT_BUTTON || !IsDirectionButton(id)) return false;
  if (!(item.itemAction & (ODA_DRAWENTIRE | ODA_FOCUS))) return true;
  HBITMAP bitmap = LoadBitmapA(ModuleInstance(), MAKEINTRESOURCEA(IDB_DIRECTION_1 + id - IDC_DIRECTION_1));
  if (!bitmap) return true;
  const RECT& r = item.rcItem;
  HGDIOBJ oldBrush = SelectObject(item.hDC, GetStockObject(LTGRAY_BRUSH));
  Rectangle(item.hDC, -1, -1, r.right + 1, r.bottom + 1);
  SelectObject(item.hDC, oldBrush);
  HDC memory = CreateCompatibleDC(item.hDC);
  HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
  BitBlt(item.hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, memory, 0, 0,
         id == currentButton ? NOTSRCCOPY : SRCCOPY);
  SelectObject(memory, oldBitmap);
  DeleteDC(memory);
  DeleteObject(bitmap);
  return true;
}

void SetCurrentDirection(HWND dialog, int* currentButton, int button) {
  if (*currentButton) InvalidateRect(GetDlgItem(dialog, *currentButton), nullptr, FALSE);
  InvalidateRect(GetDlgItem(dialog, button), nullptr, FALSE);
  *currentButton = button;
}

#include "preview/preview_image.h"

#include <cstdlib>
#include <cstring>

#include "fxui.h"
#include "image/dib.h"
#include "preview/resample.h"
#include "ymdll/ymdll.h"

namespace {

// The fields a preview copy gets beyond the host block's own bytes.
void FillPreviewRecord(HostImage* copy, const RECT& display, HGLOBAL image, HGLOBAL mask) {
  copy->width = std::abs(display.right - display.left);
  copy->height = std::abs(display.bottom - display.top);
  copy->entryCount = 1;
  copy->currentEntry = 0;
  copy->word30400 = 0;
  copy->hasSelection = 0;
  int w = 0, h = 0;
  GetDibSize(image, &w, &h);
  ImageEntry& entry = copy->entries[0];
  entry.image = image;
  entry.mask = mask;
  entry.word8 = 0;
  entry.x = (display.left + display.right - w) / 2;
  entry.y = (display.top + display.bottom - h) / 2;
  entry.word280 = 1;
  entry.word292 = 100;
  entry.word296 = 0;
}

}  // namespace

bool BuildPreviewImage(PreviewView& view, const RECT& display) {
  if (!view.hostImage) return false;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(HostImage));
  auto* copy = block ? static_cast<HostImage*>(GlobalLock(block)) : nullptr;
  const auto* host = static_cast<const HostImage*>(GlobalLock(view.hostImage));
  const bool hostReadable = host && GlobalSize(view.hostImage) >= sizeof(HostImage);
  HGLOBAL image = nullptr, mask = nullptr;
  if (copy && hostReadable) {
    std::memcpy(copy, host, sizeof(HostImage));
    const int current = host->currentEntry;
    if (current >= 0 && current < host->entryCount && current < FXUI_MAX_ENTRIES) {
      const ImageEntry& entry = host->entries[current];
      const int spanW = std::abs(view.viewRight - view.viewLeft);
      const int spanH = std::abs(view.viewBottom - view.viewTop);
      const int outW = static_cast<int>((int64_t{spanW} * view.zoom + 50) / 100);
      const int outH = static_cast<int>((int64_t{spanH} * view.zoom + 50) / 100);
      image = ResampleDib(entry.image, view.viewLeft, view.viewTop, spanW, spanH, outW, outH);
      if (image) mask = ResampleDib(entry.mask, view.viewLeft, view.viewTop, spanW, spanH, outW, outH);
    }
  }
  const bool built = image && mask;
  if (built) FillPreviewRecord(copy, display, image, mask);
  if (host) GlobalUnlock(view.hostImage);
  if (copy) GlobalUnlock(block);
  if (!built) {
    if (image) GlobalFree(image);
    if (block) GlobalFree(block);
    return false;
  }
  if (view.previewImage) YmImageDelete(view.previewImage);
  view.previewImage = block;
  return true;
}

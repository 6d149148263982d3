#include "image/host_image.h"

namespace {

// Locks the record; a block smaller than the record counts as a failed lock.
HostImage* LockHostImage(HGLOBAL hostImage) {
  if (!hostImage) return nullptr;
  auto* record = static_cast<HostImage*>(GlobalLock(hostImage));
  if (!record) return nullptr;
  if (GlobalSize(hostImage) >= sizeof(HostImage)) return record;
  GlobalUnlock(hostImage);
  return nullptr;
}

}  // namespace

int IsGreyHostImage(HGLOBAL hostImage) {
  const HostImage* record = LockHostImage(hostImage);
  if (!record) return 0;
  const int grey = record->imageType == 8 ? 1 : 0;
  GlobalUnlock(hostImage);
  return grey;
}

int GetCurrentEntryIndex(HGLOBAL hostImage) {
  const HostImage* record = LockHostImage(hostImage);
  if (!record) return -1;
  const int index = record->currentEntry;
  GlobalUnlock(hostImage);
  return index;
}

ImageEntry* LockImageEntry(HGLOBAL hostImage, int index) {
  HostImage* record = LockHostImage(hostImage);
  if (!record) return nullptr;
  if (index >= 0 && index < record->entryCount && index < FXUI_MAX_ENTRIES) {
    return &record->entries[index];
  }
  GlobalUnlock(hostImage);
  return nullptr;
}

void UnlockHostImage(HGLOBAL hostImage) {
  if (hostImage) GlobalUnlock(hostImage);
}

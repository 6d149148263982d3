// Helpers over the host's HostImage record (layout in include/fxui.h).
#ifndef FXUI_IMAGE_HOST_IMAGE_H
#define FXUI_IMAGE_HOST_IMAGE_H

#include "fxui.h"

// 1 when the picture is grey (imageType 8); 0 otherwise, also when the block cannot be locked.
int IsGreyHostImage(HGLOBAL hostImage);
// The index of the current entry; -1 when the block cannot be locked.
int GetCurrentEntryIndex(HGLOBAL hostImage);
// Entry `index` when 0 <= index < entryCount: the record then stays locked until
// UnlockHostImage. Otherwise the record is left unlocked and the result is null.
ImageEntry* LockImageEntry(HGLOBAL hostImage, int index);
// Unlocks the record once; a null handle is ignored.
void UnlockHostImage(HGLOBAL hostImage);

#endif

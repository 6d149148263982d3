// The engine's entry point: maps an effect identifier to its routine through the catalogue.
#include "engine/catalogue.h"
#include "platform/boundary.h"

namespace {

HGLOBAL Dispatch(HGLOBAL dib, int effectId, const void* record) {
  if (!dib) return nullptr;
  const EffectRow* row = FindEffect(effectId);
  if (!row) return nullptr;
  switch (row->passing) {
    case Passing::kRecord:
      return row->byRecord ? row->byRecord(dib, record) : nullptr;
    case Passing::kFirstWord:
      if (!row->byWord || !record) return nullptr;
      return row->byWord(dib, *static_cast<const int32_t*>(record));
    case Passing::kNone:
      return row->plain ? row->plain(dib) : nullptr;
  }
  return nullptr;
}

}  // namespace

// An allocation failure anywhere below ends as a null result, like any other failure.
extern "C" HGLOBAL WINAPI ApplyEffect(HGLOBAL dib, int effectId, const void* record) {
  return AtBoundary<HGLOBAL>(nullptr, [&] { return Dispatch(dib, effectId, record); });
}

// The effect catalogue: every identifier the engine knows, its name, how its parameter
// record reaches the routine, and the routine once it exists.
#ifndef FXUI_ENGINE_CATALOGUE_H
#define FXUI_ENGINE_CATALOGUE_H

#include <cstddef>
#include <cstdint>

#include "fxui.h"

enum class Passing {
  kRecord,     // the routine gets the pointer to the whole record
  kFirstWord,  // the routine gets the record's first 32-bit integer
  kNone,       // the routine takes no parameters; the record may be null
};

using RecordRoutine = HGLOBAL (*)(HGLOBAL dib, const void* record);
using WordRoutine = HGLOBAL (*)(HGLOBAL dib, int32_t value);
using PlainRoutine = HGLOBAL (*)(HGLOBAL dib);

struct EffectRow {
  int id;
  const char* name;          // as the interface shows it; a description for effects without one
  Passing passing;
  RecordRoutine byRecord;    // set for kRecord once the routine exists
  WordRoutine byWord;        // set for kFirstWord once the routine exists
  PlainRoutine plain;        // set for kNone once the routine exists
  const char* fields;        // record fields in order, space separated; "curve[256]" is 256 bytes
  bool HasRoutine() const { return byRecord || byWord || plain; }
};

// The row of `id`, or null for an identifier the catalogue does not know.
const EffectRow* FindEffect(int id);

// All rows, in identifier order.
const EffectRow* CatalogueRows(size_t* count);

#endif

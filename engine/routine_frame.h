// The routine frame: the skeleton every tone and filter routine follows.
//
//   1. check the arguments (the routine itself, before anything is locked or allocated)
//   2. OpenSource: lock the source, read its layout, refuse kinds the routine does not take
//   3. CreateResult: wait cursor (unless the frame leaves the cursor alone), allocate and lock
//      the zero-filled result
//   4. copy header (and palette), process rows in stored order with BeginRow asking the
//      abort test and reporting progress at the routine's cadence
//   5. Finish: unlock, free the working tables, free the result after an abort, report 100,
//      restore the arrow cursor, hand the result over
//
// A routine that returns early at any step leaves the clean-up to the destructor: the source
// is unlocked, tables and an unfinished result are freed, a changed cursor is restored.
#ifndef FXUI_ENGINE_ROUTINE_FRAME_H
#define FXUI_ENGINE_ROUTINE_FRAME_H

#include <cstddef>
#include <cstdint>

#include "engine/working_tables.h"
#include "image/dib.h"

// Kinds taken by the tone routines (24-bit, 8-bit and 4-bit) and by the filter routines
// (24-bit and 8-bit grey ramp).
constexpr unsigned kToneKinds =
    DibKindBit(kDibRgb24) | DibKindBit(kDibGreyRamp) | DibKindBit(kDibPalette8) | DibKindBit(kDibPalette4);
constexpr unsigned kFilterKinds = DibKindBit(kDibRgb24) | DibKindBit(kDibGreyRamp);

// Whether CreateResult shows the wait cursor (and the end of the run restores the arrow), or
// the routine leaves the cursor as it found it.
enum class FrameCursor { kWait, kUntouched };
// Whether Finish tells the progress hook 100, or the routine reports no progress at all.
enum class FinalReport { kProgress100, kNone };

class RoutineFrame {
 public:
  explicit RoutineFrame(unsigned acceptedKinds, FrameCursor cursor = FrameCursor::kWait)
      : acceptedKinds_(acceptedKinds), cursor_(cursor) {}
  ~RoutineFrame();
  RoutineFrame(const RoutineFrame&) = delete;
  RoutineFrame& operator=(const RoutineFrame&) = delete;

  // A working table: a zero-filled movable block, locked until the frame ends. Null on failure.
  template <typename T>
  T* AllocateTable(size_t count) {
    return tables_.Allocate<T>(count);
  }

  // Locks the source and reads its layout. False when the image is unreadable or of a kind
  // not accepted; the source is then unlocked and the working tables are freed.
  bool OpenSource(HGLOBAL source);
  // Makes the wait cursor current and allocates the result (same layout as the source).
  // False when the allocation fails: the arrow cursor is back, the source unlocked and the
  // tables freed, and no progress is reported.
  bool CreateResult();
  // Makes the wait cursor current now, for a routine that shows it only once the result
  // exists (its frame made with FrameCursor::kUntouched); the end of the run restores the arrow.
  void ShowWaitCursor();

  // Header copies into the result: as many bytes as the header's own size field says (tone
  // routines), header and palette in one piece (filter routines), or the palette alone.
  void CopyHeaderBySizeField();
  void CopyHeaderAndPalette();
  void CopyPalette();
  // The query before the first row whose answer is thrown away: it clears an Escape press
  // made before the run.
  void DiscardAbortQuery();

  // Before stored row `row`: asks the abort test on every `abortEvery`-th row and reports
  // row x 100 / height on every `progressEvery`-th row. False once an abort is reported.
  bool BeginRow(int row, int abortEvery = 1, int progressEvery = 16);
  // Before step `step` (a row or a column) of a pass over `count` steps that covers the
  // percentages first ... first + span: asks the abort test, and on every 16th step reports
  // first + step x span / count. Two-pass filters run 0, 50 over their rows, then 50, 50.
  bool BeginPassStep(int step, int count, int first, int span);
  // Asks the abort test now (for routines with their own cadence); true means stop.
  bool AskAbort();

  // Ends the run and returns the result, or null after an abort.
  HGLOBAL Finish(FinalReport report = FinalReport::kProgress100);

  const DibLayout& layout() const { return layout_; }
  DibKind kind() const { return kind_; }
  const uint8_t* source() const { return source_; }
  uint8_t* result() { return result_; }
  const uint8_t* sourcePixels() const { return source_ + layout_.pixelOffset; }
  uint8_t* resultPixels() { return result_ + layout_.pixelOffset; }
  bool aborted() const { return aborted_; }

 private:
  void ReleaseSource();
  void RestoreArrow();

  unsigned acceptedKinds_;
  FrameCursor cursor_;
  HGLOBAL sourceHandle_ = nullptr;  // locked while non-null
  const uint8_t* source_ = nullptr;
  DibLayout layout_{};
  DibKind kind_ = kDibNone;
  HGLOBAL resultHandle_ = nullptr;  // locked while result_ is non-null
  uint8_t* result_ = nullptr;
  WorkingTables tables_;
  bool waitCursor_ = false;
  bool aborted_ = false;
};

#endif

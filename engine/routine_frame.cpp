#include "engine/routine_frame.h"

#include <algorithm>
#include <cstring>

#include "engine/hooks.h"

RoutineFrame::~RoutineFrame() {
  if (resultHandle_) {
    if (result_) GlobalUnlock(resultHandle_);
    GlobalFree(resultHandle_);
  }
  ReleaseSource();
  if (waitCursor_) RestoreArrow();
}  // the working tables go with tables_

void RoutineFrame::ReleaseSource() {
  if (!sourceHandle_) return;
  GlobalUnlock(sourceHandle_);
  sourceHandle_ = nullptr;
  source_ = nullptr;
}

void RoutineFrame::RestoreArrow() {
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  waitCursor_ = false;
}

bool RoutineFrame::OpenSource(HGLOBAL source) {
  const void* bits = source ? GlobalLock(source) : nullptr;
  if (bits) {
    sourceHandle_ = source;
    source_ = static_cast<const uint8_t*>(bits);
    const size_t available = GlobalSize(source);
    if (ReadDibLayout(bits, available, &layout_)) kind_ = ClassifyDibBits(bits, available);
  }
  if (kind_ != kDibNone && (acceptedKinds_ & DibKindBit(kind_))) return true;
  ReleaseSource();
  tables_.ReleaseAll();
  return false;
}

bool RoutineFrame::CreateResult() {
  if (cursor_ == FrameCursor::kWait) ShowWaitCursor();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, layout_.blockSize);
  void* bits = block ? GlobalLock(block) : nullptr;
  if (!bits) {
    if (block) GlobalFree(block);
    if (waitCursor_) RestoreArrow();
    ReleaseSource();
    tables_.ReleaseAll();
    return false;
  }
  resultHandle_ = block;
  result_ = static_cast<uint8_t*>(bits);
  return true;
}

void RoutineFrame::ShowWaitCursor() {
  SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  waitCursor_ = true;
}

void RoutineFrame::CopyHeaderBySizeField() {
  const size_t bytes = std::min<size_t>(DibHeader(source_)->biSize, layout_.blockSize);
  std::memcpy(result_, source_, bytes);
}

void RoutineFrame::CopyHeaderAndPalette() { std::memcpy(result_, source_, layout_.pixelOffset); }

void RoutineFrame::CopyPalette() {
  std::memcpy(result_ + kDibHeaderSize, source_ + kDibHeaderSize, layout_.pixelOffset - kDibHeaderSize);
}

void RoutineFrame::DiscardAbortQuery() { (void)IsAbortRequested(); }

bool RoutineFrame::AskAbort() {
  if (IsAbortRequested()) aborted_ = true;
  return aborted_;
}

bool RoutineFrame::BeginRow(int row, int abortEvery, int progressEvery) {
  if (row % abortEvery == 0 && AskAbort()) return false;
  if (row % progressEvery == 0) {
    ReportProgress(static_cast<int>(int64_t{row} * 100 / layout_.height));
  }
  return true;
}

bool RoutineFrame::BeginPassStep(int step, int count, int first, int span) {
  if (AskAbort()) return false;
  if (step % 16 == 0) ReportProgress(first + static_cast<int>(int64_t{step} * span / count));
  return true;
}

HGLOBAL RoutineFrame::Finish(FinalReport report) {
  ReleaseSource();
  GlobalUnlock(resultHandle_);
  result_ = nullptr;
  tables_.ReleaseAll();
  HGLOBAL result = resultHandle_;
  resultHandle_ = nullptr;
  if (aborted_) {
    GlobalFree(result);
    result = nullptr;
  }
  if (report == FinalReport::kProgress100) ReportProgress(100);
  if (waitCursor_) RestoreArrow();
  return result;
}

#include "preview/effect_runner.h"

#include <algorithm>
#include <cstdint>

#include "engine/distort/distort.h"
#include "image/host_image.h"
#include "preview/premultiply.h"

namespace {

enum class RunnerPath { kPlain, kPremultiplied, kPaired };

// Moves image and mask together in one pass; fills both out-slots and returns 1 on success.
using PairedRoutine = int (*)(HGLOBAL image, HGLOBAL mask, int32_t value, HGLOBAL* outImage, HGLOBAL* outMask);

struct RunnerRow {
  int effectId;
  RunnerPath path;
  PairedRoutine paired;  // for kPaired
};

// Effects whose mask must follow them; every other identifier takes the plain path.
constexpr RunnerRow kRunnerRows[] = {
    {EFFECT_AVERAGE, RunnerPath::kPremultiplied, nullptr},
    {EFFECT_SOFTEN, RunnerPath::kPremultiplied, nullptr},
    {EFFECT_EDGE_PRESERVING_SMOOTH, RunnerPath::kPremultiplied, nullptr},
    {EFFECT_GAUSSIAN_BLUR, RunnerPath::kPremultiplied, nullptr},
    {EFFECT_UNSHARP_MASK, RunnerPath::kPremultiplied, nullptr},
    {EFFECT_AXIS_SHARPEN, RunnerPath::kPremultiplied, nullptr},
    {EFFECT_MAXIMUM_MINIMUM, RunnerPath::kPremultiplied, nullptr},
    {EFFECT_MEDIAN, RunnerPath::kPremultiplied, nullptr},
    {EFFECT_SPLASH, RunnerPath::kPremultiplied, nullptr},
    {EFFECT_RIPPLE, RunnerPath::kPremultiplied, nullptr},
    {EFFECT_WRINKLE, RunnerPath::kPremultiplied, nullptr},
    {EFFECT_MELTING, RunnerPath::kPaired, PairedMelting},
    {EFFECT_FISHEYE, RunnerPath::kPremultiplied, nullptr},
    {EFFECT_CONE, RunnerPath::kPremultiplied, nullptr},
    {EFFECT_WHIRLPOOL, RunnerPath::kPremultiplied, nullptr},
    {EFFECT_MOSAIC, RunnerPath::kPremultiplied, nullptr},
    {EFFECT_MOTION_BLUR, RunnerPath::kPremultiplied, nullptr},
    {EFFECT_SPHERE, RunnerPath::kPremultiplied, nullptr},
    {EFFECT_MAGIC_MIRROR, RunnerPath::kPremultiplied, nullptr},
    {EFFECT_ROTATIONAL_WARP, RunnerPath::kPremultiplied, nullptr},
    {EFFECT_RADIAL_WARP, RunnerPath::kPremultiplied, nullptr},
    {EFFECT_RIBBON, RunnerPath::kPremultiplied, nullptr},
    {EFFECT_CYLINDER, RunnerPath::kPremultiplied, nullptr},
};

const RunnerRow* FindRunnerRow(int effectId) {
  for (const RunnerRow& row : kRunnerRows) {
    if (row.effectId == effectId) return &row;
  }
  return nullptr;
}

// Size-like record fields that the After preview scales by zoom / 100 and clamps.
struct ScaledField {
  int effectId;
  int word;  // 32-bit word of the record, from 0
  int low, high;
};

constexpr ScaledField kScaledFields[] = {
    //  effect                      word low high
    {EFFECT_AVERAGE, 0, 2, 32},         {EFFECT_GAUSSIAN_BLUR, 0, 2, 32}, {EFFECT_UNSHARP_MASK, 0, 2, 32},
    {EFFECT_MAXIMUM_MINIMUM, 0, 2, 32}, {EFFECT_MEDIAN, 0, 2, 32},        {EFFECT_SPLASH, 0, 1, 100},
    {EFFECT_RIPPLE, 0, 1, 100},         {EFFECT_WRINKLE, 0, 1, 100},      {EFFECT_MELTING, 0, 1, 100},
    {EFFECT_OIL_PAINTING, 0, 1, 100},   {EFFECT_MOSAIC, 0, 2, 32},        {EFFECT_MOSAIC, 1, 2, 32},
    {EFFECT_MOTION_BLUR, 1, 2, 32},     {EFFECT_EMBOSS, 2, 1, 10},
};
constexpr int kMaxScaledFields = 2;  // per effect

bool RunPlain(ImageEntry* entry, int effectId, void* params, bool keepReplaced) {
  if (!entry->image) return false;
  HGLOBAL result = ApplyEffect(entry->image, effectId, params);
  if (!result) return false;
  if (!keepReplaced) GlobalFree(entry->image);
  entry->image = result;
  return true;
}

// Succeeds without change whenever an intermediate step gives nothing.
bool RunPremultiplied(ImageEntry* entry, int effectId, void* params, bool keepReplaced) {
  HGLOBAL premultiplied = PremultiplyByMask(entry->image, entry->mask);
  if (!premultiplied) return true;
  HGLOBAL image = ApplyEffect(premultiplied, effectId, params);
  GlobalFree(premultiplied);
  if (!image) return true;
  HGLOBAL mask = ApplyEffect(entry->mask, effectId, params);
  if (!mask) {
    GlobalFree(image);
    return true;
  }
  UnpremultiplyByMask(image, mask);
  if (!keepReplaced) {
    GlobalFree(entry->image);
    GlobalFree(entry->mask);
  }
  entry->image = image;
  entry->mask = mask;
  return true;
}

bool RunPaired(ImageEntry* entry, PairedRoutine paired, const void* params, bool keepReplaced) {
  if (!paired || !params) return false;
  HGLOBAL image = nullptr, mask = nullptr;
  const int done = paired(entry->image, entry->mask, *static_cast<const int32_t*>(params), &image, &mask);
  if (!done) {
    if (image) GlobalFree(image);
    if (mask) GlobalFree(mask);
    return false;
  }
  if (!keepReplaced) {
    GlobalFree(entry->image);
    GlobalFree(entry->mask);
  }
  entry->image = image;
  entry->mask = mask;
  return done == 1;
}

}  // namespace

int RunEffectOnEntry(ImageEntry* entry, int effectId, void* params, bool keepReplaced, bool plainOnly) {
  if (!entry) return 0;
  const RunnerRow* row = FindRunnerRow(effectId);
  const RunnerPath path = row ? row->path : RunnerPath::kPlain;
  if (path == RunnerPath::kPremultiplied) {
    if (!entry->image || !entry->mask) return 1;
  } else if (path == RunnerPath::kPaired) {
    if (!entry->image || !entry->mask) return 0;
  }
  if (path == RunnerPath::kPlain || plainOnly) return RunPlain(entry, effectId, params, keepReplaced) ? 1 : 0;
  if (path == RunnerPath::kPremultiplied) return RunPremultiplied(entry, effectId, params, keepReplaced) ? 1 : 0;
  return RunPaired(entry, row->paired, params, keepReplaced) ? 1 : 0;
}

bool RenderAfterPreview(PreviewView& view) {
  if (!view.previewImage || !view.isAfter || !view.params) return false;
  auto* words = static_cast<int32_t*>(view.params);
  int32_t saved[kMaxScaledFields];
  const ScaledField* fields[kMaxScaledFields];
  int count = 0;
  for (const ScaledField& field : kScaledFields) {
    if (field.effectId != view.effectId) continue;
    fields[count] = &field;
    saved[count++] = words[field.word];
    const int64_t scaled = int64_t{words[field.word]} * view.zoom / 100;
    words[field.word] = static_cast<int32_t>(std::clamp<int64_t>(scaled, field.low, field.high));
  }

  int applied = 0;
  if (ImageEntry* entry = LockImageEntry(view.previewImage, view.entryIndex)) {
    const HCURSOR cursor = GetCursor();
    applied = RunEffectOnEntry(entry, view.effectId, view.params, false, entry->opaqueFlag == 1);
    SetCursor(cursor);
    UnlockHostImage(view.previewImage);
  }
  for (int i = 0; i < count; ++i) words[fields[i]->word] = saved[i];
  return applied == 1;
}

// The intensity dialog of effects 33 to 41 and 48 to 50: one slider, titled after the effect;
// oil painting has a shorter range.
#include "fxui.h"
#include "resources/resource.h"
#include "ui/dialog_framework.h"
#include "ui/dialogs/dialogs.h"

namespace {

using Record = IntensityParams;

struct TitleRow {
  int effectId;
  int string;
};
constexpr TitleRow kTitles[] = {
    {EFFECT_AUTO_ENHANCE, IDS_AUTO_ENHANCE}, {EFFECT_FILM_GRAIN, IDS_FILM_GRAIN}, {EFFECT_SPLASH, IDS_SPLASH},
    {EFFECT_RIPPLE, IDS_RIPPLE},             {EFFECT_WRINKLE, IDS_WRINKLE},       {EFFECT_ADD_NOISE, IDS_ADD_NOISE},
    {EFFECT_MELTING, IDS_MELTING},           {EFFECT_OIL_PAINTING, IDS_OIL_PAINTING}, {EFFECT_FISHEYE, IDS_FISHEYE},
    {EFFECT_CONE, IDS_CONE},                 {EFFECT_WHIRLPOOL, IDS_WHIRLPOOL},   {EFFECT_SPIRAL, IDS_SPIRAL},
};

int IntensityTitle(int effectId, const void*) {
  for (const TitleRow& row : kTitles) {
    if (row.effectId == effectId) return row.string;
  }
  return 0;
}

// The page step is (maximum + 9) / 10.
constexpr DialogDescription Intensity(int maximum, int start) {
  return {
      IDD_INTENSITY,
      {}, 0,
      {
          // bar, label, range, start, field, record = sign * position + offset, label offset, format, label at start
          {IDC_INTENSITY_SLIDER, IDC_INTENSITY_LABEL, {1, maximum, (maximum + 9) / 10}, start,
           FX_FIELD(Record, intensity), 1, 0, 0, nullptr, true},
      },
      {},
      nullptr,
      true,
      nullptr,
      {IntensityTitle, nullptr, nullptr, nullptr},
  };
}

constexpr DialogDescription kIntensity = Intensity(100, 50);
constexpr DialogDescription kOilPainting = Intensity(15, 2);

}  // namespace

INT_PTR OpenIntensityDialog(int effectId, HWND parent, HGLOBAL image, void* record, int modal) {
  return OpenTableDialog(effectId == EFFECT_OIL_PAINTING ? kOilPainting : kIntensity, effectId, parent, image, record,
                         modal);
}

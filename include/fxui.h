/* fxUi: effect dialogs and the effect engine behind them.
 *
 * The one header a host includes. It declares the exported functions, names the effect
 * identifiers, and gives the layout of the host's image record and of every effect's
 * parameter record. All records are plain sequences of little-endian 32-bit integers.
 */
#ifndef FXUI_H
#define FXUI_H

#include <stddef.h>
#include <stdint.h>
#include <windows.h>

#ifdef __cplusplus
#define FXUI_STATIC_ASSERT(cond, text) static_assert(cond, text)
extern "C" {
#else
#define FXUI_STATIC_ASSERT(cond, text) _Static_assert(cond, text)
#endif

/* ---- Effect identifiers ------------------------------------------------------------------ */

/* Every identifier the engine knows. Identifiers 10-15, 26-31, 42-47, 58-63 and 69 are unused. */
enum EffectId {
  EFFECT_BRIGHTNESS_CONTRAST = 1,
  EFFECT_HUE_SATURATION = 2,
  EFFECT_CURVE = 3,
  EFFECT_COLOR_REDUCTION = 4,
  EFFECT_EQUALIZE = 5,
  EFFECT_INVERT = 6,
  EFFECT_THRESHOLD = 7,
  EFFECT_AVERAGE = 8,
  EFFECT_SOFTEN = 9,
  EFFECT_EDGE_PRESERVING_SMOOTH = 16,
  EFFECT_GAUSSIAN_BLUR = 17,
  EFFECT_UNSHARP_MASK = 18,
  EFFECT_AXIS_SHARPEN = 19,
  EFFECT_MAXIMUM_MINIMUM = 20,
  EFFECT_MEDIAN = 21,
  EFFECT_FIND_CONTOUR = 22,
  EFFECT_SOLARIZE = 23,
  EFFECT_LOG_CURVE = 24,
  EFFECT_USER_FILTER = 25,
  EFFECT_SKETCH = 32,
  EFFECT_AUTO_ENHANCE = 33,
  EFFECT_FILM_GRAIN = 34,
  EFFECT_SPLASH = 35,
  EFFECT_RIPPLE = 36,
  EFFECT_WRINKLE = 37,
  EFFECT_ADD_NOISE = 38,
  EFFECT_MELTING = 39,
  EFFECT_OIL_PAINTING = 40,
  EFFECT_FISHEYE = 41,
  EFFECT_CONE = 48,
  EFFECT_WHIRLPOOL = 49,
  EFFECT_SPIRAL = 50,
  EFFECT_3D_GRID = 51,
  EFFECT_MOSAIC = 52,
  EFFECT_MOTION_BLUR = 53,
  EFFECT_EMBOSS = 54,
  EFFECT_SPHERE = 55,
  EFFECT_MAGIC_MIRROR = 56,
  EFFECT_ROTATIONAL_WARP = 57,
  EFFECT_RADIAL_WARP = 64,
  EFFECT_RIBBON = 65,
  EFFECT_CYLINDER = 66,
  EFFECT_TONE_ADJUSTMENT = 67,
  EFFECT_DIRECTIONAL_EROSION = 68,
  EFFECT_LEVEL_SCALING = 70
};

/* ---- The host's image record ------------------------------------------------------------- */

#define FXUI_MAX_ENTRIES 101

/* One image object of the picture. Fields not named are the host's and are copied unchanged. */
typedef struct ImageEntry {
  HGLOBAL image;            /* DIB of the colour or grey pixels (24-bit or 8-bit grey ramp) */
  HGLOBAL mask;             /* 8-bit grey-ramp opacity DIB, 0 transparent to 255 opaque; may be null */
  int32_t word8;            /* set to 0 in preview copies */
  int32_t x;                /* left edge of the entry in the picture, pixels */
  int32_t y;                /* top edge of the entry in the picture, pixels */
  uint8_t hostData20[260];  /* the host's */
  int32_t word280;          /* set to 1 in preview copies */
  int32_t opaqueFlag;       /* exactly 1: effects change the image only, never the mask */
  int32_t hostWord288;      /* the host's */
  int32_t word292;          /* set to 100 in preview copies */
  int32_t word296;          /* set to 0 in preview copies */
} ImageEntry;

/* The picture the host hands to the dialogs, in one movable global block. */
typedef struct HostImage {
  int32_t hostWord0;                     /* the host's */
  int32_t width;                         /* picture width, pixels */
  int32_t height;                        /* picture height, pixels */
  int32_t imageType;                     /* 8: grey picture; anything else: colour */
  uint8_t hostData16[72];                /* the host's */
  int32_t entryCount;                    /* entries in use */
  ImageEntry entries[FXUI_MAX_ENTRIES];  /* the image objects */
  int32_t currentEntry;                  /* index of the entry effects apply to */
  int32_t hostWord30396;                 /* the host's */
  int32_t word30400;                     /* set to 0 in preview copies */
  int32_t selectionRect[4];              /* x1, y1, x2, y2: opposite corners, either order */
  int32_t hasSelection;                  /* non-zero when selectionRect is valid */
} HostImage;

#if UINTPTR_MAX == 0xFFFFFFFFu
/* The record is shared with 32-bit hosts byte for byte. */
FXUI_STATIC_ASSERT(sizeof(ImageEntry) == 300, "ImageEntry is 300 bytes");
FXUI_STATIC_ASSERT(offsetof(ImageEntry, mask) == 4, "ImageEntry.mask at 4");
FXUI_STATIC_ASSERT(offsetof(ImageEntry, word8) == 8, "ImageEntry word at 8");
FXUI_STATIC_ASSERT(offsetof(ImageEntry, x) == 12, "ImageEntry.x at 12");
FXUI_STATIC_ASSERT(offsetof(ImageEntry, y) == 16, "ImageEntry.y at 16");
FXUI_STATIC_ASSERT(offsetof(ImageEntry, word280) == 280, "ImageEntry word at 280");
FXUI_STATIC_ASSERT(offsetof(ImageEntry, opaqueFlag) == 284, "ImageEntry.opaqueFlag at 284");
FXUI_STATIC_ASSERT(offsetof(ImageEntry, word292) == 292, "ImageEntry word at 292");
FXUI_STATIC_ASSERT(offsetof(ImageEntry, word296) == 296, "ImageEntry word at 296");
FXUI_STATIC_ASSERT(sizeof(HostImage) == 30424, "HostImage is 30424 bytes");
FXUI_STATIC_ASSERT(offsetof(HostImage, width) == 4, "HostImage.width at 4");
FXUI_STATIC_ASSERT(offsetof(HostImage, height) == 8, "HostImage.height at 8");
FXUI_STATIC_ASSERT(offsetof(HostImage, imageType) == 12, "HostImage.imageType at 12");
FXUI_STATIC_ASSERT(offsetof(HostImage, entryCount) == 88, "HostImage.entryCount at 88");
FXUI_STATIC_ASSERT(offsetof(HostImage, entries) == 92, "HostImage.entries at 92");
FXUI_STATIC_ASSERT(offsetof(HostImage, currentEntry) == 30392, "HostImage.currentEntry at 30392");
FXUI_STATIC_ASSERT(offsetof(HostImage, word30400) == 30400, "HostImage word at 30400");
FXUI_STATIC_ASSERT(offsetof(HostImage, selectionRect) == 30404, "HostImage.selectionRect at 30404");
FXUI_STATIC_ASSERT(offsetof(HostImage, hasSelection) == 30420, "HostImage.hasSelection at 30420");
#endif

/* ---- Parameter records ------------------------------------------------------------------- */

/* Channel selector used by several records. */
enum ChannelSelector { CHANNEL_ALL = 0, CHANNEL_RED = 1, CHANNEL_GREEN = 2, CHANNEL_BLUE = 3 };

/* Effect 1. */
typedef struct BrightnessContrastParams {
  int32_t channel;     /* 0 all, 1 red, 2 green, any other value blue */
  int32_t brightness;  /* offset added to every level, -128..127 */
  int32_t contrast;    /* -128..127: positive raises contrast, negative lowers it */
} BrightnessContrastParams;
FXUI_STATIC_ASSERT(sizeof(BrightnessContrastParams) == 12, "BrightnessContrastParams is 3 words");

/* Effect 2. */
typedef struct HueSaturationParams {
  int32_t hue;         /* turn in degrees, -180..180; positive turns red toward green */
  int32_t saturation;  /* -100..100: percent of each channel's distance to the largest moved toward it */
} HueSaturationParams;
FXUI_STATIC_ASSERT(sizeof(HueSaturationParams) == 8, "HueSaturationParams is 2 words");

/* Effect 3 (and the record effect 67 builds). */
typedef struct CurveParams {
  int32_t channel;     /* 0 all, 1 red, 2 green, 3 blue; other values are refused */
  uint8_t curve[256];  /* output level of each input level */
} CurveParams;
FXUI_STATIC_ASSERT(sizeof(CurveParams) == 260, "CurveParams is 1 word and 256 bytes");

/* Effect 4. */
typedef struct ColorReductionParams {
  int32_t channel;  /* 0 all, 1 red, 2 green, 3 blue; other values are refused */
  int32_t levels;   /* evenly spaced levels kept per channel, 2..128 */
} ColorReductionParams;
FXUI_STATIC_ASSERT(sizeof(ColorReductionParams) == 8, "ColorReductionParams is 2 words");

/* Effect 7. */
typedef struct ThresholdParams {
  int32_t level;  /* 0..255: colours whose luminance lies above it become white, the others black */
} ThresholdParams;
FXUI_STATIC_ASSERT(sizeof(ThresholdParams) == 4, "ThresholdParams is 1 word");

/* Effects 8, 17, 20 and 21: the side of the square neighbourhood. */
typedef struct FilterSizeParams {
  int32_t squareSize;  /* n, 2..32; other values are refused */
  int32_t maximum;     /* effect 20 only: nonzero maximum, 0 minimum */
} FilterSizeParams;
FXUI_STATIC_ASSERT(sizeof(FilterSizeParams) == 8, "FilterSizeParams is 2 words");

/* Effect 9, the softened box blur. */
typedef struct SoftenParams {
  int32_t squareSize;    /* n, the side of the box; below 2 is taken as 2 */
  int32_t centerWeight;  /* m, the source pixel's weight against the box mean; 0 or more */
} SoftenParams;
FXUI_STATIC_ASSERT(sizeof(SoftenParams) == 8, "SoftenParams is 2 words");

/* Effect 18. */
typedef struct UnsharpMaskParams {
  int32_t squareSize;  /* side of the blur box, 2..32 */
  int32_t effect;      /* percentage of the difference added back, 1..500 */
  int32_t threshold;   /* smallest difference corrected, 0..255 */
} UnsharpMaskParams;
FXUI_STATIC_ASSERT(sizeof(UnsharpMaskParams) == 12, "UnsharpMaskParams is 3 words");

/* Effect 19. */
typedef struct AxisSharpenParams {
  int32_t vertical;  /* 0: along rows; any other value: along columns */
} AxisSharpenParams;
FXUI_STATIC_ASSERT(sizeof(AxisSharpenParams) == 4, "AxisSharpenParams is 1 word");

/* Effect 22. */
typedef struct FindContourParams {
  int32_t enabled;    /* must be nonzero */
  int32_t channel;    /* 0 all, 1 red, 2 green, 3 blue; ignored for grey images */
  int32_t threshold;  /* 1..254: samples above it are inside the regions */
} FindContourParams;
FXUI_STATIC_ASSERT(sizeof(FindContourParams) == 12, "FindContourParams is 3 words");

/* Effect 25: a 5 x 5 kernel as shown in the dialog. */
typedef struct UserFilterParams {
  int32_t scale;       /* divisor of the weighted sum, not 0; may be negative */
  int32_t bias;        /* added after scaling, before clamping */
  int32_t symmetry;    /* the dialog's mirroring choice; not read by the engine */
  int32_t kernel[25];  /* weights row by row, top row first, each row from the left */
} UserFilterParams;
FXUI_STATIC_ASSERT(sizeof(UserFilterParams) == 112, "UserFilterParams is 28 words");

/* Effect 32. */
typedef struct SketchParams {
  int32_t style;      /* 1 crayon (lines on black), 2 pencil (lines on white) */
  int32_t threshold;  /* 0..254: weaker edges become background */
} SketchParams;
FXUI_STATIC_ASSERT(sizeof(SketchParams) == 8, "SketchParams is 2 words");

/* Effects 33-36, 38-41 and 48-50: the one-slider dialog's value; the engine gets this word alone. */
typedef struct IntensityParams {
  int32_t intensity;  /* 1..100 as the dialog sets it */
} IntensityParams;
FXUI_STATIC_ASSERT(sizeof(IntensityParams) == 4, "IntensityParams is 1 word");

/* Effect 37. */
typedef struct WrinkleParams {
  int32_t intensity;   /* 1..100; anything else is refused */
  uint32_t fillColor;  /* paints pixels whose source lies outside: red lowest byte, then green, blue */
} WrinkleParams;
FXUI_STATIC_ASSERT(sizeof(WrinkleParams) == 8, "WrinkleParams is 2 words");

/* Effect 51. */
typedef struct ThreeDGridParams {
  int32_t size;    /* grid period: 1 32 pixels, 2 16, 3 64; other values are refused */
  int32_t height;  /* bevel amount 92 - 32 x height: 0 high, 1 medium, 2 low; other values are refused */
  int32_t shape;   /* 0 regular, 1 irregular (grid lines wander by a random walk) */
} ThreeDGridParams;
FXUI_STATIC_ASSERT(sizeof(ThreeDGridParams) == 12, "ThreeDGridParams is 3 words");

/* Effect 52. */
typedef struct MosaicParams {
  int32_t width;   /* tile width in pixels, lowered to the image width; below 1 is refused */
  int32_t height;  /* tile height in pixels, lowered to the image height; below 1 is refused */
} MosaicParams;
FXUI_STATIC_ASSERT(sizeof(MosaicParams) == 8, "MosaicParams is 2 words");

/* Effect 53. */
typedef struct MotionBlurParams {
  int32_t direction;  /* 1..8: up-left, up, up-right, left, right, down-left, down, down-right */
  int32_t speed;      /* 2..32: samples along the line */
} MotionBlurParams;
FXUI_STATIC_ASSERT(sizeof(MotionBlurParams) == 8, "MotionBlurParams is 2 words");

/* Effect 54. */
typedef struct EmbossParams {
  int32_t direction;   /* 1..8: up-left, up, up-right, left, right, down-left, down, down-right */
  int32_t mode;        /* 1 Original, 2 Midtone, 3 Gray, 4 Active */
  int32_t depth;       /* 1..10: distance to the neighbour, pixels */
  uint32_t baseColor;  /* Active mode's base: red lowest byte, then green, blue */
} EmbossParams;
FXUI_STATIC_ASSERT(sizeof(EmbossParams) == 16, "EmbossParams is 4 words");

/* Effect 56. */
typedef struct MagicMirrorParams {
  int32_t mapping;     /* 0 across the columns, 1 across the rows, 2 radial, 3 angular; others are refused */
  uint8_t curve[256];  /* curve[i]: the source position (0..255 scale) of output position i */
} MagicMirrorParams;
FXUI_STATIC_ASSERT(sizeof(MagicMirrorParams) == 260, "MagicMirrorParams is 1 word and 256 bytes");

/* Effect 57 (49 and 50 use it with a fixed mode). */
typedef struct RotationalWarpParams {
  int32_t mode;    /* 1 spiral, 2 whirlpool, 3 half-angle turn, 4 shrinking turn */
  int32_t amount;  /* 1..100 in every mode (modes 3 and 4 do not use it) */
} RotationalWarpParams;
FXUI_STATIC_ASSERT(sizeof(RotationalWarpParams) == 8, "RotationalWarpParams is 2 words");

/* Effect 64 (41, 48 and 55 use it with a fixed mode). */
typedef struct RadialWarpParams {
  int32_t mode;    /* 1 cone, 2 sphere, 3 fisheye */
  int32_t amount;  /* 1..100 in modes 1 and 3; not read in mode 2 */
} RadialWarpParams;
FXUI_STATIC_ASSERT(sizeof(RadialWarpParams) == 8, "RadialWarpParams is 2 words");

/* Effect 65. */
typedef struct RibbonParams {
  int32_t frequency;   /* half waves across the width, in tenths (0..100 from the dialog) */
  int32_t amplitude;   /* wave height, percent of three quarters of the image height (0..100) */
  uint32_t fillColor;  /* paints the area outside the band: red lowest byte, then green, blue */
} RibbonParams;
FXUI_STATIC_ASSERT(sizeof(RibbonParams) == 12, "RibbonParams is 3 words");

/* Effect 67. */
typedef struct ToneAdjustmentParams {
  int32_t highlight;  /* -100..100: positive cuts the top of the input range, negative lowers the top output */
  int32_t midtone;    /* -100..100: positive brightens the middle of the curve, negative darkens it */
  int32_t shadow;     /* -100..100: negative cuts the bottom of the input range, positive raises the bottom output */
  int32_t channel;    /* 0 all, 1 red, 2 green, 3 blue; passed on to effect 3 */
} ToneAdjustmentParams;
FXUI_STATIC_ASSERT(sizeof(ToneAdjustmentParams) == 16, "ToneAdjustmentParams is 4 words");

/* Effect 68. */
typedef struct DirectionalErosionParams {
  int32_t radius;  /* r, read as unsigned, 1..128: rays of r + 1 pixels */
} DirectionalErosionParams;
FXUI_STATIC_ASSERT(sizeof(DirectionalErosionParams) == 4, "DirectionalErosionParams is 1 word");

/* Effect 70: the engine gets this word alone. */
typedef struct LevelScalingParams {
  int32_t factor;  /* p: levels times 255 / p when p > 0, times -p / 255 when p <= 0 */
} LevelScalingParams;
FXUI_STATIC_ASSERT(sizeof(LevelScalingParams) == 4, "LevelScalingParams is 1 word");

/* ---- Exported functions ------------------------------------------------------------------ */

/* Applies effect `effectId` to `dib` with its parameter record and returns a new DIB that the
 * caller owns (free it with GlobalFree), or null: for a refused parameter, an unsupported
 * image, nothing to do, a failed allocation or an abort. `dib` is never changed. */
HGLOBAL WINAPI ApplyEffect(HGLOBAL dib, int effectId, const void* record);

/* Progress and abort hooks of the engine. With a hook enabled and no callback installed,
 * progress goes nowhere and the Escape key aborts; a disabled hook does nothing at all. */
typedef void(WINAPI* FxProgressCallback)(int percent);
typedef int(WINAPI* FxAbortCallback)(void);
void WINAPI SetFxProgressHook(int enabled, FxProgressCallback callback);
void WINAPI SetFxAbortHook(int enabled, FxAbortCallback callback);

/* Shows the parameter dialog of one effect, modal to `parent`. The dialog writes its defaults
 * into `record` when it opens and keeps the record current while the user works: after Cancel
 * it holds those defaults and whatever values the user set, not what the host passed in.
 * Returns 1 for OK, 0 for Cancel, -2 when the effect has no dialog or it cannot be shown. */
int WINAPI GetFxParam(int effectId, HWND parent, void* hostImage, void* record);

/* Shows the effect browser, modal to `parent`: a list of 28 effects whose chosen dialog runs
 * inside the browser and writes `record` (which must be large enough for any of them). Returns
 * 1 for OK with `*effectId` the chosen effect, 0 for Cancel (`*effectId` and `record` then hold
 * the last effect and values shown), -1 when the browser cannot be shown. Without a picture the
 * list works, nothing is shown and `*effectId` is left as it was. The last argument is unused. */
int WINAPI GetFxBrowserParam(HWND parent, void* hostImage, int* effectId, void* record, int unused);

/* Stores the three values that describe the preview background; returns 1. */
int WINAPI GetFxuiBackgroundSetting(int32_t value1, uint32_t value2, uint32_t value3);

#ifdef __cplusplus
}
#endif

#endif

// Distortion and artistic routines: geometric warps, random textures, relief, motion, tiles
// and painterly effects. All but auto enhance take 24-bit and 8-bit grey-ramp images; each
// returns a new image or null.
#ifndef FXUI_ENGINE_DISTORT_DISTORT_H
#define FXUI_ENGINE_DISTORT_DISTORT_H

#include <cstdint>

#include "fxui.h"

// Effect 64: RadialWarpParams (cone, sphere or fisheye law).
HGLOBAL RadialWarp(HGLOBAL dib, const void* record);
// Effect 57: RotationalWarpParams (spiral, whirlpool, half-angle or shrinking turn).
HGLOBAL RotationalWarp(HGLOBAL dib, const void* record);
// Effects 41, 48, 49 and 50: the radial or rotational warp with a fixed mode and `amount`
// 1..100; effect 55 the sphere law, which takes no parameters.
HGLOBAL Fisheye(HGLOBAL dib, int32_t amount);
HGLOBAL Cone(HGLOBAL dib, int32_t amount);
HGLOBAL Whirlpool(HGLOBAL dib, int32_t amount);
HGLOBAL Spiral(HGLOBAL dib, int32_t amount);
HGLOBAL Sphere(HGLOBAL dib);

// Effect 35: every pixel copied from a random neighbour; the generator is reseeded with
// width x height, so equal sizes give equal results. No intensity is refused.
HGLOBAL Splash(HGLOBAL dib, int32_t intensity);
// Effect 37: WrinkleParams. Random walks shift the columns vertically and the rows
// horizontally; what comes from outside the image is painted in the fill colour.
HGLOBAL Wrinkle(HGLOBAL dib, const void* record);
// Effect 39: random pixels sink through lighter pixels below them; intensity 1..100. Continues
// the generator's sequence without reseeding.
HGLOBAL Melting(HGLOBAL dib, int32_t intensity);

// Melting of an image and its opacity mask together (the preview's form of effect 39): the
// same drops move the image pixel and its mask byte, and the comparison weighs each pixel by
// its mask. `image` is 24-bit or grey ramp, `mask` a grey-ramp image of the same size.
// Returns 1 with the new image in *newImage and the new mask in *newMask, both owned by the
// caller. Returns 0 when refused, on a failed allocation or after an abort; then, if both
// out-pointers were given, both hold null. Neither input is changed.
int PairedMelting(HGLOBAL image, HGLOBAL mask, int32_t intensity, HGLOBAL* newImage, HGLOBAL* newMask);

// Effect 53: MotionBlurParams.
HGLOBAL MotionBlur(HGLOBAL dib, const void* record);

// Effect 54: EmbossParams.
HGLOBAL Emboss(HGLOBAL dib, const void* record);

// Effect 52: MosaicParams. Every tile replaced by its mean colour.
HGLOBAL Mosaic(HGLOBAL dib, const void* record);
// Effect 51: ThreeDGridParams. Raised square cells embossed onto the picture; the irregular
// shape continues the generator's sequence without reseeding.
HGLOBAL ThreeDGrid(HGLOBAL dib, const void* record);

// Effect 40: every level replaced by the most frequent of 32 bins in a (2r + 1)-square
// window; the intensity r is clamped to 1..100.
HGLOBAL OilPainting(HGLOBAL dib, int32_t intensity);

// Effect 34: one random offset per pixel added to all its channels; intensity 1..100.
// Effect 38: about intensity per cent of the pixels replaced by random values; 1..100.
// Both continue the generator's sequence without reseeding.
HGLOBAL FilmGrain(HGLOBAL dib, int32_t intensity);
HGLOBAL AddNoise(HGLOBAL dib, int32_t intensity);
// Effect 36: rows shifted sideways and pixels up or down by a triangle-damped wave; the
// intensity is clamped to 1..100.
HGLOBAL Ripple(HGLOBAL dib, int32_t intensity);

// Effect 33: levels stretched through a power curve, saturation raised, 3 x 3 sharpening, all
// growing with p. Outside the routine frame: any 8-bit or 24-bit image, whole-block copy, no
// cursor, no abort test and no progress.
HGLOBAL AutoEnhance(HGLOBAL dib, int32_t p);

#endif

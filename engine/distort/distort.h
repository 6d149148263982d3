// Distortion and artistic routines: geometric warps, random textures, relief and motion.
// All take 24-bit and 8-bit grey-ramp images and return a new image or null.
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

#endif

#include "engine/catalogue.h"

#include <iterator>

#include "engine/distort/distort.h"
#include "engine/filters/filters.h"
#include "engine/special/special.h"
#include "engine/tone/tone.h"

namespace {

constexpr EffectRow ByRecord(int id, const char* name, RecordRoutine routine, const char* fields) {
  return {id, name, Passing::kRecord, routine, nullptr, nullptr, fields};
}
constexpr EffectRow ByWord(int id, const char* name, WordRoutine routine, const char* field) {
  return {id, name, Passing::kFirstWord, nullptr, routine, nullptr, field};
}
constexpr EffectRow Plain(int id, const char* name, PlainRoutine routine) {
  return {id, name, Passing::kNone, nullptr, nullptr, routine, ""};
}

// clang-format off
constexpr EffectRow kCatalogue[] = {
  //        id  name                              routine / passing            record fields
  ByRecord( 1, "Brightness and Contrast",         BrightnessContrast,          "channel brightness contrast"),
  ByRecord( 2, "Hue and Saturation",              HueSaturation,               "hue saturation"),
  ByRecord( 3, "apply a curve",                   ApplyCurve,                  "channel curve[256]"),
  ByRecord( 4, "Color Reduction",                 ColorReduction,              "channel levels"),
  Plain(    5, "equalise",                        Equalize),
  Plain(    6, "invert",                          Invert),
  ByRecord( 7, "Threshold",                       Threshold,                   "level"),
  ByRecord( 8, "Average",                         AverageBlur,                 "squareSize maximum"),
  ByRecord( 9, "softened box blur",               SoftenedBlur,                "squareSize centerWeight"),
  Plain(   16, "edge-preserving smoothing",       EdgePreservingSmooth),
  ByRecord(17, "Gaussian Blur",                   GaussianBlur,                "squareSize maximum"),
  ByRecord(18, "Unsharp Mask",                    UnsharpMask,                 "squareSize effect threshold"),
  ByRecord(19, "one-axis sharpening",             AxisSharpen,                 "vertical"),
  ByRecord(20, "Maximum and Minimum",             MaximumMinimum,              "squareSize maximum"),
  ByRecord(21, "Median",                          Median,                      "squareSize maximum"),
  ByRecord(22, "Find Contour",                    FindContour,                 "enabled channel threshold"),
  Plain(   23, "solarise",                        Solarize),
  Plain(   24, "logarithmic shadow lift",         LogCurve),
  ByRecord(25, "User's Filter",                   UserFilter,                  "scale bias symmetry kernel0 kernel1 kernel2 kernel3 kernel4 kernel5 kernel6 kernel7 kernel8 kernel9 kernel10 kernel11 kernel12 kernel13 kernel14 kernel15 kernel16 kernel17 kernel18 kernel19 kernel20 kernel21 kernel22 kernel23 kernel24"),
  ByRecord(32, "Sketch",                          Sketch,                      "style threshold"),
  ByWord(  33, "Auto Enhance",                    AutoEnhance,                 "intensity"),
  ByWord(  34, "Film Grain",                      FilmGrain,                   "intensity"),
  ByWord(  35, "Splash",                          Splash,                      "intensity"),
  ByWord(  36, "Ripple",                          Ripple,                      "intensity"),
  ByRecord(37, "Wrinkle",                         Wrinkle,                     "intensity fillColor"),
  ByWord(  38, "Add Noise",                       AddNoise,                    "intensity"),
  ByWord(  39, "Melting",                         Melting,                     "intensity"),
  ByWord(  40, "Oil Painting",                    OilPainting,                 "intensity"),
  ByWord(  41, "Fisheye",                         Fisheye,                     "intensity"),
  ByWord(  48, "Cone",                            Cone,                        "intensity"),
  ByWord(  49, "Whirlpool",                       Whirlpool,                   "intensity"),
  ByWord(  50, "Spiral",                          Spiral,                      "intensity"),
  ByRecord(51, "3D Grid",                         ThreeDGrid,                  "size height shape"),
  ByRecord(52, "Mosaic",                          Mosaic,                      "width height"),
  ByRecord(53, "Motion Blur",                     MotionBlur,                  "direction speed"),
  ByRecord(54, "Emboss",                          Emboss,                      "direction mode depth baseColor"),
  Plain(   55, "sphere",                          Sphere),
  ByRecord(56, "Magic Mirror",                    MagicMirror,                 "mapping curve[256]"),
  ByRecord(57, "rotational warp",                 RotationalWarp,              "mode amount"),
  ByRecord(64, "radial warp",                     RadialWarp,                  "mode amount"),
  ByRecord(65, "Ribbon",                          Ribbon,                      "frequency amplitude fillColor"),
  Plain(   66, "cylinder",                        Cylinder),
  ByRecord(67, "Tone Adjustment",                 ToneAdjustment,              "highlight midtone shadow channel"),
  ByRecord(68, "directional erosion",             DirectionalErosion,          "radius"),
  ByWord(  70, "level scaling",                   LevelScaling,                "factor"),
};
// clang-format on

}  // namespace

const EffectRow* FindEffect(int id) {
  for (const EffectRow& row : kCatalogue) {
    if (row.id == id) return &row;
  }
  return nullptr;
}

const EffectRow* CatalogueRows(size_t* count) {
  *count = std::size(kCatalogue);
  return kCatalogue;
}

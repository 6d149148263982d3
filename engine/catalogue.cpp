#include "engine/catalogue.h"

#include <iterator>

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
// An identifier whose routine has not joined the engine yet: it yields null.
constexpr EffectRow Unbuilt(int id, const char* name, Passing passing) {
  return {id, name, passing, nullptr, nullptr, nullptr, ""};
}

// clang-format off
constexpr EffectRow kCatalogue[] = {
  //        id  name                              routine / passing            record fields
  ByRecord( 1, "Brightness and Contrast",         BrightnessContrast,          "channel brightness contrast"),
  Unbuilt(  2, "Hue and Saturation",              Passing::kRecord),
  Unbuilt(  3, "apply a curve",                   Passing::kRecord),
  Unbuilt(  4, "Color Reduction",                 Passing::kRecord),
  Unbuilt(  5, "equalise",                        Passing::kNone),
  Unbuilt(  6, "invert",                          Passing::kNone),
  Unbuilt(  7, "Threshold",                       Passing::kRecord),
  Unbuilt(  8, "Average",                         Passing::kRecord),
  Unbuilt(  9, "softened box blur",               Passing::kRecord),
  Unbuilt( 16, "edge-preserving smoothing",       Passing::kNone),
  Unbuilt( 17, "Gaussian Blur",                   Passing::kRecord),
  Unbuilt( 18, "Unsharp Mask",                    Passing::kRecord),
  Unbuilt( 19, "one-axis sharpening",             Passing::kRecord),
  Unbuilt( 20, "Maximum and Minimum",             Passing::kRecord),
  Unbuilt( 21, "Median",                          Passing::kRecord),
  Unbuilt( 22, "Find Contour",                    Passing::kRecord),
  Unbuilt( 23, "solarise",                        Passing::kNone),
  Unbuilt( 24, "logarithmic shadow lift",         Passing::kNone),
  Unbuilt( 25, "User's Filter",                   Passing::kRecord),
  Unbuilt( 32, "Sketch",                          Passing::kRecord),
  Unbuilt( 33, "Auto Enhance",                    Passing::kFirstWord),
  Unbuilt( 34, "Film Grain",                      Passing::kFirstWord),
  Unbuilt( 35, "Splash",                          Passing::kFirstWord),
  Unbuilt( 36, "Ripple",                          Passing::kFirstWord),
  Unbuilt( 37, "Wrinkle",                         Passing::kRecord),
  Unbuilt( 38, "Add Noise",                       Passing::kFirstWord),
  Unbuilt( 39, "Melting",                         Passing::kFirstWord),
  Unbuilt( 40, "Oil Painting",                    Passing::kFirstWord),
  Unbuilt( 41, "Fisheye",                         Passing::kFirstWord),
  Unbuilt( 48, "Cone",                            Passing::kFirstWord),
  Unbuilt( 49, "Whirlpool",                       Passing::kFirstWord),
  Unbuilt( 50, "Spiral",                          Passing::kFirstWord),
  Unbuilt( 51, "3D Grid",                         Passing::kRecord),
  Unbuilt( 52, "Mosaic",                          Passing::kRecord),
  Unbuilt( 53, "Motion Blur",                     Passing::kRecord),
  Unbuilt( 54, "Emboss",                          Passing::kRecord),
  Unbuilt( 55, "sphere",                          Passing::kNone),
  Unbuilt( 56, "Magic Mirror",                    Passing::kRecord),
  Unbuilt( 57, "rotational warp",                 Passing::kRecord),
  Unbuilt( 64, "radial warp",                     Passing::kRecord),
  Unbuilt( 65, "Ribbon",                          Passing::kRecord),
  Unbuilt( 66, "cylinder",                        Passing::kNone),
  Unbuilt( 67, "Tone Adjustment",                 Passing::kRecord),
  Unbuilt( 68, "directional erosion",             Passing::kRecord),
  Unbuilt( 70, "level scaling",                   Passing::kFirstWord),
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

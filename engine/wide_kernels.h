// Row kernels built twice: for the baseline every build has (SSE2) and for AVX2, chosen once
// at run time when the processor has it. The kernels are plain integer loops that the compiler
// vectorises, eight 16-bit lanes at a time for SSE2 and sixteen for AVX2, so both builds of a
// kernel give the same bytes; the tests run both.
//
// A kernel is written once as an always-inlined body template<bool kWide> taking one argument
// (kWide: the 32-byte vectors of ThirtyTwoSamples run at full width), then
// FXUI_DUAL_KERNEL(name, Args) makes name##Baseline, name##Wide and the dispatching name(args).
#ifndef FXUI_ENGINE_WIDE_KERNELS_H
#define FXUI_ENGINE_WIDE_KERNELS_H

// True when the wide builds of the kernels run: the processor has AVX2 and the baseline has not
// been forced.
bool WideKernels();

// Tests: true runs the baseline builds even where AVX2 is available.
void ForceBaselineKernels(bool force);

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define FXUI_KERNEL_BODY inline __attribute__((always_inline))
#define FXUI_DUAL_KERNEL(name, Args)                                        \
  void name##Baseline(Args a) { name##Body<false>(a); }                            \
  __attribute__((target("avx2"))) void name##Wide(Args a) { name##Body<true>(a); } \
  inline void name(Args a) {                                                \
    if (WideKernels()) {                                                    \
      name##Wide(a);                                                        \
    } else {                                                                \
      name##Baseline(a);                                                    \
    }                                                                       \
  }
#else
#define FXUI_KERNEL_BODY inline
#define FXUI_DUAL_KERNEL(name, Args) \
  inline void name(Args a) { name##Body<false>(a); }
#endif

#if defined(__GNUC__)
#include <cstdint>
#include <cstring>

// Thirty-two samples as one GCC vector: inside a kernel's wide build the compiler makes AVX2
// instructions of it, elsewhere pairs of SSE2 ones; either way the same bytes. (The note that
// such vectors pass differently without AVX concerns only calls, and these are inlined.)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"
struct ThirtyTwoSamples {
  typedef uint8_t Vector __attribute__((vector_size(32)));
  static Vector Load(const uint8_t* p) {
    Vector v;
    std::memcpy(&v, p, sizeof v);
    return v;
  }
  static void Store(uint8_t* p, Vector v) { std::memcpy(p, &v, sizeof v); }
  static Vector Min(Vector a, Vector b) { return a < b ? a : b; }
  static Vector Max(Vector a, Vector b) { return a > b ? a : b; }
  static void Prefetch(const uint8_t* p) { __builtin_prefetch(p); }
};
#pragma GCC diagnostic pop
#endif

#endif

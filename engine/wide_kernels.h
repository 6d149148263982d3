// Row kernels built twice: for the baseline every build has (SSE2) and for AVX2, chosen once
// at run time when the processor has it. The kernels are plain integer loops that the compiler
// vectorises, eight 16-bit lanes at a time for SSE2 and sixteen for AVX2, so both builds of a
// kernel give the same bytes; the tests run both.
//
// A kernel is written once as an always-inlined body taking one argument, then
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
  void name##Baseline(Args a) { name##Body(a); }                            \
  __attribute__((target("avx2"))) void name##Wide(Args a) { name##Body(a); } \
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
  inline void name(Args a) { name##Body(a); }
#endif

#endif

// How the phaser loop is built: the two-lane vector it computes in, the
// flavours of its source (with the x86 specifics or without them), and the
// builds that compile it (AVX, SSE2, portable), one of which a block runs.
// Which one is chosen, and the override for tests, is in
// plugphaserbuilds.cpp; the loop itself is in plugphaser.cpp.
#pragma once

#include "processor/plugphaservariant.h"
#include "pluginterfaces/vst/vsttypes.h"

#if defined(__x86_64__) || defined(__i386__)
#define ZY_PHASER_X86 1
#include <emmintrin.h>
#else
#define ZY_PHASER_X86 0
#endif

// The loop's lambdas are inlined like the loop itself. (A macro, because
// clang-format takes a lambda's attribute for the start of a block.)
#define ZY_ALWAYS_INLINE __attribute__ ((always_inline))

namespace Steinberg {
namespace Vst {
namespace PhaserBuild {

// Left and right side by side; each lane does exactly the scalar operations
// of its channel.
typedef double Pair __attribute__ ((vector_size (16)));

inline Pair pairOf (double left, double right)
{
	Pair pair = {left, right};
	return pair;
}

// The loop's source is built in two flavours: with the x86 specifics below,
// or without them, as machines without x86 build it.
struct PortableBuild
{
};
#if ZY_PHASER_X86
struct X86Build
{
};
#endif

// Hides a constant from the compiler, which would otherwise rebuild it from
// a scalar in every sample instead of keeping it.
inline Pair opaque (PortableBuild, Pair value)
{
	return value;
}

#if ZY_PHASER_X86
inline Pair opaque (X86Build, Pair value)
{
	__asm__("" : "+x"(value));
	return value;
}
#endif

// Samples in and out, widened to and narrowed from doubles; on x86 the
// stores are spelled out so that the right lane goes straight to memory.
inline Pair loadFrame (PortableBuild, const Sample64* left, const Sample64* right, int32 i)
{
	return pairOf (left[i], right[i]);
}

template <typename Build>
inline Pair loadFrame (Build, const Sample32* left, const Sample32* right, int32 i)
{
	return pairOf (static_cast<double> (left[i]), static_cast<double> (right[i]));
}

inline void storeFrame (PortableBuild, Sample64* left, Sample64* right, int32 i, Pair o)
{
	left[i] = o[0];
	right[i] = o[1];
}

inline void storeFrame (PortableBuild, Sample32* left, Sample32* right, int32 i, Pair o)
{
	left[i] = static_cast<Sample32> (o[0]);
	right[i] = static_cast<Sample32> (o[1]);
}

#if ZY_PHASER_X86
inline Pair loadFrame (X86Build, const Sample64* left, const Sample64* right, int32 i)
{
	return (Pair)_mm_loadh_pd (_mm_load_sd (left + i), right + i);
}

inline void storeFrame (X86Build, Sample64* left, Sample64* right, int32 i, Pair o)
{
	_mm_storel_pd (left + i, (__m128d)o);
	_mm_storeh_pd (right + i, (__m128d)o);
}

inline void storeFrame (X86Build, Sample32* left, Sample32* right, int32 i, Pair o)
{
	// Both lanes narrowed at once, to the nearest float as a cast does.
	const __m128 narrow = _mm_cvtpd_ps ((__m128d)o);
	left[i] = narrow[0];
	right[i] = narrow[1];
}
#endif

// The builds of a loop whose source is Loop::run<Build> (args...). The
// portable one is what machines without x86 run. On x86 the loop is built
// for plain x86-64 (SSE2) and for processors with AVX, whose three-operand
// forms spare the register copies of the two-operand ones; the arithmetic is
// the same instructions either way. Each build is a function of its own,
// which inlines the whole loop; the arguments pass as they are, by value.
template <typename Loop, typename... Args>
__attribute__ ((noinline)) void runPortable (Args... args)
{
	Loop::template run<PortableBuild> (args...);
}

#if ZY_PHASER_X86
template <typename Loop, typename... Args>
__attribute__ ((noinline)) void runSse2 (Args... args)
{
	Loop::template run<X86Build> (args...);
}

template <typename Loop, typename... Args>
__attribute__ ((target ("avx"), noinline)) void runAvx (Args... args)
{
	Loop::template run<X86Build> (args...);
}
#endif

// Runs the loop in the build of the variant (plugPhaserVariantInUse).
template <typename Loop, typename... Args>
inline void runInBuild (PlugPhaserVariant variant, Args... args)
{
	switch (variant)
	{
#if ZY_PHASER_X86
		case PlugPhaserVariant::kAvx: runAvx<Loop> (args...); return;
		case PlugPhaserVariant::kSse2: runSse2<Loop> (args...); return;
#endif
		default: runPortable<Loop> (args...); return;
	}
}

} // namespace PhaserBuild
} // namespace Vst
} // namespace Steinberg

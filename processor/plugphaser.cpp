// The per-sample phaser: activation and the 32-bit and 64-bit loops.
//
// The arithmetic is fixed to the last bit: every formula is evaluated as
// written, left to right, in doubles, and this file is compiled without
// floating-point contraction. Left and right run side by side in two-lane
// vectors; each lane does exactly the scalar operations of its channel.
//
// The two library sines per sample cost most of the time; the loop is laid
// out so that they overlap with the filter work of the samples around them
// and so that as little as possible has to be saved around each call.
//
// The same formulas read plainly, one sample and one channel at a time, are
// in tests/processor/phaserreference.h; the tests hold every build of this
// loop (AVX, SSE2, portable) to that reading bit for bit, outputs and state.

#include "processor/plugphaservariant.h"
#include "processor/plugprocessor.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <type_traits>

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

namespace {

typedef double Pair __attribute__ ((vector_size (16)));

inline Pair pairOf (double left, double right)
{
	Pair pair = {left, right};
	return pair;
}

inline Pair loadTap (const double* left, const double* right, int index)
{
	return pairOf (left[index], right[index]);
}

inline void storeTap (double* left, double* right, int index, Pair value)
{
	left[index] = value[0];
	right[index] = value[1];
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

constexpr int32 kCounterMax = INT32_MAX;

// Some 400 dB over full scale: a chain value beyond it stems from input that
// is no audio.
constexpr double kRunawayLevel = 1e20;

// A counter value for the same sweep phase, one turn taken off as often as
// it fits, to the nearest step. A sweep so slow that one turn does not fit
// the counter starts over at phase 0.
int32 counterForPhase (double phase, double increment)
{
	if (!(increment > 0.0))
		return 0;
	double turn = std::fmod (phase, 6.283185307179586);
	if (turn < 0.0)
		turn += 6.283185307179586;
	const double steps = turn / increment + 0.5;
	return steps < static_cast<double> (kCounterMax) ? static_cast<int32> (steps) : 0;
}

// What the loop reads and does not change during a block.
struct LoopSettings
{
	double lfoInc;
	double phaseOffset;
	Pair centreHz;
	Pair sweepHz;
	Pair b0; // of the sweep lowpass
	Pair a1;
	Pair piOverFs;
	Pair feedback;
	Pair smootherPole;  // d
	Pair smootherInput; // g × level target, g × wet target
};

// What the loop carries from sample to sample, left and right side by side.
// Of each tap t it keeps the values one and two samples back (elements
// 3t + 1 and 3t + 2 of a chain); between samples a tap's current value
// equals its one-back value, so the feedback (tap 3's current value) is
// section3OneBack.
struct LoopState
{
	Pair smoothers; // level, wet: the two run the same recurrence side by side
	Pair lowpassIn;
	Pair lowpassOut;
	Pair inputOneBack, inputTwoBack; // tap 0, the chain input u
	Pair section1OneBack, section1TwoBack;
	Pair section2OneBack, section2TwoBack;
	Pair section3OneBack, section3TwoBack; // tap 3, the chain output
};

// The columns of a row of taps in the loop.
constexpr int kInputTap = 0;
constexpr int kSection1Tap = 1;
constexpr int kSection2Tap = 2;
constexpr int kSection3Tap = 3;

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

// One second-order all-pass section, the square of the first-order
// all-pass (a - 1/z) / (1 - a/z): y = a² (x0 - y2) - 2a (x1 - y1) + x2, from
// its input now, one back and two back (x0, x1, x2) and its own output one
// and two back (y1, y2); aa holds a² and twoA 2a.
__attribute__ ((always_inline)) inline Pair section (Pair aa, Pair twoA, Pair x0, Pair x1, Pair x2,
                                                     Pair y1, Pair y2)
{
	return aa * (x0 - y2) - twoA * (x1 - y1) + x2;
}

// The per-sample loop over samples 0 .. count - 1 of one stretch in which
// the counter n + i does not pass its limit. With settled, the smoothers sit
// at the fixed point of their recurrence, which they then never leave, so
// they are taken as constants.
template <typename Sample, bool settled, typename Build>
__attribute__ ((always_inline)) inline void
runSamples (LoopState& carried, const LoopSettings& settings, const Sample* inLeft,
            const Sample* inRight, Sample* outLeft, Sample* outRight, int32 n, int32 count)
{
	const Build build {};
	LoopState state = carried;
	const Pair one = opaque (build, pairOf (1.0, 1.0));
	const Pair tiny = opaque (build, pairOf (1e-18, 1e-18));
	// Each smoother's value in both lanes, for the two channels.
	auto level = [&] () ZY_ALWAYS_INLINE {
		return __builtin_shufflevector (state.smoothers, state.smoothers, 0, 0);
	};
	auto wet = [&] () ZY_ALWAYS_INLINE {
		return __builtin_shufflevector (state.smoothers, state.smoothers, 1, 1);
	};
	const Pair settledLevel = level ();
	const Pair settledWet = wet ();
	const Pair settledDry = one - settledWet;

	// The sines are taken two samples ahead, at the start of a sample, so
	// that the library calls overlap with the long chain of dependent steps
	// through the three sections of the sample before; the all-pass
	// coefficient is made one sample ahead for the same reason.
	Pair sines[2];
	auto sinesOf = [&] (int32 i) ZY_ALWAYS_INLINE {
		const double p = settings.lfoInc * static_cast<double> (n + i);
		sines[i & 1] = pairOf (std::sin (p), std::sin (p + settings.phaseOffset));
	};
	// Only a is kept between samples: a² and 2a are cheaper to redo than to
	// save around the library calls.
	Pair a;
	auto coefficientOf = [&] (int32 i) ZY_ALWAYS_INLINE {
		const Pair raw = settings.centreHz + settings.sweepHz * sines[i & 1];
		const Pair f = settings.b0 * (raw + state.lowpassIn) + settings.a1 * state.lowpassOut;
		state.lowpassIn = raw;
		state.lowpassOut = f;
		const Pair k = settings.piOverFs * f;
		a = (one - k) / (one + k);
	};

	// The taps of the last two samples, one row each by sample parity, in
	// the columns kInputTap to kSection3Tap. They live in memory on purpose:
	// each is stored once, where the library calls would otherwise save and
	// restore every one of them.
	alignas (16) Pair taps[2][4] = {
	    {state.inputTwoBack, state.section1TwoBack, state.section2TwoBack, state.section3TwoBack},
	    {state.inputOneBack, state.section1OneBack, state.section2OneBack, state.section3OneBack}};
	auto inMemory = [&] () ZY_ALWAYS_INLINE { __asm__ volatile("" : : "r"(taps) : "memory"); };

	// One sample, from its input, on the coefficient made for it.
	auto sample = [&] (int32 i, Pair x) ZY_ALWAYS_INLINE {
		if (!settled)
			state.smoothers = settings.smootherPole * state.smoothers + settings.smootherInput;
		// The row of sample i - 2, which this sample then overwrites with its
		// own taps, and the row of sample i - 1.
		Pair* twoBack = taps[i & 1];
		const Pair* oneBack = taps[(i + 1) & 1];
		const Pair aa = a * a;
		const Pair twoA = a + a; // exactly 2a: doubling a double is exact
		// The feedback is the chain output of the sample before.
		const Pair u = settings.feedback * oneBack[kSection3Tap] + x;
		// Section k reads tap k - 1 (its input: x0 now, x1 one back, x2 two
		// back) and tap k (its output: y1 one back, y2 two back).
		const Pair out1 = section (aa, twoA, u, oneBack[kInputTap], twoBack[kInputTap],
		                           oneBack[kSection1Tap], twoBack[kSection1Tap]);
		const Pair out2 = section (aa, twoA, out1, oneBack[kSection1Tap], twoBack[kSection1Tap],
		                           oneBack[kSection2Tap], twoBack[kSection2Tap]);
		const Pair out3 = section (aa, twoA, out2, oneBack[kSection2Tap], twoBack[kSection2Tap],
		                           oneBack[kSection3Tap], twoBack[kSection3Tap]);
		twoBack[kInputTap] = u;
		twoBack[kSection1Tap] = out1;
		twoBack[kSection2Tap] = out2;
		twoBack[kSection3Tap] = out3;
		const Pair levelNow = settled ? settledLevel : level ();
		const Pair wetNow = settled ? settledWet : wet ();
		const Pair dry = settled ? settledDry : one - wetNow;
		return levelNow * (wetNow * out3 + dry * x);
	};

	for (int32 i = 0; i < std::min (count, 2); ++i)
		sinesOf (i);
	coefficientOf (0);

	int32 i = 0;
	// Two samples a turn, so that the rows of the taps are fixed places.
	for (; i + 3 < count; i += 2)
	{
		sinesOf (i + 2);
		inMemory ();
		storeFrame (build, outLeft, outRight, i,
		            sample (i, loadFrame (build, inLeft, inRight, i) + tiny));
		coefficientOf (i + 1);
		sinesOf (i + 3);
		inMemory ();
		storeFrame (build, outLeft, outRight, i + 1,
		            sample (i + 1, loadFrame (build, inLeft, inRight, i + 1) + tiny));
		coefficientOf (i + 2);
	}
	for (; i < count; ++i)
	{
		if (i + 2 < count)
			sinesOf (i + 2);
		inMemory ();
		storeFrame (build, outLeft, outRight, i,
		            sample (i, loadFrame (build, inLeft, inRight, i) + tiny));
		if (i + 1 < count)
			coefficientOf (i + 1);
	}
	const Pair* lastRow = taps[(count + 1) & 1];
	const Pair* rowBefore = taps[count & 1];
	state.inputOneBack = lastRow[kInputTap];
	state.section1OneBack = lastRow[kSection1Tap];
	state.section2OneBack = lastRow[kSection2Tap];
	state.section3OneBack = lastRow[kSection3Tap];
	state.inputTwoBack = rowBefore[kInputTap];
	state.section1TwoBack = rowBefore[kSection1Tap];
	state.section2TwoBack = rowBefore[kSection2Tap];
	state.section3TwoBack = rowBefore[kSection3Tap];
	carried = state;
}

// The loop in its builds. The portable one is what machines without x86
// run. On x86 the loop is built for plain x86-64 (SSE2) and for processors
// with AVX, whose three-operand forms spare the register copies of the
// two-operand ones; the arithmetic is the same instructions either way.
template <typename Sample, bool settled>
__attribute__ ((noinline)) void
runStretchPortable (LoopState& state, const LoopSettings& settings, const Sample* inLeft,
                    const Sample* inRight, Sample* outLeft, Sample* outRight, int32 n, int32 count)
{
	runSamples<Sample, settled, PortableBuild> (state, settings, inLeft, inRight, outLeft, outRight,
	                                            n, count);
}

#if ZY_PHASER_X86
template <typename Sample, bool settled>
__attribute__ ((noinline)) void
runStretchSse2 (LoopState& state, const LoopSettings& settings, const Sample* inLeft,
                const Sample* inRight, Sample* outLeft, Sample* outRight, int32 n, int32 count)
{
	runSamples<Sample, settled, X86Build> (state, settings, inLeft, inRight, outLeft, outRight, n,
	                                       count);
}

template <typename Sample, bool settled>
__attribute__ ((target ("avx"), noinline)) void
runStretchAvx (LoopState& state, const LoopSettings& settings, const Sample* inLeft,
               const Sample* inRight, Sample* outLeft, Sample* outRight, int32 n, int32 count)
{
	runSamples<Sample, settled, X86Build> (state, settings, inLeft, inRight, outLeft, outRight, n,
	                                       count);
}

// Asked once when the module loads, so that the audio thread never runs a
// guarded first-time initialisation.
bool detectAvx ()
{
	__builtin_cpu_init ();
	return __builtin_cpu_supports ("avx") != 0;
}

const bool processorHasAvx = detectAvx ();
#endif

// The shipped choice: the fastest build this machine runs.
PlugPhaserVariant shippedVariant ()
{
#if ZY_PHASER_X86
	return processorHasAvx ? PlugPhaserVariant::kAvx : PlugPhaserVariant::kSse2;
#else
	return PlugPhaserVariant::kPortable;
#endif
}

// What the blocks run: the shipped choice unless a test overrides it.
std::atomic<PlugPhaserVariant> variantInUse {shippedVariant ()};

template <typename Sample, bool settled>
void runStretch (PlugPhaserVariant variant, LoopState& state, const LoopSettings& settings,
                 const Sample* inLeft, const Sample* inRight, Sample* outLeft, Sample* outRight,
                 int32 n, int32 count)
{
	switch (variant)
	{
#if ZY_PHASER_X86
		case PlugPhaserVariant::kAvx:
			runStretchAvx<Sample, settled> (state, settings, inLeft, inRight, outLeft, outRight, n,
			                                count);
			return;
		case PlugPhaserVariant::kSse2:
			runStretchSse2<Sample, settled> (state, settings, inLeft, inRight, outLeft, outRight, n,
			                                 count);
			return;
#endif
		default:
			runStretchPortable<Sample, settled> (state, settings, inLeft, inRight, outLeft,
			                                     outRight, n, count);
			return;
	}
}

} // namespace

bool plugPhaserRuns (PlugPhaserVariant variant)
{
	switch (variant)
	{
		case PlugPhaserVariant::kShipped:
		case PlugPhaserVariant::kPortable: return true;
#if ZY_PHASER_X86
		case PlugPhaserVariant::kAvx: return processorHasAvx;
		case PlugPhaserVariant::kSse2: return true;
#endif
		default: return false;
	}
}

PlugPhaserVariant plugPhaserVariantInUse ()
{
	return variantInUse.load (std::memory_order_relaxed);
}

void overridePlugPhaserVariant (PlugPhaserVariant variant)
{
	const bool runs = variant != PlugPhaserVariant::kShipped && plugPhaserRuns (variant);
	variantInUse.store (runs ? variant : shippedVariant (), std::memory_order_relaxed);
}

tresult PLUGIN_API PlugProcessor::setActive (TBool state)
{
	if (state)
	{
		const double fs = sampleRate;
		std::fill (std::begin (allpassLeft), std::end (allpassLeft), 0.0);
		std::fill (std::begin (allpassRight), std::end (allpassRight), 0.0);
		lfoCounter = 0;

		const double pole = std::exp (-2.2 / (smoothingMs * 0.001 * fs));
		smootherPole = pole;
		smootherGain = 1.0 - pole;

		std::fill (std::begin (sweepLowpassState), std::end (sweepLowpassState), 0.0);
		piOverFs = 3.141592653589793 * (1.0 / fs);
		twoPiOverFs = 6.283185307179586 * (1.0 / fs);

		// One-pole lowpass at 15 Hz on the sweep frequencies (bilinear).
		const double w = 94.24777960769379 * (1.0 / fs);
		sweepLowpassA1 = (1.0 - std::sin (w)) / std::cos (w);
		sweepLowpassB0 = 0.5 - 0.5 * sweepLowpassA1;

		// The derived values, snapped to their targets, from the parameters
		// as they stand, a state restored meanwhile included.
		adoptRestoredState ();
		updateParameters (true);
	}
	return AudioEffect::setActive (state);
}

void PlugProcessor::processAudio32 (Sample32** in, Sample32** out, int32 count)
{
	runPhaser (heldDerivedValues (), in, out, count);
}

void PlugProcessor::processAudio64 (Sample64** in, Sample64** out, int32 count)
{
	runPhaser (heldDerivedValues (), in, out, count);
}

void PlugProcessor::rescaleCounter (double quotient, double oldInc, double newInc)
{
	// In range the quotient is truncated toward zero; beyond it the counter
	// is re-derived from the sweep phase it stands for.
	if (quotient > -2147483649.0 && quotient < 2147483648.0)
		lfoCounter = static_cast<int32> (quotient);
	else
		lfoCounter = counterForPhase (oldInc * lfoCounter, newInc);
}

void PlugProcessor::clearRunawayChain (double* chain)
{
	// A NaN or infinite input would stay in the chain and its feedback until
	// the next activation; clear it as activation does. So is a value beyond
	// kRunawayLevel: no audio gets there, and its ringing would reach the
	// blocks after (as infinity, once narrowed to 32 bits).
	for (int i = 0; i < 12; ++i)
	{
		if (!(std::fabs (chain[i]) <= kRunawayLevel))
		{
			std::fill (chain, chain + 12, 0.0);
			return;
		}
	}
}

template <typename Sample>
void PlugProcessor::runPhaser (const PlugDerivedValues& values, Sample** in, Sample** out,
                               int32 count)
{
	if (count <= 0)
		return;

	// The rate changes only between blocks, so the counter is rescaled at
	// most once, before the first sample, to keep the sweep phase.
	if (values.lfoInc != lastLfoInc)
	{
		const double oldInc = lastLfoInc;
		const double newInc = values.lfoInc;
		const double n = lfoCounter;
		if (newInc == 0.0)
			lfoCounter = 0;
		else if (std::is_same<Sample, Sample32>::value)
		{
			const double reciprocal = 1.0 / newInc;
			rescaleCounter (oldInc * n * reciprocal + 0.5, oldInc, newInc);
		}
		else
			rescaleCounter (oldInc * n / newInc + 0.5, oldInc, newInc);
		lastLfoInc = values.lfoInc;
	}

	const Sample* inLeft = in[0];
	const Sample* inRight = in[1];
	Sample* outLeft = out[0];
	Sample* outRight = out[1];

	LoopSettings settings;
	settings.lfoInc = values.lfoInc;
	settings.phaseOffset = values.phaseOffset;
	settings.centreHz = pairOf (values.centreHz, values.centreHz);
	settings.sweepHz = pairOf (values.sweepHz, values.sweepHz);
	settings.b0 = pairOf (sweepLowpassB0, sweepLowpassB0);
	settings.a1 = pairOf (sweepLowpassA1, sweepLowpassA1);
	settings.piOverFs = pairOf (piOverFs, piOverFs);
	settings.feedback = pairOf (values.feedback, values.feedback);
	settings.smootherPole = pairOf (smootherPole, smootherPole);
	// g × target is the same product every sample.
	const double levelInput = smootherGain * values.levelGain;
	const double wetInput = smootherGain * values.wet;
	settings.smootherInput = pairOf (levelInput, wetInput);

	const double* left = allpassLeft;
	const double* right = allpassRight;
	LoopState state;
	state.smoothers = pairOf (levelSmoothed, wetSmoothed);
	state.lowpassIn = pairOf (sweepLowpassState[1], sweepLowpassState[4]);
	state.lowpassOut = pairOf (sweepLowpassState[2], sweepLowpassState[5]);
	state.inputOneBack = loadTap (left, right, 1);
	state.inputTwoBack = loadTap (left, right, 2);
	state.section1OneBack = loadTap (left, right, 4);
	state.section1TwoBack = loadTap (left, right, 5);
	state.section2OneBack = loadTap (left, right, 7);
	state.section2TwoBack = loadTap (left, right, 8);
	state.section3OneBack = loadTap (left, right, 10);
	state.section3TwoBack = loadTap (left, right, 11);

	// A smoother that one step leaves where it is stays there for good (the
	// recurrence is fixed during the block); that is where both rest while
	// the parameters do not move.
	const bool settled = smootherPole * levelSmoothed + levelInput == levelSmoothed &&
	                     smootherPole * wetSmoothed + wetInput == wetSmoothed;

	const PlugPhaserVariant variant = plugPhaserVariantInUse ();
	int32 n = lfoCounter;
	int32 done = 0;
	while (done < count)
	{
		if (n == kCounterMax)
			n = counterForPhase (values.lfoInc * n, values.lfoInc);
		const int32 chunk = static_cast<int32> (
		    std::min<int64> (count - done, static_cast<int64> (kCounterMax) - n));
		if (settled)
			runStretch<Sample, true> (variant, state, settings, inLeft + done, inRight + done,
			                          outLeft + done, outRight + done, n, chunk);
		else
			runStretch<Sample, false> (variant, state, settings, inLeft + done, inRight + done,
			                           outLeft + done, outRight + done, n, chunk);
		n += chunk;
		done += chunk;
	}

	lfoCounter = n;
	levelSmoothed = state.smoothers[0];
	wetSmoothed = state.smoothers[1];
	sweepLowpassState[0] = sweepLowpassState[1] = state.lowpassIn[0];
	sweepLowpassState[2] = state.lowpassOut[0];
	sweepLowpassState[3] = sweepLowpassState[4] = state.lowpassIn[1];
	sweepLowpassState[5] = state.lowpassOut[1];
	// Each tap's current value is its one-back value (see LoopState).
	const Pair taps[12] = {state.inputOneBack,    state.inputOneBack,    state.inputTwoBack,
	                       state.section1OneBack, state.section1OneBack, state.section1TwoBack,
	                       state.section2OneBack, state.section2OneBack, state.section2TwoBack,
	                       state.section3OneBack, state.section3OneBack, state.section3TwoBack};
	for (int t = 0; t < 12; ++t)
		storeTap (allpassLeft, allpassRight, t, taps[t]);

	clearRunawayChain (allpassLeft);
	clearRunawayChain (allpassRight);
}

template void PlugProcessor::runPhaser<Sample32> (const PlugDerivedValues&, Sample32**, Sample32**,
                                                  int32);
template void PlugProcessor::runPhaser<Sample64> (const PlugDerivedValues&, Sample64**, Sample64**,
                                                  int32);

} // namespace Vst
} // namespace Steinberg

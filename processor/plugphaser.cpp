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

#include "processor/plugprocessor.h"

#include <algorithm>
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

// Hides a constant from the compiler, which would otherwise rebuild it from
// a scalar in every sample instead of keeping it.
inline Pair opaque (Pair value)
{
#if ZY_PHASER_X86
	__asm__("" : "+x"(value));
#endif
	return value;
}

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
	double lfoStep;
	double offset;
	Pair centre;
	Pair sweep;
	Pair b0;
	Pair a1;
	Pair kScale;
	Pair fb;
	Pair pole;
	Pair smootherInput; // g × level target, g × wet target
};

// What the loop carries from sample to sample, left and right side by side.
// Tap t's one-earlier value is element 3t + 1 of its chain, its two-earlier
// 3t + 2; between samples a tap's current value equals its one-earlier value,
// so the feedback (tap 3's current value) is s3p1.
struct LoopState
{
	Pair smoothers; // level, wet: the two run the same recurrence side by side
	Pair lowpassIn;
	Pair lowpassOut;
	Pair u1, u2;
	Pair s1p1, s1p2;
	Pair s2p1, s2p2;
	Pair s3p1, s3p2;
};

// Samples in and out, widened to and narrowed from doubles; on x86 the
// stores are spelled out so that the right lane goes straight to memory.
inline Pair loadFrame (const Sample64* left, const Sample64* right, int32 i)
{
#if ZY_PHASER_X86
	return (Pair)_mm_loadh_pd (_mm_load_sd (left + i), right + i);
#else
	return pairOf (left[i], right[i]);
#endif
}

inline Pair loadFrame (const Sample32* left, const Sample32* right, int32 i)
{
	return pairOf (static_cast<double> (left[i]), static_cast<double> (right[i]));
}

inline void storeFrame (Sample64* left, Sample64* right, int32 i, Pair o)
{
#if ZY_PHASER_X86
	_mm_storel_pd (left + i, (__m128d)o);
	_mm_storeh_pd (right + i, (__m128d)o);
#else
	left[i] = o[0];
	right[i] = o[1];
#endif
}

inline void storeFrame (Sample32* left, Sample32* right, int32 i, Pair o)
{
#if ZY_PHASER_X86
	// Both lanes narrowed at once, to the nearest float as a cast does.
	const __m128 narrow = _mm_cvtpd_ps ((__m128d)o);
	left[i] = narrow[0];
	right[i] = narrow[1];
#else
	left[i] = static_cast<Sample32> (o[0]);
	right[i] = static_cast<Sample32> (o[1]);
#endif
}

// The per-sample loop over samples 0 .. count - 1 of one stretch in which
// the counter n + i does not pass its limit. With settled, the smoothers sit
// at the fixed point of their recurrence, which they then never leave, so
// they are taken as constants.
template <typename Sample, bool settled>
__attribute__ ((always_inline)) inline void
runSamples (LoopState& state, const LoopSettings& c, const Sample* inLeft, const Sample* inRight,
            Sample* outLeft, Sample* outRight, int32 n, int32 count)
{
	LoopState s = state;
	const Pair one = opaque (pairOf (1.0, 1.0));
	const Pair tiny = opaque (pairOf (1e-18, 1e-18));
	// Each smoother's value in both lanes, for the two channels.
	auto level = [&] () ZY_ALWAYS_INLINE {
		return __builtin_shufflevector (s.smoothers, s.smoothers, 0, 0);
	};
	auto wet = [&] () ZY_ALWAYS_INLINE {
		return __builtin_shufflevector (s.smoothers, s.smoothers, 1, 1);
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
		const double p = c.lfoStep * static_cast<double> (n + i);
		sines[i & 1] = pairOf (std::sin (p), std::sin (p + c.offset));
	};
	// Only a is kept between samples: a² and 2a are cheaper to redo than to
	// save around the library calls.
	Pair a;
	auto coefficientOf = [&] (int32 i) ZY_ALWAYS_INLINE {
		const Pair raw = c.centre + c.sweep * sines[i & 1];
		const Pair f = c.b0 * (raw + s.lowpassIn) + c.a1 * s.lowpassOut;
		s.lowpassIn = raw;
		s.lowpassOut = f;
		const Pair k = c.kScale * f;
		a = (one - k) / (one + k);
	};

	// The taps of the last two samples, u, y1, y2 and y3, by sample parity.
	// They live in memory on purpose: each is stored once, where the
	// library calls would otherwise save and restore every one of them.
	alignas (16) Pair taps[2][4] = {{s.u2, s.s1p2, s.s2p2, s.s3p2}, {s.u1, s.s1p1, s.s2p1, s.s3p1}};
	auto inMemory = [&] () ZY_ALWAYS_INLINE { __asm__ volatile("" : : "r"(taps) : "memory"); };

	// One sample, from its input, on the coefficient made for it.
	auto sample = [&] (int32 i, Pair x) ZY_ALWAYS_INLINE {
		if (!settled)
			s.smoothers = c.pole * s.smoothers + c.smootherInput;
		Pair* t = taps[i & 1];
		const Pair* t1 = taps[(i + 1) & 1];
		const Pair aa = a * a;
		const Pair twoA = a + a;
		const Pair u = c.fb * t1[3] + x;
		const Pair y1 = aa * (u - t[1]) - twoA * (t1[0] - t1[1]) + t[0];
		const Pair y2 = aa * (y1 - t[2]) - twoA * (t1[1] - t1[2]) + t[1];
		const Pair y3 = aa * (y2 - t[3]) - twoA * (t1[2] - t1[3]) + t[2];
		t[0] = u;
		t[1] = y1;
		t[2] = y2;
		t[3] = y3;
		const Pair levelNow = settled ? settledLevel : level ();
		const Pair wetNow = settled ? settledWet : wet ();
		const Pair dry = settled ? settledDry : one - wetNow;
		return levelNow * (wetNow * y3 + dry * x);
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
		storeFrame (outLeft, outRight, i, sample (i, loadFrame (inLeft, inRight, i) + tiny));
		coefficientOf (i + 1);
		sinesOf (i + 3);
		inMemory ();
		storeFrame (outLeft, outRight, i + 1,
		            sample (i + 1, loadFrame (inLeft, inRight, i + 1) + tiny));
		coefficientOf (i + 2);
	}
	for (; i < count; ++i)
	{
		if (i + 2 < count)
			sinesOf (i + 2);
		inMemory ();
		storeFrame (outLeft, outRight, i, sample (i, loadFrame (inLeft, inRight, i) + tiny));
		if (i + 1 < count)
			coefficientOf (i + 1);
	}
	const Pair* last = taps[(count + 1) & 1];
	const Pair* before = taps[count & 1];
	s.u1 = last[0];
	s.s1p1 = last[1];
	s.s2p1 = last[2];
	s.s3p1 = last[3];
	s.u2 = before[0];
	s.s1p2 = before[1];
	s.s2p2 = before[2];
	s.s3p2 = before[3];
	state = s;
}

// Each loop is built twice, for plain x86-64 and for processors with AVX,
// whose three-operand forms spare the register copies of the two-operand
// ones; the arithmetic is the same instructions either way.
template <typename Sample, bool settled>
__attribute__ ((noinline)) void
runStretchPlain (LoopState& state, const LoopSettings& settings, const Sample* inLeft,
                 const Sample* inRight, Sample* outLeft, Sample* outRight, int32 n, int32 count)
{
	runSamples<Sample, settled> (state, settings, inLeft, inRight, outLeft, outRight, n, count);
}

#if ZY_PHASER_X86
template <typename Sample, bool settled>
__attribute__ ((target ("avx"), noinline)) void
runStretchAvx (LoopState& state, const LoopSettings& settings, const Sample* inLeft,
               const Sample* inRight, Sample* outLeft, Sample* outRight, int32 n, int32 count)
{
	runSamples<Sample, settled> (state, settings, inLeft, inRight, outLeft, outRight, n, count);
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

template <typename Sample, bool settled>
void runStretch (LoopState& state, const LoopSettings& settings, const Sample* inLeft,
                 const Sample* inRight, Sample* outLeft, Sample* outRight, int32 n, int32 count)
{
#if ZY_PHASER_X86
	if (processorHasAvx)
	{
		runStretchAvx<Sample, settled> (state, settings, inLeft, inRight, outLeft, outRight, n,
		                                count);
		return;
	}
#endif
	runStretchPlain<Sample, settled> (state, settings, inLeft, inRight, outLeft, outRight, n,
	                                  count);
}

} // namespace

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
		stateHandOver.adoptForActivation ();
	}
	return AudioEffect::setActive (state);
}

void PlugProcessor::processAudio32 (Sample32** in, Sample32** out, int32 count)
{
	runPhaser (stateHandOver.blockValues (), in, out, count);
}

void PlugProcessor::processAudio64 (Sample64** in, Sample64** out, int32 count)
{
	runPhaser (stateHandOver.blockValues (), in, out, count);
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
	settings.lfoStep = values.lfoInc;
	settings.offset = values.phaseOffset;
	settings.centre = pairOf (values.centreHz, values.centreHz);
	settings.sweep = pairOf (values.sweepHz, values.sweepHz);
	settings.b0 = pairOf (sweepLowpassB0, sweepLowpassB0);
	settings.a1 = pairOf (sweepLowpassA1, sweepLowpassA1);
	settings.kScale = pairOf (piOverFs, piOverFs);
	settings.fb = pairOf (values.feedback, values.feedback);
	settings.pole = pairOf (smootherPole, smootherPole);
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
	state.u1 = loadTap (left, right, 1);
	state.u2 = loadTap (left, right, 2);
	state.s1p1 = loadTap (left, right, 4);
	state.s1p2 = loadTap (left, right, 5);
	state.s2p1 = loadTap (left, right, 7);
	state.s2p2 = loadTap (left, right, 8);
	state.s3p1 = loadTap (left, right, 10);
	state.s3p2 = loadTap (left, right, 11);

	// A smoother that one step leaves where it is stays there for good (the
	// recurrence is fixed during the block); that is where both rest while
	// the parameters do not move.
	const bool settled = smootherPole * levelSmoothed + levelInput == levelSmoothed &&
	                     smootherPole * wetSmoothed + wetInput == wetSmoothed;

	int32 n = lfoCounter;
	int32 done = 0;
	while (done < count)
	{
		if (n == kCounterMax)
			n = counterForPhase (values.lfoInc * n, values.lfoInc);
		const int32 chunk = static_cast<int32> (
		    std::min<int64> (count - done, static_cast<int64> (kCounterMax) - n));
		if (settled)
			runStretch<Sample, true> (state, settings, inLeft + done, inRight + done,
			                          outLeft + done, outRight + done, n, chunk);
		else
			runStretch<Sample, false> (state, settings, inLeft + done, inRight + done,
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
	const Pair taps[12] = {state.u1,   state.u1,   state.u2,   state.s1p1, state.s1p1, state.s1p2,
	                       state.s2p1, state.s2p1, state.s2p2, state.s3p1, state.s3p1, state.s3p2};
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

// The per-sample phaser: the 32-bit and 64-bit loops.
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
// The builds that compile this loop (AVX, SSE2, portable) and the choice
// among them are in plugphaserbuilds.h and .cpp. The same formulas read
// plainly, one sample and one channel at a time, are in
// tests/processor/phaserreference.h; the tests hold every build of this loop
// to that reading bit for bit, outputs and state.

#include "processor/plugphaserbuilds.h"
#include "processor/plugphaserconstants.h"
#include "processor/plugprocessor.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <type_traits>

namespace Steinberg {
namespace Vst {

namespace {

using PhaserBuild::Pair;
using PhaserBuild::pairOf;

// The sweep counter counts up to here at most.
constexpr int32 kCounterMax = INT32_MAX;
// A double truncates toward zero into an int32 when it lies strictly
// between these two, INT32_MIN - 1 and INT32_MAX + 1 (both exact doubles).
constexpr double kTruncatesToInt32Above = static_cast<double> (INT32_MIN) - 1.0;
constexpr double kTruncatesToInt32Below = static_cast<double> (INT32_MAX) + 1.0;

// Added to every input sample, for the chain and the dry path alike. Without
// it, silence after a signal lets the feedback and the section memories
// decay into denormal numbers, each of which costs the processor a hundred
// times the work of a normal one. At some -360 dB it is far below hearing.
constexpr double kDenormalGuard = 1e-18;

// Some 400 dB over full scale: a chain value beyond it stems from input that
// is no audio.
constexpr double kRunawayLevel = 1e20;

inline Pair loadTap (const double* left, const double* right, int index)
{
	return pairOf (left[index], right[index]);
}

inline void storeTap (double* left, double* right, int index, Pair value)
{
	left[index] = value[0];
	right[index] = value[1];
}

// A counter value for the same sweep phase, one turn taken off as often as
// it fits, to the nearest step. A sweep so slow that one turn does not fit
// the counter starts over at phase 0.
int32 counterForPhase (double phase, double increment)
{
	if (!(increment > 0.0))
		return 0;
	double turn = std::fmod (phase, kTwoPi);
	if (turn < 0.0)
		turn += kTwoPi;
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

// One second-order all-pass section, the square of the first-order
// all-pass (a - 1/z) / (1 - a/z): y = a² (x0 - y2) - 2a (x1 - y1) + x2, from
// its input now, one back and two back (x0, x1, x2) and its own output one
// and two back (y1, y2); aa holds a² and twoA 2a.
ZY_ALWAYS_INLINE inline Pair section (Pair aa, Pair twoA, Pair x0, Pair x1, Pair x2, Pair y1,
                                      Pair y2)
{
	return aa * (x0 - y2) - twoA * (x1 - y1) + x2;
}

// The per-sample loop over samples 0 .. count - 1 of one stretch in which
// the counter n + i does not pass its limit, in the flavour Build (see
// plugphaserbuilds.h). With settled, the smoothers sit at the fixed point of
// their recurrence, which they then never leave, so they are taken as
// constants.
template <typename Sample, bool settled, typename Build>
ZY_ALWAYS_INLINE inline void runSamples (LoopState& carried, const LoopSettings& settings,
                                         const Sample* inLeft, const Sample* inRight,
                                         Sample* outLeft, Sample* outRight, int32 n, int32 count)
{
	const Build build {};
	LoopState state = carried;
	const Pair one = opaque (build, pairOf (1.0, 1.0));
	const Pair tiny = opaque (build, pairOf (kDenormalGuard, kDenormalGuard));
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
	// coefficient is made one sample ahead for the same reason. The sines of
	// sample i go to slot i & 1 at the start of sample i - 2 and must last
	// until coefficientOf (i) reads them at the end of sample i - 1; the
	// sines of sample i + 2 then take the slot at the start of sample i.
	Pair sines[2];
	auto sinesOf = [&] (int32 i) ZY_ALWAYS_INLINE {
		const double p = settings.lfoInc * static_cast<double> (n + i);
		sines[i & 1] = pairOf (std::sin (p), std::sin (p + settings.phaseOffset));
	};
	// Only a is kept between samples: a² and 2a are cheaper to redo than to
	// save around the library calls. coefficientOf (i) also steps the sweep
	// lowpass, so it runs once for each sample of the stretch and for none
	// beyond.
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
	// Two samples a turn, so that the rows of the taps are fixed places. A
	// turn looks ahead to the sines of samples i + 2 and i + 3 and the
	// coefficient of i + 2; it runs while all three samples are in the
	// stretch (i + 3 < count), and the samples after it take their look-ahead
	// one at a time, only where the sample exists: past the stretch the
	// lowpass would step too far and the counter n + i could pass its limit.
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

// The loop as the builds take it (PhaserBuild::runInBuild), whose arguments
// pass by value.
template <typename Sample, bool settled>
struct Stretch
{
	template <typename Build>
	ZY_ALWAYS_INLINE static void run (LoopState* state, const LoopSettings* settings,
	                                  const Sample* inLeft, const Sample* inRight, Sample* outLeft,
	                                  Sample* outRight, int32 n, int32 count)
	{
		runSamples<Sample, settled, Build> (*state, *settings, inLeft, inRight, outLeft, outRight,
		                                    n, count);
	}
};

} // namespace

void PlugProcessor::processAudio32 (Sample32** in, Sample32** out, int32 count)
{
	runPhaser (in, out, count);
}

void PlugProcessor::processAudio64 (Sample64** in, Sample64** out, int32 count)
{
	runPhaser (in, out, count);
}

void PlugProcessor::rescaleCounter (double quotient, double oldInc, double newInc)
{
	// In range the quotient is truncated toward zero; beyond it the counter
	// is re-derived from the sweep phase it stands for.
	if (quotient > kTruncatesToInt32Above && quotient < kTruncatesToInt32Below)
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
void PlugProcessor::runPhaser (Sample** in, Sample** out, int32 count)
{
	if (count <= 0)
		return;

	// The rate changes only between blocks, so the counter is rescaled at
	// most once, before the first sample, to keep the sweep phase.
	if (lfoInc != lastLfoInc)
	{
		const double oldInc = lastLfoInc;
		const double newInc = lfoInc;
		const double n = lfoCounter;
		if (newInc == 0.0)
			lfoCounter = 0;
		else if (std::is_same<Sample, Sample32>::value)
		{
			// The 32-bit loop multiplies by the reciprocal, the 64-bit loop
			// divides. The two forms can round to different counters (at
			// 48 kHz, Rate 0.15 to 1.0 from counter 30 gives 4 here and 5
			// there), so each sample size keeps its own and sweeps as it
			// always has.
			const double reciprocal = 1.0 / newInc;
			rescaleCounter (oldInc * n * reciprocal + 0.5, oldInc, newInc);
		}
		else
			rescaleCounter (oldInc * n / newInc + 0.5, oldInc, newInc);
		lastLfoInc = lfoInc;
	}

	const Sample* inLeft = in[0];
	const Sample* inRight = in[1];
	Sample* outLeft = out[0];
	Sample* outRight = out[1];

	LoopSettings settings;
	settings.lfoInc = lfoInc;
	settings.phaseOffset = phaseOffset;
	settings.centreHz = pairOf (centreHz, centreHz);
	settings.sweepHz = pairOf (sweepHz, sweepHz);
	settings.b0 = pairOf (sweepLowpassB0, sweepLowpassB0);
	settings.a1 = pairOf (sweepLowpassA1, sweepLowpassA1);
	settings.piOverFs = pairOf (piOverFs, piOverFs);
	settings.feedback = pairOf (feedback, feedback);
	settings.smootherPole = pairOf (smootherPole, smootherPole);
	// g × target is the same product every sample.
	const double levelInput = smootherGain * levelGain;
	const double wetInput = smootherGain * wet;
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
	const double increment = lfoInc;
	int32 n = lfoCounter;
	int32 done = 0;
	while (done < count)
	{
		if (n == kCounterMax)
			n = counterForPhase (increment * n, increment);
		const int32 chunk = static_cast<int32> (
		    std::min<int64> (count - done, static_cast<int64> (kCounterMax) - n));
		if (settled)
			PhaserBuild::runInBuild<Stretch<Sample, true>> (
			    variant, &state, &settings, inLeft + done, inRight + done, outLeft + done,
			    outRight + done, n, chunk);
		else
			PhaserBuild::runInBuild<Stretch<Sample, false>> (
			    variant, &state, &settings, inLeft + done, inRight + done, outLeft + done,
			    outRight + done, n, chunk);
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

template void PlugProcessor::runPhaser<Sample32> (Sample32**, Sample32**, int32);
template void PlugProcessor::runPhaser<Sample64> (Sample64**, Sample64**, int32);

} // namespace Vst
} // namespace Steinberg

// The per-sample phaser: activation and the 32-bit and 64-bit loops.
//
// The arithmetic is fixed to the last bit: every formula is evaluated as
// written, left to right, in doubles, and this file is compiled without
// floating-point contraction. Left and right run side by side in two-lane
// vectors; each lane does exactly the scalar operations of its channel.

#include "processor/plugprocessor.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <type_traits>

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

constexpr int32 kCounterMax = INT32_MAX;

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

		// The format keeps process from running during activation; a state
		// restored while it ran is taken over here.
		const bool owned = tryOwnParams (kMainThread);
		if (owned && adoptedSerial != stateSerial)
		{
			params = lastRestored;
			adoptedSerial = stateSerial;
		}
		updateParameters (true);
		if (owned)
			releaseParams ();
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

void PlugProcessor::clearChainIfNotFinite (double* chain)
{
	// A NaN or infinite input would stay in the chain and its feedback until
	// the next activation; clear it as activation does.
	for (int i = 0; i < 12; ++i)
	{
		if (!std::isfinite (chain[i]))
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

	const double lfoStep = values.lfoInc;
	const double offset = values.phaseOffset;
	const Pair centre = pairOf (values.centreHz, values.centreHz);
	const Pair sweep = pairOf (values.sweepHz, values.sweepHz);
	const Pair b0 = pairOf (sweepLowpassB0, sweepLowpassB0);
	const Pair a1 = pairOf (sweepLowpassA1, sweepLowpassA1);
	const Pair kScale = pairOf (piOverFs, piOverFs);
	const Pair fb = pairOf (values.feedback, values.feedback);
	const double pole = smootherPole;
	const Pair pole2 = pairOf (pole, pole);
	// The shared smoothers run in both lanes alike; g × target is the same
	// product every sample.
	const double levelTarget = smootherGain * values.levelGain;
	const double wetTarget = smootherGain * values.wet;
	const Pair levelInput = pairOf (levelTarget, levelTarget);
	const Pair wetInput = pairOf (wetTarget, wetTarget);
	Pair level = pairOf (levelSmoothed, levelSmoothed);
	Pair wetShare = pairOf (wetSmoothed, wetSmoothed);
	Pair lowpassIn = pairOf (sweepLowpassState[1], sweepLowpassState[4]);
	Pair lowpassOut = pairOf (sweepLowpassState[2], sweepLowpassState[5]);

	double* left = allpassLeft;
	double* right = allpassRight;
	// Tap t's one-earlier value is element 3t + 1, its two-earlier 3t + 2.
	// Between samples a tap's current value equals its one-earlier value, so
	// the feedback (tap 3's current value) is s3p1.
	Pair u1 = loadTap (left, right, 1), u2 = loadTap (left, right, 2);
	Pair s1p1 = loadTap (left, right, 4), s1p2 = loadTap (left, right, 5);
	Pair s2p1 = loadTap (left, right, 7), s2p2 = loadTap (left, right, 8);
	Pair s3p1 = loadTap (left, right, 10), s3p2 = loadTap (left, right, 11);

	// The sines are taken two samples ahead, in the middle of a sample's
	// filter work, so that the library calls overlap with the long chain of
	// dependent steps through the three sections; the all-pass coefficient
	// is computed one sample ahead for the same reason.
	Pair sines[2];
	int32 n = lfoCounter;
	int32 done = 0;
	while (done < count)
	{
		if (n == kCounterMax)
			n = counterForPhase (lfoStep * n, lfoStep);
		const int32 chunk = static_cast<int32> (
		    std::min<int64> (count - done, static_cast<int64> (kCounterMax) - n));

		for (int32 i = 0; i < std::min (chunk, 2); ++i)
		{
			const double p = lfoStep * static_cast<double> (n + i);
			sines[i] = pairOf (std::sin (p), std::sin (p + offset));
		}

		// The all-pass coefficient of one sample, from its sines.
		Pair aa, twoA;
		auto coefficient = [&] (const Pair& sine) {
			const Pair raw = centre + sweep * sine;
			const Pair f = b0 * (raw + lowpassIn) + a1 * lowpassOut;
			lowpassIn = raw;
			lowpassOut = f;
			const Pair k = kScale * f;
			const Pair a = (1.0 - k) / (1.0 + k);
			aa = a * a;
			twoA = 2.0 * a;
		};
		coefficient (sines[0]);

		// One sample; the last two of a chunk take no sines ahead.
		auto step = [&] (int32 i, bool sineAhead) {
			const int32 j = done + i;
			const Pair x = pairOf (static_cast<double> (inLeft[j]),
			                       static_cast<double> (inRight[j])) + 1e-18;
			level = pole2 * level + levelInput;
			wetShare = pole2 * wetShare + wetInput;
			const Pair u = fb * s3p1 + x;
			const Pair y1 = aa * (u - s1p2) - twoA * (u1 - s1p1) + u2;
			const Pair y2 = aa * (y1 - s2p2) - twoA * (s1p1 - s2p1) + s1p2;

			if (sineAhead)
			{
				const double p = lfoStep * static_cast<double> (n + i + 2);
				sines[i & 1] = pairOf (std::sin (p), std::sin (p + offset));
			}

			const Pair y3 = aa * (y2 - s3p2) - twoA * (s2p1 - s3p1) + s2p2;
			u2 = u1;
			u1 = u;
			s1p2 = s1p1;
			s1p1 = y1;
			s2p2 = s2p1;
			s2p1 = y2;
			s3p2 = s3p1;
			s3p1 = y3;

			const Pair dry = 1.0 - wetShare;
			const Pair o = level * (wetShare * y3 + dry * x);
			outLeft[j] = static_cast<Sample> (o[0]);
			outRight[j] = static_cast<Sample> (o[1]);

			if (i + 1 < chunk)
				coefficient (sines[(i + 1) & 1]);
		};
		int32 i = 0;
		for (; i + 2 < chunk; ++i)
			step (i, true);
		for (; i < chunk; ++i)
			step (i, false);
		n += chunk;
		done += chunk;
	}

	lfoCounter = n;
	levelSmoothed = level[0];
	wetSmoothed = wetShare[0];
	sweepLowpassState[0] = sweepLowpassState[1] = lowpassIn[0];
	sweepLowpassState[2] = lowpassOut[0];
	sweepLowpassState[3] = sweepLowpassState[4] = lowpassIn[1];
	sweepLowpassState[5] = lowpassOut[1];
	storeTap (left, right, 0, u1);
	storeTap (left, right, 1, u1);
	storeTap (left, right, 2, u2);
	storeTap (left, right, 3, s1p1);
	storeTap (left, right, 4, s1p1);
	storeTap (left, right, 5, s1p2);
	storeTap (left, right, 6, s2p1);
	storeTap (left, right, 7, s2p1);
	storeTap (left, right, 8, s2p2);
	storeTap (left, right, 9, s3p1);
	storeTap (left, right, 10, s3p1);
	storeTap (left, right, 11, s3p2);

	clearChainIfNotFinite (allpassLeft);
	clearChainIfNotFinite (allpassRight);
}

template void PlugProcessor::runPhaser<Sample32> (const PlugDerivedValues&, Sample32**, Sample32**,
                                                  int32);
template void PlugProcessor::runPhaser<Sample64> (const PlugDerivedValues&, Sample64**, Sample64**,
                                                  int32);

} // namespace Vst
} // namespace Steinberg

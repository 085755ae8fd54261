#include "tools/host/demosignal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace zyhost {

namespace {

// Band-limited saw: the naive ramp with its step smoothed over one sample on
// either side (polynomial BLEP), so that the high notes do not alias.
struct Saw
{
	double phase {0.};
	double increment {0.};

	double next ()
	{
		double value = 2. * phase - 1.;
		const double t = phase, dt = increment;
		if (t < dt)
		{
			const double x = t / dt;
			value -= x + x - x * x - 1.;
		}
		else if (t > 1. - dt)
		{
			const double x = (t - 1.) / dt;
			value -= x * x + x + x + 1.;
		}
		phase += increment;
		if (phase >= 1.)
			phase -= 1.;
		return value;
	}
};

// a fixed linear congruential generator: the same noise on every machine
struct Noise
{
	uint32_t state;
	double next ()
	{
		state = state * 1664525u + 1013904223u;
		return (state >> 8) / double (1u << 24) * 2. - 1.;
	}
};

double midiToHz (int note)
{
	return 440. * std::pow (2., (note - 69) / 12.);
}

// A minor, F major, C major, G major; two seconds each
const int kChords[4][4] = {{45, 57, 60, 64}, {41, 53, 57, 60}, {48, 55, 60, 64}, {43, 55, 59, 62}};
constexpr double kChordSeconds = 2.;

} // namespace

StereoBuffer makeDemoSignal (double seconds, double sampleRate)
{
	StereoBuffer out;
	out.sampleRate = sampleRate;
	out.resize (static_cast<size_t> (std::llround (seconds * sampleRate)));

	Saw saws[2][4];
	Noise noise[2] = {{0x2545f491u}, {0x9e3779b9u}};
	double lowpass[2] = {0., 0.};
	const size_t chordFrames = static_cast<size_t> (kChordSeconds * sampleRate);
	const double fade = 0.01 * sampleRate;

	for (size_t i = 0; i < out.frames (); ++i)
	{
		const size_t chord = (i / chordFrames) % 4;
		const size_t inChord = i % chordFrames;
		// a short fade at each chord change avoids clicks
		const double envelope =
		    std::min (1., std::min (inChord / fade, (chordFrames - inChord) / fade));
		double sample[2] = {0., 0.};
		for (int channel = 0; channel < 2; ++channel)
		{
			const double detune = channel == 0 ? 0.998 : 1.002;
			for (int voice = 0; voice < 4; ++voice)
			{
				saws[channel][voice].increment =
				    midiToHz (kChords[chord][voice]) * detune / sampleRate;
				sample[channel] += saws[channel][voice].next ();
			}
			// noise, softened by a one-pole lowpass
			lowpass[channel] += 0.3 * (noise[channel].next () - lowpass[channel]);
			sample[channel] = 0.12 * sample[channel] * envelope + 0.05 * lowpass[channel];
		}
		out.left[i] = sample[0];
		out.right[i] = sample[1];
	}
	return out;
}

} // namespace zyhost

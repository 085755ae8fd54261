// The phaser written out plainly, one sample at a time, straight from its
// formulas, for bit-for-bit comparison with the processor's loops.
#pragma once

#include "processor/plugparams.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace zytest {

struct PhaserReference
{
	// normalized parameters (taken as in 0..1)
	Steinberg::Vst::PlugParams params = Steinberg::Vst::kPlugDefaultParams;
	double fs = 44100.0;

	double centreHz, sweepHz, rateHz, feedback, wet, levelGain, phaseOffset, lfoInc;
	double allpass[2][12];
	int32_t n;
	double piOverFs, twoPiOverFs, b0, a1;
	double lowpass[2][3];
	double lastLfoInc, g, d, levelSmoothed, wetSmoothed;

	void update ()
	{
		centreHz = 100 * std::exp2 (5.321928094887362 * params.frequency);
		sweepHz = centreHz * (0.86 * params.depth + 0.1);
		phaseOffset = params.degree * 3.141592653589793;
		rateHz = 2.0 * params.rate;
		feedback = 0.75 * params.feedback;
		lfoInc = twoPiOverFs * rateHz;
		wet = 0.5 * params.mix;
		levelGain = std::exp2 (7.97262742772967 * params.level - 5.979470570797252);
	}

	void activate ()
	{
		for (auto& chain : allpass)
			for (double& v : chain)
				v = 0.0;
		n = 0;
		d = std::exp (-2.2 / (5.0 * 0.001 * fs));
		g = 1 - d;
		for (auto& state : lowpass)
			for (double& v : state)
				v = 0.0;
		piOverFs = 3.141592653589793 * (1 / fs);
		twoPiOverFs = 6.283185307179586 * (1 / fs);
		const double w = 94.24777960769379 * (1 / fs);
		a1 = (1 - std::sin (w)) / std::cos (w);
		b0 = 0.5 - 0.5 * a1;
		update ();
		lastLfoInc = lfoInc;
		levelSmoothed = levelGain;
		wetSmoothed = wet;
	}

	// The counter for the same sweep phase as the processor takes it where
	// the counter would leave its range: whole turns taken off, to the
	// nearest step; 0 when the step is 0 or a turn does not fit.
	static int32_t counterForPhase (double phase, double step)
	{
		if (!(step > 0))
			return 0;
		double turn = std::fmod (phase, 6.283185307179586);
		if (turn < 0)
			turn += 6.283185307179586;
		const double steps = turn / step + 0.5;
		return steps < 2147483647.0 ? int32_t (steps) : 0;
	}

	// One block. The sample size selects the loop: 32-bit samples take the
	// 32-bit loop's rescale (× r) and narrow the outputs, 64-bit samples the
	// 64-bit loop's (÷ lfoInc).
	template <typename Sample>
	void block (const Sample* inL, const Sample* inR, Sample* outL, Sample* outR, int count)
	{
		const bool narrow = sizeof (Sample) == 4;
		const double r = 1 / lfoInc;
		for (int j = 0; j < count; ++j)
		{
			const double x[2] = {double (inL[j]) + 1e-18, double (inR[j]) + 1e-18};
			levelSmoothed = d * levelSmoothed + g * levelGain;
			wetSmoothed = d * wetSmoothed + g * wet;
			const double dry = 1 - wetSmoothed;
			if (lfoInc != lastLfoInc)
			{
				// the processor's rescale: x + 0.5 truncated toward zero, or
				// beyond the counter's range the counter for the same phase
				if (lfoInc == 0)
					n = 0;
				else
				{
					const double q =
					    narrow ? lastLfoInc * n * r + 0.5 : lastLfoInc * n / lfoInc + 0.5;
					n = q > -2147483649.0 && q < 2147483648.0
					        ? int32_t (q)
					        : counterForPhase (lastLfoInc * n, lfoInc);
				}
				lastLfoInc = lfoInc;
			}
			// The counter never passes its limit: there it starts again from
			// the counter for the same phase.
			if (n == INT32_MAX)
				n = counterForPhase (lfoInc * n, lfoInc);
			const double p = lfoInc * n;
			const double raw[2] = {centreHz + sweepHz * std::sin (p),
			                       centreHz + sweepHz * std::sin (p + phaseOffset)};
			double y[2];
			for (int c = 0; c < 2; ++c)
			{
				double* s = lowpass[c];
				const double f = b0 * (raw[c] + s[1]) + a1 * s[2];
				s[0] = raw[c];
				s[1] = raw[c];
				s[2] = f;
				const double k = piOverFs * f;
				const double a = (1 - k) / (1 + k);
				double* t = allpass[c];
				t[0] = feedback * t[9] + x[c];
				for (std::ptrdiff_t section = 1; section <= 3; ++section)
				{
					const double* in = t + 3 * (section - 1);
					double* out = t + 3 * section;
					out[0] = a * a * (in[0] - out[2]) - 2 * a * (in[1] - out[1]) + in[2];
				}
				for (std::ptrdiff_t tap = 0; tap < 4; ++tap)
				{
					t[3 * tap + 2] = t[3 * tap + 1];
					t[3 * tap + 1] = t[3 * tap];
				}
				y[c] = t[9];
			}
			const double o[2] = {levelSmoothed * (wetSmoothed * y[0] + dry * x[0]),
			                     levelSmoothed * (wetSmoothed * y[1] + dry * x[1])};
			outL[j] = Sample (o[0]);
			outR[j] = Sample (o[1]);
			n = n + 1;
		}
	}
};

} // namespace zytest

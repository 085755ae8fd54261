// The formulas give the same bits as when written out step by step in their
// fixed order. This file is built without contraction or fast-math, so each
// statement below is rounded on its own, in the order written.
#include "processor/dspfunctions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace Steinberg {
namespace Vst {
namespace {

struct RateCase
{
	double value; // cutoff (Hz) or time (ms)
	double sampleRate;
};

/** Arguments drawn from a fixed seed: a reordered formula differs in the last
 *  bit for a good share of them. */
class Draw
{
public:
	double operator() (double lo, double hi)
	{
		return std::uniform_real_distribution<double> (lo, hi) (random);
	}

private:
	std::mt19937 random {1234u};
};

std::vector<RateCase> cutoffCases ()
{
	std::vector<RateCase> cases {{15., 44100.}, {100., 48000.}, {5., 44100.}, {19999., 48000.}};
	Draw draw;
	const double rates[] = {22050., 44100., 48000., 88200., 96000., 192000.};
	for (int i = 0; i < 60; ++i)
	{
		const double rate = rates[i % 6];
		cases.push_back ({draw (0.5, rate * 0.45), rate});
	}
	return cases;
}

TEST (EvaluationOrder, Maps)
{
	struct Case
	{
		double x, inMin, inMax, outMin, outMax;
	};
	std::vector<Case> cases {{0.3, 0., 1., 20., 20000.}, {0.123456789, 0., 1., 100., 4000.}};
	Draw draw;
	for (int i = 0; i < 60; ++i)
	{
		const double inMin = draw (-2., 1.);
		const double outMin = draw (0.01, 200.);
		cases.push_back (
		    {draw (0., 1.), inMin, inMin + draw (0.1, 5.), outMin, outMin * draw (1.5, 1000.)});
	}
	for (const auto& c : cases)
	{
		volatile double d = c.x - c.inMin;
		d = d * (c.outMax - c.outMin);
		d = d / (c.inMax - c.inMin);
		const double linear = d + c.outMin;
		EXPECT_EQ (linearMap (c.x, c.inMin, c.inMax, c.outMin, c.outMax), linear);

		volatile double e = c.x * 3.321928094887362;
		e = e * std::log10 (c.outMax / c.outMin);
		const double fromNormalized = std::exp2 (e) * c.outMin;
		EXPECT_EQ (expMapFromNormalized (c.x, c.outMin, c.outMax), fromNormalized);

		const double r = 1. / c.outMin;
		volatile double num = std::log10 (fromNormalized * r);
		const double toNormalized = num / std::log10 (c.outMax * r);
		EXPECT_EQ (expMapToNormalized (fromNormalized, c.outMin, c.outMax), toNormalized);
	}
}

TEST (EvaluationOrder, LevelLengthAndBandLimit)
{
	Draw draw;
	for (int i = 0; i < 30; ++i)
	{
		const double dB = draw (-60., 20.);
		volatile double e = dB * 0.16609640474436813;
		EXPECT_EQ (dbToGain (dB), std::exp2 (e));
	}
	for (double x : {0.004, 1.2345, 3.999, 77.7, 4321.987, -12.34})
	{
		const int n = static_cast<int> (x * 250.0);
		EXPECT_EQ (scaledLength (x), n + static_cast<int> (n * 0.001)) << x;
	}
	for (double rate : {1999.9, 7999.0, 11025., 16000., 22050., 31999.9})
	{
		volatile double a = rate * 0.0005;
		a = a + (-0.5);
		EXPECT_EQ (bandLimitForSampleRate (rate), static_cast<double> (static_cast<int> (a) * 1000))
		    << rate;
	}
}

TEST (EvaluationOrder, FilterCoeffs)
{
	for (const auto& c : cutoffCases ())
	{
		SCOPED_TRACE (testing::Message () << c.value << " at " << c.sampleRate);
		volatile double w = c.value * 6.283185307179586;
		w = w / c.sampleRate;
		volatile double a1 = 1. - std::sin (w);
		a1 = a1 / std::cos (w);
		volatile double half = a1 * 0.5;

		double b0 = 0., pole = 0.;
		onePoleLowpassCoeffs (b0, pole, c.value, c.sampleRate);
		EXPECT_EQ (b0, 0.5 - half);
		EXPECT_EQ (pole, a1);

		onePoleHighpassCoeffs (b0, pole, c.value, c.sampleRate);
		EXPECT_EQ (b0, half + 0.5);
		EXPECT_EQ (pole, a1);

		volatile double b = 2. - std::cos (w);
		volatile double b2 = b * b;
		b2 = b2 + (-1.);
		const double rc = std::sqrt (b2) - b;
		double gain = 0.;
		onePoleRcLowpassCoeffs (gain, pole, c.value, c.sampleRate);
		EXPECT_EQ (gain, rc + 1.);
		EXPECT_EQ (pole, -rc);
	}
}

TEST (EvaluationOrder, SmoothingAndDecayCoeffs)
{
	// short times: with long ones the pole rounds to the same bits either way
	std::vector<RateCase> times {{5., 44100.}, {0.02, 48000.}};
	Draw draw;
	for (int i = 0; i < 60; ++i)
		times.push_back ({draw (0.001, 0.5), draw (8000., 192000.)});
	for (const auto& c : times)
	{
		volatile double t = c.value * 0.001;
		t = t * c.sampleRate;
		const double r = std::exp (-2.2 / t);
		double gain = 0., pole = 0.;
		smoothingCoeffs (gain, pole, c.value, c.sampleRate);
		EXPECT_EQ (gain, 1. - r);
		EXPECT_EQ (pole, r);
	}

	struct Case
	{
		double decayAtDc, decayAtNyquist, delay;
	};
	std::vector<Case> cases {{2., 1., 0.03}, {3000., 1500., 37.}};
	for (int i = 0; i < 60; ++i)
		cases.push_back ({draw (0.1, 10.), draw (0.1, 10.), draw (0.001, 0.1)});
	for (const auto& c : cases)
	{
		volatile double e = c.delay * (-3.0);
		e = e / c.decayAtDc;
		const double g = std::pow (10., e);
		volatile double k = std::pow (g, 1. - c.decayAtDc / c.decayAtNyquist);
		k = k + 1.;
		volatile double twoOverK = 2. / k;
		double gain = 0., pole = 0.;
		decayCoeffs (gain, pole, c.decayAtDc, c.decayAtNyquist, c.delay);
		EXPECT_EQ (gain, twoOverK * g);
		EXPECT_EQ (pole, 1. - twoOverK);
	}
}

} // anonymous
} // namespace Vst
} // namespace Steinberg

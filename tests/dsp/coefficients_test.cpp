// Filter, smoother and decay coefficients: identities and responses.
#include "processor/dspfunctions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

namespace Steinberg {
namespace Vst {
namespace {

constexpr double kPi = 3.141592653589793;

struct CutoffCase
{
	double cutoffHz;
	double sampleRate;
};

// from very low to close to half the sample rate
const CutoffCase kCutoffs[] = {{15., 44100.},   {15., 192000.},   {100., 48000.},   {1000., 44100.},
                               {5000., 96000.}, {10000., 44100.}, {20000., 48000.}, {3900., 8000.}};

using Complex = std::complex<double>;

/** Response of b0 * (1 + sign * z^-1) / (1 - a1 * z^-1) at w radians per sample. */
double twoTapResponse (double b0, double a1, double sign, double w)
{
	const Complex zInv = std::polar (1., -w);
	return std::abs (b0 * (1. + sign * zInv) / (1. - a1 * zInv));
}

/** Response of gain / (1 - pole * z^-1) at w radians per sample. */
double onePoleResponse (double gain, double pole, double w)
{
	return std::abs (gain / (1. - pole * std::polar (1., -w)));
}

double cutoffOmega (const CutoffCase& c)
{
	return 2. * kPi * c.cutoffHz / c.sampleRate;
}

TEST (OnePoleCoeffs, LowpassAndHighpassIdentitiesAndResponse)
{
	const double halfPower = std::sqrt (0.5);
	for (const auto& c : kCutoffs)
	{
		SCOPED_TRACE (testing::Message () << c.cutoffHz << " Hz at " << c.sampleRate);
		const double w = cutoffOmega (c);
		const double tanHalf = std::tan (w / 2.);

		double b0 = 0., a1 = 0.;
		onePoleLowpassCoeffs (b0, a1, c.cutoffHz, c.sampleRate);
		EXPECT_NEAR (2. * b0 / (1. - a1), 1., 1e-12);
		EXPECT_NEAR (a1, (1. - tanHalf) / (1. + tanHalf), 1e-12);
		EXPECT_NEAR (twoTapResponse (b0, a1, +1., 0.), 1., 1e-12);
		EXPECT_NEAR (twoTapResponse (b0, a1, +1., w), halfPower, 1e-12);

		double hb0 = 0., ha1 = 0.;
		onePoleHighpassCoeffs (hb0, ha1, c.cutoffHz, c.sampleRate);
		EXPECT_EQ (ha1, a1);
		EXPECT_NEAR (2. * hb0 / (1. + ha1), 1., 1e-12);
		EXPECT_NEAR (twoTapResponse (hb0, ha1, -1., kPi), 1., 1e-12);
		EXPECT_NEAR (twoTapResponse (hb0, ha1, -1., w), halfPower, 1e-12);
	}
}

TEST (OnePoleCoeffs, RcLowpassResponse)
{
	for (const auto& c : kCutoffs)
	{
		SCOPED_TRACE (testing::Message () << c.cutoffHz << " Hz at " << c.sampleRate);
		double gain = 0., pole = 0.;
		onePoleRcLowpassCoeffs (gain, pole, c.cutoffHz, c.sampleRate);
		EXPECT_GT (pole, 0.);
		EXPECT_LT (pole, 1.);
		EXPECT_NEAR (gain + pole, 1., 1e-15);
		EXPECT_NEAR (onePoleResponse (gain, pole, 0.), 1., 1e-12);
		// 2 - cos w cancels digits at low cutoffs: about 1e-10 at 15 Hz and 192 kHz
		EXPECT_NEAR (onePoleResponse (gain, pole, cutoffOmega (c)), std::sqrt (0.5), 1e-8);
	}
}

TEST (SmoothingCoeffs, StepSettlesInTheGivenTime)
{
	struct Case
	{
		double timeMs, sampleRate;
		int samples;
	};
	const Case cases[] = {{5., 44100., 221},   {5., 48000., 240}, {5., 96000., 480},
	                      {50., 44100., 2205}, {1., 8000., 8},    {100., 192000., 19200}};
	for (const auto& c : cases)
	{
		SCOPED_TRACE (testing::Message () << c.timeMs << " ms at " << c.sampleRate);
		double gain = 0., pole = 0.;
		smoothingCoeffs (gain, pole, c.timeMs, c.sampleRate);
		EXPECT_NEAR (gain + pole, 1., 1e-15);

		// the step response after the given time, sample by sample
		const double exactSamples = c.timeMs * 0.001 * c.sampleRate;
		double y = 0.;
		for (int n = 0; n < c.samples; ++n)
			y = gain * 1. + pole * y;
		const double remaining = 1. - y;
		EXPECT_NEAR (remaining, std::exp (-2.2 * c.samples / exactSamples), 1e-9);
	}
}

TEST (DecayCoeffs, GainsAtDcAndNyquist)
{
	struct Case
	{
		double decayAtDc, decayAtNyquist, delay;
	};
	const Case cases[] = {{2., 1., 0.03}, {2., 2., 0.03},      {10., 0.5, 0.1},
	                      {1., 4., 0.01}, {3000., 1500., 37.}, {0.5, 0.2, 0.5}};
	for (const auto& c : cases)
	{
		SCOPED_TRACE (testing::Message ()
		              << c.decayAtDc << ", " << c.decayAtNyquist << ", " << c.delay);
		double gain = 0., pole = 0.;
		decayCoeffs (gain, pole, c.decayAtDc, c.decayAtNyquist, c.delay);
		const double dcGain = std::pow (10., -3. * c.delay / c.decayAtDc);
		const double nyquistGain = std::pow (10., -3. * c.delay / c.decayAtNyquist);
		EXPECT_NEAR (onePoleResponse (gain, pole, 0.), dcGain, dcGain * 1e-12);
		EXPECT_NEAR (onePoleResponse (gain, pole, kPi), nyquistGain, nyquistGain * 1e-12);
	}
}

TEST (DecayCoeffs, EqualDecayTimesGiveNoPole)
{
	for (double delay : {0.001, 0.03, 0.5, 2.})
	{
		double gain = 0., pole = 1.;
		decayCoeffs (gain, pole, 2., 2., delay);
		EXPECT_EQ (pole, 0.);
		EXPECT_EQ (gain, std::pow (10., delay * -3. / 2.));
	}
}

} // anonymous
} // namespace Vst
} // namespace Steinberg

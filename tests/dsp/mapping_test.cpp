// Value maps, level conversion, scaled length and band limit.
#include "processor/dspfunctions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace Steinberg {
namespace Vst {
namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN ();
constexpr double kInf = std::numeric_limits<double>::infinity ();

TEST (LinearMap, EndsAndRoundTrip)
{
	struct Range
	{
		double inMin, inMax, outMin, outMax;
	};
	const Range ranges[] = {
	    {0., 1., -36., 12.}, {0., 1., 0., 180.}, {-1., 1., 100., 4000.}, {5., -3., 2., -7.}};
	for (const auto& r : ranges)
	{
		EXPECT_NEAR (linearMap (r.inMin, r.inMin, r.inMax, r.outMin, r.outMax), r.outMin, 1e-12);
		EXPECT_NEAR (linearMap (r.inMax, r.inMin, r.inMax, r.outMin, r.outMax), r.outMax, 1e-12);
		for (double t : {0.1, 0.25, 0.5, 0.9})
		{
			const double x = r.inMin + t * (r.inMax - r.inMin);
			const double y = linearMap (x, r.inMin, r.inMax, r.outMin, r.outMax);
			EXPECT_NEAR (y, r.outMin + t * (r.outMax - r.outMin), 1e-12);
			EXPECT_NEAR (linearMap (y, r.outMin, r.outMax, r.inMin, r.inMax), x, 1e-12);
		}
	}
}

TEST (ExpMap, EndsRoundTripAndGeometricMidpoint)
{
	struct Range
	{
		double min, max;
	};
	const Range ranges[] = {{100., 4000.}, {20., 20000.}, {0.01, 2.}, {1., 1.5}};
	for (const auto& r : ranges)
	{
		EXPECT_NEAR (expMapFromNormalized (0., r.min, r.max), r.min, r.min * 1e-14);
		EXPECT_NEAR (expMapFromNormalized (1., r.min, r.max), r.max, r.max * 1e-14);
		EXPECT_NEAR (expMapFromNormalized (0.5, r.min, r.max), std::sqrt (r.min * r.max),
		             r.max * 1e-14);
		for (double x : {0., 0.1, 0.3333, 0.5275071124607182, 0.75, 1.})
		{
			const double value = expMapFromNormalized (x, r.min, r.max);
			EXPECT_NEAR (expMapToNormalized (value, r.min, r.max), x, 1e-13);
		}
	}
	// the Frequency parameter's default: 700 Hz on 100..4000
	EXPECT_NEAR (expMapFromNormalized (std::log (7.) / std::log (40.), 100., 4000.), 700., 1e-10);
	EXPECT_NEAR (expMapToNormalized (700., 100., 4000.), 0.5275071124607182, 1e-15);
}

TEST (DbToGain, KnownLevels)
{
	struct Case
	{
		double dB, gain;
	};
	const Case cases[] = {{0., 1.},
	                      {20., 10.},
	                      {-20., 0.1},
	                      {40., 100.},
	                      {-36., 0.015848931924611134},
	                      {12., 3.9810717055349722},
	                      {6.020599913279624, 2.}};
	for (const auto& c : cases)
		EXPECT_NEAR (dbToGain (c.dB), c.gain, c.gain * 1e-14) << c.dB << " dB";
	EXPECT_EQ (dbToGain (0.), 1.);
}

TEST (ScaledLength, WorkedValuesAndSaturation)
{
	struct Case
	{
		double x;
		std::int32_t expected;
	};
	const Case cases[] = {
	    {4., 1001},
	    {40., 10010},
	    {1., 250},
	    {0.003, 0},
	    {-1., -250},
	    {0., 0},
	    {3.999, 999}, // n 999.75 truncates to 999, per mille 0
	    {-40., -10010},
	    {8000000., 2002000000}, // near the top of the int32 range, still exact
	    {-8000000., -2002000000},
	    // outside the int32 range the result saturates instead of being undefined
	    {8589934., INT32_MAX}, // n fits, n plus its per mille does not
	    {-8589934., INT32_MIN},
	    {1e10, INT32_MAX},
	    {-1e10, INT32_MIN},
	    {kInf, INT32_MAX},
	    {-kInf, INT32_MIN},
	    {kNan, 0},
	};
	for (const auto& c : cases)
		EXPECT_EQ (scaledLength (c.x), c.expected) << "x = " << c.x;
}

TEST (BandLimitForSampleRate, WorkedValues)
{
	struct Case
	{
		double sampleRate, expected;
	};
	const Case cases[] = {
	    {44100., 16000.},
	    {32000.5, 16000.},
	    {32000., 15000.},
	    {22050., 10000.},
	    {11025., 5000.},
	    {8000., 3000.},
	    {1000., 0.},
	    {48000., 16000.},
	    {192000., 16000.},
	    {31999., 15000.},
	    {30000., 14000.},
	    {3000., 1000.},
	    {2999., 0.},
	    {0., 0.},
	    {kInf, 16000.},
	    // outside the domain: defined, with the conversion saturated
	    {-1e300, -2147483648000.},
	    {kNan, 0.},
	};
	for (const auto& c : cases)
		EXPECT_EQ (bandLimitForSampleRate (c.sampleRate), c.expected) << c.sampleRate << " Hz";
}

} // anonymous
} // namespace Vst
} // namespace Steinberg

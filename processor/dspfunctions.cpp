// Small signal-processing functions built beside the processor. The order of
// every floating-point operation below is deliberate: this file is built with
// contraction and fast-math off so the results stay the same to the last bit.
#include "processor/dspfunctions.h"

#include <cmath>
#include <cstddef>
#include <utility>

namespace Steinberg {
namespace Vst {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kLog2Of10 = 3.321928094887362;
constexpr double kLog2Of10Over20 = 0.16609640474436813;
constexpr double kInt32Min = -2147483648.0;
constexpr double kInt32Max = 2147483647.0;

/** Truncates toward zero like a plain conversion, but saturates at the int32
 *  limits and maps NaN to 0, where the plain conversion is undefined. */
inline std::int32_t truncToInt32 (double v)
{
	const double notNan = (v == v) ? v : 0.;
	const double aboveMin = notNan > kInt32Min ? notNan : kInt32Min;
	const double inRange = aboveMin < kInt32Max ? aboveMin : kInt32Max;
	return static_cast<std::int32_t> (inRange);
}

inline std::int32_t saturateToInt32 (std::int64_t v)
{
	const std::int64_t aboveMin = v > INT32_MIN ? v : INT32_MIN;
	return static_cast<std::int32_t> (aboveMin < INT32_MAX ? aboveMin : INT32_MAX);
}

inline void butterfly (double& a, double& b)
{
	const double sum = a + b;
	b = a - b;
	a = sum;
}

/** One stage of the fast Walsh-Hadamard transform: pair p joins element i, the
 *  p % half-th of its block of 2 * half, with element i + half. */
template <std::size_t Half, std::size_t N, std::size_t... Pair>
inline void butterflyStage (double (&v)[N], std::index_sequence<Pair...>)
{
	constexpr std::size_t block = 2 * Half;
	(butterfly (v[Pair / Half * block + Pair % Half], v[Pair / Half * block + Pair % Half + Half]),
	 ...);
}

/** The unscaled Sylvester-ordered transform as straight-line code: log2 (N)
 *  stages of N / 2 sums and differences each, pairs 1, 2, 4 ... apart. */
template <std::size_t N, std::size_t... Stage>
inline void hadamardButterflies (double (&v)[N], std::index_sequence<Stage...>)
{
	static_assert ((std::size_t {1} << sizeof...(Stage)) == N, "N must be 2 ^ stages");
	(butterflyStage<std::size_t {1} << Stage> (v, std::make_index_sequence<N / 2> ()), ...);
}

/** Column index for a 1-based table index; out of range gives column 0. */
inline std::size_t tableColumn (std::int32_t index, std::uint32_t columns)
{
	// unsigned wrap-around turns index <= 0 into a huge value
	const std::uint32_t zeroBased = static_cast<std::uint32_t> (index) - 1u;
	return zeroBased < columns ? zeroBased : 0u;
}

// Columns by index; column 0 is index 1.
constexpr double kDelayTimes16[4][16] = {
    {32.13723, 26.357152, 23.120309, 20.379699, 18.768045, 17.380903, 15.288217, 13.719974,
     13.194842, 12.193195, 11.449247, 11.798912, 10.877801, 10.785245, 10.586653, 10.055123},
    {33.106302, 27.516927, 21.497599, 21.161598, 18.029872, 16.940632, 15.0809, 14.184423,
     13.115548, 12.704996, 11.839463, 11.58836, 10.937652, 10.24246, 10.22345, 10.012048},
    {40.503959, 27.813877, 22.928411, 17.383673, 16.371867, 15.974569, 14.741325, 13.852415,
     13.190673, 13.153232, 12.145967, 11.91831, 10.859495, 10.663036, 10.489046, 9.037556},
    {53, 47, 43, 41, 37, 31, 29, 23, 19, 17, 13, 11, 7, 5, 3, 2},
};

constexpr double kDelayTimes8[4][8] = {
    {32.13723, 26.357152, 23.120309, 20.379699, 18.768045, 17.380903, 15.288217, 13.719974},
    {33.106302, 27.516927, 21.497599, 21.161598, 18.029872, 16.940632, 15.0809, 14.184423},
    {40.503959, 27.813877, 22.928411, 17.383673, 16.371867, 15.974569, 14.741325, 13.852415},
    {40.36, 33.101, 17.23, 15.313, 12.463, 10.643, 10.439, 9.681},
};

// The last column keeps its two halves of eight:
// clang-format off
constexpr double kDelayTimes16Alt[5][16] = {
    {32.13723, 26.357152, 23.120309, 20.379699, 18.768045, 17.380903, 15.288217, 13.719974,
     32.13723, 26.357152, 23.120309, 20.379699, 18.768045, 17.380903, 15.288217, 13.719974},
    {33.106302, 27.516927, 21.497599, 21.161598, 18.029872, 16.940632, 15.0809, 14.184423,
     33.106302, 27.516927, 21.497599, 21.161598, 18.029872, 16.940632, 15.0809, 14.184423},
    {40.503959, 27.813877, 22.928411, 17.383673, 16.371867, 15.974569, 14.741325, 13.852415,
     40.503959, 27.813877, 22.928411, 17.383673, 16.371867, 15.974569, 14.741325, 13.852415},
    {41, 37, 31, 29, 23, 19, 17, 13, 41, 37, 31, 29, 23, 19, 17, 13},
    {40.503959, 27.813877, 22.928411, 17.383673, 16.371867, 15.974569, 14.741325, 13.852415,
     41, 28, 23, 17, 16, 16, 15, 14},
};
// clang-format on

/** Pole shared by the one-pole low- and high-pass: (1 - tan(w/2)) / (1 + tan(w/2)). */
inline double onePoleA1 (double cutoffHz, double sampleRate)
{
	const double w = cutoffHz * kTwoPi / sampleRate;
	return (1. - std::sin (w)) / std::cos (w);
}

/** Writes one sixteen-value column of a table into its out-parameters. */
inline void writeColumn16 (const double (&c)[16], double& t1, double& t2, double& t3, double& t4,
                           double& t5, double& t6, double& t7, double& t8, double& t9, double& t10,
                           double& t11, double& t12, double& t13, double& t14, double& t15,
                           double& t16)
{
	t1 = c[0];
	t2 = c[1];
	t3 = c[2];
	t4 = c[3];
	t5 = c[4];
	t6 = c[5];
	t7 = c[6];
	t8 = c[7];
	t9 = c[8];
	t10 = c[9];
	t11 = c[10];
	t12 = c[11];
	t13 = c[12];
	t14 = c[13];
	t15 = c[14];
	t16 = c[15];
}

} // anonymous

//------------------------------------------------------------------------
double linearMap (double x, double inMin, double inMax, double outMin, double outMax)
{
	const double scaled = (x - inMin) * (outMax - outMin);
	return scaled / (inMax - inMin) + outMin;
}

//------------------------------------------------------------------------
double expMapFromNormalized (double x, double min, double max)
{
	return std::exp2 ((x * kLog2Of10) * std::log10 (max / min)) * min;
}

//------------------------------------------------------------------------
double expMapToNormalized (double value, double min, double max)
{
	const double r = 1. / min;
	return std::log10 (value * r) / std::log10 (max * r);
}

//------------------------------------------------------------------------
void onePoleLowpassCoeffs (double& b0, double& a1, double cutoffHz, double sampleRate)
{
	const double pole = onePoleA1 (cutoffHz, sampleRate);
	b0 = 0.5 - pole * 0.5;
	a1 = pole;
}

//------------------------------------------------------------------------
void onePoleRcLowpassCoeffs (double& gain, double& pole, double cutoffHz, double sampleRate)
{
	const double b = 2. - std::cos (cutoffHz * kTwoPi / sampleRate);
	const double c = std::sqrt (b * b + (-1.)) - b;
	gain = c + 1.;
	pole = -c;
}

//------------------------------------------------------------------------
void smoothingCoeffs (double& gain, double& pole, double timeMs, double sampleRate)
{
	const double r = std::exp (-2.2 / ((timeMs * 0.001) * sampleRate));
	gain = 1. - r;
	pole = r;
}

//------------------------------------------------------------------------
void onePoleHighpassCoeffs (double& b0, double& a1, double cutoffHz, double sampleRate)
{
	const double pole = onePoleA1 (cutoffHz, sampleRate);
	b0 = pole * 0.5 + 0.5;
	a1 = pole;
}

//------------------------------------------------------------------------
double dbToGain (double dB)
{
	return std::exp2 (dB * kLog2Of10Over20);
}

//------------------------------------------------------------------------
std::int32_t scaledLength (double x)
{
	const std::int32_t n = truncToInt32 (x * 250.0);
	const std::int32_t perMille = truncToInt32 (n * 0.001);
	// the sum only leaves the int32 range when n itself was saturated
	return saturateToInt32 (static_cast<std::int64_t> (n) + perMille);
}

//------------------------------------------------------------------------
void decayCoeffs (double& gain, double& pole, double decayAtDc, double decayAtNyquist, double delay)
{
	const double g = std::pow (10., delay * (-3.0) / decayAtDc);
	const double k = std::pow (g, 1. - decayAtDc / decayAtNyquist) + 1.;
	gain = (2. / k) * g;
	pole = 1. - 2. / k;
}

//------------------------------------------------------------------------
void hadamard16 (double& x0, double& x1, double& x2, double& x3, double& x4, double& x5, double& x6,
                 double& x7, double& x8, double& x9, double& x10, double& x11, double& x12,
                 double& x13, double& x14, double& x15)
{
	// every input is read before any output is written, so the references may alias
	double v[16] = {x0, x1, x2, x3, x4, x5, x6, x7, x8, x9, x10, x11, x12, x13, x14, x15};
	hadamardButterflies (v, std::make_index_sequence<4> ());
	constexpr double scale = 0.25;
	x0 = v[0] * scale;
	x1 = v[1] * scale;
	x2 = v[2] * scale;
	x3 = v[3] * scale;
	x4 = v[4] * scale;
	x5 = v[5] * scale;
	x6 = v[6] * scale;
	x7 = v[7] * scale;
	x8 = v[8] * scale;
	x9 = v[9] * scale;
	x10 = v[10] * scale;
	x11 = v[11] * scale;
	x12 = v[12] * scale;
	x13 = v[13] * scale;
	x14 = v[14] * scale;
	x15 = v[15] * scale;
}

//------------------------------------------------------------------------
void hadamard8 (double& x0, double& x1, double& x2, double& x3, double& x4, double& x5, double& x6,
                double& x7)
{
	double v[8] = {x0, x1, x2, x3, x4, x5, x6, x7};
	hadamardButterflies (v, std::make_index_sequence<3> ());
	// deliberately a little below 1 / sqrt (8)
	constexpr double scale = 0.353553374962831;
	x0 = v[0] * scale;
	x1 = v[1] * scale;
	x2 = v[2] * scale;
	x3 = v[3] * scale;
	x4 = v[4] * scale;
	x5 = v[5] * scale;
	x6 = v[6] * scale;
	x7 = v[7] * scale;
}

//------------------------------------------------------------------------
void delayTimes16 (std::int32_t index, double& t1, double& t2, double& t3, double& t4, double& t5,
                   double& t6, double& t7, double& t8, double& t9, double& t10, double& t11,
                   double& t12, double& t13, double& t14, double& t15, double& t16)
{
	const double (&c)[16] = kDelayTimes16[tableColumn (index, 4)];
	writeColumn16 (c, t1, t2, t3, t4, t5, t6, t7, t8, t9, t10, t11, t12, t13, t14, t15, t16);
}

//------------------------------------------------------------------------
void delayTimes8 (std::int32_t index, double& t1, double& t2, double& t3, double& t4, double& t5,
                  double& t6, double& t7, double& t8)
{
	const double (&c)[8] = kDelayTimes8[tableColumn (index, 4)];
	t1 = c[0];
	t2 = c[1];
	t3 = c[2];
	t4 = c[3];
	t5 = c[4];
	t6 = c[5];
	t7 = c[6];
	t8 = c[7];
}

//------------------------------------------------------------------------
void delayTimes16Alt (std::int32_t index, double& t1, double& t2, double& t3, double& t4,
                      double& t5, double& t6, double& t7, double& t8, double& t9, double& t10,
                      double& t11, double& t12, double& t13, double& t14, double& t15, double& t16)
{
	const double (&c)[16] = kDelayTimes16Alt[tableColumn (index, 5)];
	writeColumn16 (c, t1, t2, t3, t4, t5, t6, t7, t8, t9, t10, t11, t12, t13, t14, t15, t16);
}

//------------------------------------------------------------------------
double bandLimitForSampleRate (double sampleRate)
{
	// the product is done in double: exact for every int32, and never overflows
	const double belowLimit = truncToInt32 (sampleRate * 0.0005 + (-0.5)) * 1000.;
	return sampleRate > 32000. ? 16000. : belowLimit;
}

//------------------------------------------------------------------------
} // namespace Vst
} // namespace Steinberg

// Small signal-processing functions built beside the processor: value maps,
// first-order filter and smoother coefficients, a level conversion, Hadamard
// mixes, delay-time tables and a band limit. Pure functions without state;
// the formulas are evaluated in a fixed order, so results are reproducible to
// the last bit when built without contraction or fast-math.
#pragma once

#include <cstdint>

namespace Steinberg {
namespace Vst {

//------------------------------------------------------------------------
// Value maps
//------------------------------------------------------------------------
/** Maps x linearly from [inMin, inMax] to [outMin, outMax]; inMin != inMax. */
double linearMap (double x, double inMin, double inMax, double outMin, double outMax);

/** min * (max / min)^x for a normalized x; min and max positive. */
double expMapFromNormalized (double x, double min, double max);

/** Inverse of expMapFromNormalized: the normalized x that gives value. */
double expMapToNormalized (double value, double min, double max);

//------------------------------------------------------------------------
// Coefficients (cutoffs below half the sample rate; times positive)
//------------------------------------------------------------------------
/** y[n] = b0 * (x[n] + x[n-1]) + a1 * y[n-1]: gain 1 at DC, -3 dB at cutoff. */
void onePoleLowpassCoeffs (double& b0, double& a1, double cutoffHz, double sampleRate);

/** y[n] = gain * x[n] + pole * y[n-1]: gain 1 at DC, -3 dB at cutoff. */
void onePoleRcLowpassCoeffs (double& gain, double& pole, double cutoffHz, double sampleRate);

/** y[n] = gain * x[n] + pole * y[n-1] settles to within e^-2.2 of a step in timeMs. */
void smoothingCoeffs (double& gain, double& pole, double timeMs, double sampleRate);

/** y[n] = b0 * (x[n] - x[n-1]) + a1 * y[n-1]: gain 1 at Nyquist, -3 dB at cutoff. */
void onePoleHighpassCoeffs (double& b0, double& a1, double cutoffHz, double sampleRate);

/** y[n] = gain * x[n] + pole * y[n-1] loses 60 dB per decay time when passed once
 *  per delay: at DC in decayAtDc, at Nyquist in decayAtNyquist (all in one unit). */
void decayCoeffs (double& gain, double& pole, double decayAtDc, double decayAtNyquist,
                  double delay);

//------------------------------------------------------------------------
// Levels and lengths
//------------------------------------------------------------------------
/** 10^(dB / 20). */
double dbToGain (double dB);

/** n = x * 250 truncated, plus one per thousand of n. Saturates at the int32
 *  limits where the exact result would not fit; NaN gives 0. */
std::int32_t scaledLength (double x);

/** 16000 above 32 kHz, else whole kHz just below half the rate, in Hz. */
double bandLimitForSampleRate (double sampleRate);

//------------------------------------------------------------------------
// Hadamard mixes, in place (the references may alias an array's elements)
//------------------------------------------------------------------------
/** Sylvester-ordered 16-point Hadamard transform scaled by 1/4 (self-inverse). */
void hadamard16 (double& x0, double& x1, double& x2, double& x3, double& x4, double& x5, double& x6,
                 double& x7, double& x8, double& x9, double& x10, double& x11, double& x12,
                 double& x13, double& x14, double& x15);

/** Sylvester-ordered 8-point Hadamard transform scaled by 0.353553374962831. */
void hadamard8 (double& x0, double& x1, double& x2, double& x3, double& x4, double& x5, double& x6,
                double& x7);

//------------------------------------------------------------------------
// Delay-time tables: an index out of range selects column 1
//------------------------------------------------------------------------
/** Columns 1 to 4. */
void delayTimes16 (std::int32_t index, double& t1, double& t2, double& t3, double& t4, double& t5,
                   double& t6, double& t7, double& t8, double& t9, double& t10, double& t11,
                   double& t12, double& t13, double& t14, double& t15, double& t16);

/** Columns 1 to 4. */
void delayTimes8 (std::int32_t index, double& t1, double& t2, double& t3, double& t4, double& t5,
                  double& t6, double& t7, double& t8);

/** Columns 1 to 5. */
void delayTimes16Alt (std::int32_t index, double& t1, double& t2, double& t3, double& t4,
                      double& t5, double& t6, double& t7, double& t8, double& t9, double& t10,
                      double& t11, double& t12, double& t13, double& t14, double& t15, double& t16);

//------------------------------------------------------------------------
} // namespace Vst
} // namespace Steinberg

// When the feedback has rung out, and how long that can take: what lets a
// block flagged silent skip the phaser without cutting a tail, and the tail
// the host is told of.
#pragma once

#include "pluginterfaces/base/ftypes.h"

namespace Steinberg {
namespace Vst {

// The chains have rung out when every value they hold, left and right, is
// below this (-160 dB). The chains reach the output at most through Level's
// +12 dB and the wet share of 0.5, and what rung-out chains still give there,
// measured over every setting of zy_ratefloor --tail, stays below -150 dBFS:
// under the last bit of 24-bit audio (-144 dBFS), so neither the ring left
// out from there on nor what is left in the chains when sound returns can be
// heard. The denormal guard holds silent chains within 4e-18 of zero, far
// below this, so they always get there.
constexpr double kRungOutLevel = 1e-8;

// Whether both all-pass chains have rung out.
bool chainsRungOut (const double (&left)[12], const double (&right)[12]);

// The longest ring-out, from the last sample of full-scale input until the
// chains have rung out, as zy_ratefloor --tail measured it over every corner
// of the parameter ranges, random settings between, and the slowest sweeps,
// after noise and after a steady input. The longest rings are those of the
// widest sweep standing still at one of its ends at full feedback: at its
// bottom, 4 Hz, 33 s at every rate (the poles follow the frequency in Hz);
// at its top, 7840 Hz and far beyond the Nyquist frequency, 35 s at 500 Hz.
// The corners of the ranges ring for at most 1.4 s, a sweep of 0.01 Hz
// (Rate 0.5 %) for about 10 s. The tail keeps a margin over the longest.
constexpr double kLongestRingOutSeconds = 40.0;

// That ring-out in samples at a sample rate, rounded up.
uint32 tailSamplesAt (double sampleRate);

} // namespace Vst
} // namespace Steinberg

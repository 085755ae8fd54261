// Constants that activation, the derived values and the loop share. Each is
// the double the phaser has always used, so that no output changes by a bit.
#pragma once

namespace Steinberg {
namespace Vst {

// π and 2π, each the nearest double.
constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;

// The sweep frequencies pass a one-pole lowpass with its corner at 15 Hz;
// its angular frequency 2π × 15 is 94.24777960769379, exactly the product
// of the two doubles.
constexpr double kSweepLowpassHz = 15.0;
constexpr double kSweepLowpassOmega = kTwoPi * kSweepLowpassHz;

// The smoothing time spans 2.2 time constants of the level and mix
// smoothers: when it has passed, 1 - e^-2.2 (about 89 %) of a step is done.
constexpr double kSmoothingTimeConstants = 2.2;

} // namespace Vst
} // namespace Steinberg

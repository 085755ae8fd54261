// A reproducible source of uniform values, for the measurements' noise and
// random settings and for the tests' noise: one 64-bit linear congruential
// step per value, whose top 53 bits make the value.
#pragma once

#include <cstdint>

namespace zyhost {

struct Noise
{
	uint64_t state;

	// In [0, 1).
	double unit ()
	{
		state = state * 6364136223846793005ull + 1442695040888963407ull;
		return static_cast<double> (state >> 11) * 0x1.0p-53;
	}
	// Full scale, in [-1, 1).
	double fullScale () { return 2.0 * unit () - 1.0; }
};

} // namespace zyhost

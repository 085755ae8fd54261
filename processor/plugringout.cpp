#include "processor/plugringout.h"

#include <cmath>
#include <limits>

namespace Steinberg {
namespace Vst {

namespace {

bool chainRungOut (const double (&chain)[12])
{
	for (double value : chain)
	{
		if (!(std::fabs (value) < kRungOutLevel))
			return false;
	}
	return true;
}

} // namespace

bool chainsRungOut (const double (&left)[12], const double (&right)[12])
{
	return chainRungOut (left) && chainRungOut (right);
}

uint32 tailSamplesAt (double sampleRate)
{
	// Neither kNoTail (0) nor kInfiniteTail (the largest uint32), whatever
	// the rate.
	const double samples = std::ceil (kLongestRingOutSeconds * sampleRate);
	if (!(samples >= 1.0))
		return 1;
	constexpr double kMost = std::numeric_limits<uint32>::max () - 1.0;
	return samples < kMost ? static_cast<uint32> (samples) : static_cast<uint32> (kMost);
}

} // namespace Vst
} // namespace Steinberg

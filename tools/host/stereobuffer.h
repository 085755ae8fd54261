// Stereo audio held as 64-bit samples: 32-bit input converts to it and back
// without loss, so one buffer type serves both processing precisions.
#pragma once

#include <cstddef>
#include <vector>

namespace zyhost {

struct StereoBuffer
{
	double sampleRate {0.};
	std::vector<double> left;
	std::vector<double> right;

	size_t frames () const { return left.size (); }
	void resize (size_t frames)
	{
		left.resize (frames);
		right.resize (frames);
	}
};

} // namespace zyhost

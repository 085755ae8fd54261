// The levels zy_host reports: peak and RMS per channel, of a render or of
// what a file of integer samples makes of it, and the samples such a file
// clips.
#pragma once

#include "tools/host/stereobuffer.h"

#include <cstddef>
#include <string>

namespace zyhost {

struct Levels
{
	double peak[2] = {0., 0.};
	double rms[2] = {0., 0.};
};

// The levels of a buffer, or with clipped of what an integer file makes of it
// (samples beyond full scale clipped).
Levels levelsOf (const StereoBuffer& buffer, bool clipped);
// "peak -6.5 / -6.6 dBFS, RMS ...", with the rendered peak beside it when
// given and not the same.
std::string levelsText (const Levels& levels, const Levels* rendered = nullptr);
std::string decibels (double linear);

// Samples beyond full scale, of both channels.
size_t clippedSamples (const StereoBuffer& buffer);

} // namespace zyhost

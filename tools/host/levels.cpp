#include "tools/host/levels.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zyhost {

std::string decibels (double linear)
{
	if (linear <= 0.)
		return "-inf";
	char text[32];
	std::snprintf (text, sizeof (text), "%+.1f", 20. * std::log10 (linear));
	return text;
}

Levels levelsOf (const StereoBuffer& buffer, bool clipped)
{
	Levels levels;
	double sum[2] = {0., 0.};
	for (size_t i = 0; i < buffer.frames (); ++i)
	{
		const double s[2] = {buffer.left[i], buffer.right[i]};
		for (int c = 0; c < 2; ++c)
		{
			const double held = clipped ? std::clamp (s[c], -1., 1.) : s[c];
			levels.peak[c] = std::max (levels.peak[c], std::fabs (held));
			sum[c] += held * held;
		}
	}
	const double n = std::max<double> (1., buffer.frames ());
	for (int c = 0; c < 2; ++c)
		levels.rms[c] = std::sqrt (sum[c] / n);
	return levels;
}

std::string levelsText (const Levels& levels, const Levels* rendered)
{
	std::string text =
	    "peak " + decibels (levels.peak[0]) + " / " + decibels (levels.peak[1]) + " dBFS";
	if (rendered && (rendered->peak[0] != levels.peak[0] || rendered->peak[1] != levels.peak[1]))
		text += " (rendered " + decibels (rendered->peak[0]) + " / " +
		        decibels (rendered->peak[1]) + ")";
	return text + ", RMS " + decibels (levels.rms[0]) + " / " + decibels (levels.rms[1]) +
	       " dBFS (L / R)";
}

size_t clippedSamples (const StereoBuffer& buffer)
{
	size_t count = 0;
	for (size_t i = 0; i < buffer.frames (); ++i)
		count += (std::fabs (buffer.left[i]) > 1.) + (std::fabs (buffer.right[i]) > 1.);
	return count;
}

} // namespace zyhost

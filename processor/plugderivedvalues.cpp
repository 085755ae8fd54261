// From the normalized parameter block to the values the phaser reads.

#include "processor/plugphaserconstants.h"
#include "processor/plugprocessor.h"

#include <cmath>

namespace Steinberg {
namespace Vst {

namespace {

// Values outside 0..1 are kept as given but sound as the nearest end, so that
// no stored project drives the feedback or the gain past their ranges.
inline double unitRange (double value)
{
	return value < 0.0 ? 0.0 : (value > 1.0 ? 1.0 : value);
}

} // namespace

PlugDerivedValues PlugProcessor::deriveValues (const PlugParams& block, double twoPiOverFs)
{
	PlugDerivedValues values;
	values.centreHz = 100.0 * std::exp2 (5.321928094887362 * unitRange (block.frequency));
	values.sweepHz = values.centreHz * (0.86 * unitRange (block.depth) + 0.1);
	values.phaseOffset = unitRange (block.degree) * kPi;
	values.rateHz = 2.0 * unitRange (block.rate);
	values.feedback = 0.75 * unitRange (block.feedback);
	values.lfoInc = twoPiOverFs * values.rateHz;
	values.wet = 0.5 * unitRange (block.mix);
	values.levelGain = std::exp2 (7.97262742772967 * unitRange (block.level) - 5.979470570797252);
	return values;
}

void PlugProcessor::assignDerivedValues (const PlugDerivedValues& values)
{
	centreHz = values.centreHz;
	sweepHz = values.sweepHz;
	rateHz = values.rateHz;
	feedback = values.feedback;
	wet = values.wet;
	levelGain = values.levelGain;
	phaseOffset = values.phaseOffset;
	lfoInc = values.lfoInc;
}

void PlugProcessor::updateParameters (bool snap)
{
	assignDerivedValues (deriveValues (params, twoPiOverFs));
	if (snap)
	{
		lastLfoInc = lfoInc;
		levelSmoothed = levelGain;
		wetSmoothed = wet;
	}
}

} // namespace Vst
} // namespace Steinberg

// The values the phaser reads, derived from a parameter block.
#pragma once

namespace Steinberg {
namespace Vst {

struct PlugDerivedValues
{
	double centreHz;
	double sweepHz;
	double rateHz;
	double feedback;
	double wet;
	double levelGain;
	double phaseOffset;
	double lfoInc;
};

} // namespace Vst
} // namespace Steinberg

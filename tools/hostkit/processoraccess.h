// The one door into a PlugProcessor's own data, for the tests and the
// measurement tools: the parameter block, the derived values, the
// coefficients and the phaser's state, by their names in the processor. The
// tests read them to hold the loop to its formulas and set the phaser's
// state to start a block where they need it (the sweep counter hours into a
// run, say); zy_ratefloor runs the phaser at rates that setupProcessing
// refuses. Nothing here is for a host.
//
//   inside (*processor).lfoCounter = INT32_MAX - 10;
#pragma once

#include "processor/plugprocessor.h"

namespace Steinberg {
namespace Vst {

class PlugProcessorTestAccess
{
public:
	explicit PlugProcessorTestAccess (PlugProcessor& p)
	: sampleRate (p.sampleRate)
	, smoothingMs (p.smoothingMs)
	, piOverFs (p.piOverFs)
	, twoPiOverFs (p.twoPiOverFs)
	, sweepLowpassB0 (p.sweepLowpassB0)
	, sweepLowpassA1 (p.sweepLowpassA1)
	, smootherGain (p.smootherGain)
	, smootherPole (p.smootherPole)
	, params (p.params)
	, centreHz (p.centreHz)
	, sweepHz (p.sweepHz)
	, rateHz (p.rateHz)
	, feedback (p.feedback)
	, wet (p.wet)
	, levelGain (p.levelGain)
	, phaseOffset (p.phaseOffset)
	, lfoInc (p.lfoInc)
	, allpassLeft (p.allpassLeft)
	, allpassRight (p.allpassRight)
	, lfoCounter (p.lfoCounter)
	, sweepLowpassState (p.sweepLowpassState)
	, lastLfoInc (p.lastLfoInc)
	, levelSmoothed (p.levelSmoothed)
	, wetSmoothed (p.wetSmoothed)
	, processor (p)
	{
	}

	// The 64-bit loop alone, without the dispatch of process.
	void processAudio64 (Sample64** in, Sample64** out, int32 count)
	{
		processor.processAudio64 (in, out, count);
	}

	double& sampleRate;
	double& smoothingMs;
	double& piOverFs;
	double& twoPiOverFs;
	double& sweepLowpassB0;
	double& sweepLowpassA1;
	double& smootherGain;
	double& smootherPole;

	PlugParams& params;
	double& centreHz;
	double& sweepHz;
	double& rateHz;
	double& feedback;
	double& wet;
	double& levelGain;
	double& phaseOffset;
	double& lfoInc;

	double (&allpassLeft)[12];
	double (&allpassRight)[12];
	int32& lfoCounter;
	double (&sweepLowpassState)[6];
	double& lastLfoInc;
	double& levelSmoothed;
	double& wetSmoothed;

private:
	PlugProcessor& processor;
};

} // namespace Vst
} // namespace Steinberg

namespace zyhost {

inline Steinberg::Vst::PlugProcessorTestAccess inside (Steinberg::Vst::PlugProcessor& processor)
{
	return Steinberg::Vst::PlugProcessorTestAccess (processor);
}

} // namespace zyhost

// The audio processor component of zy Phaser: a stereo phaser of six
// first-order all-pass stages per channel, swept by a sine, with feedback, a
// wet/dry blend and an output level.
#pragma once

#include "processor/plugderivedvalues.h"
#include "processor/plugparams.h"
#include "processor/plugstatehandover.h"
#include "public.sdk/source/vst/vstaudioeffect.h"

namespace Steinberg {
namespace Vst {

class PlugProcessor : public AudioEffect
{
public:
	PlugProcessor ();

	static FUnknown* createInstance (void*);

	// IComponent
	tresult PLUGIN_API initialize (FUnknown* context) SMTG_OVERRIDE;
	tresult PLUGIN_API setActive (TBool state) SMTG_OVERRIDE;
	tresult PLUGIN_API setState (IBStream* state) SMTG_OVERRIDE;
	tresult PLUGIN_API getState (IBStream* state) SMTG_OVERRIDE;

	// IAudioProcessor
	tresult PLUGIN_API setBusArrangements (SpeakerArrangement* inputs, int32 numIns,
	                                       SpeakerArrangement* outputs,
	                                       int32 numOuts) SMTG_OVERRIDE;
	tresult PLUGIN_API canProcessSampleSize (int32 symbolicSampleSize) SMTG_OVERRIDE;
	tresult PLUGIN_API setupProcessing (ProcessSetup& setup) SMTG_OVERRIDE;
	tresult PLUGIN_API process (ProcessData& data) SMTG_OVERRIDE;
	// How long the feedback can ring on after the input has stopped.
	uint32 PLUGIN_API getTailSamples () SMTG_OVERRIDE;

	// The derived values for a parameter block; values outside 0..1 count as
	// the nearest end of the range.
	static PlugDerivedValues deriveValues (const PlugParams& block, double twoPiOverFs);

private:
	// The tests' and the measurement tools' one way in
	// (tools/hostkit/processoraccess.h).
	friend class PlugProcessorTestAccess;

	// Recomputes the derived values from params; with snap also starts the
	// smoothers and the counter rescale at their targets.
	void updateParameters (bool snap);
	void assignDerivedValues (const PlugDerivedValues& values);
	// At the start of a block: a restore that has arrived, then the queues.
	void takeParameters (IParameterChanges* changes);
	bool adoptRestoredState ();

	// The phaser over channels 0 and 1 of a block, on the derived values and
	// coefficients held in the fields below (plugphaser.cpp).
	void processAudio32 (Sample32** in, Sample32** out, int32 count);
	void processAudio64 (Sample64** in, Sample64** out, int32 count);
	template <typename Sample>
	void runPhaser (Sample** in, Sample** out, int32 count);
	void rescaleCounter (double quotient, double oldInc, double newInc);
	void clearRunawayChain (double* chain);

	// --- Main thread, while processing is stopped (initialize,
	// setupProcessing, activation). process and setState only read these.
	double sampleRate = 44100.0;
	double smoothingMs = 5.0;
	double piOverFs = 0.0;    // pi / fs: a frequency in Hz into the all-pass coefficient
	double twoPiOverFs = 0.0; // 2 pi / fs: the sweep rate in Hz into lfoInc
	double sweepLowpassB0 = 0.0;
	double sweepLowpassA1 = 0.0;
	double smootherGain = 0.0; // 1 - d of the level and wet smoothers
	double smootherPole = 0.0; // d

	// --- Audio thread (and activation, which the format keeps apart from
	// process). The main thread never writes these: a restored block reaches
	// them through stateHandOver.
	PlugParams params;
	// Derived from params (updateParameters)
	double centreHz = 0.0;
	double sweepHz = 0.0;
	double rateHz = 0.0;
	double feedback = 0.0;
	double wet = 0.0;
	double levelGain = 0.0;
	double phaseOffset = 0.0;
	double lfoInc = 0.0;
	// The phaser's state. Each chain holds four taps (input, three section
	// outputs) of three values each: current, one sample earlier, two
	// samples earlier.
	double allpassLeft[12] = {};
	double allpassRight[12] = {};
	int32 lfoCounter = 0;
	// Left then right: input, previous input, previous output (Hz).
	double sweepLowpassState[6] = {};
	double lastLfoInc = 0.0;
	double levelSmoothed = 0.0;
	double wetSmoothed = 0.0;

	// --- Between the threads: restored blocks in, the running block out
	// for getState (plugstatehandover.h).
	PlugStateHandOver stateHandOver;
};

} // namespace Vst
} // namespace Steinberg

// The audio processor component of zy Phaser: a stereo phaser of six
// first-order all-pass stages per channel, swept by a sine, with feedback, a
// wet/dry blend and an output level.
#pragma once

#include "processor/plughandover.h"
#include "processor/plugparams.h"
#include "public.sdk/source/vst/vstaudioeffect.h"

#include <atomic>

namespace Steinberg {
namespace Vst {

// The values the phaser reads, derived from a parameter block.
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

// A parameter block on its way between the main thread and the audio thread,
// numbered by the state restore it stems from.
struct PlugParamsRecord
{
	PlugParams params;
	uint32 serial;
};

class PlugProcessor : public AudioEffect
{
public:
	PlugProcessor ();

	static FUnknown* createInstance (void*)
	{
		return static_cast<IAudioProcessor*> (new PlugProcessor ());
	}

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

	// Recomputes the derived values from params; with snap also starts the
	// smoothers and the counter rescale at their targets.
	void updateParameters (bool snap);

	// The phaser over channels 0 and 1 of a block, on the derived values held.
	void processAudio32 (Sample32** in, Sample32** out, int32 count);
	void processAudio64 (Sample64** in, Sample64** out, int32 count);

	// The derived values for a parameter block; values outside 0..1 count as
	// the nearest end of the range.
	static PlugDerivedValues deriveValues (const PlugParams& block, double twoPiOverFs);

	// Parameters. Outside process they belong to the thread that holds
	// paramOwner; see plugstate.cpp.
	PlugParams params;
	double sampleRate = 44100.0;

	// Derived values (updateParameters)
	double centreHz = 0.0;
	double sweepHz = 0.0;
	double rateHz = 0.0;
	double feedback = 0.0;
	double wet = 0.0;
	double levelGain = 0.0;

	// Phaser state and coefficients (activation and the loops). Each chain
	// holds four taps (input, three section outputs) of three values each:
	// current, one sample earlier, two samples earlier.
	double allpassLeft[12] = {};
	double allpassRight[12] = {};
	int32 lfoCounter = 0;
	double piOverFs = 0.0;
	double twoPiOverFs = 0.0;
	double phaseOffset = 0.0;
	double lfoInc = 0.0;
	double sweepLowpassB0 = 0.0;
	double sweepLowpassA1 = 0.0;
	// Left then right: input, previous input, previous output (Hz).
	double sweepLowpassState[6] = {};
	double lastLfoInc = 0.0;
	double smoothingMs = 5.0;
	double smootherGain = 0.0;
	double smootherPole = 0.0;
	double levelSmoothed = 0.0;
	double wetSmoothed = 0.0;

private:
	template <typename Sample>
	void runPhaser (const PlugDerivedValues& values, Sample** in, Sample** out, int32 count);
	void rescaleCounter (double quotient, double oldInc, double newInc);
	void clearRunawayChain (double* chain);
	void assignDerivedValues (const PlugDerivedValues& values);
	PlugDerivedValues heldDerivedValues () const;
	void renderBlock (ProcessData& data, const PlugDerivedValues& values, bool bypass);

	// Parameter intake and the hand-over of restored states (plugstate.cpp).
	static bool takeParameterChanges (IParameterChanges* changes, PlugParams& block);
	bool adoptHandedOverState ();
	void publishParams (const PlugParams& block, uint32 serial);
	bool tryOwnParams (int32 owner);
	void releaseParams ();
	void installRestoredState ();

	enum ParamOwner : int32
	{
		kNobody,
		kAudioThread,
		kMainThread,
	};
	std::atomic<int32> paramOwner {kNobody};
	uint32 adoptedSerial = 0; // serial of the state that params stems from

	PlugHandOver<PlugParamsRecord> restoredStates;  // main thread to audio thread
	PlugHandOver<PlugParamsRecord> publishedParams; // audio thread to main thread

	// Main thread only
	uint32 stateSerial = 0;
	PlugParams lastRestored;

	// Audio thread only: what the last block ran on, and the intake of a block
	// that ran while the main thread held params, to be taken over next block.
	PlugParams audioView;
	uint32 audioViewSerial = 0;
	PlugParams carried;
	uint32 carriedSerial = 0;
	bool hasCarried = false;
};

} // namespace Vst
} // namespace Steinberg

#include "processor/plugprocessor.h"
#include "processor/plugcids.h"

namespace Steinberg {
namespace Vst {

PlugProcessor::PlugProcessor ()
{
	setControllerClass (PlugControllerUID);
	params = {0.75, 0.527507, 0.5, 0.5, 0.15, 0.5, 1.0, false};
}

tresult PLUGIN_API PlugProcessor::initialize (FUnknown* context)
{
	if (AudioEffect::initialize (context) != kResultOk)
		return kResultFalse;
	addAudioInput (STR16 ("AudioInput"), SpeakerArr::kStereo);
	addAudioOutput (STR16 ("AudioOutput"), SpeakerArr::kStereo);
	return kResultOk;
}

tresult PLUGIN_API PlugProcessor::process (ProcessData&)
{
	return kResultOk;
}

tresult PlugParams::read (IBStream*) { return kResultFalse; }
tresult PlugParams::write (IBStream*) const { return kResultFalse; }

} // namespace Vst
} // namespace Steinberg

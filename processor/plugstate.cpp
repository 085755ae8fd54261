// The processor's state: the parameter block through the 68-byte record.
// The hand-over (plugstatehandover.h) keeps both apart from process.

#include "processor/plugprocessor.h"

namespace Steinberg {
namespace Vst {

tresult PLUGIN_API PlugProcessor::setState (IBStream* state)
{
	PlugParams restored {};
	const tresult result = restored.read (state);
	// A failed read leaves the block, and so the derived values, as they are.
	if (result != kResultOk)
		return result;
	stateHandOver.restore (restored);
	return result;
}

tresult PLUGIN_API PlugProcessor::getState (IBStream* state)
{
	return stateHandOver.current ().write (state);
}

} // namespace Vst
} // namespace Steinberg

#include "processor/plugparams.h"

#include "base/source/fstreamer.h"

#include <cmath>

namespace Steinberg {
namespace Vst {

tresult PlugParams::read (IBStream* stream)
{
	if (!stream)
		return kResultFalse;
	IBStreamer streamer (stream, kLittleEndian);

	// Everything goes into scratch values first: a record that breaks off
	// leaves the block as it was.
	int64 leadingWord = 0;
	double values[7] = {};
	int32 bypassWord = 0;
	if (!streamer.readInt64 (leadingWord))
		return kResultFalse;
	for (double& value : values)
	{
		if (!streamer.readDouble (value))
			return kResultFalse;
	}
	if (!streamer.readInt32 (bypassWord))
		return kResultFalse;

	// No parameter is ever NaN or infinite: such a record is damaged.
	for (double value : values)
	{
		if (!std::isfinite (value))
			return kResultFalse;
	}

	level = values[kLevelTag];
	frequency = values[kFrequencyTag];
	depth = values[kDepthTag];
	degree = values[kDegreeTag];
	rate = values[kRateTag];
	feedback = values[kFeedbackTag];
	mix = values[kMixTag];
	bypass = bypassWord > 0;
	return kResultOk;
}

tresult PlugParams::write (IBStream* stream) const
{
	if (!stream)
		return kResultFalse;
	IBStreamer streamer (stream, kLittleEndian);

	const double values[7] = {level, frequency, depth, degree, rate, feedback, mix};
	if (!streamer.writeInt64 (0))
		return kResultFalse;
	for (double value : values)
	{
		if (!streamer.writeDouble (value))
			return kResultFalse;
	}
	if (!streamer.writeInt32 (bypass ? 1 : 0))
		return kResultFalse;
	return kResultOk;
}

} // namespace Vst
} // namespace Steinberg

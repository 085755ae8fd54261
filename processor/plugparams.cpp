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

	// Everything goes into a scratch block first: a record that breaks off
	// leaves this one as it was.
	PlugParams scratch = *this;
	int64 leadingWord = 0;
	int32 bypassWord = 0;
	if (!streamer.readInt64 (leadingWord))
		return kResultFalse;
	for (int32 tag = 0; tag < kPlugValueCount; ++tag)
	{
		if (!streamer.readDouble (scratch.value (tag)))
			return kResultFalse;
	}
	if (!streamer.readInt32 (bypassWord))
		return kResultFalse;

	// No parameter is ever NaN or infinite: such a record is damaged.
	for (int32 tag = 0; tag < kPlugValueCount; ++tag)
	{
		if (!std::isfinite (scratch.value (tag)))
			return kResultFalse;
	}

	scratch.bypass = bypassWord > 0;
	*this = scratch;
	return kResultOk;
}

tresult PlugParams::write (IBStream* stream) const
{
	if (!stream)
		return kResultFalse;
	IBStreamer streamer (stream, kLittleEndian);

	if (!streamer.writeInt64 (0))
		return kResultFalse;
	for (int32 tag = 0; tag < kPlugValueCount; ++tag)
	{
		if (!streamer.writeDouble (value (tag)))
			return kResultFalse;
	}
	if (!streamer.writeInt32 (bypass ? 1 : 0))
		return kResultFalse;
	return kResultOk;
}

} // namespace Vst
} // namespace Steinberg

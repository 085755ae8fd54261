// The processor's parameter block and the tags of the eight parameters.
#pragma once

#include "pluginterfaces/base/ibstream.h"

namespace Steinberg {
namespace Vst {

enum PlugParamTag : int32
{
	kLevelTag = 0,
	kFrequencyTag = 1,
	kDepthTag = 2,
	kDegreeTag = 3,
	kRateTag = 4,
	kFeedbackTag = 5,
	kMixTag = 6,
	kBypassTag = 7,
};

// Seven normalized values (tags 0 to 6, in tag order) and the bypass flag.
// read and write define the processor state: 68 bytes, little-endian.
struct PlugParams
{
	double level;
	double frequency;
	double depth;
	double degree;
	double rate;
	double feedback;
	double mix;
	bool bypass;

	// Fills the block only when the whole record was read and every value is
	// finite; otherwise answers kResultFalse and changes nothing.
	tresult read (IBStream* stream);
	// Writes the record; kResultFalse at the first field the stream refuses.
	tresult write (IBStream* stream) const;
};

} // namespace Vst
} // namespace Steinberg

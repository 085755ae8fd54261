// The processor's parameter block and the tags of the eight parameters.
#pragma once

#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/vst/vsttypes.h"

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

// Tags kLevelTag to kMixTag hold a normalized value; Bypass, a flag.
constexpr int32 kPlugValueCount = kMixTag + 1;

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

	// The normalized value of a tag from kLevelTag to kMixTag.
	constexpr double& value (int32 tag);
	constexpr double value (int32 tag) const;

	// Any parameter as a host sees it: Bypass reads 0 or 1.
	constexpr ParamValue normalized (ParamID tag) const;
	// Takes a host's normalized value; Bypass is on above one half. A tag
	// that names no parameter changes nothing and answers false.
	constexpr bool setNormalized (ParamID tag, ParamValue normalized);

	// Fills the block only when the whole record was read and every value is
	// finite; otherwise answers kResultFalse and changes nothing.
	tresult read (IBStream* stream);
	// Writes the record; kResultFalse at the first field the stream refuses.
	tresult write (IBStream* stream) const;
};

// The field of each normalized value, in tag order: the one mapping from a
// tag to the block.
inline constexpr double PlugParams::*kPlugValueFields[kPlugValueCount] = {
    &PlugParams::level, &PlugParams::frequency, &PlugParams::depth, &PlugParams::degree,
    &PlugParams::rate,  &PlugParams::feedback,  &PlugParams::mix};

// The block of a fresh processor: the controller's defaults, with Frequency's
// 700 Hz stored to six places as the state has always held it.
inline constexpr PlugParams kPlugDefaultParams = {0.75, 0.527507, 0.5, 0.5, 0.15, 0.5, 1.0, false};

constexpr double& PlugParams::value (int32 tag)
{
	return this->*kPlugValueFields[tag];
}

constexpr double PlugParams::value (int32 tag) const
{
	return this->*kPlugValueFields[tag];
}

constexpr ParamValue PlugParams::normalized (ParamID tag) const
{
	if (tag == kBypassTag)
		return bypass ? 1. : 0.;
	return tag < kPlugValueCount ? value (static_cast<int32> (tag)) : 0.;
}

constexpr bool PlugParams::setNormalized (ParamID tag, ParamValue normalized)
{
	if (tag == kBypassTag)
		bypass = normalized > 0.5;
	else if (tag < kPlugValueCount)
		value (static_cast<int32> (tag)) = normalized;
	else
		return false;
	return true;
}

} // namespace Vst
} // namespace Steinberg

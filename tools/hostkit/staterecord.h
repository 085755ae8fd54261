// The processor's state record, built field by field for the tests and tools: the
// leading word, the seven values in tag order and the bypass word, 68 bytes,
// little-endian.
#pragma once

#include "processor/plugparams.h"

#include "pluginterfaces/base/ftypes.h"
#include "public.sdk/source/vst/utility/memoryibstream.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace zyhost {

using StateValues = std::array<double, 7>;

// The seven normalized values of a parameter block, in tag order.
constexpr StateValues valuesOf (const Steinberg::Vst::PlugParams& block)
{
	StateValues values {};
	for (Steinberg::int32 tag = 0; tag < Steinberg::Vst::kPlugValueCount; ++tag)
		values[tag] = block.value (tag);
	return values;
}

// The processor's defaults, in tag order.
constexpr StateValues kDefaultStateValues = valuesOf (Steinberg::Vst::kPlugDefaultParams);

template <typename Field>
void appendLittleEndian (std::vector<Steinberg::uint8>& bytes, Field field)
{
	Steinberg::uint8 raw[sizeof (Field)];
	std::memcpy (raw, &field, sizeof (Field));
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
	std::reverse (std::begin (raw), std::end (raw));
#endif
	bytes.insert (bytes.end (), std::begin (raw), std::end (raw));
}

// Values: seven doubles, as a plain array or a StateValues.
template <typename Values>
std::vector<Steinberg::uint8> record (Steinberg::int64 leading, const Values& values,
                                      Steinberg::int32 bypassWord)
{
	static_assert (sizeof (Values) == 7 * sizeof (double), "a record holds seven values");
	std::vector<Steinberg::uint8> bytes;
	appendLittleEndian (bytes, leading);
	for (double value : values)
		appendLittleEndian (bytes, value);
	appendLittleEndian (bytes, bypassWord);
	return bytes;
}

// A record with a zero leading word, cut to length bytes, in a rewound stream.
inline Steinberg::IPtr<Steinberg::ResizableMemoryIBStream>
makeStateStream (const StateValues& values, Steinberg::int32 bypassWord, int length = 68)
{
	std::vector<Steinberg::uint8> bytes = record (0, values, bypassWord);
	auto stream = Steinberg::owned (new Steinberg::ResizableMemoryIBStream ());
	// The SDK's stream copies even an empty write from its empty buffer.
	if (length > 0)
		stream->write (bytes.data (), std::min (length, static_cast<int> (bytes.size ())), nullptr);
	stream->rewind ();
	return stream;
}

} // namespace zyhost

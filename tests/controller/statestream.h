// Builds processor state records for the tests: 68 bytes, little-endian.
#pragma once

#include "public.sdk/source/vst/utility/memoryibstream.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace zytest {

using StateValues = std::array<double, 7>;

// The processor's defaults, in tag order.
constexpr StateValues kDefaultStateValues {0.75, 0.527507, 0.5, 0.5, 0.15, 0.5, 1.0};

inline void appendLittleEndian (Steinberg::ResizableMemoryIBStream& stream, const void* value,
                                int size)
{
	unsigned char bytes[8];
	std::memcpy (bytes, value, size);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
	for (int i = 0; i < size / 2; ++i)
		std::swap (bytes[i], bytes[size - 1 - i]);
#endif
	stream.write (bytes, size, nullptr);
}

// A record of the given values and bypass word, cut to length bytes, rewound.
inline Steinberg::IPtr<Steinberg::ResizableMemoryIBStream>
makeStateStream (const StateValues& values, int32_t bypassWord, int length = 68)
{
	Steinberg::ResizableMemoryIBStream record;
	const int64_t leading = 0;
	appendLittleEndian (record, &leading, 8);
	for (double value : values)
		appendLittleEndian (record, &value, 8);
	appendLittleEndian (record, &bypassWord, 4);

	auto stream = Steinberg::owned (new Steinberg::ResizableMemoryIBStream ());
	// The SDK's stream copies even an empty write from its empty buffer.
	if (length > 0)
		stream->write (const_cast<void*> (record.getData ()), length, nullptr);
	stream->rewind ();
	return stream;
}

} // namespace zytest

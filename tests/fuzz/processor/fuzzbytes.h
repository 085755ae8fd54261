// Reads a fuzz input front to back. Past its end every value reads as 0, so
// a decoder never has to check before it reads.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zyfuzz {

class FuzzBytes
{
public:
	FuzzBytes (const uint8_t* data, size_t size) : data (data), size (size) {}

	bool empty () const { return position >= size; }
	size_t remaining () const { return size - position; }

	uint8_t byte () { return position < size ? data[position++] : 0; }

	template <typename Value>
	Value raw ()
	{
		unsigned char bytes[sizeof (Value)] = {};
		const size_t count = std::min (sizeof (Value), remaining ());
		if (count)
			std::memcpy (bytes, data + position, count);
		position += count;
		Value value;
		std::memcpy (&value, bytes, sizeof (Value));
		return value;
	}

	// Up to count bytes; got says how many there were.
	const uint8_t* take (size_t count, size_t& got)
	{
		got = std::min (count, remaining ());
		const uint8_t* begin = data + position;
		position += got;
		return begin;
	}

private:
	const uint8_t* data;
	size_t size;
	size_t position = 0;
};

} // namespace zyfuzz

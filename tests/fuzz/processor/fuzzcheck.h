// Invariant checks of the fuzz targets, and the processor's state record as
// the targets see it: 68 bytes, little-endian (see processor/plugparams.h).
#pragma once

#include "pluginterfaces/base/ftypes.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

// A broken invariant ends the run loudly, so that libFuzzer keeps the input.
#define ZY_FUZZ_CHECK(condition, ...)                                                    \
	do                                                                                   \
	{                                                                                    \
		if (!(condition))                                                                \
		{                                                                                \
			std::fprintf (stderr, "[fuzz] %s:%d: %s: ", __FILE__, __LINE__, #condition); \
			std::fprintf (stderr, __VA_ARGS__);                                          \
			std::fprintf (stderr, "\n");                                                 \
			std::abort ();                                                               \
		}                                                                                \
	} while (0)

namespace zyfuzz {

using Record = std::vector<Steinberg::uint8>;

static_assert (__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the record is read in place");

constexpr size_t kRecordSize = 68;
constexpr size_t kValuesOffset = 8;
constexpr size_t kBypassOffset = 64;

inline double recordValue (const Steinberg::uint8* record, int index)
{
	double value;
	std::memcpy (&value, record + kValuesOffset + 8 * static_cast<size_t> (index), 8);
	return value;
}

inline Steinberg::int32 recordBypassWord (const Steinberg::uint8* record)
{
	Steinberg::int32 word;
	std::memcpy (&word, record + kBypassOffset, 4);
	return word;
}

// The record a processor writes after reading the given one: the values as
// they are, the leading word as 0 and the bypass word as 0 or 1.
inline Record normalizedRecord (const Steinberg::uint8* given)
{
	Record record (given, given + kRecordSize);
	std::memset (record.data (), 0, kValuesOffset);
	const Steinberg::int32 bypass = recordBypassWord (given) > 0 ? 1 : 0;
	std::memcpy (record.data () + kBypassOffset, &bypass, 4);
	return record;
}

inline bool valuesFinite (const Steinberg::uint8* record)
{
	for (int i = 0; i < 7; ++i)
	{
		if (!std::isfinite (recordValue (record, i)))
			return false;
	}
	return true;
}

// What getState must always write.
inline void checkWellFormed (const Record& record, const char* where)
{
	ZY_FUZZ_CHECK (record.size () == kRecordSize, "%s: %zu bytes", where, record.size ());
	for (size_t i = 0; i < kValuesOffset; ++i)
		ZY_FUZZ_CHECK (record[i] == 0, "%s: leading word byte %zu", where, i);
	ZY_FUZZ_CHECK (valuesFinite (record.data ()), "%s: a value is not finite", where);
	const Steinberg::int32 bypass = recordBypassWord (record.data ());
	ZY_FUZZ_CHECK (bypass == 0 || bypass == 1, "%s: bypass word %d", where, bypass);
}

inline const char* hexOf (const Record& record)
{
	static char text[3 * 128 + 1];
	size_t at = 0;
	for (size_t i = 0; i < record.size () && i < 128; ++i)
		at += std::snprintf (text + at, sizeof text - at, "%02x ", record[i]);
	text[at] = 0;
	return text;
}

} // namespace zyfuzz

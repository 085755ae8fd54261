// The 68-byte state record: its exact bytes, all-or-nothing reads, and the
// parameter block's access by tag.
#include "tools/hostkit/processorhost.h"
#include "tools/hostkit/staterecord.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>

namespace zytest {

using namespace zyhost;

namespace {

const PlugParams kOther = {0.1, 0.2, 0.3, 0.4, 0.6, 0.7, 0.8, true};

bool sameBits (const PlugParams& a, const PlugParams& b)
{
	const StateValues x = valuesOf (a);
	const StateValues y = valuesOf (b);
	return std::memcmp (x.data (), y.data (), sizeof x) == 0 && a.bypass == b.bypass;
}

std::vector<uint8> bytesOf (const PlugParams& block)
{
	MemoryStream stream;
	EXPECT_EQ (block.write (&stream), kResultOk);
	auto* begin = reinterpret_cast<const uint8*> (stream.getData ());
	return {begin, begin + stream.getSize ()};
}

TEST (PlugParamsRecord, DefaultBlockHasTheDocumentedBytes)
{
	const std::vector<uint8> expected = {
	    0,    0,    0,    0,    0,    0,    0,    0,    // leading word
	    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE8, 0x3F, // 0.75
	    0x80, 0x27, 0x2D, 0x5C, 0x56, 0xE1, 0xE0, 0x3F, // 0.527507
	    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE0, 0x3F, // 0.5
	    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE0, 0x3F, // 0.5
	    0x33, 0x33, 0x33, 0x33, 0x33, 0x33, 0xC3, 0x3F, // 0.15
	    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE0, 0x3F, // 0.5
	    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F, // 1.0
	    0x00, 0x00, 0x00, 0x00};                        // bypass off
	EXPECT_EQ (bytesOf (kPlugDefaultParams), expected);

	PlugParams bypassed = kPlugDefaultParams;
	bypassed.bypass = true;
	const std::vector<uint8> bytes = bytesOf (bypassed);
	ASSERT_EQ (bytes.size (), 68u);
	EXPECT_EQ (std::vector<uint8> (bytes.begin () + 64, bytes.end ()),
	           (std::vector<uint8> {1, 0, 0, 0}));
}

TEST (PlugParamsRecord, RoundTripKeepsEveryBit)
{
	const PlugParams odd = {-0.0, 1e-300, 0.1 + 0.2, 1.5, -3.25, 2.0, 0.999999999999, true};
	for (const PlugParams& block : {kPlugDefaultParams, kOther, odd})
	{
		PlugParams back = kPlugDefaultParams;
		EXPECT_EQ (back.read (streamOf (bytesOf (block))), kResultOk);
		EXPECT_TRUE (sameBits (back, block));
	}
}

TEST (PlugParamsRecord, ShortOrMissingStreamChangesNothing)
{
	const std::vector<uint8> full = bytesOf (kOther);
	for (size_t length :
	     {size_t (0), size_t (7), size_t (8), size_t (40), size_t (64), size_t (67)})
	{
		PlugParams block = kPlugDefaultParams;
		std::vector<uint8> cut (full.begin (),
		                        full.begin () + static_cast<std::ptrdiff_t> (length));
		EXPECT_EQ (block.read (streamOf (cut)), kResultFalse) << length << " bytes";
		EXPECT_TRUE (sameBits (block, kPlugDefaultParams)) << length << " bytes";
	}
	PlugParams block = kPlugDefaultParams;
	EXPECT_EQ (block.read (nullptr), kResultFalse);
	EXPECT_EQ (block.write (nullptr), kResultFalse);
	EXPECT_TRUE (sameBits (block, kPlugDefaultParams));
}

TEST (PlugParamsRecord, ReadTakesTheFirst68BytesOnly)
{
	std::vector<uint8> longer = bytesOf (kOther);
	longer.insert (longer.end (), {9, 9, 9, 9});
	auto stream = streamOf (longer);
	PlugParams block = kPlugDefaultParams;
	EXPECT_EQ (block.read (stream), kResultOk);
	EXPECT_TRUE (sameBits (block, kOther));
	int64 position = 0;
	stream->tell (&position);
	EXPECT_EQ (position, 68);
}

TEST (PlugParamsByTag, HostValuesGoToTheirRecordPlaceAndUnknownTagsAreRefused)
{
	PlugParams block = kPlugDefaultParams;
	for (ParamID tag = kLevelTag; tag <= kMixTag; ++tag)
		EXPECT_TRUE (block.setNormalized (tag, tag / 8.0));
	EXPECT_TRUE (block.setNormalized (kBypassTag, 0.75));
	EXPECT_EQ (bytesOf (block),
	           record (0, StateValues {0.0, 0.125, 0.25, 0.375, 0.5, 0.625, 0.75}, 1));
	for (ParamID tag = kLevelTag; tag <= kMixTag; ++tag)
		EXPECT_EQ (block.normalized (tag), tag / 8.0) << tag;
	EXPECT_EQ (block.normalized (kBypassTag), 1.0);

	const PlugParams before = block;
	for (ParamID unknown : {8u, 42u, 0xFFFFFFFFu})
	{
		EXPECT_FALSE (block.setNormalized (unknown, 0.5)) << unknown;
		EXPECT_EQ (block.normalized (unknown), 0.0) << unknown;
	}
	EXPECT_TRUE (sameBits (block, before));
}

struct WordCase
{
	int64 leading;
	int32 bypassWord;
	bool bypass;
};

TEST (PlugParamsRecord, LeadingWordIsIgnoredAndBypassIsOnAboveZero)
{
	const WordCase cases[] = {
	    {0, 1, true}, {-1, 2, true}, {123456789, 0, false}, {0, -1, false}, {7, INT32_MIN, false}};
	const double values[7] = {0.1, 0.2, 0.3, 0.4, 0.6, 0.7, 0.8};
	for (const WordCase& c : cases)
	{
		PlugParams block = kPlugDefaultParams;
		block.bypass = !c.bypass;
		EXPECT_EQ (block.read (streamOf (record (c.leading, values, c.bypassWord))), kResultOk);
		EXPECT_EQ (block.bypass, c.bypass) << c.bypassWord;
		EXPECT_EQ (block.mix, 0.8);
	}
}

TEST (PlugParamsRecord, FiniteValuesOutsideTheRangeAreKeptNonFiniteOnesRefused)
{
	const double inf = std::numeric_limits<double>::infinity ();
	const double nan = std::numeric_limits<double>::quiet_NaN ();
	const double kept[7] = {-1.0, 2.0, 1e300, -1e-300, 0.5, 100.0, -0.0};
	PlugParams block = kPlugDefaultParams;
	EXPECT_EQ (block.read (streamOf (record (0, kept, 0))), kResultOk);
	EXPECT_EQ (block.level, -1.0);
	EXPECT_EQ (block.frequency, 2.0);
	EXPECT_EQ (block.depth, 1e300);

	for (int field = 0; field < 7; ++field)
	{
		for (double bad : {nan, inf, -inf})
		{
			double values[7] = {0.1, 0.2, 0.3, 0.4, 0.6, 0.7, 0.8};
			values[field] = bad;
			PlugParams untouched = kPlugDefaultParams;
			EXPECT_EQ (untouched.read (streamOf (record (0, values, 1))), kResultFalse);
			EXPECT_TRUE (sameBits (untouched, kPlugDefaultParams)) << "field " << field;
		}
	}
}

TEST (PlugParamsRecord, WriteReportsAStreamThatRunsFull)
{
	// A memory stream over a fixed buffer gives out after its size.
	std::vector<char> memory (4096);
	MemoryStream full (memory.data (), 20);
	EXPECT_EQ (kPlugDefaultParams.write (&full), kResultFalse);
}

} // namespace
} // namespace zytest

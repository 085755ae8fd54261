// Every column of the three delay-time tables, and the column an index out of
// range selects.
#include "processor/dspfunctions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace Steinberg {
namespace Vst {
namespace {

using Column = std::vector<double>;
using Table = std::vector<Column>; // columns in index order, from index 1

// Each column in two rows of eight values:
// clang-format off
const Table kExpected16 = {
	{32.13723, 26.357152, 23.120309, 20.379699, 18.768045, 17.380903, 15.288217, 13.719974,
	 13.194842, 12.193195, 11.449247, 11.798912, 10.877801, 10.785245, 10.586653, 10.055123},
	{33.106302, 27.516927, 21.497599, 21.161598, 18.029872, 16.940632, 15.0809, 14.184423,
	 13.115548, 12.704996, 11.839463, 11.58836, 10.937652, 10.24246, 10.22345, 10.012048},
	{40.503959, 27.813877, 22.928411, 17.383673, 16.371867, 15.974569, 14.741325, 13.852415,
	 13.190673, 13.153232, 12.145967, 11.91831, 10.859495, 10.663036, 10.489046, 9.037556},
	{53, 47, 43, 41, 37, 31, 29, 23,
	 19, 17, 13, 11, 7, 5, 3, 2},
};
const Table kExpected8 = {
	{32.13723, 26.357152, 23.120309, 20.379699, 18.768045, 17.380903, 15.288217, 13.719974},
	{33.106302, 27.516927, 21.497599, 21.161598, 18.029872, 16.940632, 15.0809, 14.184423},
	{40.503959, 27.813877, 22.928411, 17.383673, 16.371867, 15.974569, 14.741325, 13.852415},
	{40.36, 33.101, 17.23, 15.313, 12.463, 10.643, 10.439, 9.681},
};
const Table kExpected16Alt = {
	{32.13723, 26.357152, 23.120309, 20.379699, 18.768045, 17.380903, 15.288217, 13.719974,
	 32.13723, 26.357152, 23.120309, 20.379699, 18.768045, 17.380903, 15.288217, 13.719974},
	{33.106302, 27.516927, 21.497599, 21.161598, 18.029872, 16.940632, 15.0809, 14.184423,
	 33.106302, 27.516927, 21.497599, 21.161598, 18.029872, 16.940632, 15.0809, 14.184423},
	{40.503959, 27.813877, 22.928411, 17.383673, 16.371867, 15.974569, 14.741325, 13.852415,
	 40.503959, 27.813877, 22.928411, 17.383673, 16.371867, 15.974569, 14.741325, 13.852415},
	{41, 37, 31, 29, 23, 19, 17, 13,
	 41, 37, 31, 29, 23, 19, 17, 13},
	{40.503959, 27.813877, 22.928411, 17.383673, 16.371867, 15.974569, 14.741325, 13.852415,
	 41, 28, 23, 17, 16, 16, 15, 14},
};
// clang-format on


Column read16 (std::int32_t index)
{
	Column t (16);
	delayTimes16 (index, t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7], t[8], t[9], t[10], t[11],
	              t[12], t[13], t[14], t[15]);
	return t;
}

Column read8 (std::int32_t index)
{
	Column t (8);
	delayTimes8 (index, t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7]);
	return t;
}

Column read16Alt (std::int32_t index)
{
	Column t (16);
	delayTimes16Alt (index, t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7], t[8], t[9], t[10],
	                 t[11], t[12], t[13], t[14], t[15]);
	return t;
}

struct TableCase
{
	const char* name;
	Column (*read) (std::int32_t);
	const Table& expected;
};

const TableCase kTables[] = {
    {"delayTimes16", read16, kExpected16},
    {"delayTimes8", read8, kExpected8},
    {"delayTimes16Alt", read16Alt, kExpected16Alt},
};

TEST (DelayTimes, EveryColumnByItsIndex)
{
	for (const auto& table : kTables)
	{
		for (std::size_t column = 0; column < table.expected.size (); ++column)
		{
			const auto index = static_cast<std::int32_t> (column + 1);
			EXPECT_EQ (table.read (index), table.expected[column]) << table.name << " " << index;
		}
	}
}

TEST (DelayTimes, IndexOutOfRangeGivesColumnOne)
{
	for (const auto& table : kTables)
	{
		const auto past = static_cast<std::int32_t> (table.expected.size () + 1);
		for (std::int32_t index : {0, -1, past, past + 1, INT32_MIN, INT32_MAX})
			EXPECT_EQ (table.read (index), table.expected[0]) << table.name << " " << index;
	}
}

} // anonymous
} // namespace Vst
} // namespace Steinberg

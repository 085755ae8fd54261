// The Hadamard mixes against their sum definition y[r] = scale * sum s(r, c) * x[c],
// with s(r, c) = -1 when r AND c has an odd number of bits set, else +1.
#include "processor/dspfunctions.h"

#include <gtest/gtest.h>

#include <array>
#include <bitset>
#include <random>
#include <string>

namespace Steinberg {
namespace Vst {
namespace {

template <std::size_t N>
using Values = std::array<double, N>;

Values<16> apply (Values<16> v)
{
	hadamard16 (v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11], v[12],
	            v[13], v[14], v[15]);
	return v;
}

Values<8> apply (Values<8> v)
{
	hadamard8 (v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
	return v;
}

double sign (std::size_t r, std::size_t c)
{
	return std::bitset<8> (r & c).count () % 2 == 0 ? 1. : -1.;
}

template <std::size_t N>
Values<N> bySumDefinition (const Values<N>& x, double scale)
{
	Values<N> y {};
	for (std::size_t r = 0; r < N; ++r)
	{
		double sum = 0.;
		for (std::size_t c = 0; c < N; ++c)
			sum += sign (r, c) * x[c];
		y[r] = scale * sum;
	}
	return y;
}

struct Sixteen
{
	static constexpr std::size_t n = 16;
	static constexpr double scale = 0.25;
};
struct Eight
{
	static constexpr std::size_t n = 8;
	static constexpr double scale = 0.353553374962831; // not quite 1 / sqrt (8)
};

template <typename Size>
class Hadamard : public testing::Test
{
public:
	static constexpr std::size_t n = Size::n;
	static constexpr double scale = Size::scale;

	Values<n> smallIntegers () { return draw (std::uniform_int_distribution<int> (-1000, 1000)); }
	Values<n> uniform () { return draw (std::uniform_real_distribution<double> (-1., 1.)); }

private:
	std::mt19937 random {20240611u};

	template <typename Distribution>
	Values<n> draw (Distribution pick)
	{
		Values<n> v;
		for (auto& x : v)
			x = pick (random);
		return v;
	}
};

struct SizeName
{
	template <typename T>
	static std::string GetName (int)
	{
		return std::to_string (T::n);
	}
};
using Sizes = testing::Types<Sixteen, Eight>;
TYPED_TEST_SUITE (Hadamard, Sizes, SizeName);

TYPED_TEST (Hadamard, UnitImpulsesGiveTheScaledSignMatrix)
{
	constexpr std::size_t n = TestFixture::n;
	for (std::size_t c = 0; c < n; ++c)
	{
		Values<n> impulse {};
		impulse[c] = 1.;
		const auto y = apply (impulse);
		for (std::size_t r = 0; r < n; ++r)
			EXPECT_EQ (y[r], sign (r, c) * TestFixture::scale) << "row " << r << ", column " << c;
	}
}

TYPED_TEST (Hadamard, ButterfliesMatchTheSumDefinition)
{
	for (int round = 0; round < 200; ++round)
	{
		// small integers: every partial sum is exact, so both ways agree to the bit
		const auto ints = this->smallIntegers ();
		EXPECT_EQ (apply (ints), bySumDefinition (ints, TestFixture::scale));

		const auto x = this->uniform ();
		const auto y = apply (x);
		const auto expected = bySumDefinition (x, TestFixture::scale);
		for (std::size_t r = 0; r < TestFixture::n; ++r)
			EXPECT_NEAR (y[r], expected[r], 1e-14) << "row " << r;
	}
}

TYPED_TEST (Hadamard, TwiceGivesTheInputTimesScaleSquaredTimesSize)
{
	const double gain = TestFixture::scale * TestFixture::scale * TestFixture::n;
	for (int round = 0; round < 50; ++round)
	{
		const auto x = this->uniform ();
		const auto twice = apply (apply (x));
		for (std::size_t i = 0; i < TestFixture::n; ++i)
			EXPECT_NEAR (twice[i], x[i] * gain, 1e-14) << "value " << i;
	}
}

TEST (Hadamard16, IsItsOwnInverseExactlyForSmallIntegers)
{
	std::mt19937 random {7u};
	std::uniform_int_distribution<int> pick (-1000, 1000);
	for (int round = 0; round < 50; ++round)
	{
		Values<16> x;
		for (auto& v : x)
			v = pick (random);
		EXPECT_EQ (apply (apply (x)), x);
	}
}

TEST (Hadamard8, TwiceLosesALittleLevel)
{
	const double gain = 0.353553374962831 * 0.353553374962831 * 8.;
	EXPECT_LT (gain, 1.);
	EXPECT_GT (gain, 1. - 1e-6);
	Values<8> impulse {1.};
	EXPECT_DOUBLE_EQ (apply (apply (impulse))[0], gain);
}

} // anonymous
} // namespace Vst
} // namespace Steinberg

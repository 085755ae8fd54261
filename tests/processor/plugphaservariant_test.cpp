// Each build of the phaser loop, chosen in turn, held to the plain reading on
// the same runs as the shipped choice: every output and the state, bit for
// bit, in both sample sizes. What the shipped choice sounds like is held by
// plugphaser_test.cpp, which runs it; how fast it is, by the benchmark.
#include "processor/plugphaservariant.h"
#include "tests/processor/phaserscenarios.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace zytest {
namespace {

struct VariantCase
{
	const char* name;
	PlugPhaserVariant variant;
};

const VariantCase kVariants[] = {{"avx", PlugPhaserVariant::kAvx},
                                 {"sse2", PlugPhaserVariant::kSse2},
                                 {"portable", PlugPhaserVariant::kPortable}};

void PrintTo (const VariantCase& variant, std::ostream* os)
{
	*os << variant.name;
}

// Runs the test on the variant of its parameter and then puts the shipped
// choice back.
class PhaserVariant : public ::testing::TestWithParam<std::tuple<VariantCase, ScenarioCase>>
{
protected:
	void SetUp () override
	{
		const PlugPhaserVariant variant = std::get<0> (GetParam ()).variant;
		if (!plugPhaserRuns (variant))
			GTEST_SKIP () << "this machine cannot run the " << std::get<0> (GetParam ()).name
			              << " build";
		overridePlugPhaserVariant (variant);
		ASSERT_EQ (plugPhaserVariantInUse (), variant);
	}

	void TearDown () override { overridePlugPhaserVariant (PlugPhaserVariant::kShipped); }
};

TEST_P (PhaserVariant, EveryOutputAndTheStateMatchBitForBit)
{
	expectScenarioMatchesReference (std::get<1> (GetParam ()));
}

INSTANTIATE_TEST_SUITE_P (Builds, PhaserVariant,
                          ::testing::Combine (::testing::ValuesIn (kVariants),
                                              ::testing::ValuesIn (phaserScenarios ())),
                          [] (const ::testing::TestParamInfo<PhaserVariant::ParamType>& info) {
	                          return std::string (std::get<0> (info.param).name) + "_" +
	                                 std::get<1> (info.param).name;
                          });

} // namespace
} // namespace zytest

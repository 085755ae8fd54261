// Texts and values a host hands the built bundle's edit controller that must
// never come back as a NaN, a value outside [0, 1] or an exception: the
// bundle loaded through its exported entry points, the controller reached
// through its VST 3 interface only.

#include "tests/support/hostentries.h"
#include "tools/hostkit/loadedplugin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

class HostValuesTest : public ::testing::Test
{
protected:
	static void SetUpTestSuite ()
	{
		std::string error;
		plugin = zyhost::LoadedPlugin::load (ZY_BUNDLE_PATH, error);
		ASSERT_TRUE (plugin) << error;
	}
	static void TearDownTestSuite () { plugin.reset (); }

	void SetUp () override
	{
		ASSERT_TRUE (plugin);
		controller = plugin->controller ();
		ASSERT_EQ (controller->getParameterCount (), int32 (zytest::kTagCount));
	}

	static std::unique_ptr<zyhost::LoadedPlugin> plugin;
	IEditController* controller {nullptr};
};

std::unique_ptr<zyhost::LoadedPlugin> HostValuesTest::plugin;

TEST_F (HostValuesTest, TextThatNamesNoValueIsRefusedOnEveryParameter)
{
	zytest::expectTextThatNamesNoValueIsRefused (*controller);
}

TEST_F (HostValuesTest, TextBeyondTheRangeEndsAtItsEndsOnEveryParameter)
{
	zytest::expectTextBeyondTheRangeEndsAtItsEnds (*controller);
}

TEST_F (HostValuesTest, ValueTextReadsBackOnEveryParameter)
{
	zytest::expectValueTextReadsBack (*controller);
}

TEST_F (HostValuesTest, NaNIsNeverStored)
{
	for (ParamID tag = 0; tag < zytest::kTagCount; ++tag)
		zytest::expectNaNIsNeverStored (*controller, tag);
}

TEST_F (HostValuesTest, ValueTextOfValuesThatAreNotFinite)
{
	zytest::expectValueTextOfValuesThatAreNotFinite (*controller);
}

} // namespace

// Texts and values a host hands the built bundle's edit controller that must
// never come back as a NaN, a value outside [0, 1] or an exception: the
// bundle loaded through its exported entry points, the controller reached
// through its VST 3 interface only.

#include "tests/controller/hostentries.h"
#include "tests/support/texts.h"
#include "tools/hostkit/loadedplugin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;
using zytest::narrow;

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

	std::string valueText (ParamID tag)
	{
		String128 text {};
		EXPECT_EQ (
		    controller->getParamStringByValue (tag, controller->getParamNormalized (tag), text),
		    kResultTrue);
		return narrow (text);
	}

	static std::unique_ptr<zyhost::LoadedPlugin> plugin;
	IEditController* controller {nullptr};
};

std::unique_ptr<zyhost::LoadedPlugin> HostValuesTest::plugin;

TEST_F (HostValuesTest, TextThatNamesNoValueIsRefusedOnEveryParameter)
{
	for (ParamID tag = 0; tag < zytest::kTagCount; ++tag)
	{
		for (auto entry : zytest::refusedEntries ())
		{
			ParamValue value = zytest::kUntouched;
			tresult result = kResultTrue;
			EXPECT_NO_THROW (
			    result = controller->getParamValueByString (tag, zytest::units (entry.text), value))
			    << tag << " " << entry.what;
			EXPECT_EQ (result, kResultFalse) << tag << " " << entry.what;
			EXPECT_EQ (value, zytest::kUntouched) << tag << " " << entry.what;
		}
	}
}

TEST_F (HostValuesTest, TextBeyondTheRangeEndsAtItsEndsOnEveryParameter)
{
	for (ParamID tag = 0; tag < zytest::kTagCount; ++tag)
	{
		for (const auto& entry : zytest::clampedEntries ())
		{
			std::u16string text = zytest::wide (entry.text);
			ParamValue value = zytest::kUntouched;
			EXPECT_EQ (controller->getParamValueByString (tag, zytest::units (text), value),
			           kResultTrue)
			    << tag << " " << entry.text;
			EXPECT_EQ (value, entry.normalized) << tag << " " << entry.text;
		}
	}
}

TEST_F (HostValuesTest, NaNIsNeverStored)
{
	const double inf = std::numeric_limits<double>::infinity ();
	for (ParamID tag = 0; tag < zytest::kTagCount; ++tag)
	{
		ASSERT_EQ (controller->setParamNormalized (tag, 0.25), kResultTrue);
		const std::string textBefore = valueText (tag);
		for (double nan : {std::nan (""), -std::nan ("")})
		{
			EXPECT_EQ (controller->setParamNormalized (tag, nan), kResultFalse) << tag;
			EXPECT_EQ (controller->getParamNormalized (tag), 0.25) << tag;
			EXPECT_EQ (valueText (tag), textBefore) << tag;
		}
		EXPECT_EQ (controller->setParamNormalized (tag, inf), kResultTrue) << tag;
		EXPECT_EQ (controller->getParamNormalized (tag), 1.) << tag;
		EXPECT_EQ (controller->setParamNormalized (tag, -inf), kResultTrue) << tag;
		EXPECT_EQ (controller->getParamNormalized (tag), 0.) << tag;
	}
}

TEST_F (HostValuesTest, ValueTextOfValuesThatAreNotFinite)
{
	for (ParamID tag = 0; tag < zytest::kTagCount; ++tag)
	{
		for (const auto& c : zytest::nonFiniteTexts (tag))
		{
			String128 text;
			std::fill (std::begin (text), std::end (text), TChar ('x'));
			EXPECT_EQ (controller->getParamStringByValue (tag, c.normalized, text), c.result)
			    << tag << " " << c.normalized;
			EXPECT_EQ (narrow (text), c.text) << tag << " " << c.normalized;
		}
	}
}

} // namespace

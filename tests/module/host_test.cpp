// What a host sees of the built bundle: loaded through the SDK's module
// loader, processor and controller created, initialised and connected by the
// SDK's plug-in provider (tools/hostkit), the processor's state handed to the
// controller.

#include "processor/plugcids.h"
#include "tools/hostkit/staterecord.h"
#include "tests/support/texts.h"
#include "tools/hostkit/loadedplugin.h"

#include "pluginterfaces/base/ustring.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "public.sdk/source/vst/utility/memoryibstream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using zytest::narrow;
using zytest::wide;

namespace {

class HostTest : public ::testing::Test
{
protected:
	void SetUp () override
	{
		std::string error;
		plugin = zyhost::LoadedPlugin::load (ZY_BUNDLE_PATH, error);
		ASSERT_TRUE (plugin) << error;
		component = plugin->component ();
		controller = plugin->controller ();
	}

	// Hands the processor's state to the controller, as a host does after a
	// load, checking each step and the record's size.
	void transferState ()
	{
		ResizableMemoryIBStream stream;
		ASSERT_EQ (component->getState (&stream), kResultOk);
		EXPECT_EQ (stream.getCursor (), 68u);
		stream.rewind ();
		ASSERT_EQ (controller->setComponentState (&stream), kResultOk);
	}
	std::string valueText (ParamID tag, ParamValue normalized)
	{
		String128 text {};
		EXPECT_EQ (controller->getParamStringByValue (tag, normalized, text), kResultTrue);
		return narrow (text);
	}

	std::unique_ptr<zyhost::LoadedPlugin> plugin;
	IComponent* component {nullptr};
	IEditController* controller {nullptr};
};

TEST_F (HostTest, ClassInfos)
{
	const auto infos = plugin->factory ().classInfos ();
	ASSERT_EQ (infos.size (), 2u);
	EXPECT_EQ (infos[0].ID (), VST3::UID::fromTUID (PlugProcessorUID.toTUID ()));
	EXPECT_EQ (infos[1].ID (), VST3::UID::fromTUID (PlugControllerUID.toTUID ()));
	EXPECT_EQ (infos[0].subCategoriesString (), "Fx|Modulation");
	EXPECT_EQ (infos[0].name (), "zy Phaser");
	EXPECT_EQ (infos[1].name (), "zy Phaser Controller");
	for (const auto& info : infos)
	{
		EXPECT_EQ (info.version (), "3.1.0.1");
		EXPECT_EQ (info.sdkVersion (), kVstVersionString);
	}
	EXPECT_EQ (plugin->factory ().info ().vendor (), "VARNOK Soft");

	TUID controllerClass {};
	ASSERT_EQ (component->getControllerClassId (controllerClass), kResultTrue);
	EXPECT_EQ (VST3::UID::fromTUID (controllerClass), infos[1].ID ());
}

TEST_F (HostTest, ParameterInfos)
{
	const struct
	{
		const char* title;
		const char* units;
		int32 stepCount;
		ParamValue defaultNormalized;
		int32 flags;
	} rows[] = {
	    {"Level", "dB", 0, 0.75, 1}, {"Frequency", "Hz", 0, 0.5275071124607182, 1},
	    {"Depth", "%", 0, 0.5, 1},   {"Degree", "deg", 0, 0.5, 1},
	    {"Rate", "Hz", 0, 0.15, 1},  {"Feedback", "%", 0, 0.5, 1},
	    {"Mix", "%", 0, 1.0, 1},     {"Bypass", "", 1, 0.0, 0x10001},
	};
	ASSERT_EQ (controller->getParameterCount (), 8);
	for (int32 index = 0; index < 8; ++index)
	{
		ParameterInfo info {};
		ASSERT_EQ (controller->getParameterInfo (index, info), kResultTrue);
		EXPECT_EQ (info.id, static_cast<ParamID> (index));
		EXPECT_EQ (narrow (info.title), rows[index].title);
		EXPECT_EQ (narrow (info.units), rows[index].units);
		EXPECT_EQ (info.stepCount, rows[index].stepCount);
		EXPECT_DOUBLE_EQ (info.defaultNormalizedValue, rows[index].defaultNormalized);
		EXPECT_EQ (info.flags, rows[index].flags);
		EXPECT_EQ (info.unitId, 0);
	}
}

TEST_F (HostTest, ValueTextsAndTextEntry)
{
	const struct
	{
		ParamID tag;
		ParamValue normalized;
		const char* text;
	} texts[] = {
	    {0, 0.75, "0.00"}, {0, 0.0, "-36.00"}, {0, 1.0, "12.00"}, {0, 0.7499999, "0.00"},
	    {1, 0.0, "100"},   {1, 1.0, "4000"},   {1, 0.5, "632"},   {1, 0.5275071124607182, "700"},
	    {2, 0.5, "50"},    {3, 0.5, "90"},     {4, 0.15, "0.30"}, {5, 1.0, "100"},
	    {6, 0.0, "0"},     {7, 1.0, "On"},     {7, 0.5, "Off"},   {7, 0.0, "Off"},
	};
	for (const auto& t : texts)
		EXPECT_EQ (valueText (t.tag, t.normalized), t.text) << t.tag << " " << t.normalized;

	const struct
	{
		ParamID tag;
		const char* entry;
		ParamValue normalized;
	} entries[] = {
	    {0, "0", 0.75}, {1, "50", 0.0}, {1, "5000", 1.0}, {1, "1000", 0.6241963505817849},
	    {4, "1", 0.5},  {7, "1", 1.0},  {7, "0", 0.0},
	};
	for (const auto& e : entries)
	{
		auto text = wide (e.entry);
		ParamValue normalized = -1.;
		EXPECT_EQ (controller->getParamValueByString (
		               e.tag, reinterpret_cast<TChar*> (text.data ()), normalized),
		           kResultTrue);
		EXPECT_DOUBLE_EQ (normalized, e.normalized) << e.tag << " " << e.entry;
	}
	String128 none {};
	EXPECT_EQ (controller->getParamStringByValue (8, 0.5, none), kResultFalse);
}

TEST_F (HostTest, PlainConversions)
{
	EXPECT_DOUBLE_EQ (controller->plainParamToNormalized (1, 1000.), 0.6241963505817849);
	EXPECT_DOUBLE_EQ (controller->plainParamToNormalized (1, 50.), -0.18790182470910757);
	EXPECT_EQ (controller->plainParamToNormalized (1, 0.), 0.);
	EXPECT_EQ (controller->plainParamToNormalized (1, -20.), 0.);
	EXPECT_DOUBLE_EQ (controller->normalizedParamToPlain (1, 1.5), 25298.22128134704);
	EXPECT_DOUBLE_EQ (controller->normalizedParamToPlain (0, 0.5), -12.);
	EXPECT_DOUBLE_EQ (controller->plainParamToNormalized (3, 45.), 0.25);
}

TEST_F (HostTest, ControllerFollowsTheProcessorState)
{
	// the processor's defaults, frequency's six-decimal one included
	transferState ();
	for (ParamID tag = 0; tag < 7; ++tag)
		EXPECT_EQ (controller->getParamNormalized (tag), zyhost::kDefaultStateValues[tag]) << tag;
	EXPECT_EQ (controller->getParamNormalized (7), 0.);

	const zyhost::StateValues values {0.1, 0.9, 0.2, 0.8, 0.3, 0.7, 0.4};
	ASSERT_EQ (component->setState (zyhost::makeStateStream (values, 1)), kResultOk);
	transferState ();
	for (ParamID tag = 0; tag < 7; ++tag)
		EXPECT_EQ (controller->getParamNormalized (tag), values[tag]) << tag;
	EXPECT_EQ (controller->getParamNormalized (7), 1.);
	EXPECT_EQ (valueText (7, controller->getParamNormalized (7)), "On");

	// a cut record changes nothing
	EXPECT_EQ (controller->setComponentState (
	               zyhost::makeStateStream (zyhost::kDefaultStateValues, 0, 67)),
	           kResultFalse);
	EXPECT_EQ (controller->getParamNormalized (0), 0.1);
	EXPECT_EQ (controller->getParamNormalized (7), 1.);

	// the controller keeps no state of its own
	ResizableMemoryIBStream own;
	EXPECT_EQ (controller->getState (&own), kNotImplemented);
	EXPECT_EQ (controller->setState (&own), kNotImplemented);
}

TEST_F (HostTest, EditorFromTheBundlesDescription)
{
	IPtr<IPlugView> view = owned (controller->createView (ViewType::kEditor));
	ASSERT_TRUE (view);
	EXPECT_EQ (view->isPlatformTypeSupported (kPlatformTypeX11EmbedWindowID), kResultTrue);
	ViewRect size {};
	ASSERT_EQ (view->getSize (&size), kResultTrue);
	// the template "view" was found in the bundle's plug.uidesc
	EXPECT_GT (size.getWidth (), 0);
	EXPECT_GT (size.getHeight (), 0);
	// a fixed size: hosts get no resize handles
	EXPECT_EQ (view->canResize (), kResultFalse);

	EXPECT_FALSE (owned (controller->createView ("Editor")));
}

} // namespace

// The edit controller: parameter list, life cycle, component state, editor
// and about sub-controllers.

#include "controller/plugcontroller.h"
#include "processor/plugparams.h"
#include "tests/controller/testhost.h"
#include "tests/support/hostentries.h"
#include "tools/hostkit/staterecord.h"
#include "tests/support/texts.h"

#include "pluginterfaces/base/funknownimpl.h"
#include "pluginterfaces/base/iupdatehandler.h"
#include "pluginterfaces/base/ustring.h"
#include "pluginterfaces/vst/ivstmessage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <new>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;
using zytest::narrow;

namespace {

class PlugControllerTest : public ::testing::Test
{
protected:
	void SetUp () override
	{
		controller = Steinberg::owned (new PlugController ());
		ASSERT_EQ (controller->initialize (host), kResultOk);
	}
	void TearDown () override { controller->terminate (); }

	std::string valueText (ParamID tag)
	{
		String128 text {};
		EXPECT_EQ (
		    controller->getParamStringByValue (tag, controller->getParamNormalized (tag), text),
		    kResultTrue);
		return narrow (text);
	}
	void expectDefaults ()
	{
		for (int32 i = 0; i < controller->getParameterCount (); ++i)
		{
			ParameterInfo info {};
			controller->getParameterInfo (i, info);
			EXPECT_EQ (controller->getParamNormalized (info.id), info.defaultNormalizedValue) << i;
		}
	}
	// Moves every parameter away from its default.
	void setAllTo (ParamValue value)
	{
		for (ParamID tag = 0; tag < 8; ++tag)
			controller->setParamNormalized (tag, value);
	}

	IPtr<FUnknown> host = zytest::makeVst3HostContext ();
	IPtr<PlugController> controller;
};

TEST_F (PlugControllerTest, ParameterTable)
{
	const struct
	{
		const char* title;
		const char* units;
		int32 stepCount;
		ParamValue defaultNormalized;
		int32 flags;
		const char* defaultText;
	} rows[] = {
	    {"Level", "dB", 0, 0.75, 1, "0.00"}, {"Frequency", "Hz", 0, 0.5275071124607182, 1, "700"},
	    {"Depth", "%", 0, 0.5, 1, "50"},     {"Degree", "deg", 0, 0.5, 1, "90"},
	    {"Rate", "Hz", 0, 0.15, 1, "0.30"},  {"Feedback", "%", 0, 0.5, 1, "50"},
	    {"Mix", "%", 0, 1.0, 1, "100"},      {"Bypass", "", 1, 0.0, 0x10001, "Off"},
	};
	ASSERT_EQ (controller->getParameterCount (), 8);
	for (int32 index = 0; index < 8; ++index)
	{
		const auto& row = rows[index];
		ParameterInfo info {};
		ASSERT_EQ (controller->getParameterInfo (index, info), kResultTrue);
		EXPECT_EQ (info.id, static_cast<ParamID> (index));
		EXPECT_EQ (narrow (info.title), row.title);
		EXPECT_EQ (narrow (info.units), row.units) << row.title;
		EXPECT_EQ (narrow (info.shortTitle), "") << row.title;
		EXPECT_EQ (info.stepCount, row.stepCount) << row.title;
		EXPECT_EQ (info.defaultNormalizedValue, row.defaultNormalized) << row.title;
		EXPECT_EQ (info.flags, row.flags) << row.title;
		EXPECT_EQ (info.unitId, 0) << row.title;
		EXPECT_EQ (valueText (info.id), row.defaultText);
	}
	ParameterInfo none {};
	EXPECT_EQ (controller->getParameterInfo (8, none), kResultFalse);
}

TEST_F (PlugControllerTest, IdentityAndInterfaces)
{
	EXPECT_STREQ (controller->isA (), "EditController");
	for (const FUID* iid :
	     {&IEditController::iid, &IEditController2::iid, &IPluginBase::iid, &IConnectionPoint::iid})
	{
		FUnknown* unknown = nullptr;
		EXPECT_EQ (controller->queryInterface (iid->toTUID (), reinterpret_cast<void**> (&unknown)),
		           kResultOk);
		if (unknown)
			unknown->release ();
	}
	auto stream = zyhost::makeStateStream (zyhost::kDefaultStateValues, 0);
	EXPECT_EQ (controller->setState (stream), kNotImplemented);
	EXPECT_EQ (controller->getState (stream), kNotImplemented);
	EXPECT_EQ (controller->openAboutBox (false), kResultFalse);
}

TEST_F (PlugControllerTest, SecondInitializeBuildsNothing)
{
	setAllTo (0.25);
	for (FUnknown* context : {host.get (), static_cast<FUnknown*> (nullptr)})
	{
		EXPECT_EQ (controller->initialize (context), kResultOk);
		EXPECT_EQ (controller->getParameterCount (), 8);
		EXPECT_EQ (controller->getParamNormalized (kLevelTag), 0.25);
	}
}

TEST_F (PlugControllerTest, FirstInitializeWithoutContextThenAgain)
{
	auto bare = Steinberg::owned (new PlugController ());
	EXPECT_EQ (bare->initialize (nullptr), kResultOk);
	EXPECT_EQ (bare->initialize (nullptr), kResultOk);
	EXPECT_EQ (bare->getParameterCount (), 8);
	bare->terminate ();
}

TEST_F (PlugControllerTest, TerminateThenInitializeRebuildsAtDefaults)
{
	setAllTo (0.25);
	EXPECT_EQ (controller->terminate (), kResultOk);
	EXPECT_EQ (controller->getParameterCount (), 0);
	EXPECT_EQ (controller->initialize (host), kResultOk);
	EXPECT_EQ (controller->getParameterCount (), 8);
	expectDefaults ();
}

TEST_F (PlugControllerTest, ComponentStateSetsTheParameters)
{
	const zyhost::StateValues values {0.1, 0.2, 0.3, 0.4, 0.6, 0.7, 0.8};
	const struct
	{
		int32_t bypassWord;
		ParamValue bypass;
		const char* bypassText;
	} cases[] = {
	    {1, 1.0, "On"},
	    {2, 1.0, "On"},
	    {0, 0.0, "Off"},
	    {-1, 0.0, "Off"},
	};
	for (const auto& c : cases)
	{
		setAllTo (0.95);
		EXPECT_EQ (controller->setComponentState (zyhost::makeStateStream (values, c.bypassWord)),
		           kResultOk);
		for (ParamID tag = 0; tag < 7; ++tag)
			EXPECT_EQ (controller->getParamNormalized (tag), values[tag]) << tag;
		EXPECT_EQ (controller->getParamNormalized (kBypassTag), c.bypass) << c.bypassWord;
		EXPECT_EQ (valueText (kBypassTag), c.bypassText) << c.bypassWord;
	}
}

TEST_F (PlugControllerTest, ComponentStateValuesOutsideTheRangeAreClamped)
{
	setAllTo (0.25);
	EXPECT_EQ (controller->setComponentState (
	               zyhost::makeStateStream ({1.5, -0.5, 1e300, -1e-300, 0.5, 0.5, 1.0}, 0)),
	           kResultOk);
	EXPECT_EQ (controller->getParamNormalized (kLevelTag), 1.0);
	EXPECT_EQ (valueText (kLevelTag), "12.00");
	EXPECT_EQ (controller->getParamNormalized (kFrequencyTag), 0.0);
	EXPECT_EQ (controller->getParamNormalized (kDepthTag), 1.0);
	EXPECT_EQ (controller->getParamNormalized (kDegreeTag), 0.0);
}

TEST_F (PlugControllerTest, UnreadableComponentStateChangesNothing)
{
	setAllTo (0.25);
	zyhost::StateValues withNaN = zyhost::kDefaultStateValues;
	withNaN[kDepthTag] = std::nan ("");
	const struct
	{
		zyhost::StateValues values;
		int length;
	} cases[] = {
	    {zyhost::kDefaultStateValues, 0},
	    {zyhost::kDefaultStateValues, 8},
	    {zyhost::kDefaultStateValues, 67},
	    {withNaN, 68},
	};
	for (const auto& c : cases)
	{
		EXPECT_EQ (controller->setComponentState (zyhost::makeStateStream (c.values, 1, c.length)),
		           kResultFalse)
		    << c.length;
		for (ParamID tag = 0; tag < 8; ++tag)
			EXPECT_EQ (controller->getParamNormalized (tag), 0.25) << c.length;
	}
	EXPECT_EQ (controller->setComponentState (nullptr), kResultFalse);
}

// Texts and values that must never come back from the controller as a NaN, a
// value outside [0, 1] or an exception.

// Counts the notifications a parameter sends its dependents (the editor's
// controls).
class UpdateCounter : public FObject
{
public:
	void PLUGIN_API update (FUnknown*, int32) SMTG_OVERRIDE { ++updates; }
	int updates {0};
};

TEST_F (PlugControllerTest, TextThatNamesNoValueIsRefused)
{
	zytest::expectTextThatNamesNoValueIsRefused (*controller);
	// the SDK's text conversion still works after it threw
	std::u16string one = u"1";
	ParamValue value = 0.;
	EXPECT_EQ (controller->getParamValueByString (kRateTag, zytest::units (one), value),
	           kResultTrue);
	EXPECT_EQ (value, 0.5);
}

TEST_F (PlugControllerTest, TextBeyondTheRangeEndsAtItsEnds)
{
	zytest::expectTextBeyondTheRangeEndsAtItsEnds (*controller);
	// Bypass reads the number as its normalized value, within [0, 1]
	const struct
	{
		const char* text;
		ParamValue normalized;
	} bypass[] = {{"2", 1.}, {"-0.5", 0.}, {"0.75", 0.75}, {"1", 1.}, {"0", 0.}};
	for (const auto& b : bypass)
	{
		std::u16string text = zytest::wide (b.text);
		ParamValue value = zytest::kUntouched;
		EXPECT_EQ (controller->getParamValueByString (kBypassTag, zytest::units (text), value),
		           kResultTrue);
		EXPECT_EQ (value, b.normalized) << b.text;
	}
}

TEST_F (PlugControllerTest, ValueTextReadsBack)
{
	zytest::expectValueTextReadsBack (*controller);
}

// Bypass reads back the words it shows, whatever their letter case and with
// blanks around them; other words are refused, numbers read as before.
TEST_F (PlugControllerTest, BypassReadsItsWords)
{
	const struct
	{
		const char* text;
		tresult result;
		ParamValue normalized;
	} cases[] = {
	    {"On", kResultTrue, 1.},
	    {"Off", kResultTrue, 0.},
	    {"ON", kResultTrue, 1.},
	    {"oFf", kResultTrue, 0.},
	    {"  on ", kResultTrue, 1.},
	    {"\toff\t", kResultTrue, 0.},
	    {"o n", kResultFalse, zytest::kUntouched},
	    {"onn", kResultFalse, zytest::kUntouched},
	    {"of", kResultFalse, zytest::kUntouched},
	    {"offset", kResultFalse, zytest::kUntouched},
	    {"On1", kResultFalse, zytest::kUntouched},
	    {" ", kResultFalse, zytest::kUntouched},
	    {" 1 ", kResultTrue, 1.},
	};
	for (const auto& c : cases)
	{
		std::u16string text = zytest::wide (c.text);
		ParamValue value = zytest::kUntouched;
		EXPECT_EQ (controller->getParamValueByString (kBypassTag, zytest::units (text), value),
		           c.result)
		    << c.text;
		EXPECT_EQ (value, c.normalized) << c.text;
	}
	// the words are Bypass's own
	std::u16string on = u"On";
	ParamValue value = zytest::kUntouched;
	EXPECT_EQ (controller->getParamValueByString (kMixTag, zytest::units (on), value),
	           kResultFalse);
}

TEST_F (PlugControllerTest, NaNIsNeverStored)
{
	for (ParamID tag = 0; tag < zytest::kTagCount; ++tag)
	{
		// a refused NaN tells the editor's controls nothing; each clamped
		// infinity does
		auto counter = Steinberg::owned (new UpdateCounter ());
		Parameter* parameter = controller->getParameterObject (tag);
		ASSERT_NE (parameter, nullptr);
		controller->setParamNormalized (tag, 0.5);
		parameter->addDependent (counter);
		zytest::expectNaNIsNeverStored (*controller, tag);
		EXPECT_EQ (counter->updates, 3) << tag;
		parameter->removeDependent (counter);
	}
	EXPECT_EQ (controller->setParamNormalized (8, 0.5), kResultFalse);
}

// Stands in for the SDK's update handler, through which a stored value reaches
// the editor's controls, as a control that throws while it follows the value
// (out of memory, say). The SDK's own handler is not in the way: when a
// dependent throws, it keeps a record of the notification that points into
// the unwound stack.
class ThrowingUpdates : public U::Implements<U::Directly<IUpdateHandler>>
{
public:
	ThrowingUpdates () : previous (FObject::getUpdateHandler ())
	{
		FObject::setUpdateHandler (this);
	}
	~ThrowingUpdates () override { FObject::setUpdateHandler (previous); }

	tresult PLUGIN_API addDependent (FUnknown*, IDependent*) override { return kResultFalse; }
	tresult PLUGIN_API removeDependent (FUnknown*, IDependent*) override { return kResultFalse; }
	tresult PLUGIN_API triggerUpdates (FUnknown*, int32) override { throw std::bad_alloc (); }
	tresult PLUGIN_API deferUpdates (FUnknown*, int32) override { return kResultFalse; }

private:
	IUpdateHandler* const previous;
};

// The editor tells the host of a value only when setParamNormalized answers
// kResultTrue: a value stored before its controls threw answers that too.
TEST_F (PlugControllerTest, AValueWhoseControlsThrowIsStoredAndSaidSo)
{
	for (ParamID tag = 0; tag < zytest::kTagCount; ++tag)
	{
		ASSERT_EQ (controller->setParamNormalized (tag, 0.), kResultTrue);
		tresult result = kResultFalse;
		{
			ThrowingUpdates throwing;
			EXPECT_NO_THROW (result = controller->setParamNormalized (tag, 1.)) << tag;
		}
		EXPECT_EQ (result, kResultTrue) << tag;
		EXPECT_EQ (controller->getParamNormalized (tag), 1.) << tag;
	}
}

TEST_F (PlugControllerTest, ValueTextOfValuesThatAreNotFinite)
{
	zytest::expectValueTextOfValuesThatAreNotFinite (*controller);
}

TEST_F (PlugControllerTest, NoTextOrNoParameterIsRefused)
{
	ParamValue value = zytest::kUntouched;
	EXPECT_EQ (controller->getParamValueByString (kLevelTag, nullptr, value), kResultFalse);
	EXPECT_EQ (value, zytest::kUntouched);
	EXPECT_EQ (controller->getParamStringByValue (kLevelTag, 0.5, nullptr), kResultFalse);

	// the editor converts the buffer it gave even after a refusal
	String128 text;
	std::fill (std::begin (text), std::end (text), TChar (0xdc00));
	EXPECT_EQ (controller->getParamStringByValue (8, 0.5, text), kResultFalse);
	EXPECT_EQ (text[0], 0);
	std::u16string one = u"1";
	EXPECT_EQ (controller->getParamValueByString (8, zytest::units (one), value), kResultFalse);
	EXPECT_EQ (value, zytest::kUntouched);
}

TEST (PlugControllerLifecycle, ComponentStateBeforeInitialize)
{
	auto controller = Steinberg::owned (new PlugController ());
	EXPECT_EQ (
	    controller->setComponentState (zyhost::makeStateStream (zyhost::kDefaultStateValues, 0)),
	    kResultOk);
	EXPECT_EQ (controller->getParameterCount (), 0);
}

TEST (PlugControllerLifecycle, CreateInstanceHandsOverOneReference)
{
	FUnknown* unknown = PlugController::createInstance (nullptr);
	ASSERT_NE (unknown, nullptr);
	IEditController* editController = nullptr;
	ASSERT_EQ (
	    unknown->queryInterface (IEditController::iid, reinterpret_cast<void**> (&editController)),
	    kResultOk);
	EXPECT_EQ (static_cast<FUnknown*> (editController), unknown);
	auto* controller = static_cast<PlugController*> (editController);
	EXPECT_TRUE (controller->aboutControllers.empty ());
	EXPECT_EQ (controller->getParameterCount (), 0);
	editController->release ();
	EXPECT_EQ (unknown->release (), 0u);
}

TEST_F (PlugControllerTest, CreateViewNamesAndKnobMode)
{
	const std::string copy = "editor";
	const struct
	{
		const char* name;
		bool created;
	} cases[] = {
	    {ViewType::kEditor, true}, {copy.c_str (), true}, {"Editor", false}, {"", false},
	    {"editor ", false},        {nullptr, false},
	};
	for (const auto& c : cases)
	{
		controller->setKnobMode (kCircularMode);
		const uint32 references = controller->addRef () - 1;
		controller->release ();

		IPlugView* view = controller->createView (c.name);
		EXPECT_EQ (view != nullptr, c.created) << (c.name ? c.name : "null");
		EXPECT_EQ (EditController::getHostKnobMode (), c.created ? kLinearMode : kCircularMode);
		if (!view)
			continue;
		EXPECT_NE (dynamic_cast<VSTGUI::VST3Editor*> (view), nullptr);
		// the editor holds the controller
		EXPECT_EQ (controller->addRef () - 1, references + 1);
		controller->release ();
		EXPECT_EQ (view->release (), 0u);
		EXPECT_EQ (controller->addRef () - 1, references);
		controller->release ();
	}
}

TEST_F (PlugControllerTest, SubControllerNames)
{
	const std::string copy = "AboutController";
	const struct
	{
		const char* name;
		bool created;
	} cases[] = {
	    {kAboutControllerName, true}, {copy.c_str (), true}, {"aboutcontroller", false},
	    {"AboutController ", false},  {"", false},           {nullptr, false},
	};
	for (const auto& c : cases)
	{
		VSTGUI::IController* sub = controller->createSubController (c.name, nullptr, nullptr);
		EXPECT_EQ (sub != nullptr, c.created) << (c.name ? c.name : "null");
		EXPECT_EQ (controller->aboutControllers.size (), c.created ? 1u : 0u);
		if (sub)
		{
			EXPECT_EQ (controller->aboutControllers[0], sub);
			delete sub; // as the editor does
		}
		EXPECT_TRUE (controller->aboutControllers.empty ());
	}
}

TEST (PlugControllerHostContext, FormatFollowsTheHostContext)
{
	const struct
	{
		IPtr<FUnknown> context;
		const char* format;
	} cases[] = {
	    {zytest::makeVst3HostContext (), "VST3"},
	    {zytest::makeAUHostContext (), "AU"},
	    {nullptr, "VST3"},
	};
	for (const auto& c : cases)
	{
		auto controller = Steinberg::owned (new PlugController ());
		controller->initialize (c.context);
		auto* sub = controller->createSubController (kAboutControllerName, nullptr, nullptr);
		ASSERT_NE (sub, nullptr);
		EXPECT_STREQ (controller->aboutControllers.at (0)->format.text8 (), c.format);
		delete sub;
		controller->terminate ();
	}
}

TEST_F (PlugControllerTest, AboutControllersLeaveTheListInTheirDestructors)
{
	auto create = [&] () {
		return controller->createSubController (kAboutControllerName, nullptr, nullptr);
	};
	auto& list = controller->aboutControllers;
	VSTGUI::IController* first = create ();
	VSTGUI::IController* second = create ();
	VSTGUI::IController* third = create ();
	ASSERT_EQ (list.size (), 3u);
	EXPECT_EQ (list[0], first);
	EXPECT_EQ (list[1], second);
	EXPECT_EQ (list[2], third);

	delete second;
	ASSERT_EQ (list.size (), 2u);
	EXPECT_EQ (list[0], first);
	EXPECT_EQ (list[1], third);

	// removing one that is not listed changes nothing
	PlugController::AboutController unlisted (nullptr, false);
	controller->removeAboutController (&unlisted);
	EXPECT_EQ (list.size (), 2u);

	// a pointer listed twice loses only its first entry
	auto* firstAbout = list[0];
	controller->addAboutController (firstAbout);
	delete first;
	ASSERT_EQ (list.size (), 2u);
	EXPECT_EQ (list[0], third);
	EXPECT_EQ (list[1], firstAbout);
	controller->removeAboutController (firstAbout);

	delete third;
	EXPECT_TRUE (list.empty ());
}

} // namespace

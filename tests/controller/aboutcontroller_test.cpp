// The about display on real VSTGUI views: wiring, text, and what happens when
// the views or the display go away.

#include "controller/plugcontroller.h"

#include "vstgui/lib/cviewcontainer.h"
#include "vstgui/uidescription/uiattributes.h"
#include "vstgui/uidescription/uicontentprovider.h"
#include "vstgui/uidescription/uidescription.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <new>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace VSTGUI;

namespace {

const std::string kVst3Text = "3.1.0, VST3 x86_64-Linux  ";
const std::string kAUText = "3.1.0, AU x86_64-Linux  ";

// A real on/off button whose value can be set past CControl's clamp, as a
// NaN from elsewhere would arrive.
class RawValueButton : public COnOffButton
{
public:
	RawValueButton () : COnOffButton (CRect (0, 0, 20, 20)) {}
	void setRawValue (float v) { value = v; }
};

class AboutControllerTest : public ::testing::Test
{
protected:
	void SetUp () override { controller->initialize (nullptr); }
	void TearDown () override { controller->terminate (); }

	PlugController::AboutController* makeAbout (bool isAU = false)
	{
		auto* sub = controller->createSubController (kAboutControllerName, nullptr, nullptr);
		auto* about = dynamic_cast<PlugController::AboutController*> (sub);
		if (isAU)
			about->format = "AU";
		return about;
	}
	CView* verify (PlugController::AboutController* about, CView* view)
	{
		return about->verifyView (view, attributes, nullptr);
	}
	static std::string textOf (const CTextLabel* l) { return l->getText ().getString (); }
	static void press (CControl* control, float value)
	{
		control->setValue (value);
		control->valueChanged ();
	}

	IPtr<PlugController> controller = Steinberg::owned (new PlugController ());
	UIAttributes attributes;
	SharedPointer<CTextLabel> label = makeOwned<CTextLabel> (CRect (0, 0, 200, 20), "title");
	SharedPointer<RawValueButton> button = makeOwned<RawValueButton> ();
};

TEST_F (AboutControllerTest, LabelThenButtonShowsTheTextTheButtonAsksFor)
{
	for (float initial : {0.f, 1.f})
	{
		auto* about = makeAbout ();
		auto freshLabel = makeOwned<CTextLabel> (CRect (0, 0, 200, 20), "title");
		auto freshButton = makeOwned<COnOffButton> (CRect (0, 0, 20, 20));
		freshButton->setValue (initial);

		EXPECT_EQ (verify (about, freshLabel), freshLabel.get ());
		EXPECT_EQ (about->label, freshLabel.get ());
		EXPECT_EQ (textOf (freshLabel), "");
		EXPECT_EQ (verify (about, freshButton), freshButton.get ());
		EXPECT_EQ (about->button, freshButton.get ());
		EXPECT_EQ (textOf (freshLabel), initial != 0.f ? kVst3Text : "");
		delete about;
	}
}

TEST_F (AboutControllerTest, TextFollowsTheButton)
{
	const float nan = std::nanf ("");
	const struct
	{
		float value;
		bool isAU;
		const std::string expected;
	} cases[] = {
	    {1.f, false, kVst3Text}, {0.f, false, ""},         {nan, false, ""},
	    {2.f, false, kVst3Text}, {0.5f, false, kVst3Text}, {1.f, true, kAUText},
	};
	for (const auto& c : cases)
	{
		auto* about = makeAbout (c.isAU);
		verify (about, label);
		verify (about, button);
		button->setMax (2.f);
		button->setRawValue (c.value);
		button->valueChanged ();
		EXPECT_EQ (textOf (label), c.expected) << c.value;
		press (button, 0.f);
		EXPECT_EQ (textOf (label), "");
		delete about;
	}
}

TEST_F (AboutControllerTest, FieldsOfANewDisplay)
{
	auto* about = makeAbout ();
	EXPECT_EQ (about->controller, controller.get ());
	EXPECT_EQ (about->button, nullptr);
	EXPECT_EQ (about->label, nullptr);
	EXPECT_STREQ (about->format.text8 (), "VST3");
	EXPECT_STREQ (about->version.text8 (), "3.1.0");
	EXPECT_STREQ (about->platform.text8 (), "x86_64-Linux");
	EXPECT_TRUE (about->extra1.isEmpty ());
	EXPECT_TRUE (about->extra2.isEmpty ());
	delete about;
}

TEST_F (AboutControllerTest, OtherViewsPassThrough)
{
	auto* about = makeAbout ();
	auto plain = makeOwned<CView> (CRect (0, 0, 10, 10));
	auto container = makeOwned<CViewContainer> (CRect (0, 0, 10, 10));
	EXPECT_EQ (verify (about, plain), plain.get ());
	EXPECT_EQ (verify (about, container), container.get ());
	EXPECT_EQ (verify (about, nullptr), nullptr);
	EXPECT_EQ (about->label, nullptr);
	EXPECT_EQ (about->button, nullptr);
	delete about;
}

TEST_F (AboutControllerTest, ALaterLabelOrButtonReplacesTheHeldOne)
{
	auto* about = makeAbout ();
	auto secondLabel = makeOwned<CTextLabel> (CRect (0, 0, 200, 20));
	auto secondButton = makeOwned<COnOffButton> (CRect (0, 0, 20, 20));
	verify (about, label);
	verify (about, button);
	verify (about, secondLabel);
	verify (about, secondButton);
	EXPECT_EQ (about->label, secondLabel.get ());
	EXPECT_EQ (about->button, secondButton.get ());

	about->viewWillDelete (label);
	about->viewWillDelete (button);
	EXPECT_EQ (about->label, secondLabel.get ());
	EXPECT_EQ (about->button, secondButton.get ());

	press (secondButton, 1.f);
	EXPECT_EQ (textOf (secondLabel), kVst3Text);
	delete about;
}

// The held button is on but has not reported it yet: a report from any other
// control, the button it replaced among them, must not show the text.
TEST_F (AboutControllerTest, OnlyTheHeldButtonChangesTheText)
{
	auto* about = makeAbout ();
	auto replaced = makeOwned<COnOffButton> (CRect (0, 0, 20, 20));
	auto stranger = makeOwned<COnOffButton> (CRect (0, 0, 20, 20));
	verify (about, label);
	verify (about, replaced);
	verify (about, button);
	button->setRawValue (1.f);
	for (CControl* other :
	     {static_cast<CControl*> (stranger.get ()), static_cast<CControl*> (replaced.get ()),
	      static_cast<CControl*> (nullptr)})
	{
		if (other)
			other->setValue (1.f);
		about->valueChanged (other);
		EXPECT_EQ (textOf (label), "");
	}
	about->valueChanged (button);
	EXPECT_EQ (textOf (label), kVst3Text);
	delete about;
}

// A wide field beside bytes that are not UTF-8 would make the SDK's String
// convert, and throw, if the fields were joined as Strings: the display joins
// their 8-bit texts, and nothing leaves it.
TEST_F (AboutControllerTest, AWideFieldBesideBytesThatAreNotUtf8)
{
	auto* about = makeAbout ();
	verify (about, label);
	verify (about, button);
	about->extra2 = "\xff";
	about->extra1 = Steinberg::String (STR16 ("wide"));
	ASSERT_TRUE (about->extra1.isWideString ());
	EXPECT_NO_THROW (press (button, 1.f));
	EXPECT_EQ (textOf (label), "3.1.0, VST3 x86_64-Linux \xff wide");
	delete about;
}

// A label that runs out of memory while it takes a text: the button's report
// must not carry that into the toolkit's event handling and on to the host.
class ThrowingLabel : public CTextLabel
{
public:
	ThrowingLabel () : CTextLabel (CRect (0, 0, 200, 20)) {}
	void setText (const UTF8String& text) override
	{
		if (throws)
			throw std::bad_alloc ();
		CTextLabel::setText (text);
	}
	bool throws {false};
};

TEST_F (AboutControllerTest, ALabelThatThrowsKeepsItsTextAndTheDisplayGoesOn)
{
	auto* about = makeAbout ();
	auto throwing = makeOwned<ThrowingLabel> ();
	verify (about, throwing);
	verify (about, button);
	throwing->throws = true;
	EXPECT_NO_THROW (press (button, 1.f));
	EXPECT_EQ (textOf (throwing), "");
	throwing->throws = false;
	press (button, 1.f);
	EXPECT_EQ (textOf (throwing), kVst3Text);
	delete about;
}

TEST_F (AboutControllerTest, LosingTheLabelKeepsTheButton)
{
	auto* about = makeAbout ();
	verify (about, label);
	verify (about, button);
	about->viewWillDelete (label);
	EXPECT_EQ (about->label, nullptr);
	EXPECT_EQ (about->button, button.get ());

	// with no label the text has nowhere to go
	press (button, 1.f);
	EXPECT_EQ (textOf (label), "");
	delete about;
}

TEST_F (AboutControllerTest, DeletedViewsAreForgotten)
{
	auto* about = makeAbout ();
	auto ownLabel = VSTGUI::owned (new CTextLabel (CRect (0, 0, 200, 20)));
	auto ownButton = VSTGUI::owned (new COnOffButton (CRect (0, 0, 20, 20)));
	verify (about, ownLabel);
	verify (about, ownButton);
	ownLabel = nullptr;
	EXPECT_EQ (about->label, nullptr);
	EXPECT_EQ (about->button, ownButton.get ());
	ownButton = nullptr;
	EXPECT_EQ (about->button, nullptr);
	delete about;
	EXPECT_TRUE (controller->aboutControllers.empty ());
}

TEST_F (AboutControllerTest, DestructorLetsGoOfTheViews)
{
	auto* about = makeAbout ();
	verify (about, label);
	verify (about, button);
	delete about;
	EXPECT_TRUE (controller->aboutControllers.empty ());
	// neither view calls the deleted display any more
	press (button, 1.f);
	EXPECT_EQ (textOf (label), "");
}

// An editor-like tree built by VSTGUI from a UI description: the about
// display goes away with its views, in the toolkit's order (the views first).
class EditorViewsTest : public AboutControllerTest
{
protected:
	struct EditorLikeController : IController
	{
		PlugController* plug;
		explicit EditorLikeController (PlugController* plug) : plug (plug) {}
		void valueChanged (CControl*) override {}
		IController* createSubController (UTF8StringPtr name, const IUIDescription* d) override
		{
			return plug->createSubController (name, d, nullptr);
		}
	};

	SharedPointer<CView> build (UIDescription& description)
	{
		return VSTGUI::owned (description.createView ("view", &editorController));
	}

	EditorLikeController editorController {controller.get ()};
};

const char kAboutDescription[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<vstgui-ui-description version="1">
	<template name="view" class="CViewContainer" origin="0, 0" size="300, 100">
		<view class="CViewContainer" sub-controller="AboutController" origin="0, 0" size="300, 100">
			<view class="CTextLabel" origin="0, 0" size="260, 20" title="about"/>
			<view class="COnOffButton" origin="0, 40" size="20, 20"/>
		</view>
	</template>
</vstgui-ui-description>
)";

TEST_F (EditorViewsTest, TwoEditorsTwoEntriesEachLeavesWithItsViews)
{
	MemoryContentProvider provider (kAboutDescription, std::strlen (kAboutDescription));
	auto description = makeOwned<UIDescription> (&provider);
	ASSERT_TRUE (description->parse ());

	auto first = build (*description);
	auto second = build (*description);
	ASSERT_TRUE (first && second);
	ASSERT_EQ (controller->aboutControllers.size (), 2u);
	auto* secondAbout = controller->aboutControllers[1];
	ASSERT_NE (secondAbout->label, nullptr);
	ASSERT_NE (secondAbout->button, nullptr);
	EXPECT_EQ (textOf (secondAbout->label), "");
	press (secondAbout->button, 1.f);
	EXPECT_EQ (textOf (secondAbout->label), kVst3Text);

	first = nullptr;
	ASSERT_EQ (controller->aboutControllers.size (), 1u);
	EXPECT_EQ (controller->aboutControllers[0], secondAbout);
	second = nullptr;
	EXPECT_TRUE (controller->aboutControllers.empty ());
}

} // namespace

#include "slidertestsupport.h"

#include "vstgui/lib/platform/iplatformtimer.h"
#include "vstgui/lib/vstguidebug.h"
#include "vstgui/lib/vstguiinit.h"
#include <cstring>
#include <gtest/gtest.h>
#include <stdexcept>

namespace ZYTest {

namespace {

std::vector<SliderAssertion>& assertionLog ()
{
	static std::vector<SliderAssertion> log;
	return log;
}

void recordAssertion (const char* filename, const char* line, const char*, const char* desc)
{
	// the toolkit's own assertions (a timer without a run loop) are not the slider's
	if (filename && std::strcmp (filename, "vstgui/lib/controls/cslider") == 0)
		assertionLog ().push_back ({line ? line : "", desc ? desc : ""});
}

// The toolkit as a host sets it up: a platform factory for bitmaps, offscreen
// contexts and timers, and an assertion handler.
struct ToolkitEnvironment : ::testing::Environment
{
	void SetUp () override
	{
		VSTGUI::init (nullptr);
		setAssertionHandler (&recordAssertion);
	}
	void TearDown () override { VSTGUI::exit (); }
};

std::function<void ()>& atThrowingAssertion ()
{
	static std::function<void ()> atThrow;
	return atThrow;
}

void throwAssertion (const char* filename, const char* line, const char* condition,
					 const char* desc)
{
	recordAssertion (filename, line, condition, desc);
	if (atThrowingAssertion ())
		atThrowingAssertion () ();
	throw std::logic_error (condition ? condition : "assertion");
}

} // anonymous namespace

ThrowingAssertions::ThrowingAssertions (std::function<void ()> atThrow)
{
	atThrowingAssertion () = std::move (atThrow);
	setAssertionHandler (&throwAssertion);
}

ThrowingAssertions::~ThrowingAssertions ()
{
	setAssertionHandler (&recordAssertion);
	atThrowingAssertion () = nullptr;
}

std::vector<SliderAssertion> takeSliderAssertions ()
{
	auto taken = std::move (assertionLog ());
	assertionLog ().clear ();
	return taken;
}

SharedPointer<ProbeSlider> makeSlider (const CRect& size, const CPoint& handleSize, int32_t style,
									   const CPoint& handleOffset)
{
	auto slider =
		makeOwned<ProbeSlider> (size, nullptr, 0, 0, 0, nullptr, nullptr, CPoint (0, 0), style);
	slider->setHandleOffset (handleOffset);
	slider->setHandleSize (handleSize.x, handleSize.y);
	slider->setViewSize (size);
	return slider;
}

void fireTimer (CVSTGUITimer* timer) { static_cast<IPlatformTimerCallback*> (timer)->fire (); }

} // ZYTest

int main (int argc, char** argv)
{
	::testing::InitGoogleTest (&argc, argv);
	::testing::AddGlobalTestEnvironment (new ZYTest::ToolkitEnvironment);
	return RUN_ALL_TESTS ();
}

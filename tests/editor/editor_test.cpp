// The bundle's editor in a real X11 window: it opens at its size and draws
// the bundle's bitmaps, the about button switches the about text on and off,
// it opens and closes again and again without leaving anything behind, and
// it follows a content scale of 2 with the sharp bitmaps.

#include "tests/editor/editorsession.h"
#include "tests/editor/pixels.h"
#include "tests/editor/sliderplace.h"

#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <valgrind/memcheck.h>
#include <sys/stat.h>

using namespace Steinberg;
using namespace zytest;

namespace {

constexpr uint32_t kAccent = 0x35c7d0; // the handle's value line
const Rect kLogo {18, 15, 26, 26};     // background only, no view above it

// Bytes in heap blocks not yet freed, reachable or not, as memcheck counts
// them; 0 when not running under memcheck.
unsigned long heapBytesHeld ()
{
	unsigned long leaked = 0, dubious = 0, reachable = 0, suppressed = 0;
	VALGRIND_DO_QUICK_LEAK_CHECK;
	VALGRIND_COUNT_LEAKS (leaked, dubious, reachable, suppressed);
	return leaked + dubious + reachable + suppressed;
}

void saveScreenshot (const zyhost::Capture& capture, const std::string& name)
{
	mkdir (ZY_SCREENSHOT_DIR, 0755);
	std::string error;
	EXPECT_TRUE (capture.writePng (std::string (ZY_SCREENSHOT_DIR) + "/" + name, error)) << error;
}

class EditorTest : public ::testing::Test
{
protected:
	void SetUp () override
	{
		std::string error;
		ASSERT_TRUE (layout.load (EditorSession::resourcePath ("plug.uidesc"), error)) << error;
		ASSERT_TRUE (session.load (error)) << error;
	}
	void TearDown () override { session.closeAll (); }

	void openEditor (float scale = 1.f)
	{
		std::string error;
		ASSERT_TRUE (session.open (error, scale)) << error;
	}
	zyhost::Capture capture ()
	{
		zyhost::Capture shot;
		std::string error;
		EXPECT_TRUE (session.capture (shot, error)) << error;
		return shot;
	}
	zyhost::Capture bitmap (const std::string& file)
	{
		zyhost::Capture image;
		std::string error;
		EXPECT_TRUE (loadPng (EditorSession::resourcePath (file), image, error)) << error;
		return image;
	}
	const UiView* aboutView () const
	{
		for (const UiView* view : layout.views ())
			if (view->attribute ("sub-controller") == "AboutController")
				return view;
		return nullptr;
	}

	UiLayout layout;
	EditorSession session;
};

TEST_F (EditorTest, OpensAtItsSizeAndDrawsEverySliderAtItsValue)
{
	openEditor ();
	const ViewRect size = session.window ()->size ();
	EXPECT_EQ (size.getWidth (), layout.root ().width);
	EXPECT_EQ (size.getHeight (), layout.root ().height);

	const zyhost::Capture shot = capture ();
	ASSERT_EQ (shot.width, layout.root ().width);
	saveScreenshot (shot, "editor.png");
	// the backdrop is the bundle's bitmap
	EXPECT_LT (meanDifference (shot, kLogo, bitmap ("background.png"), kLogo.left, kLogo.top), 2.);

	// each handle sits where its parameter's value puts it, and nowhere else
	const zyhost::Capture cap = bitmap ("fader_cap.png");
	for (int tag = 0; tag <= 6; ++tag)
	{
		SCOPED_TRACE (tag);
		const UiView* slider = layout.findControl ("CSlider", tag);
		ASSERT_NE (slider, nullptr);
		SliderPlace place {};
		ASSERT_TRUE (placeOf (*slider, cap, place));
		const double value = session.plugin ().controller ()->getParamNormalized (tag);
		const Rect handle = place.handleFor (value);
		// the screenshot is the capture, the handle bitmap the image
		// NOLINTNEXTLINE(readability-suspicious-call-argument)
		EXPECT_LT (meanDifference (shot, handle, cap, 0, 0), 3.);
		const Rect above {handle.left, place.view.top, handle.width, handle.top - place.view.top};
		const Rect below {handle.left, handle.top + handle.height, handle.width,
		                  place.view.top + place.view.height - handle.top - handle.height};
		if (above.height > 0)
			EXPECT_FALSE (hasColourNear (shot, above, kAccent, 40));
		if (below.height > 0)
			EXPECT_FALSE (hasColourNear (shot, below, kAccent, 40));
	}
}

TEST_F (EditorTest, AboutButtonTogglesTheAboutText)
{
	const UiView* about = aboutView ();
	ASSERT_NE (about, nullptr);
	ASSERT_EQ (about->children.size (), 2u);
	const UiView& label = *about->children[0];
	const UiView& button = *about->children[1];
	ASSERT_EQ (label.viewClass, "CTextLabel");
	ASSERT_EQ (button.viewClass, "COnOffButton");
	const Rect labelRect {label.left, label.top, label.width, label.height};

	openEditor ();
	const zyhost::Capture off = capture ();
	EXPECT_EQ (inkBounds (off, labelRect).width, 0);

	session.click (button.centreX (), button.centreY ());
	const zyhost::Capture on = capture ();
	saveScreenshot (on, "editor-about.png");
	// the label holds the version, format and platform line, right-aligned
	const Rect ink = inkBounds (on, labelRect);
	const int expected = textInkWidth ("3.1.0, VST3 x86_64-Linux", "DejaVu Sans", 11, false);
	EXPECT_NEAR (ink.width, expected, 2) << "expected the ink of \"3.1.0, VST3 x86_64-Linux\"";
	EXPECT_GT (ink.left, labelRect.left);

	session.click (button.centreX (), button.centreY ());
	const zyhost::Capture offAgain = capture ();
	EXPECT_EQ (inkBounds (offAgain, labelRect).width, 0);
	EXPECT_EQ (meanDifference (offAgain, labelRect, off, labelRect.left, labelRect.top), 0.);
}

TEST_F (EditorTest, ValueFieldTakesATypedValue)
{
	// Frequency: 1000 Hz is 0.6241963505817849 on its exponential scale
	const UiView* field = layout.findControl ("CTextEdit", 1);
	ASSERT_NE (field, nullptr);
	openEditor ();
	session.click (field->centreX (), field->centreY ());
	for (int i = 0; i < 6; ++i)
		session.typeKey ("BackSpace");
	for (const char* key : {"1", "0", "0", "0", "Return"})
		session.typeKey (key);
	session.pump (std::chrono::milliseconds (100));

	const auto& edits = session.handler ().edits;
	ASSERT_FALSE (edits.empty ());
	const auto last = std::find_if (edits.rbegin (), edits.rend (), [] (const auto& e) {
		return e.kind == RecordingHandler::Kind::perform && e.id == 1;
	});
	ASSERT_NE (last, edits.rend ());
	EXPECT_NEAR (last->value, 0.6241963505817849, 1e-9);
	EXPECT_NEAR (session.plugin ().controller ()->getParamNormalized (1), 0.6241963505817849, 1e-9);
}

TEST_F (EditorTest, ValueFieldRefusesATypedNaN)
{
	// Feedback: "nan" scans as a number, but no value of it may reach the
	// host. Depth beside it stands at the same value and shows what Feedback
	// must show again afterwards.
	const UiView* field = layout.findControl ("CTextEdit", 5);
	const UiView* slider = layout.findControl ("CSlider", 5);
	const UiView* depthField = layout.findControl ("CTextEdit", 2);
	const UiView* depthSlider = layout.findControl ("CSlider", 2);
	ASSERT_TRUE (field && slider && depthField && depthSlider);
	openEditor ();
	auto* controller = session.plugin ().controller ();
	const double before = controller->getParamNormalized (5);
	ASSERT_EQ (controller->getParamNormalized (2), before);

	session.click (field->centreX (), field->centreY ());
	for (int i = 0; i < 6; ++i)
		session.typeKey ("BackSpace");
	for (const char* key : {"n", "a", "n", "Return"})
		session.typeKey (key);
	session.pump (std::chrono::milliseconds (250));

	const auto& edits = session.handler ().edits;
	EXPECT_TRUE (std::none_of (edits.begin (), edits.end (), [] (const auto& e) {
		return e.kind == RecordingHandler::Kind::perform && e.id == 5;
	}));
	EXPECT_EQ (controller->getParamNormalized (5), before);
	// the field reads the old value text again, and the handle has not moved
	const zyhost::Capture shot = capture ();
	const auto differenceFromDepth = [&] (const UiView& view, const UiView& depthView) {
		const Rect region {view.left, view.top, view.width, view.height};
		return meanDifference (shot, region, shot, depthView.left, depthView.top);
	};
	EXPECT_EQ (differenceFromDepth (*field, *depthField), 0.);
	EXPECT_EQ (differenceFromDepth (*slider, *depthSlider), 0.);
}

// Each editor must give back every descriptor and timer it registered with
// the host's run loop. Under memcheck (the editor_reopen_memcheck test) the
// heap blocks still held are counted too: after a warm-up that fills the
// toolkit's caches (fonts, bitmaps) they must not grow from one editor to
// the next.
void openAndCloseTwentyTimes (EditorSession& session, double allowedGrowthPerEditor)
{
	const size_t handlersBefore = session.runLoop ().eventHandlerCount ();
	const size_t timersBefore = session.runLoop ().timerCount ();
	constexpr int kWarmUp = 5, kRounds = 20;
	unsigned long heldAfterWarmUp = 0;
	for (int round = 0; round < kRounds; ++round)
	{
		SCOPED_TRACE (round);
		std::string error;
		ASSERT_TRUE (session.open (error)) << error;
		EXPECT_GT (session.runLoop ().timerCount (), timersBefore);
		session.close ();
		EXPECT_EQ (session.runLoop ().eventHandlerCount (), handlersBefore);
		EXPECT_EQ (session.runLoop ().timerCount (), timersBefore);
		if (round + 1 == kWarmUp)
			heldAfterWarmUp = heapBytesHeld ();
	}
	if (RUNNING_ON_VALGRIND)
	{
		const double growthPerEditor =
		    (double (heapBytesHeld ()) - double (heldAfterWarmUp)) / (kRounds - kWarmUp);
		std::printf ("heap held, growth per editor after warm-up: %.0f bytes\n", growthPerEditor);
		EXPECT_LT (growthPerEditor, allowedGrowthPerEditor);
	}
}

TEST_F (EditorTest, OpensAndClosesTwentyTimesBesideAnotherOpenEditor)
{
	std::string error;
	ASSERT_TRUE (session.openSecond (error)) << error;
	openAndCloseTwentyTimes (session, 256.);
}

// The toolkit drops its X connection when its last editor closes; cairo then
// must not hand a stale device to the next connection. The toolkit still
// keeps each finished device (about 19 KB) until the module unloads.
TEST_F (EditorTest, OpensAndClosesTwentyTimesAsTheOnlyEditor)
{
	openAndCloseTwentyTimes (session, 32768.);
}

TEST_F (EditorTest, ContentScaleTwoResizesAndDrawsTheSharpBitmaps)
{
	// as a host does when its window moves to a screen of twice the density
	openEditor ();
	FUnknownPtr<IPlugViewContentScaleSupport> scaling (session.view ());
	ASSERT_TRUE (scaling);
	const int resizesBefore = session.window ()->resizeRequests ();
	ASSERT_EQ (scaling->setContentScaleFactor (2.f), kResultTrue);
	session.pump (std::chrono::milliseconds (250));
	EXPECT_GT (session.window ()->resizeRequests (), resizesBefore);
	EXPECT_EQ (session.window ()->size ().getWidth (), 2 * layout.root ().width);
	EXPECT_EQ (session.window ()->size ().getHeight (), 2 * layout.root ().height);

	const zyhost::Capture shot = capture ();
	saveScreenshot (shot, "editor-2x.png");
	const Rect logo {2 * kLogo.left, 2 * kLogo.top, 2 * kLogo.width, 2 * kLogo.height};
	const double sharp =
	    meanDifference (shot, logo, bitmap ("background_2.0x.png"), logo.left, logo.top);
	const double enlarged =
	    meanDifferenceDoubled (shot, logo, bitmap ("background.png"), kLogo.left, kLogo.top);
	std::printf ("logo at scale 2: %.2f from the 2x bitmap, %.2f from the 1x one enlarged\n", sharp,
	             enlarged);
	EXPECT_LT (sharp, 2.);
	EXPECT_GT (enlarged, sharp + 1.);
}

} // namespace

// Every slider of the editor grabs its handle where a press lands on it and
// lets the handle jump to a press beside it: a real pointer presses and
// drags in the editor's X11 window, and the host's component handler sees
// the edits.

#include "tests/editor/editorsession.h"
#include "tests/editor/sliderplace.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace zytest;

namespace {

struct Gesture
{
	const char* name;
	const char* what;
	ParamID tag;
	int pressFromCentre; // along the slider, from the handle's centre
	bool onHandle;
	int drag; // pixels along the slider after the press
};

// The handle is 24 pixels high: up to 11 from its centre is on it.
const Gesture kGestures[] = {
    {"FrequencyOnTheCentre", "press on the handle's centre, drag up", 1, 0, true, -20},
    {"DepthNearTheLowerEdge", "press near the handle's lower edge, drag down", 2, 10, true, 16},
    {"FeedbackNearTheUpperEdge", "press near the handle's upper edge, drag up", 5, -10, true, -12},
    {"DegreeAboveTheHandle", "press beside the handle, above it, drag down", 3, -60, false, 10},
    {"MixBelowTheHandle", "press beside the handle, below it, drag up", 6, 70, false, -14},
};

void PrintTo (const Gesture& g, std::ostream* os)
{
	*os << g.name;
}

class SliderPointerTest : public ::testing::TestWithParam<Gesture>
{
protected:
	void SetUp () override
	{
		std::string error;
		ASSERT_TRUE (layout.load (EditorSession::resourcePath ("plug.uidesc"), error)) << error;
		ASSERT_TRUE (loadPng (EditorSession::resourcePath ("fader_cap.png"), cap, error)) << error;
		ASSERT_TRUE (session.load (error)) << error;
		ASSERT_TRUE (session.open (error)) << error;
	}
	void TearDown () override { session.closeAll (); }

	std::vector<RecordingHandler::Edit> editsOf (ParamID tag, size_t from) const
	{
		std::vector<RecordingHandler::Edit> out;
		const auto& all = const_cast<EditorSession&> (session).handler ().edits;
		for (size_t i = from; i < all.size (); ++i)
			if (all[i].id == tag)
				out.push_back (all[i]);
		return out;
	}

	UiLayout layout;
	zyhost::Capture cap;
	EditorSession session;
};

TEST_P (SliderPointerTest, GrabsOnTheHandleJumpsBesideIt)
{
	const Gesture& g = GetParam ();
	SCOPED_TRACE (g.what);
	const UiView* slider = layout.findControl ("CSlider", static_cast<int> (g.tag));
	ASSERT_NE (slider, nullptr);
	SliderPlace place {};
	ASSERT_TRUE (placeOf (*slider, cap, place));
	const double unit = 1. / place.travel ();

	IEditController& controller = *session.plugin ().controller ();
	const double start = controller.getParamNormalized (g.tag);
	const Rect handle = place.handleFor (start);
	const int x = handle.left + handle.width / 2;
	const int y = handle.top + handle.height / 2 + g.pressFromCentre;
	ASSERT_EQ (g.onHandle, y >= handle.top && y < handle.top + handle.height);
	ASSERT_TRUE (y > place.view.top && y < place.view.top + place.view.height);

	auto& edits = session.handler ().edits;
	session.moveTo (x, y);
	const size_t beforePress = edits.size ();
	session.press ();
	const auto atPress = editsOf (g.tag, beforePress);
	ASSERT_FALSE (atPress.empty ());
	EXPECT_EQ (atPress.front ().kind, RecordingHandler::Kind::begin);

	// what the press alone did to the value
	double afterPress = start;
	for (const auto& e : atPress)
		if (e.kind == RecordingHandler::Kind::perform)
			afterPress = e.value;
	if (g.onHandle)
	{
		// within the single precision of the control's value, far below a pixel
		EXPECT_NEAR (afterPress, start, 1e-6) << "the handle moved although it was grabbed";
	}
	else
	{
		EXPECT_GT (std::fabs (afterPress - start), 20 * unit) << "the handle did not jump";
		EXPECT_NEAR (afterPress, place.valueAtCentre (y), 2 * unit);
	}

	const int steps = std::abs (g.drag) / 2;
	for (int i = 1; i <= steps; ++i)
		session.moveTo (x, y + g.drag * i / steps);
	session.release ();

	const auto gesture = editsOf (g.tag, beforePress);
	ASSERT_GE (gesture.size (), 3u);
	EXPECT_EQ (gesture.back ().kind, RecordingHandler::Kind::end);
	double last = afterPress;
	for (const auto& e : gesture)
		if (e.kind == RecordingHandler::Kind::perform)
			last = e.value;
	// a drag up raises the value: the handle follows the pointer
	const double expected =
	    g.onHandle ? afterPress - g.drag * unit : place.valueAtCentre (y + g.drag);
	EXPECT_NEAR (last, expected, 1.5 * unit);
	EXPECT_EQ (controller.getParamNormalized (g.tag), last);
}

INSTANTIATE_TEST_SUITE_P (EverySliderFollowsTheGlobalMode, SliderPointerTest,
                          ::testing::ValuesIn (kGestures),
                          [] (const ::testing::TestParamInfo<Gesture>& info) {
	                          return std::string (info.param.name);
                          });

} // namespace

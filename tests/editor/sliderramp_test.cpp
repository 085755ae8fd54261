// A slider in ramp mode, in the editor the bundle builds, pressed beside its
// handle with the real pointer: the press starts a 16 ms timer on the host's
// run loop at once; each of its ticks steps the value toward the press and
// sends it to the host within the press's edit; the release stops it. The
// editor is built from a copy of the bundle whose UI description gives the
// Depth slider the mode "ramp".

#include "tests/editor/bundlecopy.h"
#include "tests/editor/editorsession.h"
#include "tests/editor/sliderplace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace zytest;

namespace {

constexpr ParamID kDepth = 2;
constexpr double kStart = 0.95;
constexpr Linux::TimerInterval kRampPeriodMs = 16;
const char* const kDepthSlider = R"(class="CSlider" control-tag="Depth" )";
const char* const kDepthRampSlider = R"(class="CSlider" control-tag="Depth" mode="ramp" )";

using Kind = TimerJournalRunLoop::Kind;
using Entry = TimerJournalRunLoop::Entry;

class SliderRampTest : public ::testing::Test
{
protected:
	void SetUp () override
	{
		std::string error;
		ASSERT_TRUE (copy.make (EditorSession::bundlePath (), error)) << error;
		ASSERT_TRUE (copy.editUiDescription (kDepthSlider, kDepthRampSlider, error)) << error;
		ASSERT_TRUE (layout.load (copy.path () + "/Contents/Resources/plug.uidesc", error))
		    << error;
		ASSERT_TRUE (loadPng (EditorSession::resourcePath ("fader_cap.png"), cap, error)) << error;
		ASSERT_TRUE (session.load (error, copy.path (), true)) << error;
		// near the top: a long way for the ramp to a press near the bottom
		session.plugin ().controller ()->setParamNormalized (kDepth, kStart);
		ASSERT_TRUE (session.open (error)) << error;
	}
	void TearDown () override { session.closeAll (); }

	// the copy goes after the session that loaded it
	BundleCopy copy;
	UiLayout layout;
	zyhost::Capture cap;
	EditorSession session;
};

TEST_F (SliderRampTest, PressBesideTheHandleStepsOnTheRunLoopUntilTheRelease)
{
	const UiView* slider = layout.findControl ("CSlider", kDepth);
	ASSERT_NE (slider, nullptr);
	ASSERT_EQ (slider->attribute ("mode"), "ramp");
	SliderPlace place {};
	ASSERT_TRUE (placeOf (*slider, cap, place));

	IEditController& controller = *session.plugin ().controller ();
	const double start = controller.getParamNormalized (kDepth);
	ASSERT_EQ (start, kStart);
	const Rect handle = place.handleFor (start);
	// far below the handle: some 90 ticks before the ramp would arrive
	const int x = handle.left + handle.width / 2;
	const int y = place.view.top + place.view.height - 10;
	ASSERT_GE (y, handle.top + handle.height + 100);
	const double target = place.valueAtCentre (y);

	const auto& journal = session.timerJournal ()->journal ();
	const auto& edits = session.handler ().edits;
	// the values the host has heard of since an edit
	auto valuesSince = [&] (size_t from) {
		std::set<ParamValue> values;
		for (size_t i = from; i < edits.size (); ++i)
			if (edits[i].kind == RecordingHandler::Kind::perform)
				values.insert (edits[i].value);
		return values.size ();
	};

	session.moveTo (x, y);
	const size_t journalAtPress = journal.size ();
	const size_t editsAtPress = edits.size ();
	session.press ();
	ASSERT_TRUE (session.runLoop ().runUntil ([&] { return valuesSince (editsAtPress) >= 4; },
	                                          std::chrono::seconds (5)))
	    << "the ramp did not step the value";
	session.release ();
	// the release is handled; the timer would have ticked many times by now
	session.pump (std::chrono::milliseconds (300));
	const size_t editsAfterRelease = edits.size ();

	// the press registered one 16 ms timer, right before it opened the edit
	std::vector<Entry> registered;
	for (size_t i = journalAtPress; i < journal.size (); ++i)
		if (journal[i].kind == Kind::registered && journal[i].interval == kRampPeriodMs)
			registered.push_back (journal[i]);
	ASSERT_EQ (registered.size (), 1u) << "no ramp timer, or more than one, on the run loop";
	const int ramp = registered[0].timer;
	const size_t beginAt = registered[0].editsBefore;
	ASSERT_LT (beginAt, edits.size ());
	EXPECT_EQ (edits[beginAt].kind, RecordingHandler::Kind::begin);
	EXPECT_EQ (edits[beginAt].id, kDepth);

	// the gesture's edits: one begin, the steps, one end, and nothing else
	ASSERT_GE (edits.size (), beginAt + 2);
	size_t endAt = beginAt;
	for (size_t i = beginAt + 1; i < edits.size (); ++i)
	{
		SCOPED_TRACE (i);
		EXPECT_EQ (edits[i].id, kDepth);
		if (edits[i].kind != RecordingHandler::Kind::perform)
		{
			EXPECT_EQ (edits[i].kind, RecordingHandler::Kind::end);
			EXPECT_EQ (endAt, beginAt) << "a second end";
			endAt = i;
		}
	}
	ASSERT_GT (endAt, beginAt) << "the release did not close the edit";
	EXPECT_EQ (endAt + 1, editsAfterRelease) << "edits after the release";

	// the release took the timer off the run loop, right before the edit closed
	const auto gone = std::find_if (journal.begin (), journal.end (), [&] (const Entry& e) {
		return e.kind == Kind::unregistered && e.timer == ramp;
	});
	ASSERT_NE (gone, journal.end ()) << "the ramp timer still runs after the release";
	EXPECT_EQ (gone->editsBefore, endAt);
	EXPECT_TRUE (std::none_of (gone, journal.end (), [&] (const Entry& e) {
		return e.kind == Kind::tick && e.timer == ramp;
	}));

	// Every step came from a tick of the ramp timer, and nothing else moved
	// the value: a tick takes it a tenth of the toolkit's wheel increment
	// (0.1) toward the press, and the host hears of it within the tick. (The
	// toolkit's editor may pass a change on more than once: again when the
	// parameter tells the control of its new value.)
	std::vector<Entry> ticks;
	for (const Entry& e : journal)
		if (e.kind == Kind::tick && e.timer == ramp)
			ticks.push_back (e);
	EXPECT_GE (ticks.size (), 4u);
	double previous = start;
	size_t next = beginAt + 1;
	for (size_t k = 0; k < ticks.size (); ++k)
	{
		SCOPED_TRACE (k);
		EXPECT_EQ (ticks[k].editsBefore, next) << "an edit between two ticks";
		ASSERT_GT (ticks[k].editsAfter, ticks[k].editsBefore) << "a tick that moved nothing";
		for (size_t i = ticks[k].editsBefore; i < ticks[k].editsAfter; ++i)
		{
			EXPECT_EQ (edits[i].kind, RecordingHandler::Kind::perform);
			EXPECT_NEAR (edits[i].value, previous - 0.01, 1e-6);
		}
		previous = edits[ticks[k].editsAfter - 1].value;
		next = ticks[k].editsAfter;
	}
	EXPECT_EQ (next, endAt) << "edits after the last tick";
	EXPECT_GT (previous, target + 0.1) << "the ramp arrived before the release";
	EXPECT_EQ (controller.getParamNormalized (kDepth), previous);
}

} // namespace

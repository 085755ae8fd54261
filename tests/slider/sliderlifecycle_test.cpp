// Construction, copies, the shared handle bitmap and ramp timer, and sizing.

#include "slidertestsupport.h"
#include "vstgui/lib/cbitmap.h"
#include <gtest/gtest.h>
#include <stdexcept>
#include <typeinfo>

namespace ZYTest {
namespace {

TEST (SliderConstruction, StartAndEndPositionsSetTheTravel)
{
	struct Case
	{
		CRect view;
		int32_t start, end, style;
		CCoord minPos;
		CRect atMin, atMax;
	};
	const Case cases[] = {
		{{10, 0, 120, 20}, 10, 110, kHL, 0., {10, 0, 11, 1}, {110, 0, 111, 1}},
		// a start past the view's edge lifts the lower limit, not the handle's travel
		{{10, 0, 120, 20}, 30, 110, kHL, 20., {30, 0, 31, 1}, {90, 0, 91, 1}},
		{{0, 10, 20, 120}, 10, 110, kVT, 0., {0, 10, 1, 11}, {0, 110, 1, 111}},
	};
	for (const auto& c : cases)
	{
		auto slider = makeOwned<CSlider> (c.view, nullptr, 0, c.start, c.end, nullptr, nullptr,
										  CPoint (0, 0), c.style);
		EXPECT_DOUBLE_EQ (slider->getMinPos (), c.minPos);
		expectRect (slider->computeHandleRect (0.f), c.atMin);
		expectRect (slider->computeHandleRect (1.f), c.atMax);
	}
}

TEST (SliderConstruction, RangeLengthLessTheHandleSetsTheTravel)
{
	auto handle = makeOwned<CBitmap> (20., 8.);
	auto withHandle = makeOwned<CSlider> (CRect (100, 0, 300, 20), nullptr, 0, CPoint (5, 2), 100,
										  handle, nullptr, CPoint (0, 0), kHL);
	EXPECT_EQ (withHandle->getHandleSize (), CPoint (20, 8));
	EXPECT_EQ (withHandle->getHandleOffset (), CPoint (5, 2));
	EXPECT_DOUBLE_EQ (withHandle->getMinPos (), 0.);
	expectRect (withHandle->computeHandleRect (1.f), CRect (185, 2, 205, 10));

	auto withoutHandle = makeOwned<CSlider> (CRect (100, 0, 300, 20), nullptr, 0, CPoint (0, 0),
											 100, nullptr, nullptr, CPoint (0, 0), kHL);
	expectRect (withoutHandle->computeHandleRect (1.f), CRect (199, 0, 200, 1));
}

TEST (SliderConstruction, OrientationSubclassesForceTheirBit)
{
	auto vertical = makeOwned<CVerticalSlider> (CRect (0, 0, 20, 100), nullptr, 0, 0, 100, nullptr,
												nullptr, CPoint (0, 0), CSliderBase::kTop);
	EXPECT_EQ (vertical->getStyle (), kVT);
	auto horizontal = makeOwned<CHorizontalSlider> (CRect (0, 0, 100, 20), nullptr, 0,
													CPoint (0, 0), 100, nullptr, nullptr);
	EXPECT_EQ (horizontal->getStyle (), kHL);
	EXPECT_TRUE (takeSliderAssertions ().empty ());

	auto both = makeOwned<CVerticalSlider> (CRect (0, 0, 20, 100), nullptr, 0, 0, 100, nullptr,
											nullptr, CPoint (0, 0), kHL);
	EXPECT_EQ (both->getStyle (), kHL | CSliderBase::kVertical);
	EXPECT_TRUE (both->isStyleHorizontal ());
	auto raised = takeSliderAssertions ();
	ASSERT_EQ (raised.size (), 1u);
	EXPECT_EQ (raised[0].line, "123");

	auto alsoBoth = makeOwned<CHorizontalSlider> (CRect (0, 0, 100, 20), nullptr, 0, 0, 100,
												  nullptr, nullptr, CPoint (0, 0), kVT);
	EXPECT_TRUE (alsoBoth->isStyleHorizontal ());
	EXPECT_EQ (takeSliderAssertions ().size (), 1u);
}

/** a slider whose own constructor raises the slider's assertion once the
	slider is built, holding its bitmaps */
class ThrowsOnceBuilt : public CSlider
{
public:
	ThrowsOnceBuilt (CBitmap* handle, CBitmap* background)
	: CSlider (CRect (0, 0, 200, 20), nullptr, 0, 0, 100, handle, background, CPoint (0, 0), kHL)
	{
		setStyle (0);
	}
};

TEST (SliderConstruction, ThrowingAssertionHandlerLeavesNothingHeld)
{
	auto handle = makeOwned<CBitmap> (20., 8.);
	auto background = makeOwned<CBitmap> (200., 20.);
	int32_t handleHeld = 0;
	int32_t backgroundHeld = 0;
	auto countAtThrow = [&] () {
		handleHeld = handle->getNbReference ();
		backgroundHeld = background->getNbReference ();
	};

	// the style is checked after the background is taken, before the handle is
	{
		ThrowingAssertions throwing (countAtThrow);
		EXPECT_THROW (new CSlider (CRect (0, 0, 200, 20), nullptr, 0, 0, 100, handle, background,
								   CPoint (0, 0), CSliderBase::kLeft),
					  std::logic_error);
	}
	EXPECT_EQ (backgroundHeld, 2);
	EXPECT_EQ (handleHeld, 1);
	EXPECT_EQ (background->getNbReference (), 1);
	EXPECT_EQ (handle->getNbReference (), 1);

	// thrown with the handle held: the destructors alone, without the
	// toolkit's release path, let it go (no background: a toolkit view lets
	// that go only on its release path)
	{
		ThrowingAssertions throwing (countAtThrow);
		EXPECT_THROW (new ThrowsOnceBuilt (handle, nullptr), std::logic_error);
	}
	EXPECT_EQ (handleHeld, 2);
	EXPECT_EQ (handle->getNbReference (), 1);
	takeSliderAssertions ();
}

//-----------------------------------------------------------------------------
TEST (SliderCopy, CopyOfAnOrientationSliderIsAPlainSliderWithTheSameLook)
{
	auto handle = makeOwned<CBitmap> (20., 8.);
	auto original = makeOwned<CVerticalSlider> (CRect (0, 0, 8, 100), nullptr, 7, 0, 100, handle,
												nullptr, CPoint (0, 0), CSliderBase::kBottom);
	original->setDrawStyle (CSlider::kDrawValue | CSlider::kDrawBack);
	original->setValueColor (CColor (1, 2, 3, 4));
	original->setMode (CSliderBase::kRampMode);
	original->setZoomFactor (4.f);
	original->setValueNormalized (.3f);

	auto copy = owned (static_cast<CSlider*> (original->newCopy ()));
	// typeid evaluates a polymorphic operand: a plain reference keeps the
	// smart pointer's call out of it
	const CSlider& copied = *copy;
	EXPECT_EQ (typeid (copied), typeid (CSlider));
	EXPECT_EQ (copy->getStyle (), original->getStyle ());
	EXPECT_EQ (copy->getTag (), 7);
	EXPECT_EQ (copy->getDrawStyle (), original->getDrawStyle ());
	EXPECT_EQ (copy->getValueColor (), CColor (1, 2, 3, 4));
	EXPECT_EQ (copy->getMode (), CSliderBase::kRampMode);
	EXPECT_FLOAT_EQ (copy->getZoomFactor (), 4.f);
	EXPECT_EQ (copy->getHandle (), handle.get ());
	for (float v : {0.f, .3f, 1.f})
		expectRect (copy->computeHandleRect (v), original->computeHandleRect (v));

	// the copy is independent
	copy->setDrawStyle (0);
	EXPECT_NE (original->getDrawStyle (), 0);
}

TEST (SliderCopy, HandleBitmapIsHeldOnceBySliderAndCopy)
{
	auto handle = makeOwned<CBitmap> (20., 8.);
	auto other = makeOwned<CBitmap> (10., 10.);
	{
		auto slider = makeOwned<CSlider> (CRect (0, 0, 200, 20), nullptr, 0, 0, 0, handle, nullptr,
										  CPoint (0, 0), kHL);
		EXPECT_EQ (handle->getNbReference (), 2);
		slider->setHandle (handle);
		EXPECT_EQ (handle->getNbReference (), 2);
		{
			auto copy = owned (static_cast<CSlider*> (slider->newCopy ()));
			EXPECT_EQ (handle->getNbReference (), 3);
		}
		EXPECT_EQ (handle->getNbReference (), 2);
		slider->setHandle (other);
		EXPECT_EQ (handle->getNbReference (), 1);
		EXPECT_EQ (other->getNbReference (), 2);
	}
	EXPECT_EQ (other->getNbReference (), 1);
}

TEST (SliderCopy, HandleBitmapSetsTheHandleSizeAndTravel)
{
	auto slider = makeOwned<CSlider> (CRect (100, 0, 300, 20), nullptr, 0, 0, 0, nullptr, nullptr,
									  CPoint (0, 0), kHL);
	auto handle = makeOwned<CBitmap> (20., 8.);
	slider->setHandle (handle);
	EXPECT_EQ (slider->getHandleSize (), CPoint (20, 8));
	expectRect (slider->computeHandleRect (1.f), CRect (280, 0, 300, 8));

	// without a bitmap the handle is 1 x 1 and keeps the travel it had
	slider->setHandle (nullptr);
	EXPECT_EQ (slider->getHandleSize (), CPoint (1, 1));
	expectRect (slider->computeHandleRect (1.f), CRect (280, 0, 281, 1));
}

TEST (SliderCopy, CopyDuringARampSharesTheTimerWithoutDrivingIt)
{
	auto slider = makeSlider (CRect (100, 20, 300, 40), {20, 20}, kHL);
	slider->setMode (CSliderBase::kRampMode);
	slider->setValueNormalized (.5f);
	CPoint beside (130, 30);
	slider->onMouseDown (beside, CButtonState (kPress));
	SharedPointer<CVSTGUITimer> timer = slider->getRampTimer ();
	ASSERT_TRUE (timer);
	EXPECT_EQ (timer->getNbReference (), 2);

	auto copy = owned (new ProbeSlider (*slider));
	EXPECT_EQ (copy->getRampTimer (), timer.get ());
	EXPECT_EQ (timer->getNbReference (), 3);

	// the slider that started the ramp goes: the timer lives on for the copy,
	// stopped, so that it never steps a slider that is gone
	slider = nullptr;
	EXPECT_EQ (timer->getNbReference (), 2);
	EXPECT_FALSE (timer->stop ());
	copy = nullptr;
	EXPECT_EQ (timer->getNbReference (), 1);
}

//-----------------------------------------------------------------------------
TEST (SliderSize, SizeToFitTakesTheBackgroundsSize)
{
	auto background = makeOwned<CBitmap> (30., 120.);
	auto slider = makeOwned<CSlider> (CRect (5, 7, 50, 50), nullptr, 0, 0, 0, nullptr, background,
									  CPoint (0, 0), kVT);
	EXPECT_TRUE (slider->sizeToFit ());
	expectRect (slider->getViewSize (), CRect (5, 7, 35, 127));
	expectRect (slider->getMouseableArea (), CRect (5, 7, 35, 127));
	// the travel follows the new size
	expectRect (slider->computeHandleRect (1.f), CRect (5, 126, 6, 127));

	auto bare = makeOwned<CSlider> (CRect (5, 7, 50, 50), nullptr, 0, 0, 0, nullptr, nullptr);
	EXPECT_FALSE (bare->sizeToFit ());
	expectRect (bare->getViewSize (), CRect (5, 7, 50, 50));
}

} // anonymous namespace
} // ZYTest

// The editor's slider family.

#include "cslider.h"
#include "../cdrawcontext.h"
#include "../cgraphicspath.h"
#include "../clinestyle.h"
#include "../cvstguitimer.h"
#include "../events.h"
#include "../vstguidebug.h"
#include "../vstkeycode.h"
#include <cmath>

namespace VSTGUI {

namespace {

// Assertions name this source the same way whatever the build folder is.
constexpr auto assertSource = "vstgui/lib/controls/cslider";

constexpr uint32_t rampPeriodMs = 16;

CControl::CheckDefaultValueEventFuncT toolkitDefaultValueCheck = nullptr;

// A slider tests the default-value click in its own press handling, which
// knows whether the press landed on the handle; every other control keeps
// the toolkit's test.
bool checkDefaultValueUnlessSlider (CControl* control, MouseDownEvent& event)
{
	if (dynamic_cast<CSliderBase*> (control))
		return false;
	return toolkitDefaultValueCheck ? toolkitDefaultValueCheck (control, event) : false;
}

// The editor's modifiers, fixed from load on: Shift makes drags, wheel turns
// and arrow steps fine; Option with the left button resets to the default.
[[maybe_unused]] const bool editorModifiersSet = [] () {
	CControl::kZoomModifier = kShift;
	CControl::kDefaultValueModifier = kAlt;
	if (CControl::CheckDefaultValueEventFunc != &checkDefaultValueUnlessSlider)
	{
		toolkitDefaultValueCheck = CControl::CheckDefaultValueEventFunc;
		CControl::CheckDefaultValueEventFunc = &checkDefaultValueUnlessSlider;
	}
	return true;
}();

bool hitsRect (const CPoint& p, const CRect& r)
{
	// right and bottom edges lie outside; NaN fails every comparison
	return r.left <= p.x && p.x < r.right && r.top <= p.y && p.y < r.bottom;
}

int32_t buttonModifiersFromKey (unsigned char vstModifier)
{
	int32_t modifiers = 0;
	if (vstModifier & MODIFIER_SHIFT)
		modifiers |= kShift;
	if (vstModifier & MODIFIER_ALTERNATE)
		modifiers |= kAlt;
	if (vstModifier & MODIFIER_COMMAND)
		modifiers |= kApple;
	if (vstModifier & MODIFIER_CONTROL)
		modifiers |= kControl;
	return modifiers;
}

bool holdsZoomModifier (int32_t buttons) { return (buttons & CControl::kZoomModifier) != 0; }

} // anonymous namespace

//-----------------------------------------------------------------------------
struct CSliderBase::SliderState
{
	SharedPointer<CVSTGUITimer> rampTimer;
	int32_t style {0};
	float zoomFactor {10.f};
	SliderMode mode {kUseGlobalMode};
	CPoint handleOffset {0., 0.};
	CCoord handleWidth {1.};
	CCoord handleHeight {1.};
	CCoord handleRange {0.};
	CCoord handleMin {0.};
	CCoord handleMax {0.};
	CCoord minPos {0.};
	CPoint mouseStartPoint {0., 0.};
	float zoomBaseValue {0.f};
	float startValue {0.f};
	int32_t lastButtons {0};
	CCoord handleGrabDelta {0.};
	// The ramp timer's callback drives the slider that started the ramp; a
	// copy shares the timer but must not stop it.
	bool startedRamp {false};
	// a press holds the edit from its begin to its release or cancel
	bool pressing {false};

	bool horizontal () const { return (style & kHorizontal) != 0; }
	CCoord offsetAlong () const { return horizontal () ? handleOffset.x : handleOffset.y; }
	CCoord offsetAcross () const { return horizontal () ? handleOffset.y : handleOffset.x; }
	CCoord sizeAlong () const { return horizontal () ? handleWidth : handleHeight; }
	CCoord sizeAcross () const { return horizontal () ? handleHeight : handleWidth; }
	CCoord along (const CPoint& p) const { return horizontal () ? p.x : p.y; }
};

CSliderBase::SliderMode CSliderBase::globalMode = CSliderBase::kGrabOrJumpMode;

//-----------------------------------------------------------------------------
CSliderBase::CSliderBase (const CRect& size, IControlListener* listener, int32_t tag)
: CControl (size, listener, tag, nullptr), state (std::make_unique<SliderState> ())
{
}

//-----------------------------------------------------------------------------
// A copy starts with no wheel edit of its own: the original's pending end of
// edit (the timer in CMouseWheelEditingSupport) stays with the original.
// NOLINTNEXTLINE(bugprone-copy-constructor-init)
CSliderBase::CSliderBase (const CSliderBase& other)
: CControl (other)
, CMouseWheelEditingSupport ()
, state (std::make_unique<SliderState> (*other.state))
{
	state->startedRamp = false;
	state->pressing = false;
}

//-----------------------------------------------------------------------------
CSliderBase::~CSliderBase () noexcept
{
	releaseRampTimer ();
	state.reset ();
}

//-----------------------------------------------------------------------------
void CSliderBase::setHandleRange (CCoord range)
{
	state->handleRange = range;
	updateHandleLimits ();
}

//-----------------------------------------------------------------------------
void CSliderBase::updateHandleLimits ()
{
	state->handleMin = state->minPos + state->offsetAlong ();
	state->handleMax = state->handleMin + state->handleRange + state->sizeAlong ();
}

//-----------------------------------------------------------------------------
void CSliderBase::setMinPos (CCoord pos)
{
	state->minPos = pos;
	updateHandleLimits ();
}

//-----------------------------------------------------------------------------
CCoord CSliderBase::getMinPos () const { return state->minPos; }

//-----------------------------------------------------------------------------
void CSliderBase::setHandleOffset (const CPoint& offset)
{
	state->handleOffset = offset;
	updateHandleLimits ();
}

//-----------------------------------------------------------------------------
CPoint CSliderBase::getHandleOffset () const { return state->handleOffset; }

//-----------------------------------------------------------------------------
void CSliderBase::setHandleSize (CCoord width, CCoord height)
{
	state->handleWidth = width;
	state->handleHeight = height;
	updateHandleLimits ();
}

//-----------------------------------------------------------------------------
CPoint CSliderBase::getHandleSize () const { return {state->handleWidth, state->handleHeight}; }

//-----------------------------------------------------------------------------
CPoint CSliderBase::getViewExtent () const
{
	const auto& r = getViewSize ();
	return {r.right - r.left, r.bottom - r.top};
}

//-----------------------------------------------------------------------------
void CSliderBase::setViewSize (const CRect& rect, bool invalid)
{
	CControl::setViewSize (rect, invalid);
	const auto& size = getViewSize ();
	if (state->horizontal ())
	{
		state->minPos = rect.left - size.left;
		state->handleRange = (rect.getWidth () - state->handleWidth) - 2. * state->handleOffset.x;
	}
	else
	{
		state->minPos = rect.top - size.top;
		state->handleRange = (rect.getHeight () - state->handleHeight) - 2. * state->handleOffset.y;
	}
	updateHandleLimits ();
}

//-----------------------------------------------------------------------------
CRect CSliderBase::computeHandleRect (float normValue) const
{
	float v = isReversedValue () ? 1.f - normValue : normValue;
	CCoord p = std::floor (static_cast<double> (v) * state->handleRange) + state->offsetAlong ();
	CCoord start = p > state->handleMin ? p : state->handleMin;
	CCoord end = start + state->sizeAlong ();
	if (end > state->handleMax)
		end = state->handleMax;
	CCoord acrossStart = state->offsetAcross ();
	CCoord acrossEnd = acrossStart + state->sizeAcross ();

	CRect r;
	if (state->horizontal ())
		r = CRect (start, acrossStart, end, acrossEnd);
	else
		r = CRect (acrossStart, start, acrossEnd, end);
	r.offset (getViewSize ().left, getViewSize ().top);
	return r;
}

//-----------------------------------------------------------------------------
void CSliderBase::setStyle (int32_t style)
{
	auto orientation = style & (kHorizontal | kVertical);
	if (orientation == 0 || orientation == (kHorizontal | kVertical))
		doAssert (assertSource, "123", "exactly one of kHorizontal and kVertical");
	state->style = style;
}

//-----------------------------------------------------------------------------
int32_t CSliderBase::getStyle () const { return state->style; }
bool CSliderBase::isStyleHorizontal () const { return (state->style & kHorizontal) != 0; }
bool CSliderBase::isStyleRight () const { return (state->style & kRight) != 0; }
bool CSliderBase::isStyleBottom () const { return (state->style & kBottom) != 0; }

//-----------------------------------------------------------------------------
bool CSliderBase::isInverseStyle () const
{
	return (state->style & (isStyleHorizontal () ? kRight : kTop)) != 0;
}

//-----------------------------------------------------------------------------
void CSliderBase::setZoomFactor (float factor) { state->zoomFactor = factor; }
float CSliderBase::getZoomFactor () const { return state->zoomFactor; }
void CSliderBase::setMode (SliderMode mode) { state->mode = mode; }
CSliderBase::SliderMode CSliderBase::getMode () const { return state->mode; }

//-----------------------------------------------------------------------------
CSliderBase::SliderMode CSliderBase::getEffectiveMode () const
{
	return state->mode == kUseGlobalMode ? globalMode : state->mode;
}

//-----------------------------------------------------------------------------
void CSliderBase::setGlobalMode (SliderMode mode)
{
	if (mode == kUseGlobalMode)
		doAssert (assertSource, "195", "mode != kUseGlobalMode",
				  "do not set the global mode to use global");
	globalMode = mode;
}

//-----------------------------------------------------------------------------
CSliderBase::SliderMode CSliderBase::getGlobalMode () { return globalMode; }

//-----------------------------------------------------------------------------
CVSTGUITimer* CSliderBase::getRampTimer () const { return state->rampTimer; }

//-----------------------------------------------------------------------------
CCoord CSliderBase::travelOrigin () const
{
	const auto& size = getViewSize ();
	return (state->horizontal () ? size.left : size.top) + state->offsetAlong ();
}

//-----------------------------------------------------------------------------
CCoord CSliderBase::freeClickOffset () const
{
	// puts the handle's centre one unit past the mouse
	return (state->sizeAlong () * 0.5 + (-1.0)) + travelOrigin ();
}

//-----------------------------------------------------------------------------
bool CSliderBase::isReversedValue () const { return (state->style & (kRight | kBottom)) != 0; }

//-----------------------------------------------------------------------------
float CSliderBase::currentNormalized () const
{
	float range = getMax () - getMin ();
	if (range == 0.f)
		return 0.f;
	return (getValue () - getMin ()) / range;
}

//-----------------------------------------------------------------------------
float CSliderBase::computeGrabDelta (const CPoint& where, CRect& handleRect) const
{
	CCoord origin = travelOrigin ();
	auto mode = getEffectiveMode ();
	if (mode == kFreeClickMode)
		return static_cast<float> (freeClickOffset ());

	float v = getValueNormalized ();
	if (isReversedValue ())
		v = 1.f - v;
	CCoord along = static_cast<double> (v) * state->handleRange;
	// the handle as it stands on whole units, for the hit test ...
	CCoord pos = std::trunc (along) + origin;
	// ... and its exact place, so that grabbing it does not move the value
	CCoord exactPos = along + origin;

	const auto& size = getViewSize ();
	if (state->horizontal ())
	{
		handleRect.left = pos;
		handleRect.top = size.top + state->handleOffset.y;
		handleRect.right = pos + state->handleWidth;
		handleRect.bottom = handleRect.top + state->handleHeight;
	}
	else
	{
		handleRect.left = size.left + state->handleOffset.x;
		handleRect.top = pos;
		handleRect.right = handleRect.left + state->handleWidth;
		handleRect.bottom = pos + state->handleHeight;
	}
	if (mode == kGrabOrJumpMode && !hitsRect (where, handleRect))
		return static_cast<float> (freeClickOffset ());
	return static_cast<float> (state->along (where) - exactPos + origin);
}

//-----------------------------------------------------------------------------
bool CSliderBase::checkDefaultValue (const CButtonState& buttons)
{
	if (buttons.getButtonState () != kLButton ||
		buttons.getModifierState () != CControl::kDefaultValueModifier)
		return false;
	auto defaultValue = getDefaultValue ();
	if (defaultValue != getValue ())
	{
		beginEdit ();
		setValue (defaultValue);
		valueChanged ();
		endEdit ();
		setDirty ();
	}
	return true;
}

//-----------------------------------------------------------------------------
void CSliderBase::releaseRampTimer ()
{
	if (!state->rampTimer)
		return;
	// a copy may still hold the timer: it must not step this slider any more
	if (state->startedRamp)
		state->rampTimer->stop ();
	state->rampTimer = nullptr;
	state->startedRamp = false;
}

//-----------------------------------------------------------------------------
void CSliderBase::notifyValueChange ()
{
	if (isDirty ())
	{
		valueChanged ();
		invalid ();
	}
}

//-----------------------------------------------------------------------------
CMouseEventResult CSliderBase::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	if (!(buttons & kLButton))
		return kMouseEventNotHandled;

	invalidMouseWheelEditTimer (this);
	// a new press ends what an earlier one left running
	state->pressing = false;
	releaseRampTimer ();

	CRect handleRect;
	state->handleGrabDelta = computeGrabDelta (where, handleRect);
	bool onHandle = hitsRect (where, handleRect);

	if (getEffectiveMode () == kTouchMode && !onHandle)
		return kMouseDownEventHandledButDontNeedMovedOrUpEvents;

	state->zoomBaseValue = getMin () - 1.f;
	state->lastButtons = buttons ();

	if (!(getEffectiveMode () == kRelativeTouchMode && !onHandle))
	{
		if (checkDefaultValue (buttons))
			return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
	}

	if (getEffectiveMode () == kRampMode && !onHandle)
	{
		releaseRampTimer ();
		state->rampTimer = makeOwned<CVSTGUITimer> (
			[this] (CVSTGUITimer* timer) { onRampTimer (timer); }, rampPeriodMs, true);
		state->startedRamp = true;
	}

	state->startValue = getValue ();
	beginEdit ();
	state->pressing = true;
	state->mouseStartPoint = where;

	// the edit is open: the press must be handled, or the frame would not
	// send the release that closes it
	if (!holdsZoomModifier (buttons ()))
		onMouseMoved (where, buttons);
	return kMouseEventHandled;
}

//-----------------------------------------------------------------------------
CMouseEventResult CSliderBase::onMouseMoved (CPoint& where, const CButtonState& buttons)
{
	if (buttons.getButtonState () != kLButton)
		return kMouseEventNotHandled;
	if (!isEditing ())
		return kMouseEventNotHandled;

	if (state->rampTimer)
	{
		// the ramp glides toward the mouse; the value is left to it
		state->mouseStartPoint = where;
		return kMouseEventHandled;
	}

	float current = currentNormalized ();
	if (state->zoomBaseValue == getMin () - 1.f)
		state->zoomBaseValue = current;
	if (buttons () != state->lastButtons && holdsZoomModifier (buttons ()))
	{
		state->zoomBaseValue = current;
		state->lastButtons = buttons ();
	}
	else if (!holdsZoomModifier (buttons ()))
	{
		state->zoomBaseValue = current;
		// so that pressing the modifier again starts a new fine drag from here
		state->lastButtons = buttons ();
	}

	// no travel: the handle has nowhere to go
	if (state->handleRange == 0.)
		return kMouseEventHandled;

	float raw = static_cast<float> (state->along (where) - state->handleGrabDelta) /
				static_cast<float> (state->handleRange);
	if (isReversedValue ())
		raw = 1.f - raw;

	float v = raw;
	if (holdsZoomModifier (buttons ()))
	{
		float zoom = state->zoomFactor > 0.f ? state->zoomFactor : 1.f;
		v = (raw - state->zoomBaseValue) / zoom + state->zoomBaseValue;
	}
	if (!std::isfinite (v))
		return kMouseEventHandled;

	setValueNormalized (v);
	notifyValueChange ();
	return kMouseEventHandled;
}

//-----------------------------------------------------------------------------
void CSliderBase::onRampTimer (CVSTGUITimer*)
{
	float v = getValueNormalized ();
	CRect r = computeHandleRect (v);
	bool horizontal = state->horizontal ();
	CCoord start = horizontal ? r.left : r.top;
	CCoord end = horizontal ? r.right : r.bottom;
	CCoord centre = start + (end - start) * 0.5;
	CCoord m = state->along (state->mouseStartPoint);

	float step;
	if (horizontal)
		step = centre > m ? -0.1f : 0.1f;
	else
		step = centre > m ? 0.1f : -0.1f;
	if (isInverseStyle ())
		step = -step;

	CCoord freeOffset = state->sizeAlong () * 0.5 + travelOrigin () - 1.0;

	// no travel: nothing to glide over, the ramp ends where it is
	if (state->handleRange == 0.)
	{
		releaseRampTimer ();
		state->handleGrabDelta = freeOffset;
		return;
	}

	float target = static_cast<float> (m - freeOffset) / static_cast<float> (state->handleRange);
	if (isReversedValue ())
		target = 1.f - target;

	float next = v + step * getWheelInc ();
	if ((step < 0.f && target > next) || (step > 0.f && next > target))
	{
		releaseRampTimer ();
		state->handleGrabDelta = freeOffset;
		next = target;
	}
	if (!std::isfinite (next))
		return;
	setValueNormalized (next);
	notifyValueChange ();
}

//-----------------------------------------------------------------------------
CMouseEventResult CSliderBase::onMouseUp (CPoint&, const CButtonState&)
{
	state->pressing = false;
	releaseRampTimer ();
	if (isEditing ())
	{
		state->lastButtons = 0;
		endEdit ();
	}
	return kMouseEventHandled;
}

//-----------------------------------------------------------------------------
CMouseEventResult CSliderBase::onMouseCancel ()
{
	state->pressing = false;
	releaseRampTimer ();
	if (isEditing ())
	{
		value = state->startValue;
		notifyValueChange ();
		state->lastButtons = 0;
		endEdit ();
	}
	return kMouseEventHandled;
}

//-----------------------------------------------------------------------------
bool CSliderBase::onWheel (const CPoint&, const CMouseWheelAxis& axis, const float& distance,
						   const CButtonState& buttons)
{
	if (!getMouseEnabled ())
		return false;
	bool horizontal = isStyleHorizontal ();
	if ((horizontal && axis == kMouseWheelAxisY) || (!horizontal && axis == kMouseWheelAxisX))
		return false;
	// a turn of no finite distance would land on an end of the range
	if (!std::isfinite (distance))
		return false;
	// the press owns the edit: a wheel edit's timeout would end it mid-drag
	if (state->pressing)
		return true;

	// Escape during a wheel edit goes back to where the wheel edit began,
	// not to the value of some earlier press.
	if (!isEditing ())
		state->startValue = getValue ();
	onMouseWheelEditing (this);

	float d = distance;
	if (horizontal)
		d = -d;
	if (isInverseStyle ())
		d = -d;
	if (holdsZoomModifier (buttons ()))
		d *= 0.1f;

	setValueNormalized (getValueNormalized () + getWheelInc () * d);
	if (isDirty ())
	{
		invalid ();
		valueChanged ();
	}
	return true;
}

//-----------------------------------------------------------------------------
int32_t CSliderBase::onKeyDown (VstKeyCode& keyCode)
{
	float step;
	switch (keyCode.virt)
	{
		case VKEY_LEFT: step = -1.f; break;
		case VKEY_UP: step = 1.f; break;
		case VKEY_RIGHT: step = 1.f; break;
		case VKEY_DOWN: step = -1.f; break;
		case VKEY_ESCAPE:
		{
			if (!isEditing ())
				return -1;
			onMouseCancel ();
			return 1;
		}
		default: return -1;
	}
	if (isInverseStyle ())
		step = -step;
	if (holdsZoomModifier (buttonModifiersFromKey (keyCode.modifier)))
		step *= 0.1f;

	setValueNormalized (getValueNormalized () + getWheelInc () * step);
	if (isDirty ())
	{
		invalid ();
		beginEdit ();
		valueChanged ();
		endEdit ();
	}
	return 1;
}

//-----------------------------------------------------------------------------
//-----------------------------------------------------------------------------
struct CSlider::SliderDrawState
{
	CPoint bitmapOffset {0., 0.};
	SharedPointer<CBitmap> handleBitmap;
	CCoord frameWidth {1.};
	int32_t drawStyle {0};
	CColor frameColor {127, 127, 127, 255};
	CColor backColor {0, 0, 0, 255};
	CColor valueColor {255, 255, 255, 255};
};

//-----------------------------------------------------------------------------
CSlider::CSlider (const CRect& size, IControlListener* listener, int32_t tag, int32_t iMinPos,
				  int32_t iMaxPos, CBitmap* handle, CBitmap* background, const CPoint& offset,
				  const int32_t style)
: CSliderBase (size, listener, tag), drawState (std::make_unique<SliderDrawState> ())
{
	drawState->bitmapOffset = offset;
	setBackground (background);
	applyConstructionStyle (style);
	// CSlider's own setHandle, as in the toolkit's constructors
	setHandle (handle); // NOLINT(clang-analyzer-optin.cplusplus.VirtualCall)
	setMinPos (iMinPos - ((style & kHorizontal) ? getViewSize ().left : getViewSize ().top));
	setHandleRange (static_cast<CCoord> (iMaxPos) - static_cast<CCoord> (iMinPos));
	setWantsFocus (true);
}

//-----------------------------------------------------------------------------
CSlider::CSlider (const CRect& rect, IControlListener* listener, int32_t tag,
				  const CPoint& offsetHandle, int32_t rangeHandle, CBitmap* handle,
				  CBitmap* background, const CPoint& offset, const int32_t style)
: CSliderBase (rect, listener, tag), drawState (std::make_unique<SliderDrawState> ())
{
	drawState->bitmapOffset = offset;
	setBackground (background);
	applyConstructionStyle (style);
	// CSlider's own setHandle, as in the toolkit's constructors
	setHandle (handle); // NOLINT(clang-analyzer-optin.cplusplus.VirtualCall)
	auto handleSize = getHandleSize ();
	setHandleRange (rangeHandle - (isStyleHorizontal () ? handleSize.x : handleSize.y));
	setHandleOffset (offsetHandle);
	setWantsFocus (true);
}

//-----------------------------------------------------------------------------
void CSlider::applyConstructionStyle (int32_t style)
{
	try
	{
		setStyle (style);
	}
	catch (...)
	{
		// the view lets its background go only before a regular delete
		setBackground (nullptr);
		throw;
	}
}

//-----------------------------------------------------------------------------
CSlider::CSlider (const CSlider& other)
: CSliderBase (other), drawState (std::make_unique<SliderDrawState> (*other.drawState))
{
}

//-----------------------------------------------------------------------------
CSlider::~CSlider () noexcept
{
	auto detached = std::move (drawState);
	detached.reset ();
}

//-----------------------------------------------------------------------------
void CSlider::setHandle (CBitmap* handle)
{
	if (drawState->handleBitmap != handle)
		drawState->handleBitmap = handle;
	if (drawState->handleBitmap)
	{
		setHandleSize (drawState->handleBitmap->getWidth (), drawState->handleBitmap->getHeight ());
		CRect size = getViewSize ();
		setViewSize (size, true);
	}
	else
		setHandleSize (1., 1.);
}

//-----------------------------------------------------------------------------
CBitmap* CSlider::getHandle () const { return drawState->handleBitmap; }

//-----------------------------------------------------------------------------
void CSlider::setDrawStyle (int32_t style)
{
	if (style == drawState->drawStyle)
		return;
	drawState->drawStyle = style;
	invalid ();
}

//-----------------------------------------------------------------------------
int32_t CSlider::getDrawStyle () const { return drawState->drawStyle; }

//-----------------------------------------------------------------------------
void CSlider::setFrameWidth (CCoord width)
{
	if (width == drawState->frameWidth)
		return;
	drawState->frameWidth = width;
	invalid ();
}

//-----------------------------------------------------------------------------
CCoord CSlider::getFrameWidth () const { return drawState->frameWidth; }

//-----------------------------------------------------------------------------
void CSlider::setFrameColor (CColor color)
{
	if (color == drawState->frameColor)
		return;
	drawState->frameColor = color;
	invalid ();
}

//-----------------------------------------------------------------------------
CColor CSlider::getFrameColor () const { return drawState->frameColor; }

//-----------------------------------------------------------------------------
void CSlider::setBackColor (CColor color)
{
	if (color == drawState->backColor)
		return;
	drawState->backColor = color;
	invalid ();
}

//-----------------------------------------------------------------------------
CColor CSlider::getBackColor () const { return drawState->backColor; }

//-----------------------------------------------------------------------------
void CSlider::setValueColor (CColor color)
{
	if (color == drawState->valueColor)
		return;
	drawState->valueColor = color;
	invalid ();
}

//-----------------------------------------------------------------------------
CColor CSlider::getValueColor () const { return drawState->valueColor; }

//-----------------------------------------------------------------------------
void CSlider::setBitmapOffset (const CPoint& offset) { drawState->bitmapOffset = offset; }
CPoint CSlider::getBitmapOffset () const { return drawState->bitmapOffset; }

//-----------------------------------------------------------------------------
bool CSlider::sizeToFit ()
{
	auto background = getDrawBackground ();
	if (!background)
		return false;
	const auto& size = getViewSize ();
	CRect fit (size.left, size.top, size.left + background->getWidth (),
			   size.top + background->getHeight ());
	setViewSize (fit, true);
	setMouseableArea (fit);
	return true;
}

//-----------------------------------------------------------------------------
void CSlider::draw (CDrawContext* context)
{
	if (auto background = getDrawBackground ())
		background->draw (context, getViewSize (), drawState->bitmapOffset, 1.f);

	if (drawState->drawStyle != 0)
	{
		CCoord lineWidth = drawState->frameWidth;
		if (lineWidth < 0.)
			lineWidth = context->getHairlineSize ();
		CRect r (getViewSize ());
		context->setDrawMode (kAntiAliasing);
		context->setLineStyle (kLineSolid);
		context->setLineWidth (lineWidth);
		drawFrameAndBack (context, r, lineWidth);
		if (drawState->drawStyle & kDrawValue)
			drawValueBar (context, r, lineWidth);
	}

	if (drawState->handleBitmap)
	{
		CRect handleRect = computeHandleRect (getValueNormalized ());
		drawState->handleBitmap->draw (context, handleRect, CPoint (0, 0), 1.f);
	}
	setDirty (false);
}

//-----------------------------------------------------------------------------
void CSlider::drawFrameAndBack (CDrawContext* context, CRect& r, CCoord lineWidth) const
{
	auto style = drawState->drawStyle;
	bool frame = (style & kDrawFrame) != 0;
	bool back = (style & kDrawBack) != 0;
	if (!frame && !back)
		return;

	context->setFrameColor (drawState->frameColor);
	context->setFillColor (drawState->backColor);
	if (auto path = context->createGraphicsPath ())
	{
		if (frame)
			r.inset (lineWidth / 2., lineWidth / 2.);
		path->addRect (r);
		if (back)
			context->drawGraphicsPath (path, CDrawContext::kPathFilled);
		if (frame)
			context->drawGraphicsPath (path, CDrawContext::kPathStroked);
		path->forget ();
	}
	else
	{
		auto drawStyle =
			frame && back ? kDrawFilledAndStroked : (frame ? kDrawStroked : kDrawFilled);
		context->drawRect (r, drawStyle);
	}
}

//-----------------------------------------------------------------------------
void CSlider::drawValueBar (CDrawContext* context, CRect r, CCoord lineWidth) const
{
	auto style = drawState->drawStyle;
	context->setDrawMode (kAliasing);
	if (style & kDrawFrame)
		r.inset (lineWidth / 2., lineWidth / 2.);

	double v = getValueNormalized ();
	CCoord w = r.getWidth ();
	CCoord h = r.getHeight ();
	bool horizontal = isStyleHorizontal ();
	bool inverted = (style & kDrawInverted) != 0;
	if (style & kDrawValueFromCenter)
	{
		if (inverted)
			v = 1. - v;
		if (horizontal)
		{
			r.right = r.left + w * v;
			r.left = r.left + w / 2.;
		}
		else
		{
			r.bottom = r.top + h * v;
			r.top = r.top + h / 2.;
		}
	}
	else if (horizontal)
	{
		if (inverted)
			r.left = r.right - w * v;
		else
			r.right = r.left + w * v;
	}
	else
	{
		if (inverted)
			r.bottom = r.top + h * v;
		else
			r.top = r.bottom - h * v;
	}
	r.normalize ();
	if (r.getWidth () < 0.5 || r.getHeight () < 0.5)
		return;

	context->setFillColor (drawState->valueColor);
	if (auto path = context->createGraphicsPath ())
	{
		path->addRect (r);
		context->drawGraphicsPath (path, CDrawContext::kPathFilled);
		path->forget ();
	}
	else
		context->drawRect (r, kDrawFilled);
}

//-----------------------------------------------------------------------------
//-----------------------------------------------------------------------------
CVerticalSlider::CVerticalSlider (const CRect& size, IControlListener* listener, int32_t tag,
								  int32_t iMinPos, int32_t iMaxPos, CBitmap* handle,
								  CBitmap* background, const CPoint& offset, const int32_t style)
: CSlider (size, listener, tag, iMinPos, iMaxPos, handle, background, offset, style | kVertical)
{
}

//-----------------------------------------------------------------------------
CVerticalSlider::CVerticalSlider (const CRect& rect, IControlListener* listener, int32_t tag,
								  const CPoint& offsetHandle, int32_t rangeHandle, CBitmap* handle,
								  CBitmap* background, const CPoint& offset, const int32_t style)
: CSlider (rect, listener, tag, offsetHandle, rangeHandle, handle, background, offset,
		   style | kVertical)
{
}

//-----------------------------------------------------------------------------
CHorizontalSlider::CHorizontalSlider (const CRect& size, IControlListener* listener, int32_t tag,
									  int32_t iMinPos, int32_t iMaxPos, CBitmap* handle,
									  CBitmap* background, const CPoint& offset,
									  const int32_t style)
: CSlider (size, listener, tag, iMinPos, iMaxPos, handle, background, offset, style | kHorizontal)
{
}

//-----------------------------------------------------------------------------
CHorizontalSlider::CHorizontalSlider (const CRect& rect, IControlListener* listener, int32_t tag,
									  const CPoint& offsetHandle, int32_t rangeHandle,
									  CBitmap* handle, CBitmap* background, const CPoint& offset,
									  const int32_t style)
: CSlider (rect, listener, tag, offsetHandle, rangeHandle, handle, background, offset,
		   style | kHorizontal)
{
}

} // VSTGUI

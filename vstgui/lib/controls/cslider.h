// The editor's slider family: a base that owns the value geometry and the
// click modes, and a concrete bitmap slider with its two orientation forms.
// It stands in the toolkit's tree in place of the toolkit's own sliders.

#pragma once

#include "ccontrol.h"
#include "../cbitmap.h"
#include "../ccolor.h"
#include "../cpoint.h"
#include "../crect.h"
#include <memory>

#if !VSTGUI_ENABLE_DEPRECATED_METHODS
#error "the slider handles the wheel and the keys through the toolkit's legacy event methods"
#endif

namespace VSTGUI {

//-----------------------------------------------------------------------------
class CSliderBase : public CControl, protected CMouseWheelEditingSupport
{
public:
	/** bits of the style word */
	enum Style : int32_t
	{
		kHorizontal = 1 << 0,
		kVertical = 1 << 1,
		kLeft = 1 << 2,	  ///< minimum at the left
		kRight = 1 << 3,  ///< minimum at the right
		kTop = 1 << 4,	  ///< minimum at the top
		kBottom = 1 << 5, ///< minimum at the bottom
	};

	/** how a press moves the handle */
	enum SliderMode : int32_t
	{
		kTouchMode,			///< only a press on the handle drags it
		kRelativeTouchMode, ///< a press anywhere drags relative to the handle
		kFreeClickMode,		///< the handle jumps under the mouse
		kGrabOrJumpMode,	///< grab the handle where pressed, else jump under the mouse
		kRampMode,			///< a press beside the handle glides the value toward it
		kUseGlobalMode,		///< follow the global mode
	};

	//-----------------------------------------------------------------------------
	/// @name Geometry along the slider's axis
	//-----------------------------------------------------------------------------
	//@{
	void setHandleRange (CCoord range);
	void updateHandleLimits ();
	void setMinPos (CCoord pos);
	CCoord getMinPos () const;
	void setHandleOffset (const CPoint& offset);
	CPoint getHandleOffset () const;
	void setHandleSize (CCoord width, CCoord height);
	CPoint getHandleSize () const;
	CPoint getViewExtent () const;
	/** the handle's rectangle for a normalized value, in the parent's coordinates */
	CRect computeHandleRect (float normValue) const;
	//@}

	//-----------------------------------------------------------------------------
	/// @name Style, zoom and mode
	//-----------------------------------------------------------------------------
	//@{
	void setStyle (int32_t style);
	int32_t getStyle () const;
	bool isStyleHorizontal () const;
	bool isStyleRight () const;
	bool isStyleBottom () const;
	/** wheel, arrow keys and ramp step the other way */
	bool isInverseStyle () const;

	void setZoomFactor (float factor);
	float getZoomFactor () const;

	void setMode (SliderMode mode);
	SliderMode getMode () const;
	SliderMode getEffectiveMode () const;

	static void setGlobalMode (SliderMode mode);
	static SliderMode getGlobalMode ();
	//@}

	// overrides
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseCancel () override;
	bool onWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
				  const CButtonState& buttons) override;
	int32_t onKeyDown (VstKeyCode& keyCode) override;
	void setViewSize (const CRect& rect, bool invalid = true) override;

	CLASS_METHODS_VIRTUAL (CSliderBase, CControl)
protected:
	CSliderBase (const CRect& size, IControlListener* listener, int32_t tag);
	CSliderBase (const CSliderBase& other);
	~CSliderBase () noexcept override;

	/** offset that a drag subtracts from the mouse position; writes the handle's
		rectangle unless the handle jumps anyway */
	float computeGrabDelta (const CPoint& where, CRect& handleRect) const;
	/** one step of a running ramp */
	void onRampTimer (CVSTGUITimer* timer);
	/** the timer of a running ramp, null at rest */
	CVSTGUITimer* getRampTimer () const;

	// the names under which the toolkit's own subclasses reach the geometry
	CPoint getControlSizePrivate () const { return getViewExtent (); }
	CPoint getHandleSizePrivate () const { return getHandleSize (); }
	void setHandleSizePrivate (CCoord width, CCoord height) { setHandleSize (width, height); }
	CPoint getOffsetHandle () const { return getHandleOffset (); }
	CRect calculateHandleRect (float normValue) const { return computeHandleRect (normValue); }

private:
	struct SliderState;

	CCoord travelOrigin () const;
	CCoord freeClickOffset () const;
	bool isReversedValue () const;
	float currentNormalized () const;
	bool checkDefaultValue (const CButtonState& buttons);
	void releaseRampTimer ();
	void notifyValueChange ();

	std::unique_ptr<SliderState> state;

	static SliderMode globalMode;
};

//-----------------------------------------------------------------------------
class CSlider : public CSliderBase
{
public:
	/** bits of the draw style */
	enum DrawStyle : int32_t
	{
		kDrawFrame = 1 << 0,
		kDrawBack = 1 << 1,
		kDrawValue = 1 << 2,
		kDrawValueFromCenter = 1 << 3,
		kDrawInverted = 1 << 4,
	};

	/** travel from start to end position along the axis, in view-size coordinates */
	CSlider (const CRect& size, IControlListener* listener, int32_t tag, int32_t iMinPos,
			 int32_t iMaxPos, CBitmap* handle, CBitmap* background,
			 const CPoint& offset = CPoint (0, 0), const int32_t style = kLeft | kHorizontal);
	/** travel of the range length less the handle, inset by the handle offset */
	CSlider (const CRect& rect, IControlListener* listener, int32_t tag, const CPoint& offsetHandle,
			 int32_t rangeHandle, CBitmap* handle, CBitmap* background,
			 const CPoint& offset = CPoint (0, 0), const int32_t style = kLeft | kHorizontal);
	CSlider (const CSlider& other);

	//-----------------------------------------------------------------------------
	/// @name Look
	//-----------------------------------------------------------------------------
	//@{
	virtual void setHandle (CBitmap* handle);
	virtual CBitmap* getHandle () const;

	virtual void setDrawStyle (int32_t style);
	int32_t getDrawStyle () const;
	virtual void setFrameWidth (CCoord width);
	CCoord getFrameWidth () const;
	virtual void setFrameColor (CColor color);
	CColor getFrameColor () const;
	virtual void setBackColor (CColor color);
	CColor getBackColor () const;
	virtual void setValueColor (CColor color);
	CColor getValueColor () const;

	void setBitmapOffset (const CPoint& offset);
	CPoint getBitmapOffset () const;
	//@}

	// overrides
	void draw (CDrawContext* context) override;
	bool sizeToFit () override;

	CLASS_METHODS (CSlider, CSliderBase)
protected:
	~CSlider () noexcept override;

private:
	struct SliderDrawState;

	void applyConstructionStyle (int32_t style);
	void drawFrameAndBack (CDrawContext* context, CRect& r, CCoord lineWidth) const;
	void drawValueBar (CDrawContext* context, CRect r, CCoord lineWidth) const;

	std::unique_ptr<SliderDrawState> drawState;
};

//-----------------------------------------------------------------------------
class CVerticalSlider : public CSlider
{
public:
	CVerticalSlider (const CRect& size, IControlListener* listener, int32_t tag, int32_t iMinPos,
					 int32_t iMaxPos, CBitmap* handle, CBitmap* background,
					 const CPoint& offset = CPoint (0, 0), const int32_t style = kBottom);
	CVerticalSlider (const CRect& rect, IControlListener* listener, int32_t tag,
					 const CPoint& offsetHandle, int32_t rangeHandle, CBitmap* handle,
					 CBitmap* background, const CPoint& offset = CPoint (0, 0),
					 const int32_t style = kBottom);

protected:
	~CVerticalSlider () noexcept override = default;
};

//-----------------------------------------------------------------------------
class CHorizontalSlider : public CSlider
{
public:
	CHorizontalSlider (const CRect& size, IControlListener* listener, int32_t tag, int32_t iMinPos,
					   int32_t iMaxPos, CBitmap* handle, CBitmap* background,
					   const CPoint& offset = CPoint (0, 0), const int32_t style = kLeft);
	CHorizontalSlider (const CRect& rect, IControlListener* listener, int32_t tag,
					   const CPoint& offsetHandle, int32_t rangeHandle, CBitmap* handle,
					   CBitmap* background, const CPoint& offset = CPoint (0, 0),
					   const int32_t style = kLeft);

protected:
	~CHorizontalSlider () noexcept override = default;
};

} // VSTGUI

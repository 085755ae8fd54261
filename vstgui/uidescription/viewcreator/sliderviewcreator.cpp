// The view creators that build the editor's sliders from a UI description.

#include "sliderviewcreator.h"

#include "../../lib/cbitmap.h"
#include "../../lib/controls/cslider.h"
#include "../detail/uiviewcreatorattributes.h"
#include "../uiattributes.h"
#include "../uiviewcreator.h"
#include "../uiviewfactory.h"
#include <cmath>
#include <limits>

//------------------------------------------------------------------------
namespace VSTGUI {
namespace UIViewCreator {

namespace {

// read by apply only: an older way to pick between free click and touch
const std::string sliderFreeClickAttr = "free-click";

// Attribute texts match byte for byte; a flag is on only for "true".
bool isTrueText (const std::string& text) { return text == strTrue; }

// The description's name for the bitmap, else its resource name or number.
std::string sliderBitmapName (CBitmap* bitmap, const IUIDescription* desc)
{
	if (desc)
	{
		if (auto name = desc->lookupBitmapName (bitmap))
			return name;
	}
	const auto& res = bitmap->getResourceDescription ();
	if (res.type == CResourceDescription::kStringType)
		return res.u.name ? res.u.name : "";
	return UIAttributes::integerToString (res.u.id);
}

// The description's reader takes an exponent only after a decimal point:
// "1e+12" would not load again, "1.0e+12" does.
std::string sliderNumberText (double value)
{
	auto text = UIAttributes::doubleToString (value, 6);
	auto exponent = text.find ('e');
	if (exponent != std::string::npos && text.find ('.') == std::string::npos)
		text.insert (exponent, ".0");
	return text;
}

std::string sliderPointText (const CPoint& p)
{
	return sliderNumberText (p.x) + ", " + sliderNumberText (p.y);
}

// An empty text gives transparent white; any other goes to the description.
bool sliderColorFromText (const std::string* text, CColor& color, const IUIDescription* desc)
{
	if (!text)
		return false;
	if (text->empty ())
	{
		color = kTransparentCColor;
		return true;
	}
	return desc && desc->getColor (text->c_str (), color);
}

} // anonymous namespace

//------------------------------------------------------------------------
auto SliderBaseCreator::sliderModeNames () -> const ModeNames&
{
	static const ModeNames names = {
		"touch", "relative touch", "free click", "ZY free click", "ramp", "use global",
	};
	return names;
}

//------------------------------------------------------------------------
bool SliderBaseCreator::apply (CView* view, const UIAttributes& attributes,
							   const IUIDescription* description) const
{
	auto* slider = dynamic_cast<CSliderBase*> (view);
	if (!slider)
		return false;

	if (auto text = attributes.getAttributeValue (sliderFreeClickAttr))
		slider->setMode (isTrueText (*text) ? CSliderBase::kFreeClickMode
											: CSliderBase::kTouchMode);

	if (auto text = attributes.getAttributeValue (kAttrMode))
	{
		const auto& names = sliderModeNames ();
		for (size_t index = 0; index < names.size (); ++index)
		{
			if (*text == names[index])
			{
				slider->setMode (static_cast<CSliderBase::SliderMode> (index));
				break;
			}
		}
	}

	CPoint offset (0., 0.);
	if (attributes.getPointAttribute (kAttrHandleOffset, offset))
		slider->setHandleOffset (offset);

	// a number past the float range would be stored as infinity, which no
	// description can hold
	double zoom;
	if (attributes.getDoubleAttribute (kAttrZoomFactor, zoom) &&
		std::fabs (zoom) <= static_cast<double> (std::numeric_limits<float>::max ()))
		slider->setZoomFactor (static_cast<float> (zoom));

	if (auto text = attributes.getAttributeValue (kAttrOrientation))
	{
		int32_t style = slider->getStyle ();
		int32_t orientation =
			*text == strVertical ? CSliderBase::kVertical : CSliderBase::kHorizontal;
		style &= ~(CSliderBase::kHorizontal | CSliderBase::kVertical);
		slider->setStyle (style | orientation);
	}

	if (auto text = attributes.getAttributeValue (kAttrReverseOrientation))
	{
		int32_t style = slider->getStyle ();
		bool reverse = isTrueText (*text);
		if (style & CSliderBase::kVertical)
		{
			style &= ~(CSliderBase::kTop | CSliderBase::kBottom);
			style |= reverse ? CSliderBase::kTop : CSliderBase::kBottom;
		}
		else if (style & CSliderBase::kHorizontal)
		{
			style &= ~(CSliderBase::kLeft | CSliderBase::kRight);
			style |= reverse ? CSliderBase::kRight : CSliderBase::kLeft;
		}
		slider->setStyle (style);
	}
	return true;
}

//------------------------------------------------------------------------
bool SliderBaseCreator::getAttributeNames (StringList& attributeNames) const
{
	attributeNames.emplace_back (kAttrMode);
	attributeNames.emplace_back (kAttrOrientation);
	attributeNames.emplace_back (kAttrReverseOrientation);
	attributeNames.emplace_back (kAttrHandleOffset);
	attributeNames.emplace_back (kAttrZoomFactor);
	return true;
}

//------------------------------------------------------------------------
auto SliderBaseCreator::getAttributeType (const string& attributeName) const -> AttrType
{
	if (attributeName == kAttrMode)
		return kListType;
	if (attributeName == kAttrHandleOffset)
		return kPointType;
	if (attributeName == kAttrZoomFactor)
		return kFloatType;
	if (attributeName == kAttrOrientation)
		return kListType;
	if (attributeName == kAttrReverseOrientation)
		return kBooleanType;
	return kUnknownType;
}

//------------------------------------------------------------------------
bool SliderBaseCreator::getAttributeValue (CView* view, const string& attributeName,
										   string& stringValue, const IUIDescription* desc) const
{
	auto* slider = dynamic_cast<CSliderBase*> (view);
	if (!slider)
		return false;

	if (attributeName == kAttrMode)
	{
		auto mode = slider->getMode ();
		const auto& names = sliderModeNames ();
		if (mode < 0 || static_cast<size_t> (mode) >= names.size ())
			return false;
		stringValue = names[static_cast<size_t> (mode)];
		return true;
	}
	if (attributeName == kAttrHandleOffset)
	{
		stringValue = sliderPointText (slider->getHandleOffset ());
		return true;
	}
	if (attributeName == kAttrZoomFactor)
	{
		stringValue = sliderNumberText (static_cast<double> (slider->getZoomFactor ()));
		return true;
	}
	if (attributeName == kAttrOrientation)
	{
		stringValue = (slider->getStyle () & CSliderBase::kVertical) ? strVertical : strHorizontal;
		return true;
	}
	if (attributeName == kAttrReverseOrientation)
	{
		auto style = slider->getStyle ();
		constexpr int32_t verticalTop = CSliderBase::kVertical | CSliderBase::kTop;
		constexpr int32_t horizontalRight = CSliderBase::kHorizontal | CSliderBase::kRight;
		bool reversed =
			(style & verticalTop) == verticalTop || (style & horizontalRight) == horizontalRight;
		stringValue = reversed ? strTrue : strFalse;
		return true;
	}
	return false;
}

//------------------------------------------------------------------------
bool SliderBaseCreator::getPossibleListValues (const string& attributeName,
											   ConstStringPtrList& values) const
{
	if (attributeName == kAttrOrientation)
		return getStandardAttributeListValues (kAttrOrientation, values);
	if (attributeName == kAttrMode)
	{
		for (const auto& name : sliderModeNames ())
			values.emplace_back (&name);
		return true;
	}
	return false;
}

//------------------------------------------------------------------------
//------------------------------------------------------------------------
SliderCreator::SliderCreator () { UIViewFactory::registerViewCreator (*this); }

//------------------------------------------------------------------------
IdStringPtr SliderCreator::getViewName () const { return kCSlider; }

//------------------------------------------------------------------------
IdStringPtr SliderCreator::getBaseViewName () const { return kCControl; }

//------------------------------------------------------------------------
UTF8StringPtr SliderCreator::getDisplayName () const { return "Slider"; }

//------------------------------------------------------------------------
CView* SliderCreator::create (const UIAttributes&, const IUIDescription*) const
{
	return new CSlider (CRect (0, 0, 0, 0), nullptr, -1, 0, 0, nullptr, nullptr, CPoint (0, 0),
						CSliderBase::kLeft | CSliderBase::kHorizontal);
}

//------------------------------------------------------------------------
bool SliderCreator::apply (CView* view, const UIAttributes& attributes,
						   const IUIDescription* description) const
{
	auto* slider = dynamic_cast<CSlider*> (view);
	if (!slider)
		return false;

	if (auto text = attributes.getAttributeValue (kAttrHandleBitmap))
	{
		CBitmap* bitmap = nullptr;
		if (!text->empty () && description)
			bitmap = description->getBitmap (text->c_str ());
		slider->setHandle (bitmap);
	}

	CPoint offset;
	if (attributes.getPointAttribute (kAttrBitmapOffset, offset))
		slider->setBitmapOffset (offset);

	int32_t drawStyle = slider->getDrawStyle ();
	applyStyleMask (attributes.getAttributeValue (kAttrDrawFrame), CSlider::kDrawFrame, drawStyle);
	applyStyleMask (attributes.getAttributeValue (kAttrDrawBack), CSlider::kDrawBack, drawStyle);
	applyStyleMask (attributes.getAttributeValue (kAttrDrawValue), CSlider::kDrawValue, drawStyle);
	applyStyleMask (attributes.getAttributeValue (kAttrDrawValueFromCenter),
					CSlider::kDrawValueFromCenter, drawStyle);
	applyStyleMask (attributes.getAttributeValue (kAttrDrawValueInverted), CSlider::kDrawInverted,
					drawStyle);
	slider->setDrawStyle (drawStyle);

	double width;
	if (attributes.getDoubleAttribute (kAttrFrameWidth, width))
		slider->setFrameWidth (width);

	CColor color;
	if (sliderColorFromText (attributes.getAttributeValue (kAttrDrawFrameColor), color,
							 description))
		slider->setFrameColor (color);
	if (sliderColorFromText (attributes.getAttributeValue (kAttrDrawBackColor), color, description))
		slider->setBackColor (color);
	if (sliderColorFromText (attributes.getAttributeValue (kAttrDrawValueColor), color,
							 description))
		slider->setValueColor (color);

	return SliderBaseCreator::apply (view, attributes, description);
}

//------------------------------------------------------------------------
bool SliderCreator::getAttributeNames (StringList& attributeNames) const
{
	SliderBaseCreator::getAttributeNames (attributeNames);
	attributeNames.emplace_back (kAttrHandleBitmap);
	attributeNames.emplace_back (kAttrBitmapOffset);
	attributeNames.emplace_back (kAttrDrawFrame);
	attributeNames.emplace_back (kAttrDrawBack);
	attributeNames.emplace_back (kAttrDrawValue);
	attributeNames.emplace_back (kAttrDrawValueInverted);
	attributeNames.emplace_back (kAttrDrawValueFromCenter);
	attributeNames.emplace_back (kAttrFrameWidth);
	attributeNames.emplace_back (kAttrDrawFrameColor);
	attributeNames.emplace_back (kAttrDrawBackColor);
	attributeNames.emplace_back (kAttrDrawValueColor);
	return true;
}

//------------------------------------------------------------------------
auto SliderCreator::getAttributeType (const string& attributeName) const -> AttrType
{
	if (attributeName == kAttrHandleBitmap)
		return kBitmapType;
	if (attributeName == kAttrBitmapOffset)
		return kPointType;
	if (attributeName == kAttrDrawFrame || attributeName == kAttrDrawBack ||
		attributeName == kAttrDrawValue || attributeName == kAttrDrawValueInverted ||
		attributeName == kAttrDrawValueFromCenter)
		return kBooleanType;
	if (attributeName == kAttrFrameWidth)
		return kFloatType;
	if (attributeName == kAttrDrawFrameColor || attributeName == kAttrDrawBackColor ||
		attributeName == kAttrDrawValueColor)
		return kColorType;
	return SliderBaseCreator::getAttributeType (attributeName);
}

//------------------------------------------------------------------------
bool SliderCreator::getAttributeValue (CView* view, const string& attributeName,
									   string& stringValue, const IUIDescription* desc) const
{
	auto* slider = dynamic_cast<CSlider*> (view);
	if (!slider)
		return false;

	if (attributeName == kAttrHandleBitmap)
	{
		if (auto bitmap = slider->getHandle ())
			stringValue = sliderBitmapName (bitmap, desc);
		return true;
	}
	if (attributeName == kAttrBitmapOffset)
	{
		stringValue = sliderPointText (slider->getBitmapOffset ());
		return true;
	}

	const std::pair<const std::string*, int32_t> drawStyleFlags[] = {
		{&kAttrDrawFrame, CSlider::kDrawFrame},
		{&kAttrDrawBack, CSlider::kDrawBack},
		{&kAttrDrawValue, CSlider::kDrawValue},
		{&kAttrDrawValueInverted, CSlider::kDrawInverted},
		{&kAttrDrawValueFromCenter, CSlider::kDrawValueFromCenter},
	};
	for (const auto& flag : drawStyleFlags)
	{
		if (attributeName == *flag.first)
		{
			stringValue = (slider->getDrawStyle () & flag.second) ? strTrue : strFalse;
			return true;
		}
	}

	if (attributeName == kAttrFrameWidth)
	{
		stringValue = sliderNumberText (slider->getFrameWidth ());
		return true;
	}
	if (attributeName == kAttrDrawFrameColor)
		return colorToString (slider->getFrameColor (), stringValue, desc);
	if (attributeName == kAttrDrawBackColor)
		return colorToString (slider->getBackColor (), stringValue, desc);
	if (attributeName == kAttrDrawValueColor)
		return colorToString (slider->getValueColor (), stringValue, desc);

	return SliderBaseCreator::getAttributeValue (view, attributeName, stringValue, desc);
}

//------------------------------------------------------------------------
} // UIViewCreator
} // VSTGUI

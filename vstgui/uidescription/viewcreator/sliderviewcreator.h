// The view creators that build the editor's sliders from a UI description.

#pragma once

#include "../iviewcreator.h"
#include <array>
#include <string>

//------------------------------------------------------------------------
namespace VSTGUI {
namespace UIViewCreator {

//------------------------------------------------------------------------
/** the attributes every slider shares: mode, orientation, reversal, handle
	offset and zoom factor */
struct SliderBaseCreator : ViewCreatorAdapter
{
	using ModeNames = std::array<std::string, 6>;
	/** the names of the slider modes, indexed by mode value */
	static const ModeNames& sliderModeNames ();

	bool apply (CView* view, const UIAttributes& attributes,
				const IUIDescription* description) const override;
	bool getAttributeNames (StringList& attributeNames) const override;
	AttrType getAttributeType (const string& attributeName) const override;
	bool getAttributeValue (CView* view, const string& attributeName, string& stringValue,
							const IUIDescription* desc) const override;
	bool getPossibleListValues (const string& attributeName,
								ConstStringPtrList& values) const override;
};

//------------------------------------------------------------------------
/** builds a CSlider under the view name "CSlider" */
struct SliderCreator : SliderBaseCreator
{
	SliderCreator ();
	IdStringPtr getViewName () const override;
	IdStringPtr getBaseViewName () const override;
	UTF8StringPtr getDisplayName () const override;
	CView* create (const UIAttributes& attributes,
				   const IUIDescription* description) const override;
	bool apply (CView* view, const UIAttributes& attributes,
				const IUIDescription* description) const override;
	bool getAttributeNames (StringList& attributeNames) const override;
	AttrType getAttributeType (const string& attributeName) const override;
	bool getAttributeValue (CView* view, const string& attributeName, string& stringValue,
							const IUIDescription* desc) const override;
};

//------------------------------------------------------------------------
} // UIViewCreator
} // VSTGUI

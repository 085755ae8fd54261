// The about display inside the editor: while its on/off button is on, its
// text label shows the version, the plug-in format and the platform.
#pragma once

#include "controller/platformtext.h"
#include "processor/version.h"

#include "base/source/fstring.h"
#include "vstgui/lib/controls/cbuttons.h"
#include "vstgui/lib/controls/ctextlabel.h"
#include "vstgui/lib/iviewlistener.h"
#include "vstgui/uidescription/icontroller.h"

#include <cmath>

namespace Steinberg {
namespace Vst {

// ControllerType is the edit controller that creates it and keeps the list of
// live about controllers (addAboutController / removeAboutController). The
// editor owns the object and deletes it with its views; it is not reference
// counted.
template <typename ControllerType>
class PlugAboutController : public VSTGUI::IController, public VSTGUI::ViewListenerAdapter
{
public:
	PlugAboutController (ControllerType* controller, bool isAU);
	~PlugAboutController () override;

	void valueChanged (VSTGUI::CControl* control) override;
	VSTGUI::CView* verifyView (VSTGUI::CView* view, const VSTGUI::UIAttributes& attributes,
	                           const VSTGUI::IUIDescription* description) override;
	void viewWillDelete (VSTGUI::CView* view) override;

	ControllerType* const controller;
	VSTGUI::COnOffButton* button {nullptr};
	VSTGUI::CTextLabel* label {nullptr};
	String format;
	String version;
	String platform;
	String extra1;
	String extra2;

private:
	void holdLabel (VSTGUI::CTextLabel* newLabel);
	void holdButton (VSTGUI::COnOffButton* newButton);
	void releaseLabel ();
	void releaseButton ();
};

//------------------------------------------------------------------------
template <typename ControllerType>
PlugAboutController<ControllerType>::PlugAboutController (ControllerType* controller, bool isAU)
: controller (controller)
{
	format = isAU ? "AU" : "VST3";
	version = ZY_ABOUT_VERSION_STR;
	platform = platformText ();
}

template <typename ControllerType>
PlugAboutController<ControllerType>::~PlugAboutController ()
{
	releaseLabel ();
	releaseButton ();
	if (controller)
		controller->removeAboutController (this);
}

template <typename ControllerType>
void PlugAboutController<ControllerType>::valueChanged (VSTGUI::CControl* control)
{
	// the text has nowhere to go without a label
	if (!button || control != button || !label)
		return;
	// The fields are joined as 8-bit texts: joining an 8-bit and a wide String
	// converts through the SDK, which throws on bytes that are not UTF-8 (and
	// loses its buffer when it does). Only running out of memory is left to
	// throw; the label then keeps its text.
	try
	{
		String text;
		const float value = button->getValue ();
		if (value != 0.f && !std::isnan (value))
		{
			text += version.text8 ();
			text += ", ";
			text += format.text8 ();
			text += " ";
			text += platform.text8 ();
			text += " ";
			text += extra2.text8 ();
			text += " ";
			text += extra1.text8 ();
		}
		label->setText (VSTGUI::UTF8String (text.text8 ()));
	}
	catch (...)
	{
	}
}

template <typename ControllerType>
VSTGUI::CView* PlugAboutController<ControllerType>::verifyView (VSTGUI::CView* view,
                                                                const VSTGUI::UIAttributes&,
                                                                const VSTGUI::IUIDescription*)
{
	if (!view)
		return nullptr;
	if (auto* newLabel = dynamic_cast<VSTGUI::CTextLabel*> (view))
	{
		holdLabel (newLabel);
		label->setText (VSTGUI::UTF8String (""));
	}
	if (auto* newButton = dynamic_cast<VSTGUI::COnOffButton*> (view))
	{
		holdButton (newButton);
		valueChanged (button);
	}
	return view;
}

template <typename ControllerType>
void PlugAboutController<ControllerType>::viewWillDelete (VSTGUI::CView* view)
{
	if (!view)
		return;
	if (view == label)
		releaseLabel ();
	if (view == button)
		releaseButton ();
}

// A view that is replaced is let go of at once: it may outlive this object
// and must not call it then.
template <typename ControllerType>
void PlugAboutController<ControllerType>::holdLabel (VSTGUI::CTextLabel* newLabel)
{
	if (newLabel == label)
		return;
	releaseLabel ();
	label = newLabel;
	label->registerViewListener (this);
}

// The button is listened to as a view too: the editor deletes the views of
// the about display before this object, and the button must report that.
template <typename ControllerType>
void PlugAboutController<ControllerType>::holdButton (VSTGUI::COnOffButton* newButton)
{
	if (newButton == button)
		return;
	releaseButton ();
	button = newButton;
	button->registerControlListener (this);
	button->registerViewListener (this);
}

template <typename ControllerType>
void PlugAboutController<ControllerType>::releaseLabel ()
{
	if (!label)
		return;
	label->unregisterViewListener (this);
	label = nullptr;
}

template <typename ControllerType>
void PlugAboutController<ControllerType>::releaseButton ()
{
	if (!button)
		return;
	button->unregisterControlListener (this);
	button->unregisterViewListener (this);
	button = nullptr;
}

} // namespace Vst
} // namespace Steinberg

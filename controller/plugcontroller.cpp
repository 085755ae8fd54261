#include "controller/plugcontroller.h"
#include "controller/plugeditor.h"
#include "controller/x11cairodevice.h"
#include "controller/zyexprangeparameter.h"
#include "controller/zyonoffparameter.h"
#include "controller/zyrangeparameter.h"
#include "processor/plugparams.h"

#include "pluginterfaces/vst/ivsthostapplication.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace Steinberg {
namespace Vst {

namespace {

struct RangeParameterRow
{
	PlugParamTag tag;
	const TChar* title;
	const TChar* units;
	ParamValue minPlain;
	ParamValue maxPlain;
	ParamValue defaultPlain;
	int32 precision;
	bool exponential;
};

// In tag order, which is the order a host sees; Bypass follows them.
const RangeParameterRow kRangeParameters[] = {
    {kLevelTag, STR16 ("Level"), STR16 ("dB"), -36., 12., 0., 2, false},
    {kFrequencyTag, STR16 ("Frequency"), STR16 ("Hz"), 100., 4000., 700., 0, true},
    {kDepthTag, STR16 ("Depth"), STR16 ("%"), 0., 100., 50., 0, false},
    {kDegreeTag, STR16 ("Degree"), STR16 ("deg"), 0., 180., 90., 0, false},
    {kRateTag, STR16 ("Rate"), STR16 ("Hz"), 0., 2., 0.3, 2, false},
    {kFeedbackTag, STR16 ("Feedback"), STR16 ("%"), 0., 100., 50., 0, false},
    {kMixTag, STR16 ("Mix"), STR16 ("%"), 0., 100., 100., 0, false},
};

Parameter* makeRangeParameter (const RangeParameterRow& row)
{
	const int32 flags = ParameterInfo::kCanAutomate;
	if (row.exponential)
		return new ZYExpRangeParameter (row.title, row.tag, row.units, flags, row.minPlain,
		                                row.maxPlain, row.defaultPlain);
	return new ZYRangeParameter (row.title, row.tag, row.units, flags, row.minPlain, row.maxPlain,
	                             row.defaultPlain);
}

} // namespace

PlugController::~PlugController ()
{
}

FUnknown* PlugController::createInstance (void*)
{
	auto* controller = new (std::nothrow) PlugController ();
	return controller ? static_cast<IEditController*> (controller) : nullptr;
}

tresult PLUGIN_API PlugController::initialize (FUnknown* context)
{
	// The base refuses a second initialize only when the first brought a
	// host context; either way the parameters of the first one stay.
	if (EditController::initialize (context) != kResultOk || parameters.getParameterCount () > 0)
		return kResultOk;
	try
	{
		for (const auto& row : kRangeParameters)
		{
			Parameter* parameter = makeRangeParameter (row);
			parameter->setPrecision (row.precision);
			parameters.addParameter (parameter);
		}
		parameters.addParameter (new ZYOnOffParameter (
		    STR16 ("Bypass"), kBypassTag, ParameterInfo::kCanAutomate | ParameterInfo::kIsBypass));
	}
	catch (...)
	{
		return kOutOfMemory;
	}
	return kResultOk;
}

tresult PLUGIN_API PlugController::setComponentState (IBStream* state)
{
	PlugParams block {};
	const tresult result = block.read (state);
	if (result != kResultOk)
		return result;

	// as read: the parameters clamp to [0, 1] themselves
	for (ParamID tag = kLevelTag; tag <= kBypassTag; ++tag)
		setParamNormalized (tag, block.normalized (tag));
	return kResultOk;
}

IPlugView* PLUGIN_API PlugController::createView (FIDString name)
{
	if (!name || std::strcmp (name, ViewType::kEditor) != 0)
		return nullptr;
	setKnobMode (kLinearMode);
	try
	{
		return new PlugEditor (this, kEditorTemplateName, kEditorDescriptionFile);
	}
	catch (...)
	{
		return nullptr;
	}
}

tresult PLUGIN_API PlugController::getParamStringByValue (ParamID tag, ParamValue valueNormalized,
                                                          String128 string)
{
	if (!string)
		return kResultFalse;
	// the editor converts the buffer even when the answer is a refusal
	string[0] = 0;
	if (std::isnan (valueNormalized))
		return kResultFalse;
	// No guard: nothing below throws. Each parameter's toString prints into
	// the buffer with snprintf or copies "On" or "Off"; no text is converted
	// and nothing is allocated.
	return EditController::getParamStringByValue (tag, valueNormalized, string);
}

tresult PLUGIN_API PlugController::getParamValueByString (ParamID tag, TChar* string,
                                                          ParamValue& valueNormalized)
{
	if (!string)
		return kResultFalse;
	ParamValue entered = 0.;
	try
	{
		// the SDK's text conversion throws on UTF-16 that is not well formed
		if (EditController::getParamValueByString (tag, string, entered) != kResultTrue)
			return kResultFalse;
	}
	catch (...)
	{
		return kResultFalse;
	}
	// "nan" scans as a number but names no value
	if (std::isnan (entered))
		return kResultFalse;
	// the range parameters clamp already; Bypass reads a number as it is
	valueNormalized = std::clamp (entered, 0., 1.);
	return kResultTrue;
}

tresult PLUGIN_API PlugController::setParamNormalized (ParamID tag, ParamValue value)
{
	// the SDK's parameter clamps only above 1 and below 0 and would keep a NaN
	if (std::isnan (value))
		return kResultFalse;
	try
	{
		return EditController::setParamNormalized (tag, value);
	}
	catch (...)
	{
		// Thrown while the editor's controls followed the value: it is stored
		// by then, and the editor tells the host of it only on kResultTrue.
		return kResultTrue;
	}
}

VSTGUI::IController* PlugController::createSubController (VSTGUI::UTF8StringPtr name,
                                                          const VSTGUI::IUIDescription*,
                                                          VSTGUI::VST3Editor*)
{
	if (!name || std::strcmp (name, kAboutControllerName) != 0)
		return nullptr;
	FUnknownPtr<IVst3ToAUWrapper> auWrapper (hostContext);
	AboutController* aboutController = nullptr;
	try
	{
		aboutController = new AboutController (this, auWrapper != nullptr);
		addAboutController (aboutController);
	}
	catch (...)
	{
		delete aboutController;
		return nullptr;
	}
	return aboutController;
}

void PlugController::didOpen (VSTGUI::VST3Editor*)
{
	// so that the editor can be closed and opened again safely
	handCairoDeviceToToolkit ();
}

void PlugController::addAboutController (AboutController* aboutController)
{
	aboutControllers.push_back (aboutController);
}

void PlugController::removeAboutController (AboutController* aboutController)
{
	auto it = std::find (aboutControllers.begin (), aboutControllers.end (), aboutController);
	if (it != aboutControllers.end ())
		aboutControllers.erase (it);
}

template class PlugAboutController<PlugController>;

} // namespace Vst
} // namespace Steinberg

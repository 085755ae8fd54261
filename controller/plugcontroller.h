// The edit controller of zy Phaser: the parameter list, the processor's state
// taken into the parameters, and the editor with its about display.
#pragma once

#include "controller/plugaboutcontroller.h"

#include "public.sdk/source/vst/vsteditcontroller.h"
#include "vstgui/plugin-bindings/vst3editor.h"

#include <vector>

namespace Steinberg {
namespace Vst {

// Names shared with the UI description.
static constexpr const char* kAboutControllerName = "AboutController";
static constexpr const char* kEditorTemplateName = "view";
static constexpr const char* kEditorDescriptionFile = "plug.uidesc";

class PlugController : public EditController, public VSTGUI::VST3EditorDelegate
{
public:
	using AboutController = PlugAboutController<PlugController>;

	PlugController () = default;
	~PlugController () SMTG_OVERRIDE;

	static FUnknown* createInstance (void* context);

	tresult PLUGIN_API initialize (FUnknown* context) SMTG_OVERRIDE;
	tresult PLUGIN_API setComponentState (IBStream* state) SMTG_OVERRIDE;
	IPlugView* PLUGIN_API createView (FIDString name) SMTG_OVERRIDE;

	// The SDK's text and value paths, guarded so that neither a host nor the
	// editor ever gets a NaN, a value outside [0, 1] or an exception: a NaN
	// is refused with kResultFalse and changes nothing, a text entry ends
	// within [0, 1], a text the SDK throws on is refused, and a value whose
	// controls throw while they follow it is stored (kResultTrue).
	tresult PLUGIN_API getParamStringByValue (ParamID tag, ParamValue valueNormalized,
	                                          String128 string) SMTG_OVERRIDE;
	tresult PLUGIN_API getParamValueByString (ParamID tag, TChar* string,
	                                          ParamValue& valueNormalized) SMTG_OVERRIDE;
	tresult PLUGIN_API setParamNormalized (ParamID tag, ParamValue value) SMTG_OVERRIDE;

	VSTGUI::IController* createSubController (VSTGUI::UTF8StringPtr name,
	                                          const VSTGUI::IUIDescription* description,
	                                          VSTGUI::VST3Editor* editor) SMTG_OVERRIDE;
	void didOpen (VSTGUI::VST3Editor* editor) SMTG_OVERRIDE;

	void addAboutController (AboutController* aboutController);
	void removeAboutController (AboutController* aboutController);

	// The about controllers alive, in order of creation; owned by their editors.
	std::vector<AboutController*> aboutControllers;
};

extern template class PlugAboutController<PlugController>;

} // namespace Vst
} // namespace Steinberg

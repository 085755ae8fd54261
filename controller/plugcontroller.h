// The edit controller of zy Phaser (work in progress).
#pragma once

#include "public.sdk/source/vst/vsteditcontroller.h"
#include "vstgui/plugin-bindings/vst3editor.h"

namespace Steinberg {
namespace Vst {

class PlugController : public EditController, public VSTGUI::VST3EditorDelegate
{
public:
	static FUnknown* createInstance (void*)
	{
		return static_cast<IEditController*> (new PlugController ());
	}

	IPlugView* PLUGIN_API createView (FIDString name) SMTG_OVERRIDE;
};

} // namespace Vst
} // namespace Steinberg

// The editor view: the toolkit's VST 3 editor at the fixed size of its
// template. Linux hosts in particular handle resizable plug-in windows
// unevenly, so the editor does not offer to be resized.
#pragma once

#include "vstgui/plugin-bindings/vst3editor.h"

namespace Steinberg {
namespace Vst {

class PlugEditor : public VSTGUI::VST3Editor
{
public:
	using VST3Editor::VST3Editor;

	tresult PLUGIN_API canResize () SMTG_OVERRIDE { return kResultFalse; }
};

} // namespace Vst
} // namespace Steinberg

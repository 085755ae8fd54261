#include "controller/plugcontroller.h"

#include <cstring>

namespace Steinberg {
namespace Vst {

IPlugView* PLUGIN_API PlugController::createView (FIDString name)
{
	if (!name || std::strcmp (name, ViewType::kEditor) != 0)
		return nullptr;
	return new VSTGUI::VST3Editor (this, "view", "plug.uidesc");
}

} // namespace Vst
} // namespace Steinberg

#include "controller/x11cairodevice.h"

#include "vstgui/lib/platform/linux/x11platform.h"

#include <cairo/cairo-xcb.h>
#include <xcb/xcb.h>

namespace Steinberg {
namespace Vst {

namespace {

xcb_visualtype_t* rootVisual (xcb_screen_t* screen)
{
	for (auto depths = xcb_screen_allowed_depths_iterator (screen); depths.rem;
	     xcb_depth_next (&depths))
	{
		for (auto visuals = xcb_depth_visuals_iterator (depths.data); visuals.rem;
		     xcb_visualtype_next (&visuals))
		{
			if (visuals.data->visual_id == screen->root_visual)
				return visuals.data;
		}
	}
	return nullptr;
}

} // namespace

void handCairoDeviceToToolkit ()
{
	auto& runLoop = VSTGUI::X11::RunLoop::instance ();
	xcb_connection_t* connection = runLoop.getXcbConnection ();
	if (!connection || xcb_connection_has_error (connection))
		return;
	xcb_screen_t* screen = xcb_setup_roots_iterator (xcb_get_setup (connection)).data;
	xcb_visualtype_t* visual = screen ? rootVisual (screen) : nullptr;
	if (!visual)
		return;
	// cairo keeps one device per connection; a probe surface finds it
	cairo_surface_t* probe = cairo_xcb_surface_create (connection, screen->root, visual, 1, 1);
	cairo_device_t* device = cairo_surface_get_device (probe);
	if (device && cairo_device_status (device) == CAIRO_STATUS_SUCCESS)
		runLoop.setDevice (device);
	cairo_surface_destroy (probe);
}

} // namespace Vst
} // namespace Steinberg

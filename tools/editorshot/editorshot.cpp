// zy_editorshot: opens the plug-in's editor in an X11 window, lets it draw,
// and saves the window's pixels as a PNG.
//     zy_editorshot [--plugin PATH] [--scale FACTOR] OUT.png
// Needs an X display (DISPLAY); under CI, run it inside xvfb-run.

#include "tools/hostkit/editorwindow.h"
#include "tools/hostkit/loadedplugin.h"
#include "tools/hostkit/runloop.h"

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace Steinberg;
using namespace zyhost;

namespace {

// A window larger than the screen is cropped on it, and so would be its
// picture.
bool fitsTheScreen (Display* display, const EditorWindow& window, float scale, std::string& error)
{
	const int screen = DefaultScreen (display);
	const int width = window.size ().getWidth ();
	const int height = window.size ().getHeight ();
	if (width <= DisplayWidth (display, screen) && height <= DisplayHeight (display, screen))
		return true;
	char text[256];
	std::snprintf (text, sizeof text,
	               "the editor at scale %g is %d x %d, larger than the screen (%d x %d), which "
	               "would crop it; under xvfb-run, give a screen that holds it: "
	               "xvfb-run -a -s \"-screen 0 %dx%dx24\" zy_editorshot ...",
	               scale, width, height, DisplayWidth (display, screen),
	               DisplayHeight (display, screen), width, height);
	error = text;
	return false;
}

} // namespace

int main (int argc, char* argv[])
{
	const char* home = std::getenv ("HOME");
	std::string pluginPath = std::string (home ? home : ".") + "/.vst3/zyPhaser.vst3";
	std::string outPath;
	float scale = 1.f;
	for (int i = 1; i < argc; ++i)
	{
		const std::string arg = argv[i];
		if (arg == "--plugin" && i + 1 < argc)
			pluginPath = argv[++i];
		else if (arg == "--scale" && i + 1 < argc)
			scale = std::strtof (argv[++i], nullptr);
		else if (!arg.empty () && arg[0] != '-' && outPath.empty ())
			outPath = arg;
		else
		{
			std::fprintf (stderr,
			              "usage: zy_editorshot [--plugin PATH] [--scale FACTOR] OUT.png\n");
			return 2;
		}
	}
	if (outPath.empty () || !(scale >= 1.f && scale <= 4.f))
	{
		std::fprintf (stderr, "usage: zy_editorshot [--plugin PATH] [--scale FACTOR] OUT.png\n");
		return 2;
	}

	Display* display = XOpenDisplay (nullptr);
	if (!display)
	{
		std::fprintf (stderr, "zy_editorshot: no X display (is DISPLAY set?)\n");
		return 1;
	}
	int status = 1;
	{
		std::string error;
		auto plugin = LoadedPlugin::load (pluginPath, error);
		if (plugin && plugin->syncControllerToProcessor ())
		{
			auto view = owned (plugin->controller ()->createView (Vst::ViewType::kEditor));
			auto runLoop = owned (new RunLoop ());
			auto window = owned (new EditorWindow (display, runLoop));
			if (!view)
				error = "the controller made no editor";
			else if (window->open (view, error, 0, 0, scale))
			{
				if (fitsTheScreen (display, *window, scale, error))
				{
					runLoop->runFor (std::chrono::milliseconds (600));
					Capture capture;
					if (window->capture (capture, error) && capture.writePng (outPath, error))
					{
						std::printf ("%s: %d x %d\n", outPath.c_str (), capture.width,
						             capture.height);
						status = 0;
					}
				}
				window->close ();
				runLoop->runFor (std::chrono::milliseconds (50));
			}
		}
		if (status != 0)
			std::fprintf (stderr, "zy_editorshot: %s\n", error.c_str ());
	}
	XCloseDisplay (display);
	return status;
}

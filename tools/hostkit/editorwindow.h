// A top-level X11 window that holds a plug-in's editor view, as a Linux host
// embeds it: the view gets the window as its X11 parent and this object as
// its IPlugFrame, through which it also finds the host's run loop.
#pragma once

#include "tools/hostkit/runloop.h"

#include "pluginterfaces/base/funknownimpl.h"
#include "pluginterfaces/gui/iplugview.h"

#include <cstdint>
#include <string>
#include <vector>

// Xlib stays out of this header: its macros clash with other code.
typedef struct _XDisplay Display; // NOLINT(bugprone-reserved-identifier): Xlib's own name

namespace zyhost {

using XWindowId = unsigned long;

// The pixels of a window, 0xAARRGGBB with opaque alpha, row by row.
struct Capture
{
	int width {0};
	int height {0};
	std::vector<uint32_t> pixels;

	uint32_t at (int x, int y) const { return pixels[static_cast<size_t> (y) * width + x]; }
	bool writePng (const std::string& path, std::string& error) const;
};

class EditorWindow : public Steinberg::U::Implements<Steinberg::U::Directly<Steinberg::IPlugFrame>>
{
public:
	EditorWindow (Display* display, RunLoop* runLoop);
	~EditorWindow () override;

	// Creates a window of the view's size, maps it at (x, y) of the screen and
	// attaches the view; the content scale, when not 1, is set before.
	bool open (Steinberg::IPlugView* view, std::string& error, int x = 0, int y = 0,
	           float contentScale = 1.f);
	// Detaches the view and destroys the window.
	void close ();

	XWindowId window () const { return windowId; }
	Steinberg::ViewRect size () const { return viewSize; }
	int resizeRequests () const { return resizeCount; }

	// The window's pixels as they are on the screen now.
	bool capture (Capture& out, std::string& error) const;

	Steinberg::tresult PLUGIN_API resizeView (Steinberg::IPlugView* view,
	                                          Steinberg::ViewRect* newSize) override;
	Steinberg::tresult PLUGIN_API queryInterface (const Steinberg::TUID iid, void** obj) override;

private:
	void embedChildren ();

	Display* display;
	Steinberg::IPtr<RunLoop> runLoop;
	Steinberg::IPtr<Steinberg::IPlugView> view;
	XWindowId windowId {0};
	Steinberg::ViewRect viewSize {};
	int resizeCount {0};
};

} // namespace zyhost

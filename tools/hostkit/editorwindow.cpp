#include "tools/hostkit/editorwindow.h"

#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <cairo.h>

#include <algorithm>

using namespace Steinberg;

namespace zyhost {

namespace {

// XEMBED: the embedder tells the client window that it has been embedded,
// upon which the client maps itself.
constexpr long kXEmbedEmbeddedNotify = 0;
constexpr long kXEmbedVersion = 0;

} // namespace

EditorWindow::EditorWindow (Display* display, RunLoop* runLoop)
: display (display), runLoop (runLoop)
{
}

EditorWindow::~EditorWindow ()
{
	close ();
}

bool EditorWindow::open (IPlugView* plugView, std::string& error, int x, int y, float contentScale)
{
	if (!display || !plugView)
	{
		error = "no X display or no view";
		return false;
	}
	if (plugView->isPlatformTypeSupported (kPlatformTypeX11EmbedWindowID) != kResultTrue)
	{
		error = "the view does not support X11 embedding";
		return false;
	}
	view = plugView;
	if (contentScale != 1.f)
	{
		FUnknownPtr<IPlugViewContentScaleSupport> scaling (view);
		if (!scaling || scaling->setContentScaleFactor (contentScale) != kResultTrue)
		{
			error = "the view refuses the content scale";
			view = nullptr;
			return false;
		}
	}
	if (view->setFrame (this) != kResultTrue)
	{
		error = "setFrame failed";
		view = nullptr;
		return false;
	}
	if (view->getSize (&viewSize) != kResultTrue || viewSize.getWidth () <= 0 ||
	    viewSize.getHeight () <= 0)
	{
		error = "the view has no size";
		view->setFrame (nullptr);
		view = nullptr;
		return false;
	}

	const int screen = DefaultScreen (display);
	XSetWindowAttributes attributes {};
	attributes.background_pixel = BlackPixel (display, screen);
	// no window manager runs under the test display: place the window ourselves
	attributes.override_redirect = True;
	windowId = XCreateWindow (display, RootWindow (display, screen), x, y, viewSize.getWidth (),
	                          viewSize.getHeight (), 0, CopyFromParent, InputOutput, CopyFromParent,
	                          CWBackPixel | CWOverrideRedirect, &attributes);
	XStoreName (display, windowId, "zy Phaser");
	XMapRaised (display, windowId);
	XSync (display, False);

	// The VST 3 API hands an X11 window id over in a pointer.
	// NOLINTNEXTLINE(performance-no-int-to-ptr)
	if (view->attached (reinterpret_cast<void*> (windowId), kPlatformTypeX11EmbedWindowID) !=
	    kResultTrue)
	{
		error = "attached failed";
		view->setFrame (nullptr);
		view = nullptr;
		XDestroyWindow (display, windowId);
		XSync (display, False);
		windowId = 0;
		return false;
	}
	embedChildren ();
	return true;
}

void EditorWindow::embedChildren ()
{
	XSync (display, False);
	Window root = 0, parent = 0;
	Window* children = nullptr;
	unsigned count = 0;
	if (!XQueryTree (display, windowId, &root, &parent, &children, &count))
		return;
	const Atom xembed = XInternAtom (display, "_XEMBED", False);
	for (unsigned i = 0; i < count; ++i)
	{
		XEvent event {};
		event.xclient.type = ClientMessage;
		event.xclient.window = children[i];
		event.xclient.message_type = xembed;
		event.xclient.format = 32;
		event.xclient.data.l[0] = CurrentTime;
		event.xclient.data.l[1] = kXEmbedEmbeddedNotify;
		event.xclient.data.l[3] = static_cast<long> (windowId);
		event.xclient.data.l[4] = kXEmbedVersion;
		XSendEvent (display, children[i], False, NoEventMask, &event);
		XMapWindow (display, children[i]);
	}
	if (children)
		XFree (children);
	XSync (display, False);
}

void EditorWindow::close ()
{
	if (view)
	{
		view->removed ();
		view->setFrame (nullptr);
		view = nullptr;
	}
	if (windowId)
	{
		XDestroyWindow (display, windowId);
		XSync (display, False);
		windowId = 0;
	}
}

tresult PLUGIN_API EditorWindow::resizeView (IPlugView* plugView, ViewRect* newSize)
{
	if (!plugView || plugView != view || !newSize || newSize->getWidth () <= 0 ||
	    newSize->getHeight () <= 0)
		return kInvalidArgument;
	++resizeCount;
	viewSize = *newSize;
	if (windowId)
	{
		XResizeWindow (display, windowId, viewSize.getWidth (), viewSize.getHeight ());
		XSync (display, False);
	}
	return view->onSize (&viewSize);
}

tresult PLUGIN_API EditorWindow::queryInterface (const TUID iid, void** obj)
{
	// the run loop is part of the frame for the plug-in
	if (FUnknownPrivate::iidEqual (iid, Linux::IRunLoop::iid) && runLoop)
	{
		runLoop->addRef ();
		*obj = static_cast<Linux::IRunLoop*> (runLoop.get ());
		return kResultTrue;
	}
	return U::Implements<U::Directly<IPlugFrame>>::queryInterface (iid, obj);
}

bool EditorWindow::capture (Capture& out, std::string& error) const
{
	if (!windowId)
	{
		error = "no window";
		return false;
	}
	XSync (display, False);
	XWindowAttributes attributes {};
	XGetWindowAttributes (display, windowId, &attributes);
	// the server gives only what lies on the screen
	int screenX = 0, screenY = 0;
	Window child = 0;
	XTranslateCoordinates (display, windowId, attributes.root, 0, 0, &screenX, &screenY, &child);
	const int width = std::min (attributes.width, WidthOfScreen (attributes.screen) - screenX);
	const int height = std::min (attributes.height, HeightOfScreen (attributes.screen) - screenY);
	if (width <= 0 || height <= 0)
	{
		error = "the window lies off the screen";
		return false;
	}
	XImage* image = XGetImage (display, windowId, 0, 0, width, height, AllPlanes, ZPixmap);
	if (!image)
	{
		error = "XGetImage failed";
		return false;
	}
	out.width = width;
	out.height = height;
	out.pixels.resize (static_cast<size_t> (out.width) * out.height);
	const unsigned long redMask = image->red_mask, greenMask = image->green_mask,
	                    blueMask = image->blue_mask;
	auto component = [] (unsigned long pixel, unsigned long mask) -> uint32_t {
		if (!mask)
			return 0;
		int shift = 0;
		while (!((mask >> shift) & 1))
			++shift;
		const unsigned long bits = mask >> shift;
		return static_cast<uint32_t> (((pixel & mask) >> shift) * 255 / bits);
	};
	for (int y = 0; y < out.height; ++y)
	{
		for (int x = 0; x < out.width; ++x)
		{
			const unsigned long p = XGetPixel (image, x, y);
			out.pixels[static_cast<size_t> (y) * out.width + x] =
			    0xff000000u | (component (p, redMask) << 16) | (component (p, greenMask) << 8) |
			    component (p, blueMask);
		}
	}
	XDestroyImage (image);
	return true;
}

bool Capture::writePng (const std::string& path, std::string& error) const
{
	cairo_surface_t* surface = cairo_image_surface_create (CAIRO_FORMAT_RGB24, width, height);
	cairo_surface_flush (surface);
	auto* data = cairo_image_surface_get_data (surface);
	const int stride = cairo_image_surface_get_stride (surface);
	for (int y = 0; y < height; ++y)
	{
		auto* row = reinterpret_cast<uint32_t*> (data + static_cast<size_t> (y) * stride);
		for (int x = 0; x < width; ++x)
			row[x] = at (x, y);
	}
	cairo_surface_mark_dirty (surface);
	const cairo_status_t status = cairo_surface_write_to_png (surface, path.c_str ());
	cairo_surface_destroy (surface);
	if (status != CAIRO_STATUS_SUCCESS)
	{
		error = std::string ("cannot write ") + path + ": " + cairo_status_to_string (status);
		return false;
	}
	return true;
}

} // namespace zyhost

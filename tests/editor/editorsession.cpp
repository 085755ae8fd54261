#include "tests/editor/editorsession.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <cstdlib>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace zytest {

tresult PLUGIN_API RecordingHandler::beginEdit (ParamID id)
{
	edits.push_back ({Kind::begin, id, 0.});
	return kResultOk;
}

tresult PLUGIN_API RecordingHandler::performEdit (ParamID id, ParamValue value)
{
	edits.push_back ({Kind::perform, id, value});
	return kResultOk;
}

tresult PLUGIN_API RecordingHandler::endEdit (ParamID id)
{
	edits.push_back ({Kind::end, id, 0.});
	return kResultOk;
}

Display* EditorSession::display ()
{
	static Display* connection = XOpenDisplay (nullptr);
	return connection;
}

std::string EditorSession::bundlePath ()
{
	return ZY_BUNDLE_PATH;
}

std::string EditorSession::resourcePath (const std::string& name)
{
	return bundlePath () + "/Contents/Resources/" + name;
}

bool EditorSession::load (std::string& error, const std::string& bundle, bool journalTimers)
{
	if (!display ())
	{
		error = "no X display: run the editor tests under xvfb-run (scripts/test.sh does)";
		return false;
	}
	loaded = zyhost::LoadedPlugin::load (bundle, error);
	if (!loaded)
		return false;
	if (!loaded->syncControllerToProcessor ())
	{
		error = "the controller did not take the processor's state";
		return false;
	}
	recorder = owned (new RecordingHandler ());
	loaded->controller ()->setComponentHandler (recorder);
	if (journalTimers)
	{
		auto journalLoop =
		    owned (new TimerJournalRunLoop ([this] { return recorder->edits.size (); }));
		journal = journalLoop.get ();
		loop = journalLoop.get ();
	}
	else
	{
		loop = owned (new zyhost::RunLoop ());
	}
	return true;
}

bool EditorSession::open (std::string& error, float contentScale)
{
	plugView = owned (loaded->controller ()->createView (ViewType::kEditor));
	if (!plugView)
	{
		error = "the controller made no editor";
		return false;
	}
	editorWindow = owned (new zyhost::EditorWindow (display (), loop));
	if (!editorWindow->open (plugView, error, kWindowX, kWindowY, contentScale))
		return false;
	// the first drawing after the window shows
	pump (std::chrono::milliseconds (250));
	return true;
}

bool EditorSession::openSecond (std::string& error)
{
	secondView = owned (loaded->controller ()->createView (ViewType::kEditor));
	if (!secondView)
	{
		error = "the controller made no second editor";
		return false;
	}
	secondWindow = owned (new zyhost::EditorWindow (display (), loop));
	if (!secondWindow->open (secondView, error, kWindowX, kWindowY + 420))
		return false;
	pump (std::chrono::milliseconds (100));
	return true;
}

void EditorSession::closeSecond ()
{
	if (secondWindow)
		secondWindow->close ();
	secondWindow = nullptr;
	secondView = nullptr;
	if (loop)
		pump (std::chrono::milliseconds (20));
}

void EditorSession::closeAll ()
{
	close ();
	closeSecond ();
}

void EditorSession::close ()
{
	if (editorWindow)
		editorWindow->close ();
	editorWindow = nullptr;
	plugView = nullptr;
	if (loop)
		pump (std::chrono::milliseconds (20));
}

void EditorSession::pump (std::chrono::milliseconds time)
{
	XSync (display (), False);
	loop->runFor (time);
	// nothing here asks for events of its own; drop what arrives anyway
	while (XPending (display ()))
	{
		XEvent event;
		XNextEvent (display (), &event);
	}
}

bool EditorSession::capture (zyhost::Capture& out, std::string& error)
{
	return editorWindow && editorWindow->capture (out, error);
}

void EditorSession::moveTo (int x, int y)
{
	XTestFakeMotionEvent (display (), DefaultScreen (display ()), kWindowX + x, kWindowY + y, 0);
	pump (std::chrono::milliseconds (15));
}

void EditorSession::press ()
{
	XTestFakeButtonEvent (display (), 1, True, 0);
	pump (std::chrono::milliseconds (30));
}

void EditorSession::release ()
{
	XTestFakeButtonEvent (display (), 1, False, 0);
	pump (std::chrono::milliseconds (30));
}

void EditorSession::click (int x, int y)
{
	moveTo (x, y);
	press ();
	release ();
	// keep the next click from counting as a double click
	pump (std::chrono::milliseconds (400));
}

void EditorSession::typeKey (const char* keysymName)
{
	const KeyCode code = XKeysymToKeycode (display (), XStringToKeysym (keysymName));
	XTestFakeKeyEvent (display (), code, True, 0);
	pump (std::chrono::milliseconds (15));
	XTestFakeKeyEvent (display (), code, False, 0);
	pump (std::chrono::milliseconds (15));
}

void EditorSession::drag (int x, int y, int dx, int dy)
{
	moveTo (x, y);
	press ();
	const int steps = std::max ({1, std::abs (dx) / 2, std::abs (dy) / 2});
	for (int i = 1; i <= steps; ++i)
		moveTo (x + dx * i / steps, y + dy * i / steps);
	release ();
	pump (std::chrono::milliseconds (400));
}

} // namespace zytest

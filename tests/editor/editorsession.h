// The bundle's editor, open in a real X11 window as a Linux host opens it,
// with a component handler that records the edits, and a real pointer
// (the XTest extension) to press, drag and release in it.
#pragma once

#include "tests/editor/timerjournal.h"
#include "tests/editor/uilayout.h"
#include "tools/hostkit/editorwindow.h"
#include "tools/hostkit/loadedplugin.h"
#include "tools/hostkit/runloop.h"

#include "pluginterfaces/base/funknownimpl.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace zytest {

class RecordingHandler
: public Steinberg::U::Implements<Steinberg::U::Directly<Steinberg::Vst::IComponentHandler>>
{
public:
	enum class Kind
	{
		begin,
		perform,
		end,
	};
	struct Edit
	{
		Kind kind;
		Steinberg::Vst::ParamID id;
		Steinberg::Vst::ParamValue value;
	};
	std::vector<Edit> edits;

	Steinberg::tresult PLUGIN_API beginEdit (Steinberg::Vst::ParamID id) override;
	Steinberg::tresult PLUGIN_API performEdit (Steinberg::Vst::ParamID id,
	                                           Steinberg::Vst::ParamValue value) override;
	Steinberg::tresult PLUGIN_API endEdit (Steinberg::Vst::ParamID id) override;
	Steinberg::tresult PLUGIN_API restartComponent (Steinberg::int32) override
	{
		return Steinberg::kResultOk;
	}
};

class EditorSession
{
public:
	// The window's place on the screen; pointer positions are given in the
	// editor's own coordinates (at content scale 1).
	static constexpr int kWindowX = 24;
	static constexpr int kWindowY = 16;

	// One X connection for the whole test process; null without a display.
	static Display* display ();
	static std::string bundlePath ();
	static std::string resourcePath (const std::string& name);

	// Loads a bundle (the built one unless another is given); with a timer
	// journal the host's run loop notes the plug-in's timers and their ticks.
	bool load (std::string& error, const std::string& bundle = bundlePath (),
	           bool journalTimers = false);
	bool open (std::string& error, float contentScale = 1.f);
	void close ();
	// A second editor of the same controller, in a window below the first,
	// as a host shows when two windows of the plug-in are open.
	bool openSecond (std::string& error);
	void closeSecond ();
	void closeAll ();

	void pump (std::chrono::milliseconds time);
	bool capture (zyhost::Capture& out, std::string& error);

	void moveTo (int x, int y);
	void press ();
	void release ();
	void click (int x, int y);
	// presses and releases the key of an X keysym name ("Return", "1", ...)
	void typeKey (const char* keysymName);
	// press at from, move in small steps to (from.x + dx, from.y + dy), release
	void drag (int x, int y, int dx, int dy);

	zyhost::LoadedPlugin& plugin () { return *loaded; }
	RecordingHandler& handler () { return *recorder; }
	zyhost::RunLoop& runLoop () { return *loop; }
	// null unless loaded with a timer journal
	const TimerJournalRunLoop* timerJournal () const { return journal; }
	zyhost::EditorWindow* window () { return editorWindow; }
	Steinberg::IPlugView* view () { return plugView; }

private:
	std::unique_ptr<zyhost::LoadedPlugin> loaded;
	Steinberg::IPtr<RecordingHandler> recorder;
	Steinberg::IPtr<zyhost::RunLoop> loop;
	TimerJournalRunLoop* journal {nullptr};
	Steinberg::IPtr<Steinberg::IPlugView> plugView;
	Steinberg::IPtr<zyhost::EditorWindow> editorWindow;
	Steinberg::IPtr<Steinberg::IPlugView> secondView;
	Steinberg::IPtr<zyhost::EditorWindow> secondWindow;
};

} // namespace zytest

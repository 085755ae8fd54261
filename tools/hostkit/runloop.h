// The host side of a Linux editor's event loop: the plug-in registers file
// descriptors and timers here (Steinberg::Linux::IRunLoop, reached through
// the editor's IPlugFrame), and the host runs them on its main thread.
#pragma once

#include "pluginterfaces/base/funknownimpl.h"
#include "pluginterfaces/gui/iplugview.h"

#include <chrono>
#include <functional>
#include <vector>

namespace zyhost {

class RunLoop : public Steinberg::U::Implements<Steinberg::U::Directly<Steinberg::Linux::IRunLoop>>
{
public:
	using Clock = std::chrono::steady_clock;

	Steinberg::tresult PLUGIN_API registerEventHandler (
	    Steinberg::Linux::IEventHandler* handler, Steinberg::Linux::FileDescriptor fd) override;
	Steinberg::tresult PLUGIN_API
	unregisterEventHandler (Steinberg::Linux::IEventHandler* handler) override;
	Steinberg::tresult PLUGIN_API
	registerTimer (Steinberg::Linux::ITimerHandler* handler,
	               Steinberg::Linux::TimerInterval milliseconds) override;
	Steinberg::tresult PLUGIN_API
	unregisterTimer (Steinberg::Linux::ITimerHandler* handler) override;

	// Dispatches ready descriptors and due timers until the time has passed.
	void runFor (std::chrono::milliseconds duration);
	// Dispatches until done () holds or the time is up; answers done ().
	bool runUntil (const std::function<bool ()>& done, std::chrono::milliseconds timeout);

	// A descriptor of the host's own (its X connection), served like the
	// plug-in's ones but without reference counting.
	void setHostDescriptor (int fd, std::function<void ()> onReady);

	size_t eventHandlerCount () const { return eventHandlers.size (); }
	size_t timerCount () const { return timers.size (); }

private:
	struct EventHandler
	{
		Steinberg::IPtr<Steinberg::Linux::IEventHandler> handler;
		int fd;
	};
	struct Timer
	{
		Steinberg::IPtr<Steinberg::Linux::ITimerHandler> handler;
		std::chrono::milliseconds interval;
		Clock::time_point due;
	};

	void dispatchOnce (Clock::time_point deadline);
	bool isRegistered (Steinberg::Linux::IEventHandler* handler) const;
	Timer* findTimer (Steinberg::Linux::ITimerHandler* handler);

	std::vector<EventHandler> eventHandlers;
	std::vector<Timer> timers;
	int hostFd {-1};
	std::function<void ()> onHostFdReady;
};

} // namespace zyhost

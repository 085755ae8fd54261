#include "tools/hostkit/runloop.h"

#include <poll.h>

#include <algorithm>

using namespace Steinberg;

namespace zyhost {

tresult PLUGIN_API RunLoop::registerEventHandler (Linux::IEventHandler* handler,
                                                  Linux::FileDescriptor fd)
{
	if (!handler || fd < 0 || isRegistered (handler))
		return kInvalidArgument;
	eventHandlers.push_back ({handler, fd});
	return kResultTrue;
}

tresult PLUGIN_API RunLoop::unregisterEventHandler (Linux::IEventHandler* handler)
{
	auto it = std::find_if (eventHandlers.begin (), eventHandlers.end (),
	                        [&] (const EventHandler& e) { return e.handler == handler; });
	if (it == eventHandlers.end ())
		return kInvalidArgument;
	eventHandlers.erase (it);
	return kResultTrue;
}

tresult PLUGIN_API RunLoop::registerTimer (Linux::ITimerHandler* handler,
                                           Linux::TimerInterval milliseconds)
{
	if (!handler || milliseconds == 0 || findTimer (handler))
		return kInvalidArgument;
	const std::chrono::milliseconds interval (milliseconds);
	timers.push_back ({handler, interval, Clock::now () + interval});
	return kResultTrue;
}

tresult PLUGIN_API RunLoop::unregisterTimer (Linux::ITimerHandler* handler)
{
	auto it = std::find_if (timers.begin (), timers.end (),
	                        [&] (const Timer& t) { return t.handler == handler; });
	if (it == timers.end ())
		return kInvalidArgument;
	timers.erase (it);
	return kResultTrue;
}

void RunLoop::setHostDescriptor (int fd, std::function<void ()> onReady)
{
	hostFd = fd;
	onHostFdReady = std::move (onReady);
}

bool RunLoop::isRegistered (Linux::IEventHandler* handler) const
{
	return std::any_of (eventHandlers.begin (), eventHandlers.end (),
	                    [&] (const EventHandler& e) { return e.handler == handler; });
}

RunLoop::Timer* RunLoop::findTimer (Linux::ITimerHandler* handler)
{
	for (auto& timer : timers)
		if (timer.handler == handler)
			return &timer;
	return nullptr;
}

void RunLoop::dispatchOnce (Clock::time_point deadline)
{
	auto wakeUp = deadline;
	for (const auto& timer : timers)
		wakeUp = std::min (wakeUp, timer.due);

	std::vector<pollfd> fds;
	for (const auto& e : eventHandlers)
		fds.push_back ({e.fd, POLLIN, 0});
	if (hostFd >= 0)
		fds.push_back ({hostFd, POLLIN, 0});
	const auto wait =
	    std::chrono::duration_cast<std::chrono::milliseconds> (wakeUp - Clock::now ());
	const int timeout =
	    static_cast<int> (std::max<std::chrono::milliseconds::rep> (0, wait.count ()));
	const int ready = ::poll (fds.data (), fds.size (), timeout);

	if (ready > 0)
	{
		// handlers may unregister themselves or others while we call them:
		// keep each alive for its call and skip those that left meanwhile
		const auto snapshot = eventHandlers;
		for (size_t i = 0; i < snapshot.size (); ++i)
			if ((fds[i].revents & (POLLIN | POLLHUP | POLLERR)) &&
			    isRegistered (snapshot[i].handler))
				snapshot[i].handler->onFDIsSet (snapshot[i].fd);
		if (hostFd >= 0 && (fds.back ().revents & POLLIN) && onHostFdReady)
			onHostFdReady ();
	}

	const auto now = Clock::now ();
	std::vector<IPtr<Linux::ITimerHandler>> due;
	for (auto& timer : timers)
	{
		if (timer.due <= now)
		{
			due.push_back (timer.handler);
			timer.due = now + timer.interval;
		}
	}
	for (auto& handler : due)
		if (findTimer (handler))
			handler->onTimer ();
}

void RunLoop::runFor (std::chrono::milliseconds duration)
{
	const auto deadline = Clock::now () + duration;
	while (Clock::now () < deadline)
		dispatchOnce (deadline);
}

bool RunLoop::runUntil (const std::function<bool ()>& done, std::chrono::milliseconds timeout)
{
	const auto deadline = Clock::now () + timeout;
	while (!done ())
	{
		if (Clock::now () >= deadline)
			return done ();
		// short slices, so that a condition set by a timer is seen soon
		dispatchOnce (std::min (deadline, Clock::now () + std::chrono::milliseconds (5)));
	}
	return true;
}

} // namespace zyhost

#include "tests/editor/timerjournal.h"

#include <algorithm>

using namespace Steinberg;

namespace zytest {

// Stands in for the plug-in's handler in the run loop and notes each tick.
class TimerJournalRunLoop::Tap : public U::Implements<U::Directly<Linux::ITimerHandler>>
{
public:
	Tap (TimerJournalRunLoop& loop, Linux::ITimerHandler* handler, int timer,
	     Linux::TimerInterval interval)
	: loop (loop), handler (handler), timer (timer), interval (interval)
	{
	}

	void PLUGIN_API onTimer () override
	{
		// the tick may register or unregister timers: keep an index, not a reference
		const size_t entry = loop.entries.size ();
		const size_t before = loop.editCount ();
		loop.entries.push_back ({Kind::tick, timer, interval, before, before});
		handler->onTimer ();
		loop.entries[entry].editsAfter = loop.editCount ();
	}

private:
	TimerJournalRunLoop& loop;
	IPtr<Linux::ITimerHandler> handler;
	int timer;
	Linux::TimerInterval interval;
};

TimerJournalRunLoop::TimerJournalRunLoop (std::function<size_t ()> editCount)
: editCount (std::move (editCount))
{
}

tresult PLUGIN_API TimerJournalRunLoop::registerTimer (Linux::ITimerHandler* handler,
                                                       Linux::TimerInterval milliseconds)
{
	if (!handler)
		return kInvalidArgument;
	const bool known = std::any_of (registrations.begin (), registrations.end (),
	                                [&] (const Registration& r) { return r.handler == handler; });
	if (known)
		return kInvalidArgument;
	const int timer = nextTimer++;
	auto tap = owned (new Tap (*this, handler, timer, milliseconds));
	const tresult result = RunLoop::registerTimer (tap, milliseconds);
	if (result != kResultTrue)
		return result;
	registrations.push_back ({handler, tap, timer, milliseconds});
	const size_t edits = editCount ();
	entries.push_back ({Kind::registered, timer, milliseconds, edits, edits});
	return result;
}

tresult PLUGIN_API TimerJournalRunLoop::unregisterTimer (Linux::ITimerHandler* handler)
{
	auto it = std::find_if (registrations.begin (), registrations.end (),
	                        [&] (const Registration& r) { return r.handler == handler; });
	if (it == registrations.end ())
		return kInvalidArgument;
	const Registration gone = *it;
	registrations.erase (it);
	const tresult result = RunLoop::unregisterTimer (gone.tap);
	const size_t edits = editCount ();
	entries.push_back ({Kind::unregistered, gone.timer, gone.interval, edits, edits});
	return result;
}

} // namespace zytest

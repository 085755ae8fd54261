// The host's run loop with a journal of the plug-in's timers: when each one
// was registered and with which interval, each of its ticks, and when it was
// unregistered, every entry marked with the number of host edits (from the
// component handler) at that moment, so that a test can tell which timer's
// tick made which edit.
#pragma once

#include "tools/hostkit/runloop.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace zytest {

class TimerJournalRunLoop : public zyhost::RunLoop
{
public:
	enum class Kind
	{
		registered,
		tick,
		unregistered,
	};
	struct Entry
	{
		Kind kind;
		int timer; // numbered in order of registration
		Steinberg::Linux::TimerInterval interval;
		size_t editsBefore;
		size_t editsAfter; // after the tick's call; editsBefore otherwise
	};

	explicit TimerJournalRunLoop (std::function<size_t ()> editCount);

	const std::vector<Entry>& journal () const { return entries; }

	Steinberg::tresult PLUGIN_API
	registerTimer (Steinberg::Linux::ITimerHandler* handler,
	               Steinberg::Linux::TimerInterval milliseconds) override;
	Steinberg::tresult PLUGIN_API
	unregisterTimer (Steinberg::Linux::ITimerHandler* handler) override;

private:
	class Tap;
	struct Registration
	{
		Steinberg::Linux::ITimerHandler* handler;
		Steinberg::IPtr<Tap> tap;
		int timer;
		Steinberg::Linux::TimerInterval interval;
	};

	std::function<size_t ()> editCount;
	std::vector<Entry> entries;
	std::vector<Registration> registrations;
	int nextTimer {0};
};

} // namespace zytest

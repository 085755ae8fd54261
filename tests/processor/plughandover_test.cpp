// The triple buffer on one thread, call by call: what the reader gets after
// each sequence of publishes and reads, and that the writer's slot is never
// the one the reader holds.
#include "processor/plughandover.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zytest {
namespace {

using Steinberg::Vst::PlugHandOver;

// "p3" publishes 3; "l3" reads and must get 3.
struct HandOverCase
{
	const char* name;
	std::vector<std::string> steps;
};

TEST (HandOver, TheReaderGetsTheLatestPublishedRecordAndKeepsItUntilANewerOne)
{
	const HandOverCase cases[] = {
	    {"nothing published: the first record", {"l0", "l0"}},
	    {"a read twice without a publish", {"p1", "l1", "l1", "l1"}},
	    {"the newer of two publishes", {"p1", "p2", "l2", "l2"}},
	    {"three publishes between two reads", {"p1", "l1", "p2", "p3", "p4", "l4", "l4"}},
	    {"publish and read in turn", {"p1", "l1", "p2", "l2", "p3", "l3", "p4", "l4"}},
	    {"reads between, and none, by turns",
	     {"p1", "p2", "l2", "p3", "l3", "l3", "p4", "p5", "p6", "l6", "p7", "l7"}},
	};
	for (const HandOverCase& c : cases)
	{
		SCOPED_TRACE (c.name);
		PlugHandOver<int> handOver (0);
		const int* held = nullptr;
		for (const std::string& step : c.steps)
		{
			SCOPED_TRACE (step);
			const int value = std::stoi (step.substr (1));
			if (step[0] == 'p')
			{
				handOver.writeSlot () = value;
				handOver.publish ();
			}
			else
			{
				held = &handOver.latest ();
				EXPECT_EQ (*held, value);
			}
			// What the writer fills next never touches what the reader holds.
			EXPECT_NE (&handOver.writeSlot (), held);
		}
	}
}

} // namespace
} // namespace zytest

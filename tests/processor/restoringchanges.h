// A block's parameter changes that restore a state record while the block
// runs: the first time process asks for the queues, setState is called, just
// as a main thread could call it at that moment. So a restore that arrives
// in the middle of a block is a test that runs the same way every time.
#pragma once

#include "tools/hostkit/processorhost.h"

#include <vector>

namespace zytest {

using namespace zyhost;

class RestoringChanges : public IParameterChanges
{
public:
	RestoringChanges (IComponent& component, IParameterChanges& changes,
	                  const std::vector<uint8>& record)
	: component (component), changes (changes), stream (streamOf (record))
	{
	}

	// Called inside the block, around the restore (to pause a check, say).
	void (*aroundRestore) (bool before) = nullptr;
	tresult restoreResult = kResultFalse;
	int restores = 0;

	int32 PLUGIN_API getParameterCount () override
	{
		if (restores == 0)
		{
			if (aroundRestore)
				aroundRestore (true);
			restoreResult = component.setState (stream);
			if (aroundRestore)
				aroundRestore (false);
			++restores;
		}
		return changes.getParameterCount ();
	}
	IParamValueQueue* PLUGIN_API getParameterData (int32 index) override
	{
		return changes.getParameterData (index);
	}
	IParamValueQueue* PLUGIN_API addParameterData (const ParamID& id, int32& index) override
	{
		return changes.addParameterData (id, index);
	}

	// Lives on the test's stack.
	tresult PLUGIN_API queryInterface (const TUID, void** obj) override
	{
		*obj = nullptr;
		return kNoInterface;
	}
	uint32 PLUGIN_API addRef () override { return 1; }
	uint32 PLUGIN_API release () override { return 1; }

private:
	IComponent& component;
	IParameterChanges& changes;
	IPtr<MemoryStream> stream;
};

} // namespace zytest

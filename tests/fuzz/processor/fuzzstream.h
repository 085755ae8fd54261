// A stream over fixed bytes that a fuzz input can make misbehave: reads give
// out at a chosen position (answering kResultFalse after a partial read) or
// hand out at most a few bytes per call; writes stop at a chosen length.
#pragma once

#include "pluginterfaces/base/funknownimpl.h"
#include "pluginterfaces/base/ibstream.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace zyfuzz {

using namespace Steinberg;

struct StreamFaults
{
	int64 failReadsAt = -1; // position at which reads give out; -1 never
	int32 readChunk = 0;    // most bytes one read hands out; 0 no limit
	int64 writeLimit = -1;  // bytes a write may reach; -1 no limit
};

class FuzzStream : public U::Implements<U::Directly<IBStream>>
{
public:
	FuzzStream (const uint8* bytes, size_t size, const StreamFaults& faults)
	: content (bytes, bytes + size), faults (faults)
	{
	}

	const std::vector<uint8>& bytes () const { return content; }

	tresult PLUGIN_API read (void* buffer, int32 numBytes, int32* numBytesRead) SMTG_OVERRIDE
	{
		if (numBytesRead)
			*numBytesRead = 0;
		if (!buffer || numBytes < 0)
			return kInvalidArgument;
		const int64 size = static_cast<int64> (content.size ());
		int64 count = std::max<int64> (0, std::min<int64> (numBytes, size - cursor));
		if (faults.readChunk > 0)
			count = std::min<int64> (count, faults.readChunk);
		tresult result = kResultOk;
		if (faults.failReadsAt >= 0 && cursor + count > faults.failReadsAt)
		{
			count = std::max<int64> (0, faults.failReadsAt - cursor);
			result = kResultFalse;
		}
		if (count > 0)
			std::memcpy (buffer, content.data () + cursor, static_cast<size_t> (count));
		cursor += count;
		if (numBytesRead)
			*numBytesRead = static_cast<int32> (count);
		return result;
	}

	tresult PLUGIN_API write (void* buffer, int32 numBytes, int32* numBytesWritten) SMTG_OVERRIDE
	{
		if (numBytesWritten)
			*numBytesWritten = 0;
		if (!buffer || numBytes < 0)
			return kInvalidArgument;
		int64 count = numBytes;
		tresult result = kResultOk;
		if (faults.writeLimit >= 0 && cursor + count > faults.writeLimit)
		{
			count = std::max<int64> (0, faults.writeLimit - cursor);
			result = kResultFalse;
		}
		if (cursor + count > static_cast<int64> (content.size ()))
			content.resize (static_cast<size_t> (cursor + count));
		if (count > 0)
			std::memcpy (content.data () + cursor, buffer, static_cast<size_t> (count));
		cursor += count;
		if (numBytesWritten)
			*numBytesWritten = static_cast<int32> (count);
		return result;
	}

	tresult PLUGIN_API seek (int64 pos, int32 mode, int64* result) SMTG_OVERRIDE
	{
		int64 target = pos;
		if (mode == kIBSeekCur)
			target = cursor + pos;
		else if (mode == kIBSeekEnd)
			target = static_cast<int64> (content.size ()) + pos;
		else if (mode != kIBSeekSet)
			return kInvalidArgument;
		if (target < 0)
			return kResultFalse;
		cursor = target;
		if (result)
			*result = cursor;
		return kResultOk;
	}

	tresult PLUGIN_API tell (int64* pos) SMTG_OVERRIDE
	{
		if (!pos)
			return kInvalidArgument;
		*pos = cursor;
		return kResultOk;
	}

private:
	std::vector<uint8> content;
	StreamFaults faults;
	int64 cursor = 0;
};

} // namespace zyfuzz

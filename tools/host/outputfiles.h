// Writing zy_host's files without losing any: every output goes to a
// temporary file beside its final place and is renamed over it only once all
// of the render has been written, so a failed or interrupted render leaves
// no partial file and keeps what was there before. Files are compared as
// files (device and inode), not as the strings that name them.
#pragma once

#include <string>
#include <vector>

namespace zyhost {

// Whether two paths name one file: the same device and inode where both
// exist, otherwise the same name in the same folder.
bool sameFile (const std::string& a, const std::string& b);

// False with a message when the folder that would hold path is missing, is
// no folder, or cannot be written.
bool checkOutputFolder (const std::string& path, std::string& error);

// Outputs being written. Each gets a temporary file in its folder; commit
// renames them all into place, and whatever is not committed is removed,
// also when SIGINT, SIGTERM or SIGHUP ends the process. An output that is a
// symbolic link is replaced by the file; the link's target stays as it is.
class PendingOutputs
{
public:
	PendingOutputs ();
	~PendingOutputs ();
	PendingOutputs (const PendingOutputs&) = delete;
	PendingOutputs& operator= (const PendingOutputs&) = delete;

	// The temporary path to write in place of finalPath; empty, with a
	// message, when none can be made.
	std::string add (const std::string& finalPath, std::string& error);
	// Every output in its place, or, when one cannot be put there, none:
	// what the places held before is put back.
	bool commit (std::string& error);

private:
	// A second name for what a place holds now; empty when it holds nothing
	// or no name can be made.
	std::string keepOld (const std::string& finalPath);
	void removeAll ();

	struct Entry
	{
		std::string temporary;
		std::string final;
	};
	std::vector<Entry> entries;
};

} // namespace zyhost

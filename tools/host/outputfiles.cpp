#include "tools/host/outputfiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace zyhost {

namespace {

std::string folderOf (const std::string& path)
{
	const auto slash = path.find_last_of ('/');
	if (slash == std::string::npos)
		return ".";
	return slash == 0 ? "/" : path.substr (0, slash);
}

std::string nameOf (const std::string& path)
{
	const auto slash = path.find_last_of ('/');
	return slash == std::string::npos ? path : path.substr (slash + 1);
}

bool statOf (const std::string& path, struct stat& info)
{
	return ::stat (path.c_str (), &info) == 0;
}

bool sameNode (const struct stat& a, const struct stat& b)
{
	return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The temporary files for the signal handler, which may only read fixed
// memory and call async-signal-safe functions such as unlink.
constexpr int kMostPending = 4;
constexpr size_t kLongestPath = 4096;
char pendingPaths[kMostPending][kLongestPath];
volatile std::sig_atomic_t pendingInUse[kMostPending];

extern "C" void removePendingAndExit (int signal)
{
	for (int i = 0; i < kMostPending; ++i)
		if (pendingInUse[i])
			::unlink (pendingPaths[i]);
	std::signal (signal, SIG_DFL);
	std::raise (signal);
}

int registerPending (const std::string& path)
{
	if (path.size () >= kLongestPath)
		return -1;
	for (int i = 0; i < kMostPending; ++i)
	{
		if (!pendingInUse[i])
		{
			std::memcpy (pendingPaths[i], path.c_str (), path.size () + 1);
			pendingInUse[i] = 1;
			return i;
		}
	}
	return -1;
}

bool isPending (const std::string& path)
{
	for (int i = 0; i < kMostPending; ++i)
		if (pendingInUse[i] && path == pendingPaths[i])
			return true;
	return false;
}

void unregisterPending (const std::string& path)
{
	for (int i = 0; i < kMostPending; ++i)
		if (pendingInUse[i] && path == pendingPaths[i])
			pendingInUse[i] = 0;
}

} // namespace

bool sameFile (const std::string& a, const std::string& b)
{
	struct stat infoA = {};
	struct stat infoB = {};
	const bool hasA = statOf (a, infoA);
	const bool hasB = statOf (b, infoB);
	if (hasA || hasB)
		return hasA && hasB && sameNode (infoA, infoB);
	struct stat folderA = {};
	struct stat folderB = {};
	return nameOf (a) == nameOf (b) && statOf (folderOf (a), folderA) &&
	       statOf (folderOf (b), folderB) && sameNode (folderA, folderB);
}

bool checkOutputFolder (const std::string& path, std::string& error)
{
	const std::string folder = folderOf (path);
	struct stat info = {};
	if (!statOf (folder, info))
		error = "the folder '" + folder + "' for '" + path + "' does not exist";
	else if (!S_ISDIR (info.st_mode))
		error = "'" + folder + "' is not a folder, so '" + path + "' cannot be written";
	else if (::access (folder.c_str (), W_OK | X_OK) != 0)
		error = "cannot write into the folder '" + folder + "': " + std::strerror (errno);
	else if (nameOf (path).empty ())
		error = "'" + path + "' names a folder, not a file";
	else if (statOf (path, info) && S_ISDIR (info.st_mode))
		error = "'" + path + "' is a folder, not a file";
	else
		return true;
	return false;
}

PendingOutputs::PendingOutputs ()
{
	for (int signal : {SIGINT, SIGTERM, SIGHUP})
		std::signal (signal, removePendingAndExit);
}

PendingOutputs::~PendingOutputs ()
{
	removeAll ();
	for (int signal : {SIGINT, SIGTERM, SIGHUP})
		std::signal (signal, SIG_DFL);
}

std::string PendingOutputs::add (const std::string& finalPath, std::string& error)
{
	// The name is registered before mkstemp makes the file, in the very
	// buffer mkstemp fills in, so that no signal can come between the two.
	const int slot =
	    registerPending (folderOf (finalPath) + "/." + nameOf (finalPath) + ".zy_host-XXXXXX");
	if (slot < 0)
	{
		error = "cannot write '" + finalPath + "': the path is too long";
		return {};
	}
	const int fd = ::mkstemp (pendingPaths[slot]);
	if (fd < 0)
	{
		pendingInUse[slot] = 0;
		error = "cannot write '" + finalPath + "': " + std::strerror (errno);
		return {};
	}
	// mkstemp makes the file private: a file it replaces keeps its own
	// permissions, a new one gets the usual.
	struct stat old = {};
	if (statOf (finalPath, old))
		::fchmod (fd, old.st_mode & 07777);
	else
	{
		const mode_t mask = ::umask (0);
		::umask (mask);
		::fchmod (fd, 0666 & ~mask);
	}
	::close (fd);
	entries.push_back ({pendingPaths[slot], finalPath});
	return entries.back ().temporary;
}

bool PendingOutputs::commit (std::string& error)
{
	// What each place held before stays under a second name until every
	// output is in place, so that a rename failing halfway puts all back.
	std::vector<std::string> kept;
	for (const Entry& entry : entries)
		kept.push_back (keepOld (entry.final));
	size_t placed = 0;
	while (placed < entries.size () &&
	       std::rename (entries[placed].temporary.c_str (), entries[placed].final.c_str ()) == 0)
		unregisterPending (entries[placed++].temporary);
	const bool complete = placed == entries.size ();
	if (!complete)
	{
		error = "cannot put '" + entries[placed].final + "' in place: " + std::strerror (errno);
		for (size_t i = 0; i < placed; ++i)
		{
			if (kept[i].empty ())
				::unlink (entries[i].final.c_str ());
			else
				std::rename (kept[i].c_str (), entries[i].final.c_str ());
		}
	}
	for (const std::string& old : kept)
	{
		if (!old.empty ())
		{
			::unlink (old.c_str ());
			unregisterPending (old);
		}
	}
	removeAll ();
	return complete;
}

std::string PendingOutputs::keepOld (const std::string& finalPath)
{
	struct stat info = {};
	if (::lstat (finalPath.c_str (), &info) != 0)
		return {};
	const int slot =
	    registerPending (folderOf (finalPath) + "/." + nameOf (finalPath) + ".zy_host-old-XXXXXX");
	if (slot < 0)
		return {};
	// mkstemp picks a free name; the old file is then linked there.
	const int fd = ::mkstemp (pendingPaths[slot]);
	if (fd >= 0)
	{
		::close (fd);
		::unlink (pendingPaths[slot]);
		if (::link (finalPath.c_str (), pendingPaths[slot]) == 0)
			return pendingPaths[slot];
	}
	pendingInUse[slot] = 0;
	return {};
}

void PendingOutputs::removeAll ()
{
	for (const Entry& entry : entries)
	{
		if (isPending (entry.temporary))
			::unlink (entry.temporary.c_str ());
		unregisterPending (entry.temporary);
	}
	entries.clear ();
}

} // namespace zyhost

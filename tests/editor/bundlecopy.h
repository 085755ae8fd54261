// A copy of the built bundle in a folder of its own, for a test that needs
// the editor built from a changed UI description; the folder goes with the
// object.
#pragma once

#include <string>

namespace zytest {

class BundleCopy
{
public:
	BundleCopy () = default;
	BundleCopy (const BundleCopy&) = delete;
	BundleCopy& operator= (const BundleCopy&) = delete;
	~BundleCopy ();

	bool make (const std::string& bundle, std::string& error);
	// Replaces the one place where `from` stands in the copy's UI description.
	bool editUiDescription (const std::string& from, const std::string& to, std::string& error);

	const std::string& path () const { return bundlePath; }

private:
	std::string folder;
	std::string bundlePath;
};

} // namespace zytest

#include "tests/editor/bundlecopy.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdlib.h>

namespace fs = std::filesystem;

namespace zytest {

BundleCopy::~BundleCopy ()
{
	if (folder.empty ())
		return;
	std::error_code ignored;
	fs::remove_all (folder, ignored);
}

bool BundleCopy::make (const std::string& bundle, std::string& error)
{
	std::string pattern = (fs::temp_directory_path () / "zy-bundle-XXXXXX").string ();
	if (!mkdtemp (pattern.data ()))
	{
		error = "cannot make a folder for the bundle's copy";
		return false;
	}
	folder = pattern;
	// the module finds its code by the bundle's name: keep it
	bundlePath = (fs::path (folder) / fs::path (bundle).filename ()).string ();
	std::error_code failed;
	fs::copy (bundle, bundlePath, fs::copy_options::recursive, failed);
	if (failed)
	{
		error = "cannot copy " + bundle + ": " + failed.message ();
		return false;
	}
	return true;
}

bool BundleCopy::editUiDescription (const std::string& from, const std::string& to,
                                    std::string& error)
{
	const std::string file = bundlePath + "/Contents/Resources/plug.uidesc";
	std::string text;
	{
		std::ifstream in (file, std::ios::binary);
		text.assign (std::istreambuf_iterator<char> (in), std::istreambuf_iterator<char> ());
	}
	const size_t at = text.find (from);
	if (at == std::string::npos || text.find (from, at + 1) != std::string::npos)
	{
		error = "\"" + from + "\" does not stand exactly once in " + file;
		return false;
	}
	text.replace (at, from.size (), to);
	std::ofstream out (file, std::ios::binary | std::ios::trunc);
	out << text;
	if (!out)
	{
		error = "cannot write " + file;
		return false;
	}
	return true;
}

} // namespace zytest

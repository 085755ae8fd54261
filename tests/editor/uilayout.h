// Where the views of the bundle's UI description sit on the editor: the
// template "view" read with expat, each view's rectangle made absolute by
// adding the origins of the containers around it.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zytest {

struct UiView
{
	std::string viewClass;
	std::map<std::string, std::string> attributes;
	int left {0}, top {0}, width {0}, height {0};
	std::vector<std::unique_ptr<UiView>> children;

	std::string attribute (const std::string& name) const
	{
		auto it = attributes.find (name);
		return it == attributes.end () ? std::string () : it->second;
	}
	int centreX () const { return left + width / 2; }
	int centreY () const { return top + height / 2; }
};

class UiLayout
{
public:
	bool load (const std::string& path, std::string& error);

	const UiView& root () const { return *templateView; }
	// every view of the template, in document order
	std::vector<const UiView*> views () const;
	// the view of the class bound to the control tag's name, or null
	const UiView* findControl (const std::string& viewClass, int tag) const;
	const std::map<std::string, int>& controlTags () const { return tags; }
	const std::map<std::string, std::string>& bitmaps () const { return bitmapPaths; }

private:
	std::unique_ptr<UiView> templateView;
	std::map<std::string, int> tags;
	std::map<std::string, std::string> bitmapPaths;
};

} // namespace zytest

#include "tests/editor/uilayout.h"

#include <expat.h>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace zytest {

namespace {

bool parsePair (const std::string& text, int& a, int& b)
{
	return std::sscanf (text.c_str (), "%d, %d", &a, &b) == 2;
}

struct ParseState
{
	std::unique_ptr<UiView>* templateView;
	std::map<std::string, int>* tags;
	std::map<std::string, std::string>* bitmaps;
	std::vector<UiView*> stack; // open views of the template
	bool inTemplate {false};
	int skipDepth {0}; // elements inside other templates
};

void onStart (void* data, const XML_Char* name, const XML_Char** attrs)
{
	auto& state = *static_cast<ParseState*> (data);
	std::map<std::string, std::string> attributes;
	for (int i = 0; attrs[i]; i += 2)
		attributes[attrs[i]] = attrs[i + 1];
	const std::string element = name;

	if (element == "control-tag")
		(*state.tags)[attributes["name"]] = std::stoi (attributes["tag"]);
	else if (element == "bitmap")
		(*state.bitmaps)[attributes["name"]] = attributes["path"];

	if (state.skipDepth > 0)
	{
		++state.skipDepth;
		return;
	}
	const bool opensTemplate = element == "template";
	if (opensTemplate && attributes["name"] != "view")
	{
		state.skipDepth = 1;
		return;
	}
	if (!opensTemplate && (element != "view" || state.stack.empty ()))
		return;

	auto view = std::make_unique<UiView> ();
	view->viewClass = attributes["class"];
	parsePair (attributes["origin"], view->left, view->top);
	parsePair (attributes["size"], view->width, view->height);
	view->attributes = std::move (attributes);
	UiView* raw = view.get ();
	if (opensTemplate)
	{
		*state.templateView = std::move (view);
	}
	else
	{
		UiView* parent = state.stack.back ();
		raw->left += parent->left;
		raw->top += parent->top;
		parent->children.push_back (std::move (view));
	}
	state.stack.push_back (raw);
}

void onEnd (void* data, const XML_Char* name)
{
	auto& state = *static_cast<ParseState*> (data);
	if (state.skipDepth > 0)
	{
		--state.skipDepth;
		return;
	}
	const std::string element = name;
	if ((element == "view" || element == "template") && !state.stack.empty ())
		state.stack.pop_back ();
}

void collect (const UiView& view, std::vector<const UiView*>& out)
{
	out.push_back (&view);
	for (const auto& child : view.children)
		collect (*child, out);
}

} // namespace

bool UiLayout::load (const std::string& path, std::string& error)
{
	std::ifstream in (path, std::ios::binary);
	if (!in)
	{
		error = "cannot open " + path;
		return false;
	}
	const std::string text {std::istreambuf_iterator<char> (in), std::istreambuf_iterator<char> ()};
	ParseState state {&templateView, &tags, &bitmapPaths};
	XML_Parser parser = XML_ParserCreate (nullptr);
	XML_SetUserData (parser, &state);
	XML_SetElementHandler (parser, onStart, onEnd);
	const bool parsed = XML_Parse (parser, text.data (), static_cast<int> (text.size ()),
	                               XML_TRUE) == XML_STATUS_OK;
	if (!parsed)
		error = path + ": " + XML_ErrorString (XML_GetErrorCode (parser)) + " at line " +
		        std::to_string (XML_GetCurrentLineNumber (parser));
	XML_ParserFree (parser);
	if (parsed && !templateView)
		error = path + ": no template named \"view\"";
	return parsed && templateView;
}

std::vector<const UiView*> UiLayout::views () const
{
	std::vector<const UiView*> out;
	if (templateView)
		collect (*templateView, out);
	return out;
}

const UiView* UiLayout::findControl (const std::string& viewClass, int tag) const
{
	for (const UiView* view : views ())
	{
		auto it = tags.find (view->attribute ("control-tag"));
		if (view->viewClass == viewClass && it != tags.end () && it->second == tag)
			return view;
	}
	return nullptr;
}

} // namespace zytest

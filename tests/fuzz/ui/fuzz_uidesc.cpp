// A UI description from the input, parsed by the toolkit; when it parses,
// the views of every template it declares are built and released. An input
// that starts with a control byte (never the start of an XML text) is read
// instead as a template of sliders whose attributes the rest of the input
// picks, so that the decoder reaches the slider creators quickly.
// Never a crash, no leak.
//
// The toolkit's description reader fails on a document whose root is not one
// of its two root elements (it ends an element it never began: an empty
// stack's back ()); such inputs are passed over, so that the target keeps
// reaching the views.
// Bitmaps come from the project's files, each decoded once per process: the
// description names them by file, and the toolkit's own lookup is pointed at
// a folder that does not exist, so no text of the input names a file to read.

#include "fuzzsupport.h"
#include "vstgui/lib/cview.h"
#include "vstgui/lib/cviewcontainer.h"
#include "vstgui/lib/controls/cslider.h"
#include "vstgui/lib/platform/iplatformbitmap.h"
#include "vstgui/lib/platform/linux/linuxfactory.h"
#include "vstgui/lib/platform/platformfactory.h"
#include "vstgui/uidescription/uicontentprovider.h"
#include "vstgui/uidescription/uiattributes.h"
#include "vstgui/uidescription/uidescription.h"
#include "vstgui/uidescription/xmlparser.h"
#include <cstring>
#include <list>
#include <map>
#include <string>

using namespace VSTGUI;

namespace {

constexpr size_t kMaxTemplates = 8;

// a control tag besides the shared bitmaps and colour
const char* const kControlTags = R"(	<control-tags>
		<control-tag name="Level" tag="0"/>
	</control-tags>
)";

// Packed, in the creator's order:
// clang-format off
const char* const kSliderAttributes[] = {
	"mode", "orientation", "reverse-orientation", "handle-offset", "zoom-factor", "handle-bitmap",
	"bitmap-offset", "draw-frame", "draw-back", "draw-value", "draw-value-inverted",
	"draw-value-from-center", "frame-width", "draw-frame-color", "draw-back-color",
	"draw-value-color", "free-click", "bitmap", "origin", "size", "control-tag", "min-value",
	"max-value", "default-value", "wheel-inc-value", "transparent", "mouse-enabled"};
// clang-format on

std::string xmlEscaped (const std::string& text)
{
	std::string out;
	for (char c : text)
	{
		switch (c)
		{
			case '<': out += "&lt;"; break;
			case '>': out += "&gt;"; break;
			case '&': out += "&amp;"; break;
			case '"': out += "&quot;"; break;
			default:
				// the XML parser refuses control bytes: keep the text well formed
				if (static_cast<unsigned char> (c) >= 0x20)
					out += c;
				break;
		}
	}
	return out;
}

std::string sliderTemplate (FuzzedDataProvider& input)
{
	std::string xml = ZYFuzz::kResourcesDescriptionHead;
	xml += kControlTags;
	xml +=
		"\t<template name=\"view\" class=\"CViewContainer\" origin=\"0, 0\" size=\"400, 300\">\n";
	auto count = input.ConsumeIntegralInRange<int> (1, 4);
	for (int i = 0; i < count; ++i)
	{
		xml += "\t\t<view class=\"CSlider\"";
		auto attributes = input.ConsumeIntegralInRange<int> (0, 10);
		for (int a = 0; a < attributes; ++a)
		{
			auto index =
				input.ConsumeIntegralInRange<size_t> (0, std::size (kSliderAttributes) - 1);
			xml += std::string (" ") + kSliderAttributes[index] + "=\"" +
				   xmlEscaped (ZYFuzz::valueText (input)) + "\"";
		}
		xml += "/>\n";
	}
	xml += "\t</template>\n</vstgui-ui-description>\n";
	return xml;
}

// the project's bitmap files, decoded on first use
struct ProjectBitmaps : IBitmapCreator
{
	PlatformBitmapPtr createBitmap (const UIAttributes& attributes) override
	{
		auto path = attributes.getAttributeValue ("path");
		if (!path)
			return nullptr;
		static const char* const files[] = {
			"about_button.png",		"about_button_2.0x.png", "background.png",
			"background_2.0x.png",	"bypass_switch.png",	 "bypass_switch_2.0x.png",
			"fader_cap.png",		"fader_cap_2.0x.png",	 "fader_track.png",
			"fader_track_2.0x.png", "value_field.png",		 "value_field_2.0x.png"};
		for (const char* file : files)
		{
			if (*path != file)
				continue;
			auto& bitmap = cache[file];
			if (!bitmap)
				bitmap = getPlatformFactory ().createBitmapFromPath (
					(std::string (ZY_RESOURCE_DIR "/") + file).c_str ());
			return bitmap;
		}
		return nullptr;
	}
	std::map<std::string, PlatformBitmapPtr> cache;
};

ProjectBitmaps& projectBitmaps ()
{
	static ProjectBitmaps instance;
	return instance;
}

// the name of the document's first element, read by the toolkit's XML parser
struct RootName : Xml::IHandler
{
	std::string name;
	bool seen {false};
	void startXmlElement (Xml::Parser* parser, IdStringPtr elementName, UTF8StringPtr*) override
	{
		if (!seen)
			name = elementName;
		seen = true;
		parser->stop ();
	}
	void endXmlElement (Xml::Parser*, IdStringPtr) override {}
	void xmlCharData (Xml::Parser*, const int8_t*, int32_t) override {}
	void xmlComment (Xml::Parser*, IdStringPtr) override {}
};

bool hasDescriptionRoot (const void* bytes, size_t size)
{
	auto provider = makeOwned<MemoryContentProvider> (bytes, static_cast<uint32_t> (size));
	RootName root;
	Xml::Parser parser;
	parser.parse (provider, &root);
	return root.name == "vstgui-ui-description" || root.name == "vstgui-ui-description-view-list";
}

void buildEveryTemplate (const void* bytes, size_t size)
{
	if (!hasDescriptionRoot (bytes, size))
		return;
	auto provider = makeOwned<MemoryContentProvider> (bytes, static_cast<uint32_t> (size));
	auto description = makeOwned<UIDescription> (provider);
	description->setBitmapCreator (&projectBitmaps ());
	if (!description->parse ())
		return;
	std::list<const std::string*> names;
	description->collectTemplateViewNames (names);
	size_t built = 0;
	for (const auto* name : names)
	{
		if (built++ == kMaxTemplates)
			break;
		if (auto view = description->createView (name->c_str (), nullptr))
			view->forget ();
	}
}

} // anonymous namespace

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
	ZYFuzz::initToolkit ();
	getPlatformFactory ().asLinuxFactory ()->setResourcePath ("/zy-fuzz-no-such-folder/");
	return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
	if (size > 0 && data[0] < 0x20 && data[0] != '\t' && data[0] != '\n' && data[0] != '\r')
	{
		FuzzedDataProvider input (data + 1, size - 1);
		auto xml = sliderTemplate (input);
		buildEveryTemplate (xml.data (), xml.size ());
		return 0;
	}
	buildEveryTemplate (data, size);
	return 0;
}

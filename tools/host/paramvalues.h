// The plug-in's parameters as zy_host shows and takes them: their titles,
// ranges and defaults in the controller's own text, and --param values read
// by id or title, normalized or through the controller's text conversion, as
// a DAW's value field reads them.
#pragma once

#include "tools/host/options.h"

#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace zyhost {

struct ParameterEntry
{
	std::string title;
	std::string units;
	double defaultValue;
	int32_t stepCount;
};

class ParameterTable
{
public:
	explicit ParameterTable (Steinberg::Vst::IEditController& controller);

	bool has (uint32_t tag) const { return entries.count (tag) != 0; }
	const ParameterEntry& at (uint32_t tag) const { return entries.at (tag); }
	const std::map<uint32_t, ParameterEntry>& all () const { return entries; }

	// A normalized value as the plug-in writes it, with its unit: "700 Hz".
	std::string valueText (uint32_t tag, double normalized) const;
	// "100 to 4000 Hz", or "Off or On" for a switch.
	std::string rangeText (uint32_t tag) const;
	// "0 Level, 1 Frequency, ..."
	std::string listText () const;

	// The normalized value of a --param: false with a message that names the
	// parameter's range when the key or the value is not the plug-in's.
	bool resolve (const ParamSetting& setting, std::pair<uint32_t, double>& value,
	              std::string& error) const;

private:
	bool findTag (const std::string& key, uint32_t& tag) const;
	bool inRange (uint32_t tag, double plain) const;

	Steinberg::Vst::IEditController& controller;
	std::map<uint32_t, ParameterEntry> entries;
};

} // namespace zyhost

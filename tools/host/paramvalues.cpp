#include "tools/host/paramvalues.h"
#include "tools/host/numbers.h"

#include "public.sdk/source/vst/utility/stringconvert.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace zyhost {

namespace {

std::string lowerCase (std::string text)
{
	std::transform (text.begin (), text.end (), text.begin (),
	                [] (unsigned char c) { return static_cast<char> (std::tolower (c)); });
	return text;
}

// The number a value text starts with ("700" of "700Hz"), if it starts with one.
bool leadingNumber (const std::string& text, double& number)
{
	char* end = nullptr;
	number = std::strtod (text.c_str (), &end);
	return end != text.c_str () && std::isfinite (number);
}

} // namespace

ParameterTable::ParameterTable (IEditController& controller) : controller (controller)
{
	for (int32 i = 0; i < controller.getParameterCount (); ++i)
	{
		ParameterInfo info {};
		if (controller.getParameterInfo (i, info) == kResultTrue)
			entries[info.id] = {VST3::StringConvert::convert (info.title),
			                    VST3::StringConvert::convert (info.units),
			                    info.defaultNormalizedValue, info.stepCount};
	}
}

std::string ParameterTable::valueText (uint32_t tag, double normalized) const
{
	String128 text {};
	if (controller.getParamStringByValue (tag, normalized, text) != kResultTrue)
		return std::to_string (normalized);
	std::string result = VST3::StringConvert::convert (text);
	const std::string& units = entries.at (tag).units;
	if (!units.empty ())
		result += " " + units;
	return result;
}

std::string ParameterTable::rangeText (uint32_t tag) const
{
	const ParameterEntry& entry = entries.at (tag);
	String128 low {};
	String128 high {};
	controller.getParamStringByValue (tag, 0., low);
	controller.getParamStringByValue (tag, 1., high);
	const std::string ends = VST3::StringConvert::convert (low) +
	                         (entry.stepCount == 1 ? " or " : " to ") +
	                         VST3::StringConvert::convert (high);
	return entry.units.empty () ? ends : ends + " " + entry.units;
}

std::string ParameterTable::listText () const
{
	std::string list;
	for (const auto& [tag, entry] : entries)
		list += (list.empty () ? "" : ", ") + std::to_string (tag) + " " + entry.title;
	return list;
}

bool ParameterTable::findTag (const std::string& key, uint32_t& tag) const
{
	int64_t id = 0;
	if (parseInteger (key, id))
	{
		tag = static_cast<uint32_t> (id);
		return id >= 0 && id <= UINT32_MAX && has (tag);
	}
	for (const auto& [candidate, entry] : entries)
	{
		if (lowerCase (entry.title) == lowerCase (key))
		{
			tag = candidate;
			return true;
		}
	}
	return false;
}

bool ParameterTable::inRange (uint32_t tag, double plain) const
{
	const double low = controller.normalizedParamToPlain (tag, 0.);
	const double high = controller.normalizedParamToPlain (tag, 1.);
	// The ends as the plug-in computes them may miss the round figures by
	// a rounding step.
	const double slack = 1e-9 * std::max ({1., std::fabs (low), std::fabs (high)});
	return plain >= std::min (low, high) - slack && plain <= std::max (low, high) + slack;
}

bool ParameterTable::resolve (const ParamSetting& setting, std::pair<uint32_t, double>& value,
                              std::string& error) const
{
	const std::string bad = "bad --param '" + setting.argument + "': ";
	uint32_t tag = 0;
	if (!findTag (setting.key, tag))
	{
		error =
		    bad + "the plug-in has no parameter '" + setting.key + "' (it has " + listText () + ")";
		return false;
	}
	const ParameterEntry& entry = entries.at (tag);
	const std::string range = entry.title + " takes " + rangeText (tag);

	// A bare number after an id is a normalized value, as in automation files.
	int64_t id = 0;
	double normalized = 0.;
	if (parseInteger (setting.key, id) && parseReal (setting.value, normalized))
	{
		if (normalized < 0. || normalized > 1.)
		{
			String128 example {};
			controller.getParamStringByValue (tag, entry.defaultValue, example);
			error = bad + "a number after an id is normalized, from 0 to 1 (" + range +
			        "; give a value in its own words with its unit, as " + std::to_string (tag) +
			        "=" + VST3::StringConvert::convert (example) + entry.units + ")";
			return false;
		}
		value = {tag, normalized};
		return true;
	}

	// Anything else is read as the plug-in reads a typed value.
	String128 text {};
	const std::u16string wide = VST3::StringConvert::convert (setting.value);
	if (wide.size () >= 128)
	{
		error = bad + range;
		return false;
	}
	std::copy (wide.begin (), wide.end (), text);
	double plain = 0.;
	if (controller.getParamValueByString (tag, text, normalized) != kResultTrue ||
	    (leadingNumber (setting.value, plain) && !inRange (tag, plain)))
	{
		error = bad + range;
		return false;
	}
	value = {tag, normalized};
	return true;
}

} // namespace zyhost

// zy_host: the project's command-line host. Loads the bundle through its
// entry points, sets parameters by id, renders an input (a sound file, raw
// floats or the generated demo) to an output file and prints a summary.

#include "tools/host/audiofiles.h"
#include "tools/host/automation.h"
#include "tools/host/demosignal.h"
#include "tools/host/options.h"
#include "tools/host/renderer.h"
#include "tools/hostkit/loadedplugin.h"

#include "public.sdk/source/vst/utility/stringconvert.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace zyhost;

namespace {

constexpr int kUsageError = 2;
constexpr int kRenderError = 1;

int fail (int code, const std::string& message)
{
	std::fprintf (stderr, "zy_host: %s\n", message.c_str ());
	return code;
}

struct ParameterEntry
{
	std::string title;
	std::string units;
	double defaultValue;
};

std::map<uint32_t, ParameterEntry> parameterTable (IEditController& controller)
{
	std::map<uint32_t, ParameterEntry> table;
	for (int32 i = 0; i < controller.getParameterCount (); ++i)
	{
		ParameterInfo info {};
		if (controller.getParameterInfo (i, info) == kResultTrue)
			table[info.id] = {VST3::StringConvert::convert (info.title),
			                  VST3::StringConvert::convert (info.units),
			                  info.defaultNormalizedValue};
	}
	return table;
}

std::string valueText (IEditController& controller, uint32_t tag, double normalized,
                       const ParameterEntry& entry)
{
	String128 text {};
	if (controller.getParamStringByValue (tag, normalized, text) != kResultTrue)
		return std::to_string (normalized);
	std::string result = VST3::StringConvert::convert (text);
	if (!entry.units.empty ())
		result += " " + entry.units;
	return result;
}

std::string tagList (const std::map<uint32_t, ParameterEntry>& table)
{
	std::string list;
	for (const auto& [tag, entry] : table)
		list += (list.empty () ? "" : ", ") + std::to_string (tag);
	return list;
}

std::string decibels (double linear)
{
	if (linear <= 0.)
		return "-inf";
	char text[32];
	std::snprintf (text, sizeof (text), "%.1f", 20. * std::log10 (linear));
	return text;
}

std::string levels (const StereoBuffer& buffer)
{
	double peak[2] = {0., 0.}, sum[2] = {0., 0.};
	for (size_t i = 0; i < buffer.frames (); ++i)
	{
		const double s[2] = {buffer.left[i], buffer.right[i]};
		for (int c = 0; c < 2; ++c)
		{
			peak[c] = std::max (peak[c], std::fabs (s[c]));
			sum[c] += s[c] * s[c];
		}
	}
	const double n = std::max<double> (1., buffer.frames ());
	return "peak " + decibels (peak[0]) + " / " + decibels (peak[1]) + " dBFS, RMS " +
	       decibels (std::sqrt (sum[0] / n)) + " / " + decibels (std::sqrt (sum[1] / n)) +
	       " dBFS (L / R)";
}

bool readInput (const HostOptions& options, StereoBuffer& input, std::string& error)
{
	if (options.generateSeconds > 0.)
	{
		input = makeDemoSignal (options.generateSeconds, options.sampleRate);
		return true;
	}
	if (options.raw != RawFormat::none)
		return readRawFile (options.input, options.raw, options.sampleRate, input, error);
	return readSoundFile (options.input, input, error);
}

bool writeAudio (const HostOptions& options, const std::string& path, const StereoBuffer& buffer,
                 std::string& error)
{
	if (options.raw != RawFormat::none)
		return writeRawFile (path, options.raw, buffer, error);
	return writeSoundFile (path, buffer, error);
}

} // namespace

int main (int argc, char* argv[])
{
	HostOptions options;
	std::string error;
	if (!parseOptions (argc, argv, options, error))
		return fail (kUsageError, error + "\n" + usageText ());
	if (options.help)
	{
		std::fputs (usageText (), stdout);
		return 0;
	}

	std::vector<AutomationPoint> automation;
	if (!options.automation.empty () && !readAutomationFile (options.automation, automation, error))
		return fail (kUsageError, error);

	StereoBuffer input;
	if (!options.list && !readInput (options, input, error))
		return fail (kUsageError, error);

	auto plugin = LoadedPlugin::load (options.plugin, error);
	if (!plugin)
		return fail (kRenderError, error);
	if (!plugin->syncControllerToProcessor ())
		return fail (kRenderError, "the controller did not take the processor's state");
	IEditController& controller = *plugin->controller ();
	const auto parameters = parameterTable (controller);

	if (options.list)
	{
		for (const auto& [tag, entry] : parameters)
			std::printf ("%u\t%s\t[%s]\tdefault %.6f (%s)\n", tag, entry.title.c_str (),
			             entry.units.c_str (), entry.defaultValue,
			             valueText (controller, tag, entry.defaultValue, entry).c_str ());
		return 0;
	}

	// ids are checked against the plug-in's own parameter list
	for (const auto& [tag, value] : options.startValues)
		if (!parameters.count (tag))
			return fail (kUsageError, "--param: unknown parameter tag " + std::to_string (tag) +
			                              "; the plug-in has " + tagList (parameters));
	for (const auto& point : automation)
		if (!parameters.count (point.tag))
			return fail (kUsageError, options.automation + ":" + std::to_string (point.line) +
			                              ": unknown parameter tag " + std::to_string (point.tag) +
			                              "; the plug-in has " + tagList (parameters));

	if (options.tailSeconds > 0.)
		input.resize (input.frames () +
		              static_cast<size_t> (std::llround (options.tailSeconds * input.sampleRate)));
	if (input.frames () == 0)
		return fail (kUsageError, "the input holds no audio");

	const size_t blockCount = (input.frames () + options.blockSize - 1) / options.blockSize;
	RenderSettings settings;
	settings.blockSize = options.blockSize;
	settings.use64Bit = options.precision == 64;
	settings.startValues = options.startValues;
	for (const auto& point : automation)
	{
		if (point.block >= static_cast<int64_t> (blockCount))
			std::fprintf (stderr,
			              "zy_host: warning: %s:%d: block %lld lies past the last block (%zu); "
			              "ignored\n",
			              options.automation.c_str (), point.line,
			              static_cast<long long> (point.block), blockCount - 1);
		else
			settings.automation.push_back (point);
	}

	StereoBuffer output;
	RenderResult result;
	if (!render (*plugin->component (), *plugin->processor (), input, settings, output, result,
	             error))
		return fail (kRenderError, error);
	if (!writeAudio (options, options.output, output, error))
		return fail (kRenderError, error);
	if (!options.saveInput.empty () && !writeAudio (options, options.saveInput, input, error))
		return fail (kRenderError, error);

	if (!options.quiet)
	{
		const double seconds = input.frames () / input.sampleRate;
		std::printf ("plug-in  %s %s from %s\n", plugin->classInfo ().name ().c_str (),
		             plugin->classInfo ().version ().c_str (), options.plugin.c_str ());
		std::printf ("input    %s, %.2f s at %.0f Hz; %s\n",
		             options.generateSeconds > 0. ? "generated demo" : options.input.c_str (),
		             seconds, input.sampleRate, levels (input).c_str ());
		std::string values;
		std::map<uint32_t, double> start;
		for (const auto& [tag, entry] : parameters)
			start[tag] = controller.getParamNormalized (tag);
		for (const auto& [tag, value] : options.startValues)
			start[tag] = value;
		for (const auto& point : settings.automation)
			if (point.block == 0)
				start[point.tag] = point.value;
		for (const auto& [tag, value] : start)
			values += (values.empty () ? "" : ", ") + parameters.at (tag).title + " " +
			          valueText (controller, tag, value, parameters.at (tag));
		std::printf ("start    %s\n", values.c_str ());
		if (!options.automation.empty ())
			std::printf ("automate %zu points from %s\n", settings.automation.size (),
			             options.automation.c_str ());
		std::printf ("render   %zu frames in %zu blocks of %d, %d-bit, %.3f s of processing "
		             "(%.0fx real time)\n",
		             output.frames (), result.blocks, options.blockSize, options.precision,
		             result.seconds, result.seconds > 0. ? seconds / result.seconds : 0.);
		std::printf ("output   %s; %s\n", options.output.c_str (), levels (output).c_str ());
	}
	return 0;
}

// zy_host: the project's command-line host. Loads the bundle through its
// entry points, sets parameters by id or title, renders an input (a sound
// file, raw floats or the generated demo) to an output file and prints a
// summary. Every argument and path is checked before the work starts, and no
// file is overwritten unless the whole render has been written.

#include "tools/host/audiofiles.h"
#include "tools/host/automation.h"
#include "tools/host/demosignal.h"
#include "tools/host/levels.h"
#include "tools/host/options.h"
#include "tools/host/outputfiles.h"
#include "tools/host/paramvalues.h"
#include "tools/host/renderer.h"
#include "tools/hostkit/loadedplugin.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace zyhost;

namespace {

// Exit codes, as docs/host.md gives them.
constexpr int kUsageError = 2;  // arguments, files, automation, values
constexpr int kRenderError = 1; // the bundle, the render or writing its files

int fail (int code, const std::string& message)
{
	std::fprintf (stderr, "zy_host: %s\n", message.c_str ());
	return code;
}

// A command line it cannot take: the reason, and where the options are told.
int failUsage (const std::string& message)
{
	std::fprintf (stderr, "zy_host: %s\nTry 'zy_host --help' for the options.\n", message.c_str ());
	return kUsageError;
}

void warnOfClipping (const std::string& path, const StereoBuffer& buffer)
{
	const size_t count = clippedSamples (buffer);
	if (count == 0)
		return;
	const Levels levels = levelsOf (buffer, false);
	std::fprintf (stderr,
	              "zy_host: warning: %s holds integer samples: %zu samples beyond 0 dBFS were "
	              "clipped (the audio peaks at %s / %s dBFS); lower Level, or write .wav or "
	              ".aiff (32-bit float)\n",
	              path.c_str (), count, decibels (levels.peak[0]).c_str (),
	              decibels (levels.peak[1]).c_str ());
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
	if (!readSoundFile (options.input, input, error))
		return false;
	if (input.sampleRate < kLowestSampleRate)
	{
		char rate[32];
		std::snprintf (rate, sizeof rate, "%g Hz", input.sampleRate);
		error = "'" + options.input + "' is at " + rate +
		        ": sample rates below 500 Hz are not supported; resample it to 500 Hz or more";
		return false;
	}
	return true;
}

// Every file the render writes, checked before any work: a type it can write
// in a folder that exists, and never a file that it reads or writes twice.
bool checkOutputs (const HostOptions& options, OutputFormat& format, std::string& error)
{
	if (!outputFormatOf (options.output, options.raw, format, error) ||
	    !checkOutputFolder (options.output, error))
		return false;
	std::vector<std::pair<std::string, std::string>> outputs = {{"--output", options.output}};
	if (!options.saveInput.empty ())
	{
		if (!checkOutputFolder (options.saveInput, error))
			return false;
		if (sameFile (options.output, options.saveInput))
		{
			error = "--output and --save-input name the same file, '" + options.output +
			        "'; give each its own";
			return false;
		}
		outputs.emplace_back ("--save-input", options.saveInput);
	}
	std::vector<std::pair<std::string, std::string>> inputs;
	if (!options.input.empty ())
		inputs.emplace_back ("input", options.input);
	if (!options.automation.empty ())
		inputs.emplace_back ("automation file", options.automation);
	for (const auto& [option, output] : outputs)
		for (const auto& [what, input] : inputs)
			if (sameFile (output, input))
			{
				error = option + " '" + output + "' is the " + what + " '" + input +
				        "': the render would overwrite it; write to another file";
				return false;
			}
	return true;
}

} // namespace

int main (int argc, char* argv[])
{
	HostOptions options;
	std::string error;
	if (!parseOptions (argc, argv, options, error))
		return failUsage (error);
	if (options.help)
	{
		std::fputs (usageText (), stdout);
		return 0;
	}

	OutputFormat outputFormat;
	if (!options.list && !checkOutputs (options, outputFormat, error))
		return fail (kUsageError, error);

	std::vector<AutomationPoint> automation;
	if (!options.automation.empty () && !readAutomationFile (options.automation, automation, error))
		return fail (kUsageError, error);

	StereoBuffer input;
	if (!options.list && !readInput (options, input, error))
		return fail (kUsageError, error);

	std::error_code missing;
	if (!options.pluginGiven && !std::filesystem::exists (options.plugin, missing))
		return fail (kRenderError, "no zy Phaser is installed in ~/.vst3/zyPhaser.vst3: "
		                           "scripts/run-demo.sh installs one, or name a bundle with "
		                           "--plugin PATH");
	auto plugin = LoadedPlugin::load (options.plugin, error);
	if (!plugin)
		return fail (kRenderError, error);
	if (!plugin->syncControllerToProcessor ())
		return fail (kRenderError, "the controller did not take the processor's state");
	IEditController& controller = *plugin->controller ();
	const ParameterTable parameters (controller);

	if (options.list)
	{
		std::printf ("%-4s %-10s %-22s %s\n", "id", "title", "range", "default (normalized)");
		for (const auto& [tag, entry] : parameters.all ())
			std::printf ("%-4u %-10s %-22s %s (%.6f)\n", tag, entry.title.c_str (),
			             parameters.rangeText (tag).c_str (),
			             parameters.valueText (tag, entry.defaultValue).c_str (),
			             entry.defaultValue);
		return 0;
	}

	// Values and ids in the plug-in's own terms.
	RenderSettings settings;
	for (const ParamSetting& param : options.params)
	{
		std::pair<uint32_t, double> value;
		if (!parameters.resolve (param, value, error))
			return fail (kUsageError, error);
		settings.startValues.push_back (value);
	}
	for (const auto& point : automation)
		if (!parameters.has (point.tag))
			return fail (kUsageError, options.automation + ":" + std::to_string (point.line) +
			                              ": unknown parameter tag " + std::to_string (point.tag) +
			                              "; the plug-in has " + parameters.listText ());

	if (options.tailSeconds > 0.)
		input.resize (input.frames () +
		              static_cast<size_t> (std::llround (options.tailSeconds * input.sampleRate)));
	if (input.frames () == 0)
		return fail (kUsageError, "the input holds no audio");

	const size_t blockCount = (input.frames () + options.blockSize - 1) / options.blockSize;
	settings.blockSize = options.blockSize;
	settings.use64Bit = options.precision == 64;
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

	// Written beside their places first; renamed there only when all is written.
	PendingOutputs pending;
	const std::string outputTemporary = pending.add (options.output, error);
	if (outputTemporary.empty () ||
	    !writeAudioFile (outputTemporary, options.output, outputFormat, output, error))
		return fail (kRenderError, error);
	if (!options.saveInput.empty ())
	{
		const std::string inputTemporary = pending.add (options.saveInput, error);
		if (inputTemporary.empty () ||
		    !writeAudioFile (inputTemporary, options.saveInput, outputFormat, input, error))
			return fail (kRenderError, error);
	}
	if (!pending.commit (error))
		return fail (kRenderError, error);
	const bool clips = outputFormat.clipsAtFullScale ();
	if (clips)
	{
		warnOfClipping (options.output, output);
		if (!options.saveInput.empty ())
			warnOfClipping (options.saveInput, input);
	}

	if (!options.quiet)
	{
		const double seconds = input.frames () / input.sampleRate;
		std::printf ("plug-in  %s %s from %s\n", plugin->classInfo ().name ().c_str (),
		             plugin->classInfo ().version ().c_str (), options.plugin.c_str ());
		std::printf ("input    %s, %.2f s at %.0f Hz; %s\n",
		             options.generateSeconds > 0. ? "generated demo" : options.input.c_str (),
		             seconds, input.sampleRate, levelsText (levelsOf (input, false)).c_str ());
		std::string values;
		std::map<uint32_t, double> start;
		for (const auto& [tag, entry] : parameters.all ())
			start[tag] = controller.getParamNormalized (tag);
		for (const auto& [tag, value] : settings.startValues)
			start[tag] = value;
		for (const auto& point : settings.automation)
			if (point.block == 0)
				start[point.tag] = point.value;
		for (const auto& [tag, value] : start)
			values += (values.empty () ? "" : ", ") + parameters.at (tag).title + " " +
			          parameters.valueText (tag, value);
		std::printf ("start    %s\n", values.c_str ());
		if (!options.automation.empty ())
			std::printf ("automate %zu points from %s\n", settings.automation.size (),
			             options.automation.c_str ());
		std::printf ("render   %zu frames in %zu blocks of %d, %d-bit, %.3f s of processing "
		             "(%.0fx real time)\n",
		             output.frames (), result.blocks, options.blockSize, options.precision,
		             result.seconds, result.seconds > 0. ? seconds / result.seconds : 0.);
		const Levels rendered = levelsOf (output, false);
		std::printf ("output   %s; %s\n", options.output.c_str (),
		             levelsText (levelsOf (output, clips), &rendered).c_str ());
	}
	return 0;
}

#include "tools/host/options.h"
#include "tools/host/numbers.h"

#include <cstdlib>

namespace zyhost {

namespace {

constexpr int32_t kMaxBlockSize = 65536;
constexpr double kMaxSeconds = 3600.;
constexpr double kHighestSampleRate = 768000.;

std::string defaultPluginPath ()
{
	const char* home = std::getenv ("HOME");
	return std::string (home ? home : ".") + "/.vst3/zyPhaser.vst3";
}

} // namespace

const char* usageText ()
{
	return "usage: zy_host [options]\n"
	       "Renders audio through the zy Phaser VST 3 bundle, offline.\n"
	       "  --plugin PATH        the bundle (default ~/.vst3/zyPhaser.vst3)\n"
	       "  --input FILE         a sound file (.wav, .aiff, .flac, ...), or raw floats with --raw\n"
	       "  --generate SECONDS   render the built-in demo signal instead of an input\n"
	       "  --output FILE        the render: .wav or .aiff (32-bit float), .flac (24-bit),\n"
	       "                       or raw floats with --raw\n"
	       "  --save-input FILE    also write the input, in the output's format\n"
	       "  --raw f32|f64        input and output are raw interleaved stereo floats\n"
	       "  --rate HZ            sample rate of raw or generated input, 500 to 768000\n"
	       "                       (default 48000)\n"
	       "  --block N            block size in samples (default 512)\n"
	       "  --precision 32|64    processing sample size (default 64 with --raw f64, else 32)\n"
	       "  --param KEY=VALUE    start value of a parameter (repeatable): KEY is its id or\n"
	       "                       title, VALUE normalized (0 to 1) after an id, or in the\n"
	       "                       parameter's own words: Frequency=700, 1=700Hz, Bypass=On\n"
	       "  --automation FILE    lines 'BLOCK TAG VALUE': the value of a parameter's queue\n"
	       "                       in a block (blocks count from 0)\n"
	       "  --tail SECONDS       silence rendered after the input (default 0)\n"
	       "  --list               list the plug-in's parameters, ranges and defaults, and exit\n"
	       "  --quiet              print no summary\n"
	       "  --help               this text\n";
}

bool parseOptions (int argc, const char* const argv[], HostOptions& options, std::string& error)
{
	options = {};
	options.plugin = defaultPluginPath ();
	bool generate = false;
	for (int i = 1; i < argc; ++i)
	{
		const std::string option = argv[i];
		auto value = [&] (std::string& out) {
			if (i + 1 >= argc)
			{
				error = option + " needs a value";
				return false;
			}
			out = argv[++i];
			return true;
		};
		auto seconds = [&] (double& out, bool zeroAllowed) {
			std::string text;
			if (!value (text))
				return false;
			if (!parseReal (text, out) || out < 0. || (!zeroAllowed && out == 0.) ||
			    out > kMaxSeconds)
			{
				error = "bad " + option + " '" + text + "' (seconds, up to 3600)";
				return false;
			}
			return true;
		};

		std::string text;
		if (option == "--help" || option == "-h")
			options.help = true;
		else if (option == "--list")
			options.list = true;
		else if (option == "--quiet")
			options.quiet = true;
		else if (option == "--plugin")
		{
			if (!value (options.plugin))
				return false;
			options.pluginGiven = true;
		}
		else if (option == "--input")
		{
			if (!value (options.input))
				return false;
		}
		else if (option == "--output")
		{
			if (!value (options.output))
				return false;
		}
		else if (option == "--save-input")
		{
			if (!value (options.saveInput))
				return false;
		}
		else if (option == "--automation")
		{
			if (!value (options.automation))
				return false;
		}
		else if (option == "--generate")
		{
			if (!seconds (options.generateSeconds, false))
				return false;
			generate = true;
		}
		else if (option == "--tail")
		{
			if (!seconds (options.tailSeconds, true))
				return false;
		}
		else if (option == "--raw")
		{
			if (!value (text))
				return false;
			if (text == "f32")
				options.raw = RawFormat::float32;
			else if (text == "f64")
				options.raw = RawFormat::float64;
			else
			{
				error = "bad --raw '" + text + "' (f32 or f64)";
				return false;
			}
		}
		else if (option == "--rate")
		{
			if (!value (text))
				return false;
			if (!parseReal (text, options.sampleRate) || options.sampleRate < kLowestSampleRate ||
			    options.sampleRate > kHighestSampleRate)
			{
				error = "bad --rate '" + text + "' (Hz, 500 to 768000)";
				return false;
			}
		}
		else if (option == "--block")
		{
			if (!value (text))
				return false;
			int64_t n = 0;
			if (!parseInteger (text, n) || n < 1 || n > kMaxBlockSize)
			{
				error = "bad --block '" + text + "' (samples, 1 to 65536)";
				return false;
			}
			options.blockSize = static_cast<int32_t> (n);
		}
		else if (option == "--precision")
		{
			if (!value (text))
				return false;
			if (text != "32" && text != "64")
			{
				error = "bad --precision '" + text + "' (32 or 64)";
				return false;
			}
			options.precision = text == "32" ? 32 : 64;
		}
		else if (option == "--param")
		{
			if (!value (text))
				return false;
			const auto equals = text.find ('=');
			if (equals == std::string::npos || equals == 0 || equals + 1 == text.size ())
			{
				error = "bad --param '" + text +
				        "' (KEY=VALUE: a parameter id or title, and a value from 0 to 1 or in "
				        "the parameter's own words)";
				return false;
			}
			options.params.push_back ({text, text.substr (0, equals), text.substr (equals + 1)});
		}
		else
		{
			error = "unknown option '" + option + "'";
			return false;
		}
	}
	if (options.help || options.list)
		return true;
	if (generate == !options.input.empty ())
	{
		error = "give either --input FILE or --generate SECONDS";
		return false;
	}
	if (options.output.empty ())
	{
		error = "--output FILE is missing";
		return false;
	}
	if (!options.input.empty () && options.raw == RawFormat::none && options.sampleRate != 0.)
	{
		error = "--rate applies to raw or generated input; a sound file brings its own";
		return false;
	}
	if (options.precision == 0)
		options.precision = options.raw == RawFormat::float64 ? 64 : 32;
	if (options.sampleRate == 0.)
		options.sampleRate = 48000.;
	return true;
}

} // namespace zyhost

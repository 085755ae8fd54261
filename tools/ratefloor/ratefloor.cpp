// zy_ratefloor: how loud the phaser can get at a given sample rate. For each
// rate it runs every corner of the seven parameter ranges, and random values
// between, over input within +-0.5 (white noise and a square wave), and
// prints the largest output magnitude and the parameters that made it. The
// processor's lowest accepted sample rate was chosen from these figures.
//
//   zy_ratefloor [--seconds S] [--random N] [RATE ...]
//
// Rates below the processor's floor are measured too: the tool sets the rate
// the loop runs at itself, and says whether setupProcessing accepts it.

#include "tools/hostkit/loudestoutput.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int kCorners = 1 << 7;

const double kDefaultRates[] = {60.0,   80.0,   100.0,   150.0,   200.0,   240.0,   250.0,
                                300.0,  400.0,  500.0,   600.0,   800.0,   1000.0,  2000.0,
                                4000.0, 8000.0, 11025.0, 22050.0, 44100.0, 48000.0, 96000.0};

struct Settings
{
	double values[7];
};

// A reproducible generator for the noise and the random settings.
struct Random
{
	uint64_t state;
	double unit ()
	{
		state = state * 6364136223846793005ull + 1442695040888963407ull;
		return static_cast<double> (state >> 11) * 0x1.0p-53;
	}
};

bool accepts (double rate)
{
	auto processor = zyhost::makeProcessor (44100.0, kSample64, false);
	ProcessSetup setup {kRealtime, kSample64, 4096, rate};
	return processor->setupProcessing (setup) == kResultOk;
}

int usage ()
{
	std::fprintf (stderr, "usage: zy_ratefloor [--seconds S] [--random N] [RATE ...]\n");
	return 2;
}

} // namespace

int main (int argc, char** argv)
{
	double seconds = 20.0;
	int randomSets = 64;
	std::vector<double> rates;
	for (int i = 1; i < argc; ++i)
	{
		const std::string arg = argv[i];
		if ((arg == "--seconds" || arg == "--random") && i + 1 < argc)
		{
			const double value = std::atof (argv[++i]);
			if (!(value > 0.0) && !(arg == "--random" && value == 0.0))
				return usage ();
			if (arg == "--seconds")
				seconds = value;
			else
				randomSets = static_cast<int> (value);
		}
		else if (std::atof (arg.c_str ()) > 0.0)
			rates.push_back (std::atof (arg.c_str ()));
		else
			return usage ();
	}
	if (rates.empty ())
		rates.assign (std::begin (kDefaultRates), std::end (kDefaultRates));

	std::vector<Settings> sets;
	for (int corner = 0; corner < kCorners; ++corner)
	{
		Settings settings;
		for (int p = 0; p < 7; ++p)
			settings.values[p] = (corner >> p) & 1 ? 1.0 : 0.0;
		sets.push_back (settings);
	}
	Random random {0x5eed};
	for (int r = 0; r < randomSets; ++r)
	{
		Settings settings;
		for (double& value : settings.values)
			value = random.unit ();
		sets.push_back (settings);
	}

	std::printf ("%d corners and %d random settings, %.0f s of input within +-0.5 each;\n"
	             "the largest output magnitude for each input, and where it was reached\n"
	             "(level frequency depth degree rate feedback mix)\n",
	             kCorners, randomSets, seconds);
	std::printf ("%10s  %-8s  %-38s  %-38s\n", "rate (Hz)", "setup", "noise", "square");
	for (double rate : rates)
	{
		std::printf ("%10.0f  %-8s", rate, accepts (rate) ? "accepted" : "refused");
		for (zyhost::LoudnessInput input :
		     {zyhost::LoudnessInput::noise, zyhost::LoudnessInput::square})
		{
			double worst = -1.0;
			const Settings* worstSettings = nullptr;
			for (const Settings& settings : sets)
			{
				const double peak = zyhost::loudestOutput (
				    rate, settings.values, input, static_cast<int64_t> (seconds * rate), 0x1234);
				if (peak > worst)
				{
					worst = peak;
					worstSettings = &settings;
				}
			}
			char at[64];
			int used = 0;
			for (int p = 0; p < 7; ++p)
				used += std::snprintf (at + used, sizeof at - used, "%s%.2g", p ? " " : "",
				                       worstSettings->values[p]);
			std::printf ("  %9.3g (%-26s)", worst, at);
		}
		std::printf ("\n");
		std::fflush (stdout);
	}
	return 0;
}

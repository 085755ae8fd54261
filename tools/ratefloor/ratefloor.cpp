// zy_ratefloor: how loud the phaser can get at a given sample rate. For each
// rate it runs every corner of the seven parameter ranges, and random values
// between, over input within +-0.5 (white noise and a square wave), and
// prints the largest output magnitude and the parameters that made it. The
// processor's lowest accepted sample rate was chosen from these figures.
//
//   zy_ratefloor [--seconds S] [--random N] [RATE ...]
//   zy_ratefloor --tail [--random N] [RATE ...]
//
// Rates below the processor's floor are measured too: the tool sets the rate
// the loop runs at itself, and says whether setupProcessing accepts it.
//
// With --tail it measures instead how long the feedback rings on: over the
// same settings, and the widest sweep standing still at its bottom and its
// top, full-scale noise or a steady full-scale input, stopped at several
// points of the sweep, then silence flagged as such, until the processor
// takes the silent path. It prints the longest ring-out, the longest ring
// above -120 dBFS, and the loudest output that the rung-out chains still
// give, beside the tail that the processor reports. The processor's tail was
// chosen from these figures.

#include "tools/hostkit/loudestoutput.h"
#include "tools/hostkit/noise.h"
#include "tools/hostkit/ringout.h"

#include "processor/plugphaserconstants.h"
#include "processor/plugringout.h"

#include <algorithm>
#include <cmath>
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

bool accepts (double rate)
{
	auto processor = zyhost::makeProcessor (44100.0, kSample64, false);
	ProcessSetup setup {kRealtime, kSample64, 4096, rate};
	return processor->setupProcessing (setup) == kResultOk;
}

int usage ()
{
	std::fprintf (stderr, "usage: zy_ratefloor [--seconds S] [--random N] [RATE ...]\n"
	                      "       zy_ratefloor --tail [--random N] [RATE ...]\n");
	return 2;
}

std::string describe (const Settings& settings)
{
	char at[64];
	int used = 0;
	for (int p = 0; p < 7; ++p)
		used +=
		    std::snprintf (at + used, sizeof at - used, "%s%.2g", p ? " " : "", settings.values[p]);
	return at;
}

const double kTailRates[] = {500.0, 8000.0, 44100.0, 48000.0, 96000.0, 192000.0};

// The loud input stops at these points (seconds): several phases of every
// sweep, a whole turn of the fastest one among them.
const double kStops[] = {1.0, 1.1, 1.2, 1.3, 1.4};

// The slowest rings of all: the widest sweep at the lowest and at the highest
// centre, moving so slowly that it stands at its bottom or its top while it
// rings, at full feedback.
struct ParkedSweep
{
	const char* name;
	double values[7];
	double phase;
};
const ParkedSweep kParkedSweeps[] = {
    {"bottom", {1.0, 0.0, 1.0, 0.0, 1e-4, 1.0, 1.0}, 1.5 * Steinberg::Vst::kPi},
    {"top", {1.0, 1.0, 1.0, 0.0, 1e-4, 1.0, 1.0}, 0.5 * Steinberg::Vst::kPi},
};

void measureTails (const std::vector<Settings>& sets, const std::vector<double>& rates)
{
	std::printf ("%zu settings, each after full-scale noise and a steady full-scale input\n"
	             "stopped at %zu points of the sweep, and the widest sweep standing at its\n"
	             "bottom and its top; then flagged silence.\n"
	             "The longest ring-out until the processor took the silent path, the longest\n"
	             "ring above -120 dBFS, and the loudest output the rung-out chains still give\n"
	             "(level frequency depth degree rate feedback mix)\n",
	             sets.size (), std::size (kStops));
	std::printf ("%10s  %-58s  %-14s  %-16s  %s\n", "rate (Hz)", "longest ring-out (s, where)",
	             "-120 dBFS (s)", "left over (dBFS)", "tail reported (s)");
	const int64_t maxSeconds = 120;
	for (double rate : rates)
	{
		double longest = -1.0;
		double audible = 0.0;
		double leftover = 0.0;
		std::string where;
		auto measure = [&] (const zyhost::RingOutRun& run, const std::string& name) {
			const zyhost::RingOut ring =
			    zyhost::measureRingOut (run, static_cast<int64_t> (maxSeconds * rate),
			                            static_cast<int64_t> (2.0 * rate), 0x1234);
			const double seconds = ring.samples < 0 ? static_cast<double> (maxSeconds)
			                                        : static_cast<double> (ring.samples) / rate;
			if (seconds > longest)
			{
				longest = seconds;
				where = (ring.samples < 0 ? "never: " : "") + name;
			}
			audible = std::max (audible, static_cast<double> (ring.audibleSamples) / rate);
			leftover = std::max (leftover, ring.leftoverPeak);
		};
		for (bool steady : {false, true})
		{
			const std::string input = steady ? ", steady input" : "";
			for (const Settings& settings : sets)
				for (double stop : kStops)
				{
					zyhost::RingOutRun run {rate, {}, static_cast<int64_t> (stop * rate)};
					std::copy (std::begin (settings.values), std::end (settings.values),
					           run.values);
					run.steadyInput = steady;
					measure (run, describe (settings) + input);
				}
			for (const ParkedSweep& parked : kParkedSweeps)
			{
				zyhost::RingOutRun run {rate, {}, static_cast<int64_t> (rate), parked.phase};
				std::copy (std::begin (parked.values), std::end (parked.values), run.values);
				run.steadyInput = steady;
				measure (run, std::string ("sweep standing at its ") + parked.name + input);
			}
		}
		char at[128];
		std::snprintf (at, sizeof at, "%.3f (%s)", longest, where.c_str ());
		std::printf ("%10.0f  %-58s  %-14.3f  %-16.1f  %.3f\n", rate, at, audible,
		             20.0 * std::log10 (leftover),
		             static_cast<double> (Steinberg::Vst::tailSamplesAt (rate)) / rate);
		std::fflush (stdout);
	}
}

} // namespace

int main (int argc, char** argv)
{
	double seconds = 20.0;
	int randomSets = 64;
	bool tail = false;
	std::vector<double> rates;
	for (int i = 1; i < argc; ++i)
	{
		const std::string arg = argv[i];
		if (arg == "--tail")
			tail = true;
		else if ((arg == "--seconds" || arg == "--random") && i + 1 < argc)
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
	if (rates.empty () && tail)
		rates.assign (std::begin (kTailRates), std::end (kTailRates));
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
	zyhost::Noise random {0x5eed};
	for (int r = 0; r < randomSets; ++r)
	{
		Settings settings;
		for (double& value : settings.values)
			value = random.unit ();
		sets.push_back (settings);
	}
	if (tail)
	{
		measureTails (sets, rates);
		return 0;
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
			std::printf ("  %9.3g (%-26s)", worst, describe (*worstSettings).c_str ());
		}
		std::printf ("\n");
		std::fflush (stdout);
	}
	return 0;
}

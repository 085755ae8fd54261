// zy_host run as a separate process on the built bundle: renders that must
// repeat byte for byte, automation and start values that must reach the
// processor from the first sample, values in the plug-in's own words, files
// that must never be lost, and bad input that must end in a message and the
// exit code of its kind. Then zy_editorshot, which must never crop.

#include <sndfile.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

struct HostRun
{
	int exitCode;
	std::string output; // stdout and stderr together
};

// Starts a program with its output into a pipe; the environment gets extra
// entries ("NAME=value") before the test's own.
pid_t spawnProgram (std::vector<std::string> args, const std::vector<std::string>& extraEnvironment,
                    int& outputFd)
{
	std::vector<char*> argv;
	argv.reserve (args.size () + 1);
	for (auto& a : args)
		argv.push_back (a.data ());
	argv.push_back (nullptr);
	std::vector<std::string> environment = extraEnvironment;
	std::vector<char*> envp;
	envp.reserve (environment.size ());
	for (auto& e : environment)
		envp.push_back (e.data ());
	for (char** e = environ; *e; ++e)
		envp.push_back (*e);
	envp.push_back (nullptr);

	int pipeFds[2];
	if (pipe (pipeFds) != 0)
		return -1;
	posix_spawn_file_actions_t actions;
	posix_spawn_file_actions_init (&actions);
	posix_spawn_file_actions_adddup2 (&actions, pipeFds[1], 1);
	posix_spawn_file_actions_adddup2 (&actions, pipeFds[1], 2);
	posix_spawn_file_actions_addclose (&actions, pipeFds[0]);
	pid_t pid = 0;
	const int spawned = posix_spawn (&pid, argv[0], &actions, nullptr, argv.data (), envp.data ());
	posix_spawn_file_actions_destroy (&actions);
	close (pipeFds[1]);
	outputFd = pipeFds[0];
	return spawned == 0 ? pid : -1;
}

HostRun finish (pid_t pid, int outputFd)
{
	HostRun run {-1, {}};
	char buffer[4096];
	for (ssize_t n; (n = read (outputFd, buffer, sizeof (buffer))) > 0;)
		run.output.append (buffer, static_cast<size_t> (n));
	close (outputFd);
	if (pid < 0)
		return {-1, "spawn failed"};
	int status = 0;
	waitpid (pid, &status, 0);
	run.exitCode = WIFEXITED (status) ? WEXITSTATUS (status) : 128 + WTERMSIG (status);
	return run;
}

HostRun runProgram (std::vector<std::string> args, const std::vector<std::string>& environment = {})
{
	int outputFd = -1;
	const pid_t pid = spawnProgram (std::move (args), environment, outputFd);
	return finish (pid, outputFd);
}

// zy_host on the project's bundle (a later --plugin overrides it).
HostRun runHost (std::vector<std::string> args)
{
	args.insert (args.begin (), {ZY_HOST_PATH, "--plugin", ZY_BUNDLE_PATH});
	return runProgram (std::move (args));
}

std::string readBytes (const std::string& path)
{
	std::ifstream in (path, std::ios::binary);
	return {std::istreambuf_iterator<char> (in), std::istreambuf_iterator<char> ()};
}

void writeText (const std::string& path, const std::string& text)
{
	std::ofstream (path) << text;
}

class CommandLineHostTest : public ::testing::Test
{
protected:
	void SetUp () override
	{
		char pattern[] = "/tmp/zy_host_test.XXXXXX";
		ASSERT_NE (mkdtemp (pattern), nullptr);
		folder = pattern;
	}
	void TearDown () override { std::system (("rm -rf '" + folder + "'").c_str ()); }

	std::string path (const std::string& name) const { return folder + "/" + name; }

	// A generated second of input as raw floats, and its render.
	void renderGenerated (const std::string& format, const std::string& input,
	                      const std::string& output, std::vector<std::string> extra = {})
	{
		std::vector<std::string> args = {"--generate",   "1",          "--raw",    format,
		                                 "--save-input", path (input), "--output", path (output),
		                                 "--quiet"};
		args.insert (args.end (), extra.begin (), extra.end ());
		const HostRun run = runHost (args);
		ASSERT_EQ (run.exitCode, 0) << run.output;
	}

	std::string folder;
};

constexpr size_t kBlock = 512;

TEST_F (CommandLineHostTest, RawRendersRepeatByteForByte)
{
	for (const std::string format : {"f32", "f64"})
	{
		SCOPED_TRACE (format);
		renderGenerated (format, "in.raw", "generated.raw");
		const HostRun run = runHost ({"--input", path ("in.raw"), "--raw", format, "--output",
		                              path ("again.raw"), "--quiet"});
		ASSERT_EQ (run.exitCode, 0) << run.output;

		const std::string first = readBytes (path ("generated.raw"));
		const size_t frameBytes = format == "f32" ? 8 : 16;
		EXPECT_EQ (first.size (), 48000 * frameBytes);
		EXPECT_EQ (first, readBytes (path ("again.raw")));
		// the effect is audible: the render is not the input
		EXPECT_NE (first, readBytes (path ("in.raw")));
	}
}

TEST_F (CommandLineHostTest, AutomationReachesTheProcessorInItsBlock)
{
	// bypass on from block 10: the output is the input from there on, and
	// the render before it is the plain one
	renderGenerated ("f32", "in.raw", "plain.raw");
	writeText (path ("bypass.txt"), "# block tag value\n10 7 1  # bypass on\n\n");
	const HostRun run = runHost ({"--input", path ("in.raw"), "--raw", "f32", "--output",
	                              path ("bypassed.raw"), "--automation", path ("bypass.txt")});
	ASSERT_EQ (run.exitCode, 0) << run.output;
	EXPECT_NE (run.output.find ("automate 1 points"), std::string::npos) << run.output;

	const std::string input = readBytes (path ("in.raw"));
	const std::string plain = readBytes (path ("plain.raw"));
	const std::string bypassed = readBytes (path ("bypassed.raw"));
	ASSERT_EQ (bypassed.size (), plain.size ());
	const size_t switchByte = 10 * kBlock * 8;
	EXPECT_EQ (bypassed.substr (0, switchByte), plain.substr (0, switchByte));
	EXPECT_EQ (bypassed.substr (switchByte), input.substr (switchByte));
	EXPECT_NE (plain.substr (switchByte), input.substr (switchByte));
}

TEST_F (CommandLineHostTest, StartValuesAndTheLastLineOfABlockWin)
{
	// --param puts bypass on from the first block; a later line of the same
	// block and tag overrides an earlier one
	renderGenerated ("f32", "in.raw", "bypassed.raw", {"--param", "7=1"});
	EXPECT_EQ (readBytes (path ("bypassed.raw")), readBytes (path ("in.raw")));

	writeText (path ("twice.txt"), "0 7 1\n0 7 0\n");
	renderGenerated ("f32", "in2.raw", "plain.raw");
	const HostRun run =
	    runHost ({"--input", path ("in.raw"), "--raw", "f32", "--output", path ("overridden.raw"),
	              "--automation", path ("twice.txt"), "--param", "7=1", "--quiet"});
	ASSERT_EQ (run.exitCode, 0) << run.output;
	EXPECT_EQ (readBytes (path ("overridden.raw")), readBytes (path ("plain.raw")));
}

TEST_F (CommandLineHostTest, WavOutputHoldsTheSameSamplesAsRawFloats)
{
	renderGenerated ("f32", "in.raw", "render.raw");
	const HostRun run = runHost ({"--generate", "1", "--output", path ("render.wav"), "--quiet"});
	ASSERT_EQ (run.exitCode, 0) << run.output;

	SF_INFO info {};
	SNDFILE* file = sf_open (path ("render.wav").c_str (), SFM_READ, &info);
	ASSERT_NE (file, nullptr) << sf_strerror (nullptr);
	EXPECT_EQ (info.channels, 2);
	EXPECT_EQ (info.samplerate, 48000);
	EXPECT_EQ (info.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
	std::vector<float> samples (static_cast<size_t> (info.frames) * 2);
	EXPECT_EQ (sf_readf_float (file, samples.data (), info.frames), info.frames);
	sf_close (file);

	const std::string raw = readBytes (path ("render.raw"));
	ASSERT_EQ (raw.size (), samples.size () * sizeof (float));
	EXPECT_EQ (std::memcmp (raw.data (), samples.data (), raw.size ()), 0);
}

// Writes a short stereo sound file at a given rate.
void writeWav (const std::string& path, int rate)
{
	SF_INFO info {};
	info.samplerate = rate;
	info.channels = 2;
	info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
	SNDFILE* file = sf_open (path.c_str (), SFM_WRITE, &info);
	ASSERT_NE (file, nullptr) << sf_strerror (nullptr);
	const std::vector<float> samples (200, 0.25f);
	sf_writef_float (file, samples.data (), 100);
	sf_close (file);
}

TEST_F (CommandLineHostTest, EachKindOfBadInputEndsWithItsCodeAndOneMessage)
{
	writeText (path ("short.txt"), "3 1\n");
	writeText (path ("word.txt"), "0 1 0.5\nx 1 0.5\n");
	writeText (path ("tag.txt"), "0 42 0.5\n");
	writeText (path ("range.txt"), "0 1 1.5\n");
	writeText (path ("odd.raw"), "12345");
	writeWav (path ("low.wav"), 400);
	const std::string out = path ("out.wav");
	const std::string parseError = "Try 'zy_host --help' for the options.";
	// A table, one case a line: 2 for arguments, files, automation and
	// values, 1 for the bundle.
	// clang-format off
	const struct
	{
		std::vector<std::string> args;
		int exitCode;
		std::string message;
	} cases[] = {
	    {{"--input", path ("missing.wav"), "--output", out}, 2, "cannot read sound file"},
	    {{"--input", path ("missing.raw"), "--raw", "f32", "--output", out}, 2, "cannot open raw input"},
	    {{"--input", path ("odd.raw"), "--raw", "f32", "--output", out}, 2, "not a whole number of stereo frames"},
	    {{"--input", path ("low.wav"), "--output", out}, 2, "is at 400 Hz: sample rates below 500 Hz are not supported"},
	    {{"--generate", "1", "--raw", "f32", "--rate", "400", "--output", out}, 2, "bad --rate '400' (Hz, 500 to 768000)\n" + parseError},
	    {{"--generate", "1", "--output", out, "--automation", path ("none.txt")}, 2, "cannot open automation file"},
	    {{"--generate", "1", "--output", out, "--automation", path ("short.txt")}, 2, "short.txt:1: expected 'BLOCK TAG VALUE'"},
	    {{"--generate", "1", "--output", out, "--automation", path ("word.txt")}, 2, "word.txt:2: bad block 'x'"},
	    {{"--generate", "1", "--output", out, "--automation", path ("range.txt")}, 2, "range.txt:1: bad value '1.5'"},
	    {{"--generate", "1", "--output", out, "--automation", path ("tag.txt")}, 2, "tag.txt:1: unknown parameter tag 42"},
	    {{"--generate", "1", "--output", out, "--param", "8=0.5"}, 2, "bad --param '8=0.5': the plug-in has no parameter '8'"},
	    {{"--generate", "1", "--output", out, "--param", "Speed=1"}, 2, "bad --param 'Speed=1': the plug-in has no parameter 'Speed'"},
	    {{"--generate", "1", "--output", out, "--param", "1=high"}, 2, "bad --param '1=high': Frequency takes 100 to 4000 Hz"},
	    {{"--generate", "1", "--output", out, "--param", "Frequency=50"}, 2, "bad --param 'Frequency=50': Frequency takes 100 to 4000 Hz"},
	    {{"--generate", "1", "--output", out, "--param", "1=700"}, 2, "a number after an id is normalized, from 0 to 1 (Frequency takes 100 to 4000 Hz"},
	    {{"--generate", "1", "--output", out, "--param", "Bypass=maybe"}, 2, "Bypass takes Off or On"},
	    {{"--generate", "1", "--output", out, "--param", "1"}, 2, "bad --param '1' (KEY=VALUE"},
	    {{"--generate", "1", "--output", out, "--block", "0"}, 2, "bad --block '0'"},
	    {{"--generate", "1", "--output", out, "--block", "12x"}, 2, "bad --block '12x'"},
	    {{"--generate", "nan", "--output", out}, 2, "bad --generate 'nan'"},
	    {{"--generate", "1", "--output", out, "--raw", "f16"}, 2, "bad --raw 'f16'"},
	    {{"--generate", "1", "--output", out, "--precision", "48"}, 2, "bad --precision '48'"},
	    {{"--generate", "1"}, 2, "--output FILE is missing\n" + parseError},
	    {{"--output", out}, 2, "give either --input FILE or --generate SECONDS"},
	    {{"--generate", "1", "--output", out, "--frobnicate"}, 2, "unknown option '--frobnicate'\n" + parseError},
	    {{"--generate", "1", "--output", path ("out.mp9")}, 2, "cannot tell the sound file type"},
	    {{"--generate", "1", "--output", path ("no/such/folder/out.raw"), "--raw", "f32"}, 2, "the folder '" + path ("no/such/folder") + "' for"},
	    {{"--generate", "1", "--output", out, "--save-input", path ("no/in.wav")}, 2, "the folder '" + path ("no") + "' for"},
	    {{"--generate", "1", "--raw", "f32", "--output", folder}, 2, "is a folder, not a file"},
	    // Every argument and path is checked before the bundle is loaded.
	    {{"--plugin", path ("none.vst3"), "--generate", "1", "--output", path ("no/out.wav")}, 2, "does not exist"},
	    {{"--plugin", path ("none.vst3"), "--generate", "1", "--output", out}, 1, "cannot load '" + path ("none.vst3") + "'"},
	};
	// clang-format on
	for (const auto& c : cases)
	{
		SCOPED_TRACE (c.message);
		const HostRun run = runHost (c.args);
		EXPECT_EQ (run.exitCode, c.exitCode) << run.output;
		EXPECT_EQ (run.output.rfind ("zy_host: ", 0), 0u) << run.output;
		EXPECT_NE (run.output.find (c.message), std::string::npos) << run.output;
		EXPECT_EQ (run.output.find ("usage:"), std::string::npos) << "no usage text after an error";
		EXPECT_FALSE (std::filesystem::exists (out)) << "nothing written";
	}
}

// Whether a child has not ended yet; it stays to be waited for.
bool stillRunning (pid_t pid)
{
	siginfo_t info {};
	return waitid (P_PID, static_cast<id_t> (pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
	       info.si_pid == 0;
}

// Files in the output's folder that zy_host left behind mid-write.
std::vector<std::string> temporaryFiles (const std::string& folder)
{
	std::vector<std::string> names;
	for (const auto& entry : std::filesystem::directory_iterator (folder))
		if (entry.path ().filename ().string ().find (".zy_host-") != std::string::npos)
			names.push_back (entry.path ().string ());
	return names;
}

TEST_F (CommandLineHostTest, AnOutputThatIsAFileItReadsOrWritesIsRefusedAndTheFilesKept)
{
	renderGenerated ("f32", "in.raw", "out.raw");
	writeText (path ("moves.txt"), "10 7 1\n");
	std::filesystem::create_directory (path ("sub"));
	std::filesystem::create_symlink ("in.raw", path ("link.raw"));
	std::filesystem::create_hard_link (path ("in.raw"), path ("hard.raw"));
	const std::string input = readBytes (path ("in.raw"));
	const std::vector<std::string> render = {"--input", path ("in.raw"), "--raw", "f32"};
	const struct
	{
		const char* name;
		std::vector<std::string> args;
		std::string message;
	} cases[] = {
	    {"the same path", {"--output", path ("in.raw")}, "is the input"},
	    {"through ..", {"--output", folder + "/sub/../in.raw"}, "is the input"},
	    {"a symbolic link", {"--output", path ("link.raw")}, "is the input"},
	    {"a hard link", {"--output", path ("hard.raw")}, "is the input"},
	    {"the saved input",
	     {"--output", path ("out.raw"), "--save-input", path ("hard.raw")},
	     "is the input"},
	    {"the automation file",
	     {"--output", path ("moves.txt"), "--automation", path ("moves.txt")},
	     "is the automation file"},
	    {"output and saved input",
	     {"--output", path ("x.raw"), "--save-input", folder + "/./x.raw"},
	     "name the same file"},
	};
	for (const auto& c : cases)
	{
		SCOPED_TRACE (c.name);
		std::vector<std::string> args = render;
		args.insert (args.end (), c.args.begin (), c.args.end ());
		const HostRun run = runHost (args);
		EXPECT_EQ (run.exitCode, 2) << run.output;
		EXPECT_NE (run.output.find (c.message), std::string::npos) << run.output;
		EXPECT_EQ (readBytes (path ("in.raw")), input);
		EXPECT_EQ (readBytes (path ("moves.txt")), "10 7 1\n");
		EXPECT_FALSE (std::filesystem::exists (path ("x.raw")));
	}
}

TEST_F (CommandLineHostTest, AFailedOrInterruptedRenderKeepsTheOldOutputAndLeavesNoPartialFile)
{
	renderGenerated ("f64", "in.raw", "out.raw");
	const std::string before = readBytes (path ("out.raw"));

	const HostRun failed = runHost (
	    {"--generate", "1", "--raw", "f64", "--output", path ("out.raw"), "--param", "Speed=1"});
	EXPECT_EQ (failed.exitCode, 2) << failed.output;
	EXPECT_EQ (readBytes (path ("out.raw")), before);

	// Interrupted while it writes: caught once its temporary file is there.
	// A render that ends before it is caught is tried again, longer.
	bool caught = false;
	for (const char* seconds : {"120", "300", "600"})
	{
		const std::string old = readBytes (path ("out.raw"));
		int outputFd = -1;
		const pid_t pid =
		    spawnProgram ({ZY_HOST_PATH, "--plugin", ZY_BUNDLE_PATH, "--generate", seconds, "--raw",
		                   "f64", "--output", path ("out.raw"), "--quiet"},
		                  {}, outputFd);
		ASSERT_GT (pid, 0);
		while (!caught && stillRunning (pid))
		{
			if (!temporaryFiles (folder).empty ())
				caught = kill (pid, SIGTERM) == 0;
			else
				std::this_thread::sleep_for (std::chrono::microseconds (200));
		}
		const HostRun run = finish (pid, outputFd);
		if (caught)
		{
			EXPECT_EQ (run.exitCode, 128 + SIGTERM) << run.output;
			EXPECT_TRUE (readBytes (path ("out.raw")) == old) << "the old output replaced";
			break;
		}
		ASSERT_EQ (run.exitCode, 0) << run.output;
	}
	ASSERT_TRUE (caught) << "no render could be caught while it wrote";
	EXPECT_TRUE (temporaryFiles (folder).empty ());
}

// Two outputs go into place together or not at all. The saved input's place
// is taken by a folder while zy_host writes it, so that its rename fails
// after the render's own would have gone through.
TEST_F (CommandLineHostTest, OutputsGoIntoPlaceTogetherOrNotAtAllAndKeepTheirPermissions)
{
	renderGenerated ("f64", "in.raw", "out.raw");
	std::filesystem::permissions (path ("out.raw"), std::filesystem::perms (0640));
	renderGenerated ("f64", "in.raw", "out.raw");
	EXPECT_EQ (std::filesystem::status (path ("out.raw")).permissions (),
	           std::filesystem::perms (0640));
	const std::string old = readBytes (path ("out.raw"));

	bool blocked = false;
	for (const char* seconds : {"120", "300", "600"})
	{
		int outputFd = -1;
		const pid_t pid = spawnProgram ({ZY_HOST_PATH, "--plugin", ZY_BUNDLE_PATH, "--generate",
		                                 seconds, "--raw", "f64", "--output", path ("out.raw"),
		                                 "--save-input", path ("dry.raw"), "--quiet"},
		                                {}, outputFd);
		ASSERT_GT (pid, 0);
		while (!blocked && stillRunning (pid))
		{
			for (const std::string& name : temporaryFiles (folder))
				if (name.find ("/.dry.raw.zy_host-") != std::string::npos)
					blocked = std::filesystem::create_directory (path ("dry.raw"));
			if (!blocked)
				std::this_thread::sleep_for (std::chrono::microseconds (200));
		}
		const HostRun run = finish (pid, outputFd);
		if (blocked)
		{
			EXPECT_EQ (run.exitCode, 1) << run.output;
			EXPECT_NE (run.output.find ("cannot put '" + path ("dry.raw") + "' in place"),
			           std::string::npos)
			    << run.output;
			break;
		}
		ASSERT_EQ (run.exitCode, 0) << run.output;
		std::filesystem::remove (path ("dry.raw"));
	}
	ASSERT_TRUE (blocked) << "no render could be caught while it wrote";
	EXPECT_TRUE (readBytes (path ("out.raw")) == old) << "the old output replaced";
	EXPECT_TRUE (std::filesystem::is_directory (path ("dry.raw")));
	EXPECT_TRUE (temporaryFiles (folder).empty ());
}

std::vector<double> samplesOf (const std::string& bytes, const std::string& format)
{
	std::vector<double> samples;
	if (format == "f32")
		for (size_t i = 0; i + 4 <= bytes.size (); i += 4)
		{
			float value = 0.f;
			std::memcpy (&value, bytes.data () + i, 4);
			samples.push_back (value);
		}
	else
		for (size_t i = 0; i + 8 <= bytes.size (); i += 8)
		{
			double value = 0.;
			std::memcpy (&value, bytes.data () + i, 8);
			samples.push_back (value);
		}
	return samples;
}

// Mix 0 leaves the dry input alone, times the level: both smoothers must
// stand at their start values from the first sample on, not glide there.
TEST_F (CommandLineHostTest, StartValuesSoundFromTheFirstSample)
{
	const double minus36dB = 0.015848931924611134;
	for (const std::string format : {"f32", "f64"})
		for (double level : {1.0, minus36dB})
		{
			SCOPED_TRACE (format + (level == 1.0 ? ", Mix 0" : ", Mix 0 and Level -36 dB"));
			std::vector<std::string> values = {"--param", "6=0"};
			if (level != 1.0)
				values.insert (values.end (), {"--param", "0=0"});
			renderGenerated (format, "in.raw", "dry.raw", values);
			const std::vector<double> in = samplesOf (readBytes (path ("in.raw")), format);
			const std::vector<double> out = samplesOf (readBytes (path ("dry.raw")), format);
			ASSERT_EQ (in.size (), out.size ());
			// Within the rounding of the sample size (and the processor's
			// 1e-18 against denormals).
			const double rounding = format == "f32" ? 1e-7 : 1e-15;
			for (size_t i = 0; i < in.size (); ++i)
				ASSERT_NEAR (out[i], level * in[i], rounding * std::fabs (in[i]) + 1e-17)
				    << "at sample " << i / 2;
		}
}

// A value in the plug-in's words, as a DAW's value field takes it, is the
// normalized value the plug-in makes of it: each group renders alike.
TEST_F (CommandLineHostTest, ValuesInThePluginsOwnWordsRenderAsTheirNormalizedValues)
{
	const std::vector<std::vector<std::string>> groups[] = {
	    {{"1=1000Hz"}, {"Frequency=1000"}, {"FREQUENCY=1000 Hz"}, {"frequency=1000.0hz"}},
	    {{"0=-6 dB"}, {"Level=-6"}, {"level=-6.00dB"}},
	    {{"7=1"}, {"Bypass=On"}, {"bypass=on"}, {"Bypass=1"}},
	    {{"2=0.25"}, {"Depth=25%"}, {"depth=25"}},
	};
	renderGenerated ("f32", "in.raw", "default.raw");
	for (const auto& group : groups)
	{
		SCOPED_TRACE (group.front ().front ());
		std::string first;
		for (const auto& values : group)
		{
			renderGenerated ("f32", "in.raw", "render.raw", {"--param", values.front ()});
			const std::string render = readBytes (path ("render.raw"));
			if (first.empty ())
				first = render;
			EXPECT_EQ (render, first) << values.front ();
		}
		EXPECT_NE (first, readBytes (path ("default.raw")));
	}
}

TEST_F (CommandLineHostTest, AFormatThatClipsSaysSoAndTheSummaryGivesWhatTheFileHolds)
{
	// The demo peaks near -6.5 dBFS; +12 dB of Level takes it past full scale.
	const HostRun flac =
	    runHost ({"--generate", "1", "--output", path ("hot.flac"), "--param", "Level=12dB"});
	ASSERT_EQ (flac.exitCode, 0) << flac.output;
	EXPECT_NE (
	    flac.output.find ("zy_host: warning: " + path ("hot.flac") + " holds integer samples: "),
	    std::string::npos)
	    << flac.output;
	EXPECT_NE (flac.output.find ("samples beyond 0 dBFS were clipped"), std::string::npos);
	EXPECT_NE (flac.output.find ("; peak +0.0 / +0.0 dBFS (rendered +"), std::string::npos)
	    << flac.output;

	const HostRun wav =
	    runHost ({"--generate", "1", "--output", path ("hot.wav"), "--param", "Level=12dB"});
	ASSERT_EQ (wav.exitCode, 0) << wav.output;
	EXPECT_EQ (wav.output.find ("warning"), std::string::npos) << wav.output;
	EXPECT_EQ (wav.output.find ("rendered"), std::string::npos) << wav.output;
}

TEST_F (CommandLineHostTest, ListShowsRangesAndDefaultsInThePluginsWords)
{
	const HostRun run = runHost ({"--list"});
	ASSERT_EQ (run.exitCode, 0) << run.output;
	for (const char* line : {"Level      -36.00 to 12.00 dB     0.00 dB (0.750000)",
	                         "Frequency  100 to 4000 Hz         700 Hz (0.527507)",
	                         "Bypass     Off or On              Off (0.000000)"})
		EXPECT_NE (run.output.find (line), std::string::npos) << run.output;

	// Nothing installed, and no --plugin: where it looked, and what to do.
	const HostRun none = runProgram ({ZY_HOST_PATH, "--list"}, {"HOME=" + folder});
	EXPECT_EQ (none.exitCode, 1);
	EXPECT_NE (none.output.find ("no zy Phaser is installed in ~/.vst3/zyPhaser.vst3"),
	           std::string::npos)
	    << none.output;
	EXPECT_NE (none.output.find ("--plugin PATH"), std::string::npos);
}

TEST_F (CommandLineHostTest, ABundlePathAsAUserTypesItLoads)
{
	const std::string bundle = ZY_BUNDLE_PATH;
	const std::string relative = std::filesystem::relative (bundle).string ();
	for (const std::string& typed : {bundle + "/", relative, relative + "/"})
	{
		const HostRun run = runHost ({"--plugin", typed, "--list"});
		EXPECT_EQ (run.exitCode, 0) << typed << "\n" << run.output;
	}
}

// zy_editorshot's environment. In the sanitizer build, the toolkit's text
// libraries (pango) keep their font map in their own static memory, which
// goes when the bundle unloads at exit; LeakSanitizer would then report what
// it held as lost. The editor's memory is the editor tests' to check.
std::vector<std::string> editorShotEnvironment ()
{
	const char* asan = std::getenv ("ASAN_OPTIONS");
	return {"ASAN_OPTIONS=" + std::string (asan ? asan : "") + ":detect_leaks=0"};
}

// Under the tests' virtual screen of 1280 x 1024 the editor fits at scale 1,
// not at scale 2 (1440 x 784).
TEST_F (CommandLineHostTest, TheSnapshotToolNeverWritesACroppedPicture)
{
	const HostRun whole = runProgram (
	    {ZY_EDITORSHOT_PATH, "--plugin", ZY_BUNDLE_PATH + std::string ("/"), path ("one.png")},
	    editorShotEnvironment ());
	EXPECT_EQ (whole.exitCode, 0) << whole.output;
	EXPECT_TRUE (std::filesystem::exists (path ("one.png")));

	const HostRun cropped = runProgram (
	    {ZY_EDITORSHOT_PATH, "--plugin", ZY_BUNDLE_PATH, "--scale", "2", path ("two.png")},
	    editorShotEnvironment ());
	EXPECT_EQ (cropped.exitCode, 1) << cropped.output;
	EXPECT_NE (cropped.output.find ("larger than the screen"), std::string::npos) << cropped.output;
	EXPECT_NE (cropped.output.find ("-screen 0 1440x784x24"), std::string::npos);
	EXPECT_FALSE (std::filesystem::exists (path ("two.png")));
}

TEST_F (CommandLineHostTest, MissingBundleIsReported)
{
	// runHost names the project's bundle first; a later --plugin overrides it
	const HostRun run =
	    runHost ({"--plugin", path ("none.vst3"), "--generate", "1", "--output", path ("out.wav")});
	EXPECT_EQ (run.exitCode, 1);
	EXPECT_NE (run.output.find ("cannot load '" + path ("none.vst3") + "'"), std::string::npos)
	    << run.output;
}

} // namespace

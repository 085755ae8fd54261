// zy_host run as a separate process on the built bundle: renders that must
// repeat byte for byte, automation and start values that must reach the
// processor, and bad input that must end in a message and a non-zero exit.

#include <sndfile.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct HostRun
{
	int exitCode;
	std::string output; // stdout and stderr together
};

HostRun runHost (std::vector<std::string> args)
{
	args.insert (args.begin (), {ZY_HOST_PATH, "--plugin", ZY_BUNDLE_PATH});
	std::vector<char*> argv;
	argv.reserve (args.size () + 1);
	for (auto& a : args)
		argv.push_back (a.data ());
	argv.push_back (nullptr);

	int pipeFds[2];
	if (pipe (pipeFds) != 0)
		return {-1, "pipe failed"};
	posix_spawn_file_actions_t actions;
	posix_spawn_file_actions_init (&actions);
	posix_spawn_file_actions_adddup2 (&actions, pipeFds[1], 1);
	posix_spawn_file_actions_adddup2 (&actions, pipeFds[1], 2);
	posix_spawn_file_actions_addclose (&actions, pipeFds[0]);
	pid_t pid = 0;
	const int spawned = posix_spawn (&pid, argv[0], &actions, nullptr, argv.data (), environ);
	posix_spawn_file_actions_destroy (&actions);
	close (pipeFds[1]);
	HostRun run {-1, {}};
	char buffer[4096];
	for (ssize_t n; (n = read (pipeFds[0], buffer, sizeof (buffer))) > 0;)
		run.output.append (buffer, static_cast<size_t> (n));
	close (pipeFds[0]);
	if (spawned != 0)
		return {-1, std::string ("spawn failed: ") + std::strerror (spawned)};
	int status = 0;
	waitpid (pid, &status, 0);
	run.exitCode = WIFEXITED (status) ? WEXITSTATUS (status) : 128 + WTERMSIG (status);
	return run;
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
	writeText (path ("bypass.txt"), "# block tag value\n10 7 1\n\n");
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

TEST_F (CommandLineHostTest, BadInputEndsWithAMessage)
{
	writeText (path ("short.txt"), "3 1\n");
	writeText (path ("word.txt"), "0 1 0.5\nx 1 0.5\n");
	writeText (path ("tag.txt"), "0 42 0.5\n");
	writeText (path ("range.txt"), "0 1 1.5\n");
	writeText (path ("odd.raw"), "12345");
	const std::string out = path ("out.wav");
	// A table, one case a line:
	// clang-format off
	const struct
	{
		std::vector<std::string> args;
		int exitCode;
		const char* message;
	} cases[] = {
	    {{"--input", path ("missing.wav"), "--output", out}, 2, "cannot read sound file"},
	    {{"--input", path ("missing.raw"), "--raw", "f32", "--output", out}, 2, "cannot open raw input"},
	    {{"--input", path ("odd.raw"), "--raw", "f32", "--output", out}, 2, "not a whole number of stereo frames"},
	    {{"--generate", "1", "--output", out, "--automation", path ("none.txt")}, 2, "cannot open automation file"},
	    {{"--generate", "1", "--output", out, "--automation", path ("short.txt")}, 2, "short.txt:1: expected 'BLOCK TAG VALUE'"},
	    {{"--generate", "1", "--output", out, "--automation", path ("word.txt")}, 2, "word.txt:2: bad block 'x'"},
	    {{"--generate", "1", "--output", out, "--automation", path ("range.txt")}, 2, "range.txt:1: bad value '1.5'"},
	    {{"--generate", "1", "--output", out, "--automation", path ("tag.txt")}, 2, "tag.txt:1: unknown parameter tag 42"},
	    {{"--generate", "1", "--output", out, "--param", "8=0.5"}, 2, "unknown parameter tag 8"},
	    {{"--generate", "1", "--output", out, "--param", "1=high"}, 2, "bad --param '1=high'"},
	    {{"--generate", "1", "--output", out, "--block", "0"}, 2, "bad --block '0'"},
	    {{"--generate", "1", "--output", out, "--block", "12x"}, 2, "bad --block '12x'"},
	    {{"--generate", "nan", "--output", out}, 2, "bad --generate 'nan'"},
	    {{"--generate", "1", "--output", out, "--raw", "f16"}, 2, "bad --raw 'f16'"},
	    {{"--generate", "1", "--output", out, "--precision", "48"}, 2, "bad --precision '48'"},
	    {{"--generate", "1"}, 2, "--output FILE is missing"},
	    {{"--output", out}, 2, "give either --input FILE or --generate SECONDS"},
	    {{"--generate", "1", "--output", out, "--frobnicate"}, 2, "unknown option '--frobnicate'"},
	    {{"--generate", "1", "--output", path ("out.mp9")}, 1, "cannot tell the sound file type"},
	    {{"--generate", "1", "--output", path ("no/such/folder/out.raw"), "--raw", "f32"}, 1, "cannot write raw output"},
	};
	// clang-format on
	for (const auto& c : cases)
	{
		const HostRun run = runHost (c.args);
		EXPECT_EQ (run.exitCode, c.exitCode) << c.message << "\n" << run.output;
		EXPECT_NE (run.output.find (c.message), std::string::npos) << run.output;
	}
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

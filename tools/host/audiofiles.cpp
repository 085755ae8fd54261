#include "tools/host/audiofiles.h"

#include <sndfile.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace zyhost {

namespace {

struct SndfileCloser
{
	void operator() (SNDFILE* file) const { sf_close (file); }
};
using SndfilePtr = std::unique_ptr<SNDFILE, SndfileCloser>;

struct FileCloser
{
	void operator() (std::FILE* file) const { std::fclose (file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

std::string extensionOf (const std::string& path)
{
	const auto slash = path.find_last_of ('/');
	const auto dot = path.find_last_of ('.');
	if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
		return {};
	std::string ext = path.substr (dot + 1);
	std::transform (ext.begin (), ext.end (), ext.begin (),
	                [] (unsigned char c) { return static_cast<char> (std::tolower (c)); });
	return ext;
}

size_t bytesPerSample (RawFormat format)
{
	return format == RawFormat::float64 ? 8 : 4;
}

} // namespace

bool OutputFormat::clipsAtFullScale () const
{
	return raw == RawFormat::none && (soundFile & SF_FORMAT_SUBMASK) != SF_FORMAT_FLOAT &&
	       (soundFile & SF_FORMAT_SUBMASK) != SF_FORMAT_DOUBLE;
}

bool outputFormatOf (const std::string& path, RawFormat raw, OutputFormat& format,
                     std::string& error)
{
	format = {raw, 0};
	if (raw != RawFormat::none)
		return true;
	const std::string ext = extensionOf (path);
	if (ext == "wav" || ext == "wave")
		format.soundFile = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
	else if (ext == "aif" || ext == "aiff")
		format.soundFile = SF_FORMAT_AIFF | SF_FORMAT_FLOAT;
	else if (ext == "flac")
		format.soundFile = SF_FORMAT_FLAC | SF_FORMAT_PCM_24;
	else
	{
		error = "cannot tell the sound file type of '" + path +
		        "': use .wav, .aiff or .flac, or --raw for raw floats";
		return false;
	}
	return true;
}

bool readSoundFile (const std::string& path, StereoBuffer& out, std::string& error)
{
	SF_INFO info {};
	SndfilePtr file (sf_open (path.c_str (), SFM_READ, &info));
	if (!file)
	{
		error = "cannot read sound file '" + path + "': " + sf_strerror (nullptr);
		return false;
	}
	if (info.channels < 1 || info.channels > 2)
	{
		error = "'" + path + "' has " + std::to_string (info.channels) +
		        " channels; the host takes mono or stereo";
		return false;
	}
	if (info.samplerate <= 0 || info.frames < 0)
	{
		error = "'" + path + "' has no usable sample rate or length";
		return false;
	}
	std::vector<double> interleaved (static_cast<size_t> (info.frames) * info.channels);
	const sf_count_t read = sf_readf_double (file.get (), interleaved.data (), info.frames);
	if (read != info.frames)
	{
		error = "'" + path + "' ended early: " + sf_strerror (file.get ());
		return false;
	}
	out.sampleRate = info.samplerate;
	out.resize (static_cast<size_t> (info.frames));
	for (size_t i = 0; i < out.frames (); ++i)
	{
		out.left[i] = interleaved[i * info.channels];
		out.right[i] = interleaved[i * info.channels + (info.channels - 1)];
	}
	return true;
}

namespace {

bool writeSoundFile (const std::string& path, const std::string& shownName, int soundFileFormat,
                     const StereoBuffer& in, std::string& error)
{
	SF_INFO info {};
	info.format = soundFileFormat;
	info.channels = 2;
	info.samplerate = static_cast<int> (in.sampleRate);
	SndfilePtr file (sf_open (path.c_str (), SFM_WRITE, &info));
	if (!file)
	{
		error = "cannot write sound file '" + shownName + "': " + sf_strerror (nullptr);
		return false;
	}
	// integer formats clip instead of wrapping around
	sf_command (file.get (), SFC_SET_CLIPPING, nullptr, SF_TRUE);
	std::vector<double> interleaved (in.frames () * 2);
	for (size_t i = 0; i < in.frames (); ++i)
	{
		interleaved[2 * i] = in.left[i];
		interleaved[2 * i + 1] = in.right[i];
	}
	const auto frames = static_cast<sf_count_t> (in.frames ());
	if (sf_writef_double (file.get (), interleaved.data (), frames) != frames)
	{
		error = "writing '" + shownName + "' failed: " + sf_strerror (file.get ());
		return false;
	}
	return true;
}

} // namespace

bool readRawFile (const std::string& path, RawFormat format, double sampleRate, StereoBuffer& out,
                  std::string& error)
{
	FilePtr file (std::fopen (path.c_str (), "rb"));
	if (!file)
	{
		error = "cannot open raw input '" + path + "': " + std::strerror (errno);
		return false;
	}
	std::vector<unsigned char> bytes;
	unsigned char chunk[65536];
	for (size_t n; (n = std::fread (chunk, 1, sizeof (chunk), file.get ())) > 0;)
		bytes.insert (bytes.end (), chunk, chunk + n);
	if (std::ferror (file.get ()))
	{
		error = "reading raw input '" + path + "' failed: " + std::strerror (errno);
		return false;
	}
	const size_t frameBytes = 2 * bytesPerSample (format);
	if (bytes.size () % frameBytes != 0)
	{
		error = "raw input '" + path + "' has " + std::to_string (bytes.size ()) +
		        " bytes, not a whole number of stereo frames of " + std::to_string (frameBytes) +
		        " bytes";
		return false;
	}
	out.sampleRate = sampleRate;
	out.resize (bytes.size () / frameBytes);
	for (size_t i = 0; i < out.frames (); ++i)
	{
		const unsigned char* frame = bytes.data () + i * frameBytes;
		if (format == RawFormat::float64)
		{
			std::memcpy (&out.left[i], frame, 8);
			std::memcpy (&out.right[i], frame + 8, 8);
		}
		else
		{
			float l, r;
			std::memcpy (&l, frame, 4);
			std::memcpy (&r, frame + 4, 4);
			out.left[i] = l;
			out.right[i] = r;
		}
	}
	return true;
}

namespace {

bool writeRawFile (const std::string& path, const std::string& shownName, RawFormat format,
                   const StereoBuffer& in, std::string& error)
{
	FilePtr file (std::fopen (path.c_str (), "wb"));
	if (!file)
	{
		error = "cannot write raw output '" + shownName + "': " + std::strerror (errno);
		return false;
	}
	const size_t frameBytes = 2 * bytesPerSample (format);
	std::vector<unsigned char> bytes (in.frames () * frameBytes);
	for (size_t i = 0; i < in.frames (); ++i)
	{
		unsigned char* frame = bytes.data () + i * frameBytes;
		if (format == RawFormat::float64)
		{
			std::memcpy (frame, &in.left[i], 8);
			std::memcpy (frame + 8, &in.right[i], 8);
		}
		else
		{
			const float l = static_cast<float> (in.left[i]), r = static_cast<float> (in.right[i]);
			std::memcpy (frame, &l, 4);
			std::memcpy (frame + 4, &r, 4);
		}
	}
	if (std::fwrite (bytes.data (), 1, bytes.size (), file.get ()) != bytes.size () ||
	    std::fflush (file.get ()) != 0)
	{
		error = "writing raw output '" + shownName + "' failed: " + std::strerror (errno);
		return false;
	}
	return true;
}

} // namespace

bool writeAudioFile (const std::string& path, const std::string& shownName,
                     const OutputFormat& format, const StereoBuffer& in, std::string& error)
{
	if (format.raw != RawFormat::none)
		return writeRawFile (path, shownName, format.raw, in, error);
	return writeSoundFile (path, shownName, format.soundFile, in, error);
}

} // namespace zyhost

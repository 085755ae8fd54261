// Reading and writing the host's audio: sound files through libsndfile, and
// raw interleaved stereo floats (32 or 64 bit, the machine's byte order) for
// renders that are compared byte for byte.
#pragma once

#include "tools/host/stereobuffer.h"

#include <string>

namespace zyhost {

enum class RawFormat
{
	none,
	float32,
	float64,
};

// What an output file holds: raw floats, or a sound file whose type follows
// the extension (.wav and .aiff as 32-bit float, .flac as 24-bit integer).
struct OutputFormat
{
	RawFormat raw {RawFormat::none};
	int soundFile {0}; // libsndfile's format, when raw is none

	// Integer samples, which cannot hold levels beyond full scale.
	bool clipsAtFullScale () const;
};

// False with a message for an extension that names no type it can write.
bool outputFormatOf (const std::string& path, RawFormat raw, OutputFormat& format,
                     std::string& error);

// Mono files are read onto both channels; more than two channels is an error.
bool readSoundFile (const std::string& path, StereoBuffer& out, std::string& error);
bool readRawFile (const std::string& path, RawFormat format, double sampleRate, StereoBuffer& out,
                  std::string& error);

// Writes path; messages name the file as shownName (the final name of a
// temporary file).
bool writeAudioFile (const std::string& path, const std::string& shownName,
                     const OutputFormat& format, const StereoBuffer& in, std::string& error);

} // namespace zyhost

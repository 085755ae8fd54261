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

// Mono files are read onto both channels; more than two channels is an error.
bool readSoundFile (const std::string& path, StereoBuffer& out, std::string& error);
// The file type follows the extension: .wav and .aiff as 32-bit float, .flac
// as 24-bit integer.
bool writeSoundFile (const std::string& path, const StereoBuffer& in, std::string& error);

bool readRawFile (const std::string& path, RawFormat format, double sampleRate, StereoBuffer& out,
                  std::string& error);
bool writeRawFile (const std::string& path, RawFormat format, const StereoBuffer& in,
                   std::string& error);

} // namespace zyhost

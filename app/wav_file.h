// WAV files of 16-bit mono PCM, as --pronounce writes them.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tavro2 {

// The whole file: a RIFF header ("WAVE", a 16-byte "fmt " chunk for PCM,
// one channel, 16 bits, `sampleRate` samples a second) and one "data" chunk
// of the samples, little-endian. Empty when the samples do not fit the
// format's 32-bit sizes or the rate is no positive number.
std::string wavFileBytes(std::span<const std::int16_t> samples, int sampleRate);

// Writes wavFileBytes to `path` with writeFileAtomically; false (leaving an
// old file whole) when it cannot.
bool writeWavFile(const std::string& path, std::span<const std::int16_t> samples, int sampleRate);

}  // namespace tavro2

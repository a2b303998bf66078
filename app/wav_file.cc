#include "app/wav_file.h"

#include <limits>

#include "app/atomic_file.h"

namespace tavro2 {

namespace {

void put16(std::string& out, std::uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}

void put32(std::string& out, std::uint32_t v) {
  put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
  put16(out, static_cast<std::uint16_t>(v >> 16));
}

constexpr std::uint32_t kHeaderBytes = 44;

}  // namespace

std::string wavFileBytes(std::span<const std::int16_t> samples, int sampleRate) {
  constexpr std::uint64_t kMaxData = std::numeric_limits<std::uint32_t>::max() - (kHeaderBytes - 8);
  if (sampleRate <= 0 || samples.size() > kMaxData / 2) return {};
  const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  const auto rate = static_cast<std::uint32_t>(sampleRate);
  std::string out;
  out.reserve(kHeaderBytes + dataBytes);
  out += "RIFF";
  put32(out, kHeaderBytes - 8 + dataBytes);
  out += "WAVEfmt ";
  put32(out, 16);        // the fmt chunk's size
  put16(out, 1);         // PCM
  put16(out, 1);         // one channel
  put32(out, rate);
  put32(out, rate * 2);  // bytes a second
  put16(out, 2);         // bytes a sample frame
  put16(out, 16);        // bits a sample
  out += "data";
  put32(out, dataBytes);
  for (const std::int16_t s : samples) put16(out, static_cast<std::uint16_t>(s));
  return out;
}

bool writeWavFile(const std::string& path, std::span<const std::int16_t> samples, int sampleRate) {
  const std::string bytes = wavFileBytes(samples, sampleRate);
  return !bytes.empty() && writeFileAtomically(path, bytes);
}

}  // namespace tavro2

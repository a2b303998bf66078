// Spoken words: a headword synthesised by libespeak-ng into 16-bit mono
// samples, for the window's Pronounce command and for --pronounce.
//
// The library keeps one global state and is not reentrant: it is set up at
// the first call (with its own default data, or ESPEAK_DATA_PATH's) and every
// call is serialised, so any thread may call synthesize. A build without
// libespeak-ng answers every call with kNoSpeech.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tavro2 {

enum class SpeechLanguage : std::uint8_t { kEnglish, kIndonesian };

// "English", "Indonesian".
std::string_view speechLanguageName(SpeechLanguage language);
// The voice that speaks a language: "en-us", "id".
std::string_view voiceOf(SpeechLanguage language);

// Whether this build can speak at all.
bool speechBuiltIn();

struct SpokenWord {
  enum class Outcome : std::uint8_t {
    kSpoken,
    kNoSpeech,      // built without libespeak-ng
    kNoVoiceData,   // the library found no data of its own to start with
    kNoVoice,       // no voice for the language, or it spoke nothing
  };
  Outcome outcome = Outcome::kNoSpeech;
  std::vector<std::int16_t> samples;  // mono, silence at either end trimmed
  int sampleRate = 0;                 // samples a second
};

// At most this many bytes of a text are spoken (a headword, a short phrase).
inline constexpr std::size_t kMaxSpokenBytes = 256;
// At most this much sound is kept; the synthesis stops there.
inline constexpr int kMaxSpokenSeconds = 20;
// Silence kept before and after the sound when it is trimmed.
inline constexpr int kKeptSilenceMs = 10;

// Speaks `textUtf8` (its first kMaxSpokenBytes, cut where a character
// begins) in `language`. `firstBuffer`, when given, is called on the calling
// thread as soon as the library hands over its first samples (before the
// rest is made). Blocks for the synthesis, some tens of milliseconds for a
// word; the first call also loads the library's data.
SpokenWord synthesize(std::string_view textUtf8, SpeechLanguage language,
                      const std::function<void()>& firstBuffer = {});

// Cuts the silence at either end of `samples` (what stays under
// `threshold` in magnitude) but for `keepMs` on each side; all of it when
// nothing rises above it.
void trimSilence(std::vector<std::int16_t>& samples, int sampleRate, int keepMs = kKeptSilenceMs,
                 int threshold = 256);

// What the status line (and the command line) say when a word cannot be
// spoken: "No voice for Indonesian"; empty for kSpoken.
std::string speechProblem(SpokenWord::Outcome outcome, SpeechLanguage language);

}  // namespace tavro2

#include "app/speech.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>

#ifdef TAVRO2_HAVE_SPEECH
#include <espeak-ng/speak_lib.h>
#endif

namespace tavro2 {

std::string_view speechLanguageName(SpeechLanguage language) {
  return language == SpeechLanguage::kIndonesian ? "Indonesian" : "English";
}

std::string_view voiceOf(SpeechLanguage language) {
  return language == SpeechLanguage::kIndonesian ? "id" : "en-us";
}

void trimSilence(std::vector<std::int16_t>& samples, int sampleRate, int keepMs, int threshold) {
  auto loud = [threshold](std::int16_t s) { return std::abs(static_cast<int>(s)) >= threshold; };
  const auto first = std::find_if(samples.begin(), samples.end(), loud);
  if (first == samples.end()) {
    samples.clear();
    return;
  }
  const auto last = std::find_if(samples.rbegin(), samples.rend(), loud).base();  // one past
  const std::size_t keep =
      static_cast<std::size_t>(std::max(0, sampleRate)) * static_cast<std::size_t>(keepMs) / 1000;
  const std::size_t begin = static_cast<std::size_t>(first - samples.begin());
  const std::size_t end = static_cast<std::size_t>(last - samples.begin());
  const std::size_t from = begin > keep ? begin - keep : 0;
  const std::size_t to = std::min(samples.size(), end + keep);
  samples.erase(samples.begin() + static_cast<std::ptrdiff_t>(to), samples.end());
  samples.erase(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(from));
}

std::string speechProblem(SpokenWord::Outcome outcome, SpeechLanguage language) {
  switch (outcome) {
    case SpokenWord::Outcome::kSpoken:
      return {};
    case SpokenWord::Outcome::kNoSpeech:
      return "This build cannot speak (no libespeak-ng)";
    case SpokenWord::Outcome::kNoVoiceData:
      return "No voice data (espeak-ng-data)";
    case SpokenWord::Outcome::kNoVoice:
      break;
  }
  return "No voice for " + std::string(speechLanguageName(language));
}

#ifndef TAVRO2_HAVE_SPEECH

bool speechBuiltIn() { return false; }

SpokenWord synthesize(std::string_view, SpeechLanguage, const std::function<void()>&) {
  return {};
}

#else

bool speechBuiltIn() { return true; }

namespace {

// What one synthesis collects. Calls are serialised, so the one under way
// is the library's callback's.
struct Collector {
  std::vector<std::int16_t>* samples;
  std::size_t limit;
  const std::function<void()>* firstBuffer;
};
Collector* gCollecting = nullptr;

int collectSamples(short* wav, int count, espeak_EVENT*) {
  Collector* c = gCollecting;
  if (c == nullptr || wav == nullptr || count <= 0) return 0;
  if (c->samples->empty() && *c->firstBuffer) (*c->firstBuffer)();
  const std::size_t room = c->limit - std::min(c->limit, c->samples->size());
  const std::size_t n = std::min(room, static_cast<std::size_t>(count));
  c->samples->insert(c->samples->end(), wav, wav + n);
  return n < static_cast<std::size_t>(count) ? 1 : 0;  // 1: stop, the limit is reached
}

// The library's one state: set up once, then used by one call at a time.
struct Engine {
  std::mutex mutex;
  bool started = false;
  int sampleRate = 0;  // 0: the library could not start
  std::string voice;   // the voice set last
};

Engine& engine() {
  static Engine e;
  return e;
}

// The text as the library takes it: at most kMaxSpokenBytes, cut where a
// UTF-8 sequence begins, without NULs.
std::string spokenText(std::string_view text) {
  std::size_t cut = std::min(text.size(), kMaxSpokenBytes);
  while (cut > 0 && cut < text.size() && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
    --cut;
  std::string out(text.substr(0, cut));
  std::replace(out.begin(), out.end(), '\0', ' ');
  return out;
}

}  // namespace

SpokenWord synthesize(std::string_view textUtf8, SpeechLanguage language,
                      const std::function<void()>& firstBuffer) {
  SpokenWord out;
  Engine& e = engine();
  const std::lock_guard<std::mutex> lock(e.mutex);
  if (!e.started) {
    e.started = true;
    // Buffers of 20 ms: the first samples come early. Without data of its own
    // the library answers 0 or -1 instead of a rate, and is not asked again.
    const int rate =
        espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 20, nullptr, espeakINITIALIZE_DONT_EXIT);
    e.sampleRate = std::max(rate, 0);
    if (e.sampleRate > 0) espeak_SetSynthCallback(collectSamples);
  }
  if (e.sampleRate <= 0) {
    out.outcome = SpokenWord::Outcome::kNoVoiceData;
    return out;
  }
  out.outcome = SpokenWord::Outcome::kNoVoice;
  const std::string voice(voiceOf(language));
  if (e.voice != voice) {
    e.voice.clear();
    if (espeak_SetVoiceByName(voice.c_str()) != EE_OK) return out;
    e.voice = voice;
  }
  const std::string text = spokenText(textUtf8);
  Collector collector{&out.samples,
                      static_cast<std::size_t>(e.sampleRate) * kMaxSpokenSeconds, &firstBuffer};
  gCollecting = &collector;
  const espeak_ERROR status = espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0,
                                           espeakCHARS_UTF8, nullptr, nullptr);
  gCollecting = nullptr;
  if (status != EE_OK) {
    out.samples.clear();
    return out;
  }
  out.sampleRate = e.sampleRate;
  // A voice whose dictionary is missing speaks nothing but silence.
  trimSilence(out.samples, out.sampleRate);
  if (!out.samples.empty()) out.outcome = SpokenWord::Outcome::kSpoken;
  return out;
}

#endif

}  // namespace tavro2

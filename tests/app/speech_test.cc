// Spoken words, their WAV files and --pronounce, run in this process.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include "app/command_line.h"
#include "app/failing_rename.h"
#include "app/speech.h"
#include "app/storage.h"
#include "app/wav_file.h"
#include "test_util.h"

namespace tavro2::test {
namespace {

struct Wav {
  int rate = 0;
  std::vector<std::int16_t> samples;
};

// Reads a file's rate and samples, and checks its header is the one the
// writer makes for them (whose every byte the writer's test checks).
Wav parseWav(const std::string& b) {
  Wav w;
  auto at = [&](std::size_t i) { return static_cast<unsigned char>(b.at(i)); };
  if (b.size() < 44) return ADD_FAILURE() << "no WAV header", w;
  w.rate = at(24) | at(25) << 8 | at(26) << 16 | at(27) << 24;
  for (std::size_t i = 44; i + 1 < b.size(); i += 2)
    w.samples.push_back(static_cast<std::int16_t>(at(i) | at(i + 1) << 8));
  EXPECT_EQ(b, wavFileBytes(w.samples, w.rate));
  return w;
}

// A word as a listener hears it: a fraction of a second, clearly louder than silence.
void expectSpokenWord(const std::vector<std::int16_t>& samples, int rate, const char* word) {
  ASSERT_GT(rate, 0) << word;
  const double seconds = static_cast<double>(samples.size()) / rate;
  EXPECT_TRUE(seconds >= 0.2 && seconds <= 2.0) << word << ": " << seconds << " s";
  double sum = 0;
  int peak = 0;
  for (std::int16_t s : samples) sum += double(s) * s, peak = std::max(peak, std::abs(int(s)));
  EXPECT_GT(std::sqrt(sum / std::max<std::size_t>(samples.size(), 1)), 500) << word;
  EXPECT_GT(peak, 4000) << word;
  // Trimmed: sound starts and ends within the few milliseconds kept.
  const std::size_t keep = static_cast<std::size_t>(rate) * (kKeptSilenceMs + 1) / 1000;
  std::size_t first = 0, last = samples.size();
  while (first < samples.size() && std::abs(samples[first]) < 256) ++first;
  while (last > 0 && std::abs(samples[last - 1]) < 256) --last;
  EXPECT_LE(first, keep) << word;
  EXPECT_LE(samples.size() - last, keep) << word;
}

int runProgram(std::vector<std::string> args, std::string* err = nullptr) {
  args.insert(args.begin(), "tavro2");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  if (err) testing::internal::CaptureStderr();
  const int status = runCommandLine(static_cast<int>(args.size()), argv.data()).value_or(-1);
  if (err) *err = testing::internal::GetCapturedStderr();
  return status;
}

TEST(WavFileTest, HeaderSizesAndSamplesAndAnAtomicWrite) {
  using namespace std::string_literals;
  const std::vector<std::int16_t> samples{1, -1, 0x1234};
  EXPECT_EQ(wavFileBytes(samples, 22050),
            "RIFF\x2A\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x22\x56\0\0\x44\xAC\0\0\x02\0\x10\0"
            "data\x06\0\0\0\x01\0\xFF\xFF\x34\x12"s);
  EXPECT_EQ(wavFileBytes({}, 8000).size(), 44u);
  EXPECT_EQ(wavFileBytes(samples, 0), "");

  TempDir dir;
  const std::string path = dir.file("word.wav");
  ASSERT_TRUE(writeWavFile(path, samples, 16000));
  EXPECT_EQ(readFile(path), wavFileBytes(samples, 16000));
  {
    FailingRename failing;  // a crash before the rename leaves the old file whole
    EXPECT_FALSE(writeWavFile(path, {}, 16000));
  }
  EXPECT_EQ(readFile(path), wavFileBytes(samples, 16000));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
  EXPECT_FALSE(writeWavFile(dir.file("no-such-dir/word.wav"), samples, 16000));
}

TEST(SpeechTest, SilenceIsTrimmedButForAFewMilliseconds) {
  std::vector<std::int16_t> s(1000, 3);
  s[400] = 900, s[500] = -900;
  trimSilence(s, 10000, 5);  // 5 ms: 50 samples
  ASSERT_EQ(s.size(), 50u + 101 + 50);
  EXPECT_EQ(s[50], 900);
  EXPECT_EQ(s[150], -900);
  std::vector<std::int16_t> edge{900, 0, 0, 0, 900};
  trimSilence(edge, 10000, 5);  // nothing to cut, and no margin beyond the ends
  EXPECT_EQ(edge.size(), 5u);
  std::vector<std::int16_t> quiet(100, -255);
  trimSilence(quiet, 10000);
  EXPECT_TRUE(quiet.empty());
}

TEST(SpeechTest, WordsAreSpokenInTheirLanguageFromAnyThread) {
  if (!speechBuiltIn()) GTEST_SKIP() << "built without libespeak-ng";
  int firstBuffers = 0;
  const SpokenWord house = synthesize("house", SpeechLanguage::kEnglish, [&] { ++firstBuffers; });
  ASSERT_EQ(house.outcome, SpokenWord::Outcome::kSpoken);
  EXPECT_EQ(firstBuffers, 1);
  expectSpokenWord(house.samples, house.sampleRate, "house");
  const SpokenWord rumah = synthesize("rumah", SpeechLanguage::kIndonesian);
  ASSERT_EQ(rumah.outcome, SpokenWord::Outcome::kSpoken);
  expectSpokenWord(rumah.samples, rumah.sampleRate, "rumah");
  // Calls from several threads at once are served one at a time, each its
  // own word (the voice varies a little from call to call).
  const SpokenWord phrase = synthesize("terima kasih banyak", SpeechLanguage::kIndonesian);
  std::vector<SpokenWord> spoken(6);
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < spoken.size(); ++i)
    threads.emplace_back([&spoken, i] {
      spoken[i] = i % 2 ? synthesize("terima kasih banyak", SpeechLanguage::kIndonesian)
                        : synthesize("house", SpeechLanguage::kEnglish);
    });
  for (std::thread& t : threads) t.join();
  for (std::size_t i = 0; i < spoken.size(); ++i) {
    const double expected = static_cast<double>((i % 2 ? phrase : house).samples.size());
    EXPECT_NEAR(static_cast<double>(spoken[i].samples.size()), expected, expected * 0.05) << i;
  }
  // A text is bounded; a NUL does not end it early.
  const std::string longText(5000, 'a');
  const SpokenWord bounded = synthesize(longText, SpeechLanguage::kEnglish);
  EXPECT_LE(bounded.samples.size(),
            static_cast<std::size_t>(bounded.sampleRate) * kMaxSpokenSeconds);
  EXPECT_EQ(synthesize(std::string("\0house", 6), SpeechLanguage::kEnglish).outcome,
            SpokenWord::Outcome::kSpoken);
}

TEST(SpeechTest, PronounceWritesTheWordAsAWavFileInTheLanguageFoundOrChosen) {
  TempDir dir;
  std::string err;
  if (!speechBuiltIn()) {  // the build says it cannot speak, and writes nothing
    EXPECT_EQ(runProgram({"--pronounce", "house", "--wav", dir.file("h.wav")}, &err), 1);
    EXPECT_EQ(err, "tavro2: This build cannot speak (no libespeak-ng)\n");
    return;
  }
  writeDictionary(dir.path(), {{"house"}, {"kb rumah"}, {"lari", "rumah"}, {"run", "house"},
                               {}, {}});
  ASSERT_EQ(runProgram({"--pronounce", "house", "--wav", dir.file("h.wav"), "--dir", dir.path()},
                       &err),
            0)
      << err;
  const Wav house = parseWav(readFile(dir.file("h.wav")));
  expectSpokenWord(house.samples, house.rate, "house");
  ASSERT_EQ(runProgram({"--pronounce", "rumah", "--from", "id", "--wav", dir.file("r.wav"),
                        "--dir", dir.path()},
                       &err),
            0)
      << err;
  const Wav rumah = parseWav(readFile(dir.file("r.wav")));
  expectSpokenWord(rumah.samples, rumah.rate, "rumah");
  // Automatic: the side the word is found on (a base form's too), English
  // when neither; the settings' direction when it is not Automatic.
  const StoragePlaces places = storageIn(dir.path());
  const std::pair<const char*, SpeechLanguage> automatic[] = {
      {"house", SpeechLanguage::kEnglish},   {"lari", SpeechLanguage::kIndonesian},
      {"Larinya", SpeechLanguage::kIndonesian}, {"houses", SpeechLanguage::kEnglish},
      {"xqzv", SpeechLanguage::kEnglish}};
  for (const auto& [word, language] : automatic)
    EXPECT_EQ(pronounceLanguage(places, word, std::nullopt), language) << word;
  EXPECT_EQ(pronounceLanguage(places, "lari", Direction::kEnglishIndonesian),
            SpeechLanguage::kEnglish);
  writeFile(dir.file("Tavro2.ini"), "[General]\r\nLanguage=3\r\n");
  EXPECT_EQ(pronounceLanguage(places, "house", std::nullopt), SpeechLanguage::kIndonesian);
  // A file that cannot be written is said, with status 2.
  EXPECT_EQ(runProgram({"--pronounce", "house", "--from", "en", "--wav",
                        dir.file("none/h.wav"), "--dir", dir.path()},
                       &err),
            2);
  EXPECT_NE(err.find("cannot write"), std::string::npos) << err;
}

// Without the library's data nothing can be spoken: status 1 and why. The
// library starts once a process, so this runs in a process of its own.
TEST(SpeechDeathTest, WithoutVoiceDataPronounceSaysSo) {
  if (!speechBuiltIn()) GTEST_SKIP() << "built without libespeak-ng";
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        ::setenv("ESPEAK_DATA_PATH", TAVRO2_BUILD_DIR, 1);  // a directory without its files
        std::exit(runProgram({"--pronounce", "rumah", "--from", "id", "--wav", "/dev/null/x"}));
      },
      testing::ExitedWithCode(1), "cannot speak 'rumah': No voice data");
}

}  // namespace
}  // namespace tavro2::test

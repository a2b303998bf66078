#include "engine/render.h"

#include "lookup_fixture.h"

namespace tavro2 {
namespace {

constexpr std::uint32_t kBlue = 0x0000FF, kMaroon = 0x800000, kGreen = 0x008000, kRed = 0xFF0000,
                        kMagenta = 0xFF00FF, kTeal = 0x008080, kSkyBlue = 0xA6CAF0,
                        kSilver = 0xC0C0C0;

FormatRun bold(std::size_t start, std::size_t length) { return {start, length, true, {}, {}}; }
FormatRun colored(std::size_t start, std::size_t length, std::uint32_t color,
                  std::optional<std::uint32_t> background = {}) {
  return {start, length, true, color, background};
}

TEST(RenderTest, RunsAndWholeWordPositions) {
  const struct { std::string text, word; bool indonesian; std::vector<FormatRun> runs; } rows[] = {
      // The word, its form "running" and the marker; "lari" stays plain.
      {"run kki lari; running", "run", false, {bold(0, 3), colored(4, 3, kGreen), bold(14, 7)}},
      {"Run kb", "run", false, {colored(4, 2, kBlue)}},  // case counts
      {"grant ran", "ran", false, {bold(6, 3)}},         // whole words only
      // Every standalone first letter, punctuation being a boundary.
      {"abandon a. a, a b", "abandon", false, {bold(0, 7), bold(8, 1), bold(11, 1), bold(14, 1)}},
      // Every marker colour; "kk" must not match inside "kkt", nor "ks"
      // inside "ksam"; "ksam" and "ksamb" each match only themselves.
      {"kb kkt kki ks kd kk Sl Inf RR ksam ksamb",
       "zz",
       false,
       {colored(0, 2, kBlue), colored(3, 3, kMaroon), colored(7, 3, kGreen), colored(11, 2, kRed),
        colored(14, 2, kMagenta), colored(17, 2, kTeal), colored(20, 2, kMaroon, kSkyBlue),
        colored(23, 3, kBlue, kSilver), colored(27, 2, kBlue, kSilver),
        colored(30, 4, kGreen, kSilver), colored(35, 5, kGreen, kSilver)}},
      {"kkt ksamb kbx xkb", "zz", false, {colored(0, 3, kMaroon), colored(4, 5, kGreen, kSilver)}},
      // Markers are whole words of letters; punctuation bounds them.
      {"(kb), ks.", "zz", false, {colored(1, 2, kBlue), colored(6, 2, kRed)}},
      // A one-character word: the stem is empty, so the bare endings standing
      // alone are forms of the word. "ings" is no form of "x" ("xings" is).
      {"x ing ied ier iest ily xing ings",
       "x",
       false,
       {bold(0, 1), bold(2, 3), bold(6, 3), bold(10, 3), bold(14, 4), bold(19, 3), bold(23, 4)}},
      {"happyly happying happyings happyed happyd happys happyyings happyying happing happied "
       "happier happiest happily happy",
       "happy",
       false,
       {bold(0, 7), bold(8, 8), bold(17, 9), bold(27, 7), bold(35, 6), bold(42, 6), bold(49, 10),
        bold(60, 9), bold(70, 7), bold(78, 7), bold(86, 7), bold(94, 8), bold(103, 7),
        bold(111, 5)}},
      // Indonesian entries: no marker colours, no forms; only the word.
      {"lari kb run running l", "lari", true, {bold(0, 4)}},
      {"kb x kb", "kb", true, {bold(0, 2), bold(5, 2)}},
      // The word is marked last: a marker that is also the word stays coloured.
      {"ks ks", "ks", false, {colored(0, 2, kRed), colored(3, 2, kRed)}},
      // Searching on from one past each match finds overlapping matches.
      {"a a a", "a a", true, {bold(0, 5)}},
      // Windows-1252 letters and digits are not boundaries; other signs are.
      {"run\xE9 run2 \xC0run run\xB7 run\xA0", "run", true, {bold(15, 3), bold(20, 3)}},
      {"ice cream kb", "ice cream", false, {bold(0, 9), colored(10, 2, kBlue)}},
      // Adjacent stretches of different formatting are separate runs.
      {"kb-run ks", "run", false, {colored(0, 2, kBlue), bold(3, 3), colored(7, 2, kRed)}},
      // An empty word matches nothing and has no forms ("s" stays plain);
      // markers are still coloured.
      {"s kb ing", "", false, {colored(2, 2, kBlue)}},
      {"", "run", false, {}},
  };
  for (const auto& r : rows)
    EXPECT_EQ(renderEntryText(r.text, r.word, r.indonesian), r.runs) << r.text;

  // A note text, spaces and all, is one bold stretch.
  for (const std::string note : {"j. -ries", "j. -nies", "j. -cies", "j. -ties", "j. -bies",
                                 "j. -fies", "j. -lies", "j. -men", "-kseru"})
    EXPECT_EQ(renderEntryText("(" + note + ")", "zz", false), (std::vector{bold(1, note.size())}))
        << note;

  std::string text;  // a long entry is marked throughout
  for (int i = 0; i < 200; ++i) text += "run kb ";
  const auto runs = renderEntryText(text, "run", false);
  ASSERT_EQ(runs.size(), 400u);
  EXPECT_EQ(runs.back(), colored(text.size() - 3, 2, kBlue));
  const struct { const char *needle, *haystack; std::size_t pos; } positions[] = {
      {"cat", "cat", 1},   {"cat", "the cat sat", 5}, {"cat", "catch the cat", 11},
      {"cat", "catch", 0}, {"cat", "a cat, a cat.", 3}, {"cat", "concat cat", 8},
      {"cat", "Cat", 0},   {"cat", "ca", 0},          {"cat", "cat2 cat\xE9 cat", 11},
      {"", "abc", 1},      {"", "", 0},              {"cat", "", 0},
      {"a b", "a a b", 3},
  };
  for (const auto& r : positions) EXPECT_EQ(posWholeWord(r.needle, r.haystack), r.pos) << r.haystack;
}

TEST(RenderTest, MarkerMeanings) {
  // Every marker the renderer colours has a meaning.
  for (const char* marker : {"kb", "kkt", "kki", "ks", "kk", "kd", "ksam"})
    EXPECT_NE(markerMeaning(marker), "") << marker;
  EXPECT_EQ(markerMeaning("kki"), "kata kerja intransitif, intransitive verb");
  // Exact, case and all: a marker's prefix or longer word is none.
  for (const char* other : {"", "k", "KB", "kkt ", "ksamb", "kbx", "Sl", "lari"})
    EXPECT_EQ(markerMeaning(other), "") << other;
}

}  // namespace
}  // namespace tavro2

#include "engine/indonesian_affixes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavro2 {
namespace {

using Lines = std::vector<std::string>;

TEST(IndonesianCliticsTest, RootsWithoutCliticsOrReduplication) {
  const struct { const char* word; Lines roots; } rows[] = {
      {"rumahnya", {"rumah"}}, {"rumahku", {"rumah"}}, {"rumahmu", {"rumah"}},
      {"rumahnyalah", {"rumah"}}, {"bukumupun", {"buku"}}, {"rumahkukah", {"rumah"}},
      {"kubilang", {"bilang"}}, {"kukira", {"kira"}}, {"kuharap", {"harap"}},
      {"kaulihat", {"lihat"}},
      // Both ends: the enclitic first; one candidate when both give the same.
      {"kubawamu", {"kubawa", "bawamu"}}, {"kukuku", {"kuku"}},
      // A reduplication gives its half, after itself without the enclitic.
      {"anak-anak", {"anak"}}, {"benar-benar", {"benar"}},
      {"teman-temannya", {"teman-teman", "teman"}}, {"kupu-kupunyalah", {"kupu-kupu", "kupu"}},
      // Roots of three letters or more; a proclitic before a clitic is none.
      {"tanya", {}}, {"kamu", {}}, {"ibunya", {"ibu"}}, {"kaulah", {}}, {"kupun", {}},
      {"ibu-ibu", {"ibu"}}, {"ia-ia", {}},
      // Nothing else: particles alone, other hyphens, capitals, other letters.
      {"rumahlah", {}}, {"rumah", {}}, {"well-known", {}}, {"anak-anak-anak", {}},
      {"anak-anaknyaa", {}}, {"mother-in-law", {}}, {"Rumahnya", {}}, {"rumah'nya", {}},
      {"", {}}, {"-", {}}, {"nya", {}},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(indonesianCliticRoots(r.word), r.roots) << r.word;
    EXPECT_LE(r.roots.size(), kMaxCliticCandidates);
  }
}

TEST(IndonesianCliticsTest, NotesNameWhatWasTakenOff) {
  const std::string nya = " + -nya (his, her, its; the)";
  const struct {
    const char *word, *root, *translation;
    std::string note;
  } rows[] = {
      {"rumahnya", "rumah", "kb house", "rumah" + nya},
      {"rumahku", "rumah", "kb house", "rumah + -ku (my; me)"},
      {"rumahmu", "rumah", "", "rumah + -mu (your; you)"},
      {"rumahnyalah", "rumah", "", "rumah" + nya + " + -lah (emphasis)"},
      {"kubilang", "bilang", "kkt say", "ku- (I) + bilang"},
      {"kaulihat", "lihat", "kkt see", "kau- (you) + lihat"},
      {"teman-temannya", "teman", "kb friend", "teman, repeated," + nya},
      {"teman-temannya", "teman-teman", "", "teman-teman" + nya},
      {"kupu-kupunya", "kupu-kupu", "kb butterfly", "kupu-kupu" + nya},
      // A reduplication's meaning follows the first part-of-speech marker.
      {"anak-anak", "anak", "kb child", "anak, repeated (more than one, or all kinds of)"},
      {"benar-benar", "benar", "ks true; kkt be right",
       "benar, repeated (really, truly; or as an adverb)"},
      {"pelan-pelan", "pelan", "kk slowly", "pelan, repeated (really, truly; or as an adverb)"},
      {"pukul-pukul", "pukul", "(Sl) hit; kkt beat; kb hour",
       "pukul, repeated (again and again, or at leisure)"},
      {"jalan-jalan", "jalan", "kki walk; kb road", "jalan, repeated (again and again, or at leisure)"},
      {"ini-ini", "ini", "this", "ini, repeated"},
      {"kkta-kkta", "kkta", "kkta x; kbx y", "kkta, repeated"},  // whole words only
      // Not that root with clitics or repeated: no note.
      {"rumahnya", "ruma", "", ""}, {"keluarkan", "keluar", "", ""}, {"apapun", "apa", "", ""},
      {"anak-anak", "anak-anak", "", ""}, {"sebenarnya", "benar", "", ""},
      {"rumah", "rumah", "", ""},
  };
  for (const auto& r : rows)
    EXPECT_EQ(indonesianFormNote(r.word, r.root, r.translation), r.note) << r.word;
}

// The proclitics go with verbs: before any other root the word is mostly a name.
TEST(IndonesianCliticsTest, AProcliticNeedsAVerb) {
  EXPECT_TRUE(indonesianRootFits("kukira", "kira", "kk about; kkt guess"));
  EXPECT_TRUE(indonesianRootFits("kaupergi", "pergi", "kki go"));
  EXPECT_FALSE(indonesianRootFits("kutai", "tai", "kb feces"));
  EXPECT_FALSE(indonesianRootFits("kuantan", "antan", "pestle kkt"));
  EXPECT_TRUE(indonesianRootFits("maluku", "malu", "kb shame"));  // only proclitics are checked
  EXPECT_TRUE(indonesianRootFits("kutai", "kuta", "kb fort"));
}

}  // namespace
}  // namespace tavro2

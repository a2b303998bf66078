#!/usr/bin/env python3
"""Extracts the English-Indonesian WordNet join that tavro2-mkdict reads.

    tools/extract_wordnet.py --wordnet WNdb-3.0.tar.gz --bahasa DIR --out FILE.tsv.gz \
        [--tags-out TAGS.tsv.gz] [--frames-out FRAMES.tsv.gz]

--wordnet is Princeton WordNet 3.0 as released (dict/data.* and dict/index.sense);
--bahasa is the Wordnet Bahasa folder holding wn-data-ind.tab and wn-freq-ind.tab.
Only synsets with Indonesian lemmas are kept. The output is gzip'd UTF-8 text,
one synset a line, five tab-separated fields:

    01820302-v <TAB> v <TAB> enjoy#1#27|bask#2#1|... <TAB> derive or receive pleasure from <TAB> menikmati#3|...

The English lemmas carry their sense number for that lemma and part of speech
(1 is the most frequent sense) and the sense's tag count; underscores are
spaces. The gloss is the first definition, without examples. An Indonesian
lemma carries its count in wn-freq-ind.tab for that synset when it has one.
Lines starting with '#' are comments. The output is the same for the same
input (fixed gzip time stamp, sorted synsets).

--tags-out writes how often each English word is used in each part of speech:
the tag counts of its senses summed, one lower-case lemma a line, for the
lemmas with any tagged sense:

    go <TAB> 4 <TAB> 1882 <TAB> 3 <TAB> 0        (noun, verb, adjective, adverb)

Only senses whose lemma WordNet writes in lower case count, so "More" (Thomas
More) adds nothing to "more".

--frames-out writes what WordNet's generic verb frames say of each sense of a
verb, one lower-case lemma a line, one letter a sense in the order of the
lemma's sense numbers (the first letter is sense 1):

    eat <TAB> tiitbt

i: the frames that WordNet gives the lemma in that synset take no object
("eat a meal", sense 2); t: they take one ("take in solid food", sense 1);
b: some do, some do not; -: WordNet gives it none. See OBJECT_FRAMES below for
how each frame counts.
"""

import argparse
import gzip
import io
import os
import re
import sys
import tarfile

POS_OF_FILE = {"noun": "n", "verb": "v", "adj": "a", "adv": "r"}
POS_OF_SS_TYPE = {"1": "n", "2": "v", "3": "a", "4": "r", "5": "a"}
SEPARATORS = re.compile(r"[\t|#\r\n]")

# WordNet 3.0's generic verb frames (wninput(5WN)) by what follows the verb.
# A noun phrase as the object: "Somebody ----s something" (8), "... somebody"
# (9, 10), "Something ----s something" (11), and those with an object and a
# second object, a complement, a phrase or an infinitive (5, 14-21, 24, 25,
# 30, 31).
OBJECT_FRAMES = {5, 8, 9, 10, 11, 14, 15, 16, 17, 18, 19, 20, 21, 24, 25, 30, 31}
# No object: the verb alone (1, 2, "It is ----ing" 3, "Somebody's (body
# part) ----s" 23), with a phrase ("Something is ----ing PP" 4, "Somebody
# ----s PP" 22, "... to somebody" 12, 27, "... on something" 13), with the
# subject's adjective or noun (6, 7), or with a subject clause put last ("It
# ----s that CLAUSE" 34: it seems, it happens).
INTRANSITIVE_FRAMES = {1, 2, 3, 4, 6, 7, 12, 13, 22, 23, 27, 34}
# A clause ("that CLAUSE" 26, "whether INFINITIVE" 29) or a verb ("to
# INFINITIVE" 28, "INFINITIVE" 32, 35, "VERB-ing" 33) after the verb. Beside
# frames without an object they are what such a verb may take (agree that,
# agree to): the verb stays intransitive. On their own, a clause is the
# verb's object (say that, wonder whether) and a verb is no object (tend to,
# fail to, end up doing).
CLAUSE_FRAMES = {26, 29}
VERB_FRAMES = {28, 32, 33, 35}


def read_tar_members(path):
    wanted = {"dict/data." + name for name in POS_OF_FILE} | {"dict/index.sense"}
    texts = {}
    with tarfile.open(path, "r:gz") as tar:
        for member in tar:
            name = member.name.lstrip("./")
            if name in wanted and member.isfile():
                texts[name] = tar.extractfile(member).read().decode("utf-8")
    missing = wanted - texts.keys()
    if missing:
        sys.exit("extract_wordnet: %s lacks %s" % (path, ", ".join(sorted(missing))))
    return texts


def first_definition(gloss):
    """The gloss up to its first ';' outside quotes, examples left out."""
    parts, current, quoted = [], [], False
    for ch in gloss:
        if ch == '"':
            quoted = not quoted
        if ch == ";" and not quoted:
            parts.append("".join(current))
            current = []
        else:
            current.append(ch)
    parts.append("".join(current))
    for part in parts:
        part = part.strip()
        if part and not part.startswith('"'):
            return re.sub(r"\s+", " ", part)
    return ""


def parse_data(text, pos):
    """offset -> (lemmas in synset order, first definition)."""
    synsets = {}
    for line in text.splitlines():
        if not line or line.startswith(" "):
            continue  # the licence header lines start with two spaces
        head, _, gloss = line.partition(" | ")
        fields = head.split()
        offset, word_count = fields[0], int(fields[3], 16)
        lemmas = []
        for i in range(word_count):
            word = fields[4 + 2 * i]
            word = re.sub(r"\((a|p|ip)\)$", "", word)  # adjective position marks
            lemmas.append(word.replace("_", " "))
        synsets[offset + "-" + pos] = (lemmas, first_definition(gloss))
    return synsets


def index_sense_rows(text):
    """(lemma with spaces, synset, sense number, tag count) of each index.sense line."""
    for line in text.splitlines():
        fields = line.split()
        if len(fields) != 4:
            continue
        lemma, _, rest = fields[0].partition("%")
        pos = POS_OF_SS_TYPE.get(rest[:1])
        if pos:
            yield lemma.replace("_", " "), fields[1] + "-" + pos, int(fields[2]), int(fields[3])


def parse_verb_frames(text):
    """verb synset -> (lower-case lemmas in synset order, [(frame, word number)])."""
    synsets = {}
    for line in text.splitlines():
        if not line or line.startswith(" "):
            continue
        fields = line.partition(" | ")[0].split()
        word_count = int(fields[3], 16)
        lemmas = [fields[4 + 2 * i].lower().replace("_", " ") for i in range(word_count)]
        at = 4 + 2 * word_count
        at += 1 + 4 * int(fields[at])  # the pointers
        frames = []
        for _ in range(int(fields[at])):
            at += 3  # "+ frame word"
            frames.append((int(fields[at - 1]), int(fields[at], 16)))
        synsets[fields[0] + "-v"] = (lemmas, frames)
    return synsets


def transitivity(frames):
    """'i', 't' or 'b' for a lemma's frame numbers in one synset (see OBJECT_FRAMES);
    '-' for none."""
    if not frames:
        return "-"
    unknown = set(frames) - OBJECT_FRAMES - INTRANSITIVE_FRAMES - CLAUSE_FRAMES - VERB_FRAMES
    if unknown:
        sys.exit("extract_wordnet: unknown verb frames %s" % sorted(unknown))
    with_object = bool(frames & OBJECT_FRAMES)
    without = bool(frames & INTRANSITIVE_FRAMES)
    if with_object:
        return "b" if without else "t"
    if without:
        return "i"
    return "t" if frames & CLAUSE_FRAMES else "i"


def verb_senses(text, frames):
    """lower-case verb lemma -> one letter of transitivity per sense number."""
    senses = {}
    for lemma, synset, sense, _ in index_sense_rows(text):
        if synset not in frames:
            continue
        lemmas, synset_frames = frames[synset]
        word = lemmas.index(lemma.lower()) + 1
        own = {f for f, w in synset_frames if w in (0, word)}
        senses.setdefault(lemma.lower(), {})[sense] = transitivity(own)
    return {lemma: "".join(kinds.get(n, "-") for n in range(1, max(kinds) + 1))
            for lemma, kinds in senses.items()}


def lemma_tags(text, english):
    """lower-case lemma -> tag counts per part of speech (n, v, a, r)."""
    order = "nvar"
    totals = {}
    for lemma, synset, _, tags in index_sense_rows(text):
        lemmas = english.get(synset, ([],))[0]
        if tags == 0 or lemma not in lemmas:
            continue  # written with capitals there: a name, an acronym or a symbol
        counts = totals.setdefault(lemma, [0, 0, 0, 0])
        counts[order.index(synset[-1])] += tags
    return totals


def write_gzip(path, text):
    data = text.encode("utf-8")
    with open(path + ".tmp", "wb") as raw:
        with gzip.GzipFile(filename="", mode="wb", fileobj=raw, mtime=0, compresslevel=9) as gz:
            gz.write(data)
    os.replace(path + ".tmp", path)


def parse_index_sense(text):
    """(lower-case lemma, synset) -> (sense number, tag count)."""
    return {(lemma.lower(), synset): (sense, tags)
            for lemma, synset, sense, tags in index_sense_rows(text)}


def read_bahasa(folder):
    lemmas, counts = {}, {}
    with open(folder + "/wn-data-ind.tab", encoding="utf-8") as f:
        for line in f:
            fields = line.rstrip("\n").split("\t")
            if len(fields) != 3 or fields[1] != "ind:lemma":
                continue
            word = re.sub(r"\s+", " ", fields[2]).strip()
            if not word or SEPARATORS.search(word):
                continue
            bucket = lemmas.setdefault(fields[0], [])
            if word not in bucket:
                bucket.append(word)
    with open(folder + "/wn-freq-ind.tab", encoding="utf-8") as f:
        for line in f:
            fields = line.rstrip("\n").split("\t")
            if len(fields) == 3 and fields[2].isdigit():
                counts[(fields[0], fields[1].strip())] = int(fields[2])
    return lemmas, counts


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--wordnet", required=True)
    parser.add_argument("--bahasa", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--tags-out")
    parser.add_argument("--frames-out")
    args = parser.parse_args()

    texts = read_tar_members(args.wordnet)
    english = {}
    for name, pos in POS_OF_FILE.items():
        english.update(parse_data(texts["dict/data." + name], pos))
    senses = parse_index_sense(texts["dict/index.sense"])
    indonesian, counts = read_bahasa(args.bahasa)

    out = io.StringIO()
    out.write("# Princeton WordNet 3.0 synsets joined with Wordnet Bahasa's Indonesian lemmas;\n")
    out.write("# made by tools/extract_wordnet.py. Fields: synset, part of speech,\n")
    out.write("# English lemma#sense#tags|..., first definition, Indonesian lemma[#count]|...\n")
    missing = 0
    for synset in sorted(indonesian):
        if synset not in english:
            missing += 1
            continue
        lemmas, gloss = english[synset]
        items = []
        for lemma in lemmas:
            if SEPARATORS.search(lemma):
                continue
            sense, tags = senses.get((lemma.lower(), synset), (99, 0))
            items.append("%s#%d#%d" % (lemma, sense, tags))
        words = []
        for word in indonesian[synset]:
            count = counts.get((synset, word))
            words.append("%s#%d" % (word, count) if count else word)
        if not items:
            continue
        gloss = SEPARATORS.sub(" ", gloss)
        out.write("\t".join([synset, synset[-1], "|".join(items), gloss, "|".join(words)]) + "\n")
    if missing:
        print("extract_wordnet: %d synsets not in WordNet 3.0" % missing, file=sys.stderr)

    write_gzip(args.out, out.getvalue())

    if args.tags_out:
        tags = io.StringIO()
        tags.write("# How often WordNet 3.0's corpus uses each lower-case lemma as a noun, verb,\n")
        tags.write("# adjective and adverb (tag counts of index.sense summed); made by\n")
        tags.write("# tools/extract_wordnet.py. Fields: lemma, n, v, a, r.\n")
        for lemma, counts in sorted(lemma_tags(texts["dict/index.sense"], english).items()):
            if SEPARATORS.search(lemma):
                continue
            tags.write("\t".join([lemma] + [str(c) for c in counts]) + "\n")
        write_gzip(args.tags_out, tags.getvalue())

    if args.frames_out:
        frames = io.StringIO()
        frames.write("# Whether WordNet 3.0's generic verb frames take an object, for each sense of\n")
        frames.write("# a lower-case verb lemma in sense-number order: i none, t all, b some;\n")
        frames.write("# made by tools/extract_wordnet.py. Fields: lemma, letters.\n")
        kinds = verb_senses(texts["dict/index.sense"], parse_verb_frames(texts["dict/data.verb"]))
        for lemma, letters in sorted(kinds.items()):
            if not SEPARATORS.search(lemma):
                frames.write(lemma + "\t" + letters + "\n")
        write_gzip(args.frames_out, frames.getvalue())


if __name__ == "__main__":
    main()

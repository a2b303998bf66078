#!/usr/bin/env python3
"""Extracts the English-Indonesian WordNet join that tavro2-mkdict reads.

    tools/extract_wordnet.py --wordnet WNdb-3.0.tar.gz --bahasa DIR --out FILE.tsv.gz \
        [--tags-out TAGS.tsv.gz]

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


if __name__ == "__main__":
    main()

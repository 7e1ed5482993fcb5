"""The Chinese words behind the text rule's word table, and their split.

Two word lists with frequencies: jieba's dictionary (Debian: python3-jieba),
about 350,000 simplified words counted in a large body of text, and rime's
essay (Debian: rime-essay), about 310,000 traditional words. opencc gives each
word its form in the other script. One word in eight, chosen by a hash of its
simplified form, is held out: the table's two-character pieces are made from
the others, and the text rule is measured on the held-out words only, so that
the measurement does not see the words that the table was made from.
"""

import subprocess
import zlib

JIEBA = "/usr/lib/python3/dist-packages/jieba/dict.txt"
ESSAY = "/usr/share/rime-data/essay.txt"
# The number of tokens each list was counted over, near enough: a word's share
# of its list is its frequency over this.
TOKENS = {"jieba": 60101967, "essay": 204376829}


def is_han(character):
    return "\u4e00" <= character <= "\u9fff" or "\u3400" <= character <= "\u4dbf"


def held_out(simplified):
    return zlib.crc32(simplified.encode("utf-8")) % 8 == 0


def convert(config, texts):
    """texts converted by opencc with that configuration, in order."""
    converted = subprocess.run(
        ["opencc", "-c", config],
        input="\n".join(texts) + "\n",
        capture_output=True,
        text=True,
        check=True,
    ).stdout.split("\n")
    return converted[: len(texts)]


def _read(path, separator):
    with open(path, encoding="utf-8") as lines:
        for line in lines:
            fields = line.rstrip("\n").split(separator)
            if len(fields) >= 2 and fields[0] and all(is_han(c) for c in fields[0]):
                yield fields[0], int(fields[1])


def words():
    """(simplified, traditional, share of its list) for every word of the two
    lists made of Han characters only, whose other form has as many characters."""
    jieba = list(_read(JIEBA, " "))
    essay = list(_read(ESSAY, "\t"))
    found = []
    for (word, count), other in zip(jieba, convert("s2t.json", [w for w, _ in jieba])):
        found.append((word, other, (count + 1) / TOKENS["jieba"]))
    for (word, count), other in zip(essay, convert("t2s.json", [w for w, _ in essay])):
        found.append((other, word, (count + 1) / TOKENS["essay"]))
    return [w for w in found if len(w[0]) == len(w[1])]

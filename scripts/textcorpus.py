"""The Chinese word list behind the text rule's character table, and its split.

The list is jieba's dictionary (Debian: python3-jieba): about 350,000 words with
their frequencies in a large body of text. Every fourth word, chosen by a hash
of the word, is held out: the table is made from the others, and the text rule
is measured on the held-out words only, so the measurement does not see the
words the table was made from.
"""

import subprocess
import zlib

WORD_LIST = "/usr/lib/python3/dist-packages/jieba/dict.txt"


def is_han(character):
    return "\u4e00" <= character <= "\u9fff" or "\u3400" <= character <= "\u4dbf"


def words():
    """(word, frequency) for every word of the list made of Han characters only."""
    with open(WORD_LIST, encoding="utf-8") as lines:
        for line in lines:
            fields = line.split()
            if len(fields) >= 2 and all(is_han(c) for c in fields[0]):
                yield fields[0], int(fields[1])


def held_out(word):
    return zlib.crc32(word.encode("utf-8")) % 4 == 0


def traditional(texts):
    """The traditional forms of texts, in order, converted by opencc."""
    converted = subprocess.run(
        ["opencc", "-c", "s2t.json"],
        input="\n".join(texts) + "\n",
        capture_output=True,
        text=True,
        check=True,
    ).stdout.split("\n")
    return converted[: len(texts)]

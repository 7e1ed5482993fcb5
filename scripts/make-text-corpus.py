#!/usr/bin/env python3
"""Writes the corpus that the text rule is measured on: game-like names made of
the held-out words of the word list (see textcorpus.py), which the character
table never saw. Common words (the most frequent) and rare ones (drawn from the
rest), some with affixes such as x100, +10% and Lv5, each stored three ways:
simplified in GB18030, traditional (by opencc) in Big5 where Big5 holds it, and
traditional in GB18030. One line per stored name: class, name, bytes in hex.

Usage: make-text-corpus.py OUTPUT   (needs python3-jieba and opencc)
"""

import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import textcorpus  # noqa: E402

COMMON = 1500
RARE = 1500
AFFIXES = ["x100", "+10%", "Lv5", "·改", "(绑定)", "+3", "之魂", "★", "_01", "Ⅱ"]


def main():
    words = sorted(
        ((w, f) for w, f in textcorpus.words() if textcorpus.held_out(w) and 2 <= len(w) <= 6),
        key=lambda wf: -wf[1],
    )
    rng = random.Random(1)
    chosen = [w for w, _ in words[:COMMON]] + rng.sample([w for w, _ in words[COMMON:]], RARE)
    names = []
    for word in chosen:
        roll = rng.random()
        if roll < 0.2:
            word += rng.choice(AFFIXES)
        elif roll < 0.3:
            word = rng.choice(AFFIXES) + word
        names.append(word)
    traditional = textcorpus.traditional(names)

    with open(sys.argv[1], "w", encoding="utf-8") as out:
        for simplified, converted in zip(names, traditional):
            stored = [("simplified-gb18030", simplified, "gb18030"),
                      ("traditional-big5", converted, "big5"),
                      ("traditional-gb18030", converted, "gb18030")]
            for name_class, text, encoding in stored:
                try:
                    data = text.encode(encoding)
                except UnicodeEncodeError:
                    continue
                out.write("%s\t%s\t%s\n" % (name_class, text, data.hex()))


if __name__ == "__main__":
    main()

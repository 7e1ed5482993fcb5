#!/usr/bin/env python3
"""Writes the corpus that the text rule is measured on: game-like names made of
the held-out words (see textcorpus.py), whose pieces the word table never saw.
Common words (the most frequent) and rare ones (drawn from the rest), some with
affixes such as x100, +10%, Lv5, (绑定) and 【】, each stored three ways:
simplified in GB18030, traditional in Big5 where Big5 holds it, and traditional
in GB18030; and names mixed with ASCII and full-width punctuation, stored one
of the three ways.

Then three files of 10,000 names each, as games ship them and as this editor
leaves them: a Big5 file of traditional names, a GB18030 file of simplified
names, and a Big5 file in which one name in ten was typed into the editor and so
is GB18030.

One line per stored name: its class (or file), the name, its bytes in hex.

Usage: make-text-corpus.py OUTPUT   (needs python3-jieba, rime-essay and opencc)
"""

import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import textcorpus  # noqa: E402

COMMON = 3000
RARE = 3000
MIXED = 2000
FILE_NAMES = 10000
AFTER = ["x100", "+10%", "Lv5", "·改", "(绑定)", "+3", "★", "_01", "Ⅱ", "+1", "之魂", "x5",
         "（绑定）", "！"]
AROUND = [("【", "】"), ("★", ""), ("Lv5", ""), ("[", "]"), ("·", ""), ("「", "」")]
MIXED_BEFORE = ["", "NPC_", "A级", "【", "（", "boss-", "１号"]
MIXED_AFTER = ["", "：", "！", "）", " v2", "·Ⅲ", "%", "＋５", "x10"]


def stored_ways(simplified, traditional):
    """(class, text, bytes) of each way the name is stored that its encoding holds."""
    for name_class, text, encoding in (("simplified-gb18030", simplified, "gb18030"),
                                       ("traditional-big5", traditional, "big5"),
                                       ("traditional-gb18030", traditional, "gb18030")):
        try:
            yield name_class, text, text.encode(encoding)
        except UnicodeEncodeError:
            pass


def main():
    shares = {}
    for simplified, traditional, share in textcorpus.words():
        if textcorpus.held_out(simplified) and 2 <= len(simplified) <= 6:
            key = (simplified, traditional)
            shares[key] = shares.get(key, 0) + share
    words = [key for key, _ in sorted(shares.items(), key=lambda item: -item[1])]
    rng = random.Random(1)
    chosen = words[:COMMON] + rng.sample(words[COMMON:], RARE)

    names = []
    for simplified, traditional in chosen:
        roll = rng.random()
        if roll < 0.2:
            after = rng.choice(AFTER)
            simplified, traditional = simplified + after, traditional + after.replace("绑", "綁")
        elif roll < 0.3:
            before, after = rng.choice(AROUND)
            simplified, traditional = before + simplified + after, before + traditional + after
        names.append((simplified, traditional))

    lines = []
    stored = {}
    for simplified, traditional in names:
        for name_class, text, data in stored_ways(simplified, traditional):
            lines.append((name_class, text, data))
            stored.setdefault(name_class, []).append((text, data))
    for simplified, traditional in rng.sample(chosen, MIXED):
        before, after = rng.choice(MIXED_BEFORE), rng.choice(MIXED_AFTER)
        traditional_before = before.replace("级", "級").replace("号", "號")
        ways = list(stored_ways(before + simplified + after,
                                traditional_before + traditional + after))
        _, text, data = rng.choice(ways)
        lines.append(("mixed", text, data))

    typed = stored["simplified-gb18030"] + stored["traditional-gb18030"]
    for _ in range(FILE_NAMES):
        lines.append(("file:big5", *rng.choice(stored["traditional-big5"])))
        lines.append(("file:gb18030", *rng.choice(stored["simplified-gb18030"])))
        edited = rng.choice(typed) if rng.random() < 0.1 else rng.choice(stored["traditional-big5"])
        lines.append(("file:big5-edited", *edited))

    with open(sys.argv[1], "w", encoding="utf-8") as out:
        for name_class, text, data in lines:
            out.write("%s\t%s\t%s\n" % (name_class, text, data.hex()))


if __name__ == "__main__":
    main()

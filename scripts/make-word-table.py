#!/usr/bin/env python3
"""Writes document/wordtable.inc, the table that the text rule weighs a reading
of a string with (see textcorpus.py for the words it is made from).

A reading costs the bits of its cheapest split into single characters and
two-character pieces of words, in simplified and in traditional text, the
cheaper of the two. The table holds:

- every Han character of the words, with its cost in bits in each script:
  -log2 of its share, where a one-character word counts its frequency and every
  longer word half of it for each place the character stands in;
- the two-character pieces of the words that are not held out, with their cost
  in the script (or both) that they are written in: a two-character word is its
  own piece, a longer word counts for each pair of neighbours in it. Longer
  pieces decided no more readings than their pairs did, so the table has none.

A word counts with the square root of its share of its list: counted in full,
the few most frequent words decide how common their characters look. A piece
is kept when it makes a reading at least MIN_BONUS bits cheaper than its two
characters alone; one that saves less changed no decision in the measurement
and only takes room. Costs are stored in quarter bits.

Usage: make-word-table.py [OUTPUT]   (needs python3-jieba, rime-essay and opencc)
"""

import math
import os
import sys
from collections import defaultdict

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import textcorpus  # noqa: E402

MIN_BONUS = 3.0
QUARTERS = 4
# A character of a piece is named by its place among the characters of pieces,
# in 14 bits.
PIECE_CHARACTER_BITS = 14
RARE_EXTRA_BITS = 3
# A bit per hash of a pair of characters of pieces, set for each piece: most
# pairs of a text are no piece, and the bit says so with one look where the
# search of the pieces took several, each a miss of the cache.
FILTER_BITS = 21


def pair_hash(first, second):
    """The filter's bit of a pair of places; recordtext.cpp computes the same."""
    return (((first << 14) | second) * 2654435761 & 0xFFFFFFFF) >> (32 - FILTER_BITS)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "document", "wordtable.inc")

    characters = [defaultdict(float), defaultdict(float)]
    pieces = [defaultdict(float), defaultdict(float)]
    for simplified, traditional, share in textcorpus.words():
        weight = math.sqrt(share)
        for script, word in enumerate((simplified, traditional)):
            # opencc may give a character beyond the 16-bit range, which the
            # table does not hold.
            if not all(textcorpus.is_han(c) for c in word):
                continue
            if len(word) == 1:
                characters[script][word] += weight
                continue
            for character in word:
                characters[script][character] += weight / 2
            if not textcorpus.held_out(simplified):
                for i in range(len(word) - 1):
                    pieces[script][word[i:i + 2]] += weight

    character_bits, piece_bits = [], []
    for script in (0, 1):
        total = sum(characters[script].values()) + sum(pieces[script].values())
        character_bits.append({c: -math.log2(v / total) for c, v in characters[script].items()})
        piece_bits.append({p: -math.log2(v / total) for p, v in pieces[script].items()})
    rare = max(max(bits.values()) for bits in character_bits) + RARE_EXTRA_BITS

    def bits_of(character, script):
        return character_bits[script].get(character, rare)

    kept = defaultdict(list)
    for script in (0, 1):
        for piece, bits in piece_bits[script].items():
            if bits_of(piece[0], script) + bits_of(piece[1], script) - bits >= MIN_BONUS:
                kept[piece].append((script, bits))

    def quarters(bits):
        return min(255, round(bits * QUARTERS))

    piece_characters = sorted({c for piece in kept for c in piece})
    if len(piece_characters) >= 1 << PIECE_CHARACTER_BITS:
        sys.exit("make-word-table.py: %d characters of pieces; at most %d fit"
                 % (len(piece_characters), (1 << PIECE_CHARACTER_BITS) - 1))
    place = {c: i for i, c in enumerate(piece_characters)}
    all_characters = sorted(set(character_bits[0]) | set(character_bits[1]))

    rows = [0] * (len(piece_characters) + 1)
    entries = []
    for piece in sorted(kept, key=lambda p: (place[p[0]], place[p[1]])):
        scripts = sum(1 << script for script, _ in kept[piece])
        bits = sum(b for _, b in kept[piece]) / len(kept[piece])
        entries.append((place[piece[1]] << 10) | (scripts << 8) | quarters(bits))
        rows[place[piece[0]] + 1] += 1
    for i in range(1, len(rows)):
        rows[i] += rows[i - 1]
    filter_words = [0] * ((1 << FILTER_BITS) // 64)
    for piece in kept:
        bit = pair_hash(place[piece[0]], place[piece[1]])
        filter_words[bit // 64] |= 1 << (bit % 64)

    def numbers(values, per_line=12):
        values = list(values)
        return "".join("    " + ", ".join(str(v) for v in values[i:i + per_line]) + ",\n"
                       for i in range(0, len(values), per_line))

    with open(output, "w", encoding="utf-8") as out:
        out.write("// Generated by scripts/make-word-table.py from jieba's dictionary and rime's\n"
                  "// essay; do not edit. Costs in quarter bits.\n\n")
        out.write("constexpr int RareHanCost = %d;\n\n" % quarters(rare))
        out.write("// Sorted by character: the character, its cost in simplified and in\n"
                  "// traditional text, and its place among the characters of pieces (or\n"
                  "// NoPieces).\n")
        out.write("constexpr TableCharacter TableCharacters[] = {\n")
        for c in all_characters:
            out.write("    { 0x%04x, %d, %d, %d },\n" % (
                ord(c), quarters(bits_of(c, 0)), quarters(bits_of(c, 1)),
                place.get(c, (1 << 15) - 1)))
        out.write("};\n\n")
        out.write("// Where the pieces that begin with each character of pieces start in\n"
                  "// Pieces, and where the last ones end.\n")
        out.write("constexpr quint32 PieceRows[] = {\n%s};\n\n" % numbers(rows))
        out.write("// Per piece, sorted: the place of its second character << 10, the scripts\n"
                  "// it is written in << 8 (1 simplified, 2 traditional), and its cost.\n")
        out.write("constexpr quint32 Pieces[] = {\n%s};\n\n" % numbers(entries))
        out.write("// Bit pairHash(first, second) is set for every piece (see pairHash()).\n")
        out.write("constexpr int PieceFilterBits = %d;\n" % FILTER_BITS)
        out.write("constexpr quint64 PieceFilter[] = {\n%s};\n"
                  % numbers(("0x%016xull" % w for w in filter_words), 4))
    size = len(all_characters) * 6 + len(rows) * 4 + len(entries) * 4 + len(filter_words) * 8
    print("%s: %d characters, %d pieces, %d bytes of tables"
          % (output, len(all_characters), len(entries), size))


if __name__ == "__main__":
    main()

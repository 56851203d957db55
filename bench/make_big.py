#!/usr/bin/env python3
"""Writes the large inputs of the whole-process benchmarks (bench/whole.py).

    make_big.py project OUT_DIR [--keys N] [--languages en,de]
    make_big.py file OUT.strings --megabytes N

A project holds one Localizable.strings per language with N commented entries
(about 84 bytes each); a file is one language's Localizable.strings grown to
about N megabytes. The output is the same for the same arguments.
"""
import argparse
import os
import random

WORDS = ("save open close delete file folder project language translation text "
         "value key comment status missing copy paste undo redo settings window "
         "help about export import memory scan choose cancel ok warning error "
         "grüße straße naïve café").split()


def sentence(rng, lo, hi):
    text = " ".join(rng.choice(WORDS) for _ in range(rng.randint(lo, hi)))
    roll = rng.random()
    if roll < 0.04:
        text += ' \\"quoted\\"'
    elif roll < 0.06:
        text += "\\nsecond line"
    elif roll < 0.08:
        text += " %@ and %d"
    return text[:1].upper() + text[1:]


def entries(seed, count):
    rng = random.Random(seed)
    for k in range(count):
        yield f"localizable.key.{k}", sentence(rng, 1, 6), sentence(rng, 1, 4)


def write(path, language, keys, seed=1):
    os.makedirs(os.path.dirname(path) or ".", exist_ok=True)
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n")
        for key, value, comment in entries(seed, keys):
            text = value if language == "en" else f"[{language}] {value}"
            f.write(f"/* {comment} */\n\"{key}\" = \"{text}\";\n\n")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("what", choices=["project", "file"])
    ap.add_argument("out")
    ap.add_argument("--keys", type=int, default=250000)
    ap.add_argument("--languages", default="en,de")
    ap.add_argument("--megabytes", type=int, default=100)
    a = ap.parse_args()
    if a.what == "project":
        for language in a.languages.split(","):
            write(os.path.join(a.out, f"{language}.lproj", "Localizable.strings"), language, a.keys)
    else:
        # About 84 bytes an entry.
        write(a.out, "en", a.megabytes * 1024 * 1024 // 84)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Writes a large String Catalog for the catalog benchmarks (BM_Catalog* in
bench/bench_catalog.cpp).

    make_catalog.py OUT_DIR [--keys N] [--languages N]

OUT_DIR/Localizable.xcstrings holds N keys (default 10,000) translated into
that many languages (default 20, English the source) in the layout Xcode
writes: two-space indentation, " : " between key and value, keys sorted. One
key in ten is a plural with "one" and "other", one in fifty varies by device;
states are mostly "translated", some "needs_review", "new" and "stale". The
output is the same for the same arguments.
"""
import argparse
import json
import os
import random

LANGUAGES = ("en de fr es it ja ko nl pt-BR ru sv tr uk zh-Hans zh-Hant pl da fi "
             "nb cs ar he hi id th vi").split()
WORDS = ("save open close delete file folder project language translation text "
         "value key comment status missing copy paste undo redo settings window "
         "help about export import memory scan choose cancel grüße straße café").split()


def sentence(rng, lo, hi):
    text = " ".join(rng.choice(WORDS) for _ in range(rng.randint(lo, hi)))
    return text[:1].upper() + text[1:]


def state(rng):
    roll = rng.random()
    if roll < 0.9:
        return "translated"
    return ("needs_review", "new", "stale")[int((roll - 0.9) * 30) % 3]


def unit(rng, value):
    return {"stringUnit": {"state": state(rng), "value": value}}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("out")
    parser.add_argument("--keys", type=int, default=10000)
    parser.add_argument("--languages", type=int, default=20)
    args = parser.parse_args()
    rng = random.Random(7)
    languages = LANGUAGES[:args.languages]
    strings = {}
    for k in range(args.keys):
        key = "catalog.key.%d" % k
        kind = "plural" if k % 10 == 3 else "device" if k % 50 == 7 else "plain"
        if kind == "plural":
            key = "%lld " + sentence(rng, 1, 3).lower() + " " + str(k)
        localizations = {}
        for language in languages:
            text = sentence(rng, 2, 8) + " " + language
            if kind == "plural":
                localization = {"variations": {"plural": {
                    "one": unit(rng, "%lld " + text), "other": unit(rng, "%lld " + text + "s")}}}
            elif kind == "device":
                localization = {"variations": {"device": {
                    "iphone": unit(rng, "Tap " + text), "other": unit(rng, "Click " + text)}}}
            else:
                localization = unit(rng, text)
            localizations[language] = localization
        entry = {"localizations": localizations}
        if k % 7 == 0:
            entry["comment"] = sentence(rng, 3, 9)
        strings[key] = entry
    catalog = {"sourceLanguage": "en", "strings": strings, "version": "1.0"}
    os.makedirs(args.out, exist_ok=True)
    with open(os.path.join(args.out, "Localizable.xcstrings"), "w", encoding="utf-8") as out:
        out.write(json.dumps(catalog, indent=2, separators=(",", " : "), ensure_ascii=False, sort_keys=True))


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Writes a translation memory and a project for the fill benchmark (bench/whole.py).

    make_memory.py MEMORY.sqlite PROJECT_DIR [--records N] [--rows N]

The memory holds N records as a scan of many apps leaves it: English texts
repeat, most a few dozen times and some hundreds of times (57 records a text
on average), each record with a handful of other languages. The project has
one Localizable.strings in en, de and fr; every row's English text is one of
the memory's and German and French are missing. The output is the same for
the same arguments.
"""
import argparse
import os
import random
import sqlite3
import urllib.parse

CODES = ["ar", "ca", "cs", "da", "de", "el", "en", "en_AU", "en_CA", "en_GB", "en_US", "es", "es_ES",
         "es_MX", "fi", "fr", "fr_CA", "he", "hi", "hr", "hu", "id", "it", "ja", "ko", "ms", "nb", "nl",
         "pl", "pt", "pt_BR", "pt_PT", "ro", "ru", "sk", "sv", "th", "tr", "uk", "vi", "zh_HK", "zh_Hans",
         "zh_Hant"]
WORDS = "save open close delete file folder project language text value key copy paste settings help".split()


def encode(text):
    return urllib.parse.quote(text, safe="-._~!$&'()*+,;=:@/?").replace("%5Cn", "%0A")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("memory")
    ap.add_argument("project")
    ap.add_argument("--records", type=int, default=200000)
    ap.add_argument("--rows", type=int, default=2000)
    a = ap.parse_args()
    rng = random.Random(7)
    distinct = a.records // 57
    texts = [" ".join(rng.choice(WORDS) for _ in range(rng.randint(1, 5))) + f" {i}" for i in range(distinct)]
    # A long tail: text i is drawn with weight 1/(i+10), capped near 541 records.
    weights = [1.0 / (i + 10) for i in range(distinct)]
    if os.path.exists(a.memory):
        os.remove(a.memory)
    db = sqlite3.connect(a.memory)
    db.execute("CREATE TABLE IF NOT EXISTS tbl_strings (idx INTEGER PRIMARY KEY, search_by TEXT UNIQUE, "
               + ", ".join(f"{c} TEXT" for c in CODES) + ")")
    counts = {}
    chosen = rng.choices(range(distinct), weights=weights, k=a.records)
    for record, t in enumerate(chosen):
        if counts.get(t, 0) >= 541:
            t = rng.randrange(distinct)
        counts[t] = counts.get(t, 0) + 1
        languages = ["en"] + rng.sample([c for c in CODES if c != "en"], rng.randint(1, 8))
        values = [encode(f"key.{record}")] + [encode(texts[t] if c == "en" else f"[{c}] {texts[t]}")
                                              for c in languages]
        db.execute(f"INSERT INTO tbl_strings (search_by, {', '.join(languages)}) VALUES "
                   f"({', '.join('?' * len(values))})", values)
    db.commit()
    db.close()
    used = [t for t in range(distinct) if counts.get(t)]
    for language in ("en", "de", "fr"):
        folder = os.path.join(a.project, f"{language}.lproj")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "Localizable.strings"), "w", encoding="utf-8") as f:
            f.write("\n")
            if language != "en":
                f.write('"present" = "x";\n')
                continue
            for row in range(a.rows):
                f.write(f"/* Row {row} */\n\"row.{row}\" = \"{texts[rng.choice(used)]}\";\n\n")


if __name__ == "__main__":
    main()

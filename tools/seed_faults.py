#!/usr/bin/env python3
"""Seeds one-line faults into a scratch copy of the tree and runs the suite on each.

    tools/seed_faults.py [--only N,N,...] [--keep DIR | --tree DIR]

The working tree (tracked files, uncommitted changes included) is copied to a
scratch folder and built once; the suite must pass there. With --tree, DIR is
a checkout (with its build/ folder) used as it is instead: each fault is
undone before the next. Then each fault is applied alone and the test
binaries are run, the one of the fault's own folder first, until one fails: the
fault is caught when any does. A fault whose line is no longer in its file is
reported as stale, one that does not compile as such. Prints a table and the
count caught. Takes a while: one incremental build per fault. Not part of ./test.
"""
import argparse
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time

# (file, text as it stands, text with the fault). Each changes one line and
# must occur exactly once in its file.
FAULTS = [
    ("src/model/stringswriter.cpp",
     "} else if (c == u'\"') {", "} else if (c == u'\\'') {"),
    ("src/model/stringsreader.cpp",
     "c == 0x85 || c == 0x2028 || c == 0x2029;", "c == 0x85 || c == 0x2028;"),
    ("src/model/heldtext.cpp",
     "if (e >= u'0' && e <= u'7') {", "if (e >= u'0' && e <= u'6') {"),
    ("src/model/htmlentities.cpp",
     "if (code > 0x10FFFF)", "if (code > 0x10FFFFF)"),
    ("src/model/textfile.cpp",
     "if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))", "if (code > 0x10FFFF)"),
    ("src/model/textorder.cpp",
     "return codePointRank(pa[i]) < codePointRank(pb[i]) ? -1 : 1;",
     "return codePointRank(pa[i]) < codePointRank(pb[i]) ? 1 : -1;"),
    ("src/model/plistreader.cpp",
     "m_text[m_pos] == QChar(0xFEFF)", "m_text[m_pos] == QChar(0xFFFE)"),
    ("src/model/projectmodel.cpp",
     "        if (!row->contains(language))\n            missing.append(language);",
     "        if (!row->contains(language) && language != languages.last())\n            missing.append(language);"),
    ("src/model/projectload.cpp",
     "if (!content.complete)", "if (false && !content.complete)"),
    ("src/model/formatspecifiers.cpp",
     "    case u'd':\n    case u'i':", "    case u'D':\n    case u'i':"),
    ("src/model/translationcheck.cpp",
     "return backslashes % 2 == 1;", "return backslashes % 2 == 0;"),
    ("src/editor/rowsearch.cpp",
     "if (matcher.indexIn(entry.value) >= 0)", "if (matcher.indexIn(entry.value) > 0)"),
    ("src/editor/exporttranslation.cpp",
     "if (ProjectModel::hasEveryLanguage(row.value(), counted))",
     "if (ProjectModel::hasEveryLanguage(row.value(), counted.mid(1)))"),
    ("src/editor/cellediting.cpp",
     "if (sameKey(it.key().chopped(fileName.size() + 1), key))",
     "if (sameKey(it.key().chopped(fileName.size()), key))"),
    ("src/editor/casechange.cpp",
     "if (c == u'%') {", "if (c == u'$') {"),
    ("src/memory/databasemanagerv2.cpp",
     "if (u >= 'A' && u <= 'F')", "if (u >= 'A' && u <= 'E')"),
    ("src/memory/translationimport.cpp",
     "if (Languages::normalizedCode(language) == code)", "if (language == code)"),
    ("src/memory/scanner.cpp",
     "if (QFileInfo(name).suffix().toLower() != QLatin1String(\"strings\"))",
     "if (QFileInfo(name).suffix().toLower() == QLatin1String(\"txt\"))"),
    ("src/translate/memoryfill.cpp",
     "if (it != model.data.cend() && ProjectModel::hasEveryLanguage(*it, model.languages)) {",
     "if (it != model.data.cend() && !ProjectModel::hasEveryLanguage(*it, model.languages)) {"),
    ("src/translate/googletranslateapi.cpp",
     "if (httpStatus != 200 || body.isEmpty())", "if (body.isEmpty())"),
    ("src/translate/googletranslator.cpp",
     "if (received > GoogleTranslateApi::MaxAnswerBytes",
     "if (received > 4 * GoogleTranslateApi::MaxAnswerBytes"),
    ("src/rating/plauder.cpp",
     "if (Settings().text(Settings::PlauderVersion) != m_platform->shortVersion())",
     "if (Settings().text(Settings::PlauderVersion) == m_platform->shortVersion())"),
    ("src/cli/cliargs.cpp",
     "if (i + 1 >= arguments.size())", "if (i + 2 >= arguments.size())"),
    ("src/common/languages.cpp",
     "return dot >= 0 ? last.left(dot) : last;", "return last;"),
    ("src/shell/startwindowtext.cpp",
     "if (path == home)", "if (path != home)"),
    ("src/gui/stringstablemodel.cpp",
     "return text.size() > 40 || text.contains(QLatin1Char('\\n')) ? QVariant(text) : QVariant();",
     "return text.size() > 40 ? QVariant(text) : QVariant();"),
]


def sh(argv, cwd, log=None):
    return subprocess.run(argv, cwd=cwd, stdout=log or subprocess.DEVNULL,
                          stderr=subprocess.STDOUT).returncode


def copy_tree(source, target):
    files = subprocess.run(["git", "ls-files", "-z"], cwd=source, check=True,
                           capture_output=True).stdout.split(b"\0")
    for name in filter(None, files):
        path = pathlib.Path(os.fsdecode(name))
        if not (source / path).is_file():
            continue
        (target / path).parent.mkdir(parents=True, exist_ok=True)
        shutil.copy2(source / path, target / path)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--only", help="comma-separated fault numbers (1-based)")
    ap.add_argument("--keep", help="scratch folder to use and keep (reused builds are faster)")
    ap.add_argument("--tree", help="a built checkout to seed in place (its files are restored)")
    args = ap.parse_args()

    root = pathlib.Path(__file__).resolve().parent.parent
    if args.tree:
        scratch = pathlib.Path(args.tree).resolve()
    else:
        scratch = pathlib.Path(args.keep) if args.keep else pathlib.Path(tempfile.mkdtemp(prefix="verbalo-seed-"))
        scratch.mkdir(parents=True, exist_ok=True)
        copy_tree(root, scratch)
    build = scratch / "build"
    os.environ["CCACHE_BASEDIR"] = str(scratch)
    os.environ["CCACHE_NOHASHDIR"] = "1"
    os.environ.setdefault("QT_QPA_PLATFORM", "offscreen")
    def suite_fails(first):
        # The fault's own folder's tests first; the no-loss property test,
        # the longest, last.
        order = sorted((p.name for p in (build / "bin").glob("test_*")),
                       key=lambda name: (name != first, name == "test_editor", name))
        # Everything is built: tests also run the built programs.
        if sh(["cmake", "--build", "build"], scratch, log):
            return None
        for name in order:
            if subprocess.run([str(build / "bin" / name)], cwd=build, stdout=log,
                              stderr=subprocess.STDOUT, timeout=900).returncode != 0:
                return True
        return False

    log = open(scratch / "seed.log", "w")
    if sh(["cmake", "-S", ".", "-B", "build", "-G", "Ninja", "-DCMAKE_BUILD_TYPE=RelWithDebInfo"],
          scratch, log) or sh(["cmake", "--build", "build"], scratch, log):
        sys.exit(f"the scratch copy does not build; see {scratch}/seed.log")
    if suite_fails(None):
        sys.exit(f"the suite fails without any fault; see {scratch}/seed.log")

    chosen = range(1, len(FAULTS) + 1)
    if args.only:
        chosen = [int(n) for n in args.only.split(",")]
    results = []
    for number in chosen:
        name, old, new = FAULTS[number - 1]
        path = scratch / name
        original = path.read_text()
        start = time.monotonic()
        if original.count(old) != 1:
            outcome = "stale"
        else:
            path.write_text(original.replace(old, new))
            print(f"--- fault {number}: {name}", file=log, flush=True)
            try:
                failed = suite_fails("test_" + name.split("/")[1])
            finally:
                path.write_text(original)
            outcome = {None: "does not compile", True: "caught", False: "MISSED"}[failed]
        seconds = time.monotonic() - start
        results.append((number, name, outcome))
        print(f"{number:3}  {name:45} {outcome:17} {seconds:6.0f} s", flush=True)
    sh(["cmake", "--build", "build"], scratch, log)

    applied = [r for r in results if r[2] in ("caught", "MISSED")]
    caught = sum(1 for r in applied if r[2] == "caught")
    print(f"\n{caught} of {len(applied)} faults caught"
          + (f" ({len(results) - len(applied)} stale or not compiling)" if len(applied) < len(results) else ""))
    if not args.keep and not args.tree:
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main()

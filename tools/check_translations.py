#!/usr/bin/env python3
"""Fails when a text marked for translation has no finished German or French
translation.

lupdate reads the sources into temporary copies of translations/verbalo_*.ts,
so texts marked since the .ts files were last updated count too; every message
of a copy that is unfinished, empty, or whose place markers (%1, %n) differ
from the source's is listed. lupdate silently skips tr() handed a text built at
run time, so such calls are listed as well. Run by ./test; needs lupdate
(Debian: qt6-l10n-tools)."""
import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

LANGUAGES = ("de", "fr")
# Every layer whose texts can reach a window; verbalo-cli's own stay English.
# The same sources src/CMakeLists.txt hands to qt_add_translations.
SKIPPED_LAYERS = {"cli"}
MARKER = re.compile(r"%(?:n|\d+)")
# tr( followed by anything but a string literal (or the closing parenthesis of
# a declaration such as QObject::tr()).
RUNTIME_TR = re.compile(r'\btr\(\s*(?!["\s)])')


def find_lupdate():
    candidates = [os.environ.get("LUPDATE"), "/usr/lib/qt6/bin/lupdate",
                  shutil.which("lupdate6"), shutil.which("lupdate-qt6")]
    for candidate in candidates:
        if candidate and os.access(candidate, os.X_OK):
            return candidate
    return None


def source_folders(root):
    return sorted(p for p in (root / "src").iterdir() if p.is_dir() and p.name not in SKIPPED_LAYERS)


def runtime_tr_calls(root, folders):
    found = []
    for folder in folders:
        for path in sorted(folder.glob("*")):
            if path.suffix not in {".h", ".cpp"}:
                continue
            text = path.read_text(encoding="utf-8")
            for match in RUNTIME_TR.finditer(text):
                line = text.count("\n", 0, match.start()) + 1
                found.append(f"{path.relative_to(root)}:{line}: tr() of a text built at run time; "
                             "lupdate cannot extract it (mark the texts with QT_TR_NOOP or QT_TRANSLATE_NOOP)")
    return found


def markers(text):
    return sorted(MARKER.findall(text or ""))


def problems_in(ts_file, language):
    found = []
    for context in ET.parse(ts_file).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            source = message.findtext("source") or ""
            translation = message.find("translation")
            forms = ([f.text or "" for f in translation.findall("numerusform")]
                     if message.get("numerus") == "yes" else [translation.text or ""])
            if translation.get("type") == "unfinished" or not all(f.strip() for f in forms):
                why = "no finished translation"
            elif any(markers(f) != markers(source) for f in forms):
                why = f"place markers differ from the source's ({', '.join(markers(source)) or 'none'})"
            else:
                continue
            shown = source.replace("\n", "\\n")
            found.append(f"  {language}  {name}: \"{shown}\": {why}")
    return found


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    lupdate = find_lupdate()
    if not lupdate:
        print("check_translations: lupdate not found (looked at $LUPDATE, /usr/lib/qt6/bin/lupdate, "
              "lupdate6 and lupdate-qt6 on PATH); install qt6-l10n-tools", file=sys.stderr)
        return 1
    folders = source_folders(root)
    faults = runtime_tr_calls(root, folders)
    with tempfile.TemporaryDirectory() as work:
        copies = {}
        for language in LANGUAGES:
            committed = root / "translations" / f"verbalo_{language}.ts"
            if not committed.is_file():
                faults.append(f"{committed.relative_to(root)} is missing")
                continue
            copies[language] = pathlib.Path(work) / committed.name
            shutil.copyfile(committed, copies[language])
        if copies:
            command = [lupdate, "-silent", "-locations", "none", "-no-obsolete", "-I", "src"]
            command += [str(f.relative_to(root)) for f in folders]
            command += ["-ts"] + [str(p) for p in copies.values()]
            run = subprocess.run(command, cwd=root, capture_output=True, text=True)
            if run.returncode != 0:
                print(run.stdout + run.stderr, file=sys.stderr)
                print(f"check_translations: lupdate failed with status {run.returncode}", file=sys.stderr)
                return 1
            for language, copy in copies.items():
                faults += problems_in(copy, language)
    for fault in faults:
        print(fault)
    if faults:
        print(f"check_translations: {len(faults)} problem(s) with the interface translations. Bring "
              "translations/*.ts up to date with `cmake --build build --target update_translations`, "
              "then translate the texts in Linguist (/usr/lib/qt6/bin/linguist).", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())

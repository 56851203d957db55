#!/usr/bin/env python3
"""Fails when a source file includes from a layer above its own.

Each folder below src/ is a layer; a file may include headers of its own layer
and of the layers listed for it below, nothing else. app/ and cli/ hold the two
programs. Run by ./test; prints one line per offending include."""
import pathlib
import re
import sys

ALLOWED = {
    "common": set(),
    "model": {"common"},
    "editor": {"common", "model"},
    "memory": {"common", "model"},
    "rating": {"common"},
    "translate": {"common", "model", "editor", "memory"},
    "shell": {"common", "model", "memory"},
    "cli": {"common", "model", "editor", "memory", "translate", "shell"},
    "gui": {"common", "model", "editor", "memory", "translate", "rating", "shell"},
    "app": {"common", "model", "editor", "memory", "translate", "rating", "shell", "cli", "gui"},
}

# Headers only some layers may include although their folder is below: the
# per-user settings are read by the shells, the rating prompt and the shell
# rules; every other layer is handed what it needs (the base languages, say).
RESTRICTED = {
    "common/settings.h": {"common", "rating", "shell", "cli", "gui", "app"},
}

INCLUDE = re.compile(r'^\s*#\s*include\s+"(([a-z]+)/[^"]+)"')


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    folders = [(root / "src" / layer, layer) for layer in ALLOWED if layer != "app"]
    folders += [(root / "app", "app"), (root / "cli", "app")]
    faults = []
    for folder, layer in folders:
        for path in sorted(folder.glob("*")):
            if path.suffix not in {".h", ".cpp", ".inc"}:
                continue
            for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                header, target = match.group(1), match.group(2)
                where = f"{path.relative_to(root)}:{number}"
                if target not in ALLOWED:
                    faults.append(f"{where}: includes from unknown folder {target}/")
                elif target != layer and target not in ALLOWED[layer]:
                    faults.append(f"{where}: {layer}/ may not include {target}/")
                elif header in RESTRICTED and layer not in RESTRICTED[header]:
                    faults.append(f"{where}: {layer}/ may not include {header}")
    for fault in faults:
        print(fault)
    if faults:
        print(f"layers: {len(faults)} include(s) from a layer above their own", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())

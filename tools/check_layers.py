#!/usr/bin/env python3
"""Fails when a source file includes a folder above its own.

The folders under src/ are layered one way: toolkit, then settings, then imaging, then
scheduler and reminder (side by side, neither uses the other), then app on top. A file may
include its own folder and the folders below it. Prints each upward include and exits 1.
"""
import pathlib
import re
import sys

RANK = {"toolkit": 0, "settings": 1, "imaging": 2, "scheduler": 3, "reminder": 3, "app": 4}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/[^"]+"', re.MULTILINE)


def upward_includes(src: pathlib.Path):
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp") or path.parent.name not in RANK:
            continue
        own = path.parent.name
        for match in INCLUDE.finditer(path.read_text(encoding="utf-8")):
            other = match.group(1)
            if other in RANK and other != own and RANK[other] >= RANK[own]:
                yield path.relative_to(src.parent), match.group(0).strip()


def main() -> int:
    src = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "src")
    bad = list(upward_includes(src))
    for path, line in bad:
        print(f"{path}: {line} reaches a folder above its own")
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Fails when a source file includes a folder above its own, or a portable file includes
Windows.

The folders under src/ are layered one way: toolkit, then settings, then imaging, then the
scheduler's calendar, then scheduler and reminder (side by side, neither uses the other), then
app on top. A file may
include its own folder and the folders below it. A nested folder belongs to the folder above
it unless it is ranked itself. Every folder that holds sources must be ranked. A portable
file (no "_win" in its name) includes neither <windows.h> nor any "_win.h" header, so that it
builds natively. Both "..." and <...> includes count. Prints each fault and exits 1.
"""
import pathlib
import re
import sys

RANK = {"toolkit": 0, "settings": 1, "imaging": 2, "scheduler/calendar": 2.5, "scheduler": 3,
        "reminder": 3, "app": 4}
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]', re.MULTILINE)
SOURCES = (".h", ".cpp")


def room_of(folder: str):
    """The ranked folder that `folder` (a path below src/, "/"-separated) belongs to."""
    parts = folder.split("/")
    for n in range(len(parts), 0, -1):
        candidate = "/".join(parts[:n])
        if candidate in RANK:
            return candidate
    return None


def faults(src: pathlib.Path):
    for path in sorted(src.rglob("*")):
        if path.suffix not in SOURCES:
            continue
        where = path.relative_to(src.parent)
        folder = path.parent.relative_to(src).as_posix()
        own = room_of(folder)
        if own is None:
            yield f"{where}: its folder {folder}/ has no rank"
            continue
        portable = "_win" not in path.stem
        for match in INCLUDE.finditer(path.read_text(encoding="utf-8")):
            name = match.group(1)
            line = match.group(0).strip()
            if portable and (name.lower() == "windows.h" or name.endswith("_win.h")):
                yield f"{where}: {line} in a portable file"
            other = room_of(name.rsplit("/", 1)[0]) if "/" in name else None
            if other is not None and other != own and RANK[other] >= RANK[own]:
                yield f"{where}: {line} reaches a folder above its own"


def main() -> int:
    src = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "src")
    bad = list(faults(src))
    for fault in bad:
        print(fault)
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""The layering check on small made-up trees: a clean tree passes, and each kind of fault it
knows is caught on its own. Run by scripts/test beside the check on the real src/."""
import pathlib
import sys
import tempfile

sys.dont_write_bytecode = True
sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
from check_layers import faults  # noqa: E402

CLEAN = {
    "toolkit/text.h": '#include <string>\n',
    "settings/ini.cpp": '#include "settings/ini.h"\n#include "toolkit/text.h"\n',
    "scheduler/alarm.cpp": '#include "scheduler/calendar/civil_date.h"\n',
    "scheduler/calendar/civil_date.cpp": '#include "toolkit/text.h"\n',
    "app/form1_win.cpp": '#include <windows.h>\n#include "reminder/form2_win.h"\n',
}

# Each row: what is added to the clean tree, and the words its fault line must hold.
CASES = [
    ("an upward include", {"scheduler/alarm.cpp": '#include "app/form1_layout.h"\n'},
     "above its own"),
    ("an include between folders of one rank",
     {"reminder/form2.cpp": '#include "scheduler/alarm.h"\n'}, "above its own"),
    ("an upward include from a nested folder",
     {"scheduler/calendar/days.cpp": '#include "scheduler/alarm.h"\n'}, "above its own"),
    ("an angle-bracket include upward", {"toolkit/bad.cpp": "#include <app/form1_layout.h>\n"},
     "above its own"),
    ("a folder with no rank", {"extras/more.cpp": '#include "toolkit/text.h"\n'}, "no rank"),
    ("windows.h in a portable file", {"settings/store.cpp": '#include <Windows.h>\n'},
     "portable file"),
    ("a _win.h header in a portable file",
     {"app/startup.cpp": '#include "app/form1_win.h"\n'}, "portable file"),
]


def faults_of(files):
    with tempfile.TemporaryDirectory() as folder:
        src = pathlib.Path(folder) / "src"
        for name, text in files.items():
            path = src / name
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_text(text, encoding="utf-8")
        return list(faults(src))


def main() -> int:
    failed = 0
    clean = faults_of(CLEAN)
    if clean:
        failed += 1
        print(f"the clean tree was refused: {clean}")
    for label, added, words in CASES:
        found = faults_of({**CLEAN, **added})
        if len(found) != 1 or words not in found[0]:
            failed += 1
            print(f"{label}: expected one fault saying '{words}', got {found}")
    print(f"layering check: {len(CASES) + 1 - failed} of {len(CASES) + 1} cases as expected")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Release helpers for scripts/package.

  release.py zip OUT EPOCH ENTRY...      writes a zip whose bytes depend only on its inputs
  release.py scoop OUT VERSION ZIP URL   writes the Scoop manifest for the 32-bit zip
  release.py check DIST VERSION [EXE]    checks a finished release folder

An ENTRY is KIND:NAME=PATH, in the order the zip lists them. KIND "bin" stores the file as it
is, "text" as text with CR LF line ends, "guide" as text with CR LF line ends after a UTF-8
byte-order mark (so that Notepad on any Windows version shows the Chinese correctly).
"""
import hashlib
import json
import sys
import time
import zipfile

# Every entry gets the same time (the commit's, in UTC), the same attributes and the same
# compression. The entries are marked as made on Unix (a plain rw-r--r-- file, with the
# archive bit for Windows): Info-ZIP's unzip ignores the UTF-8 name flag of entries made on
# MS-DOS and would garble the guide's Chinese name.
ZIP_SYSTEM_UNIX = 3
ZIP_ATTR_FILE = (0o100644 << 16) | 0x20
ZIP_LEVEL = 9
GUIDE_NAME = "使用说明.txt"
FILES = ["norvel.exe", GUIDE_NAME, "LICENSE"]
BOM = b"\xef\xbb\xbf"


def windows_text(data, bom):
    text = data.decode("utf-8")
    if text.startswith("\ufeff"):
        text = text[1:]
    text = text.replace("\r\n", "\n").replace("\r", "\n")
    if not text.endswith("\n"):
        text += "\n"
    return (BOM if bom else b"") + text.replace("\n", "\r\n").encode("utf-8")


def zip_time(epoch):
    # Zip times are local-time fields from 1980 on, kept in two-second steps.
    stamp = time.gmtime(max(int(epoch), 315532800))
    return stamp[:5] + (stamp[5] // 2 * 2,)


def write_zip(out, epoch, entries):
    with zipfile.ZipFile(out, "w") as archive:
        for entry in entries:
            kind, rest = entry.split(":", 1)
            name, path = rest.split("=", 1)
            with open(path, "rb") as f:
                data = f.read()
            if kind != "bin":
                data = windows_text(data, bom=kind == "guide")
            info = zipfile.ZipInfo(name, zip_time(epoch))
            info.create_system = ZIP_SYSTEM_UNIX
            info.external_attr = ZIP_ATTR_FILE
            info.compress_type = zipfile.ZIP_DEFLATED
            archive.writestr(info, data, compresslevel=ZIP_LEVEL)


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def write_scoop(out, version, zip_path, url):
    manifest = {
        "version": version,
        "description": "Tray reminder: a message in the shape of a picture, or a timed "
                       "shut-down or restart, at a chosen time of day",
        "homepage": "https://example.invalid/norvel",
        "license": "MIT",
        "url": url,
        "hash": sha256(zip_path),
        # Scoop would make a missing persisted name a folder: give the program empty files.
        "pre_install": [
            "'option.ini', 'holidays.txt' | ForEach-Object { "
            "if (!(Test-Path \"$dir\\$_\")) { New-Item \"$dir\\$_\" -ItemType File | Out-Null } }"
        ],
        # Norvel saves option.ini by replacing the file, which ends Scoop's hard link to the
        # kept copy: hand the current files back to it before the old version goes.
        "pre_uninstall": [
            "'option.ini', 'holidays.txt' | ForEach-Object { $f = \"$dir\\$_\"; "
            "$p = \"$persist_dir\\$_\"; if ((Test-Path $f) -and (!(Test-Path $p) -or "
            "(Get-FileHash $f).Hash -ne (Get-FileHash $p).Hash)) { Copy-Item -Force $f $p } }"
        ],
        "bin": "norvel.exe",
        "shortcuts": [["norvel.exe", "Norvel"]],
        "persist": ["option.ini", "holidays.txt"],
    }
    with open(out, "w", encoding="utf-8", newline="\n") as f:
        json.dump(manifest, f, indent=4, ensure_ascii=False)
        f.write("\n")


def check_text(problems, where, data, bom):
    if data.startswith(BOM) != bom:
        problems.append(f"{where}: byte-order mark {'missing' if bom else 'present'}")
    if data.count(b"\n") != data.count(b"\r\n") or data.count(b"\r") != data.count(b"\r\n"):
        problems.append(f"{where}: line ends are not all CR LF")
    try:
        data.decode("utf-8")
    except UnicodeDecodeError:
        problems.append(f"{where}: not UTF-8")


def check_dist(dist, version, exe=None):
    problems = []
    sums = {}
    with open(f"{dist}/SHA256SUMS", encoding="ascii") as f:
        for line in f:
            digest, name = line.split()
            sums[name] = digest
    zips = [f"norvel-{version}-{arch}.zip" for arch in ("win32", "win64")]
    if sorted(sums) != sorted(zips):
        problems.append(f"SHA256SUMS lists {sorted(sums)}, expected {zips}")
    for name in zips:
        path = f"{dist}/{name}"
        if sums.get(name) != sha256(path):
            problems.append(f"{name}: hash differs from SHA256SUMS")
        with zipfile.ZipFile(path) as archive:
            if archive.namelist() != FILES:
                problems.append(f"{name}: holds {archive.namelist()}, expected {FILES}")
                continue
            check_text(problems, f"{name}/{GUIDE_NAME}", archive.read(GUIDE_NAME), bom=True)
            check_text(problems, f"{name}/LICENSE", archive.read("LICENSE"), bom=False)
            if name.endswith("win32.zip") and exe:
                with open(exe, "rb") as f:
                    if archive.read("norvel.exe") != f.read():
                        problems.append(f"{name}: norvel.exe differs from {exe}")
                    else:
                        print(f"release check: {name}: norvel.exe equals {exe}")
    with open(f"{dist}/norvel.json", encoding="utf-8") as f:
        manifest = json.load(f)
    if manifest.get("version") != version:
        problems.append(f"norvel.json: version {manifest.get('version')}, expected {version}")
    if manifest.get("hash") != sums.get(zips[0]):
        problems.append("norvel.json: hash differs from the 32-bit zip's in SHA256SUMS")
    if not str(manifest.get("url", "")).endswith("/" + zips[0]):
        problems.append(f"norvel.json: url does not name {zips[0]}")
    for problem in problems:
        print("release check:", problem)
    print(f"release check: {'failed' if problems else 'passed'} ({dist})")
    return 1 if problems else 0


def main(args):
    if len(args) >= 4 and args[0] == "zip":
        write_zip(args[1], args[2], args[3:])
        return 0
    if len(args) == 5 and args[0] == "scoop":
        write_scoop(*args[1:])
        return 0
    if len(args) in (3, 4) and args[0] == "check":
        return check_dist(*args[1:])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

#!/usr/bin/env python3
"""Packs the built files of one platform into its package (a zip for Windows, a gzipped tar
for Linux), in the layout every package shares:

    Tarnwheel.exe | tarnwheel     the sensor, alone at the root: the RFC library goes beside it
    tools/                        the password encoder and the set-up check
    simulator/                    the stand-ins of both RFC libraries, rfcsim, demo.scenario,
                                  README.txt
    samples/                      profiles and the list files that name them
    docs/                         the guide and the simulator's manual

    pack_release.py --platform win32|win64|linux --bin BUILD/bin --top SOURCE --out FILE
                    --nw-files FILE...     (the NetWeaver stand-in and its companions, in
                                            BUILD/bin/nwrfc)
"""
from __future__ import annotations

import argparse
import io
import re
import sys
import tarfile
import textwrap
import zipfile
from pathlib import Path

# The profiles of samples/ point at the simulator as the guide starts it
# (rfcsim --listen 127.0.0.1:3300 simulator/demo.scenario).
SIMULATOR_SERVICE = "3300"
SAMPLE_FILES = ("PRD.P00", "QAS.P00", "DEV.P00", "SAP Keswarin.Gbl", "Keswarin.Prf")
# A list file names profiles as "NAME.P00#" from column 21 of its list lines.
LISTED = re.compile(r"^# (?:Gsng|GSNG): .{12}(.*)$")


def listed_profiles(text: str) -> set[str]:
    """The profile names the list lines of a suite or global profile name."""
    names: set[str] = set()
    for line in text.splitlines():
        match = LISTED.match(line)
        if match:
            names.update(name for name in match.group(1).split("#") if name.strip())
    return names


def table_cells(line: str) -> list[str]:
    """The cells of a Markdown table row "| a | b |"."""
    return [cell.strip() for cell in line.strip().strip("|").split("|")]


def plain_text_guide(markdown: str, width: int = 88) -> str:
    """The guide for a plain text editor: every table becomes a list (each row's first cell,
    then the other cells under their column names) and every longer line of prose is
    wrapped, so that only code lines may be wider than `width`."""
    out: list[str] = []
    lines = markdown.splitlines()
    i = 0
    while i < len(lines):
        line = lines[i]
        if (line.startswith("|") and i + 1 < len(lines)
                and re.match(r"^\|[ :|-]+\|$", lines[i + 1].strip())):
            header = table_cells(line)
            i += 2
            while i < len(lines) and lines[i].startswith("|"):
                cells = table_cells(lines[i])
                out += textwrap.wrap(cells[0], width, initial_indent="- ",
                                     subsequent_indent="  ")
                for name, cell in zip(header[1:], cells[1:]):
                    out += textwrap.wrap(f"{name}: {cell}", width, initial_indent="    ",
                                         subsequent_indent="      ")
                i += 1
            continue
        if len(line) > width and not line.startswith("    "):
            lead = len(line) - len(line.lstrip())
            bullet = 2 if line.lstrip().startswith(("- ", "* ")) else 0
            out += textwrap.wrap(line, width, subsequent_indent=" " * (lead + bullet))
        else:
            out.append(line)
        i += 1
    return "\n".join(out) + "\n"


def package_files(platform: str, bin_dir: Path, top: Path,
                  nw_files: list[str]) -> list[tuple[str, bytes, bool]]:
    """(name in the package, content, executable) of every file of the package."""
    windows = platform != "linux"
    exe = ".exe" if windows else ""
    sensor = "Tarnwheel.exe" if windows else "tarnwheel"
    library = "librfc32.dll" if windows else "librfccm.so"

    copy, sep = ("copy", "\\") if windows else ("cp", "/")

    def text(content: str) -> bytes:
        return (content.replace("\n", "\r\n") if windows else content).encode("ascii")

    def program(name: str) -> bytes:
        return (bin_dir / name).read_bytes()

    files = [
        (sensor, program(sensor), True),
        (f"tools/tarnwheel-passwd{exe}", program(f"tarnwheel-passwd{exe}"), True),
        (f"tools/tarnwheel-check{exe}", program(f"tarnwheel-check{exe}"), True),
        (f"simulator/{library}", program(library), False),
    ] + [(f"simulator/{name}", program(f"nwrfc/{name}"), False) for name in nw_files] + [
        (f"simulator/rfcsim{exe}", program(f"rfcsim{exe}"), True),
        ("simulator/demo.scenario",
         text((top / "platform/rfcsim/demo.scenario").read_text(encoding="ascii")), False),
        ("simulator/README.txt",
         text((top / "docs/simulator-library.txt").read_text(encoding="ascii")
              .replace("{LIBRARY}", library).replace("{SENSOR}", sensor)
              .replace("{NW_FILES}", " ".join(nw_files)).replace("{NW_LIBRARY}", nw_files[0])
              .replace("{NW_COPY_LINES}", "".join(
                  f"       {copy} simulator{sep}{name} .\n" for name in nw_files))
              .replace("{COPY}", "copy" if windows else "cp")
              .replace("{EXE}", exe).replace("{SEP}", sep)), False),
        ("docs/installation.md", (top / "docs/installation.md").read_bytes(), False),
        ("docs/installation.txt",
         (plain_text_guide((top / "docs/installation.md").read_text(encoding="utf-8"))
          .replace("\n", "\r\n" if windows else "\n").encode("utf-8")), False),
        ("docs/rfcsim.md", (top / "docs/rfcsim.md").read_bytes(), False),
    ]
    samples = {}
    for name in SAMPLE_FILES:
        content = (top / "examples" / name).read_text(encoding="ascii")
        samples[name] = content.replace("{PORT}", SIMULATOR_SERVICE)
    missing = set()
    for name in ("SAP Keswarin.Gbl", "Keswarin.Prf"):
        missing |= listed_profiles(samples[name]) - set(samples)
    if missing:
        sys.exit(f"pack_release: the sample lists name {sorted(missing)}, which are not samples")
    files += [(f"samples/{name}", text(content), False) for name, content in samples.items()]
    return files


def write_zip(path: Path, files: list[tuple[str, bytes, bool]]) -> None:
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as archive:
        for name, content, _ in files:
            archive.writestr(name, content)


def write_tar(path: Path, files: list[tuple[str, bytes, bool]]) -> None:
    with tarfile.open(path, "w:gz") as archive:
        for name, content, executable in files:
            info = tarfile.TarInfo(name)
            info.size = len(content)
            info.mode = 0o755 if executable else 0o644
            archive.addfile(info, io.BytesIO(content))


def main(argv: list[str]) -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--platform", required=True, choices=("win32", "win64", "linux"))
    parser.add_argument("--bin", required=True, type=Path)
    parser.add_argument("--top", required=True, type=Path)
    parser.add_argument("--out", required=True, type=Path)
    parser.add_argument("--nw-files", required=True, nargs="+")
    args = parser.parse_args(argv)
    files = package_files(args.platform, args.bin, args.top, args.nw_files)
    roots = [name for name, _, _ in files if "/" not in name]
    assert len(roots) == 1, roots  # the sensor alone at the root
    (write_tar if args.platform == "linux" else write_zip)(args.out, files)
    for name, content, _ in files:
        print(f"{len(content):10d}  {name}")
    print(args.out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

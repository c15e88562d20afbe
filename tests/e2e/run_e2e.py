#!/usr/bin/env python3
r"""Runs the sensor's end-to-end cases and compares what it answers with what is expected.

    run_e2e.py --bin BUILD/bin --cases tests/e2e/cases [-k SUBSTRING] [-j N]
               [--rfclib classic|nw]
    run_e2e.py --wine --bin WINBUILD/bin --sim-bin BUILD/bin --cases tests/e2e/cases

A case is any folder below the cases folder that holds a case.json:

    case.json   {"args": [...], "status": N, "description": "...", and optionally
                 "program", "env", "timeout", "max_seconds", "stdin", "absent", "present",
                 "cwd", "xml", "forbidden", "expect_files", "text_files", "platforms",
                 "platform_note", "fifos", "empty_folders", "program_folder", "from_bin",
                 "libraries", "library_note"}
    stdout      the expected standard output, byte for byte (times of day masked)
    stderr      optional: the expected standard error, same treatment
    files/      optional: copied into the working directory before the run
    drive/      optional: the root of the file system for the run (bubblewrap; under Wine
                the drive C:)
    scenario    optional: a scenario for the simulated SAP system, started around the run
    simlog      optional: the log the simulated system must have written
    simlog-nw   optional: the same with the NetWeaver library, where it differs

With a scenario, the text {PORT} is replaced by the simulator's port in the arguments, the
environment values, every fixture file (in UTF-16 text as well) and the expected stdout,
stderr, simlog and files.

"expect_files" maps a path in the working directory to a file of the case folder
(e.g. {"{PARAMETER_FILE}": "expected/SapRfc.ini"}): the file must be left by the run with that
content, byte for byte, after times of day are masked on both sides and {PROGRAM} in the
expected file is replaced by the program path the run was started with (its argument 0).
"text_files" lists those of the "expect_files" paths that the program writes as text (C
stream opened without "b"); it matters only under Wine, see below.

"timeout" (seconds, default 20) is when the runner gives up on a run and kills it;
"max_seconds" is how long the run may take at most to pass: a run that ends later, from
the start of the program to its end as the runner sees them (under Wine, Wine's start of
the program included), fails with the time it took.

"fifos" and "empty_folders" list paths where a named pipe or an empty folder is made before
the run (git keeps neither): below drive/ for a case with drive/, else in the working
directory. A case with "fifos" holds on POSIX only.

"program_folder" runs the program from a folder of its own instead of BIN: a copy of the
program and of the files the key maps in it, nothing else. "from_bin" maps paths of the
working directory to files copied there before the run. A source is "bin:NAME" (a file of
BIN, or "bin:FOLDER/" with the final "/": every file of that folder of BIN, copied into the
folder the name gives, "." for the program folder or the working directory itself) or a
path in the case folder; "cut:N:SOURCE" is the first N bytes of such a file (a file cut
short). {".": "bin:nwrfc/"} puts the NetWeaver stand-in with its companions beside the
program. "{PROGRAM_DIR}" in the expected stdout is the folder the program runs from, as the
program names it (with a final separator): the program folder, else BIN or the stage of
--rfclib (/opt/tarnwheel/bin/ with drive/, Z:\...\ under Wine). "{WORK_DIR}" in the
expected stdout is the working directory as the program names it, with a final separator
(/work/ with drive/, C:\work\ under Wine). A case with "program_folder" has no drive/; it
sets up its own folder and so runs alike whichever --rfclib is given.

Names of the platform: "{LIBRARY}" is the classic RFC library's file name (librfccm.so
natively, librfc32.dll under Wine), "{PARAMETER_FILE}" the library's parameter file
(saprfc.ini; SapRfc.ini) and "{TRACE_FILE}" its trace file (dev_rfc.trc; Dev_Rfc.Trc);
"{NW_LIBRARY}" is the NetWeaver library's file name (libsapnwrfc.so; sapnwrfc.dll), and
"{NW_SAPUCUM}", "{NW_ICUUC}", "{NW_ICUDT}", "{NW_ICUIN}", "{NW_ICUDECNUMBER}" name its
companions (libsapucum.so, libicuuc.so.50, libicudata.so.50, libicui18n.so.50,
libicudecnumber.so; libsapucum.dll, icuuc50.dll, icudt50.dll, icuin50.dll,
libicudecnumber.dll). "{WIDTH}" is the width of the programs under test as tarnwheel-check
names it ("x86-64 (64-bit)" or "i386 (32-bit)"), "{OTHER_WIDTH}" the other one, and
"{OTHER_ARCH}" that other one in a file name (i386, x86_64), so that a case may name the
library of the other width. They stand for those names in the names of files and folders below
files/ and drive/, in the paths of "expect_files", "text_files", "absent", "present",
"fifos" and "empty_folders", in the names and sources of "program_folder" and "from_bin",
and in the expected stdout and stderr.

"masks" lists regular expressions (Python's syntax); what they match in stdout, on both
sides, counts as equal ("took [0-9]+ ms" for a duration, say).

The RFC library of a suite run: with "--rfclib classic" or "--rfclib nw" every case without
a folder of its own runs its program from a folder the runner makes once per run, holding
copies of the programs those cases name and of that library only: the classic library of
BIN, or the NetWeaver stand-in with its five companions (BIN/nwrfc). A case with drive/
sees that folder at /opt/tarnwheel/bin. Without --rfclib the programs run from BIN, with
the classic library there. "libraries" names the libraries a case holds for: ["classic"],
["nw"] or both (the default); with one, "library_note" (one line) says why. A case not for
the run's library (classic without --rfclib) is skipped and counted as skipped. When the
program runs with the NetWeaver library (it is in the program's folder and the classic one
is not, or the arguments hold "RFCLIB=NW"), the simlog comparison drops the blanks at the
end of every [] value on both sides: the bridge sends user and password without the blanks
that pad them, where the classic library sends them padded. A case whose simlog differs
with the NetWeaver library otherwise (it sends texts as UTF-8, the classic library their
Windows-1252 bytes) holds that simlog in "simlog-nw" as well.

"forbidden" lists texts (a password, say) that must appear nowhere: not in stdout, stderr
or the simlog, nor in any file below the working directory after the run. Letter case
(a to z) is ignored, so an upper-cased copy counts as well.

"platforms" names where the case holds: ["posix"], ["windows"] or both (the default).
A case that does not hold on the platform of the run is skipped and counted as skipped;
"platform_note" (one line) says why a case holds on one platform only.

Times of day (two digits, ":", two digits, ":", two digits) read as hh:mm:ss on both sides
before stdout and stderr are compared. When stdout holds "<Prtg>" (or "xml" is true), the
text from the first "<Prtg>" to the last "</Prtg>" must be one XML document, and, when no
argument holds a console character (# @ $ %), so must the whole stdout without surrounding
white space. "xml": "embedded" asks only for the first, for a plain-text answer that
carries a <Prtg> error document after other text. With drive/, the run sees a copy of it as
"/" (bubblewrap), with the working directory "cwd" (default "work") below it and the
programs at /opt/tarnwheel/bin.

Under Wine (--wine) the cases run against the x86_64 Windows build in BIN: the program
"tarnwheel" is BIN/Tarnwheel.exe, "tarnwheel-passwd" is BIN/tarnwheel-passwd.exe, any
other name gets ".exe". The simulated SAP system always runs natively, from --sim-bin
(default: BIN), and Wine's programs reach it on 127.0.0.1 as native ones do. Every case
runs on a drive C: of its own: a copy of drive/, or an empty root for a case without
drive/, with the working directory C:\<cwd> (default C:\work); "absent", "present",
"forbidden" and "expect_files" look at that folder as natively. The program is started as
"Z:" + its path with "\" for "/", and that is also what {PROGRAM} stands for. The runner
adds C:\windows, a link to the Windows folder of the template prefix (so a drive/ must not
hold "windows"), and Wine itself makes C:\users during a run. The environment of the
runner reaches the program, as natively.

Windows writes standard output and standard error in text mode, where every LF goes out as
CR LF. Under Wine the expected stdout and stderr therefore have each LF turned into CR LF
before they are compared; what the program writes is compared as it is, so a bare LF from
the program, or a CR LF already in an expected file (it becomes CR CR LF), is a difference.
Files follow the mode the program opens them in: those in "text_files" (Tarnwheel.Trc,
written with "a") get the same LF to CR LF turn of their expected content; all others
(the parameter and trace files are written with "wb" and "ab") are compared byte for byte as
natively. The simlog comes from the native simulator and is never turned.

Wine needs a prefix. The runner makes one template prefix per suite run (wineboot, some
seconds; without Mono, Gecko and desktop menu entries), and for each parallel worker (-j) a
small prefix of its own: copies of the template's registry files and .update-timestamp,
dosdevices/z: linked to "/" and dosdevices/c: linked to the root of the case that the
worker runs, repointed before each case. Each worker prefix has a wineserver that stays up
between cases (-p30: it also ends by itself 30 s after its last client, should the runner
be killed outright). Wine runs with WINEDEBUG=-all (--wine-debug) and TMPDIR below the
runner's temporary folder, so its server sockets lie there too. At the end, on Ctrl-C,
SIGTERM and errors alike, every wineserver is ended with "wineserver -k" and the temporary
folder is removed. The Wine loader is WINE or the first of wine64 on PATH,
/usr/lib/wine/wine64, /usr/lib64/wine/wine64, wine on PATH; the wineserver is WINESERVER or
the one beside the loader (or on PATH).

Every case runs in a temporary directory of its own; nothing is written anywhere else.
Prints one line per case (ok, FAIL or skip), a readable difference for each failure and a
summary line with the cases that ran, passed, failed and were skipped for the platform (and
the library, with --rfclib); the exit status is 0 only when every case that ran passed.
"""

from __future__ import annotations

import argparse
import concurrent.futures
import difflib
import errno
import json
import os
import queue
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import xml.etree.ElementTree as ElementTree
from pathlib import Path

CASE_FILE = "case.json"
DEFAULT_PROGRAM = "tarnwheel"
DEFAULT_TIMEOUT = 20.0
DEFAULT_CWD = "work"
SIM_PROGRAM = "rfcsim"
SIM_START_LIMIT = 10.0
SIM_STOP_LIMIT = 10.0
SANDBOX_BIN = "/opt/tarnwheel/bin"
CONSOLE_CHARACTERS = "#@$%"
TIME_OF_DAY = re.compile(rb"(?<![0-9])[0-9]{2}:[0-9]{2}:[0-9]{2}(?![0-9])")
TIME_MASK = b"hh:mm:ss"
MASK_MARK = b"<masked>"
PORT_MARK = b"{PORT}"
PROGRAM_MARK = b"{PROGRAM}"
DOC_START = b"<Prtg>"
DOC_END = b"</Prtg>"

# The platforms a case may be meant for: the native build, and the Windows build under Wine.
POSIX = "posix"
WINDOWS = "windows"
PLATFORMS = (POSIX, WINDOWS)
# The Windows programs' file names in the bin folder; other programs get ".exe".
WINDOWS_PROGRAMS = {"tarnwheel": "Tarnwheel.exe", "tarnwheel-passwd": "tarnwheel-passwd.exe"}
WINE_START_LIMIT = 180.0
WINE_STOP_LIMIT = 30.0
# A worker prefix's wineserver ends by itself this long after its last client.
WINESERVER_PERSISTENCE = 30
# The files of the template prefix that a worker prefix copies.
WINE_PREFIX_FILES = ("system.reg", "user.reg", "userdef.reg", ".update-timestamp")

# What a case.json may hold, with the accepted types.
CASE_KEYS = {
    "args": list,
    "status": int,
    "description": str,
    "program": str,
    "env": dict,
    "timeout": (int, float),
    "max_seconds": (int, float),
    "stdin": str,
    "absent": list,
    "present": list,
    "cwd": str,
    "xml": (bool, str),
    "forbidden": list,
    "expect_files": dict,
    "text_files": list,
    "platforms": list,
    "platform_note": str,
    "fifos": list,
    "empty_folders": list,
    "program_folder": dict,
    "from_bin": dict,
    "masks": list,
    "libraries": list,
    "library_note": str,
}
REQUIRED_KEYS = ("args", "status", "description")

# The string value of "xml": only the <Prtg> ... </Prtg> part must be one XML document.
XML_EMBEDDED = "embedded"

# Longest rendered line shown in a difference, and most difference lines shown per stream.
SHOWN_LINE_LIMIT = 160
SHOWN_DIFF_LINES = 60

_live_lock = threading.Lock()
_live_processes: set[subprocess.Popen] = set()
_interrupted = threading.Event()


class CaseError(Exception):
    """A problem that ends one case: broken case data, a missing tool, a failed start."""


# ---------------------------------------------------------------------------------------
# Rendering


def render(data: bytes) -> str:
    """Bytes as one visible line: printable ASCII as it is, everything else escaped."""
    out = []
    for b in data:
        if b == 0x5C:
            out.append("\\\\")
        elif b == 0x0A:
            out.append("\\n")
        elif b == 0x0D:
            out.append("\\r")
        elif b == 0x09:
            out.append("\\t")
        elif 0x20 <= b < 0x7F:
            out.append(chr(b))
        else:
            out.append("\\x%02x" % b)
    return "".join(out)


def clip(text: str, limit: int = SHOWN_LINE_LIMIT) -> str:
    if len(text) <= limit:
        return text
    return text[:limit] + " ...(%d more characters)" % (len(text) - limit)


def first_difference(expected: bytes, actual: bytes) -> str:
    """Where two byte strings part, with a little context from each."""
    n = min(len(expected), len(actual))
    i = 0
    while i < n and expected[i] == actual[i]:
        i += 1
    line = expected.count(b"\n", 0, i) + 1
    column = i - (expected.rfind(b"\n", 0, i) + 1) + 1
    lo = max(0, i - 30)
    return (
        "first difference at byte %d (line %d, column %d); expected %d bytes, got %d\n"
        "        expected: ...%s\n"
        "        actual:   ...%s"
        % (i, line, column, len(expected), len(actual),
           clip(render(expected[lo:i + 50]), 100), clip(render(actual[lo:i + 50]), 100))
    )


def describe_difference(label: str, expected: bytes, actual: bytes) -> list[str]:
    lines = ["    %s differs: %s" % (label, first_difference(expected, actual))]
    diff = difflib.unified_diff(
        [render(x) for x in expected.splitlines(keepends=True)],
        [render(x) for x in actual.splitlines(keepends=True)],
        fromfile="expected " + label, tofile="actual " + label, lineterm="", n=2)
    shown = 0
    for row in diff:
        if shown == SHOWN_DIFF_LINES:
            lines.append("      ... (difference cut)")
            break
        lines.append("      " + clip(row))
        shown += 1
    return lines


def show_stream(label: str, data: bytes) -> list[str]:
    if not data:
        return ["    %s: (empty)" % label]
    rows = data.splitlines(keepends=True)
    lines = ["    %s:" % label]
    for row in rows[:SHOWN_DIFF_LINES]:
        lines.append("      | " + clip(render(row)))
    if len(rows) > SHOWN_DIFF_LINES:
        lines.append("      ... (%d more lines)" % (len(rows) - SHOWN_DIFF_LINES))
    return lines


def mask_times(data: bytes) -> bytes:
    return TIME_OF_DAY.sub(TIME_MASK, data)


def apply_masks(data: bytes, masks: list) -> bytes:
    """data with every match of the case's masks (compiled patterns) made one mark."""
    for mask in masks:
        data = mask.sub(MASK_MARK, data)
    return data


def holds_forbidden(data: bytes, text: str) -> bool:
    """Whether data holds text, with letter case (a to z) ignored."""
    return text.encode("utf-8").lower() in data.lower()


def files_below(tree: Path) -> list[Path]:
    """The regular files below tree (symbolic links not followed), sorted."""
    found = []
    for here, dirs, files in os.walk(tree):
        dirs.sort()
        for name in sorted(files):
            p = Path(here) / name
            if p.is_file() and not p.is_symlink():
                found.append(p)
    return found


# ---------------------------------------------------------------------------------------
# Case data


def find_cases(root: Path) -> tuple[list[Path], list[Path]]:
    """Case folders below root, and folders that look like a case but have no case.json."""
    cases: list[Path] = []
    strays: list[Path] = []
    for here, dirs, files in os.walk(root):
        dirs.sort()
        if CASE_FILE in files:
            cases.append(Path(here))
            dirs[:] = []  # fixtures below a case are never cases themselves
            continue
        dirs[:] = [d for d in dirs if not d.startswith(".") and d != "__pycache__"]
        if Path(here) != root and ("stdout" in files or "scenario" in files or "files" in dirs
                or "drive" in dirs):
            strays.append(Path(here))
            dirs[:] = []
    return cases, strays


def relative_inside(text: str, what: str) -> str:
    """A relative path that stays inside its directory, with "/" separators."""
    if not text or text.startswith("/") or "\\" in text:
        raise CaseError("%s %r must be a relative path with '/' separators" % (what, text))
    parts = [p for p in text.split("/") if p not in ("", ".")]
    if not parts or ".." in parts:
        raise CaseError("%s %r must stay inside the working directory" % (what, text))
    return "/".join(parts)


def inside(folder: Path, name: str, what: str) -> Path:
    """The path `name` below `folder`; "." is the folder itself."""
    return folder if name == "." else folder / relative_inside(name, what)


def load_case(case_dir: Path) -> dict:
    path = case_dir / CASE_FILE
    try:
        raw = path.read_bytes()
    except OSError as e:
        raise CaseError("cannot read %s: %s" % (CASE_FILE, e.strerror or e))
    try:
        case = json.loads(raw.decode("utf-8"))
    except (UnicodeDecodeError, json.JSONDecodeError) as e:
        raise CaseError("%s is not valid JSON: %s" % (CASE_FILE, e))
    if not isinstance(case, dict):
        raise CaseError("%s must hold one JSON object" % CASE_FILE)
    for key in case:
        if key not in CASE_KEYS:
            raise CaseError("%s has an unknown key %r (known: %s)"
                            % (CASE_FILE, key, ", ".join(sorted(CASE_KEYS))))
    for key in REQUIRED_KEYS:
        if key not in case:
            raise CaseError("%s lacks %r" % (CASE_FILE, key))
    for key, kind in CASE_KEYS.items():
        if key not in case:
            continue
        value = case[key]
        kinds = kind if isinstance(kind, tuple) else (kind,)
        if isinstance(value, bool) and bool not in kinds:
            raise CaseError("%s: %r must not be true/false" % (CASE_FILE, key))
        if not isinstance(value, kind):
            raise CaseError("%s: %r has the wrong type" % (CASE_FILE, key))
    if isinstance(case.get("xml"), str) and case["xml"] != XML_EMBEDDED:
        raise CaseError("%s: 'xml' must be true, false or %r" % (CASE_FILE, XML_EMBEDDED))
    for key in ("args", "absent", "present", "fifos", "empty_folders"):
        if not all(isinstance(x, str) for x in case.get(key, [])):
            raise CaseError("%s: %r must be a list of strings" % (CASE_FILE, key))
    if not all(isinstance(k, str) and isinstance(v, str) for k, v in case.get("env", {}).items()):
        raise CaseError("%s: 'env' must map names to string values" % CASE_FILE)
    if not all(isinstance(x, str) and x for x in case.get("forbidden", [])):
        raise CaseError("%s: 'forbidden' must be a list of non-empty strings" % CASE_FILE)
    expect_files = case.get("expect_files", {})
    if not all(isinstance(v, str) for v in expect_files.values()):
        raise CaseError("%s: 'expect_files' must map paths to file names" % CASE_FILE)
    case["expect_files"] = {}
    for rel, expected in expect_files.items():
        expected = relative_inside(expected, "expected file")
        if not (case_dir / expected).is_file():
            raise CaseError("%s: the expected file %s is missing" % (CASE_FILE, expected))
        case["expect_files"][relative_inside(rel, "expect_files path")] = expected
    text_files = case.get("text_files", [])
    if not all(isinstance(x, str) for x in text_files):
        raise CaseError("%s: 'text_files' must be a list of strings" % CASE_FILE)
    case["text_files"] = [relative_inside(x, "text_files path") for x in text_files]
    for rel in case["text_files"]:
        if rel not in case["expect_files"]:
            raise CaseError("%s: the text file %s is not one of 'expect_files'" % (CASE_FILE, rel))
    platforms = case.get("platforms", list(PLATFORMS))
    if (not platforms or not all(isinstance(x, str) and x in PLATFORMS for x in platforms)
            or len(set(platforms)) != len(platforms)):
        raise CaseError("%s: 'platforms' must list one or both of %s"
                        % (CASE_FILE, ", ".join(PLATFORMS)))
    case["platforms"] = platforms
    libraries = case.get("libraries", list(LIBRARIES))
    if (not libraries or not all(isinstance(x, str) and x in LIBRARIES for x in libraries)
            or len(set(libraries)) != len(libraries)):
        raise CaseError("%s: 'libraries' must list one or both of %s"
                        % (CASE_FILE, ", ".join(LIBRARIES)))
    if len(libraries) < len(LIBRARIES) and "library_note" not in case:
        raise CaseError("%s: a case for one library says why in 'library_note'" % CASE_FILE)
    case["libraries"] = libraries
    for key in ("description", "platform_note", "library_note"):
        if key in case and ("\n" in case[key] or not case[key].strip()):
            raise CaseError("%s: %r must be one non-empty line" % (CASE_FILE, key))
    if case.get("timeout", DEFAULT_TIMEOUT) <= 0:
        raise CaseError("%s: 'timeout' must be positive" % CASE_FILE)
    if case.get("max_seconds", 1) <= 0:
        raise CaseError("%s: 'max_seconds' must be positive" % CASE_FILE)
    program = case.get("program", DEFAULT_PROGRAM)
    if not program or "/" in program or program in (".", ".."):
        raise CaseError("%s: 'program' must be a file name in the bin directory" % CASE_FILE)
    if "cwd" in case and not (case_dir / "drive").is_dir():
        raise CaseError("%s: 'cwd' applies only to a case with drive/" % CASE_FILE)
    case["cwd"] = relative_inside(case.get("cwd", DEFAULT_CWD), "cwd")
    case["absent"] = [relative_inside(p, "absent path") for p in case.get("absent", [])]
    case["present"] = [relative_inside(p, "present path") for p in case.get("present", [])]
    case["fifos"] = [relative_inside(p, "fifo path") for p in case.get("fifos", [])]
    case["empty_folders"] = [relative_inside(p, "folder path")
                             for p in case.get("empty_folders", [])]
    for key in ("program_folder", "from_bin"):
        if not all(isinstance(k, str) and isinstance(v, str) for k, v in case.get(key, {}).items()):
            raise CaseError("%s: %r must map names to sources" % (CASE_FILE, key))
    masks = []
    for pattern in case.get("masks", []):
        try:
            masks.append(re.compile(pattern.encode("utf-8")))
        except (AttributeError, re.error) as e:
            raise CaseError("%s: 'masks' must be a list of regular expressions: %s"
                            % (CASE_FILE, e))
    case["masks"] = masks
    if "program_folder" in case and (case_dir / "drive").is_dir():
        raise CaseError("%s: a case with 'program_folder' has no drive/" % CASE_FILE)
    if case["fifos"] and case["platforms"] != ["posix"]:
        raise CaseError("%s: a case with 'fifos' holds on posix only" % CASE_FILE)
    for path_name in ("files", "drive"):
        p = case_dir / path_name
        if p.exists() and not p.is_dir():
            raise CaseError("%s must be a folder" % path_name)
    for file_name in ("stdout", "stderr", "scenario", "simlog", NW_SIMLOG):
        p = case_dir / file_name
        if p.exists() and not p.is_file():
            raise CaseError("%s must be a file" % file_name)
    if not (case_dir / "stdout").is_file():
        raise CaseError("the expected standard output (file 'stdout') is missing")
    if (case_dir / NW_SIMLOG).exists() and not (case_dir / "simlog").exists():
        raise CaseError("%s without a simlog" % NW_SIMLOG)
    if (case_dir / "simlog").exists() and not (case_dir / "scenario").exists():
        raise CaseError("simlog without a scenario")
    return case


def read_expected(case_dir: Path, name: str) -> bytes | None:
    p = case_dir / name
    if not p.exists():
        return None
    try:
        return p.read_bytes()
    except OSError as e:
        raise CaseError("cannot read %s: %s" % (name, e.strerror or e))


# ---------------------------------------------------------------------------------------
# Processes


def start(cmd: list[str], **kw) -> subprocess.Popen:
    """Starts a process in a process group of its own and keeps track of it."""
    if _interrupted.is_set():
        raise CaseError("interrupted")
    for attempt in range(50):
        try:
            proc = subprocess.Popen(cmd, start_new_session=True, **kw)
            break
        except OSError as e:
            # A program copied just now stays "busy" while a child that another worker
            # forked in the meantime still holds the copy's descriptor, until its exec.
            if e.errno != errno.ETXTBSY or attempt == 49:
                raise
            time.sleep(0.02)
    with _live_lock:
        _live_processes.add(proc)
    return proc


def forget(proc: subprocess.Popen) -> None:
    with _live_lock:
        _live_processes.discard(proc)


def kill_group(proc: subprocess.Popen) -> None:
    try:
        os.killpg(proc.pid, signal.SIGKILL)
    except (ProcessLookupError, PermissionError):
        pass


def kill_all_live() -> None:
    with _live_lock:
        procs = list(_live_processes)
    for proc in procs:
        kill_group(proc)


def substitute_port(tree: Path, port: bytes) -> None:
    """Writes the port for {PORT} in every file below tree, in UTF-16 text as well."""
    marks = [(PORT_MARK, port)] + [
        (PORT_MARK.decode("ascii").encode(code), port.decode("ascii").encode(code))
        for code in ("utf-16-le", "utf-16-be")]
    for here, _dirs, files in os.walk(tree):
        for name in files:
            p = Path(here) / name
            if p.is_symlink() or not p.is_file():
                continue
            data = p.read_bytes()
            changed = data
            for mark, value in marks:
                changed = changed.replace(mark, value)
            if changed != data:
                p.write_bytes(changed)


class Simulator:
    """The simulated SAP system around one run."""

    def __init__(self, program: Path, scenario: Path, scratch: Path):
        self.port_file = scratch / "rfcsim.port"
        self.log_file = scratch / "rfcsim.log"
        self.out_file = scratch / "rfcsim.out"
        self.proc: subprocess.Popen | None = None
        self.program = program
        self.scenario = scenario
        self.scratch = scratch

    def output(self) -> bytes:
        try:
            return self.out_file.read_bytes()
        except OSError:
            return b""

    def start(self) -> bytes:
        with open(self.out_file, "wb") as out:
            self.proc = start(
                [str(self.program), "--listen", "127.0.0.1:0", "--port-file",
                 str(self.port_file), "--log", str(self.log_file), str(self.scenario)],
                stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT,
                cwd=self.scratch)
        deadline = time.monotonic() + SIM_START_LIMIT
        while True:
            try:
                text = self.port_file.read_bytes()
            except FileNotFoundError:
                text = b""
            if text.endswith(b"\n"):
                port = text.strip()
                if not port.isdigit():
                    raise CaseError("rfcsim wrote no port number but %r" % text)
                return port
            status = self.proc.poll()
            if status is not None:
                raise CaseError("rfcsim ended with status %d before it accepted connections:\n%s"
                                % (status, "\n".join(show_stream("rfcsim output", self.output()))))
            if time.monotonic() > deadline:
                raise CaseError("rfcsim wrote no port file within %g s" % SIM_START_LIMIT)
            time.sleep(0.01)

    def stop(self) -> str | None:
        """Ends the simulator; a message when it did not end as it should."""
        if self.proc is None:
            return None
        proc, self.proc = self.proc, None
        try:
            if proc.poll() is None:
                proc.send_signal(signal.SIGTERM)
            try:
                status = proc.wait(timeout=SIM_STOP_LIMIT)
            except subprocess.TimeoutExpired:
                kill_group(proc)
                proc.wait()
                return "rfcsim did not end within %g s of SIGTERM" % SIM_STOP_LIMIT
        finally:
            forget(proc)
        if status != 0:
            return "rfcsim ended with status %d" % status
        return None


# ---------------------------------------------------------------------------------------
# Wine


class WineError(Exception):
    """Wine is missing or a prefix could not be made."""


def find_wine() -> tuple[str, str]:
    """The Wine loader and its wineserver, as the module's docstring tells."""
    def runnable(candidate) -> bool:
        return bool(candidate) and os.path.isfile(candidate) and os.access(candidate, os.X_OK)

    loader = os.environ.get("WINE", "")
    if loader and not runnable(loader):
        loader = shutil.which(loader) or ""
    if not loader:
        for candidate in (shutil.which("wine64"), "/usr/lib/wine/wine64", "/usr/lib64/wine/wine64",
                          shutil.which("wine")):
            if runnable(candidate):
                loader = candidate
                break
    if not runnable(loader):
        raise WineError("Wine was not found (wine64 on PATH, /usr/lib/wine/wine64, wine on PATH; "
                        "or set WINE); the Debian package is wine64")
    server = os.environ.get("WINESERVER", "")
    if server and not runnable(server):
        server = shutil.which(server) or ""
    if not server:
        beside = Path(os.path.realpath(loader)).parent
        for candidate in (beside / "wineserver", beside / "wineserver64",
                          shutil.which("wineserver"), "/usr/lib/wine/wineserver"):
            if candidate and runnable(str(candidate)):
                server = str(candidate)
                break
    if not runnable(server):
        raise WineError("the wineserver beside %s was not found (or set WINESERVER)" % loader)
    return loader, server


def to_crlf(data: bytes) -> bytes:
    """What a Windows text stream makes of data: every LF goes out as CR LF."""
    return data.replace(b"\n", b"\r\n")


# The names of the RFC library and of its files in the working directory, per platform.
PLATFORM_NAMES = {
    POSIX: {"{LIBRARY}": "librfccm.so", "{PARAMETER_FILE}": "saprfc.ini",
            "{TRACE_FILE}": "dev_rfc.trc"},
    WINDOWS: {"{LIBRARY}": "librfc32.dll", "{PARAMETER_FILE}": "SapRfc.ini",
              "{TRACE_FILE}": "Dev_Rfc.Trc"},
}
CUT_SOURCE = re.compile(r"cut:([0-9]+):(.*)")

# The RFC libraries a suite runs with (--rfclib), and the files of the NetWeaver stand-in:
# the library first, then its companions, each with the placeholder that names it.
CLASSIC = "classic"
NETWEAVER = "nw"
LIBRARIES = (CLASSIC, NETWEAVER)
NW_FILES = {
    POSIX: (("{NW_LIBRARY}", "libsapnwrfc.so"), ("{NW_SAPUCUM}", "libsapucum.so"),
            ("{NW_ICUUC}", "libicuuc.so.50"), ("{NW_ICUDT}", "libicudata.so.50"),
            ("{NW_ICUIN}", "libicui18n.so.50"), ("{NW_ICUDECNUMBER}", "libicudecnumber.so")),
    WINDOWS: (("{NW_LIBRARY}", "sapnwrfc.dll"), ("{NW_SAPUCUM}", "libsapucum.dll"),
              ("{NW_ICUUC}", "icuuc50.dll"), ("{NW_ICUDT}", "icudt50.dll"),
              ("{NW_ICUIN}", "icuin50.dll"), ("{NW_ICUDECNUMBER}", "libicudecnumber.dll")),
}
# The simlog a case expects where the NetWeaver library's differs.
NW_SIMLOG = "simlog-nw"
# The folder of BIN that holds the NetWeaver stand-in and its companions.
NW_FOLDER = "nwrfc"
# A value in [] of a simlog line, with the blanks at its end.
SIMLOG_PADDED_VALUE = re.compile(rb"\[([^\]\n]*?) +\]")


# The widths of the programs under test, as tarnwheel-check names them and in file names.
WIDTHS = {"x86_64": "x86-64 (64-bit)", "i386": "i386 (32-bit)"}


def program_arch(program: Path) -> str:
    """The architecture of an ELF or PE program file: "i386" for a 32-bit x86 one, else
    "x86_64" (also for a program that is no such file, as the runner's own tests use; a
    missing one fails each case that runs it)."""
    try:
        with open(program, "rb") as f:
            head = f.read(4096)
    except OSError:
        return "x86_64"
    if head.startswith(b"\x7fELF"):
        machine = int.from_bytes(head[18:20], "big" if head[5] == 2 else "little")
        codes = {62: "x86_64", 3: "i386"}
    elif head.startswith(b"MZ"):
        at = int.from_bytes(head[0x3C:0x40], "little")
        machine = int.from_bytes(head[at + 4:at + 6], "little")
        codes = {0x8664: "x86_64", 0x14C: "i386"}
    else:
        machine, codes = None, {}
    return codes.get(machine, "x86_64")


class Libraries:
    """The RFC library of a suite run: with --rfclib every case without a folder of its own
    runs its program from `stage`, a folder that holds the programs and that library (with its
    companions) only; without it, from BIN."""

    def __init__(self, rfclib: str | None, platform: str, arch: str = "x86_64"):
        self.rfclib = rfclib
        self.platform = platform
        self.arch = arch
        self.stage: Path | None = None

    @property
    def library(self) -> str:
        return self.rfclib or CLASSIC

    def names(self) -> dict[str, str]:
        """The placeholders of file names and their values on the platform."""
        names = dict(PLATFORM_NAMES[self.platform])
        names.update(NW_FILES[self.platform])
        other = "i386" if self.arch == "x86_64" else "x86_64"
        names.update({"{WIDTH}": WIDTHS[self.arch], "{OTHER_WIDTH}": WIDTHS[other],
                      "{OTHER_ARCH}": other})
        return names

    def substitute(self, text: str) -> str:
        return with_names(text, self.names())

    def substitute_bytes(self, data: bytes) -> bytes:
        return with_names_bytes(data, self.names())

    def library_files(self, bin_dir: Path) -> list[Path]:
        """The files of the suite's library: the classic one of BIN, or the NetWeaver one with
        its companions."""
        if self.library == CLASSIC:
            return [bin_dir / self.names()["{LIBRARY}"]]
        return [bin_dir / NW_FOLDER / name for _mark, name in NW_FILES[self.platform]]

    def set_up(self, scratch: Path, bin_dir: Path, programs: set[str]) -> None:
        """Makes the stage: copies of `programs` (file names in BIN) and the library files."""
        if self.rfclib is None:
            return
        self.stage = scratch / ("bin-" + self.rfclib)
        self.stage.mkdir(parents=True)
        for source in [bin_dir / p for p in sorted(programs)] + self.library_files(bin_dir):
            if not source.is_file():
                raise CaseError("%s, for the runs with the %s library, is not there"
                                % (source, self.library))
            shutil.copy2(source, self.stage / source.name)

    def runs_netweaver(self, folder: Path, args: list[str]) -> bool:
        """Whether a program in `folder` runs with the NetWeaver library: it is there and the
        classic one is not, or "RFCLIB=NW" picks it."""
        names = self.names()
        if not (folder / names["{NW_LIBRARY}"]).is_file():
            return False
        return (not (folder / names["{LIBRARY}"]).is_file()
                or "RFCLIB=NW" in " ".join(args).upper())

    @staticmethod
    def simlog(data: bytes, netweaver: bool) -> bytes:
        """A simlog as compared: with the NetWeaver library the bridge sends user and
        password without the blanks that pad them, so blanks at the end of a [] value drop
        on both sides."""
        return SIMLOG_PADDED_VALUE.sub(rb"[\1]", data) if netweaver else data


def with_names(text: str, names: dict) -> str:
    """`text` with each name placeholder made the platform's name."""
    for mark, name in names.items():
        text = text.replace(mark, name)
    return text


def with_names_bytes(data: bytes, names: dict) -> bytes:
    for mark, name in names.items():
        data = data.replace(mark.encode(), name.encode())
    return data


def name_files(tree: Path, names: dict) -> None:
    """Renames the files and folders below `tree` whose names hold a name placeholder."""
    for here, dirs, files in os.walk(tree, topdown=False):
        for name in dirs + files:
            named = with_names(name, names)
            if named != name:
                os.rename(Path(here) / name, Path(here) / named)


def copy_source(source: str, names: dict, bin_dir: Path, case_dir: Path, target: Path) -> None:
    """Copies a "bin:NAME" file of BIN, or a file of the case folder, to `target`; with
    "cut:N:" before it, only its first N bytes; or every file of a "bin:FOLDER/" into the
    folder `target`."""
    source = with_names(source, names)
    if source.startswith("bin:") and source.endswith("/"):
        origin = bin_dir / relative_inside(source[4:], "bin folder")
        if not origin.is_dir():
            raise CaseError("%s, to be copied to %s, is not there" % (origin, target.name))
        target.mkdir(parents=True, exist_ok=True)
        for item in sorted(origin.iterdir()):
            if item.is_file():
                shutil.copy2(item, target / item.name)
        return
    cut = CUT_SOURCE.fullmatch(source)
    if cut:
        source = cut.group(2)
    if source.startswith("bin:"):
        origin = bin_dir / relative_inside(source[4:], "bin file")
    else:
        origin = case_dir / relative_inside(source, "case file")
    if not origin.is_file():
        raise CaseError("%s, to be copied to %s, is not there" % (origin, target.name))
    target.parent.mkdir(parents=True, exist_ok=True)
    if cut:
        with open(origin, "rb") as f:
            target.write_bytes(f.read(int(cut.group(1))))
    else:
        shutil.copy2(origin, target)


def windows_name(path: Path) -> str:
    """The name Wine gives a program started by its POSIX path: drive Z: is "/"."""
    return "Z:" + str(path).replace("/", "\\")


class Wine:
    """The template prefix and the worker prefixes, each with its wineserver, of one run."""

    def __init__(self, loader: str, server: str, workers: int, debug: str = "-all"):
        self.loader = loader
        self.server = server
        self.workers = workers
        self.debug = debug
        self.home: Path | None = None
        self.template: Path | None = None
        self.windows: Path | None = None
        self.idle_root: Path | None = None
        self.prefixes: list[Path] = []
        self.free: queue.Queue[Path] = queue.Queue()

    def env(self, prefix: Path, base: dict | None = None) -> dict:
        env = dict(os.environ if base is None else base)
        env["WINEPREFIX"] = str(prefix)
        env["WINEDEBUG"] = self.debug
        env["TMPDIR"] = str(self.home / "tmp")
        return env

    def run_tool(self, cmd: list[str], env: dict, what: str) -> None:
        """Runs a Wine tool to its end; its output goes to a file, as a wineserver that
        stays up in the background might keep a pipe open."""
        log = self.home / "tool.log"
        with open(log, "wb") as out:
            proc = start(cmd, env=env, stdin=subprocess.DEVNULL, stdout=out,
                         stderr=subprocess.STDOUT, cwd=self.home)
        try:
            try:
                proc.wait(timeout=WINE_START_LIMIT)
            except subprocess.TimeoutExpired:
                kill_group(proc)
                proc.wait()
                raise WineError("%s did not end within %g s" % (what, WINE_START_LIMIT))
        finally:
            forget(proc)
        if proc.returncode != 0:
            output = log.read_bytes()
            raise WineError("%s ended with status %d:\n%s" % (
                what, proc.returncode, "\n".join(show_stream("output", output))))

    def set_up(self) -> None:
        self.home = Path(tempfile.mkdtemp(prefix="tarnwheel-e2e-wine-"))
        (self.home / "tmp").mkdir()
        self.template = self.home / "template"
        env = self.env(self.template)
        # No downloads of Mono or Gecko, no desktop menu entries outside the prefix.
        env["WINEDLLOVERRIDES"] = "mscoree,mshtml=;winemenubuilder.exe=d"
        self.run_tool([self.loader, "wineboot", "--init"], env, "wineboot --init")
        self.run_tool([self.server, "-w"], env, "wineserver -w")
        self.windows = self.template / "drive_c" / "windows"
        missing = [n for n in WINE_PREFIX_FILES if not (self.template / n).is_file()]
        if missing or not self.windows.is_dir():
            raise WineError("wineboot made no complete prefix (missing: %s)"
                            % ", ".join(missing or ["drive_c/windows"]))
        self.idle_root = self.home / "idle"
        self.idle_root.mkdir()
        (self.idle_root / "windows").symlink_to(self.windows)
        for number in range(1, self.workers + 1):
            prefix = self.home / ("prefix-%d" % number)
            (prefix / "dosdevices").mkdir(parents=True)
            for name in WINE_PREFIX_FILES:
                shutil.copyfile(self.template / name, prefix / name)
            (prefix / "dosdevices" / "z:").symlink_to("/")
            (prefix / "dosdevices" / "c:").symlink_to(self.idle_root)
            self.prefixes.append(prefix)
            self.run_tool([self.server, "-p%d" % WINESERVER_PERSISTENCE], self.env(prefix),
                          "wineserver for %s" % prefix.name)
        # The first program of a prefix starts Wine's services; let that happen here.
        for prefix in self.prefixes:
            self.run_tool([self.loader, "cmd.exe", "/c", "exit"], self.env(prefix),
                          "the first Windows program in %s" % prefix.name)
        for prefix in self.prefixes:
            self.free.put(prefix)

    def point_drive(self, prefix: Path, root: Path) -> None:
        """Makes root the drive C: of the prefix."""
        fresh = prefix / "c-link"
        if os.path.lexists(fresh):
            fresh.unlink()
        fresh.symlink_to(root)
        os.replace(fresh, prefix / "dosdevices" / "c:")

    def acquire(self, root: Path) -> Path:
        """A free worker prefix whose drive C: is root."""
        while True:
            if _interrupted.is_set():
                raise CaseError("interrupted")
            try:
                prefix = self.free.get(timeout=0.5)
                break
            except queue.Empty:
                continue
        try:
            self.point_drive(prefix, root)
        except OSError:
            self.free.put(prefix)
            raise
        return prefix

    def release(self, prefix: Path) -> None:
        try:
            self.point_drive(prefix, self.idle_root)
        finally:
            self.free.put(prefix)

    def close(self) -> None:
        """Ends every wineserver of the run and removes its folder."""
        if self.home is None:
            return
        for prefix in [*self.prefixes, self.template]:
            if prefix is None or not prefix.is_dir():
                continue
            env = self.env(prefix)
            for args in (["-k"], ["-w"]):
                try:
                    subprocess.run([self.server, *args], env=env, stdin=subprocess.DEVNULL,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                   cwd=self.home, timeout=WINE_STOP_LIMIT)
                except (OSError, subprocess.TimeoutExpired):
                    pass
        shutil.rmtree(self.home, ignore_errors=True)
        self.home = None


# ---------------------------------------------------------------------------------------
# One case


def check_xml(case: dict, stdout: bytes) -> list[str]:
    wanted = case.get("xml", DOC_START in stdout)
    if not wanted:
        return []
    start_at = stdout.find(DOC_START)
    end_at = stdout.rfind(DOC_END)
    if start_at < 0 or end_at < start_at:
        return ["    standard output holds no <Prtg> ... </Prtg> document"]
    problems = []
    try:
        parse_utf8_xml(stdout[start_at:end_at + len(DOC_END)])
    except (ElementTree.ParseError, UnicodeDecodeError) as e:
        problems.append("    the <Prtg> document does not parse as UTF-8 XML: %s" % e)
    console = any(c in arg for arg in case["args"] for c in CONSOLE_CHARACTERS)
    if not console and not problems and wanted != XML_EMBEDDED:
        try:
            parse_utf8_xml(stdout.strip())
        except (ElementTree.ParseError, UnicodeDecodeError) as e:
            problems.append("    the whole standard output does not parse as one UTF-8 XML "
                            "document: %s" % e)
    return problems


def parse_utf8_xml(document: bytes) -> None:
    """Parses `document` as the monitoring host reads it: bytes decoded strictly as UTF-8,
    then XML 1.0. Raises UnicodeDecodeError or ElementTree.ParseError."""
    ElementTree.fromstring(document.decode("utf-8", errors="strict"))


WINE_START_HINT = "nothing on stdout or stderr: Wine may not have started the program"
# A Windows program that crashes ends with a status of Windows (0xC0000005, say); a POSIX
# signal ends only Wine's own loader.
WINE_SIGNAL_HINT = "Wine's loader was ended by a signal"


def run_case(case_dir: Path, bin_dir: Path, sim_dir: Path, wine: Wine | None,
             libs: Libraries) -> tuple[str, list[str]]:
    """Runs one case; returns "ok", "fail" or "skip" and the lines that explain it.

    Under Wine a run that printed nothing at all and did not end as expected is tried once
    more: now and then Wine fails to start a program, which says nothing about the program.
    """
    try:
        result, lines = run_case_checked(case_dir, bin_dir, sim_dir, wine, libs)
        if result == "fail" and wine is not None and any(WINE_START_HINT in l for l in lines):
            result, lines = run_case_checked(case_dir, bin_dir, sim_dir, wine, libs)
            lines = lines + ["    (the second try; the first printed nothing)"] if lines else lines
        elif result == "fail" and wine is not None and any(WINE_SIGNAL_HINT in l for l in lines):
            result, lines = run_case_checked(case_dir, bin_dir, sim_dir, wine, libs)
            lines = lines + ["    (the second try; Wine's loader crashed on the first)"] \
                if lines else lines
        return result, lines
    except CaseError as e:
        return "fail", ["    " + line for line in str(e).splitlines()]
    except Exception as e:  # a fault of the runner must not end the other cases
        return "fail", ["    the runner failed on this case: %s: %s" % (type(e).__name__, e)]


def run_case_checked(case_dir: Path, bin_dir: Path, sim_dir: Path,
                     wine: Wine | None, libs: Libraries) -> tuple[str, list[str]]:
    case = load_case(case_dir)
    platform = WINDOWS if wine is not None else POSIX
    if platform not in case["platforms"]:
        return "skip", ["only " + " and ".join(case["platforms"])]
    if libs.library not in case["libraries"]:
        return "skip", ["only with the " + " and ".join(case["libraries"]) + " library"]
    # The program runs from the stage of the suite's library, unless it brings its own folder.
    run_dir = libs.stage if libs.stage is not None and "program_folder" not in case else bin_dir
    names = libs.names()
    for key in ("absent", "present", "fifos", "empty_folders", "text_files"):
        case[key] = [with_names(rel, names) for rel in case[key]]
    case["expect_files"] = {with_names(rel, names): expected
                            for rel, expected in case["expect_files"].items()}
    expected_out = read_expected(case_dir, "stdout")
    expected_err = read_expected(case_dir, "stderr")
    expected_log = read_expected(case_dir, "simlog")
    expected_log_nw = read_expected(case_dir, NW_SIMLOG)
    drive = case_dir / "drive"
    files = case_dir / "files"
    scenario = case_dir / "scenario"
    program = case.get("program", DEFAULT_PROGRAM)
    if wine is not None:
        program_path = run_dir / WINDOWS_PROGRAMS.get(program, program + ".exe")
        if not program_path.is_file():
            raise CaseError("the program %s is not there" % program_path)
    else:
        program_path = run_dir / program
        if not program_path.is_file() or not os.access(program_path, os.X_OK):
            raise CaseError("the program %s is not there or cannot be run" % program_path)
    sandboxed = drive.is_dir() and wine is None
    bwrap = shutil.which("bwrap") if sandboxed else None
    if sandboxed and bwrap is None:
        raise CaseError("this case needs bubblewrap (bwrap, Debian package bubblewrap) "
                        "to run with drive/ as the root, and bwrap was not found")
    sim_program = sim_dir / SIM_PROGRAM
    if scenario.exists() and not sim_program.is_file():
        raise CaseError("this case needs the simulated SAP system %s, which is not built"
                        % sim_program)

    with tempfile.TemporaryDirectory(prefix="tarnwheel-e2e-") as scratch_name:
        scratch = Path(scratch_name)
        if wine is not None:
            root = scratch / "root"
            if drive.is_dir():
                shutil.copytree(drive, root, symlinks=True)
            else:
                root.mkdir()
            if os.path.lexists(root / "windows"):
                raise CaseError("under Wine C:\\windows is Wine's own: drive/ must not hold "
                                "'windows'")
            work = root / case["cwd"]
            tree = root
        elif sandboxed:
            root = scratch / "root"
            shutil.copytree(drive, root, symlinks=True)
            work = root / case["cwd"]
            tree = root
        else:
            root = None
            work = scratch / "work"
            tree = work
        work.mkdir(parents=True, exist_ok=True)
        if files.is_dir():
            shutil.copytree(files, work, symlinks=True, dirs_exist_ok=True)
        name_files(tree, names)
        expected_out = with_names_bytes(expected_out, names)
        if expected_err is not None:
            expected_err = with_names_bytes(expected_err, names)
        for rel, source in case.get("from_bin", {}).items():
            copy_source(source, names, bin_dir, case_dir,
                        inside(work, with_names(rel, names), "from_bin path"))
        program_dir = None
        if "program_folder" in case:
            program_dir = scratch / "program"
            program_dir.mkdir()
            shutil.copy2(program_path, program_dir / program_path.name)
            program_path = program_dir / program_path.name
            for name, source in case["program_folder"].items():
                copy_source(source, names, bin_dir, case_dir,
                            inside(program_dir, with_names(name, names), "program_folder name"))
            shown = (windows_name(program_dir) + "\\" if wine is not None
                     else str(program_dir) + "/")
        elif wine is not None:
            shown = windows_name(program_path.parent) + "\\"
        elif sandboxed:
            shown = SANDBOX_BIN + "/"
        else:
            shown = str(program_path.parent.resolve()) + "/"
        expected_out = expected_out.replace(b"{PROGRAM_DIR}", shown.encode())
        if wine is not None:
            shown_work = "C:\\" + case["cwd"].replace("/", "\\") + "\\"
        elif sandboxed:
            shown_work = "/" + case["cwd"] + "/"
        else:
            shown_work = str(work.resolve()) + "/"
        expected_out = expected_out.replace(b"{WORK_DIR}", shown_work.encode())
        made_base = tree if drive.is_dir() else work
        for rel in case["fifos"]:
            (made_base / rel).parent.mkdir(parents=True, exist_ok=True)
            os.mkfifo(made_base / rel)
        for rel in case["empty_folders"]:
            (made_base / rel).mkdir(parents=True, exist_ok=True)

        args = list(case["args"])
        port = None
        env = dict(os.environ)
        extra_env = dict(case.get("env", {}))
        sim = None
        problems: list[str] = []
        try:
            if scenario.exists():
                sim = Simulator(sim_program, scenario.resolve(), scratch)
                port = sim.start()
                port_text = port.decode("ascii")
                args = [a.replace("{PORT}", port_text) for a in args]
                extra_env = {k: v.replace("{PORT}", port_text) for k, v in extra_env.items()}
                substitute_port(tree, port)
                expected_out = expected_out.replace(PORT_MARK, port)
                if expected_err is not None:
                    expected_err = expected_err.replace(PORT_MARK, port)
                if expected_log is not None:
                    expected_log = expected_log.replace(PORT_MARK, port)
                if expected_log_nw is not None:
                    expected_log_nw = expected_log_nw.replace(PORT_MARK, port)
            env.update(extra_env)

            prefix = None
            if wine is not None:
                # Added after the port substitution, which must not walk Wine's folder.
                (root / "windows").symlink_to(wine.windows)
                prefix = wine.acquire(root)
                cmd = [wine.loader, str(program_path)] + args
                argv0 = windows_name(program_path)
                env = wine.env(prefix, env)
                cwd = work
            elif sandboxed:
                cmd = [bwrap, "--bind", str(root), "/", "--ro-bind", "/usr", "/usr",
                       "--symlink", "usr/lib", "/lib", "--symlink", "usr/lib64", "/lib64",
                       "--symlink", "usr/bin", "/bin", "--symlink", "usr/sbin", "/sbin",
                       "--proc", "/proc", "--dev", "/dev",
                       "--ro-bind", str(run_dir.resolve()), SANDBOX_BIN,
                       "--chdir", "/" + case["cwd"], SANDBOX_BIN + "/" + program] + args
                argv0 = SANDBOX_BIN + "/" + program
                cwd = scratch
            else:
                cmd = [str(program_path.resolve())] + args
                argv0 = cmd[0]
                cwd = work
            stdin_data = case["stdin"].encode("utf-8") if "stdin" in case else None
            timeout = float(case.get("timeout", DEFAULT_TIMEOUT))
            try:
                began = time.monotonic()
                proc = start(cmd, cwd=cwd, env=env,
                             stdin=subprocess.PIPE if stdin_data is not None
                             else subprocess.DEVNULL,
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE)
                try:
                    try:
                        stdout, stderr = proc.communicate(stdin_data, timeout=timeout)
                    except subprocess.TimeoutExpired:
                        kill_group(proc)
                        stdout, stderr = proc.communicate()
                        problems.append("    timed out after %g s; the process group was killed"
                                        % timeout)
                    status = proc.returncode
                    took = time.monotonic() - began
                finally:
                    forget(proc)
            finally:
                if prefix is not None:
                    wine.release(prefix)
        finally:
            if sim is not None:
                message = sim.stop()
                if message:
                    problems.append("    " + message)

        if _interrupted.is_set():
            raise CaseError("interrupted")
        if wine is not None:
            expected_out = to_crlf(expected_out)
            if expected_err is not None:
                expected_err = to_crlf(expected_err)
        if status != case["status"] and not any("timed out" in p for p in problems):
            problems.append("    exit status %d, expected %d" % (status, case["status"]))
            if sandboxed and stderr.startswith(b"bwrap:"):
                problems.append("    (bwrap could not set up the sandbox; see stderr)")
            if wine is not None and status < 0:
                problems.append("    (" + WINE_SIGNAL_HINT + ")")
            if wine is not None and not stdout and not stderr:
                problems.append("    (" + WINE_START_HINT + "; --wine-debug err+all shows "
                                "Wine's errors)")
        if ("max_seconds" in case and took > case["max_seconds"]
                and not any("timed out" in p for p in problems)):
            problems.append("    the run took %.2f s, more than max_seconds %g"
                            % (took, case["max_seconds"]))
        shown_out = apply_masks(mask_times(stdout), case["masks"])
        expected_shown = apply_masks(mask_times(expected_out), case["masks"])
        if shown_out != expected_shown:
            problems.extend(describe_difference("stdout", expected_shown, shown_out))
        if expected_err is not None and mask_times(stderr) != mask_times(expected_err):
            problems.extend(describe_difference("stderr", mask_times(expected_err),
                                                mask_times(stderr)))
        problems.extend(check_xml(case, stdout))
        for rel in case["absent"]:
            if os.path.lexists(work / rel):
                problems.append("    %s exists after the run but must not" % rel)
        for rel in case["present"]:
            if not os.path.lexists(work / rel):
                problems.append("    %s does not exist after the run but must" % rel)
        log = None
        if sim is not None:
            try:
                log = sim.log_file.read_bytes()
            except OSError:
                log = None
        if expected_log is not None:
            if log is None:
                problems.append("    rfcsim wrote no log")
            else:
                netweaver = libs.runs_netweaver(program_path.parent, args)
                if netweaver and expected_log_nw is not None:
                    expected_log = expected_log_nw
                if libs.simlog(log, netweaver) != libs.simlog(expected_log, netweaver):
                    problems.extend(describe_difference(
                        "simlog", libs.simlog(expected_log, netweaver),
                        libs.simlog(log, netweaver)))
        for rel, expected_name in case["expect_files"].items():
            expected = (case_dir / expected_name).read_bytes()
            if port is not None:
                expected = expected.replace(PORT_MARK, port)
            expected = expected.replace(PROGRAM_MARK, argv0.encode("utf-8"))
            if wine is not None and rel in case["text_files"]:
                expected = to_crlf(expected)
            path = work / rel
            if not path.is_file():
                problems.append("    %s was not left by the run but must be" % rel)
                continue
            actual = path.read_bytes()
            if mask_times(actual) != mask_times(expected):
                problems.extend(describe_difference(rel, mask_times(expected),
                                                    mask_times(actual)))
        forbidden = case.get("forbidden", [])
        if forbidden:
            places = [("stdout", stdout), ("stderr", stderr)]
            if log is not None:
                places.append(("simlog", log))
            for path in files_below(work):
                try:
                    places.append((path.relative_to(work).as_posix(), path.read_bytes()))
                except OSError:
                    continue
            for text in forbidden:
                for where, data in places:
                    if holds_forbidden(data, text):
                        problems.append("    the forbidden text %r appears in %s"
                                        % (text, where))
        if problems:
            if expected_err is None:
                problems.extend(show_stream("stderr (not compared)", stderr))
            if sim is not None and sim.output():
                problems.extend(show_stream("rfcsim output", sim.output()))
        return ("fail" if problems else "ok"), problems


# ---------------------------------------------------------------------------------------


def run_selected(selected: list[Path], name_of: dict, bin_dir: Path, sim_dir: Path,
                 wine: Wine | None, libs: Libraries, jobs: int) -> tuple[int, int, int]:
    """Runs the cases and prints a line for each; the counts ran, failed and skipped."""
    ran = failed = skipped = 0
    with concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
        futures = [pool.submit(run_case, c, bin_dir, sim_dir, wine, libs) for c in selected]
        try:
            for case_dir, future in zip(selected, futures):
                outcome, lines = future.result()
                if outcome == "skip":
                    skipped += 1
                    print("skip %s (%s)" % (name_of[case_dir], "; ".join(lines)), flush=True)
                    continue
                ran += 1
                if outcome == "ok":
                    print("ok   %s" % name_of[case_dir], flush=True)
                else:
                    failed += 1
                    print("FAIL %s" % name_of[case_dir])
                    for line in lines:
                        print(line)
                    sys.stdout.flush()
        except KeyboardInterrupt:
            _interrupted.set()
            for f in futures:
                f.cancel()
            kill_all_live()
            raise
    return ran, failed, skipped


def programs_of(selected: list[Path], platform: str) -> set[str]:
    """The file names, in BIN, of the programs the cases without a folder of their own run."""
    names = set()
    for case_dir in selected:
        try:
            case = load_case(case_dir)
        except CaseError:
            continue  # the case fails when it runs
        if "program_folder" in case:
            continue
        program = case.get("program", DEFAULT_PROGRAM)
        names.add(WINDOWS_PROGRAMS.get(program, program + ".exe") if platform == WINDOWS
                  else program)
    return names


def interrupt_on_sigterm(_signum, _frame) -> None:
    raise KeyboardInterrupt


def main(argv: list[str]) -> int:
    parser = argparse.ArgumentParser(description="Runs the sensor's end-to-end cases.")
    parser.add_argument("--bin", required=True, type=Path,
                        help="folder with the built programs (BUILD/bin)")
    parser.add_argument("--cases", required=True, type=Path, help="folder of the cases")
    parser.add_argument("-k", dest="substring", default="",
                        help="run only the cases whose name contains SUBSTRING")
    parser.add_argument("-j", dest="jobs", type=int, default=2,
                        help="cases run at the same time (default 2)")
    parser.add_argument("--wine", action="store_true",
                        help="run the Windows build in --bin (Tarnwheel.exe) under Wine")
    parser.add_argument("--sim-bin", type=Path,
                        help="folder with the native rfcsim (default: --bin)")
    parser.add_argument("--wine-debug", default="-all", metavar="CHANNELS",
                        help="WINEDEBUG for the programs under Wine (default -all; err+all "
                             "shows why Wine could not start a program, on stderr)")
    parser.add_argument("--rfclib", choices=LIBRARIES,
                        help="run every case without a folder of its own from a folder that "
                             "holds the programs and only this RFC library (nw: the "
                             "NetWeaver stand-in with its companions, --bin/nwrfc); default: "
                             "from --bin, with the classic library there")
    options = parser.parse_args(argv)
    if options.jobs < 1:
        parser.error("-j needs a number of at least 1")
    if not options.cases.is_dir():
        print("e2e: the cases folder %s does not exist" % options.cases)
        return 1
    if not options.bin.is_dir():
        print("e2e: the bin folder %s does not exist" % options.bin)
        return 1
    if options.sim_bin is not None and not options.sim_bin.is_dir():
        print("e2e: the rfcsim folder %s does not exist" % options.sim_bin)
        return 1

    began = time.monotonic()
    cases, strays = find_cases(options.cases)
    name_of = {c: c.relative_to(options.cases).as_posix() or "." for c in cases}
    selected = [c for c in cases if options.substring in name_of[c]]
    strays = [s for s in strays if options.substring in s.relative_to(options.cases).as_posix()]
    if not selected and not strays:
        print("e2e: no case%s found in %s" % (
            " matching %r" % options.substring if options.substring else "", options.cases))
        return 1

    failed = 0
    for stray in strays:
        failed += 1
        print("FAIL %s" % stray.relative_to(options.cases).as_posix())
        print("    this folder has case data but no %s" % CASE_FILE)

    bin_dir = options.bin.resolve()
    sim_dir = (options.sim_bin or options.bin).resolve()
    platform = WINDOWS if options.wine else POSIX
    stage_root = Path(tempfile.mkdtemp(prefix="tarnwheel-e2e-bin-"))
    try:
        sensor = WINDOWS_PROGRAMS["tarnwheel"] if options.wine else "tarnwheel"
        libs = Libraries(options.rfclib, platform, program_arch(bin_dir / sensor))
        libs.set_up(stage_root, bin_dir, programs_of(selected, platform))
    except CaseError as e:
        shutil.rmtree(stage_root, ignore_errors=True)
        print("e2e: %s" % e)
        return 1
    wine = None
    if options.wine:
        try:
            loader, server = find_wine()
        except WineError as e:
            shutil.rmtree(stage_root, ignore_errors=True)
            print("e2e: %s" % e)
            return 1
        wine = Wine(loader, server, options.jobs, options.wine_debug)
        signal.signal(signal.SIGTERM, interrupt_on_sigterm)
    try:
        if wine is not None:
            wine.set_up()
            print("e2e: Wine prefixes ready after %.1f s" % (time.monotonic() - began),
                  flush=True)
        ran, case_failures, skipped = run_selected(selected, name_of, bin_dir, sim_dir, wine,
                                                   libs, options.jobs)
    except KeyboardInterrupt:
        _interrupted.set()
        kill_all_live()
        print("e2e: interrupted", flush=True)
        return 130
    except WineError as e:
        print("e2e: Wine could not be set up: %s" % e, flush=True)
        return 1
    finally:
        if wine is not None:
            signal.signal(signal.SIGINT, signal.SIG_IGN)
            signal.signal(signal.SIGTERM, signal.SIG_IGN)
            kill_all_live()
            wine.close()
        shutil.rmtree(stage_root, ignore_errors=True)

    failed += case_failures
    ran += len(strays)
    print("e2e: %d passed, %d failed, %d cases run, %d skipped (not for %s) in %.1f s"
          % (ran - failed, failed, ran, skipped,
             platform if options.rfclib is None else platform + " with " + options.rfclib,
             time.monotonic() - began))
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

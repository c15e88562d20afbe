#!/usr/bin/env python3
"""Runs the sensor's end-to-end cases and compares what it answers with what is expected.

    run_e2e.py --bin BUILD/bin --cases tests/e2e/cases [-k SUBSTRING] [-j N]

A case is any folder below the cases folder that holds a case.json:

    case.json   {"args": [...], "status": N, "description": "...", and optionally
                 "program", "env", "timeout", "stdin", "absent", "present", "cwd", "xml",
                 "forbidden", "expect_files"}
    stdout      the expected standard output, byte for byte (times of day masked)
    stderr      optional: the expected standard error, same treatment
    files/      optional: copied into the working directory before the run
    drive/      optional: the root of the file system for the run (bubblewrap)
    scenario    optional: a scenario for the simulated SAP system, started around the run
    simlog      optional: the log the simulated system must have written

With a scenario, the text {PORT} is replaced by the simulator's port in the arguments, the
environment values, every fixture file and the expected stdout, stderr, simlog and files.

"expect_files" maps a path in the working directory to a file of the case folder
(e.g. {"SapRfc.ini": "expected/SapRfc.ini"}): the file must be left by the run with that
content, byte for byte, after times of day are masked on both sides and {PROGRAM} in the
expected file is replaced by the program path the run was started with (its argument 0).

"forbidden" lists texts (a password, say) that must appear nowhere: not in stdout, stderr
or the simlog, nor in any file below the working directory after the run. Letter case
(a to z) is ignored, so an upper-cased copy counts as well.

Times of day (two digits, ":", two digits, ":", two digits) read as hh:mm:ss on both sides
before stdout and stderr are compared. When stdout holds "<Prtg>" (or "xml" is true), the
text from the first "<Prtg>" to the last "</Prtg>" must be one XML document, and, when no
argument holds a console character (# @ $ %), so must the whole stdout without surrounding
white space. "xml": "embedded" asks only for the first, for a plain-text answer that
carries a <Prtg> error document after other text. With drive/, the run sees a copy of it as
"/" (bubblewrap), with the working directory "cwd" (default "work") below it and the
programs at /opt/tarnwheel/bin.

Every case runs in a temporary directory of its own; nothing is written anywhere else.
Prints one line per case, a readable difference for each failure and a summary line; the
exit status is 0 only when every case passed.
"""

from __future__ import annotations

import argparse
import concurrent.futures
import difflib
import json
import os
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
PORT_MARK = b"{PORT}"
PROGRAM_MARK = b"{PROGRAM}"
DOC_START = b"<Prtg>"
DOC_END = b"</Prtg>"

# What a case.json may hold, with the accepted types.
CASE_KEYS = {
    "args": list,
    "status": int,
    "description": str,
    "program": str,
    "env": dict,
    "timeout": (int, float),
    "stdin": str,
    "absent": list,
    "present": list,
    "cwd": str,
    "xml": (bool, str),
    "forbidden": list,
    "expect_files": dict,
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
    for key in ("args", "absent", "present"):
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
    if "\n" in case["description"] or not case["description"].strip():
        raise CaseError("%s: 'description' must be one non-empty line" % CASE_FILE)
    if case.get("timeout", DEFAULT_TIMEOUT) <= 0:
        raise CaseError("%s: 'timeout' must be positive" % CASE_FILE)
    program = case.get("program", DEFAULT_PROGRAM)
    if not program or "/" in program or program in (".", ".."):
        raise CaseError("%s: 'program' must be a file name in the bin directory" % CASE_FILE)
    if "cwd" in case and not (case_dir / "drive").is_dir():
        raise CaseError("%s: 'cwd' applies only to a case with drive/" % CASE_FILE)
    case["cwd"] = relative_inside(case.get("cwd", DEFAULT_CWD), "cwd")
    case["absent"] = [relative_inside(p, "absent path") for p in case.get("absent", [])]
    case["present"] = [relative_inside(p, "present path") for p in case.get("present", [])]
    for path_name in ("files", "drive"):
        p = case_dir / path_name
        if p.exists() and not p.is_dir():
            raise CaseError("%s must be a folder" % path_name)
    for file_name in ("stdout", "stderr", "scenario", "simlog"):
        p = case_dir / file_name
        if p.exists() and not p.is_file():
            raise CaseError("%s must be a file" % file_name)
    if not (case_dir / "stdout").is_file():
        raise CaseError("the expected standard output (file 'stdout') is missing")
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
    proc = subprocess.Popen(cmd, start_new_session=True, **kw)
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
    for here, _dirs, files in os.walk(tree):
        for name in files:
            p = Path(here) / name
            if p.is_symlink() or not p.is_file():
                continue
            data = p.read_bytes()
            if PORT_MARK in data:
                p.write_bytes(data.replace(PORT_MARK, port))


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
        ElementTree.fromstring(stdout[start_at:end_at + len(DOC_END)])
    except ElementTree.ParseError as e:
        problems.append("    the <Prtg> document does not parse as XML: %s" % e)
    console = any(c in arg for arg in case["args"] for c in CONSOLE_CHARACTERS)
    if not console and not problems and wanted != XML_EMBEDDED:
        try:
            ElementTree.fromstring(stdout.strip())
        except ElementTree.ParseError as e:
            problems.append("    the whole standard output does not parse as one XML "
                            "document: %s" % e)
    return problems


def run_case(case_dir: Path, bin_dir: Path) -> tuple[bool, list[str]]:
    """Runs one case; returns whether it passed and the lines that explain a failure."""
    try:
        return run_case_checked(case_dir, bin_dir)
    except CaseError as e:
        return False, ["    " + line for line in str(e).splitlines()]
    except Exception as e:  # a fault of the runner must not end the other cases
        return False, ["    the runner failed on this case: %s: %s" % (type(e).__name__, e)]


def run_case_checked(case_dir: Path, bin_dir: Path) -> tuple[bool, list[str]]:
    case = load_case(case_dir)
    expected_out = read_expected(case_dir, "stdout")
    expected_err = read_expected(case_dir, "stderr")
    expected_log = read_expected(case_dir, "simlog")
    drive = case_dir / "drive"
    files = case_dir / "files"
    scenario = case_dir / "scenario"
    program = case.get("program", DEFAULT_PROGRAM)
    program_path = bin_dir / program
    if not program_path.is_file() or not os.access(program_path, os.X_OK):
        raise CaseError("the program %s is not there or cannot be run" % program_path)
    sandboxed = drive.is_dir()
    bwrap = shutil.which("bwrap") if sandboxed else None
    if sandboxed and bwrap is None:
        raise CaseError("this case needs bubblewrap (bwrap, Debian package bubblewrap) "
                        "to run with drive/ as the root, and bwrap was not found")
    sim_program = bin_dir / SIM_PROGRAM
    if scenario.exists() and not sim_program.is_file():
        raise CaseError("this case needs the simulated SAP system %s, which is not built"
                        % sim_program)

    with tempfile.TemporaryDirectory(prefix="tarnwheel-e2e-") as scratch_name:
        scratch = Path(scratch_name)
        if sandboxed:
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
            env.update(extra_env)

            if sandboxed:
                cmd = [bwrap, "--bind", str(root), "/", "--ro-bind", "/usr", "/usr",
                       "--symlink", "usr/lib", "/lib", "--symlink", "usr/lib64", "/lib64",
                       "--symlink", "usr/bin", "/bin", "--symlink", "usr/sbin", "/sbin",
                       "--proc", "/proc", "--dev", "/dev",
                       "--ro-bind", str(bin_dir.resolve()), SANDBOX_BIN,
                       "--chdir", "/" + case["cwd"], SANDBOX_BIN + "/" + program] + args
                argv0 = SANDBOX_BIN + "/" + program
                cwd = scratch
            else:
                cmd = [str(program_path.resolve())] + args
                argv0 = cmd[0]
                cwd = work
            stdin_data = case["stdin"].encode("utf-8") if "stdin" in case else None
            timeout = float(case.get("timeout", DEFAULT_TIMEOUT))
            proc = start(cmd, cwd=cwd, env=env,
                         stdin=subprocess.PIPE if stdin_data is not None else subprocess.DEVNULL,
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
            finally:
                forget(proc)
        finally:
            if sim is not None:
                message = sim.stop()
                if message:
                    problems.append("    " + message)

        if _interrupted.is_set():
            raise CaseError("interrupted")
        if status != case["status"] and not any("timed out" in p for p in problems):
            problems.append("    exit status %d, expected %d" % (status, case["status"]))
            if sandboxed and stderr.startswith(b"bwrap:"):
                problems.append("    (bwrap could not set up the sandbox; see stderr)")
        if mask_times(stdout) != mask_times(expected_out):
            problems.extend(describe_difference("stdout", mask_times(expected_out),
                                                mask_times(stdout)))
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
            elif log != expected_log:
                problems.extend(describe_difference("simlog", expected_log, log))
        for rel, expected_name in case["expect_files"].items():
            expected = (case_dir / expected_name).read_bytes()
            if port is not None:
                expected = expected.replace(PORT_MARK, port)
            expected = expected.replace(PROGRAM_MARK, argv0.encode("utf-8"))
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
        return not problems, problems


# ---------------------------------------------------------------------------------------


def main(argv: list[str]) -> int:
    parser = argparse.ArgumentParser(description="Runs the sensor's end-to-end cases.")
    parser.add_argument("--bin", required=True, type=Path,
                        help="folder with the built programs (BUILD/bin)")
    parser.add_argument("--cases", required=True, type=Path, help="folder of the cases")
    parser.add_argument("-k", dest="substring", default="",
                        help="run only the cases whose name contains SUBSTRING")
    parser.add_argument("-j", dest="jobs", type=int, default=2,
                        help="cases run at the same time (default 2)")
    options = parser.parse_args(argv)
    if options.jobs < 1:
        parser.error("-j needs a number of at least 1")
    if not options.cases.is_dir():
        print("e2e: the cases folder %s does not exist" % options.cases)
        return 1
    if not options.bin.is_dir():
        print("e2e: the bin folder %s does not exist" % options.bin)
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
    with concurrent.futures.ThreadPoolExecutor(max_workers=options.jobs) as pool:
        futures = [pool.submit(run_case, c, bin_dir) for c in selected]
        try:
            for case_dir, future in zip(selected, futures):
                passed, lines = future.result()
                if passed:
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
            print("e2e: interrupted")
            return 130

    total = len(selected) + len(strays)
    print("e2e: %d passed, %d failed, %d cases in %.1f s"
          % (total - failed, failed, total, time.monotonic() - began))
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

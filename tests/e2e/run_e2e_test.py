#!/usr/bin/env python3
"""Checks of the end-to-end runner itself, with a stand-in program instead of the sensor.

    python3 tests/e2e/run_e2e_test.py
"""

from __future__ import annotations

import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import textwrap
import time
import unittest
from pathlib import Path

RUNNER = Path(__file__).resolve().parent / "run_e2e.py"

# Behaves as its first argument says; "#"-style arguments are ignored.
FAKE = textwrap.dedent("""\
    import os, sys, time
    a = [x for x in sys.argv[1:]]
    mode = a[0] if a else ""
    out = sys.stdout.buffer
    if mode == "echo":
        out.write((" ".join(a[1:]) + "\\n").encode())
    elif mode == "stdin":
        out.write(sys.stdin.buffer.read().upper())
    elif mode == "env":
        out.write((os.environ.get("FOO", "-") + "\\n").encode())
    elif mode == "clock":
        out.write(time.strftime("at %H:%M:%S\\n").encode())
    elif mode == "sleep":
        open("started", "w").close()
        time.sleep(60)
    elif mode == "nap":
        time.sleep(float(a[1]))
    elif mode == "doc":
        out.write(a[1].encode().decode("unicode_escape").encode("latin-1"))
    elif mode == "touch":
        open(a[1], "w").close()
    elif mode == "cat":
        out.write(open(a[1], "rb").read())
    elif mode == "write":
        os.makedirs(os.path.dirname(a[1]) or ".", exist_ok=True)
        open(a[1], "wb").write(a[2].encode().decode("unicode_escape").encode("latin-1"))
    elif mode == "selfdir":
        here = os.path.dirname(os.path.abspath(sys.argv[0]))
        out.write((here + "/ " + " ".join(sorted(os.listdir(here))) + "\\n").encode())
    elif mode == "kind":
        p = a[1]
        out.write((("fifo" if __import__("stat").S_ISFIFO(os.lstat(p).st_mode) else
                    "dir" if os.path.isdir(p) else "other") + "\\n").encode())
    elif mode == "cwd":
        out.write((os.getcwd() + "/\\n").encode())
    elif mode == "argv0":
        open("argv0", "w").write("run as " + sys.argv[0] + time.strftime(" at %H:%M:%S"))
    sys.stderr.write("note\\n")
    sys.exit(int(os.environ.get("RC", "0")))
""")

SIM = textwrap.dedent("""\
    import signal, socket, sys, time
    args = sys.argv[1:]
    port_file = args[args.index("--port-file") + 1]
    log = args[args.index("--log") + 1]
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    s.listen()
    port = s.getsockname()[1]
    with open(log, "w") as f:
        f.write("port %d scenario %s" % (port, open(args[-1]).read()))
    with open(port_file, "w") as f:
        f.write("%d\\n" % port)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    while True:
        time.sleep(1)
""")


def executable(path: Path, body: str) -> None:
    path.write_text("#!%s\n%s" % (sys.executable, body))
    path.chmod(0o755)


class RunnerTest(unittest.TestCase):
    def setUp(self):
        self.tmp = Path(tempfile.mkdtemp(prefix="run-e2e-test-"))
        self.bin = self.tmp / "bin"
        self.cases = self.tmp / "cases"
        self.bin.mkdir()
        self.cases.mkdir()
        executable(self.bin / "fake", FAKE)

    def tearDown(self):
        shutil.rmtree(self.tmp)

    def case(self, name: str, data, stdout: bytes | None = b"", **extra_files) -> Path:
        d = self.cases / name
        d.mkdir(parents=True)
        text = data if isinstance(data, str) else json.dumps(
            {"description": "d", "program": "fake", "status": 0, **data})
        (d / "case.json").write_text(text)
        if stdout is not None:
            (d / "stdout").write_bytes(stdout)
        for rel, content in extra_files.items():
            p = d / rel.replace("__", "/")
            p.parent.mkdir(parents=True, exist_ok=True)
            p.write_bytes(content)
        return d

    def run_runner(self, *more: str) -> tuple[int, str]:
        r = subprocess.run([sys.executable, str(RUNNER), "--bin", str(self.bin),
                            "--cases", str(self.cases), *more],
                           capture_output=True, text=True, timeout=60)
        self.assertEqual(r.stderr, "")
        return r.returncode, r.stdout

    def assertOutcome(self, name: str, passed: bool, output: str):
        self.assertIn(("ok   " if passed else "FAIL ") + name + "\n", output)

    # -- passing and failing on the output

    def test_all_pass_gives_status_0_and_a_summary(self):
        self.case("a", {"args": ["echo", "hi"]}, b"hi\n")
        self.case("g/b", {"args": ["stdin"], "stdin": "abc\n"}, b"ABC\n")
        self.case("g/c", {"args": ["env"], "env": {"FOO": "bar"}}, b"bar\n")
        status, out = self.run_runner()
        self.assertEqual(status, 0, out)
        for name in ("a", "g/b", "g/c"):
            self.assertOutcome(name, True, out)
        self.assertRegex(out, r"e2e: 3 passed, 0 failed, 3 cases run, 0 skipped \(not for posix\) "
                              r"in [0-9.]+ s\n$")

    def test_stdout_difference_fails_and_shows_line_ends(self):
        self.case("crlf", {"args": ["doc", "line\\r\\nnext\\n"]}, b"line\nnext\n")
        status, out = self.run_runner()
        self.assertEqual(status, 1)
        self.assertOutcome("crlf", False, out)
        self.assertIn("+line\\r\\n", out)
        self.assertIn("-line\\n", out)
        self.assertIn("e2e: 0 passed, 1 failed, 1 cases run", out)

    def test_exit_status_is_compared(self):
        self.case("rc", {"args": ["echo", "x"], "env": {"RC": "3"}, "status": 2}, b"x\n")
        status, out = self.run_runner()
        self.assertEqual(status, 1)
        self.assertIn("exit status 3, expected 2", out)
        self.assertIn("| note\\n", out)  # stderr shown when it is not compared

    def test_stderr_compared_when_expected(self):
        self.case("e1", {"args": ["echo"]}, b"\n", stderr=b"note\n")
        self.case("e2", {"args": ["echo"]}, b"\n", stderr=b"other\n")
        status, out = self.run_runner()
        self.assertOutcome("e1", True, out)
        self.assertOutcome("e2", False, out)
        self.assertIn("stderr differs", out)

    def test_times_of_day_are_masked(self):
        self.case("clock", {"args": ["clock"]}, b"at 01:02:03\n")
        self.case("clock_digits", {"args": ["echo", "x101:02:03"]}, b"x199:99:99\n")
        status, out = self.run_runner()
        self.assertOutcome("clock", True, out)
        self.assertOutcome("clock_digits", False, out)  # a longer digit run is no time

    def test_timeout_kills_the_run(self):
        self.case("slow", {"args": ["sleep"], "timeout": 1})
        began = time.monotonic()
        status, out = self.run_runner()
        self.assertLess(time.monotonic() - began, 30)
        self.assertEqual(status, 1)
        self.assertIn("timed out after 1 s", out)

    def test_max_seconds_fails_a_slow_run(self):
        self.case("quick", {"args": ["nap", "0"], "max_seconds": 5})
        self.case("slow", {"args": ["nap", "1.5"], "max_seconds": 0.5})
        self.case("bad", {"args": ["nap", "0"], "max_seconds": 0})
        status, out = self.run_runner()
        self.assertEqual(status, 1)
        self.assertOutcome("quick", True, out)
        self.assertOutcome("slow", False, out)
        self.assertRegex(out, r"the run took [0-9.]+ s, more than max_seconds 0\.5\n")
        self.assertOutcome("bad", False, out)
        self.assertIn("'max_seconds' must be positive", out)

    # -- the XML check

    def test_broken_document_fails(self):
        self.case("amp", {"args": ["doc", "<Prtg><Text>a & b</Text></Prtg>\\n"]},
                  b"<Prtg><Text>a & b</Text></Prtg>\n")
        status, out = self.run_runner()
        self.assertOutcome("amp", False, out)
        self.assertIn("does not parse as UTF-8 XML", out)

    def test_document_bytes_are_read_as_utf8(self):
        # A Latin-1 byte is well-formed to a Latin-1 reader but not to the monitoring host.
        self.case("latin1", {"args": ["doc", "<Prtg><Text>\\xfc</Text></Prtg>\\n"]},
                  b"<Prtg><Text>\xfc</Text></Prtg>\n")
        self.case("utf8", {"args": ["doc", "<Prtg><Text>\\xc3\\xbc</Text></Prtg>\\n"]},
                  b"<Prtg><Text>\xc3\xbc</Text></Prtg>\n")
        self.case("control", {"args": ["doc", "<Prtg><Text>\\x01</Text></Prtg>\\n"]},
                  b"<Prtg><Text>\x01</Text></Prtg>\n")
        status, out = self.run_runner()
        self.assertOutcome("latin1", False, out)
        self.assertIn("does not parse as UTF-8 XML", out)
        self.assertOutcome("utf8", True, out)
        self.assertOutcome("control", False, out)

    def test_console_lines_around_the_document_only_with_console_characters(self):
        text = "* console line\\n<Prtg><Text>x</Text></Prtg>\\n"
        expected = b"* console line\n<Prtg><Text>x</Text></Prtg>\n"
        self.case("plain", {"args": ["doc", text]}, expected)
        self.case("console", {"args": ["doc", text, "#"]}, expected)
        status, out = self.run_runner()
        self.assertOutcome("plain", False, out)
        self.assertIn("the whole standard output does not parse", out)
        self.assertOutcome("console", True, out)

    def test_xml_true_needs_a_document_and_false_skips_the_check(self):
        self.case("needs", {"args": ["echo", "x"], "xml": True}, b"x\n")
        self.case("skips", {"args": ["doc", "<Prtg>&</Prtg>"], "xml": False}, b"<Prtg>&</Prtg>")
        status, out = self.run_runner()
        self.assertOutcome("needs", False, out)
        self.assertOutcome("skips", True, out)

    def test_xml_embedded_checks_only_the_document(self):
        text = "\\n> PRD.P00: 400 Pages<Prtg><Text>x</Text></Prtg>\\n"
        expected = b"\n> PRD.P00: 400 Pages<Prtg><Text>x</Text></Prtg>\n"
        self.case("whole", {"args": ["doc", text]}, expected)
        self.case("embedded", {"args": ["doc", text], "xml": "embedded"}, expected)
        self.case("broken", {"args": ["doc", "> x<Prtg>&</Prtg>"], "xml": "embedded"},
                  b"> x<Prtg>&</Prtg>")
        self.case("absent", {"args": ["echo", "x"], "xml": "embedded"}, b"x\n")
        self.case("other", {"args": ["echo", "x"], "xml": "part"}, b"x\n")
        status, out = self.run_runner()
        self.assertOutcome("whole", False, out)
        self.assertOutcome("embedded", True, out)
        self.assertOutcome("broken", False, out)
        self.assertIn("the <Prtg> document does not parse as UTF-8 XML", out)
        self.assertOutcome("absent", False, out)
        self.assertIn("standard output holds no <Prtg> ... </Prtg> document", out)
        self.assertOutcome("other", False, out)
        self.assertIn("'xml' must be true, false or 'embedded'", out)

    # -- files

    def test_present_and_absent(self):
        self.case("ok", {"args": ["touch", "made"], "present": ["made"], "absent": ["other"]})
        self.case("bad", {"args": ["touch", "made"], "present": ["other"], "absent": ["made"]})
        status, out = self.run_runner()
        self.assertOutcome("ok", True, out)
        self.assertIn("made exists after the run but must not", out)
        self.assertIn("other does not exist after the run but must", out)

    def test_fixture_bytes_are_kept(self):
        self.case("bytes", {"args": ["cat", "f"]}, b"a\r\nb\x00\xff\n", files__f=b"a\r\nb\x00\xff\n")
        status, out = self.run_runner()
        self.assertEqual(status, 0, out)

    @unittest.skipUnless(shutil.which("bwrap") and os.path.exists("/usr/bin/python3"),
                         "bubblewrap or /usr/bin/python3 is not installed")
    def test_drive_is_the_root(self):
        # Inside the sandbox only /usr is there besides the drive.
        (self.bin / "fake").write_text("#!/usr/bin/python3\n" + FAKE)
        self.case("rooted", {"args": ["cat", "/etc/conf"], "cwd": "home/w", "present": ["f"]},
                  b"C\n", drive__etc__conf=b"C\n", files__f=b"")
        self.case("unrooted", {"args": ["cat", "/etc/conf"]}, b"C\n", drive__x=b"")
        status, out = self.run_runner()
        self.assertOutcome("rooted", True, out)
        self.assertOutcome("unrooted", False, out)  # the drive holds no /etc/conf

    def test_expect_files_byte_for_byte(self):
        self.case("same", {"args": ["write", "out.ini", "a\\r\\nb"],
                           "expect_files": {"out.ini": "expected/out"}},
                  expected__out=b"a\r\nb")
        self.case("lf", {"args": ["write", "out.ini", "a\\r\\nb"],
                         "expect_files": {"out.ini": "expected/out"}},
                  expected__out=b"a\nb")
        self.case("longer", {"args": ["write", "out.ini", "a\\r\\nb"],
                             "expect_files": {"out.ini": "expected/out"}},
                  expected__out=b"a\r\nb\n")
        self.case("missing", {"args": ["echo"], "expect_files": {"out.ini": "expected/out"}},
                  b"\n", expected__out=b"")
        self.case("nested", {"args": ["write", "d/x", "1"], "expect_files": {"d/x": "e"}}, e=b"1")
        status, out = self.run_runner()
        self.assertOutcome("same", True, out)
        self.assertOutcome("lf", False, out)
        self.assertIn("out.ini differs", out)
        self.assertOutcome("longer", False, out)
        self.assertOutcome("missing", False, out)
        self.assertIn("out.ini was not left by the run but must be", out)
        self.assertOutcome("nested", True, out)

    def test_expect_files_program_mark_and_times(self):
        self.case("argv0", {"args": ["argv0"], "expect_files": {"argv0": "expected"}},
                  expected=b"run as {PROGRAM} at 23:59:59")
        self.case("other", {"args": ["argv0"], "expect_files": {"argv0": "expected"}},
                  expected=b"run as /elsewhere/fake at 23:59:59")
        status, out = self.run_runner()
        self.assertOutcome("argv0", True, out)
        self.assertOutcome("other", False, out)

    def test_expect_files_needs_the_expected_file(self):
        self.case("absent", {"args": ["echo"], "expect_files": {"x": "nothere"}}, b"\n")
        self.case("outside", {"args": ["echo"], "expect_files": {"../x": "e"}}, b"\n", e=b"")
        status, out = self.run_runner()
        self.assertIn("the expected file nothere is missing", out)
        self.assertIn("must stay inside the working directory", out)
        self.assertEqual(status, 1)

    def test_forbidden_text_anywhere_fails(self):
        self.case("clean", {"args": ["echo", "hi"], "forbidden": ["Secret7"]}, b"hi\n")
        self.case("in_stdout", {"args": ["echo", "SECRET7"], "forbidden": ["Secret7"]},
                  b"SECRET7\n")
        self.case("in_stderr", {"args": ["echo"], "forbidden": ["NOTE"]}, b"\n")
        self.case("in_file", {"args": ["write", "sub/t.trc", "x secret7 y"],
                              "forbidden": ["Secret7"]})
        self.case("in_fixture", {"args": ["echo"], "forbidden": ["Secret7"]}, b"\n",
                  files__old=b"Secret7")
        status, out = self.run_runner()
        self.assertOutcome("clean", True, out)
        self.assertOutcome("in_stdout", False, out)
        self.assertIn("the forbidden text 'Secret7' appears in stdout", out)
        self.assertOutcome("in_stderr", False, out)
        self.assertIn("the forbidden text 'NOTE' appears in stderr", out)
        self.assertOutcome("in_file", False, out)
        self.assertIn("the forbidden text 'Secret7' appears in sub/t.trc", out)
        self.assertOutcome("in_fixture", False, out)

    def test_forbidden_must_be_texts(self):
        self.case("empty", {"args": ["echo"], "forbidden": [""]}, b"\n")
        status, out = self.run_runner()
        self.assertIn("'forbidden' must be a list of non-empty strings", out)

    # -- the simulated SAP system

    def test_scenario_port_is_substituted_and_log_compared(self):
        executable(self.bin / "rfcsim", SIM)
        self.case("sim", {"args": ["cat", "f"], "env": {"FOO": "{PORT}"}},
                  b"port {PORT}\n", files__f=b"port {PORT}\n", scenario=b"S",
                  simlog=b"port {PORT} scenario S")
        self.case("sim_env", {"args": ["env"], "env": {"FOO": "{PORT}"}}, b"{PORT}\n",
                  scenario=b"S", simlog=b"something else")
        self.case("sim_file", {"args": ["write", "ini", "GWSERV={PORT}"],
                               "expect_files": {"ini": "expected"}},
                  scenario=b"S", expected=b"GWSERV={PORT}")
        self.case("sim_file_other", {"args": ["write", "ini", "GWSERV={PORT}"],
                                     "expect_files": {"ini": "expected"}},
                  scenario=b"S", expected=b"GWSERV=3300")
        self.case("sim_forbidden", {"args": ["echo"], "forbidden": ["scenario S"]}, b"\n",
                  scenario=b"S")
        status, out = self.run_runner()
        self.assertOutcome("sim", True, out)
        self.assertOutcome("sim_env", False, out)
        self.assertIn("simlog differs", out)
        self.assertOutcome("sim_file", True, out)
        self.assertOutcome("sim_file_other", False, out)
        self.assertOutcome("sim_forbidden", False, out)
        self.assertIn("the forbidden text 'scenario S' appears in simlog", out)

    def test_scenario_without_simulator_fails_clearly(self):
        self.case("sim", {"args": ["echo"]}, b"\n", scenario=b"S")
        status, out = self.run_runner()
        self.assertOutcome("sim", False, out)
        self.assertIn("rfcsim, which is not built", out)

    def test_sim_bin_names_the_simulator_folder(self):
        sim_bin = self.tmp / "simbin"
        sim_bin.mkdir()
        executable(sim_bin / "rfcsim", SIM)
        self.case("sim", {"args": ["env"], "env": {"FOO": "{PORT}"}}, b"{PORT}\n",
                  scenario=b"S", simlog=b"port {PORT} scenario S")
        status, out = self.run_runner()
        self.assertOutcome("sim", False, out)
        self.assertIn("rfcsim, which is not built", out)
        status, out = self.run_runner("--sim-bin", str(sim_bin))
        self.assertEqual(status, 0, out)
        status, out = self.run_runner("--sim-bin", str(self.tmp / "nothere"))
        self.assertEqual(status, 1)
        self.assertIn("the rfcsim folder %s does not exist" % (self.tmp / "nothere"), out)

    # -- platforms

    def test_platforms_choose_the_cases_that_run(self):
        self.case("both", {"args": ["echo", "x"]}, b"x\n")
        self.case("posix", {"args": ["echo", "x"], "platforms": ["posix"],
                            "platform_note": "POSIX only"}, b"x\n")
        self.case("windows", {"args": ["echo", "x"], "platforms": ["windows"]}, b"y\n")
        self.case("posix_failing", {"args": ["echo", "x"], "platforms": ["posix", "windows"]},
                  b"y\n")
        status, out = self.run_runner()
        self.assertEqual(status, 1)
        self.assertOutcome("both", True, out)
        self.assertOutcome("posix", True, out)
        self.assertIn("skip windows (only windows)\n", out)
        self.assertOutcome("posix_failing", False, out)
        self.assertIn("e2e: 2 passed, 1 failed, 3 cases run, 1 skipped (not for posix) in", out)

    def test_platforms_must_be_known(self):
        self.case("linux", {"args": ["echo"], "platforms": ["linux"]}, b"\n")
        self.case("empty", {"args": ["echo"], "platforms": []}, b"\n")
        self.case("twice", {"args": ["echo"], "platforms": ["posix", "posix"]}, b"\n")
        self.case("text", {"args": ["echo"], "platforms": "posix"}, b"\n")
        self.case("note", {"args": ["echo"], "platform_note": "a\nb"}, b"\n")
        status, out = self.run_runner()
        self.assertIn("e2e: 0 passed, 5 failed, 5 cases run", out)
        self.assertEqual(out.count("'platforms' must list one or both of posix, windows"), 3)
        self.assertIn("'platforms' has the wrong type", out)
        self.assertIn("'platform_note' must be one non-empty line", out)

    def test_text_files_change_nothing_natively(self):
        self.case("text", {"args": ["write", "out", "a\\nb\\n"],
                           "expect_files": {"out": "expected"}, "text_files": ["out"]},
                  expected=b"a\nb\n")
        self.case("crlf", {"args": ["write", "out", "a\\nb\\n"],
                           "expect_files": {"out": "expected"}, "text_files": ["out"]},
                  expected=b"a\r\nb\r\n")
        self.case("stray", {"args": ["write", "out", "a"], "expect_files": {"out": "expected"},
                            "text_files": ["other"]}, expected=b"a")
        status, out = self.run_runner()
        self.assertOutcome("text", True, out)
        self.assertOutcome("crlf", False, out)
        self.assertOutcome("stray", False, out)
        self.assertIn("the text file other is not one of 'expect_files'", out)

    # -- broken case data

    def test_program_folder_holds_the_program_and_the_files_named(self):
        (self.bin / "librfccm.so").write_bytes(b"library")
        (self.bin / "other").write_bytes(b"not copied")
        self.case("alone", {"args": ["selfdir"], "program_folder": {}}, b"{PROGRAM_DIR} fake\n")
        self.case("with", {"args": ["selfdir"],
                           "program_folder": {"{LIBRARY}": "bin:{LIBRARY}", "x.txt": "x.txt"}},
                  b"{PROGRAM_DIR} fake librfccm.so x.txt\n", **{"x.txt": b"x"})
        self.case("planted", {"args": ["cat", "librfccm.so"],
                              "from_bin": {"{LIBRARY}": "bin:{LIBRARY}"}}, b"library")
        self.case("absent", {"args": ["echo"], "program_folder": {"l": "bin:nothing"}}, b"\n")
        (self.bin / "nw").mkdir()
        (self.bin / "nw" / "a.so").write_bytes(b"a")
        (self.bin / "nw" / "b.so.50").write_bytes(b"b")
        (self.bin / "nw" / "deeper").mkdir()
        self.case("folder", {"args": ["selfdir"], "program_folder": {".": "bin:nw/"}},
                  b"{PROGRAM_DIR} a.so b.so.50 fake\n")
        self.case("folder_to_work", {"args": ["cat", "lib/b.so.50"],
                                     "from_bin": {"lib": "bin:nw/"}}, b"b")
        self.case("no_folder", {"args": ["echo"], "program_folder": {".": "bin:none/"}}, b"\n")
        status, out = self.run_runner()
        self.assertOutcome("folder", True, out)
        self.assertOutcome("folder_to_work", True, out)
        self.assertOutcome("no_folder", False, out)
        self.assertOutcome("alone", True, out)
        self.assertOutcome("with", True, out)
        self.assertOutcome("planted", True, out)
        self.assertOutcome("absent", False, out)
        self.assertIn("nothing, to be copied to l, is not there", out)

    def test_folder_marks_and_masks(self):
        (self.bin / "other").write_bytes(b"x")
        self.case("bin", {"args": ["selfdir"]}, b"{PROGRAM_DIR} fake other\n")
        self.case("work", {"args": ["cwd"]}, b"{WORK_DIR}\n")
        self.case("masked", {"args": ["echo", "took", "17", "ms,", "took", "3", "ms"],
                             "masks": ["took [0-9]+ ms"]}, b"took 0 ms, took 0 ms\n")
        self.case("unmasked", {"args": ["echo", "took", "17", "ms"]}, b"took 0 ms\n")
        self.case("bad_mask", {"args": ["echo"], "masks": ["("]}, b"\n")
        status, out = self.run_runner()
        self.assertOutcome("bin", True, out)
        self.assertOutcome("work", True, out)
        self.assertOutcome("masked", True, out)
        self.assertOutcome("unmasked", False, out)
        self.assertOutcome("bad_mask", False, out)
        self.assertIn("'masks' must be a list of regular expressions", out)

    def test_cut_sources_hold_the_first_bytes(self):
        (self.bin / "librfccm.so").write_bytes(b"0123456789")
        self.case("cut", {"args": ["cat", "l"], "from_bin": {"l": "cut:4:bin:{LIBRARY}"}},
                  b"0123")
        self.case("longer", {"args": ["cat", "l"], "from_bin": {"l": "cut:99:x"}}, b"xy", x=b"xy")
        status, out = self.run_runner()
        self.assertEqual(status, 0, out)

    def test_platform_names_of_the_library_files(self):
        # Natively the names SAP's Linux library uses.
        (self.bin / "fake").write_text("#!/usr/bin/python3\n" + FAKE)  # runs in the sandbox
        self.case("files", {"args": ["cat", "dev_rfc.trc"], "absent": ["SapRfc.ini"],
                            "present": ["{TRACE_FILE}", "d/{PARAMETER_FILE}/x"]},
                  b"trace of {LIBRARY}", **{"files__{TRACE_FILE}": b"trace of librfccm.so",
                                             "files__d__{PARAMETER_FILE}__x": b""})
        self.case("written", {"args": ["write", "saprfc.ini", "a\\nb"],
                              "expect_files": {"{PARAMETER_FILE}": "expected"}},
                  b"", expected=b"a\nb")
        self.case("drive", {"args": ["cat", "dev_rfc.trc"], "cwd": "w"}, b"t",
                  **{"drive__w__{TRACE_FILE}": b"t"})
        self.case("stderr", {"args": ["echo"]}, b"\n", stderr=b"{PARAMETER_FILE}\n")
        status, out = self.run_runner()
        self.assertOutcome("files", True, out)
        self.assertOutcome("written", True, out)
        self.assertOutcome("drive", True, out)
        self.assertOutcome("stderr", False, out)
        self.assertIn("expected: ...saprfc.ini\\n", out)

    # -- the RFC library of a run

    NW_NAMES = ("libsapnwrfc.so", "libsapucum.so", "libicuuc.so.50", "libicudata.so.50",
                "libicui18n.so.50", "libicudecnumber.so")

    def libraries_in_bin(self) -> None:
        (self.bin / "librfccm.so").write_bytes(b"classic")
        (self.bin / "nwrfc").mkdir()
        for name in self.NW_NAMES:
            (self.bin / "nwrfc" / name).write_bytes(name.encode())

    def test_rfclib_runs_from_a_folder_with_that_library_only(self):
        self.libraries_in_bin()
        (self.bin / "unrelated").write_bytes(b"not copied")
        self.case("dir", {"args": ["selfdir"]}, b"{PROGRAM_DIR} ignored\n")
        status, out = self.run_runner("-k", "dir")
        self.assertIn("+%s/ fake librfccm.so nwrfc unrelated\\n" % self.bin, out)  # BIN itself
        status, out = self.run_runner("--rfclib", "classic")
        self.assertRegex(out, r"\+/\S*/bin-classic/ fake librfccm.so\\n")
        status, out = self.run_runner("--rfclib", "nw")
        self.assertRegex(out, r"\+/\S*/bin-nw/ fake %s\\n" % " ".join(sorted(self.NW_NAMES)))
        self.assertIn("0 skipped (not for posix with nw)", out)

    def test_rfclib_needs_the_library_files(self):
        self.case("a", {"args": ["echo"]}, b"\n")
        status, out = self.run_runner("--rfclib", "nw")
        self.assertEqual(status, 1)
        self.assertIn("libsapnwrfc.so, for the runs with the nw library, is not there", out)
        self.libraries_in_bin()
        status, out = self.run_runner("--rfclib", "nw")
        self.assertEqual(status, 0, out)

    def test_libraries_choose_the_cases_that_run(self):
        self.libraries_in_bin()
        note = {"library_note": "why"}
        self.case("both", {"args": ["echo", "x"]}, b"x\n")
        self.case("classic", {"args": ["echo", "x"], "libraries": ["classic"], **note}, b"x\n")
        self.case("nw", {"args": ["echo", "x"], "libraries": ["nw"], **note}, b"x\n")
        self.case("unexplained", {"args": ["echo"], "libraries": ["nw"]}, b"\n")
        self.case("unknown", {"args": ["echo"], "libraries": ["sap"]}, b"\n")
        status, out = self.run_runner()
        self.assertIn("skip nw (only with the nw library)\n", out)
        self.assertOutcome("classic", True, out)
        self.assertIn("a case for one library says why in 'library_note'", out)
        self.assertIn("'libraries' must list one or both of classic, nw", out)
        status, out = self.run_runner("--rfclib", "nw")
        self.assertIn("skip classic (only with the classic library)\n", out)
        self.assertOutcome("nw", True, out)
        self.assertOutcome("both", True, out)

    def test_netweaver_file_names_are_the_platforms(self):
        self.libraries_in_bin()
        self.case("one", {"args": ["cat", "{NW_ICUUC}"], "program_folder": {},
                          "from_bin": {"{NW_ICUUC}": "bin:nwrfc/{NW_ICUUC}"}},
                  b"libicuuc.so.50 {NW_LIBRARY} {NW_ICUDT}")
        status, out = self.run_runner()
        self.assertOutcome("one", False, out)  # the names are replaced in the expected stdout
        self.assertIn("-libicuuc.so.50 libsapnwrfc.so libicudata.so.50", out)

    def test_simlog_values_lose_their_padding_with_the_netweaver_library(self):
        self.libraries_in_bin()
        sim = textwrap.dedent("""\
            import signal, sys, time
            args = sys.argv[1:]
            open(args[args.index("--log") + 1], "w").write("LOGON user=[MONITOR] pw\\n")
            open(args[args.index("--port-file") + 1], "w").write("1\\n")
            signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
            while True:
                time.sleep(1)
            """)
        executable(self.bin / "rfcsim", sim)
        log = b"LOGON user=[MONITOR     ] pw\n"
        self.case("padded", {"args": ["echo"]}, b"\n", scenario=b"S", simlog=log)
        self.case("picked", {"args": ["echo", "RFCLIB=nw"], "program_folder": {
            "{LIBRARY}": "bin:{LIBRARY}", ".": "bin:nwrfc/"}}, b"RFCLIB=nw\n", scenario=b"S",
            simlog=log)
        self.case("own", {"args": ["echo"]}, b"\n", scenario=b"S",
                  simlog=b"LOGON user=[OTHER] pw\n", **{"simlog-nw": log})
        self.case("stray", {"args": ["echo"]}, b"\n", **{"simlog-nw": log})
        status, out = self.run_runner("--rfclib", "classic")
        self.assertOutcome("padded", False, out)
        self.assertOutcome("picked", True, out)
        self.assertOutcome("own", False, out)
        self.assertIn("simlog-nw without a simlog", out)
        status, out = self.run_runner("--rfclib", "nw")
        self.assertOutcome("padded", True, out)
        self.assertOutcome("own", True, out)  # the NetWeaver library's own simlog

    def test_fifos_and_empty_folders_are_made_in_the_working_directory(self):
        self.case("fifo", {"args": ["kind", "p"], "fifos": ["p"], "platforms": ["posix"]},
                  b"fifo\n")
        self.case("dir", {"args": ["kind", "d/e"], "empty_folders": ["d/e"]}, b"dir\n")
        self.case("fifo_everywhere", {"args": ["kind", "p"], "fifos": ["p"]}, b"fifo\n")
        status, out = self.run_runner()
        self.assertOutcome("fifo", True, out)
        self.assertOutcome("dir", True, out)
        self.assertOutcome("fifo_everywhere", False, out)
        self.assertIn("a case with 'fifos' holds on posix only", out)

    def test_broken_cases_fail_without_stopping_the_others(self):
        self.case("json", '{"args": [], status: 0}')
        self.case("key", {"args": [], "staus": 0})
        self.case("nostdout", {"args": []}, stdout=None)
        self.case("noprogram", {"args": [], "program": "missing"})
        self.case("badtype", {"args": "echo"})
        (self.cases / "stray" / "files").mkdir(parents=True)
        self.case("good", {"args": ["echo", "x"]}, b"x\n")
        status, out = self.run_runner()
        self.assertEqual(status, 1)
        self.assertIn("case.json is not valid JSON", out)
        self.assertIn("unknown key 'staus'", out)
        self.assertIn("(file 'stdout') is missing", out)
        self.assertIn("missing is not there or cannot be run", out)
        self.assertIn("'args' has the wrong type", out)
        self.assertIn("FAIL stray\n    this folder has case data but no case.json", out)
        self.assertOutcome("good", True, out)
        self.assertIn("e2e: 1 passed, 6 failed, 7 cases run", out)

    def test_filter_and_empty_selection(self):
        self.case("alpha", {"args": ["echo", "x"]}, b"x\n")
        self.case("beta", {"args": ["echo", "x"]}, b"y\n")
        status, out = self.run_runner("-k", "alp", "-j", "1")
        self.assertEqual(status, 0, out)
        self.assertNotIn("beta", out)
        status, out = self.run_runner("-k", "gamma")
        self.assertEqual(status, 1)
        self.assertIn("no case matching 'gamma'", out)


# The stand-in for the Windows programs, behaving as its first argument says. Standard
# output and files are text streams unless the mode says binary.
FAKE_EXE_SOURCE = r"""
#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

static int is(const char* a, const char* b) { return strcmp(a, b) == 0; }

static void put_file(const char* name, const char* mode, const char* text) {
  FILE* f = fopen(name, mode);
  if (f) { fputs(text, f); fclose(f); }
}

int main(int argc, char** argv) {
  const char* mode = argc > 1 ? argv[1] : "";
  if (is(mode, "echo")) {
    for (int i = 2; i < argc; ++i) printf("%s%s", i > 2 ? " " : "", argv[i]);
    printf("\n");
  } else if (is(mode, "binary-echo") && argc > 2) {
    _setmode(_fileno(stdout), _O_BINARY);
    printf("%s\n", argv[2]);
  } else if (is(mode, "cwd")) {
    char buffer[1024];
    printf("%s\n", _getcwd(buffer, sizeof buffer) ? buffer : "?");
  } else if (is(mode, "cat") && argc > 2) {
    FILE* f = fopen(argv[2], "rb");
    if (!f) {
      printf("missing\n");
    } else {
      char buffer[4096];
      size_t n;
      while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) fwrite(buffer, 1, n, stdout);
      fclose(f);
    }
  } else if (is(mode, "text") && argc > 2) {
    put_file(argv[2], "w", "one\ntwo\n");
  } else if (is(mode, "binary") && argc > 2) {
    put_file(argv[2], "wb", "one\ntwo\n");
  } else if (is(mode, "argv0")) {
    FILE* f = fopen("argv0", "wb");
    if (f) { fprintf(f, "run as %s\n", argv[0]); fclose(f); }
  } else if (is(mode, "env") && argc > 2) {
    const char* value = getenv(argv[2]);
    printf("%s\n", value ? value : "-");
  } else if (is(mode, "stdin")) {
    int c;
    while ((c = getchar()) != EOF) putchar(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  } else if (is(mode, "sleep")) {
    put_file("started", "w", "");
    Sleep(60000);
  }
  fputs("note\n", stderr);
  const char* rc = getenv("RC");
  return rc ? atoi(rc) : 0;
}
"""

MINGW_CC = shutil.which("x86_64-w64-mingw32-gcc")


def find_wine_loader() -> str | None:
    for candidate in (shutil.which("wine64"), "/usr/lib/wine/wine64", "/usr/lib64/wine/wine64",
                      shutil.which("wine")):
        if candidate and os.access(candidate, os.X_OK):
            return candidate
    return None


def processes_mentioning(text: str) -> list[int]:
    """Processes whose environment holds text (the test's own temporary folder)."""
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit() or int(entry) == os.getpid():
            continue
        try:
            with open("/proc/%s/environ" % entry, "rb") as f:
                if text.encode() in f.read():
                    found.append(int(entry))
        except OSError:
            continue
    return found


@unittest.skipUnless(find_wine_loader() and MINGW_CC,
                     "Wine (Debian package wine64) or the MinGW-w64 compiler is not installed")
class WineRunnerTest(unittest.TestCase):
    """The runner under --wine, with a small Windows program; each run makes a prefix."""

    def setUp(self):
        self.tmp = Path(tempfile.mkdtemp(prefix="run-e2e-wine-test-"))
        self.bin = self.tmp / "bin"
        self.sim_bin = self.tmp / "simbin"
        self.cases = self.tmp / "cases"
        self.runner_tmp = self.tmp / "runner-tmp"
        for d in (self.bin, self.sim_bin, self.cases, self.runner_tmp):
            d.mkdir()
        source = self.tmp / "fake.c"
        source.write_text(FAKE_EXE_SOURCE)
        subprocess.run([MINGW_CC, "-std=c99", "-O1", "-o", str(self.bin / "fake.exe"),
                        str(source)], check=True, capture_output=True)
        shutil.copyfile(self.bin / "fake.exe", self.bin / "Tarnwheel.exe")
        shutil.copyfile(self.bin / "fake.exe", self.bin / "tarnwheel-passwd.exe")
        executable(self.sim_bin / "rfcsim", SIM)

    def tearDown(self):
        shutil.rmtree(self.tmp)

    case = RunnerTest.case
    assertOutcome = RunnerTest.assertOutcome

    def runner_command(self, *more: str) -> tuple[list[str], dict]:
        env = dict(os.environ, TMPDIR=str(self.runner_tmp))
        return [sys.executable, str(RUNNER), "--wine", "--bin", str(self.bin), "--sim-bin",
                str(self.sim_bin), "--cases", str(self.cases), *more], env

    def assertCleanedUp(self):
        self.assertEqual(sorted(os.listdir(self.runner_tmp)), [],
                         "the runner left files in its temporary folder")
        deadline = time.monotonic() + 10
        while processes_mentioning(str(self.runner_tmp)) and time.monotonic() < deadline:
            time.sleep(0.2)
        self.assertEqual(processes_mentioning(str(self.runner_tmp)), [],
                         "Wine processes of the run are still there")

    def test_cases_under_wine(self):
        fake = {"program": "fake"}
        # Standard output and error: expected LF is compared as CR LF, actual bytes as they are.
        self.case("out/lf", {**fake, "args": ["echo", "hi"]}, b"hi\n", stderr=b"note\n")
        self.case("out/crlf_expected", {**fake, "args": ["echo", "hi"]}, b"hi\r\n")
        self.case("out/binary_stdout", {**fake, "args": ["binary-echo", "hi"]}, b"hi\n")
        self.case("out/status", {**fake, "args": ["echo"], "env": {"RC": "3"}, "status": 3},
                  b"\n")
        self.case("out/env", {**fake, "args": ["env", "FOO"], "env": {"FOO": "bar"}}, b"bar\n")
        self.case("out/winedebug", {**fake, "args": ["env", "WINEDEBUG"]}, b"-all\n")
        self.case("out/stdin", {**fake, "args": ["stdin"], "stdin": "abc\r\n"}, b"ABC\n")
        # The programs by name.
        self.case("program/sensor", {"args": ["echo", "s"]}, b"s\n")
        self.case("program/passwd", {"program": "tarnwheel-passwd", "args": ["echo", "p"]},
                  b"p\n")
        # The drive C: and the working directory.
        self.case("drive/cwd_default", {**fake, "args": ["cwd"]}, b"C:\\work\n")
        self.case("drive/cwd_given", {**fake, "args": ["cwd"], "cwd": "home/w"},
                  b"C:\\home\\w\n", drive__x=b"")
        self.case("drive/root", {**fake, "args": ["cat", "C:\\etc\\conf"]}, b"C\n",
                  drive__etc__conf=b"C\n")
        self.case("drive/root_of_current_drive", {**fake, "args": ["cat", "\\etc\\conf"]},
                  b"C\n", drive__etc__conf=b"C\n")
        self.case("drive/empty_root", {**fake, "args": ["cat", "C:\\etc\\passwd"]},
                  b"missing\n")
        self.case("drive/files_in_work", {**fake, "args": ["cat", "f"], "present": ["f"]},
                  b"a\r\nb\x1a\x00\xff\n", files__f=b"a\r\nb\x1a\x00\xff\n")
        self.case("drive/windows_taken", {**fake, "args": ["echo"]}, b"\n", drive__windows=b"")
        self.case("drive/platform_names", {**fake, "args": ["cat", "Dev_Rfc.Trc"],
                                           "present": ["{PARAMETER_FILE}"]},
                  b"{LIBRARY}\n", **{"files__{TRACE_FILE}": b"librfc32.dll\n",
                                     "files__{PARAMETER_FILE}": b""})
        self.case("drive/z_a_write", {**fake, "args": ["binary", "C:\\leak"]})
        self.case("drive/z_b_read", {**fake, "args": ["cat", "C:\\leak"]}, b"missing\n")
        # Files: text_files turn LF into CR LF, all other files are compared byte for byte.
        wanted = {"expect_files": {"out": "expected"}}
        self.case("files/text", {**fake, **wanted, "args": ["text", "out"],
                                 "text_files": ["out"]}, expected=b"one\ntwo\n")
        self.case("files/text_unmarked", {**fake, **wanted, "args": ["text", "out"]},
                  expected=b"one\ntwo\n")
        self.case("files/binary", {**fake, **wanted, "args": ["binary", "out"]},
                  expected=b"one\ntwo\n")
        self.case("files/binary_marked", {**fake, **wanted, "args": ["binary", "out"],
                                          "text_files": ["out"]}, expected=b"one\ntwo\n")
        program = "Z:" + str(self.bin.resolve() / "fake.exe").replace("/", "\\")
        self.case("files/program_mark", {**fake, "args": ["argv0"],
                                         "expect_files": {"argv0": "expected"}},
                  expected=b"run as {PROGRAM}\n")
        self.case("files/program_name", {**fake, "args": ["argv0"],
                                         "expect_files": {"argv0": "expected"}},
                  expected=b"run as " + program.encode() + b"\n")
        # Platforms, the simulator beside, a timeout.
        self.case("platform/posix", {**fake, "args": ["echo"], "platforms": ["posix"]}, b"x\n")
        self.case("platform/windows", {**fake, "args": ["echo"], "platforms": ["windows"]},
                  b"\n")
        self.case("sim", {**fake, "args": ["env", "FOO"], "env": {"FOO": "{PORT}"}},
                  b"{PORT}\n",
                  scenario=b"S", simlog=b"port {PORT} scenario S")
        self.case("slow", {**fake, "args": ["sleep"], "timeout": 2})

        command, env = self.runner_command("-j", "1")
        r = subprocess.run(command, env=env, capture_output=True, text=True, timeout=600)
        out = r.stdout
        self.assertEqual(r.stderr, "")
        self.assertEqual(r.returncode, 1, out)
        for name in ("out/lf", "out/status", "out/env", "out/winedebug", "out/stdin",
                     "program/sensor",
                     "program/passwd", "drive/cwd_default", "drive/cwd_given", "drive/root",
                     "drive/root_of_current_drive", "drive/empty_root", "drive/files_in_work",
                     "drive/platform_names",
                     "drive/z_a_write", "drive/z_b_read", "files/text", "files/binary",
                     "files/program_mark", "files/program_name", "platform/windows", "sim"):
            self.assertOutcome(name, True, out)
        for name in ("out/crlf_expected", "out/binary_stdout", "drive/windows_taken",
                     "files/text_unmarked", "files/binary_marked", "slow"):
            self.assertOutcome(name, False, out)
        self.assertIn("expected: ...hi\\r\\r\\n\n        actual:   ...hi\\r\\n\n", out)
        self.assertIn("expected: ...hi\\r\\n\n        actual:   ...hi\\n\n", out)
        self.assertIn("C:\\windows is Wine's own", out)
        self.assertIn("timed out after 2 s", out)
        self.assertIn("skip platform/posix (only posix)\n", out)
        self.assertIn("e2e: 22 passed, 6 failed, 28 cases run, 1 skipped (not for windows) in",
                      out)
        self.assertCleanedUp()

    def test_interrupt_ends_every_wineserver(self):
        for sig in (signal.SIGINT, signal.SIGTERM):
            with self.subTest(signal=sig.name):
                shutil.rmtree(self.cases)
                self.cases.mkdir()
                self.case("slow", {"program": "fake", "args": ["sleep"], "timeout": 120})
                command, env = self.runner_command()
                proc = subprocess.Popen(command, env=env, stdout=subprocess.PIPE,
                                        stderr=subprocess.PIPE, text=True)
                try:
                    deadline = time.monotonic() + 180
                    started = False
                    while not started and time.monotonic() < deadline and proc.poll() is None:
                        time.sleep(0.2)
                        started = any("started" in files for _here, _dirs, files
                                      in os.walk(self.runner_tmp))
                    self.assertTrue(started, "the case never started")
                    proc.send_signal(sig)
                    out, err = proc.communicate(timeout=60)
                finally:
                    if proc.poll() is None:
                        proc.kill()
                        proc.communicate()
                self.assertEqual(proc.returncode, 130, out + err)
                self.assertIn("e2e: interrupted\n", out)
                self.assertCleanedUp()


if __name__ == "__main__":
    unittest.main()

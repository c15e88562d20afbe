#!/usr/bin/env python3
"""Checks of the end-to-end runner itself, with a stand-in program instead of the sensor.

    python3 tests/e2e/run_e2e_test.py
"""

from __future__ import annotations

import json
import os
import shutil
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
    elif mode == "doc":
        out.write(a[1].encode().decode("unicode_escape").encode("latin-1"))
    elif mode == "touch":
        open(a[1], "w").close()
    elif mode == "cat":
        out.write(open(a[1], "rb").read())
    elif mode == "write":
        os.makedirs(os.path.dirname(a[1]) or ".", exist_ok=True)
        open(a[1], "wb").write(a[2].encode().decode("unicode_escape").encode("latin-1"))
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
        self.assertRegex(out, r"e2e: 3 passed, 0 failed, 3 cases in [0-9.]+ s\n$")

    def test_stdout_difference_fails_and_shows_line_ends(self):
        self.case("crlf", {"args": ["doc", "line\\r\\nnext\\n"]}, b"line\nnext\n")
        status, out = self.run_runner()
        self.assertEqual(status, 1)
        self.assertOutcome("crlf", False, out)
        self.assertIn("+line\\r\\n", out)
        self.assertIn("-line\\n", out)
        self.assertIn("e2e: 0 passed, 1 failed, 1 cases", out)

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

    # -- the XML check

    def test_broken_document_fails(self):
        self.case("amp", {"args": ["doc", "<Prtg><Text>a & b</Text></Prtg>\\n"]},
                  b"<Prtg><Text>a & b</Text></Prtg>\n")
        status, out = self.run_runner()
        self.assertOutcome("amp", False, out)
        self.assertIn("does not parse as XML", out)

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
        self.assertIn("the <Prtg> document does not parse as XML", out)
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

    # -- broken case data

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
        self.assertIn("e2e: 1 passed, 6 failed, 7 cases", out)

    def test_filter_and_empty_selection(self):
        self.case("alpha", {"args": ["echo", "x"]}, b"x\n")
        self.case("beta", {"args": ["echo", "x"]}, b"y\n")
        status, out = self.run_runner("-k", "alp", "-j", "1")
        self.assertEqual(status, 0, out)
        self.assertNotIn("beta", out)
        status, out = self.run_runner("-k", "gamma")
        self.assertEqual(status, 1)
        self.assertIn("no case matching 'gamma'", out)


if __name__ == "__main__":
    unittest.main()

#!/usr/bin/env python3
"""Times the sensor against a local rfcsim: the single-system run with each RFC library
(median wall time and peak resident memory beside the same figures for /bin/true), then
global-list runs over 50, 100 and 200 systems served by one rfcsim (total and per-system
time, with the classic library).

The runs of the two libraries alternate, so that a change in the machine's load falls on
both alike. They are timed twice: as the system schedules them, and with rfcsim and the
sensor bound to one CPU. The NetWeaver run makes two more round trips to rfcsim (one
interface lookup per function), and what a round trip over the loopback costs depends on the
machine: waking a process on another CPU costs far more on some virtual machines than the
work of either side. The bench therefore also times a plain echo between two processes, on
two CPUs and on one.

    bench/bench.py --bin build/bin [--runs 200]

The single-system run goes once with the classic library (the sensor in --bin, the library
beside it) and once with the NetWeaver library: a copy of the sensor in a folder that holds
the NetWeaver stand-in and its companions (from BIN/nwrfc) and no classic library.

Needs GNU time (/usr/bin/time, Debian package time) for the memory figures. The
single-system run opens the profile from the working directory (selector "@"), so no
file outside a temporary directory is needed.
"""
import argparse
import os
import shutil
import signal
import socket
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.dirname(HERE)
DEMO_SCENARIO = os.path.join(TOP, "platform", "rfcsim", "demo.scenario")
PROFILE_TEMPLATE = os.path.join(TOP, "examples", "PRD.P00")


def start_rfcsim(bin_dir, work, scenario, cpu=None):
    port_file = os.path.join(work, "rfcsim.port")
    sim = subprocess.Popen([os.path.join(bin_dir, "rfcsim"), "--listen", "127.0.0.1:0",
                            "--port-file", port_file, scenario],
                           stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                           preexec_fn=on_cpu(cpu))
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline:
        if os.path.exists(port_file):
            with open(port_file) as f:
                text = f.read()
            if text.endswith("\n"):
                return sim, int(text)
        if sim.poll() is not None:
            sys.exit("rfcsim ended early: " + sim.stderr.read().decode(errors="replace"))
        time.sleep(0.01)
    sim.kill()
    sys.exit("rfcsim did not write its port file")


def on_cpu(cpu):
    """A preexec function binding the child to `cpu`; None for no binding."""
    if cpu is None:
        return None
    return lambda: os.sched_setaffinity(0, {cpu})


def run_timed(argv, cwd, expect_status, cpu=None):
    """Wall seconds of one run of argv."""
    start = time.perf_counter()
    status = subprocess.run(argv, cwd=cwd, stdout=subprocess.DEVNULL,
                            preexec_fn=on_cpu(cpu)).returncode
    wall = time.perf_counter() - start
    if status != expect_status:
        sys.exit(f"{argv[0]} ended with {status}, expected {expect_status}")
    return wall


def peak_rss(argv, cwd, runs):
    """The peak resident KiB of a few runs of argv.

    The peak comes from GNU time: a child forked from this Python process would report
    Python's own size as its peak."""
    peak = 0
    report = os.path.join(cwd, "time.out")
    for _ in range(min(runs, 20)):
        subprocess.run(["/usr/bin/time", "-f", "%M", "-o", report] + argv, cwd=cwd,
                       stdout=subprocess.DEVNULL, check=False)
        with open(report) as f:
            peak = max(peak, int(f.read().split()[-1]))
    return peak


def measure(argv, cwd, runs, expect_status):
    """Median wall seconds of `runs` runs of argv, and the peak resident KiB of a few runs."""
    walls = [run_timed(argv, cwd, expect_status) for _ in range(runs)]
    return statistics.median(walls), peak_rss(argv, cwd, runs)


def measure_alternating(sensors, cwd, runs, cpu=None):
    """Median wall seconds of each of `sensors` (name: argv), their runs taken in turn."""
    walls = {name: [] for name in sensors}
    for _ in range(runs):
        for name, argv in sensors.items():
            walls[name].append(run_timed(argv, cwd, 0, cpu))
    return {name: statistics.median(times) for name, times in walls.items()}


def echo_round_trip(cpu=None, rounds=2000):
    """Median microseconds of a 32-byte round trip over the loopback to an echoing child
    process (both bound to `cpu` when it is given)."""
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(1)
    address = listener.getsockname()
    child = os.fork()
    if child == 0:
        try:
            if cpu is not None:
                os.sched_setaffinity(0, {cpu})
            peer, _ = listener.accept()
            peer.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
            while True:
                data = peer.recv(64)
                if not data:
                    break
                peer.sendall(data)
        finally:
            os._exit(0)
    listener.close()
    previous = os.sched_getaffinity(0)
    try:
        if cpu is not None:
            os.sched_setaffinity(0, {cpu})
        client = socket.create_connection(address)
        client.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        times = []
        for _ in range(rounds):
            start = time.perf_counter()
            client.sendall(b"x" * 32)
            received = 0
            while received < 32:
                received += len(client.recv(64))
            times.append(time.perf_counter() - start)
        client.close()
    finally:
        os.sched_setaffinity(0, previous)
        os.waitpid(child, 0)
    return statistics.median(times) * 1e6


NW_FILES = ("libsapnwrfc.so", "libsapucum.so", "libicuuc.so.50", "libicudata.so.50",
            "libicui18n.so.50", "libicudecnumber.so")


def netweaver_folder(bin_dir, nw_dir, work):
    """A folder with a copy of the sensor and the NetWeaver stand-in's files only."""
    folder = os.path.join(work, "nw-bin")
    os.mkdir(folder)
    shutil.copy2(os.path.join(bin_dir, "tarnwheel"), folder)
    for name in NW_FILES:
        source = os.path.join(nw_dir, name)
        if not os.path.isfile(source):
            sys.exit(f"{source} is not there: build the NetWeaver stand-in")
        shutil.copy2(source, folder)
    return folder


def write_profile(work, port, name="PRD.P00", template=PROFILE_TEMPLATE):
    with open(template, encoding="ascii") as f:
        text = f.read().replace("{PORT}", str(port))
    with open(os.path.join(work, name), "w", encoding="ascii", newline="") as f:
        f.write(text)


def global_list_scenario(work, systems):
    """A scenario of `systems` systems SYS000, SYS001, ... with the demo's figures."""
    path = os.path.join(work, "list.scenario")
    with open(path, "w", encoding="ascii") as f:
        for n in range(systems):
            f.write(f"[system SYS{n:03d}]\nashost = host{n:03d}\nsysnr = 00\n"
                    "client = 100\nuser = MONITOR\npassword = Mon1tor\n"
                    f"row = Log queue pages | {400 + n}\nrow = Log queue overflows | 0\n\n")
    return path


def write_list(work, port, systems):
    """Profiles SYS000.P00 ... and the suite profile listing the first `systems` of them."""
    with open(PROFILE_TEMPLATE, encoding="ascii") as f:
        template = f.read().replace("{PORT}", str(port))
    names = []
    for n in range(systems):
        name = f"SYS{n:03d}.P00"
        text = template.replace("sapprd", f"host{n:03d}").replace("Destination: PRD",
                                                                  f"Destination: S{n:02d}")
        with open(os.path.join(work, name), "w", encoding="ascii", newline="") as f:
            f.write(text)
        names.append(name)
    with open(os.path.join(work, "Keswarin.Prf"), "w", encoding="ascii") as f:
        for n in range(0, systems, 8):  # several list lines, as a real suite profile has
            f.write("# Gsng: systems     " + "".join(n + "#" for n in names[n:n + 8]) + "\n")


def bench_global_list(bin_dir, runs):
    work = tempfile.mkdtemp(prefix="tarnwheel-bench-list-")
    sim = None
    try:
        sim, port = start_rfcsim(bin_dir, work, global_list_scenario(work, 200))
        sensor = [os.path.join(bin_dir, "tarnwheel"), "x", "ITEM=QuePages @"]
        print(f"global-list run, median of {runs} runs")
        for systems in (50, 100, 200):
            write_list(work, port, systems)
            measure(sensor, work, 2, 0)
            wall, peak = measure(sensor, work, runs, 0)
            print(f"  {systems:3d} systems  total {wall * 1000:8.2f} ms   "
                  f"per system {wall * 1000 / systems:6.3f} ms   peak RSS {peak / 1024:5.2f} MiB")
    finally:
        stop(sim)
        shutil.rmtree(work, ignore_errors=True)


def stop(sim):
    if sim is not None:
        sim.send_signal(signal.SIGTERM)
        sim.wait(timeout=10)


def bench_single_system(bin_dir, runs):
    nw_dir = os.path.join(bin_dir, "nwrfc")
    work = tempfile.mkdtemp(prefix="tarnwheel-bench-")
    sims = []
    try:
        sensors = {
            "classic": [os.path.join(bin_dir, "tarnwheel"), "PRD", "@"],
            "nw": [os.path.join(netweaver_folder(bin_dir, nw_dir, work), "tarnwheel"), "PRD",
                   "@"],
        }
        cpu = min(os.sched_getaffinity(0))
        # Two rfcsim processes: one as the system schedules it, one bound to `cpu`, each with
        # its profile in a folder of its own.
        folders = {}
        for bound in (None, cpu):
            folder = os.path.join(work, "free" if bound is None else "bound")
            os.mkdir(folder)
            sim, port = start_rfcsim(bin_dir, folder, DEMO_SCENARIO, bound)
            sims.append(sim)
            write_profile(folder, port)
            folders[bound] = folder
        for sensor in sensors.values():
            measure(sensor, folders[None], 5, 0)  # warm the caches
        true_wall, true_peak = measure(["/bin/true"], work, runs, 0)
        free = measure_alternating(sensors, folders[None], runs)
        bound = measure_alternating(sensors, folders[cpu], runs, cpu)
        print(f"single-system run, {runs} runs of each, the libraries in turn")
        print(f"  {'/bin/true':<17} median {true_wall * 1000:7.3f} ms   "
              f"peak RSS {true_peak / 1024:6.2f} MiB")
        for library, sensor in sensors.items():
            peak = peak_rss(sensor, folders[None], runs)
            print(f"  {'tarnwheel ' + library:<17} median {free[library] * 1000:7.3f} ms   "
                  f"peak RSS {peak / 1024:6.2f} MiB   over /bin/true "
                  f"{(free[library] - true_wall) * 1000:7.3f} ms")
        print(f"  NetWeaver over classic {(free['nw'] - free['classic']) * 1000:7.3f} ms")
        print(f"with rfcsim and the sensor on CPU {cpu}")
        for library in sensors:
            print(f"  {'tarnwheel ' + library:<17} median {bound[library] * 1000:7.3f} ms")
        print(f"  NetWeaver over classic {(bound['nw'] - bound['classic']) * 1000:7.3f} ms")
        print(f"loopback round trip between two processes: median "
              f"{echo_round_trip():6.1f} us, on one CPU {echo_round_trip(cpu):6.1f} us "
              "(the NetWeaver run makes 2 more)")
    finally:
        for sim in sims:
            stop(sim)
        shutil.rmtree(work, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--bin", required=True, help="directory holding tarnwheel and rfcsim")
    parser.add_argument("--runs", type=int, default=200)
    args = parser.parse_args()
    bin_dir = os.path.abspath(args.bin)
    bench_single_system(bin_dir, args.runs)
    print()
    bench_global_list(bin_dir, max(3, args.runs // 20))


if __name__ == "__main__":
    main()

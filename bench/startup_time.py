#!/usr/bin/env python3
"""Time from exec to the main window's first frame on the screen.

Run under an X server:

    xvfb-run -a python3 bench/startup_time.py build/release/src/culvora [OTHER_BUILD ...] [-n RUNS]

Each run starts a program with CULVORA_STARTUP_TIME=quit, which prints the monotonic clock
once the main window has been drawn and then quits; the time from just before the exec to that
moment is one sample, and the processor time the program used up to its end is noted too (less
disturbed by other work on the machine than the wall clock). "first start" runs use a new, empty
data folder each time (the folder is seeded); "later start" runs reuse one folder. Several
programs (two builds to compare) take turns, run by run, so that a busy moment hits both alike.
"""
import argparse
import os
import statistics
import subprocess
import tempfile
import time


def one_run(program, data_dir):
    env = dict(os.environ, CULVORA_STARTUP_TIME="quit")
    started = time.monotonic()
    child = subprocess.Popen([program, "--data-dir", data_dir], env=env, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, text=True)
    out = child.stdout.read()
    _, status, usage = os.wait4(child.pid, 0)
    child.returncode = os.waitstatus_to_exitcode(status)
    for line in out.splitlines():
        if line.startswith("culvora: main window shown at "):
            shown = float(line.rsplit(" ", 1)[1]) - started
            return shown, usage.ru_utime + usage.ru_stime
    raise SystemExit(f"no timing line from {program}: {out!r}")


def summary(label, samples):
    wall = [s[0] * 1000 for s in samples]
    cpu = [s[1] * 1000 for s in samples]
    return (f"  {label}: median {statistics.median(wall):.0f} ms (min {min(wall):.0f}, "
            f"max {max(wall):.0f}); processor time median {statistics.median(cpu):.0f} ms")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("programs", nargs="+")
    parser.add_argument("-n", "--runs", type=int, default=15)
    args = parser.parse_args()
    first = {p: [] for p in args.programs}
    later = {p: [] for p in args.programs}
    with tempfile.TemporaryDirectory() as scratch:
        for p in args.programs:
            one_run(p, os.path.join(scratch, "warm-up"))  # the page cache, once
        for i in range(args.runs):
            for n, p in enumerate(args.programs):
                first[p].append(one_run(p, os.path.join(scratch, f"fresh{n}-{i}")))
                later[p].append(one_run(p, os.path.join(scratch, f"fresh{n}-0")))
    for p in args.programs:
        print(p)
        print(summary("first start", first[p]))
        print(summary("later start", later[p]))


if __name__ == "__main__":
    main()

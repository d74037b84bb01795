#!/usr/bin/env python3
"""Time from exec to the main window's first frame on the screen.

Run under an X server (xvfb-run -a python3 bench/startup_time.py build/release/src/culvora).
Each run starts the program with CULVORA_STARTUP_TIME=quit, which prints the monotonic clock
once the main window has been drawn and then quits; the time from just before the exec to that
moment is one sample. "first start" runs use a new, empty data folder each time (the folder is
seeded); "later start" runs reuse one folder.
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time


def one_run(program, data_dir):
    env = dict(os.environ, CULVORA_STARTUP_TIME="quit")
    started = time.monotonic()
    done = subprocess.run([program, "--data-dir", data_dir], env=env, capture_output=True,
                          text=True, timeout=60)
    for line in done.stdout.splitlines():
        if line.startswith("culvora: main window shown at "):
            return float(line.rsplit(" ", 1)[1]) - started
    raise SystemExit(f"no timing line from {program}: {done.stdout!r} {done.stderr!r}")


def main():
    if len(sys.argv) < 2:
        raise SystemExit("usage: startup_time.py PROGRAM [RUNS]")
    program = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 11
    with tempfile.TemporaryDirectory() as scratch:
        one_run(program, os.path.join(scratch, "warm-up"))  # the page cache, once
        first = [one_run(program, os.path.join(scratch, f"fresh{i}")) for i in range(runs)]
        later = [one_run(program, os.path.join(scratch, "fresh0")) for _ in range(runs)]
    for label, samples in (("first start", first), ("later start", later)):
        shown = " ".join(f"{s * 1000:.0f}" for s in samples)
        print(f"{label}: median {statistics.median(samples) * 1000:.0f} ms "
              f"(min {min(samples) * 1000:.0f}, max {max(samples) * 1000:.0f}; runs: {shown})")


if __name__ == "__main__":
    main()

#!/usr/bin/env bash
# Times the Release culvora-cli on cookbooks of 200, 20,000 and 200,000 recipes against wc -l on
# the same files, in one run, and reports each command's peak memory.
#
#   bench/ratios.sh [BUILD_DIR] [RUNS]
#
# BUILD_DIR is a Release build with the benchmarks (default build/release:
# cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DCULVORA_TESTS=OFF
# -DCULVORA_BENCH=ON, then ninja -C build/release culvora-cli bench_scale_bench). Each
# command runs RUNS times (default 5) after one run that seeds the data folder; the table
# shows the median CPU time (user and system, from wait4), that time over the median of wc -l
# on the same cookbook ("x wc"), and the peak resident set (from GNU time) with its ratio to
# the cookbook's size (for import-mm: to the Meal-Master file's). bench_scale_bench
# --write-data makes the files: about 370 MB under the temporary folder, removed at the end.
set -euo pipefail

build=${1:-build/release}
runs=${2:-5}
cli=$build/src/culvora-cli
generator=$build/bench/bench_scale_bench
for program in "$cli" "$generator"; do
  if [[ ! -x $program ]]; then
    echo "ratios.sh: $program is missing; build culvora-cli and bench_scale_bench first." >&2
    exit 2
  fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/culvora-ratios.XXXXXX")
trap 'rm -rf "$work"' EXIT
echo "Writing the cookbooks and Meal-Master files to $work ..."
"$generator" --write-data "$work"

python3 - "$cli" "$work" "$runs" <<'PYTHON'
import os
import statistics
import sys

cli, work, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])


peak_file = os.path.join(work, "peak.txt")


def run(argv):
    """CPU seconds (user + system) of one finished process."""
    with open(os.devnull, "wb") as null:
        pid = os.posix_spawn(argv[0], argv, os.environ,
                             file_actions=[(os.POSIX_SPAWN_DUP2, null.fileno(), 1)])
    _, status, usage = os.wait4(pid, 0)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("ratios.sh: failed: " + " ".join(argv))
    return usage.ru_utime + usage.ru_stime


def measure(argv, before=None, times=runs):
    """The median CPU time of `times` runs after one to warm up, and the peak resident set in
    KB of one more run under GNU time (a process spawned from here would count this Python's
    own memory as its peak)."""
    if before:
        before()
    run(argv)
    cpu = []
    for _ in range(times):
        if before:
            before()
        cpu.append(run(argv))
    if before:
        before()
    run(["/usr/bin/time", "-f", "%M", "-o", peak_file] + argv)
    with open(peak_file) as peak:
        return statistics.median(cpu), int(peak.read().split()[-1])


rows = []


def report(size, command, seconds, wc, peak_kb, reference_bytes, target=""):
    ratio = seconds / wc if wc else 0.0
    peak_ratio = peak_kb * 1024 / reference_bytes if reference_bytes else 0.0
    rows.append((size, command, seconds * 1e3, ratio, peak_kb / 1024, peak_ratio, target))


def empty_cookbook(folder):
    return lambda: open(os.path.join(folder, "EMPTY.TXT"), "wb").close()


noop, noop_peak = measure([cli, "--data-dir", os.path.join(work, "empty"), "list"], times=max(runs, 20))
for size in (200, 20000, 200000):
    folder = os.path.join(work, "d%d" % size)
    book = os.path.join(folder, "BOOK1.TXT")
    book_bytes = os.path.getsize(book)
    with open(os.path.join(work, "d%d.names" % size), encoding="utf-8") as names:
        middle, last = names.read().splitlines()
    wc, _ = measure(["/usr/bin/wc", "-l", book])
    rows.append((size, "wc -l", wc * 1e3, 1.0, 0, 0, "%.1f MB" % (book_bytes / 1e6)))
    base = [cli, "--data-dir", folder]
    page = os.path.join(work, "page.html")
    for command, args, target in (
        ("index", ["index"], "<= 12x"),
        ("list", ["list"], ""),
        ("search", ["search", "--type", "Hot dish", "--max-time", "60", "--with", "cheese"], "<= 15x"),
        ("fridge", ["fridge", "butter", "cheese", "eggs", "garlic", "milk", "onion", "potatoes", "salt"], "<= 12x"),
        ("menu", ["menu", "--option", "casual"], "<= 12x"),
        ("html NAME OUT", ["html", middle, page], "<= 4x"),
        ("view (middle)", ["view", middle], "< 30 ms"),
        ("view (last)", ["view", last], "< 30 ms"),
        ("next", ["next", middle], ""),
    ):
        seconds, peak = measure(base + args)
        report(size, command, seconds, wc, peak, book_bytes, target)
    archive = os.path.join(folder, os.pardir, "mealmaster-%d.txt" % size)
    if size == 200000:
        archive = os.path.join(work, "mealmaster-83000.txt")
    archive_bytes = os.path.getsize(archive)
    seconds, peak = measure(base + ["import-mm", archive, "--to", "Imported"],
                            before=empty_cookbook(folder), times=min(runs, 3))
    mm_wc, _ = measure(["/usr/bin/wc", "-l", archive])
    name = "import-mm (%d recipes, %.1f MB)" % (83000 if size == 200000 else size, archive_bytes / 1e6)
    report(size, name, seconds, mm_wc, peak, archive_bytes, "peak <= 2.5x file")

print()
print("culvora-cli list on an empty cookbook: %.2f ms CPU (target < 5 ms), peak %.1f MB"
      % (noop * 1e3, noop_peak / 1024))
print()
print("%-8s %-36s %10s %8s %9s %8s   %s" % ("recipes", "command", "cpu ms", "x wc", "peak MB", "peak/x", "target"))
for size, command, ms, ratio, peak_mb, peak_ratio, target in rows:
    print("%-8d %-36s %10.2f %8.2f %9.1f %8.2f   %s" % (size, command, ms, ratio, peak_mb, peak_ratio, target))
print()
print("peak/x: the peak over the cookbook's size (over the Meal-Master file's for import-mm).")
PYTHON

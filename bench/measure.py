"""What the benchmarks share: one timed process, and rounds that alternate the tools."""
import os
import shutil
import statistics
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
BIN = ROOT / "build/host/bin"


def timed(command):
    """Seconds and peak resident KiB of one run of command."""
    run = subprocess.run([str(BIN / "run-measured")] + [str(c) for c in command],
                         stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    if run.returncode != 0:
        sys.exit(f"bench: {command[0]} failed with {run.returncode}: {run.stderr.strip()}")
    _, seconds, kib = run.stderr.strip().splitlines()[-1].split()
    return float(seconds), int(kib)


def alternate(table, rounds, out):
    """Every command of table, rounds times, each round starting one tool further on
    so that no tool always follows the same one, into an emptied, synced out."""
    runs = {}
    order = list(table)
    for round_ in range(rounds):
        shift = round_ % len(order)
        for name in order[shift:] + order[:shift]:
            shutil.rmtree(out, ignore_errors=True)
            out.mkdir()
            os.sync()
            runs.setdefault(name, []).append(timed(table[name]))
    shutil.rmtree(out, ignore_errors=True)
    return runs


def summary(runs, ours="ours"):
    """Median seconds, peak MiB and the median of round-by-round ratios ours / tool,
    so that a slow spell of the machine weighs on both sides of each ratio alike."""
    median = {n: statistics.median(s for s, _ in r) for n, r in runs.items()}
    peak = {n: max(k for _, k in r) / 1024 for n, r in runs.items()}
    ratio = {n: statistics.median(o / t for (o, _), (t, _) in zip(runs[ours], r)) for n, r in runs.items()}
    return median, peak, ratio

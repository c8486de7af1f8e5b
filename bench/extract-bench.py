#!/usr/bin/python3
"""Extraction of the full payload by payload-extract against other extractors.

Alternating rounds, each a whole process timed on a monotonic clock, with its
peak resident memory from the kernel; plus the ceiling (the same reading with
no writing, zlib on one thread), the writing alone (the same files from memory) and, when a Windows build is there, InstallFromResource under Wine.
Usage: bench/extract-bench.py [ROUNDS]   (after scripts/build)
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
from pathlib import Path

from measure import BIN, ROOT, alternate, summary

PEERS = ["unzip", "bsdtar", "7z", "python"]


def commands(archive, out):
    return {
        "ours": [BIN / "payload-extract", archive, out],
        "ceiling": [BIN / "zip-inflate-ceiling", archive],
        "writing": [BIN / "zip-write-floor", archive, out],
        "unzip": ["unzip", "-o", "-q", archive, "-d", out],
        "bsdtar": ["bsdtar", "-xf", archive, "-C", out],
        "7z": ["7z", "x", "-y", "-bd", "-bso0", f"-o{out}", archive],
        "python": ["/usr/bin/python3", "-c",
                   "import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])", archive, out],
    }


def wine_install_seconds(rounds):
    exe = os.environ.get("KETROVA_BENCH_EXE")
    for tree in ("win32", "win64"):
        candidate = ROOT / f"build/{tree}/bin/payload-install-bench.exe"
        if not exe and candidate.is_file():
            exe = str(candidate)
    if not exe or not Path(exe).is_file():
        return None
    # A 64-bit build runs under wine64 directly, also where 32-bit programs cannot run.
    loader = "/usr/lib/wine/wine64" if "x86-64" in subprocess.run(
        ["file", "-b", exe], capture_output=True, text=True).stdout else "wine"
    script = f'for i in $(seq {rounds}); do {loader} "{exe}" 2>/dev/null; done'
    run = subprocess.run([str(ROOT / "scripts/with-wine"), "bash", "-c", script], capture_output=True, text=True)
    return sorted(float(v) / 1000 for v in run.stdout.split()) or None


def main():
    rounds = int(sys.argv[1]) if len(sys.argv) > 1 else 11
    archive = Path(os.environ.get("KETROVA_BENCH_ARCHIVE", ROOT / "build/win32/payload/Programa.zip"))
    if not archive.is_file():
        sys.exit(f"extract-bench: no payload at {archive} (run scripts/build)")
    for tool in ("payload-extract", "zip-inflate-ceiling", "zip-write-floor", "run-measured"):
        if not (BIN / tool).is_file():
            sys.exit(f"extract-bench: {BIN / tool} is missing")
    work = Path(tempfile.mkdtemp())
    try:
        runs = alternate(commands(archive, work / "out"), rounds, work / "out")
    finally:
        shutil.rmtree(work, ignore_errors=True)
    median, peak, ratio = summary(runs)
    fastest = min(PEERS, key=median.get)
    print(f"payload {archive.stat().st_size / 1e6:.1f} MB archive, {rounds} alternating rounds, medians")
    print(f"{'tool':10} {'seconds':>8} {'ours/it':>8} {'peak RSS':>12}")
    for name in ["ours", "ceiling", "writing"] + PEERS:
        print(f"{name:10} {median[name]:8.3f} {ratio[name]:8.2f} {peak[name]:8.1f} MiB")
    spread = sorted(o / t for (o, _), (t, _) in zip(runs["ours"], runs[fastest]))
    print(f"ours / fastest peer ({fastest}): {ratio[fastest]:.2f} ({spread[0]:.2f}-{spread[-1]:.2f})  (goal <= 0.55)")
    print(f"ours / one-thread zlib ceiling: {ratio['ceiling']:.2f}")
    print(f"ours peak RSS: {peak['ours']:.1f} MiB  (goal <= 8 MiB)")
    wine = wine_install_seconds(rounds)
    if wine is not None:
        print(f"InstallFromResource under Wine (copy + extract + delete): {statistics.median(wine):.3f} s"
              f" ({wine[0]:.3f}-{wine[-1]:.3f}); / payload-extract: {statistics.median(wine) / median['ours']:.2f}"
              f"  (goal <= 1.5)")

if __name__ == "__main__":
    main()

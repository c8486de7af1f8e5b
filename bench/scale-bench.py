#!/usr/bin/python3
"""The reader at scale: many small files, 1 GiB in 200 files, one 3 GiB file.

Builds each archive once with payload-builder from a generated tree of
incompressible files (kept in build/bench-scale/ for later runs: delete it to
make them anew), then times payload-extract against bsdtar and unzip in
alternating rounds, with each process's peak resident memory.
Usage: bench/scale-bench.py [ROUNDS] [CASE ...]   (after scripts/build)
Cases: small20k small60k gib200 single3g
"""
import os
import shutil
import subprocess
import sys

from measure import BIN, ROOT, alternate, summary

CACHE = ROOT / "build/bench-scale"
MiB = 1 << 20
# name: (files, bytes of each)
CASES = {
    "small20k": (20_000, 4096),
    "small60k": (60_000, 4096),
    "gib200": (200, 1024 * MiB // 200),
    "single3g": (1, 3 * 1024 * MiB),
}
PEERS = ["bsdtar", "unzip"]


def make_tree(folder, files, size):
    """files incompressible files of size bytes, at most 1,000 to a folder."""
    for i in range(files):
        path = folder / f"d{i // 1000:03}" / f"f{i:05}.bin"
        path.parent.mkdir(parents=True, exist_ok=True)
        with open(path, "wb") as f:
            for left in range(size, 0, -16 * MiB):
                f.write(os.urandom(min(left, 16 * MiB)))


def archive_for(case):
    archive = CACHE / f"{case}.zip"
    if archive.is_file():
        return archive
    tree = CACHE / f"{case}.tree"
    shutil.rmtree(tree, ignore_errors=True)
    make_tree(tree, *CASES[case])
    subprocess.run([BIN / "payload-builder", tree, archive], check=True, stdout=subprocess.DEVNULL)
    shutil.rmtree(tree)
    return archive


def main():
    args = sys.argv[1:]
    rounds = int(args.pop(0)) if args and args[0].isdigit() else 3
    cases = args or list(CASES)
    if unknown := set(cases) - set(CASES):
        sys.exit(f"scale-bench: unknown cases {sorted(unknown)}; known: {' '.join(CASES)}")
    CACHE.mkdir(parents=True, exist_ok=True)
    out = CACHE / "out"
    print(f"{rounds} alternating rounds, medians; ratios are ours / peer, round by round")
    print(f"{'case':10} {'archive':>10} {'ours s':>8} " + " ".join(f"{p + ' s':>9} {'/' + p:>8}" for p in PEERS) +
          f" {'ours MiB':>9} " + " ".join(f"{p + ' MiB':>11}" for p in PEERS))
    for case in cases:
        archive = archive_for(case)
        table = {
            "ours": [BIN / "payload-extract", archive, out],
            "bsdtar": ["bsdtar", "-xf", archive, "-C", out],
            "unzip": ["unzip", "-o", "-q", archive, "-d", out],
        }
        median, peak, ratio = summary(alternate(table, rounds, out))
        print(f"{case:10} {archive.stat().st_size / MiB:8.0f}Mi {median['ours']:8.2f} " +
              " ".join(f"{median[p]:9.2f} {ratio[p]:8.2f}" for p in PEERS) +
              f" {peak['ours']:9.1f} " + " ".join(f"{peak[p]:11.1f}" for p in PEERS), flush=True)


if __name__ == "__main__":
    main()

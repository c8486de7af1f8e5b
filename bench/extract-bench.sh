#!/usr/bin/env bash
# Extraction of the full payload by payload-extract against other extractors,
# alternating, several rounds; plus the in-memory ceiling and, when a Windows
# build is there, InstallFromResource under Wine.
# Usage: bench/extract-bench.sh [ROUNDS]   (after scripts/build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
rounds=${1:-7}
bin=$root/build/host/bin
archive=${KETROVA_BENCH_ARCHIVE:-$root/build/win32/payload/Programa.zip}
[ -f "$archive" ] || { echo "extract-bench: no payload at $archive (run scripts/build)" >&2; exit 1; }
for tool in "$bin/payload-extract" "$bin/zip-inflate-ceiling" /usr/bin/time; do
    [ -x "$tool" ] || { echo "extract-bench: $tool is missing" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
results=$work/results
: > "$results"

declare -A commands=(
    [ours]="$bin/payload-extract $archive $work/out"
    [ceiling]="$bin/zip-inflate-ceiling $archive"
    [unzip]="unzip -o -q $archive -d $work/out"
    [bsdtar]="bsdtar -xf $archive -C $work/out"
    [7z]="7z x -y -bd -bso0 -o$work/out $archive"
    [python]="python3 -c \"import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])\" $archive $work/out"
)
order=(ours unzip bsdtar 7z python ceiling)

for round in $(seq 1 "$rounds"); do
    for name in "${order[@]}"; do
        rm -rf "$work/out" && mkdir -p "$work/out"
        sync
        /usr/bin/time -f "$name %e %M" -a -o "$results" bash -c "exec ${commands[$name]}" >/dev/null
    done
done

wine_line=""
bench_exe=${KETROVA_BENCH_EXE:-}
for tree in win32 win64; do
    [ -n "$bench_exe" ] && break
    [ -f "$root/build/$tree/bin/payload-install-bench.exe" ] && bench_exe=$root/build/$tree/bin/payload-install-bench.exe
done
# A 64-bit build runs under wine64 directly, also where 32-bit programs cannot run.
loader=wine
case $(file -b "${bench_exe:-/dev/null}") in *x86-64*) loader=/usr/lib/wine/wine64 ;; esac
if [ -n "$bench_exe" ]; then
    # Each run prints its own milliseconds, without Wine's start-up.
    wine_line=$("$root/scripts/with-wine" bash -c '
        ms=(); for i in $(seq 1 '"$rounds"'); do ms+=("$('"$loader"' "'"$bench_exe"'" 2>/dev/null | tr -d "\r")"); done
        printf "%s\n" "${ms[@]}"' | python3 -c 'import statistics, sys; v=[float(x) for x in sys.stdin if x.strip()]; print(f"{statistics.median(v)/1000:.3f}" if v else "")' || true)
fi

python3 - "$results" "$(stat -c %s "$archive")" "$wine_line" <<'PY'
import statistics, sys
rows = {}
for line in open(sys.argv[1]):
    name, seconds, kib = line.split()
    rows.setdefault(name, []).append((float(seconds), int(kib)))
size_mb = int(sys.argv[2]) / 1e6
med = {n: statistics.median(s for s, _ in v) for n, v in rows.items()}
rss = {n: max(k for _, k in v) for n, v in rows.items()}
peers = ["unzip", "bsdtar", "7z", "python"]
fastest = min(peers, key=lambda n: med[n])
print(f"payload {size_mb:.1f} MB, {len(rows['ours'])} rounds, medians")
print(f"{'tool':10} {'seconds':>8} {'ours/it':>8} {'peak RSS':>10}")
for n in ["ours", "ceiling"] + peers:
    print(f"{n:10} {med[n]:8.3f} {med['ours'] / med[n]:8.2f} {rss[n] / 1024:8.1f} MiB")
print(f"ours / fastest peer ({fastest}): {med['ours'] / med[fastest]:.2f}  (goal <= 0.90)")
print(f"ours / ceiling: {med['ours'] / med['ceiling']:.2f}  (goal <= 1.15)")
print(f"ours peak RSS: {rss['ours'] / 1024:.1f} MiB  (goal <= 4 MiB)")
if sys.argv[3]:
    print(f"InstallFromResource under Wine (copy + extract + delete): {sys.argv[3]} s")
PY

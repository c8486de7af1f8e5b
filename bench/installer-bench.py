"""Start-up and unattended installation of the real installer under Wine,
each against a minimal Win32 program started the same way in the same run.

The shipped i686 build runs as this machine runs 32-bit programs; where they
run natively it also runs under qemu-i386 (scripts/emulate-32bit), as on a
machine that can only emulate them; and when an x86_64 build of the same
sources is there (KETROVA_BUILD_TWIN=1 scripts/build), it runs too, so that
the emulated rows' ratio to it tells how much of their time is the emulator's.

Run: scripts/with-wine python3 bench/installer-bench.py [rounds]"""

import json
import os
import statistics
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
from harness import BUILD, INSTALLER, MAIN_TITLE, installer_command, kill_products, launch  # noqa: E402

MINIMAL = BUILD / "bin" / "e2e-minimal.exe"
TARGET = "C:\\bench\\Ketrova\\"
GOALS = {"shown": ("start to window shown", 1.3), "installed": ("unattended run, start to exit", 3.0)}


def milliseconds(output, key):
    return float(dict(line.split("=") for line in output.splitlines() if "=" in line)[key])


def window_shown(exe, title):
    return milliseconds(launch(installer_command(exe), wait_title=title, close=True)[1], "window-ms")


def unattended(exe):
    return milliseconds(launch(installer_command(exe, TARGET))[1], "exit-ms")


def measure(rounds):
    """Alternating rounds of this process's build: {row: (installer, minimal)}."""
    times = {row: ([], []) for row in GOALS}
    for _ in range(rounds):
        times["shown"][0].append(window_shown(INSTALLER, MAIN_TITLE))
        times["shown"][1].append(window_shown(MINIMAL, "Minimal"))
        times["installed"][0].append(unattended(INSTALLER))
        kill_products()
        times["installed"][1].append(unattended(MINIMAL))
    return times


def variants():
    """(name, command prefix, environment) of every build this machine can run."""
    found = [("shipped i686", [], {"KETROVA_WINDOWS_TREE": "win32"})]
    mode = subprocess.run([ROOT / "scripts/wine32-mode"], capture_output=True, text=True).stdout.strip()
    emulator = [str(ROOT / "scripts/emulate-32bit")]
    if mode == "native" and subprocess.run(emulator + ["true"], capture_output=True).returncode == 0:
        found.append(("shipped i686, emulated", emulator, {"KETROVA_WINDOWS_TREE": "win32", "KETROVA_TIME_SCALE": "4"}))
    if (ROOT / "build/win64/Instalador.exe").is_file():
        found.append(("x86_64 twin", [], {"KETROVA_WINDOWS_TREE": "win64"}))
    return found


def report(name, row, ours, peer, twin):
    a, b = statistics.median(ours), statistics.median(peer)
    # Ratios round by round, so that a slow spell weighs on both sides alike.
    ratios = sorted(o / p for o, p in zip(ours, peer))
    label, goal = GOALS[row]
    line = (f"{name:<23} {label:<30} installer {a:8.1f} ms   minimal {b:8.1f} ms   ratio"
            f" {statistics.median(ratios):5.2f} ({ratios[0]:.2f}-{ratios[-1]:.2f})  goal <= {goal}")
    if twin and name != "x86_64 twin":
        line += f"   x twin {a / statistics.median(twin):5.2f}"
    print(line)


def main():
    if sys.argv[1:2] == ["--measure"]:
        print(json.dumps(measure(int(sys.argv[2]))))
        return
    rounds = int(sys.argv[1]) if len(sys.argv) > 1 else 5
    results = {}
    for name, prefix, env in variants():
        run = subprocess.run(prefix + [sys.executable, __file__, "--measure", str(rounds)],
                             env=dict(os.environ, **env), capture_output=True, text=True)
        if run.returncode != 0:
            sys.exit(f"installer-bench: {name} failed: {run.stderr.strip()[-2000:]}")
        results[name] = json.loads(run.stdout.splitlines()[-1])
    print(f"medians of {rounds} alternating rounds under Wine")
    twin = results.get("x86_64 twin")
    for row in GOALS:
        for name, times in results.items():
            report(name, row, *times[row], twin[row][0] if twin else None)


if __name__ == "__main__":
    main()

"""Start-up and unattended installation of the real installer under Wine,
each against a minimal Win32 program started the same way in the same run.

Run: scripts/with-wine python3 bench/installer-bench.py [rounds]"""

import statistics
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
from harness import BUILD, INSTALLER, MAIN_TITLE, installer_command, kill_products, launch  # noqa: E402

MINIMAL = BUILD / "bin" / "e2e-minimal.exe"
TARGET = "C:\\bench\\Ketrova\\"


def milliseconds(output, key):
    return float(dict(line.split("=") for line in output.splitlines() if "=" in line)[key])


def window_shown(exe, title):
    return milliseconds(launch(installer_command(exe), wait_title=title, close=True)[1], "window-ms")


def unattended(exe):
    return milliseconds(launch(installer_command(exe, TARGET))[1], "exit-ms")


def report(name, ours, peer, goal):
    a, b = statistics.median(ours), statistics.median(peer)
    # Ratios round by round, so that a slow spell weighs on both sides alike.
    ratios = sorted(o / p for o, p in zip(ours, peer))
    print(f"{name:<34} installer {a:8.1f} ms   minimal {b:8.1f} ms   ratio {statistics.median(ratios):5.2f}"
          f" ({ratios[0]:.2f}-{ratios[-1]:.2f})  goal <= {goal}")


def main():
    rounds = int(sys.argv[1]) if len(sys.argv) > 1 else 5
    shown = ([], [])
    installed = ([], [])
    for _ in range(rounds):
        shown[0].append(window_shown(INSTALLER, MAIN_TITLE))
        shown[1].append(window_shown(MINIMAL, "Minimal"))
        installed[0].append(unattended(INSTALLER))
        kill_products()
        installed[1].append(unattended(MINIMAL))
    print(f"medians of {rounds} alternating rounds under Wine")
    report("start to window shown", *shown, 1.3)
    report("unattended run, start to exit", *installed, 3.0)


if __name__ == "__main__":
    main()

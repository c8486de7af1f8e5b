"""The window while it installs: a bar and a status line that move on, a
window that keeps answering and painting, and a Cancelar that rolls back. The
installer carries a product of some hundreds of megabytes, put into a copy of
it once, so that the installation lasts long enough to watch."""

import os
import shutil
import subprocess
import tempfile
import time
import unittest
import zipfile

from harness import (DRIVE_C, INSTALLER, MAIN_TITLE, PAYLOAD, PROBE, PROGRAM_FILES, TIME_SCALE, WINE,
                     answer_message_box, click, end_installer, find_windows, installer_command, kill_products,
                     launch, press, probe, remove_shortcuts, start, unix_path, wait_for_window, wait_until,
                     whole_exit_code, window_geometry, windows_path)
from test_rollback import leftovers, snapshot

PROPOSAL = PROGRAM_FILES + "\\Ketrova\\v2023r1\\"
INSTALL = (562 + 53, 395 + 16)
CANCELAR = (674 + 53, 395 + 16)
# The bar's inside and the status line, in client coordinates of the standard edition.
BAR_ROW, BAR_LEFT, BAR_RIGHT = 249, 82, 733
BAR = "82,242,651,14"
STATUS = "80,213,655,21"
HIGHLIGHT = (0x20, 0x4E, 0x9E)
# Enough for a few seconds of work, in which a click lands well before the end:
# big files for the copy, many small ones (a few hundred to a folder) for the
# extraction, which writes big ones at disk speed.
EXTRA_MEGABYTES = int(os.environ.get("KETROVA_PROGRESS_MB", "800"))
SMALL_FILES = 2400
BIG = DRIVE_C / "e2e" / "progress" / "Instalador.exe"


def make_big_installer():
    """The installer with the sample product and EXTRA_MEGABYTES of data files beside it."""
    BIG.parent.mkdir(parents=True, exist_ok=True)
    shutil.copyfile(INSTALLER, BIG)
    with tempfile.TemporaryDirectory() as folder:
        archive = os.path.join(folder, "Programa.zip")
        block = os.urandom(1 << 20) * 8
        with zipfile.ZipFile(PAYLOAD) as sample, zipfile.ZipFile(archive, "w") as big:
            for info in sample.infolist():
                big.writestr(info, sample.read(info), compress_type=info.compress_type)
            for i in range(EXTRA_MEGABYTES // 8):
                info = zipfile.ZipInfo(f"Dados/bloco{i:03}.bin", (2023, 1, 1, 0, 0, 0))
                big.writestr(info, block, compress_type=zipfile.ZIP_STORED)
            for i in range(SMALL_FILES):
                info = zipfile.ZipInfo(f"Dados/pequenos{i // 400}/p{i:04}.bin", (2023, 1, 1, 0, 0, 0))
                big.writestr(info, block[i * 4096:(i + 1) * 4096], compress_type=zipfile.ZIP_STORED)
        code, _ = probe("payload", windows_path(BIG), windows_path(archive))
        assert code == 0, "the big payload is in the copy"


def window_pixels(window, left, top, width, height):
    """The screen's RGB bytes of an area of the window."""
    x, y, _, _ = window_geometry(window)
    return subprocess.run(["import", "-window", "root", "-crop", f"{width}x{height}+{x + left}+{y + top}",
                           "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout


def bar_length(window):
    row = window_pixels(window, BAR_LEFT, BAR_ROW, BAR_RIGHT - BAR_LEFT, 1)
    pixels = [tuple(row[i:i + 3]) for i in range(0, len(row), 3)]
    return sum(1 for p in pixels if all(abs(a - b) <= 8 for a, b in zip(p, HIGHLIGHT)))


class TheWindowWhileItInstalls(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        make_big_installer()

    def setUp(self):
        self.process = None
        kill_products()
        remove_shortcuts()
        shutil.rmtree(unix_path(PROPOSAL), ignore_errors=True)

    def tearDown(self):
        if self.process:
            end_installer(self.process)
        kill_products()
        # Other suites share the prefix: leave the proposed folder without a product.
        shutil.rmtree(unix_path(PROPOSAL), ignore_errors=True)
        remove_shortcuts()

    def open_window(self):
        self.report = tempfile.TemporaryFile()
        self.process = start(installer_command(BIG), stdout=self.report)
        self.window = wait_for_window(f"^{MAIN_TITLE}$", 60)

    def test_the_bar_moves_on_the_status_changes_and_the_window_answers(self):
        self.open_window()
        watch = subprocess.Popen([WINE, str(PROBE), "watch", MAIN_TITLE, "Information", BAR, STATUS,
                                  "%02X%02X%02X" % HIGHLIGHT], stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                 stderr=subprocess.DEVNULL)
        time.sleep(1)
        started = time.monotonic()
        click(self.window, *INSTALL)
        wait_until(lambda: bar_length(self.window) > 0, 60, "the bar")
        covered = probe("cover", MAIN_TITLE)[1]
        lines = watch.communicate(timeout=300 * TIME_SCALE)[0].decode().split()
        longest = int(lines.pop().split("=")[1])
        pictures = [tuple(map(int, line.split("|"))) for line in lines]
        # Empty at first; then black only while the cover is over it.
        bars = [bar for bar, _ in pictures]
        bars = bars[:bars.index(next(filter(None, bars)))] + [bar for bar in bars if bar]
        print(f"installation {time.monotonic() - started:.1f} s, {len(set(bars))} lengths of the bar, "
              f"longest wait for an answer {longest} ms, {covered.strip()}")
        self.assertEqual(bars, sorted(bars), "the bar only moves forward")
        self.assertGreaterEqual(len(set(bars)), 5)
        self.assertGreaterEqual(len({text for _, text in pictures}), 3, "the status line changes")
        self.assertIn("covered=1", covered)
        self.assertLessEqual(int(covered.split("restored=")[1]), 100, "repainted within 100 ms of being uncovered")
        self.assertLessEqual(longest, 1000 * TIME_SCALE, "never near 'Not Responding'")
        # Complete only now: the bar is full while the completion box is up
        # (over its middle).
        self.assertEqual(tuple(window_pixels(self.window, BAR_RIGHT - 1, BAR_ROW, 1, 1)), HIGHLIGHT)
        self.assertIn("Instalação concluída!", answer_message_box("Information", 60))
        self.assertEqual(whole_exit_code(self.process, self.report), 0)
        self.assertEqual(find_windows(f"^{MAIN_TITLE}$"), [], "the window is gone")
        self.assertTrue(unix_path(PROPOSAL + "Dados").exists())


class CancelarDuringAnUpgrade(TheWindowWhileItInstalls):
    def setUp(self):
        super().setUp()
        # An earlier installation of the sample product, with a file its user added.
        self.assertEqual(launch(installer_command(INSTALLER, f'"{PROPOSAL}"'))[0], 0)
        kill_products()
        (unix_path(PROPOSAL) / "user-settings.ini").write_text("[ketrova]\nearlier=1\n")
        self.before = snapshot(unix_path(PROPOSAL))
        self.open_window()

    def cancel_half_way(self, button, key=None):
        """Cancelar (or the key) once the extraction is under way, and the answer; returns when it was given."""
        click(self.window, *INSTALL)
        # The copy is the bar's first half; this is early in the extraction.
        wait_until(lambda: bar_length(self.window) > (BAR_RIGHT - BAR_LEFT) * 11 // 20, 120, "the extraction")
        if key:
            press(self.window, key)
        else:
            click(self.window, *CANCELAR)
        self.assertIn("Deseja cancelar a instalação?", answer_message_box("Instalador", 30, button=button))
        return time.monotonic()

    def test_sim_brings_the_earlier_installation_back(self):
        answered = self.cancel_half_way("Yes")
        wait_for_window("^Instalador$", 60)
        print(f"cancelled and restored {time.monotonic() - answered:.2f} s after Sim")
        self.assertEqual(snapshot(unix_path(PROPOSAL)), self.before, "the earlier installation byte for byte")
        self.assertEqual(leftovers(unix_path(PROPOSAL)), [])
        self.assertIn("Instalação cancelada.", answer_message_box("Instalador", 30))
        self.assertEqual(whole_exit_code(self.process, self.report), 1602)

    def test_nao_lets_the_installation_complete(self):
        self.cancel_half_way("No", key="Escape")
        self.assertIn("Instalação concluída!", answer_message_box("Information", 300))
        self.assertEqual(whole_exit_code(self.process, self.report), 0)
        self.assertTrue((unix_path(PROPOSAL) / "user-settings.ini").exists(), "the user's file is kept")
        self.assertTrue((unix_path(PROPOSAL) / "Dados").exists())

    test_the_bar_moves_on_the_status_changes_and_the_window_answers = None


if __name__ == "__main__":
    unittest.main()

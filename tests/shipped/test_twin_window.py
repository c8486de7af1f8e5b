"""The shipped 32-bit installer's window against its x86_64 twin's, both
started in the same prefix on the same display: the same place and size, the
same controls in the same states, the same pixels."""

import subprocess
import tempfile
import time
import unittest
from pathlib import Path

from harness import (HELPERS, INSTALLER, MAIN_TITLE, click, end_installer, installer_command, screenshot, start,
                     wait_for_window, wait_until, window_controls, window_geometry, xdotool)

TWIN = HELPERS / "Instalador.exe"
CANCELAR = (674 + 53, 395 + 16)


def differing_pixels(first, second):
    result = subprocess.run(["compare", "-metric", "AE", str(first), str(second), "null:"],
                            capture_output=True, text=True)
    return int(float(result.stderr.split()[0])) if result.stderr else -1


def photograph(window, shot, reference=None):
    """Photographs the window until its picture stops changing, or with a
    reference until it equals the reference; the last picture stays in shot."""
    previous = shot.with_suffix(".previous.png")

    def finished():
        if shot.exists():
            shot.replace(previous)
        time.sleep(0.5)
        screenshot(shot, window)
        target = reference or previous
        return target.exists() and differing_pixels(shot, target) == 0
    try:
        wait_until(finished, 30, "a finished picture")
    except AssertionError:
        if reference is None:
            raise


class TwinWindow(unittest.TestCase):
    def show(self, exe, shot, reference=None):
        """Opens the window, reads it back and photographs it; closes it with Cancelar."""
        # Away from the buttons, whose hot state would otherwise show.
        xdotool("mousemove", 0, 0)
        process = start(installer_command(exe))
        try:
            window = wait_for_window(f"^{MAIN_TITLE}$", 60)
            controls = wait_until(window_controls, 30, "the window's controls")
            geometry = window_geometry(window)
            photograph(window, shot, reference)
            click(window, *CANCELAR)
            self.assertEqual(process.wait(60), 0)
            return geometry, controls
        finally:
            end_installer(process)

    def test_same_place_size_controls_and_pixels(self):
        with tempfile.TemporaryDirectory() as folder:
            twin_shot, shipped_shot = Path(folder) / "twin.png", Path(folder) / "shipped.png"
            twin_geometry, twin_controls = self.show(TWIN, twin_shot)
            geometry, controls = self.show(INSTALLER, shipped_shot, reference=twin_shot)
            self.assertEqual(geometry, (240, 175, 800, 450))
            self.assertEqual(geometry, twin_geometry)
            for mine, theirs in zip(controls, twin_controls, strict=True):
                if mine["cls"].lower() == "edit":
                    # By design: a 32-bit program is proposed the 32-bit program files folder.
                    self.assertIn("\\Program Files (x86)\\", mine["text"])
                    mine, theirs = dict(mine, text=""), dict(theirs, text="")
                self.assertEqual(mine, theirs)
            self.assertEqual(differing_pixels(shipped_shot, twin_shot), 0)


if __name__ == "__main__":
    unittest.main()

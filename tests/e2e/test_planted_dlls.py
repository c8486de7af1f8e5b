"""An installer started from a downloads folder that also holds DLLs named
like the system's, with Wine told to prefer such native DLLs: none of them
runs inside the installer, and the installation completes."""

import os
import shutil
import unittest

from harness import (BUILD, INSTALLER, MAIN_TITLE, click, control, end_installer, fresh_folder, installer_command,
                     kill_products, launch, start, unix_path, wait_for_window, wait_until, window_controls)

NAMES = os.environ["KETROVA_PLANTED_NAMES"].split(",")
CANCELAR = (674 + 53, 395 + 16)
TOGGLE = (522 + 17, 395 + 16)


class PlantedDlls(unittest.TestCase):
    def setUp(self):
        self.downloads = fresh_folder("Downloads")
        self.downloads.mkdir(parents=True)
        self.installer = self.downloads / "Instalador.exe"
        shutil.copy(INSTALLER, self.installer)
        for name in NAMES:
            shutil.copy(BUILD / "planted" / f"{name}.dll", self.downloads)
        overrides = os.environ.get("WINEDLLOVERRIDES", "")
        self.env = {"WINEDLLOVERRIDES": ";".join(filter(None, [overrides, ",".join(NAMES) + "=n,b"]))}

    def tearDown(self):
        kill_products()

    def assert_nothing_loaded(self):
        self.assertEqual(sorted(p.name for p in self.downloads.glob("*.loaded")), [])

    def test_unattended_road(self):
        target = "C:\\e2e\\Planted\\"
        shutil.rmtree(unix_path(target), ignore_errors=True)
        code, _ = launch(installer_command(self.installer, target), env=self.env)
        self.assertEqual(code, 0)
        self.assertTrue(unix_path(target + "Ketrova.exe").exists())
        self.assert_nothing_loaded()

    def test_window_road(self):
        process = start(installer_command(self.installer), env=self.env)
        try:
            window = wait_for_window(f"^{MAIN_TITLE}$", 60)
            # The details panel draws the option boxes and the themed parts.
            click(window, *TOGGLE)
            wait_until(lambda: control(window_controls(), "...")["visible"], 10, "the details panel")
            click(window, *CANCELAR)
            self.assertEqual(process.wait(60), 0)
        finally:
            end_installer(process)
        self.assert_nothing_loaded()


if __name__ == "__main__":
    unittest.main()

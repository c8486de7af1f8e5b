"""A failed installation leaves the earlier one as it was, and working: faults
injected into real runs of the installer, on both roads."""

import hashlib
import os
import shutil
import subprocess
import unittest
import zipfile

from harness import (DRIVE_C, ERROR_TEXT, INSTALLER, MAIN_TITLE, PAYLOAD, PROBE, PROGRAM_FILES, WINE,
                     answer_message_box, assert_payload_installed, click, end_installer, installer_command,
                     kill_installer_when, kill_products, launch, mounted_drive, product_windows, remove_shortcuts,
                     start, unix_path, wait_for_window, wait_until)

INSTALL = (562 + 53, 395 + 16)


def snapshot(folder):
    """{relative path: SHA-256} of every file below the folder."""
    files = {}
    for root, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(root, name)
            with open(path, "rb") as f:
                files[os.path.relpath(path, folder)] = hashlib.sha256(f.read()).hexdigest()
    return files


def leftovers(folder):
    """What an installation may leave beside or in its folder while it runs."""
    names = [folder.parent / (folder.name + suffix) for suffix in (".Programa-anterior", ".Programa-remover")]
    names += [folder / name for name in ("Programa.zip", "Programa.journal", "Programa.anterior")]
    return [str(n) for n in names if n.exists()]


def corrupted_installer():
    """A copy of the installer whose payload has a damaged entry late in the archive."""
    data = bytearray(INSTALLER.read_bytes())
    payload = PAYLOAD.read_bytes()
    at = data.find(payload)
    assert at >= 0, "the payload is embedded as it was built"
    with zipfile.ZipFile(PAYLOAD) as archive:
        late = archive.infolist()[-3]
    local = payload[late.header_offset:late.header_offset + 30]
    start = late.header_offset + 30 + int.from_bytes(local[26:28], "little") + int.from_bytes(local[28:30], "little")
    middle = at + start + late.compress_size // 2
    data[middle:middle + 64] = bytes(64)
    copy = DRIVE_C / "e2e" / "corrupted" / "Instalador.exe"
    copy.parent.mkdir(parents=True, exist_ok=True)
    copy.write_bytes(data)
    return copy


class EarlierInstallationSurvives(unittest.TestCase):
    TARGET = "C:\\e2e\\Rollback\\"

    def setUp(self):
        kill_products()
        remove_shortcuts()
        self.install_earlier(self.TARGET)

    def tearDown(self):
        kill_products()
        remove_shortcuts()

    def install_earlier(self, target):
        """An earlier installation of our own, with a settings file and documents its user added."""
        shutil.rmtree(unix_path(target), ignore_errors=True)
        self.assertEqual(launch(installer_command(INSTALLER, f'"{target}"'))[0], 0)
        kill_products()
        (unix_path(target) / "user-settings.ini").write_text("[ketrova]\nearlier=1\n")
        (unix_path(target) / "Documentos").mkdir()
        (unix_path(target) / "Documentos" / "carta.ktv").write_bytes(bytes(range(256)) * 8)
        self.before = snapshot(unix_path(target))

    def assert_earlier_intact(self, target, folder=None):
        folder = folder or unix_path(target)
        self.assertEqual(snapshot(folder), self.before)
        self.assertEqual(leftovers(folder), [])
        kill_products()
        product = start(f'"{target}Ketrova.exe"')
        wait_until(lambda: product_windows(), 60, "the earlier product to start")
        kill_products()
        product.wait(60)

    def run_failing(self, command, code, text=ERROR_TEXT):
        """The unattended road: one error box, and the exit code of its cause."""
        process = start(command)
        self.assertIn(text, answer_message_box("Instalador", 120))
        self.assertEqual(process.wait(60), code)

    def test_a_payload_damaged_late_in_the_archive(self):
        self.run_failing(installer_command(corrupted_installer(), f'"{self.TARGET}"'), 13)
        self.assert_earlier_intact(self.TARGET)

    def test_a_file_held_open_by_another_program(self):
        path = self.TARGET + "Codecs\\CodecImage.dll"
        holder = subprocess.Popen([WINE, str(PROBE), "hold", path], stdin=subprocess.DEVNULL,
                                  stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        try:
            self.assertEqual(holder.stdout.readline().strip(), b"held")
            self.run_failing(installer_command(INSTALLER, f'"{self.TARGET}"'), 11)
        finally:
            holder.kill()
            holder.wait(30)
            holder.stdout.close()
        self.assert_earlier_intact(self.TARGET)

    def test_a_drive_that_fills_up(self):
        if os.geteuid() != 0:
            self.skipTest("mounting a small file system needs root")
        installed = sum(os.path.getsize(os.path.join(r, n)) for r, _, ns in os.walk(unix_path(self.TARGET)) for n in ns)
        # Room for the earlier installation, the payload's copy and half the new one.
        size = installed + PAYLOAD.stat().st_size + installed // 2
        try:
            with mounted_drive("K", size) as mount:
                shutil.copytree(unix_path(self.TARGET), mount / "Ketrova")
                target = "K:\\Ketrova\\"
                # Refused before anything changes.
                self.run_failing(installer_command(INSTALLER, target), 10, "Não há espaço livre suficiente")
                self.assert_earlier_intact(target, mount / "Ketrova")
        finally:
            kill_products()

    def test_a_run_killed_during_the_extraction_is_put_right_by_the_next(self):
        folder = unix_path(self.TARGET)
        aside = folder.parent / (folder.name + ".Programa-anterior")
        with zipfile.ZipFile(PAYLOAD) as archive:
            trigger = folder / archive.infolist()[6].filename
        kill_installer_when(installer_command(INSTALLER, self.TARGET), self.TARGET,
                            lambda: aside.exists() and trigger.exists(), "the extraction to reach its seventh file")
        self.assertNotEqual(leftovers(folder), [], "the run was cut short during the extraction")
        self.assertEqual(launch(installer_command(INSTALLER, self.TARGET))[0], 0)
        assert_payload_installed(self, folder, users_folders=["Documentos"])
        self.assertEqual(leftovers(folder), [])
        # The earlier installation came back first, with its user's files, which the next run kept.
        self.assertEqual(snapshot(folder)["user-settings.ini"], self.before["user-settings.ini"])
        self.assertEqual(snapshot(folder)["Documentos/carta.ktv"], self.before["Documentos/carta.ktv"])


class EarlierInstallationSurvivesTheInstallButton(EarlierInstallationSurvives):
    """The same faults on the road of the window, into the proposed folder."""

    TARGET = PROGRAM_FILES + "\\Ketrova\\v2023r1\\"

    def tearDown(self):
        super().tearDown()
        # Other suites share the prefix: leave the proposed folder without a product.
        shutil.rmtree(unix_path(self.TARGET), ignore_errors=True)

    def run_failing(self, command, code, text=ERROR_TEXT):
        exe = command.split('"')[1]
        process = start(f'"{exe}"')
        try:
            window = wait_for_window(f"^{MAIN_TITLE}$", 60)
            click(window, *INSTALL)
            self.assertIn(text, answer_message_box("Instalador", 120))
            self.assertEqual(process.wait(60), code)
        finally:
            end_installer(process)

    # The proposal lies on drive C:, and the kill is the same on both roads.
    test_a_drive_that_fills_up = None
    test_a_run_killed_during_the_extraction_is_put_right_by_the_next = None


if __name__ == "__main__":
    unittest.main()

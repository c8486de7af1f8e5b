"""The unattended road, as a deployment script drives it: the installer with a
folder on its command line installs, starts the product and ends."""

import shutil
import time
import unittest

from harness import (DRIVE_C, INSTALLER, MAIN_TITLE, assert_payload_installed, end_installer, find_windows,
                     installer_command, kill_products, launch, link_fields, product_fields, product_windows,
                     remove_shortcuts, shortcut, start, unix_path, wait_for_window, wait_until, window_controls,
                     xdotool)


class UnattendedInstall(unittest.TestCase):
    def setUp(self):
        remove_shortcuts()

    def tearDown(self):
        kill_products()
        remove_shortcuts()

    def install(self, *arguments):
        code, output = launch(installer_command(INSTALLER, *arguments))
        return code

    def test_quoted_folder_with_spaces_and_trailing_separator(self):
        target = "C:\\Program Files\\Ketrova E2E\\Target One\\"
        shutil.rmtree(unix_path(target), ignore_errors=True)
        self.assertEqual(self.install(f'"{target}"'), 0)
        assert_payload_installed(self, unix_path(target))
        # Content byte for byte.
        import zipfile
        from harness import PAYLOAD
        with zipfile.ZipFile(PAYLOAD) as archive:
            for info in archive.infolist():
                on_disk = unix_path(target + info.filename.replace("/", "\\")).read_bytes()
                self.assertEqual(on_disk, archive.read(info), info.filename)
        # Wine runs as an administrator: the shortcuts go to the all-users folders.
        for kind in ("desktop", "startmenu"):
            self.assertTrue(shortcut(True, kind).exists(), kind)
            self.assertFalse(shortcut(False, kind).exists(), kind)
            fields = link_fields(shortcut(True, kind))
            self.assertEqual(fields["path"], target + "Ketrova.exe")
            self.assertEqual(fields["description"], "Ketrova.exe")
            self.assertEqual(fields["workdir"], target)
            self.assertEqual(fields["args"], "")
        # The product runs from the target folder, started through its own folder.
        title = wait_until(product_windows, 30, "the product's window")[0]
        fields = product_fields(title)
        self.assertEqual(fields["exe"].lower(), (target + "Ketrova.exe").lower())
        self.assertEqual(fields["cwd"].rstrip("\\").lower(), target.rstrip("\\").lower())
        self.assertFalse(unix_path(target + "Ketrova.lnk").exists())
        # The installer's window never came on the screen.
        self.assertEqual(find_windows(MAIN_TITLE), [])

    def test_folder_without_trailing_separator_gets_one(self):
        base = "C:\\e2e\\NoSeparator"
        shutil.rmtree(unix_path(base), ignore_errors=True)
        (DRIVE_C / "e2e").mkdir(exist_ok=True)
        self.assertEqual(self.install(base), 0)
        assert_payload_installed(self, unix_path(base))
        # Nothing beside the folder: the archive went into it and is gone.
        self.assertFalse((DRIVE_C / "e2e" / "NoSeparatorPrograma.zip").exists())
        self.assertFalse((DRIVE_C / "e2e" / "Programa.zip").exists())
        self.assertEqual(link_fields(shortcut(True, "desktop"))["path"], base + "\\Ketrova.exe")
        title = wait_until(product_windows, 30, "the product's window")[0]
        self.assertEqual(product_fields(title)["exe"].lower(), (base + "\\Ketrova.exe").lower())

    def test_only_the_first_of_two_arguments_counts(self):
        first, second = "C:\\e2e\\First\\", "C:\\e2e\\Second\\"
        for folder in (first, second):
            shutil.rmtree(unix_path(folder), ignore_errors=True)
        self.assertEqual(self.install(first, second), 0)
        self.assertTrue(unix_path(first + "Ketrova.exe").exists())
        self.assertFalse(unix_path(second).exists())

    def test_two_double_quotes_alone_give_the_interactive_window(self):
        process = start(installer_command(INSTALLER, '""'))
        try:
            window = wait_for_window(f"^{MAIN_TITLE}$", 60)
            controls = window_controls()
            buttons = {c["text"]: c for c in controls if c["cls"].lower() == "button"}
            self.assertTrue(buttons["Install"]["visible"])
            self.assertTrue(buttons["Cancelar"]["visible"])
            xdotool("windowactivate", "--sync", window, check=False)
            xdotool("key", "Escape")
            self.assertEqual(process.wait(60), 0)
        finally:
            end_installer(process)


class ReplacingAnInstallation(unittest.TestCase):
    def setUp(self):
        remove_shortcuts()

    def tearDown(self):
        kill_products()
        remove_shortcuts()

    def test_running_instances_end_and_an_earlier_installation_is_replaced(self):
        target = "C:\\e2e\\Earlier\\"
        elsewhere = "C:\\e2e\\Elsewhere\\"
        for folder in (target, elsewhere):
            shutil.rmtree(unix_path(folder), ignore_errors=True)
        self.assertEqual(launch(installer_command(INSTALLER, target))[0], 0)
        kill_products()
        # An earlier installation with a stale file, and the product running from it and from elsewhere.
        unix_path(target + "stale.dll").write_bytes(b"old")
        unix_path(elsewhere).mkdir(parents=True)
        shutil.copy(unix_path(target + "Ketrova.exe"), unix_path(elsewhere + "Ketrova.exe"))
        runners = [start(f'"{folder}Ketrova.exe"') for folder in (target, elsewhere)]
        wait_until(lambda: len(product_windows()) == 2, 30, "two running products")
        self.assertEqual(launch(installer_command(INSTALLER, target))[0], 0)
        for runner in runners:
            runner.wait(30)
        self.assertFalse(unix_path(target + "stale.dll").exists(), "the earlier installation was replaced")
        titles = wait_until(product_windows, 30, "the new product")
        self.assertEqual(len(titles), 1)
        self.assertEqual(product_fields(titles[0])["exe"].lower(), (target + "Ketrova.exe").lower())

    def test_a_folder_with_other_data_is_kept(self):
        target = "C:\\e2e\\Documents\\"
        shutil.rmtree(unix_path(target), ignore_errors=True)
        unix_path(target).mkdir(parents=True)
        unix_path(target + "carta.txt").write_text("não apague")
        (unix_path(target) / "fotos").mkdir()
        (unix_path(target) / "fotos" / "praia.jpg").write_bytes(b"\xff\xd8 praia")
        self.assertEqual(launch(installer_command(INSTALLER, target))[0], 0)
        self.assertEqual(unix_path(target + "carta.txt").read_text(), "não apague")
        self.assertTrue((unix_path(target) / "fotos" / "praia.jpg").exists())
        self.assertTrue(unix_path(target + "Ketrova.exe").exists())


if __name__ == "__main__":
    unittest.main()

"""What users see, and what deployment tools read, when an installation
cannot go as planned."""

import contextlib
import os
import shutil
import subprocess
import unittest

from harness import (BUILD, DRIVE_C, EDITIONS, ERROR_TEXT, INSTALLER, MAIN_TITLE, PROBE, PROGRAM_FILES, WINE,
                     answer_message_box, click, control, end_installer, find_windows, fresh_folder,
                     installer_command, kill_products, launch, log_lines, mounted_drive, product_windows,
                     remove_shortcuts, shortcut, start, unix_path, user_folder, visible_windows, wait_for_window,
                     wait_until, window_controls, windows_path, wine, xdotool)
from test_rollback import corrupted_installer, snapshot

INSTALL = (562 + 53, 395 + 16)


class UnwritableTarget(unittest.TestCase):
    def tearDown(self):
        kill_products()

    def test_the_error_is_reported_and_nothing_claims_success(self):
        remove_shortcuts()
        blocker = DRIVE_C / "e2e" / "blocker.txt"
        blocker.parent.mkdir(parents=True, exist_ok=True)
        blocker.write_text("a file where a folder should be")
        process = start(installer_command(INSTALLER, "C:\\e2e\\blocker.txt\\Target\\"))
        self.assertIn(ERROR_TEXT, answer_message_box("Instalador", 120))
        self.assertEqual(process.wait(60), 1)
        self.assertEqual(find_windows("^Information$"), [])
        self.assertEqual(product_windows(), [])
        for all_users in (True, False):
            for kind in ("desktop", "startmenu"):
                self.assertFalse(shortcut(all_users, kind).exists())


class ExitCodes(unittest.TestCase):
    """What a deployment tool reads when the unattended road goes wrong."""

    def tearDown(self):
        kill_products()
        remove_shortcuts()

    def test_a_shortcut_the_platform_cannot_save_gives_two_without_a_message(self):
        remove_shortcuts()
        # A folder where the link file should go: the save fails and the link is missing.
        blocker = shortcut(True, "desktop")
        blocker.mkdir(parents=True)
        try:
            target = "C:\\e2e\\NoDesktopLink\\"
            shutil.rmtree(unix_path(target), ignore_errors=True)
            self.assertEqual(launch(installer_command(INSTALLER, target))[0], 2)
            self.assertTrue(unix_path(target + "Ketrova.exe").exists())
            self.assertTrue(shortcut(True, "startmenu").exists())
        finally:
            blocker.rmdir()

    def test_an_installer_whose_window_cannot_be_made_gives_three(self):
        # Without a display no window can be created.
        target = "C:\\e2e\\NeverInstalled\\"
        shutil.rmtree(unix_path(target), ignore_errors=True)
        code, _ = launch(installer_command(INSTALLER, target), env={"DISPLAY": ""})
        self.assertEqual(code, 3)
        self.assertFalse(unix_path(target).exists())


class NobodyToAnswer(unittest.TestCase):
    """Each failure road of a deployment, quiet on a visible desktop and
    without /quiet in a window station that nobody sees: the run ends by
    itself with the documented code, shows no window, and its log names the
    cause. Rows: (name, code, what the log names)."""

    ROADS = [
        ("missing_drive", 1, 'make the folder "Q:\\Apps"'),
        ("invalid_name", 1, "Invalid characters in path"),
        ("read_only_volume", 12, 'make the folder "R:\\Ketrova\\"'),
        ("file_in_use", 11, "set the earlier installation aside"),
        ("damaged_installer", 13, "the installer file is damaged"),
        ("small_drive", 10, "check the free space"),
    ]
    LOG = DRIVE_C / "e2e" / "logs" / "road.log"
    EARLIER = "C:\\e2e\\Deployed\\"

    def setUp(self):
        remove_shortcuts()
        self.LOG.parent.mkdir(parents=True, exist_ok=True)
        self.LOG.unlink(missing_ok=True)

    def tearDown(self):
        kill_products()
        remove_shortcuts()

    def test_every_road_ends_by_itself_with_its_code_and_cause(self):
        if os.geteuid() != 0:
            self.skipTest("the drives of these roads are file systems mounted as root")
        for name, code, cause in self.ROADS:
            for station in (False, True):
                with self.subTest(road=name, station=station), self.road(name) as (exe, folder):
                    switches = [f"/log={windows_path(self.LOG)}"] + ([] if station else ["/quiet"])
                    exit_code, output = launch(installer_command(exe, f'"{folder}"', *switches), timeout=120,
                                               station=station)
                    self.assertEqual(exit_code, code)
                    self.assertEqual(visible_windows(output), 0)
                    lines = log_lines(self.LOG)
                    self.assertTrue(any(line.startswith("error: ") and cause in line for line in lines), lines)
                    self.assertTrue(lines[-1].startswith(f"exit code {code}: "), lines[-1])
                    self.assertEqual(product_windows(), [])

    def test_without_arguments_where_nobody_sees_it_ends_at_once(self):
        temp = user_folder() / "Temp"
        before = set(temp.glob("Instalador-*.log"))
        code, output = launch(installer_command(INSTALLER), station=True, timeout=60)
        self.assertEqual(code, 3)
        (log,) = set(temp.glob("Instalador-*.log")) - before
        self.assertIn("nobody can see this session", log_lines(log)[-2])

    @contextlib.contextmanager
    def road(self, name):
        """Prepares the road; yields the installer and the folder to give it."""
        if name == "missing_drive":
            yield INSTALLER, "Q:\\Apps\\Ketrova\\"
        elif name == "invalid_name":
            yield INSTALLER, "C:\\Apps\\Ke|trova\\"
        elif name == "read_only_volume":
            # Room enough: what stops the run is that nothing may be written.
            with mounted_drive("R", 256 << 20, read_only=True):
                yield INSTALLER, "R:\\Ketrova\\"
        elif name == "small_drive":
            with mounted_drive("S", 4 << 20) as mount:
                (mount / "kept.txt").write_text("earlier")
                before = snapshot(mount)
                yield INSTALLER, "S:\\Ketrova\\"
                self.assertEqual(snapshot(mount), before, "nothing changed on the drive")
        elif name == "damaged_installer":
            shutil.rmtree(unix_path(self.EARLIER), ignore_errors=True)
            yield corrupted_installer(), self.EARLIER
        else:
            self.install_earlier()
            holder = subprocess.Popen([WINE, str(PROBE), "hold", self.EARLIER + "Ketrova.exe"],
                                      stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
            try:
                self.assertEqual(holder.stdout.readline().strip(), b"held")
                yield INSTALLER, self.EARLIER
            finally:
                holder.kill()
                holder.wait(30)
                holder.stdout.close()

    def install_earlier(self):
        shutil.rmtree(unix_path(self.EARLIER), ignore_errors=True)
        self.assertEqual(launch(installer_command(INSTALLER, self.EARLIER, "/quiet", "/norun"))[0], 0)


class OneDriveRefusal(unittest.TestCase):
    """The proposal lies in OneDrive when the shell's folders are redirected there.
    Wine's installer runs as an administrator, so the program files folder is
    redirected; the roaming folder too, for the road of other users."""

    KEYS = [
        ("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", "AppData",
         "C:\\users\\Public\\OneDrive - Ketrova\\AppData\\Roaming"),
        ("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir",
         "C:\\OneDrive - Ketrova\\Programas"),
    ]
    # The registry view of the installer's own bitness.
    VIEW = "/reg:32" if BUILD.name == "win32" else "/reg:64"

    def setUp(self):
        self.saved = []
        for key, name, value in self.KEYS:
            result = wine("reg", "query", key, "/v", name, self.VIEW)
            line = next((l for l in result.stdout.decode(errors="replace").splitlines() if name in l), None)
            self.saved.append(line.split(None, 2)[1:] if line else None)
            wine("reg", "add", key, "/v", name, "/t", "REG_SZ", "/d", value, "/f", self.VIEW)

    def tearDown(self):
        for (key, name, _), old in zip(self.KEYS, self.saved):
            if old is None:
                wine("reg", "delete", key, "/v", name, "/f", self.VIEW)
            else:
                kind, value = old[0], old[1].strip() if len(old) > 1 else ""
                wine("reg", "add", key, "/v", name, "/t", kind, "/d", value, "/f", self.VIEW)
        kill_products()

    def test_install_shows_the_notice_and_changes_nothing(self):
        process = start(installer_command(INSTALLER))
        try:
            window = wait_for_window(f"^{MAIN_TITLE}$", 60)
            edit = next(c for c in window_controls() if c["cls"].lower() == "edit")
            self.assertIn("onedrive", edit["text"].lower())
            click(window, *INSTALL)
            self.assertIn("Não é possível utilizar pastas OneDrive durante a otimização",
                          answer_message_box("Instalador", 60))
            # Idle again: Install still enabled, nothing written, still running.
            controls = window_controls()
            self.assertTrue(control(controls, "Install")["enabled"])
            self.assertFalse(unix_path(edit["text"]).exists())
            self.assertIsNone(process.poll())
        finally:
            end_installer(process)


class ShellLinksUnavailable(unittest.TestCase):
    """With the shell link object unregistered the product is installed but no
    shortcut can be made, and the start of the product fails too: the
    unattended run ends after the boxes, and the window that this error leaves
    on the interactive road still closes, both with exit code 2."""

    KEY = "HKLM\\Software\\Classes\\CLSID\\{00021401-0000-0000-C000-000000000046}\\InprocServer32"
    VIEW = "/reg:32" if BUILD.name == "win32" else "/reg:64"
    TARGET = "C:\\e2e\\NoLinks\\"

    # Kept in the prefix until it is imported back, so that a run cut short
    # leaves the registration to the next one.
    SAVED = DRIVE_C / "e2e" / "shell-link.reg"

    def setUp(self):
        remove_shortcuts()
        if self.SAVED.exists():
            self.restore()
        self.SAVED.parent.mkdir(parents=True, exist_ok=True)
        self.assertEqual(wine("reg", "export", self.KEY, windows_path(self.SAVED), "/y", self.VIEW).returncode, 0)
        wine("reg", "delete", self.KEY, "/f", self.VIEW)

    def restore(self):
        self.assertEqual(wine("reg", "import", windows_path(self.SAVED), self.VIEW).returncode, 0)
        self.SAVED.unlink()

    def tearDown(self):
        self.restore()
        restored = wine("reg", "query", self.KEY, self.VIEW).stdout.decode(errors="replace")
        self.assertIn("shell32.dll", restored, "the shell link object must be registered again")
        kill_products()

    def test_the_product_is_installed_and_the_unattended_run_ends_by_itself_with_two(self):
        shutil.rmtree(unix_path(self.TARGET), ignore_errors=True)
        process = start(installer_command(INSTALLER, self.TARGET))
        try:
            self.assertIn(ERROR_TEXT, answer_message_box("Instalador", 120))
            self.assertIn("{00021401-0000-0000-C000-000000000046}", answer_message_box("Instalador", 60))
            # Nobody would close a window left without buttons: the run ends.
            self.assertEqual(process.wait(60), 2)
            self.assertEqual(find_windows(f"^{MAIN_TITLE}$"), [])
        finally:
            end_installer(process)
        self.assertTrue(unix_path(self.TARGET + "Ketrova.exe").exists())
        self.assert_no_product_and_no_shortcut()

    def test_the_busy_window_left_by_the_error_after_install_closes_with_two(self):
        proposal = PROGRAM_FILES + "\\Ketrova\\v2023r1\\"
        process = start(installer_command(INSTALLER))
        try:
            window = wait_for_window(f"^{MAIN_TITLE}$", 60)
            click(window, *INSTALL)
            self.assertIn(ERROR_TEXT, answer_message_box("Instalador", 120))
            self.assertIn("Instalação concluída!", answer_message_box("Information", 60))
            self.assertIn("{00021401-0000-0000-C000-000000000046}", answer_message_box("Instalador", 60))
            # Busy still: neither button can be pressed, yet the window closes.
            controls = window_controls()
            self.assertFalse(control(controls, "Install")["enabled"])
            self.assertFalse(control(controls, "Cancelar")["enabled"])
            self.close_with_alt_f4(window)
            self.assertEqual(process.wait(60), 2)
            self.assertTrue(unix_path(proposal + "Ketrova.exe").exists())
            self.assert_no_product_and_no_shortcut()
        finally:
            end_installer(process)
            # Other suites share the prefix: leave the proposed folder without a product.
            shutil.rmtree(unix_path(proposal), ignore_errors=True)

    @staticmethod
    def close_with_alt_f4(window):
        # With no window manager nothing activates the window once the box has
        # gone; a click on its background does, as it would for a user.
        click(window, 300, 100)
        xdotool("key", "alt+F4")

    def assert_no_product_and_no_shortcut(self):
        self.assertEqual(product_windows(), [])
        for all_users in (True, False):
            for kind in ("desktop", "startmenu"):
                self.assertFalse(shortcut(all_users, kind).exists())


class PartialAddOn(unittest.TestCase):
    TARGET = "C:\\e2e\\AddOnTarget\\"

    def tearDown(self):
        kill_products()
        remove_shortcuts()

    def test_over_an_existing_installation_nothing_is_deleted_and_no_shortcut_made(self):
        shutil.rmtree(unix_path(self.TARGET), ignore_errors=True)
        self.assertEqual(launch(installer_command(INSTALLER, self.TARGET))[0], 0)
        kill_products()
        remove_shortcuts()
        unix_path(self.TARGET + "user-settings.ini").write_text("[ketrova]\n")
        self.assertEqual(launch(installer_command(EDITIONS["parcial"], self.TARGET))[0], 0)
        self.assertTrue(unix_path(self.TARGET + "user-settings.ini").exists())
        self.assertTrue(unix_path(self.TARGET + "Ketrova.exe").exists())
        for all_users in (True, False):
            for kind in ("desktop", "startmenu"):
                self.assertFalse(shortcut(all_users, kind).exists())

    def test_picking_a_folder_that_holds_the_product_enables_install(self):
        shutil.rmtree(unix_path(PROGRAM_FILES + "\\Ketrova\\v2023r1\\"), ignore_errors=True)
        holder = fresh_folder("Has Product")
        holder.mkdir(parents=True)
        shutil.copy(BUILD / "bin" / "Ketrova.exe", holder / "Ketrova.exe")
        process = start(installer_command(EDITIONS["parcial"]))
        try:
            window = wait_for_window(f"^{MAIN_TITLE}$", 60)
            # A drive root comes back with a second separator, and holds no product.
            self.pick_folder(window, "C:\\")
            self.assertEqual(self.edit_text(), "C:\\\\")
            self.assertFalse(control(window_controls(), "Install")["enabled"])
            self.pick_folder(window, windows_path(holder))
            self.assertEqual(self.edit_text(), windows_path(holder) + "\\")
            controls = window_controls()
            self.assertTrue(control(controls, "Install")["enabled"])
            self.assertTrue(control(controls, "Criar atalho na área de trabalho")["visible"])
            self.assertTrue(control(controls, "...")["visible"], "the panel stays open")
        finally:
            end_installer(process)

    @staticmethod
    def edit_text():
        return next(c for c in window_controls() if c["cls"].lower() == "edit")["text"]

    def pick_folder(self, window, folder):
        before = self.edit_text()
        browse = control(window_controls(), "...")
        click(window, browse["left"] + browse["width"] // 2, browse["top"] + browse["height"] // 2)
        picker = wait_for_window("^Select Folder$", 30)
        xdotool("type", "--delay", "20", folder)
        xdotool("key", "Return")
        wait_until(lambda: picker not in find_windows("^Select Folder$"), 30, "the folder picker to close")
        wait_until(lambda: self.edit_text() != before, 10, "the picked folder")

    def test_over_a_folder_without_the_product_install_is_disabled(self):
        shutil.rmtree(unix_path(PROGRAM_FILES + "\\Ketrova\\v2023r1\\"), ignore_errors=True)
        process = start(installer_command(EDITIONS["parcial"]))
        try:
            wait_for_window(f"^{MAIN_TITLE}$", 60)
            controls = window_controls()
            self.assertFalse(control(controls, "Install")["enabled"])
            self.assertTrue(control(controls, "...")["visible"])
        finally:
            end_installer(process)


if __name__ == "__main__":
    unittest.main()

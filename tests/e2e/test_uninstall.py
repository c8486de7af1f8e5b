"""The product in the system's list of installed programs, and its removal:
the entries read back with Wine's reg, the uninstaller run as deployment
tools and users run it, and Wine's own uninstaller."""

import os
import shutil
import subprocess
import unittest

from harness import (DRIVE_C, INSTALLER, MAIN_TITLE, PROBE, REGISTRY_WINE, WINE, answer_message_box, click, control,
                     end_installer, installer_command, kill_products, launch, log_lines, payload_entries,
                     product_windows, remove_shortcuts, shortcut, start, uninstall_entries, unix_path,
                     wait_for_window, wait_until, window_controls, windows_path, wine)
from test_interactive import BOXES, INSTALL, PROPOSAL, TOGGLE
from test_rollback import snapshot

CAPTION = "Desinstalar Ketrova 2023 r1"


def entries_at(folder, all_users=True):
    return {key: values for key, values in uninstall_entries(all_users).items()
            if values.get("InstallLocation", "").lower() == folder.lower()}


def uninstall(folder, *arguments, station=False):
    return launch(f'"{folder}Desinstalar.exe" ' + " ".join(arguments), station=station)[0]


def gone(path):
    return lambda: not unix_path(path).exists()


def start_wine_uninstaller(key):
    """Wine's own "uninstaller --remove", which runs the entry's command line."""
    return subprocess.Popen([WINE, "uninstaller", "--remove", key], env=dict(os.environ), stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def end_uninstallers():
    wine("taskkill", "/F", "/IM", "Desinstalar.exe", timeout=60)


def delete_entries(folder, all_users=True):
    root = "HKLM" if all_users else "HKCU"
    for key in entries_at(folder, all_users):
        wine("reg", "delete", f"{root}\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{key}", "/f",
             *(["/reg:32"] if all_users else []), loader=REGISTRY_WINE)


class Uninstall(unittest.TestCase):
    def setUp(self):
        remove_shortcuts()
        self.folders = ["C:\\e2e\\Remover\\A\\", "C:\\e2e\\Remover\\B\\"]
        shutil.rmtree(unix_path("C:\\e2e\\Remover\\"), ignore_errors=True)

    def tearDown(self):
        end_uninstallers()
        kill_products()
        for folder in self.folders:
            delete_entries(folder)
        shutil.rmtree(unix_path("C:\\e2e\\Remover\\"), ignore_errors=True)
        remove_shortcuts()

    def install(self, folder):
        self.assertEqual(launch(installer_command(INSTALLER, folder))[0], 0)

    def test_the_entry_read_back_and_a_quiet_removal_with_the_product_running(self):
        a = self.folders[0]
        self.install(a)
        (key, values), = entries_at(a).items()
        size = sum(info.file_size for info in payload_entries())
        self.assertEqual(values, {
            "DisplayName": "Ketrova 2023 r1 (C:\\e2e\\Remover\\A)", "DisplayVersion": "2023.1", "Publisher": "Ketrova",
            "InstallLocation": a, "DisplayIcon": a + "Ketrova.exe",
            "EstimatedSize": values["EstimatedSize"],
            "UninstallString": f'"{a}Desinstalar.exe"', "QuietUninstallString": f'"{a}Desinstalar.exe" /quiet',
            "NoModify": "0x1", "NoRepair": "0x1"})
        self.assertTrue(size // 1024 < int(values["EstimatedSize"], 16) < size // 1024 + 2048)
        listed = wine("uninstaller", "--list", loader=REGISTRY_WINE).stdout.decode("utf-8", "replace")
        self.assertIn(f"{key}|||Ketrova 2023 r1 (C:\\e2e\\Remover\\A)", listed)
        self.assertTrue(shortcut(True, "desktop").exists())
        wait_until(product_windows, 30, "the product")

        self.assertEqual(uninstall(a, "/quiet"), 0)
        self.assertEqual(product_windows(), [])
        self.assertEqual(entries_at(a), {})
        self.assertFalse(shortcut(True, "desktop").exists())
        self.assertFalse(shortcut(True, "startmenu").exists())
        # The uninstaller goes last, and with it the folders the installation made.
        wait_until(gone("C:\\e2e\\Remover\\"), 30, "the folders to go")

    def test_one_entry_per_folder_shared_shortcuts_and_wines_own_removal(self):
        a, b = self.folders
        self.install(a)
        self.install(a)
        self.install(b)
        self.assertEqual(len(entries_at(a)), 1, "a reinstall replaces its entry")
        self.assertEqual(len(entries_at(b)), 1)
        # Two lines in Wine's own list that a person tells apart.
        listed = wine("uninstaller", "--list", loader=REGISTRY_WINE).stdout.decode("utf-8", "replace")
        for folder in (a, b):
            (key,) = entries_at(folder)
            self.assertIn(f"{key}|||Ketrova 2023 r1 ({folder[:-1]})", listed)

        # The shortcuts now point into B: removing A leaves them.
        self.assertEqual(uninstall(a, "/quiet"), 0)
        wait_until(gone(a), 30, "A's folder to go")
        self.assertEqual(entries_at(a), {})
        self.assertTrue(shortcut(True, "desktop").exists())
        self.assertTrue(unix_path(b + "Ketrova.exe").exists())

        # Wine's own list removes B, through the questions a user answers.
        (b_key,) = entries_at(b)
        remover = start_wine_uninstaller(b_key)
        self.assertIn("Deseja remover o Ketrova 2023 r1", answer_message_box(CAPTION, 60, "Yes"))
        self.assertIn("foi removido", answer_message_box(CAPTION, 60))
        remover.wait(60)
        wait_until(gone(b), 30, "B's folder to go")
        self.assertEqual(entries_at(b), {})
        for all_users, kind in ((True, "desktop"), (True, "startmenu")):
            self.assertFalse(shortcut(all_users, kind).exists(), kind)
        self.assertEqual(product_windows(), [])

    def test_a_quiet_removal_that_meets_a_file_in_use_removes_nothing(self):
        a = self.folders[0]
        self.install(a)
        kill_products()
        before = snapshot(unix_path(a))
        holder = subprocess.Popen([WINE, str(PROBE), "hold", a + "Codecs\\CodecImage.dll"], stdin=subprocess.DEVNULL,
                                  stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        try:
            self.assertEqual(holder.stdout.readline().strip(), b"held")
            self.assertEqual(uninstall(a, "/quiet"), 8)
        finally:
            holder.kill()
            holder.wait(30)
            holder.stdout.close()
        self.assertEqual(snapshot(unix_path(a)), before)
        self.assertEqual(len(entries_at(a)), 1)
        self.assertTrue(shortcut(True, "desktop").exists())
        runner = start(f'"{a}Ketrova.exe"')
        wait_until(product_windows, 30, "the product, which still works")
        # The file closed, the next removal takes everything, the running product first.
        self.assertEqual(uninstall(a, "/quiet"), 0)
        runner.wait(30)
        self.assertEqual(product_windows(), [])
        wait_until(gone("C:\\e2e\\Remover\\"), 30, "the folders to go")
        self.assertEqual(entries_at(a), {})

    def test_no_changes_nothing_and_a_stale_entry_goes_alone(self):
        a = self.folders[0]
        self.install(a)
        kill_products()
        process = start(f'"{a}Desinstalar.exe"')
        self.assertIn(a, answer_message_box(CAPTION, 60, "No"))
        self.assertEqual(process.wait(60), 5)
        self.assertEqual(len(entries_at(a)), 1)
        self.assertTrue(unix_path(a + "Ketrova.exe").exists())
        self.assertTrue(shortcut(True, "desktop").exists())

        unix_path(a + "Ketrova.exe").unlink()
        self.assertEqual(uninstall(a, "/quiet"), 6)
        self.assertEqual(entries_at(a), {})
        self.assertTrue(unix_path(a + "Charts").exists(), "only the entry goes")

    def test_unseen_it_answers_no_and_its_log_says_what_went_and_what_stayed(self):
        a = self.folders[0]
        self.install(a)
        kill_products()
        log = DRIVE_C / "e2e" / "logs" / "uninstall.log"
        log.parent.mkdir(parents=True, exist_ok=True)
        # Nobody to ask in a session nobody sees: it removes nothing untold.
        self.assertEqual(uninstall(a, f"/log={windows_path(log)}", station=True), 5)
        self.assertIn("answered No (nobody can see this session)", log_lines(log)[-2])
        self.assertEqual(len(entries_at(a)), 1)
        self.assertEqual(uninstall(a, "/S"), 14)
        self.assertTrue(unix_path(a + "Ketrova.exe").exists())
        unix_path(a + "carta.txt").write_text("minha")
        self.assertEqual(uninstall(a, "/quiet", f"/log={windows_path(log)}"), 0)
        lines = log_lines(log)
        self.assertIn(f"files removed: {len(payload_entries())} of {len(payload_entries())}", lines)
        self.assertIn(f"not installed by it, stayed: {a}carta.txt", lines)
        self.assertTrue(any(line.endswith(f"ficaram em {a}: | carta.txt") for line in lines), "the box's words")
        self.assertTrue(any(line.startswith("uninstall entry removed: HKEY_LOCAL_MACHINE\\") for line in lines))
        self.assertEqual(lines[-1], "exit code 0: completed")

    def test_files_the_user_put_there_stay_and_it_says_so(self):
        a = self.folders[0]
        unix_path(a).mkdir(parents=True)
        unix_path(a + "carta.txt").write_text("não apague")
        self.install(a)
        kill_products()
        unix_path(a + "Charts\\notas.txt").write_text("minhas")
        process = start(f'"{a}Desinstalar.exe"')
        answer_message_box(CAPTION, 60, "Yes")
        said = answer_message_box(CAPTION, 60)
        self.assertEqual(process.wait(60), 0)
        self.assertIn("carta.txt", said)
        self.assertIn("Charts\\notas.txt", said)
        wait_until(gone(a + "Desinstalar.exe"), 30, "the uninstaller to go")
        self.assertEqual(sorted(p.name for p in unix_path(a).rglob("*")), ["Charts", "carta.txt", "notas.txt"])
        self.assertEqual(entries_at(a), {})


class PerUserUninstall(unittest.TestCase):
    folder = PROPOSAL

    def setUp(self):
        remove_shortcuts()
        shutil.rmtree(unix_path(self.folder), ignore_errors=True)
        # Other suites install into the proposed folder for all users.
        delete_entries(self.folder, all_users=True)

    def tearDown(self):
        end_uninstallers()
        kill_products()
        delete_entries(self.folder, all_users=False)
        shutil.rmtree(unix_path(self.folder), ignore_errors=True)
        remove_shortcuts()

    def test_an_installation_for_this_user_is_in_the_users_list(self):
        process = start(installer_command(INSTALLER))
        window = wait_for_window(f"^{MAIN_TITLE}$", 60)
        click(window, *TOGGLE)
        wait_until(lambda: control(window_controls(), "...")["visible"], 10, "the details panel")
        box = "Instalar para todos os usuários (Administrador)"
        click(window, *BOXES[box])
        wait_until(lambda: not control(window_controls(), box)["checked"], 10, box)
        click(window, *INSTALL)
        answer_message_box("Information", 120)
        self.assertEqual(process.wait(60), 0)
        end_installer(process)
        self.assertEqual(len(entries_at(self.folder, all_users=False)), 1)
        self.assertEqual(entries_at(self.folder, all_users=True), {})
        self.assertTrue(shortcut(False, "desktop").exists())
        self.assertEqual(uninstall(self.folder, "/quiet"), 0)
        wait_until(gone(self.folder), 30, "the folder to go")
        self.assertEqual(entries_at(self.folder, all_users=False), {})
        self.assertFalse(shortcut(False, "desktop").exists())


if __name__ == "__main__":
    unittest.main()

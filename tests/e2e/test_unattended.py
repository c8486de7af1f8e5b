"""The unattended road, as a deployment script drives it: the installer with a
folder on its command line installs, starts the product and ends."""

import os
import re
import shutil
import signal
import unittest
import zipfile

from harness import (DRIVE_C, INSTALLER, MAIN_TITLE, PAYLOAD, TIME_SCALE, assert_payload_installed, end_installer,
                     find_windows, focus, installer_command, installer_processes, kill_installer_when, kill_products,
                     launch, link_fields, log_lines, probe, product_fields, product_windows, remove_shortcuts, shortcut,
                     start, unix_path, user_folder, visible_windows, wait_for_window, wait_until, window_controls,
                     windows_path, xdotool)
from test_interactive import PROPOSAL


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

    def test_twenty_runs_in_a_row_on_all_cores(self):
        # The extraction's threads against the emulator's per-thread state:
        # each run starts them anew, and a fault shows as a crash or a hang.
        target = "C:\\e2e\\Stress\\"
        codes = [self.install(target, "/norun") for _ in range(20)]
        self.assertEqual(codes, [0] * 20)
        assert_payload_installed(self, unix_path(target))

    def test_two_double_quotes_alone_give_the_interactive_window(self):
        process = start(installer_command(INSTALLER, '""'))
        try:
            window = wait_for_window(f"^{MAIN_TITLE}$", 60)
            controls = window_controls()
            buttons = {c["text"]: c for c in controls if c["cls"].lower() == "button"}
            self.assertTrue(buttons["Install"]["visible"])
            self.assertTrue(buttons["Cancelar"]["visible"])
            focus(window)
            xdotool("key", "Escape")
            self.assertEqual(process.wait(60), 0)
        finally:
            end_installer(process)


class DeploymentCommandLines(unittest.TestCase):
    """The command lines deployment tools write, with the log they read."""

    LOGS = DRIVE_C / "e2e" / "logs"

    def setUp(self):
        remove_shortcuts()
        self.LOGS.mkdir(parents=True, exist_ok=True)

    def tearDown(self):
        kill_products()
        remove_shortcuts()

    def run_logged(self, *arguments, name="run"):
        log = self.LOGS / f"{name}.log"
        log.unlink(missing_ok=True)
        code, output = launch(installer_command(INSTALLER, *arguments, f'/log="{windows_path(log)}"'))
        self.assertEqual(visible_windows(output), 0)
        return code, log_lines(log)

    def test_other_installers_switches_are_refused_and_nothing_is_created(self):
        shutil.rmtree(unix_path(PROPOSAL), ignore_errors=True)
        for switches in (["/S"], ["-s"], ["/VERYSILENT", "/SUPPRESSMSGBOXES"]):
            with self.subTest(switches=switches):
                code, lines = self.run_logged(*switches, name="refused")
                self.assertEqual(code, 14)
                self.assertIn("command line refused, nothing changed: ", lines[-2])
                for name in ("S", "VERYSILENT", "SUPPRESSMSGBOXES"):
                    self.assertFalse((DRIVE_C / name).exists(), name)
                self.assertFalse(unix_path(PROPOSAL).exists())
                self.assertFalse(any(shortcut(a, k).exists() for a in (True, False) for k in ("desktop", "startmenu")))

    def test_help_goes_to_the_log_when_nobody_sees_a_box_and_a_log_that_cannot_be_made_stops_all(self):
        for switches, station in ((["/?", "/quiet"], False), (["/help"], True)):
            log = self.LOGS / "help.log"
            log.unlink(missing_ok=True)
            code, _ = launch(installer_command(INSTALLER, *switches, f"/log={windows_path(log)}"), station=station)
            self.assertEqual(code, 0)
            self.assertTrue(any("/dir=PASTA" in line for line in log_lines(log)))
        shutil.rmtree(unix_path(PROPOSAL), ignore_errors=True)
        code, _ = launch(installer_command(INSTALLER, "/quiet", '/log="C:\\e2e\\no such folder\\k.log"'))
        self.assertEqual(code, 15)
        self.assertFalse(unix_path(PROPOSAL).exists())

    def test_quiet_alone_installs_into_the_proposed_folder_and_logs_in_the_temporary_folder(self):
        shutil.rmtree(unix_path(PROPOSAL), ignore_errors=True)
        temp = user_folder() / "Temp"
        before = set(temp.glob("Instalador-*.log"))
        try:
            code, output = launch(installer_command(INSTALLER, "/quiet"))
            self.assertEqual(code, 0)
            self.assertEqual(visible_windows(output), 0)
            assert_payload_installed(self, unix_path(PROPOSAL))
            wait_until(product_windows, 30, "the product's window")
            (log,) = set(temp.glob("Instalador-*.log")) - before
            self.assertEqual(log_lines(log)[-1], "exit code 0: completed")
        finally:
            kill_products()
            shutil.rmtree(unix_path(PROPOSAL), ignore_errors=True)

    def test_dir_with_spaces_and_the_log_of_a_run(self):
        spaced = "C:\\e2e\\Dir With Spaces\\"
        shutil.rmtree(unix_path(spaced), ignore_errors=True)
        code, lines = self.run_logged("/quiet", f'/dir="{spaced}"', "/norun")
        self.assertEqual(code, 0)
        self.assertTrue(unix_path(spaced + "Ketrova.exe").exists())
        self.assertEqual(product_windows(), [])
        # What the log holds, in the order it happened.
        expected = ["installer: ", "command line: ", "understood: folder " + spaced, "user: ", "folder: " + spaced,
                    "free space: ", "running instances ended: 0", "folder protected: " + spaced, "payload: 85 files, ",
                    "shortcut: ", "shortcut: ",
                    "uninstall entry: HKEY_LOCAL_MACHINE\\", f"product not started (/norun): {spaced}Ketrova.exe",
                    "exit code 0: completed"]
        self.assertEqual(len(lines), len(expected), lines)
        for line, start_ in zip(lines, expected):
            self.assertTrue(line.startswith(start_), (line, start_))

    def test_an_all_users_folder_outside_program_files_is_protected_before_anything_is_written(self):
        target = "C:\\Apps\\Ketrova\\"
        shutil.rmtree(unix_path("C:\\Apps\\"), ignore_errors=True)
        try:
            for name in ("apps", "apps-upgrade"):
                code, lines = self.run_logged(target, "/quiet", "/norun", name=name)
                self.assertEqual(code, 0)
                payload = next(i for i, line in enumerate(lines) if line.startswith("payload: "))
                self.assertLess(lines.index("folder protected: " + target), payload, name)
                _, dacl = probe("dacl", target)
                # Only a Wine that keeps security descriptors with files (in
                # extended attributes) gives back what was set; others make one up.
                if "protected=1" in dacl:
                    users = [line for line in dacl.splitlines() if line.startswith("ace|0|S-1-5-32-545|")]
                    self.assertEqual([int(line.split("|")[3], 16) & 0x500D0156 for line in users], [0], dacl)
            code, lines = self.run_logged("/quiet", "/norun", name="program-files")
            self.assertEqual(code, 0)
            self.assertFalse([line for line in lines if line.startswith("folder protected")], "below program files")
        finally:
            shutil.rmtree(unix_path("C:\\Apps\\"), ignore_errors=True)
            shutil.rmtree(unix_path(PROPOSAL), ignore_errors=True)

    def test_two_installers_at_once_one_completes_and_the_other_waits_for_nobody(self):
        target = "C:\\e2e\\AtOnce\\"
        shutil.rmtree(unix_path(target), ignore_errors=True)
        first_log = self.LOGS / "first-at-once.log"
        first_log.unlink(missing_ok=True)
        first = start(installer_command(INSTALLER, target, "/quiet", "/norun", f"/log={windows_path(first_log)}"))
        # The first is held still while it holds the lock.
        pids = wait_until(lambda: installer_processes(target), 60, "the first installer")
        wait_until(lambda: first_log.exists() and "free space: " in first_log.read_text(encoding="utf-8"), 60,
                   "the first installer to take the lock")
        for pid in pids:
            os.kill(pid, signal.SIGSTOP)
        try:
            code, lines = self.run_logged(target, "/quiet", "/norun", name="second-at-once")
            self.assertEqual(code, 1618)
            self.assertTrue(lines[-3].startswith("error: take the installation lock"), lines)
            self.assertEqual(lines[-4], "folder: " + target, "nothing done before it")
        finally:
            for pid in pids:
                os.kill(pid, signal.SIGCONT)
        self.assertEqual(first.wait(120 * TIME_SCALE), 0)
        assert_payload_installed(self, unix_path(target))

    def test_the_log_of_a_run_killed_during_the_extraction_ends_where_it_stopped(self):
        target = "C:\\e2e\\Killed\\"
        shutil.rmtree(unix_path(target), ignore_errors=True)
        log = self.LOGS / "killed.log"
        log.unlink(missing_ok=True)
        with zipfile.ZipFile(PAYLOAD) as archive:
            trigger = unix_path(target) / archive.infolist()[6].filename
        kill_installer_when(installer_command(INSTALLER, target, "/quiet", f"/log={windows_path(log)}"), target,
                            trigger.exists, "the extraction to reach its seventh file")
        lines = log_lines(log)
        self.assertEqual(lines[-1], "folder protected: " + target, "the extraction was under way")
        # The next run, a folder first and switches after, puts it right and says so.
        code, lines = self.run_logged(target, "/quiet", "/norun", name="after-kill")
        self.assertEqual(code, 0)
        self.assertIn("an interrupted earlier run was put right", lines)


class ReplacingAnInstallation(unittest.TestCase):
    def setUp(self):
        remove_shortcuts()

    def tearDown(self):
        kill_products()
        remove_shortcuts()

    def install_logged(self, target, log):
        log.parent.mkdir(parents=True, exist_ok=True)
        log.unlink(missing_ok=True)
        return launch(installer_command(INSTALLER, target, "/quiet", "/norun", f"/log={windows_path(log)}"))[0]

    def test_running_instances_close_when_asked_and_an_earlier_installation_is_replaced(self):
        target = "C:\\e2e\\Earlier\\"
        elsewhere = "C:\\e2e\\Elsewhere\\"
        for folder in (target, elsewhere):
            shutil.rmtree(unix_path(folder), ignore_errors=True)
        self.assertEqual(launch(installer_command(INSTALLER, target))[0], 0)
        kill_products()
        # An earlier installation with a stale file, and the product running from it and from elsewhere,
        # each with a document that it saves when asked to close.
        unix_path(target + "Charts\\ChartCore.dll").write_bytes(b"old")
        unix_path(elsewhere).mkdir(parents=True)
        shutil.copy(unix_path(target + "Ketrova.exe"), unix_path(elsewhere + "Ketrova.exe"))
        documents = DRIVE_C / "e2e" / "logs" / "documents.txt"
        documents.parent.mkdir(parents=True, exist_ok=True)
        documents.unlink(missing_ok=True)
        runners = [start(f'"{folder}Ketrova.exe"', env={"KETROVA_SAMPLE_SAVE_TO": windows_path(documents)})
                   for folder in (target, elsewhere)]
        wait_until(lambda: len(product_windows()) == 2, 30, "two running products")
        self.assertEqual(launch(installer_command(INSTALLER, target))[0], 0)
        for runner in runners:
            runner.wait(30)
        closed = sorted(["", f"closed {target}Ketrova.exe", f"closed {elsewhere}Ketrova.exe"])
        self.assertEqual(sorted(documents.read_bytes().decode("utf-16-le").split("\r\n")), closed, "not killed")
        with zipfile.ZipFile(PAYLOAD) as archive:
            self.assertEqual(unix_path(target + "Charts\\ChartCore.dll").read_bytes(),
                             archive.read("Charts/ChartCore.dll"), "the earlier installation was replaced")
        titles = wait_until(product_windows, 30, "the new product")
        self.assertEqual(len(titles), 1)
        self.assertEqual(product_fields(titles[0])["exe"].lower(), (target + "Ketrova.exe").lower())

    def test_a_product_that_refuses_to_close_is_killed_within_the_bound(self):
        target = "C:\\e2e\\Refusing\\"
        shutil.rmtree(unix_path(target), ignore_errors=True)
        self.assertEqual(launch(installer_command(INSTALLER, target, "/norun"))[0], 0)
        documents = DRIVE_C / "e2e" / "logs" / "refused.txt"
        documents.parent.mkdir(parents=True, exist_ok=True)
        documents.unlink(missing_ok=True)
        runner = start(f'"{target}Ketrova.exe"', env={"KETROVA_SAMPLE_SAVE_TO": windows_path(documents),
                                                       "KETROVA_SAMPLE_REFUSE_CLOSE": "1"})
        wait_until(product_windows, 30, "the product")
        log = DRIVE_C / "e2e" / "logs" / "refusing.log"
        self.assertEqual(self.install_logged(target, log), 0)
        runner.wait(30)
        self.assertFalse(documents.exists(), "killed, so nothing saved")
        times = {text: int(ms) for ms, text in re.findall(r" *(\d+) ms  (.*)\r\n", log.read_bytes().decode("utf-8"))}
        waited = times["running instances ended: 1 (0 closed when asked, 1 killed)"] - times[
            next(text for text in times if text.startswith("free space: "))]
        # Five seconds for the close, then the kill, itself bounded by five more.
        self.assertTrue(5000 <= waited < 10000 * TIME_SCALE, waited)

    def test_an_upgrade_keeps_the_users_files_and_a_name_clash_beside_the_new_file(self):
        target = "C:\\e2e\\Upgrade\\"
        folder = unix_path(target)
        shutil.rmtree(folder, ignore_errors=True)
        self.assertEqual(launch(installer_command(INSTALLER, target, "/norun"))[0], 0)
        # What the product and its user wrote there; a file that the earlier release did not
        # install and this one does; one that only the earlier release installed.
        users = {"settings.ini": b"[ketrova]\r\nzoom=150\r\n",
                 "Documentos\\2026\\relatório.ktv": bytes(range(256)) * 40, "Charts\\notas.txt": b"minhas",
                 "Charts\\ChartMaps (do usuário).dll": b"the user's own"}
        (folder / "Documentos" / "2026").mkdir(parents=True)
        for name, data in users.items():
            unix_path(target + name.replace(" (do usuário)", "")).write_bytes(data)
        record = folder / "Programa.instalado"
        record.write_bytes(record.read_bytes().replace(b"file=Charts\\ChartMaps.dll\n", b"") + b"file=Obsoleto.dll\n")
        (folder / "Obsoleto.dll").write_bytes(b"old")
        log = DRIVE_C / "e2e" / "logs" / "upgrade.log"
        self.assertEqual(self.install_logged(target, log), 0)
        with zipfile.ZipFile(PAYLOAD) as archive:
            for info in archive.infolist():
                self.assertEqual(unix_path(target + info.filename).read_bytes(), archive.read(info), info.filename)
        for name, data in users.items():
            self.assertEqual(unix_path(target + name).read_bytes(), data, name)
        self.assertFalse((folder / "Obsoleto.dll").exists())
        self.assertEqual(sorted(p.name for p in folder.parent.iterdir() if p.name.startswith("Upgrade")), ["Upgrade"])
        self.assertIn("user's files kept: 4 (1 beside a new file of the same name)", log_lines(log))

    def test_a_folder_with_other_data_is_kept(self):
        target = "C:\\e2e\\Documents\\"
        shutil.rmtree(unix_path(target), ignore_errors=True)
        unix_path(target).mkdir(parents=True)
        unix_path(target + "carta.txt").write_text("não apague")
        (unix_path(target) / "fotos").mkdir()
        (unix_path(target) / "fotos" / "praia.jpg").write_bytes(b"\xff\xd8 praia")
        # A file of the user's that a payload file replaces stays beside it.
        unix_path(target + "kvbase230.pkg").write_bytes(b"the user's own")
        self.assertEqual(launch(installer_command(INSTALLER, target))[0], 0)
        self.assertEqual(unix_path(target + "carta.txt").read_text(), "não apague")
        self.assertTrue((unix_path(target) / "fotos" / "praia.jpg").exists())
        self.assertTrue(unix_path(target + "Ketrova.exe").exists())
        with zipfile.ZipFile(PAYLOAD) as archive:
            self.assertEqual(unix_path(target + "kvbase230.pkg").read_bytes(), archive.read("kvbase230.pkg"))
        self.assertEqual(unix_path(target + "kvbase230 (do usuário).pkg").read_bytes(), b"the user's own")
        self.assertFalse(unix_path(target + "Programa.anterior").exists())


if __name__ == "__main__":
    unittest.main()

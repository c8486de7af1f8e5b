"""DLLs named like the system's beside the installer and the uninstaller, with
Wine told to prefer such native DLLs: none of them is loaded, and every road
completes. The names are measured, not listed: each road runs once with
Wine's loader traced, and every DLL that the installer's or the uninstaller's
processes (its temporary copy too) loaded after their first line is planted
for a second run. Their first line is the first load confined to the system
folder; what loads before it (the static imports and, under Wine, their own
imports and what their initialisation loads) is out of the program's reach
and left to the system's known-DLL list and the load configuration."""

import os
import re
import shutil
import tempfile
import unittest

from harness import (BUILD, INSTALLER, LAUNCH, MAIN_TITLE, answer_message_box, click, control, end_installer,
                     find_windows, fresh_folder, installer_command, kill_products, start, unix_path, wait_for_window,
                     wait_until, window_controls, wine, xdotool)

PLANTED = BUILD / "planted" / "planted.dll"
TOGGLE = (522 + 17, 395 + 16)
INSTALL = (562 + 53, 395 + 16)
PROGRAMS = ("instalador.exe", "desinstalar.exe")  # the uninstaller's copy has its name
LOADED = re.compile(r'^(\w+):trace:loaddll:build_module Loaded L"(?:[^"]*\\)?([^"\\]+)"')
FIRST_LINE = re.compile(r'^(\w+):trace:module:load_dll looking for L"[^"]+" in L"C:(\\\\)windows\2system32\2?"',
                        re.IGNORECASE)


def loaded_after_first_line(trace):
    """The DLLs that the installer's or the uninstaller's processes loaded after
    their first line, by the trace of Wine's loader."""
    ours, started, names = set(), set(), set()
    for line in trace.splitlines():
        if match := LOADED.match(line):
            pid, name = match[1], match[2].lower()
            if name in PROGRAMS:
                ours.add(pid)
            elif pid in started and name.endswith(".dll"):
                names.add(name[:-4])
        elif (match := FIRST_LINE.match(line)) and match[1] in ours:
            started.add(match[1])
    assert started, "no program of ours reached its first line"
    return names


class PlantedDlls(unittest.TestCase):
    def setUp(self):
        self.downloads = fresh_folder("Downloads")
        self.downloads.mkdir(parents=True)
        self.installer = self.downloads / "Instalador.exe"
        shutil.copy(INSTALLER, self.installer)
        self.target = "C:\\e2e\\Planted\\"
        shutil.rmtree(unix_path(self.target), ignore_errors=True)

    def tearDown(self):
        kill_products()
        shutil.rmtree(unix_path(self.target), ignore_errors=True)

    def run_road(self, road, names=()):
        """Runs a road, traced, with copies of the planted DLL under these names
        beside the program it starts; returns the names loaded after the first line."""
        folder = self.downloads
        if road == self.uninstall:
            self.unattended({})
            kill_products()
            folder = unix_path(self.target)
        for name in names:
            shutil.copy(PLANTED, folder / f"{name}.dll")
        overrides = [os.environ.get("WINEDLLOVERRIDES", ""), ",".join(names) + "=n,b" if names else ""]
        trace = road({"WINEDEBUG": "+loaddll,+module", "WINEDLLOVERRIDES": ";".join(filter(None, overrides))})
        self.assertEqual(sorted(p.name for p in folder.glob("*.loaded")), [], f"planted DLLs loaded: {road.__name__}")
        for name in names:
            (folder / f"{name}.dll").unlink(missing_ok=True)
        kill_products()
        return loaded_after_first_line(trace)

    def launched(self, command_line, env):
        result = wine(LAUNCH, env=dict(env, KETROVA_E2E_CMDLINE=command_line), timeout=300)
        code = re.search(r"exit-code=(\d+)", result.stdout.decode("utf-8", "replace"))
        self.assertEqual(int(code[1]) if code else result.returncode, 0, command_line)
        return result.stderr.decode("utf-8", "replace")

    def unattended(self, env):
        trace = self.launched(installer_command(self.installer, self.target), env)
        self.assertTrue(unix_path(self.target + "Ketrova.exe").exists())
        return trace

    def window(self, env):
        """The details panel, the folder picker, Install and the completion box."""
        unix_path(self.target).mkdir(parents=True, exist_ok=True)
        with tempfile.TemporaryFile() as trace:
            process = start(installer_command(self.installer), env=env, stderr=trace)
            try:
                window = wait_for_window(f"^{MAIN_TITLE}$", 60)
                click(window, *TOGGLE)
                browse = wait_until(lambda: (c := control(window_controls(), "..."))["visible"] and c, 10, "the panel")
                click(window, browse["left"] + browse["width"] // 2, browse["top"] + browse["height"] // 2)
                picker = wait_for_window("^Select Folder$", 30)
                xdotool("type", "--delay", "20", self.target)
                xdotool("key", "Return")
                wait_until(lambda: picker not in find_windows("^Select Folder$"), 30, "the folder picker to close")
                wait_until(lambda: any(c["text"] == self.target for c in window_controls()), 10, "the folder")
                click(window, *INSTALL)
                self.assertIn("Instalação concluída!", answer_message_box("Information", 120))
                self.assertEqual(process.wait(60), 0)
            finally:
                end_installer(process)
            trace.seek(0)
            return trace.read().decode("utf-8", "replace")

    def uninstall(self, env):
        trace = self.launched(f'"{self.target}Desinstalar.exe" /quiet', env)
        # The temporary copy finishes the removal after the uninstaller has ended.
        wait_until(lambda: not unix_path(self.target + "Desinstalar.exe").exists(), 60, "the copy's last steps")
        return trace

    def test_every_road_with_what_its_trace_loaded_planted(self):
        # Each program's own measure: what one loads while starting, before
        # its first line, is no later load for it, whatever the other does.
        installer_roads = (self.window, self.unattended)
        installer = set().union(*(self.run_road(road) for road in installer_roads))
        uninstaller = self.run_road(self.uninstall)
        self.assertIn("msimg32", installer & uninstaller, "the trace shows the loads after the first line")
        print("planted beside the installer:", *sorted(installer))
        print("planted beside the uninstaller:", *sorted(uninstaller))
        for road in installer_roads:
            self.run_road(road, sorted(installer))
        self.run_road(self.uninstall, sorted(uninstaller))

if __name__ == "__main__":
    unittest.main()

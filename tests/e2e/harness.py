"""Drives the built installers under Wine and Xvfb the way users and
deployment scripts do, and reads back what they did through the real API.

Runs inside scripts/with-wine, which sets WINEPREFIX and DISPLAY."""

import contextlib
import datetime
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time
import zipfile
from pathlib import Path

WINE = os.environ.get("KETROVA_WINE", "wine")
# Wine's own tools that only read or write the prefix's registry run under the
# 64-bit loader where there is one: under emulation each 32-bit start costs seconds.
REGISTRY_WINE = "/usr/lib/wine/wine64" if Path("/usr/lib/wine/wine64").exists() else WINE
BUILD = Path(os.environ.get("KETROVA_BUILD") or
             Path(__file__).resolve().parents[2] / "build" / os.environ.get("KETROVA_WINDOWS_TREE", "win32"))
# A 32-bit installer sees the 32-bit program files folder; the x86_64 test build the other one.
PROGRAM_FILES = "C:\\Program Files (x86)" if BUILD.name == "win32" else "C:\\Program Files"
PREFIX = Path(os.environ["WINEPREFIX"])
DRIVE_C = PREFIX / "drive_c"
INSTALLER = BUILD / "Instalador.exe"
EDITIONS = {
    "standard": INSTALLER,
    "full": BUILD / "editions" / "full" / "Instalador.exe",
    "parcial": BUILD / "editions" / "parcial" / "Instalador.exe",
}
PAYLOAD = BUILD / "payload" / "Programa.zip"
PROBE = BUILD / "bin" / "e2e-probe.exe"
LAUNCH = BUILD / "bin" / "e2e-launch.exe"
# Emulated 32-bit programs run about a hundred times slower: every wait stretches.
TIME_SCALE = float(os.environ.get("KETROVA_TIME_SCALE", "1"))
MAIN_TITLE = "Instalador do Ketrova"
ERROR_TEXT = ("Erro detectado durante o processo de instalação. É provável que você precise de "
              "privilégio de administrador para realizar essa tarefa.")


def windows_path(path):
    """C:\\... below the prefix's drive C, Z:\\... (the Unix root) elsewhere."""
    path = Path(path).resolve()
    try:
        relative = path.relative_to(DRIVE_C.resolve())
        return "C:\\" + ("" if str(relative) == "." else str(relative).replace("/", "\\"))
    except ValueError:
        return "Z:" + str(path).replace("/", "\\")


def unix_path(win):
    assert win[:3].upper() == "C:\\", win
    return DRIVE_C / win[3:].replace("\\", "/")


def user_folder():
    users = [p for p in (DRIVE_C / "users").iterdir() if p.name not in ("Public",) and p.is_dir()]
    return users[0]


SHORTCUT_FOLDERS = {
    # (all users, kind) -> folder
    (False, "desktop"): lambda: user_folder() / "Desktop",
    (False, "startmenu"): lambda: user_folder() / "AppData/Roaming/Microsoft/Windows/Start Menu/Programs",
    (True, "desktop"): lambda: DRIVE_C / "users/Public/Desktop",
    (True, "startmenu"): lambda: DRIVE_C / "ProgramData/Microsoft/Windows/Start Menu/Programs",
}


def shortcut(all_users, kind):
    return SHORTCUT_FOLDERS[(all_users, kind)]() / "Ketrova.lnk"


def remove_shortcuts():
    for key in SHORTCUT_FOLDERS:
        path = shortcut(*key)
        if path.exists():
            path.unlink()


def wine(*args, timeout=120, env=None, check=False, loader=WINE):
    """Runs a Windows program to its end. Its output goes through files, not
    pipes: a program it starts (the product) would keep a pipe open."""
    run_env = dict(os.environ)
    run_env.update(env or {})
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        result = subprocess.run([loader, *map(str, args)], stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                timeout=timeout * TIME_SCALE, env=run_env, check=check)
        out.seek(0)
        err.seek(0)
        return subprocess.CompletedProcess(result.args, result.returncode, out.read(), err.read())


def launch(command_line, wait_title=None, close=False, timeout=300, env=None, station=False):
    """Runs a Windows command line exactly as given; returns (exit code, stdout).
    With wait_title the launcher reports when that window shows, and with
    close it then closes it. With station the program runs in a window
    station of its own, which nobody sees, as under a deployment service."""
    env = dict(env or {}, KETROVA_E2E_CMDLINE=command_line)
    if station:
        env["KETROVA_E2E_STATION"] = "1"
    if wait_title:
        env["KETROVA_E2E_WAIT_TITLE"] = wait_title
    if close:
        env["KETROVA_E2E_CLOSE"] = "1"
    result = wine(LAUNCH, timeout=timeout, env=env)
    output = result.stdout.decode("utf-8", "replace")
    whole = re.search(r"exit-code=(\d+)", output)
    return (int(whole.group(1)) if whole else result.returncode), output


def visible_windows(launch_output):
    """How many visible windows of its program the launcher saw."""
    return int(re.search(r"visible-windows=(\d+)", launch_output).group(1))


def log_lines(path):
    """The texts of a run's log, without their times; every line must have one."""
    lines = Path(path).read_bytes().decode("utf-8").split("\r\n")
    assert lines[-1] == "", "the last line is complete"
    texts = []
    for line in lines[:-1]:
        match = re.fullmatch(r" *\d+ ms  (.*)", line)
        assert match, f"a log line without its time: {line!r}"
        texts.append(match.group(1))
    return texts


def start(command_line, env=None, niceness=0, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL):
    """Starts a Windows command line without waiting; returns the Popen. The
    programs it starts inherit the niceness. With stdout a file, the
    launcher's report goes there (see whole_exit_code); with stderr a file,
    Wine's traces."""
    env = dict(os.environ, **(env or {}), KETROVA_E2E_CMDLINE=command_line)
    return subprocess.Popen([WINE, str(LAUNCH)], env=env, stdin=subprocess.DEVNULL, stdout=stdout,
                            stderr=stderr, preexec_fn=lambda: os.nice(niceness))


def whole_exit_code(process, report, timeout=60):
    """The program's whole exit code (its process status keeps the low byte only)."""
    process.wait(timeout * TIME_SCALE)
    report.seek(0)
    return int(re.search(rb"exit-code=(\d+)", report.read()).group(1))


def installer_command(exe, *arguments):
    """The command line of an installer: its quoted path, then the arguments as written."""
    return " ".join([f'"{windows_path(exe)}"', *arguments])


def probe(*args):
    result = wine(PROBE, *args)
    return result.returncode, result.stdout.decode("utf-8", "replace")


def link_fields(path):
    code, out = probe("link", windows_path(path))
    assert code == 0, f"cannot read {path}"
    return dict(line.split("=", 1) for line in out.splitlines() if "=" in line)


def tree(folder):
    """{relative path: (attributes, size, last write, creation)} via the Windows API."""
    code, out = probe("tree", windows_path(folder))
    files = {}
    for line in out.splitlines():
        parts = line.split("|")
        if len(parts) == 5:
            files[parts[0]] = (int(parts[1], 16), int(parts[2]), parts[3], parts[4])
    return files


def window_controls(title=MAIN_TITLE):
    code, out = probe("window", title)
    if code != 0:
        return None
    controls = []
    for line in out.splitlines():
        parts = line.split("|")
        if parts[0] == "window":
            continue
        controls.append(dict(cls=parts[0], text=parts[1], left=int(parts[2]), top=int(parts[3]), width=int(parts[4]),
                             height=int(parts[5]), visible=parts[6] == "1", enabled=parts[7] == "1",
                             checked=int(parts[8]), screen_left=int(parts[9]), screen_top=int(parts[10])))
    return controls


def control(controls, text):
    return next(c for c in controls if c["text"] == text)


def payload_entries():
    with zipfile.ZipFile(PAYLOAD) as archive:
        return archive.infolist()


def dos_time(info):
    return datetime.datetime(*info.date_time).strftime("%Y-%m-%d %H:%M:%S")


def assert_payload_installed(test, folder, users_folders=()):
    """Every entry of the payload in FOLDER, by the Windows API: size, times, archive attribute;
    no other folder than the payload's and the named ones of its user."""
    files = tree(folder)
    entries = payload_entries()
    test.assertEqual(len(entries), 85)
    for info in entries:
        relative = info.filename.replace("/", "\\")
        test.assertIn(relative, files, relative)
        attributes, size, written, created = files[relative]
        test.assertEqual(size, info.file_size, relative)
        test.assertEqual(written, dos_time(info), relative)
        test.assertEqual(created, dos_time(info), relative)
        test.assertEqual(attributes & 0x20, 0x20, f"{relative}: archive attribute")
    test.assertNotIn("Programa.zip", files)
    folders = {name.split("\\")[0] for name in files if "\\" in name} - set(users_folders)
    test.assertEqual(len(folders), 10)


def xdotool(*args, check=True):
    return subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True, check=check).stdout


def find_windows(name, visible=True):
    args = ["search"] + (["--onlyvisible"] if visible else []) + ["--name", name]
    result = subprocess.run(["xdotool", *args], capture_output=True, text=True)
    return [w for w in result.stdout.split()]


def wait_for_window(name, timeout=60, visible=True):
    deadline = time.monotonic() + timeout * TIME_SCALE
    while time.monotonic() < deadline:
        found = find_windows(name, visible)
        if found:
            return found[-1]
        time.sleep(0.1)
    raise AssertionError(f"no window named {name!r} within {timeout} s")


def wait_until(predicate, timeout=30, what="condition"):
    deadline = time.monotonic() + timeout * TIME_SCALE
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(0.1)
    raise AssertionError(f"timed out waiting for {what}")


def window_geometry(window):
    out = xdotool("getwindowgeometry", "--shell", window)
    values = dict(line.split("=") for line in out.split())
    return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])


def click(window, x, y):
    left, top, _, _ = window_geometry(window)
    xdotool("mousemove", left + x, top + y)
    time.sleep(0.1)
    xdotool("click", "1")


def focus(window):
    """Gives the window the keyboard. Without a window manager nobody else
    does: keys would go to whatever window a test before left focused."""
    xdotool("windowfocus", window, check=False)
    wait_until(lambda: xdotool("getwindowfocus", check=False).strip() == str(window).strip(), 10, "the focus")


def press(window, key):
    focus(window)
    xdotool("key", "--window", window, key)


def answer_message_box(title, timeout=60, button=None):
    """Clicks a button (the first, or the one captioned so) in the message box
    with this caption, as a user would; returns its text."""
    box = wait_for_window(f"^{re.escape(title)}$", timeout)
    controls = wait_until(lambda: window_controls(title), 10, f"the controls of {title}")
    text = " ".join(c["text"] for c in controls if c["cls"].lower() == "static" and c["text"])
    ok = next(c for c in controls if c["cls"].lower() == "button" and button in (None, c["text"].replace("&", "")))
    xdotool("mousemove", ok["screen_left"] + ok["width"] // 2, ok["screen_top"] + ok["height"] // 2)
    time.sleep(0.1)
    xdotool("click", "1")
    wait_until(lambda: box not in find_windows(f"^{re.escape(title)}$"), 30, f"box {title} to close")
    return text


def product_windows():
    """Titles of the running sample product's windows."""
    # A window may close between the search and the question of its name.
    names = (xdotool("getwindowname", w, check=False).strip() for w in find_windows(r"^Ketrova \|"))
    return [name for name in names if name]


def product_fields(title):
    return dict(part.split("=", 1) for part in title.split(" | ")[1:])


def kill_products():
    wine("taskkill", "/F", "/IM", "Ketrova.exe", timeout=60)
    # An emulated 32-bit product is missing from the 64-bit taskkill's list:
    # its window names the Unix process behind it.
    for window in find_windows(r"^Ketrova \|"):
        pid = xdotool("getwindowpid", window, check=False).strip()
        if pid.isdigit():
            try:
                os.kill(int(pid), signal.SIGKILL)
            except ProcessLookupError:
                pass
    wait_until(lambda: not product_windows(), 30, "the product to end")


def end_installer(process):
    """Ends an installer that a test left running (killing the launcher alone would not)."""
    if process.poll() is None:
        wine("taskkill", "/F", "/IM", "Instalador.exe", timeout=60)
        process.wait(30)


def screenshot(path, window=None):
    Path(path).parent.mkdir(parents=True, exist_ok=True)
    subprocess.run(["import", "-window", "root", str(path)], check=True)
    if window:
        x, y, w, h = window_geometry(window)
        subprocess.run(["convert", str(path), "-crop", f"{w}x{h}+{x}+{y}", "+repage", str(path)], check=True)


def fresh_folder(name):
    folder = DRIVE_C / "e2e" / name
    if folder.exists():
        shutil.rmtree(folder)
    return folder


UNINSTALL_KEY = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"


def uninstall_entries(all_users):
    """{key name: {value: text}} of the uninstall entries, read with Wine's reg
    in the 32-bit view, where the installer writes them."""
    root = "HKLM" if all_users else "HKCU"
    result = wine("reg", "query", f"{root}\\{UNINSTALL_KEY}", "/s", *(["/reg:32"] if all_users else []),
                  loader=REGISTRY_WINE)
    entries, key = {}, None
    for line in result.stdout.decode("utf-8", "replace").splitlines():
        if line.startswith("HKEY_"):
            key = line.rsplit("\\", 1)[1]
            entries[key] = {}
        elif key and line.startswith("    "):
            parts = line.split(None, 2)
            entries[key][parts[0]] = parts[2] if len(parts) == 3 else ""
    entries.pop("Uninstall", None)
    return entries


@contextlib.contextmanager
def mounted_drive(letter, size, read_only=False):
    """A Wine drive LETTER: on a small tmpfs of its own (needs root); yields its Unix folder."""
    mount = tempfile.mkdtemp(prefix="ketrova-drive-")
    options = f"size={size}" + (",ro" if read_only else "")
    subprocess.run(["mount", "-t", "tmpfs", "-o", options, "tmpfs", mount], check=True)
    drive = PREFIX / "dosdevices" / f"{letter.lower()}:"
    try:
        drive.unlink(missing_ok=True)
        drive.symlink_to(mount)
        yield Path(mount)
    finally:
        drive.unlink(missing_ok=True)
        subprocess.run(["umount", mount], check=False)
        os.rmdir(mount)


def installer_processes(target):
    """The Unix processes of installers running into the target in this
    prefix; other suites run theirs beside. One that has ended and is not yet
    reaped has no command line left."""
    pids = []
    for entry in os.listdir("/proc"):
        try:
            with open(f"/proc/{entry}/cmdline", "rb") as f:
                command = f.read()
            with open(f"/proc/{entry}/environ", "rb") as f:
                environment = f.read().split(b"\0")
        except OSError:
            continue
        if (b"Instalador.exe" in command and target.encode() in command and
                f"WINEPREFIX={PREFIX}".encode() in environment):
            pids.append(int(entry))
    return pids


def kill_installer_when(command_line, target, condition, what):
    """Runs the installer at the lowest priority, in steps of a few
    milliseconds, stopped in between, and kills it once condition holds, so
    that the kill lands where it should however loaded the machine is."""
    launcher = start(command_line, niceness=19)
    pids = wait_until(lambda: installer_processes(target), 120, "the installer to start")
    deadline = time.monotonic() + 120 * TIME_SCALE
    while not condition():
        assert time.monotonic() < deadline, f"timed out waiting for {what}"
        for pid in pids:
            os.kill(pid, signal.SIGCONT)
        time.sleep(0.002)
        for pid in pids:
            os.kill(pid, signal.SIGSTOP)
    for pid in pids:
        os.kill(pid, signal.SIGKILL)
    launcher.wait(60)

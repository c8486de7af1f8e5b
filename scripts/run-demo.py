"""Without a display: installs the sample product unattended, reports what was
installed, and photographs the interactive window's states under Xvfb."""

import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
from harness import (INSTALLER, MAIN_TITLE, click, installer_command, kill_products, launch, link_fields,  # noqa: E402
                     product_windows, remove_shortcuts, screenshot, shortcut, start, tree, unix_path, windows_path,
                     wait_for_window, wait_until)

TARGET = "C:\\Ketrova\\v2023r1\\"
TOGGLE = (522 + 17, 395 + 16)


def install_unattended():
    print(f"== Unattended installation into {TARGET}")
    remove_shortcuts()
    code, output = launch(installer_command(INSTALLER, f'"{TARGET}"'))
    seconds = next((float(line.split("=")[1]) / 1000 for line in output.splitlines()
                    if line.startswith("exit-ms=")), 0.0)
    print(f"exit code {code} after {seconds:.1f} s")
    files = tree(unix_path(TARGET))
    size = sum(entry[1] for entry in files.values())
    folders = {name.split("\\")[0] for name in files if "\\" in name}
    print(f"{len(files)} files in {len(folders)} sub-folders, {size:,} bytes")
    for name in sorted(files)[:5]:
        attributes, length, written, _ = files[name]
        print(f"  {name:<40} {length:>12,}  {written}  attributes 0x{attributes:02x}")
    print("  ...")
    for all_users in (True, False):
        for kind in ("desktop", "startmenu"):
            link = shortcut(all_users, kind)
            if link.exists():
                fields = link_fields(link)
                print(f"shortcut {windows_path(link)} -> {fields['path']} in {fields['workdir']}")
    titles = wait_until(product_windows, 30, "the product")
    print(f"running: {titles[0]}")
    kill_products()


def photograph_window(folder):
    print(f"== Screenshots of the interactive window in {folder}")
    process = start(installer_command(INSTALLER))
    try:
        window = wait_for_window(f"^{MAIN_TITLE}$", 60)
        time.sleep(0.5)
        screenshot(folder / "window.png", window)
        click(window, *TOGGLE)
        time.sleep(0.5)
        screenshot(folder / "window-details.png", window)
        for name in ("window.png", "window-details.png"):
            print(f"  {folder / name}")
    finally:
        process.kill()


def main():
    folder = Path(sys.argv[1])
    install_unattended()
    photograph_window(folder)


if __name__ == "__main__":
    main()

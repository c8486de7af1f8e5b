#!/usr/bin/python3
"""The shipped installer of a large product against its own steps done by
peers: a copy of its payload, then bsdtar extracting the copy (and, in the
second peer, deleting the copy as the installer does).

Builds the installer once as a vendor would (scripts/build's Windows step with
KETROVA_PRODUCT_DIR) for a product of the sample's program and SIZE megabytes
of incompressible data files, kept in build/bench-product/SIZE/ for later
runs. Then runs it unattended (/quiet /norun) under Wine and the peers natively,
in alternating rounds into an emptied, synced folder. A small program keeps
a window open meanwhile, so that Wine's desktop process stays running, as
Windows' desktop does, rather than starting anew for each run.
Usage: scripts/with-wine python3 bench/product-bench.py [ROUNDS] [SIZE]   (after scripts/build)
"""
import os
import subprocess
import sys

from measure import ROOT, alternate, summary

sys.path.insert(0, str(ROOT / "tests" / "e2e"))
from harness import BUILD, DRIVE_C, WINE, installer_command, start, wait_for_window, windows_path, wine  # noqa: E402

MB = 1_000_000
PIECE = 8 * (1 << 20)
PEERS = ["copy+bsdtar", "copy+bsdtar+rm"]


def build_installer(size):
    """The installer of a product with size MB of data files, built once."""
    folder = ROOT / f"build/bench-product/{size}"
    installer = folder / "win32/Instalador.exe"
    if installer.is_file():
        return installer
    product = folder / "product"
    (product / "Dados").mkdir(parents=True, exist_ok=True)
    (product / "Ketrova.exe").write_bytes((ROOT / "build/win32/product-tree/Ketrova.exe").read_bytes())
    for i in range(size * MB // PIECE):
        (product / "Dados" / f"bloco{i:04}.bin").write_bytes(os.urandom(PIECE))
    triplet = "i686-w64-mingw32"
    subprocess.run(["cmake", "-S", ROOT, "-B", folder / "win32", "-DCMAKE_BUILD_TYPE=Release",
                    f"-DCMAKE_TOOLCHAIN_FILE={ROOT}/cmake/toolchain-mingw-i686.cmake",
                    f"-DKETROVA_DEPS_PREFIX={ROOT}/build/deps/mingw-{triplet}",
                    f"-DKETROVA_HOST_TOOLS_DIR={ROOT}/build/host/bin", "-DKETROVA_TESTS=OFF",
                    f"-DKETROVA_PRODUCT_DIR={product}"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", folder / "win32", "-j", str(os.cpu_count()), "--target", "Instalador"],
                   check=True, stdout=subprocess.DEVNULL)
    return installer


def main():
    args = sys.argv[1:]
    rounds = int(args[0]) if args else 5
    size = int(args[1]) if len(args) > 1 else 1200
    installer = build_installer(size)
    payload = installer.parent / "payload/Programa.zip"
    out = DRIVE_C / "bench" / "product"
    out.parent.mkdir(parents=True, exist_ok=True)
    copy = f"cp '{payload}' '{out}/Programa.zip' && bsdtar -xf '{out}/Programa.zip' -C '{out}'"
    table = {
        "ours": [WINE, installer, windows_path(out) + "\\", "/quiet", "/norun"],
        "copy+bsdtar": ["sh", "-c", copy],
        "copy+bsdtar+rm": ["sh", "-c", f"{copy} && rm '{out}/Programa.zip'"],
    }
    desktop = start(installer_command(BUILD / "bin" / "e2e-minimal.exe"))
    try:
        wait_for_window("^Minimal$")
        median, peak, ratio = summary(alternate(table, rounds, out))
    finally:
        wine("taskkill", "/F", "/IM", "e2e-minimal.exe", timeout=60)
        desktop.wait(30)
    print(f"{rounds} alternating rounds, medians; installer {installer.stat().st_size / MB:.0f} MB, "
          f"payload {payload.stat().st_size / MB:.0f} MB")
    print(f"ours {median['ours']:.2f} s, peak {peak['ours']:.0f} MiB resident")
    for peer in PEERS:
        print(f"{peer:15} {median[peer]:6.2f} s   ours / peer {ratio[peer]:5.2f}")


if __name__ == "__main__":
    main()

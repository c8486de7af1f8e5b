#!/usr/bin/env python3
"""payload-extract against Python's zipfile: archives written by another
writer (forced ZIP64, streamed entries with data descriptors, stored entries,
code page 437 names) must extract to the same bytes as zipfile's extractall."""
import filecmp
import io
import os
import random
import subprocess
import sys
import tempfile
import unittest
import zipfile

EXTRACT = sys.argv.pop(1) if len(sys.argv) > 1 else "payload-extract"


class Unseekable(io.RawIOBase):
    """A write-only sink: zipfile then streams entries with data descriptors."""

    def __init__(self, out):
        self.out = out

    def writable(self):
        return True

    def write(self, data):
        return self.out.write(data)


def contents(seed):
    rng = random.Random(seed)
    return {
        "readme.txt": b"Ketrova\n" * 500,
        "bin/random.dll": rng.randbytes(300_000),
        "bin/zeros.dat": bytes(2_500_000),
        "lib/deep/er/nested.txt": "".join(str(rng.random()) for _ in range(20_000)).encode(),
        "empty.txt": b"",
    }


class PeerArchives(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.root = self.tmp.name

    def tearDown(self):
        self.tmp.cleanup()

    def compare(self, archive):
        ours = os.path.join(self.root, "ours")
        theirs = os.path.join(self.root, "theirs")
        result = subprocess.run([EXTRACT, archive, ours], capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stderr)
        with zipfile.ZipFile(archive) as z:
            z.extractall(theirs)
        self.assertSameTree(ours, theirs)

    def assertSameTree(self, a, b):
        cmp = filecmp.dircmp(a, b)
        self.assertEqual(cmp.left_only, [], a)
        self.assertEqual(cmp.right_only, [], b)
        _, mismatch, errors = filecmp.cmpfiles(a, b, cmp.common_files, shallow=False)
        self.assertEqual(mismatch + errors, [])
        for sub in cmp.common_dirs:
            self.assertSameTree(os.path.join(a, sub), os.path.join(b, sub))

    def write(self, name, compression, force_zip64=False, stream=False):
        path = os.path.join(self.root, name)
        with open(path, "wb") as f:
            target = Unseekable(f) if stream else f
            with zipfile.ZipFile(target, "w", compression) as z:
                for entry, data in contents(name).items():
                    with z.open(entry, "w", force_zip64=force_zip64) as w:
                        w.write(data)
        return path

    def test_deflated(self):
        self.compare(self.write("deflated.zip", zipfile.ZIP_DEFLATED))

    def test_stored(self):
        self.compare(self.write("stored.zip", zipfile.ZIP_STORED))

    def test_forced_zip64(self):
        path = self.write("zip64.zip", zipfile.ZIP_DEFLATED, force_zip64=True)
        with open(path, "rb") as f:
            local = f.read(64)
        name_length = int.from_bytes(local[26:28], "little")
        self.assertEqual(local[30 + name_length:32 + name_length], b"\x01\x00", "ZIP64 record in the local header")
        self.compare(path)

    def test_streamed_with_data_descriptors(self):
        path = self.write("streamed.zip", zipfile.ZIP_DEFLATED, stream=True)
        with zipfile.ZipFile(path) as z:
            self.assertTrue(all(i.flag_bits & 0x08 for i in z.infolist()))
        self.compare(path)

    def test_streamed_zip64_stored(self):
        self.compare(self.write("streamed64.zip", zipfile.ZIP_STORED, force_zip64=True, stream=True))

    def test_code_page_437_names(self):
        # Every upper-half byte: zipfile decodes names without the UTF-8 flag as
        # cp437 too. zipfile writes such names only as UTF-8, so ASCII names of
        # the same length are written and then overwritten with the raw bytes.
        path = os.path.join(self.root, "cp437.zip")
        names = {}
        with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
            for row in range(0x80, 0x100, 16):
                raw = bytes(range(row, row + 16)) + b".txt"
                placeholder = f"{row:02x}".encode() + b"~" * 14 + b".txt"
                names[placeholder] = raw
                z.writestr(placeholder.decode(), raw)
        with open(path, "rb") as f:
            data = f.read()
        for placeholder, raw in names.items():
            data = data.replace(placeholder, raw)
        with open(path, "wb") as f:
            f.write(data)
        with zipfile.ZipFile(path) as z:
            self.assertTrue(all(not i.flag_bits & 0x800 for i in z.infolist()))
        self.compare(path)

    def test_more_entries_than_16_bits_count(self):
        # zipfile then writes ZIP64 end records behind a real 32-bit offset.
        path = os.path.join(self.root, "many.zip")
        with zipfile.ZipFile(path, "w", zipfile.ZIP_STORED) as z:
            for i in range(65_600):
                z.writestr(f"d{i // 1000}/f{i}.txt", str(i))
        with open(path, "rb") as f:
            f.seek(-22, os.SEEK_END)
            end = f.read(22)
        self.assertEqual(end[10:12], b"\xff\xff")
        self.assertNotEqual(end[16:20], b"\xff\xff\xff\xff")
        self.compare(path)

    def test_bsdtar_names_below_dot(self):
        source = os.path.join(self.root, "source")
        for name, data in contents("bsdtar").items():
            os.makedirs(os.path.dirname(os.path.join(source, name)), exist_ok=True)
            with open(os.path.join(source, name), "wb") as f:
                f.write(data)
        path = os.path.join(self.root, "bsdtar.zip")
        subprocess.run(["bsdtar", "--format", "zip", "-cf", path, "."], cwd=source, check=True)
        with zipfile.ZipFile(path) as z:
            self.assertIn("./", z.namelist())
        self.compare(path)

    def test_missing_target_folder_given_with_a_slash(self):
        # Top-level files only: no entry's own folder makes the target on the way.
        path = os.path.join(self.root, "top.zip")
        with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
            z.writestr("test.txt", "top")
        out = os.path.join(self.root, "new", "deeper") + "/"
        result = subprocess.run([EXTRACT, path, out], capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stderr)
        with open(os.path.join(out, "test.txt")) as f:
            self.assertEqual(f.read(), "top")

    def test_failure_text_and_exit_code(self):
        path = os.path.join(self.root, "empty.zip")
        open(path, "wb").close()
        result = subprocess.run([EXTRACT, path, os.path.join(self.root, "out")], capture_output=True, text=True)
        self.assertEqual(result.returncode, 1)
        self.assertEqual(result.stderr, "Stream read error\n")


if __name__ == "__main__":
    unittest.main()

"""payload-builder against Python's zipfile and a raw parser: the archive it makes
from a small tree, the sample product's archive, and the inputs it refuses.

Usage: test_payload_builder.py PAYLOAD_BUILDER MAKE_PRODUCT_TREE"""

import hashlib
import os
import random
import subprocess
import sys
import tempfile
import time
import unittest
import zipfile

import zipcheck

BUILDER = MAKE_TREE = None


def build(source, out):
    return subprocess.run([BUILDER, source, out], capture_output=True, text=True, errors="replace")


class SmallTree(unittest.TestCase):
    """A tree with the cases that matter: nesting, mixed case, odd seconds, empty
    files and folders, a UTF-8 name and a file larger than the builder's buffer."""

    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.src = os.path.join(self.dir.name, "src")
        rng = random.Random(7)
        self.files = {
            "Ketrova.exe": b"MZ" + bytes(rng.randrange(256) for _ in range(5000)),
            "readme.txt": b"Ketrova\r\n" * 100,
            "empty.dat": b"",
            "Codecs/zeta.dll": b"z" * 70000,
            "codecs/../Codecs/Alpha.dll": None,  # placeholder removed below
            "Imaging/Sub/deep.bin": b"deep",
            "_under.txt": b"_",
            "Locales/Ação.dll": "conteúdo".encode("utf-8"),
            "Big/large.bin": (bytes(rng.randrange(256) for _ in range(300_000)) + b"pattern " * 200_000),
        }
        del self.files["codecs/../Codecs/Alpha.dll"]
        self.files["Codecs/Alpha.dll"] = b"alpha" * 1000
        self.times = {}
        for i, (name, content) in enumerate(sorted(self.files.items())):
            path = os.path.join(self.src, name)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "wb") as f:
                f.write(content)
            mtime = 1_690_000_001 + 86_399 * i  # odd seconds: the archive rounds down
            os.utime(path, (mtime, mtime))
            self.times[name] = mtime
        os.makedirs(os.path.join(self.src, "EmptyFolder", "Inner"))

    def tearDown(self):
        self.dir.cleanup()

    def test_archive_keeps_every_property_and_round_trips(self):
        out = os.path.join(self.dir.name, "out.zip")
        result = build(self.src, out)
        self.assertEqual(result.returncode, 0, result.stderr)
        zipcheck.check_archive(out, {n: (c, self.times[n]) for n, c in self.files.items()})

    def test_order_is_case_insensitive(self):
        out = os.path.join(self.dir.name, "out.zip")
        self.assertEqual(build(self.src, out).returncode, 0)
        names = [e.name.decode() for e in zipcheck.parse_raw(open(out, "rb").read())[0]]
        self.assertEqual(names, ["_under.txt", "Big/large.bin", "Codecs/Alpha.dll", "Codecs/zeta.dll", "empty.dat",
                                 "Imaging/Sub/deep.bin", "Ketrova.exe", "Locales/Ação.dll", "readme.txt"])

    def test_same_input_gives_the_same_bytes(self):
        a, b = (os.path.join(self.dir.name, n) for n in ("a.zip", "b.zip"))
        self.assertEqual(build(self.src, a).returncode, 0)
        self.assertEqual(build(self.src, b).returncode, 0)
        self.assertEqual(open(a, "rb").read(), open(b, "rb").read())

    def test_times_after_source_date_epoch_are_clamped_alike_in_every_zone(self):
        epoch = 1700000000  # 2023-11-14 22:13:20 UTC
        os.utime(os.path.join(self.src, "readme.txt"), (epoch + 86400, epoch + 86400))
        times = []
        for zone in ("UTC0", "BRT3"):
            out = os.path.join(self.dir.name, f"{zone}.zip")
            env = dict(os.environ, SOURCE_DATE_EPOCH=str(epoch), TZ=zone)
            self.assertEqual(subprocess.run([BUILDER, self.src, out], env=env, capture_output=True).returncode, 0)
            with zipfile.ZipFile(out) as archive:
                times.append(archive.getinfo("readme.txt").date_time)
        self.assertEqual(times, [(2023, 11, 14, 22, 13, 20)] * 2)


class Refusals(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.src = os.path.join(self.dir.name, "src")
        os.makedirs(self.src)
        with open(os.path.join(self.src, "good.dll"), "wb") as f:
            f.write(b"good")
        self.out = os.path.join(self.dir.name, "out.zip")

    def tearDown(self):
        self.dir.cleanup()

    def assertRefused(self, source, words):
        result = build(source, self.out)
        self.assertEqual(result.returncode, 1, result.stdout)
        self.assertIn("payload-builder: ", result.stderr)
        for word in words:
            self.assertIn(word, result.stderr)
        self.assertFalse(os.path.exists(self.out), "a refused build left an archive behind")

    def test_missing_folder(self):
        self.assertRefused(os.path.join(self.dir.name, "nowhere"), ["does not exist"])

    def test_source_that_is_a_file(self):
        self.assertRefused(os.path.join(self.src, "good.dll"), ["is not a folder"])

    def test_names_windows_cannot_hold(self):
        for name in ["bad?.dll", "a:b.dll", "pipe|.dll", "star*.dll", "lt<.dll", 'quote".dll', "back\\slash.dll",
                     "tab\there.dll", "dot.", "Folder./x.dll"]:
            with self.subTest(name=name):
                path = os.path.join(self.src, name)
                os.makedirs(os.path.dirname(path), exist_ok=True)
                open(path, "wb").close()
                self.assertRefused(self.src, ["the name"])
                os.remove(path)

    def test_name_that_is_not_utf8(self):
        path = os.path.join(os.fsencode(self.src), b"caf\xe9.dll")
        open(path, "wb").close()
        self.assertRefused(self.src, ["not valid UTF-8"])

    def test_names_that_differ_only_in_case(self):
        open(os.path.join(self.src, "GOOD.dll"), "wb").close()
        self.assertRefused(self.src, ["differ only in case"])

    def test_payload_above_the_installers_limit(self):
        with open(os.path.join(self.src, "data.bin"), "wb") as f:
            f.write(random.Random(3).randbytes(200_000))
        result = subprocess.run([BUILDER, "--limit=150000", self.src, self.out], capture_output=True, text=True)
        self.assertEqual(result.returncode, 1)
        for words in ["2 files of 200,004 bytes", "more than 150,000 bytes", "Not enough memory"]:
            self.assertIn(words, result.stderr)
        self.assertFalse(os.path.exists(self.out))

    def test_archive_inside_the_source(self):
        self.out = os.path.join(self.src, "self.zip")
        self.assertRefused(self.src, ["inside the source folder"])

    def test_wrong_arguments(self):
        result = subprocess.run([BUILDER, self.src], capture_output=True, text=True)
        self.assertEqual(result.returncode, 1)
        self.assertIn("usage", result.stderr)


class Zip64(unittest.TestCase):
    """More entries than a 16-bit count holds: the count goes into ZIP64 end records."""

    def test_70000_files(self):
        with tempfile.TemporaryDirectory() as folder:
            src = os.path.join(folder, "src")
            for d in range(70):
                os.makedirs(os.path.join(src, f"d{d}"))
                for i in range(1000):
                    open(os.path.join(src, f"d{d}", f"f{i}"), "wb").close()
            out = os.path.join(folder, "out.zip")
            self.assertEqual(build(src, out).returncode, 0)
            with zipfile.ZipFile(out) as archive:
                self.assertEqual(len(archive.infolist()), 70000)
                self.assertIsNone(archive.testzip())


class SampleProduct(unittest.TestCase):
    """The generated product libraries: their layout and fixed times, the same on every run.
    How they pack is checked on the Windows build's own payload."""

    def test_tree_is_reproducible(self):
        with tempfile.TemporaryDirectory() as d:
            trees = [os.path.join(d, run) for run in ("one", "two")]
            for tree in trees:
                subprocess.run([MAKE_TREE, tree], check=True, capture_output=True)
            listings = [listing(tree) for tree in trees]
            self.assertEqual(listings[0], listings[1])

            names = sorted(listings[0])
            root = [n for n in names if "/" not in n]
            libraries = [n for n in names if "/" in n]
            self.assertEqual(len(root), 2)
            self.assertEqual(len(libraries), 82)
            self.assertTrue(all(n.endswith(".dll") and n.count("/") == 1 for n in libraries))
            self.assertEqual(len({n.split("/")[0] for n in libraries}), 10)
            for name, (_, mtime) in listings[0].items():
                self.assertTrue(mtime.is_integer() and int(mtime) % 2 == 0, f"{name}: odd or fractional seconds")
                self.assertEqual(time.localtime(mtime).tm_year, 2023, name)


def listing(tree):
    """{name: (SHA-256 of the content, mtime)} of every file below tree."""
    files = {}
    for folder, _, names in os.walk(tree):
        for n in names:
            path = os.path.join(folder, n)
            with open(path, "rb") as f:
                digest = hashlib.sha256(f.read()).hexdigest()
            files[os.path.relpath(path, tree).replace(os.sep, "/")] = (digest, os.stat(path).st_mtime)
    return files


if __name__ == "__main__":
    BUILDER, MAKE_TREE = sys.argv[1:3]
    unittest.main(argv=sys.argv[:1], verbosity=2)

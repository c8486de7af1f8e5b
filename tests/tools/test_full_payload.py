"""The payload of the Windows build, checked against the source folder it was packed
from and, for the sample product, against the figures of the product it stands for.

Usage: test_full_payload.py PAYLOAD.zip SOURCE_DIR [--sample]"""

import os
import sys
import time
import unittest

import zipcheck

PAYLOAD = SOURCE = None
SAMPLE = False


def near(value, target, tolerance=0.05):
    return abs(value - target) <= tolerance * target


def packed_time(path):
    """The file's time as the builder packs it: a time after SOURCE_DATE_EPOCH
    becomes the epoch's UTC fields."""
    mtime = os.stat(path).st_mtime
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    if epoch and mtime > int(epoch):
        return time.mktime(time.gmtime(int(epoch))[:8] + (-1,))
    return mtime


class FullPayload(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.files = {}
        for folder, _, names in os.walk(SOURCE):
            for n in names:
                path = os.path.join(folder, n)
                with open(path, "rb") as f:
                    cls.files[os.path.relpath(path, SOURCE).replace(os.sep, "/")] = (f.read(), packed_time(path))
        cls.entries = zipcheck.check_archive(PAYLOAD, cls.files)

    def test_every_property_holds(self):
        self.assertTrue(self.entries)  # check_archive has asserted each property entry by entry

    @unittest.skipUnless(SAMPLE or "--sample" in sys.argv, "a vendor's product has its own figures")
    def test_sample_product_matches_the_real_products_figures(self):
        entries = self.entries
        root = sorted(e.name.decode() for e in entries if b"/" not in e.name)
        libraries = [e.name.decode() for e in entries if b"/" in e.name]
        self.assertEqual(len(entries), 85)
        self.assertEqual(len(root), 3)
        self.assertIn("Ketrova.exe", root)
        self.assertEqual(len(libraries), 82)
        self.assertTrue(all(n.count("/") == 1 and n.endswith(".dll") for n in libraries))
        self.assertEqual(len({n.split("/")[0] for n in libraries}), 10)
        self.assertTrue(all(n.isascii() for n in root + libraries))

        uncompressed = sum(e.uncompressed for e in entries)
        compressed = sum(e.compressed for e in entries)
        largest = max(e.uncompressed for e in entries)
        size = os.path.getsize(PAYLOAD)
        print(f"\n  uncompressed {uncompressed:,}  compressed {compressed:,} ({compressed / uncompressed:.1%})"
              f"  largest {largest:,}  archive {size:,}", file=sys.stderr)
        self.assertTrue(near(uncompressed, 50_602_304), uncompressed)
        self.assertTrue(near(compressed, 24_860_545), compressed)
        self.assertTrue(near(largest, 12_880_288), largest)
        self.assertTrue(near(size, 24_871_001), size)


if __name__ == "__main__":
    PAYLOAD, SOURCE = sys.argv[1:3]
    SAMPLE = "--sample" in sys.argv[3:]
    unittest.main(argv=sys.argv[:1], verbosity=2)

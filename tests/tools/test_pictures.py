"""make-pictures: the formats of the background, logo, icons and wrench glyph,
read field by field with Python's standard library.

Usage: test_pictures.py MAKE_PICTURES"""

import os
import struct
import subprocess
import sys
import tempfile
import unittest
import zlib

MAKE_PICTURES = None
NAVY_BGR = (33, 19, 13)  # RGB(13, 19, 33), the window's panel colour


def jpeg_segments(data):
    """Yields (marker, payload) up to EOI; the entropy-coded data after each SOS is skipped."""
    assert data[:2] == b"\xff\xd8"
    pos = 2
    while pos < len(data):
        assert data[pos] == 0xFF, f"no marker at {pos}"
        marker = data[pos + 1]
        if marker == 0xD9:
            yield marker, b""
            return
        length = struct.unpack(">H", data[pos + 2:pos + 4])[0]
        yield marker, data[pos + 4:pos + 2 + length]
        pos += 2 + length
        if marker == 0xDA:
            while not (data[pos] == 0xFF and data[pos + 1] != 0 and not 0xD0 <= data[pos + 1] <= 0xD7):
                pos += 1


def bitmap_header(data, at=0):
    keys = ("size", "width", "height", "planes", "bits", "compression", "image_size", "x_ppm", "y_ppm", "used", "important")
    return dict(zip(keys, struct.unpack("<IiiHHIIiiII", data[at:at + 40])))


def png_chunks(data):
    assert data[:8] == b"\x89PNG\r\n\x1a\n"
    pos = 8
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        crc = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])[0]
        assert crc == zlib.crc32(kind + body), f"bad CRC in {kind}"
        yield kind, body
        pos += 12 + length


def ico_directory(data):
    reserved, kind, count = struct.unpack("<HHH", data[:6])
    assert (reserved, kind) == (0, 1)
    keys = ("width", "height", "colors", "reserved", "planes", "bits", "size", "offset")
    return [dict(zip(keys, struct.unpack("<BBBBHHII", data[6 + 16 * i:22 + 16 * i]))) for i in range(count)]


class Pictures(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.TemporaryDirectory()
        subprocess.run([MAKE_PICTURES, cls.dir.name], check=True)

    @classmethod
    def tearDownClass(cls):
        cls.dir.cleanup()

    def read(self, name):
        with open(os.path.join(self.dir.name, name), "rb") as f:
            return f.read()

    def test_background_is_a_progressive_jfif_without_subsampling(self):
        segments = list(jpeg_segments(self.read("Fundo.jpg")))
        app0 = next(body for marker, body in segments if marker == 0xE0)
        ident, major, minor, units, xd, yd = struct.unpack(">5sBBBHH", app0[:12])
        self.assertEqual((ident, major, minor, units, xd, yd), (b"JFIF\0", 1, 1, 1, 90, 90))
        frames = [(marker, body) for marker, body in segments if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC)]
        self.assertEqual(len(frames), 1)
        marker, sof = frames[0]
        self.assertEqual(marker, 0xC2, "not SOF2 (progressive, Huffman)")
        precision, height, width, components = struct.unpack(">BHHB", sof[:6])
        self.assertEqual((precision, width, height, components), (8, 1920, 1080, 3))
        ids = []
        for i in range(3):
            cid, sampling, _ = sof[6 + 3 * i:9 + 3 * i]
            ids.append(cid)
            self.assertEqual(sampling, 0x11, f"component {cid} is subsampled")
        self.assertEqual(ids, [1, 2, 3], "components are not YCbCr")
        self.assertEqual(sum(1 for marker, _ in segments if marker == 0xDA), 10)
        self.assertEqual(segments[-1][0], 0xD9)

    def test_logo_is_a_padded_24_bit_bitmap_on_the_panel_colour(self):
        data = self.read("Logo.bmp")
        magic, file_size, _, _, offset = struct.unpack("<2sIHHI", data[:14])
        self.assertEqual((magic, file_size, offset), (b"BM", len(data), 54))
        h = bitmap_header(data, 14)
        self.assertEqual(h, dict(size=40, width=195, height=188, planes=1, bits=24, compression=0, image_size=110544,
                                 x_ppm=3780, y_ppm=3780, used=0, important=0))
        self.assertEqual(len(data) - offset, 588 * 188)
        rows = [data[offset + 588 * r:offset + 588 * (r + 1)] for r in range(188)]
        self.assertTrue(all(row[585:] == b"\0\0\0" for row in rows), "row padding is not zero")
        for row in (rows[0], rows[-1]):  # corners blend into the window's panel
            self.assertEqual(tuple(row[0:3]), NAVY_BGR)
            self.assertEqual(tuple(row[582:585]), NAVY_BGR)
        middle = rows[94]
        self.assertNotEqual(tuple(middle[291:294]), NAVY_BGR, "the logo has no mark in its middle")

    def test_wrench_is_a_light_grey_outline_with_straight_alpha(self):
        data = self.read("Wrench.bmp")
        offset = struct.unpack("<I", data[10:14])[0]
        h = bitmap_header(data, 14)
        self.assertEqual((h["size"], h["width"], h["height"], h["bits"], h["compression"], h["image_size"]),
                         (40, 32, 32, 32, 0, 4096))
        pixels = [data[offset + 4 * i:offset + 4 * i + 4] for i in range(1024)]
        alphas = [p[3] for p in pixels]
        self.assertEqual(alphas[0], 0, "the ground is not transparent")
        self.assertIn(255, alphas)
        self.assertTrue(any(0 < a < 255 for a in alphas), "the outline is not anti-aliased")
        self.assertGreater(alphas.count(0), 512, "more outline than ground")
        for p in pixels:
            expected = b"\xc8\xc8\xc8" if p[3] else b"\0\0\0"
            self.assertEqual(p[:3], expected, "colour not straight light grey")

    def test_application_icon_announces_24_bits_but_holds_an_8_bit_image(self):
        data = self.read("Icone.ico")
        entries = ico_directory(data)
        self.assertEqual(len(entries), 1)
        e = entries[0]
        self.assertEqual((e["width"], e["height"], e["colors"], e["planes"], e["bits"], e["size"], e["offset"]),
                         (32, 32, 0, 1, 24, 2216, 22))
        h = bitmap_header(data, 22)
        self.assertEqual((h["size"], h["width"], h["height"], h["bits"], h["compression"], h["used"]), (40, 32, 64, 8, 0, 0))
        # header, 256-colour palette, 8-bit pixels, then 1-bit mask rows of 4 bytes
        self.assertEqual(len(data), 22 + 40 + 256 * 4 + 32 * 32 + 4 * 32)
        mask = data[22 + 2216 - 128:]
        self.assertTrue(any(mask) and any(b != 0xFF for b in mask), "mask is all opaque or all transparent")

    def test_main_icon_has_ten_dibs_and_a_png(self):
        data = self.read("MainIcon.ico")
        entries = ico_directory(data)
        sizes = [16, 24, 32, 48, 64]
        self.assertEqual([(e["width"], e["bits"]) for e in entries],
                         [(s, 8) for s in sizes] + [(s, 32) for s in sizes] + [(0, 32)])
        for e in entries[:10]:
            size = e["width"]
            self.assertEqual(e["height"], size)
            h = bitmap_header(data, e["offset"])
            self.assertEqual((h["width"], h["height"], h["bits"]), (size, 2 * size, e["bits"]))
            mask_row = (size + 31) // 32 * 4
            colour = (size + 3) // 4 * 4 * size + 1024 if e["bits"] == 8 else 4 * size * size
            self.assertEqual(e["size"], 40 + colour + mask_row * size)
        png = data[entries[10]["offset"]:entries[10]["offset"] + entries[10]["size"]]
        chunks = list(png_chunks(png))
        self.assertEqual([k for k, _ in chunks], [b"IHDR", b"IDAT", b"IEND"])
        self.assertEqual(struct.unpack(">IIBBBBB", chunks[0][1]), (256, 256, 8, 6, 0, 0, 0))
        raw = zlib.decompress(chunks[1][1])
        self.assertEqual(len(raw), 256 * (1 + 256 * 4))
        self.assertEqual(entries[-1]["offset"] + entries[-1]["size"], len(data))


if __name__ == "__main__":
    MAKE_PICTURES = sys.argv[1]
    unittest.main(argv=sys.argv[:1], verbosity=2)

"""The resource catalogue of the built installer, read with pefile through
tools/resource-catalogue.py: types, names, languages, sizes and contents.

Usage: test_resource_catalogue.py INSTALADOR.exe PAYLOAD.zip"""

import importlib.util
import os
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
spec = importlib.util.spec_from_file_location(
    "resource_catalogue", os.path.join(HERE, "..", "..", "tools", "resource-catalogue.py"))
rc = importlib.util.module_from_spec(spec)
spec.loader.exec_module(rc)

EXE = PAYLOAD = None
PT_BR, EN_US = 1046, 1033


class ResourceCatalogue(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.pe = rc.load(EXE)
        cls.resources = rc.catalogue(cls.pe)

    def one(self, kind, name, language):
        found = rc.find(self.resources, kind, name)
        self.assertEqual([r.language for r in found], [language], f"{kind} {name}: languages")
        return found[0]

    def test_named_resources_with_their_types_languages_and_sizes(self):
        with open(PAYLOAD, "rb") as f:
            self.assertEqual(self.one("RCDATA", "PROGRAMA", PT_BR).data, f.read())
        self.assertEqual(self.one("RCDATA", "DESINSTALAR", PT_BR).data[:2], b"MZ")
        self.assertEqual(self.one("JPEG", "FUNDO", PT_BR).data[:4], b"\xff\xd8\xff\xe0")
        logo = self.one("BITMAP", "LOGO", PT_BR)
        self.assertEqual(logo.size, 110_584)  # the bitmap without its 14-byte file header
        self.assertEqual(int.from_bytes(logo.data[:4], "little"), 40)

    def test_installer_and_uninstaller_have_the_whole_address_space(self):
        # The payload is mapped with the image: with 2 GB a product past 1 GB would not load.
        uninstaller = rc.pefile.PE(data=self.one("RCDATA", "DESINSTALAR", PT_BR).data)
        for pe in (self.pe, uninstaller):
            self.assertTrue(pe.FILE_HEADER.Characteristics & 0x20, "large-address-aware")

    def test_icone_is_the_first_group_icon_with_its_one_8_bit_image(self):
        groups = [r for r in self.resources if r.type == "GROUP_ICON"]
        self.assertEqual([(g.name, g.language) for g in groups], [("ICONE", PT_BR), ("MAINICON", EN_US)])
        icone = groups[0]
        self.assertEqual(icone.size, 20)
        reserved, kind, count = (int.from_bytes(icone.data[i:i + 2], "little") for i in (0, 2, 4))
        self.assertEqual((reserved, kind, count), (0, 1, 1))
        width, height, colors, _, planes, bits, size, icon_id = (
            icone.data[6], icone.data[7], icone.data[8], icone.data[9],
            int.from_bytes(icone.data[10:12], "little"), int.from_bytes(icone.data[12:14], "little"),
            int.from_bytes(icone.data[14:18], "little"), int.from_bytes(icone.data[18:20], "little"))
        self.assertEqual((width, height, colors, planes, bits, size, icon_id), (32, 32, 0, 1, 24, 2216, 1))
        image = self.one("ICON", 1, PT_BR)
        self.assertEqual(image.size, 2216)
        self.assertEqual(int.from_bytes(image.data[14:16], "little"), 8, "the image itself is 8-bit")

    def test_main_icon_groups_eleven_english_images(self):
        main = self.one("GROUP_ICON", "MAINICON", EN_US)
        self.assertEqual(main.size, 160)
        ids = [int.from_bytes(main.data[6 + 14 * i + 12:6 + 14 * i + 14], "little") for i in range(11)]
        self.assertEqual(ids, list(range(2, 13)))
        for icon_id in ids:
            self.one("ICON", icon_id, EN_US)
        self.assertEqual(self.one("ICON", 12, EN_US).data[:8], b"\x89PNG\r\n\x1a\n")

    def test_string_table(self):
        blocks = sorted((r.name, r.language, r.size) for r in self.resources if r.type == "STRING")
        self.assertEqual(blocks, [(1, PT_BR, 92), (7, PT_BR, 44), (69, PT_BR, 52), (132, PT_BR, 56), (194, PT_BR, 52)])
        expected = {1: "Ketrova", 2: "2023", 3: "1", 8: "Ketrova.exe", 9: "Ketrova", 100: "Nao", 101: "Nao",
                    1100: "Instalando", 2100: "Installation", 3100: "Installing"}
        self.assertEqual(rc.string_table(self.resources), {(k, PT_BR): v for k, v in expected.items()})

    def test_version_block(self):
        self.one("VERSION", 1, EN_US)
        fixed, tables, translations = rc.version_info(self.pe)
        self.assertEqual(fixed, dict(FileVersionMS=0x10000, FileVersionLS=0, ProductVersionMS=0x10000, ProductVersionLS=0,
                                     FileFlagsMask=0x3F, FileFlags=0, FileOS=4, FileType=1, FileSubtype=0))
        self.assertEqual(tables, {"040904E4": {"FileDescription": "Instalador", "FileVersion": "1.0.0.0",
                                               "ProductName": "Instalador", "ProductVersion": "1.0.0.0"}})
        self.assertEqual(translations, [(0x0409, 0x04E4)])

    def test_manifest(self):
        self.one("MANIFEST", 1, EN_US)
        text = rc.manifest(self.resources)
        for needle in ['level="asInvoker"', 'uiAccess="false"', ">false</dpiAware>", ">unaware</dpiAwareness>",
                       'name="Microsoft.Windows.Common-Controls"', 'version="6.0.0.0"', 'type="win32"',
                       'publicKeyToken="6595b64144ccf1df"', 'language="*"', 'processorArchitecture="*"',
                       "{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                       "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                       "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"]:
            self.assertIn(needle, text)
        self.assertEqual(text.count("<supportedOS "), 5)

    def test_catalogue_tool_prints_a_table(self):
        import contextlib
        import io
        out = io.StringIO()
        with contextlib.redirect_stdout(out):
            self.assertEqual(rc.main(["resource-catalogue.py", EXE]), 0)
        self.assertIn("RCDATA         PROGRAMA", out.getvalue())


if __name__ == "__main__":
    EXE, PAYLOAD = sys.argv[1:3]
    unittest.main(argv=sys.argv[:1], verbosity=2)

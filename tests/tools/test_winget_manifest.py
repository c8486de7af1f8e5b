"""The winget manifest that the build wrote beside the installer: each file valid
against winget's schema of its type, the installer's own hash, the codes of
ExitCodes.h, and the entry of the installed programs' list as the installer's
string table makes it.

Usage: test_winget_manifest.py WINGET_FOLDER INSTALADOR.exe EXIT_CODES.h SCHEMA_FOLDER"""

import glob
import hashlib
import importlib.util
import json
import os
import re
import sys
import unittest

import jsonschema
import yaml

HERE = os.path.dirname(os.path.abspath(__file__))
spec = importlib.util.spec_from_file_location(
    "resource_catalogue", os.path.join(HERE, "..", "..", "tools", "resource-catalogue.py"))
rc = importlib.util.module_from_spec(spec)
spec.loader.exec_module(rc)

FOLDER = EXE = HEADER = SCHEMAS = None
PT_BR = 1046


class WingetManifest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.files = {}
        for path in glob.glob(os.path.join(FOLDER, "*.yaml")):
            with open(path, encoding="utf-8") as f:
                # As JSON data: YAML's own types (dates, numbers read from versions) would not pass.
                data = json.loads(json.dumps(yaml.safe_load(f)))
            cls.files[data["ManifestType"]] = (os.path.basename(path), data)
        cls.installer = cls.files["installer"][1]
        cls.pe = rc.load(EXE)

    def test_three_files_named_by_the_package_each_valid_against_its_schema(self):
        version = self.files["version"][1]
        ident, locale = version["PackageIdentifier"], version["DefaultLocale"]
        self.assertEqual({kind: name for kind, (name, _) in self.files.items()},
                         {"version": f"{ident}.yaml", "defaultLocale": f"{ident}.locale.{locale}.yaml",
                          "installer": f"{ident}.installer.yaml"})
        for kind, (name, data) in self.files.items():
            with self.subTest(name), open(os.path.join(SCHEMAS, f"manifest.{kind}.1.10.0.json")) as f:
                schema = json.load(f)
                jsonschema.Draft7Validator.check_schema(schema)
                jsonschema.Draft7Validator(schema).validate(data)
                self.assertEqual((data["PackageIdentifier"], data["PackageVersion"]),
                                 (ident, version["PackageVersion"]))

    def test_hash_and_architecture_of_the_installer_as_built(self):
        with open(EXE, "rb") as f:
            digest = hashlib.sha256(f.read()).hexdigest()
        architecture = {0x14C: "x86", 0x8664: "x64"}[self.pe.FILE_HEADER.Machine]
        self.assertEqual([(i["InstallerSha256"].lower(), i["Architecture"]) for i in self.installer["Installers"]],
                         [(digest, architecture)])

    def test_return_codes_are_those_of_exit_codes_h(self):
        with open(HEADER, encoding="utf-8") as f:
            code = {name: int(value) for name, value in re.findall(r"constexpr int (kExit\w+) = (\d+);", f.read())}
        expected = {"kExitDiskFull": "diskFull", "kExitFileInUse": "fileInUse", "kExitAccessDenied": "blockedByPolicy",
                    "kExitDamagedInstaller": "contactSupport", "kExitBadCommandLine": "invalidParameter",
                    "kExitLogFailed": "invalidParameter", "kExitCancelled": "cancelledByUser",
                    "kExitInstallInProgress": "installInProgress"}
        self.assertEqual({c["InstallerReturnCode"]: c["ReturnResponse"] for c in self.installer["ExpectedReturnCodes"]},
                         {code[name]: response for name, response in expected.items()})

    def test_installed_programs_entry_from_the_string_table(self):
        strings = rc.string_table(rc.catalogue(self.pe))
        name, year, release, publisher = (strings[(entry, PT_BR)] for entry in (1, 2, 3, 9))
        self.assertEqual(self.installer["AppsAndFeaturesEntries"],
                         [{"DisplayName": f"{name} {year} r{release}", "Publisher": publisher,
                           "DisplayVersion": f"{year}.{release}"}])
        self.assertEqual(self.installer["PackageVersion"], f"{year}.{release}")


if __name__ == "__main__":
    FOLDER, EXE, HEADER, SCHEMAS = sys.argv[1:5]
    if not os.path.isdir(SCHEMAS):
        sys.exit(f"test_winget_manifest: winget's schemas are not in {SCHEMAS}; "
                 "the manifest cannot be judged without them.")
    unittest.main(argv=sys.argv[:1], verbosity=2)

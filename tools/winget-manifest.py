#!/usr/bin/python3
"""Writes the winget manifest of the built installer into a folder: its version,
default-locale and installer files (manifest version 1.10.0).

Usage: winget-manifest.py SETTINGS --check
       winget-manifest.py SETTINGS EXIT_CODES.h INSTALLER.exe FOLDER

SETTINGS holds the build settings, one key=value line each (the configure step
writes it). --check only judges them as winget would, so that the configure
step stops with a clear message instead of the build writing a manifest that
winget refuses. Needs PyYAML (Debian: python3-yaml)."""

import glob
import hashlib
import os
import re
import sys

import yaml

MANIFEST_VERSION = "1.10.0"
# winget's answer to each cause, by its constant's name in ExitCodes.h: the numbers stand only there.
RESPONSES = [
    ("kExitDiskFull", "diskFull"),
    ("kExitFileInUse", "fileInUse"),
    # Refused by the permissions of a folder, a file or a key: what the machine's administrators decided.
    ("kExitAccessDenied", "blockedByPolicy"),
    # winget checked the download's hash, so the file was damaged where it was made.
    ("kExitDamagedInstaller", "contactSupport"),
    ("kExitBadCommandLine", "invalidParameter"),
    # The log's path is winget's own argument (<LOGPATH>).
    ("kExitLogFailed", "invalidParameter"),
    ("kExitCancelled", "cancelledByUser"),
    ("kExitInstallInProgress", "installInProgress"),
]

# What winget refuses, as its schema says it: (the build setting, a pattern or None, lengths, the rule in words).
NOT_IN_NAMES = r'\\/:*?"<>|\x01-\x1f'
RULES = {
    "PackageIdentifier": ("KETROVA_WINGET_ID", rf"[^.\s{NOT_IN_NAMES}]{{1,32}}(\.[^.\s{NOT_IN_NAMES}]{{1,32}}){{1,7}}",
                          1, 128, 'two to eight parts of 1 to 32 characters joined by dots, '
                                  'without spaces or any of \\/:*?"<>|'),
    "PackageVersion": ("KETROVA_VERSION_YEAR and KETROVA_RELEASE", rf"[^{NOT_IN_NAMES}]+",
                       1, 128, 'a version without any of \\/:*?"<>|'),
    "PackageLocale": ("KETROVA_WINGET_LOCALE", r"([a-zA-Z]{2,3}|[iI]-[a-zA-Z]+|[xX]-[a-zA-Z]{1,8})(-[a-zA-Z]{1,8})*",
                      1, 20, "a locale such as pt-BR"),
    "InstallerUrl": ("KETROVA_WINGET_INSTALLER_URL", r"[Hh][Tt][Tt][Pp][Ss]?://.+", 1, 2048, "an http or https address"),
    "Publisher": ("KETROVA_PUBLISHER", None, 2, 256, "a text"),
    "PackageName": ("KETROVA_WINGET_PACKAGE_NAME", None, 2, 256, "a text"),
    "License": ("KETROVA_WINGET_LICENSE", None, 3, 512, "a text"),
    "ShortDescription": ("KETROVA_WINGET_SHORT_DESCRIPTION", None, 3, 256, "a text"),
    "DisplayName": ("KETROVA_PRODUCT_NAME, KETROVA_VERSION_YEAR and KETROVA_RELEASE", None, 1, 256, "a text"),
}


def default_identifier(publisher, name):
    return ".".join(re.sub(rf"[.\s{NOT_IN_NAMES}]", "", part)[:32] for part in (publisher, name))


def settings(path):
    """The manifest's values from the build settings, judged; exits with the first rule broken."""
    with open(path, encoding="utf-8") as f:
        given = dict(line.split("=", 1) for line in f.read().split("\n") if line)
    name, year, release = given["name"], given["year"], given["release"]
    values = {
        "PackageIdentifier": given["id"] or default_identifier(given["publisher"], name),
        "PackageVersion": f"{year}.{release}",
        "PackageLocale": given["locale"],
        "InstallerUrl": given["url"],
        "Publisher": given["publisher"],
        "PackageName": given["package_name"] or name,
        "License": given["license"] or f"Licença de uso do {name}",
        "ShortDescription": given["short_description"] or f"{name} para Windows",
        # As the installer writes them in the list of installed programs.
        "DisplayName": f"{name} {year} r{release}",
        "Architecture": given["architecture"],
    }
    made = {} if given["id"] else {"PackageIdentifier": " (made from the publisher and the product's name; set it)"}
    for field, (setting, pattern, shortest, longest, rule) in RULES.items():
        value = values[field]
        if not shortest <= len(value) <= longest or (pattern and not re.fullmatch(pattern, value)):
            sys.exit(f'{setting}: "{value}"{made.get(field, "")} is not what winget takes as {field}: {rule}, '
                     f"{shortest} to {longest} characters.")
    return values


def return_codes(header):
    with open(header, encoding="utf-8") as f:
        codes = dict(re.findall(r"constexpr int (kExit\w+) = (\d+);", f.read()))
    missing = [name for name, _ in RESPONSES if name not in codes]
    if missing:
        sys.exit(f"{header} defines no {', '.join(missing)}.")
    return [{"InstallerReturnCode": int(codes[name]), "ReturnResponse": response} for name, response in RESPONSES]


def manifests(values, codes, sha256):
    """The three files by name, each a mapping in the order winget's own manifests use."""
    ident, version, locale = values["PackageIdentifier"], values["PackageVersion"], values["PackageLocale"]
    head = {"PackageIdentifier": ident, "PackageVersion": version}
    tail = {"ManifestVersion": MANIFEST_VERSION}
    return {
        f"{ident}.yaml": {**head, "DefaultLocale": locale, "ManifestType": "version", **tail},
        f"{ident}.locale.{locale}.yaml": {
            **head, "PackageLocale": locale, "Publisher": values["Publisher"], "PackageName": values["PackageName"],
            "License": values["License"], "ShortDescription": values["ShortDescription"],
            "ManifestType": "defaultLocale", **tail},
        f"{ident}.installer.yaml": {
            **head,
            # The window speaks Portuguese whatever the manifest's locale.
            "InstallerLocale": "pt-BR",
            "InstallerType": "exe",
            # The installer installs for all users when it runs with administrator
            # rights and for the current user otherwise, and never elevates itself:
            # winget elevates it before it runs, so it installs for all users and
            # writes the machine's entry that AppsAndFeaturesEntries describes.
            "Scope": "machine",
            "ElevationRequirement": "elevationRequired",
            # No progress-only mode: without a window is the nearest.
            "InstallModes": ["interactive", "silent", "silentWithProgress"],
            "InstallerSwitches": {"Silent": "/quiet", "SilentWithProgress": "/quiet",
                                  "InstallLocation": '/dir="<INSTALLPATH>"', "Log": '/log="<LOGPATH>"'},
            "ExpectedReturnCodes": codes,
            "UpgradeBehavior": "install",
            "AppsAndFeaturesEntries": [{"DisplayName": values["DisplayName"], "Publisher": values["Publisher"],
                                        "DisplayVersion": version}],
            "Installers": [{"Architecture": values["Architecture"], "InstallerUrl": values["InstallerUrl"], "InstallerSha256": sha256}],
            "ManifestType": "installer", **tail},
    }


def main(argv):
    if len(argv) == 3 and argv[2] == "--check":
        settings(argv[1])
        return 0
    if len(argv) != 5:
        sys.exit(__doc__)
    values = settings(argv[1])
    codes = return_codes(argv[2])
    with open(argv[3], "rb") as f:
        sha256 = hashlib.sha256(f.read()).hexdigest().upper()
    folder = argv[4]
    os.makedirs(folder, exist_ok=True)
    # One manifest in the folder: files of an earlier identifier or locale would join it.
    for old in glob.glob(os.path.join(folder, "*.yaml")):
        os.remove(old)
    for name, content in manifests(values, codes, sha256).items():
        with open(os.path.join(folder, name), "w", encoding="utf-8", newline="\n") as f:
            f.write("# Written by the installer's build from its settings.\n")
            yaml.safe_dump(content, f, sort_keys=False, allow_unicode=True, width=4096)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

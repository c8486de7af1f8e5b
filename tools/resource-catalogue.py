#!/usr/bin/python3
"""Prints the resource catalogue of a Windows executable: type, name, language, size.

Usage: resource-catalogue.py EXE

Also a module: catalogue(), string_table(), version_info() and manifest() read
the installer's resources for its tests. Needs pefile (Debian: python3-pefile)."""

import sys

import pefile

TYPE_NAMES = {1: "CURSOR", 2: "BITMAP", 3: "ICON", 4: "MENU", 5: "DIALOG", 6: "STRING", 7: "FONTDIR", 8: "FONT",
              9: "ACCELERATOR", 10: "RCDATA", 11: "MESSAGETABLE", 12: "GROUP_CURSOR", 14: "GROUP_ICON", 16: "VERSION",
              17: "DLGINCLUDE", 19: "PLUGPLAY", 20: "VXD", 21: "ANICURSOR", 22: "ANIICON", 23: "HTML", 24: "MANIFEST"}


class Resource:
    def __init__(self, kind, name, language, data):
        self.type = kind  # a name such as "RCDATA" for numbered types, the string for named ones
        self.name = name  # an int for numbered resources, the string otherwise
        self.language = language
        self.data = data

    @property
    def size(self):
        return len(self.data)

    def __repr__(self):
        return f"Resource({self.type}, {self.name}, {self.language}, {self.size} bytes)"


def _label(entry):
    return str(entry.name) if entry.name is not None else entry.id


def load(path):
    return pefile.PE(path, fast_load=False)


def catalogue(pe):
    """Every resource in the order of the resource directory (types, then names, then languages)."""
    resources = []
    if not hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"):
        return resources
    for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        type_label = _label(kind)
        type_label = TYPE_NAMES.get(type_label, type_label)
        for name in kind.directory.entries:
            for language in name.directory.entries:
                d = language.data.struct
                resources.append(Resource(type_label, _label(name), language.id, pe.get_data(d.OffsetToData, d.Size)))
    return resources


def find(resources, kind, name, language=None):
    return [r for r in resources if r.type == kind and r.name == name and (language is None or r.language == language)]


def string_table(resources):
    """{(id, language): text} from every STRING block: block n holds ids 16(n-1) to 16n-1."""
    texts = {}
    for block in (r for r in resources if r.type == "STRING"):
        pos = 0
        for i in range(16):
            length = int.from_bytes(block.data[pos:pos + 2], "little")
            text = block.data[pos + 2:pos + 2 + 2 * length].decode("utf-16-le")
            pos += 2 + 2 * length
            if length:
                texts[(16 * (block.name - 1) + i, block.language)] = text
    return texts


def version_info(pe):
    """(fixed fields as a dict, {table key: {name: value}}, [translations as (language, code page)])."""
    fixed = pe.VS_FIXEDFILEINFO[0]
    fields = {k: getattr(fixed, k) for k in ("FileVersionMS", "FileVersionLS", "ProductVersionMS", "ProductVersionLS",
                                             "FileFlagsMask", "FileFlags", "FileOS", "FileType", "FileSubtype")}
    tables, translations = {}, []
    for info in pe.FileInfo[0]:
        if info.Key == b"StringFileInfo":
            for table in info.StringTable:
                tables[table.LangID.decode()] = {k.decode(): v.decode() for k, v in table.entries.items()}
        elif info.Key == b"VarFileInfo":
            for var in info.Var:
                for value in var.entry.values():
                    parts = value.split()
                    translations += [(int(parts[i], 16), int(parts[i + 1], 16)) for i in range(0, len(parts), 2)]
    return fields, tables, translations


def manifest(resources):
    found = find(resources, "MANIFEST", 1)
    return found[0].data.decode("utf-8") if found else None


def main(argv):
    if len(argv) != 2:
        print("usage: resource-catalogue.py EXE", file=sys.stderr)
        return 1
    resources = catalogue(load(argv[1]))
    print(f"{'Type':<14} {'Name':<16} {'Language':>8} {'Size':>12}")
    for r in resources:
        print(f"{r.type:<14} {str(r.name):<16} {r.language:>8} {r.size:>12,}")
    print(f"{len(resources)} resources")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

"""Checks a payload archive byte by byte against the properties every payload keeps.

Python's zipfile reads the archive as an independent reader; a small raw parser
here reads what zipfile does not expose (the exact header bytes, the record order,
the position of the end record)."""

import struct
import time
import zipfile
import zlib

LOCAL = b"PK\x03\x04"
CENTRAL = b"PK\x01\x02"
END = b"PK\x05\x06"


class RawEntry:
    def __init__(self, fields, name):
        (self.made_by, self.needed, self.flag, self.method, self.dos_time, self.dos_date, self.crc,
         self.compressed, self.uncompressed, self.name_length, self.extra_length, self.comment_length,
         self.disk, self.internal, self.external, self.offset) = fields
        self.name = name


def parse_raw(data):
    """Returns (entries from the central directory, directory offset, directory size, end record fields)."""
    assert data[-22:-18] == END, "the end record is not the last 22 bytes"
    (_, disk, cd_disk, on_disk, total, cd_size, cd_offset, comment_length) = struct.unpack("<4sHHHHIIH", data[-22:])
    end = dict(disk=disk, cd_disk=cd_disk, on_disk=on_disk, total=total, comment_length=comment_length)
    entries = []
    pos = cd_offset
    for _ in range(total):
        assert data[pos:pos + 4] == CENTRAL, f"no central header at {pos}"
        fields = struct.unpack("<HHHHHHIIIHHHHHII", data[pos + 4:pos + 46])
        entry = RawEntry(fields, data[pos + 46:pos + 46 + fields[9]])
        entries.append(entry)
        pos += 46 + entry.name_length + entry.extra_length + entry.comment_length
    assert pos == len(data) - 22, "the central directory does not end at the end record"
    assert pos - cd_offset == cd_size, "the end record's directory size is wrong"
    return entries, cd_offset, cd_size, end


def dos_stamp(mtime):
    t = time.localtime(mtime)
    dos_time = (t.tm_hour << 11) | (t.tm_min << 5) | (t.tm_sec // 2)
    dos_date = ((t.tm_year - 1980) << 9) | (t.tm_mon << 5) | t.tm_mday
    return dos_time, dos_date


def check_archive(path, files=None):
    """Checks every property; files maps archive names to (bytes or None, mtime) when the source is known.

    Returns the raw entries for further checks by the caller."""
    with open(path, "rb") as f:
        data = f.read()
    entries, cd_offset, cd_size, end = parse_raw(data)

    assert end["comment_length"] == 0, "the archive has a comment"
    assert end["disk"] == 0 and end["cd_disk"] == 0 and end["on_disk"] == end["total"]
    assert b"PK\x06\x06" not in data[cd_offset:] and b"PK\x06\x07" not in data[cd_offset:], "ZIP64 records present"

    expected_offset = 0
    for e in entries:
        label = e.name.decode("utf-8")
        assert e.made_by == 0x0014, f"{label}: version made by {e.made_by:#06x}"
        assert e.needed == 20, f"{label}: version needed {e.needed}"
        assert e.flag == 0x0800, f"{label}: flag {e.flag:#06x}"
        assert e.method == 8, f"{label}: method {e.method}"
        assert e.external == 0x20, f"{label}: external attributes {e.external:#x}"
        assert e.internal == 0 and e.disk == 0
        assert e.extra_length == 0 and e.comment_length == 0, f"{label}: extra field or comment"
        assert not label.endswith("/"), f"{label}: a directory entry"
        assert "\\" not in label, f"{label}: backslash separator"
        assert e.dos_time & 0x1F <= 29 and (e.dos_time >> 5) & 0x3F <= 59 and e.dos_time >> 11 <= 23
        # Entries follow each other from offset 0 with nothing between them: no data descriptors.
        assert e.offset == expected_offset, f"{label}: local header at {e.offset}, expected {expected_offset}"
        local = struct.unpack("<4sHHHHHIIIHH", data[e.offset:e.offset + 30])
        assert local == (LOCAL, 20, 0x0800, 8, e.dos_time, e.dos_date, e.crc, e.compressed, e.uncompressed,
                         e.name_length, 0), f"{label}: local header disagrees with the central entry"
        assert data[e.offset + 30:e.offset + 30 + e.name_length] == e.name
        start = e.offset + 30 + e.name_length
        content = zlib.decompress(data[start:start + e.compressed], -15)
        assert len(content) == e.uncompressed and zlib.crc32(content) == e.crc, f"{label}: data, size or CRC wrong"
        expected_offset = start + e.compressed
    assert cd_offset == expected_offset, "the central directory does not follow the data"

    names = [e.name for e in entries]
    assert names == sorted(names, key=bytes.lower), "entries are not in case-insensitive order"
    assert len(set(n.lower() for n in names)) == len(names), "names clash when case is ignored"

    with zipfile.ZipFile(path) as z:
        assert z.testzip() is None
        infos = z.infolist()
        assert [i.filename for i in infos] == [n.decode("utf-8") for n in names]
        for info in infos:
            assert info.comment == b"" and info.extra == b"" and not info.is_dir()
            if files is not None:
                content, mtime = files[info.filename]
                if content is not None:
                    assert z.read(info) == content, f"{info.filename}: content differs"
                raw = next(e for e in entries if e.name.decode("utf-8") == info.filename)
                assert (raw.dos_time, raw.dos_date) == dos_stamp(mtime), f"{info.filename}: time differs from the file's"
        if files is not None:
            assert sorted(files) == sorted(i.filename for i in infos), "the archive does not hold exactly the source files"
    return entries

#!/usr/bin/env python3
"""Writes a stand-in setup program: a PE32 image whose only section holds the
resources a setup program carries (RCDATA TFORM1 with the project stream,
BITMAP INSTALLTHEME1), laid out as a linker lays them out.

    stand_in_program.py OUTPUT PROJECT_STREAM THEME_BMP
"""
import struct
import sys

RT_BITMAP, RT_RCDATA = 2, 10
SECTION_RVA, FILE_ALIGN = 0x1000, 0x200


def directory(entries):
    """A resource directory of (name field, offset field) entries."""
    named = sum(1 for name, _ in entries if name & 0x80000000)
    out = struct.pack("<IIHHHH", 0, 0, 0, 0, named, len(entries) - named)
    return out + b"".join(struct.pack("<II", name, offset) for name, offset in entries)


def resources(items):
    """items: [(type id, name, data)], one name per type."""
    items = sorted(items)
    count = len(items)
    root, types = 0, 16 + 8 * count
    langs = types + 24 * count
    entries = langs + 24 * count
    strings = entries + 16 * count
    names, data_at = b"", []
    name_at = []
    for _, name, _ in items:
        name_at.append(strings + len(names))
        names += struct.pack("<H", len(name)) + name.encode("utf-16-le")
    data_start = (strings + len(names) + 3) & ~3
    blob = b""
    for _, _, data in items:
        data_at.append(data_start + len(blob))
        blob += data + b"\0" * (-len(data) % 4)
    out = directory([(t, 0x80000000 | (types + 24 * i)) for i, (t, _, _) in enumerate(items)])
    for i in range(count):
        out += directory([(0x80000000 | name_at[i], 0x80000000 | (langs + 24 * i))])
    for i in range(count):
        out += directory([(0, entries + 16 * i)])
    for i, (_, _, data) in enumerate(items):
        out += struct.pack("<IIII", SECTION_RVA + data_at[i], len(data), 0, 0)
    out += names
    out += b"\0" * (data_start - len(out))
    return out + blob


def image(rsrc):
    raw_size = (len(rsrc) + FILE_ALIGN - 1) & ~(FILE_ALIGN - 1)
    dos = b"MZ" + b"\0" * 0x3A + struct.pack("<I", 0x40)
    file_header = struct.pack("<HHIIIHH", 0x14C, 1, 0, 0, 0, 224, 0x102)
    optional = struct.pack("<HBBIIIIIIIIIHHHHHHIIIIHHIIIIII", 0x10B, 2, 0, 0, raw_size, 0, 0, 0, 0, 0x400000,
                           0x1000, FILE_ALIGN, 4, 0, 0, 0, 4, 0, 0, SECTION_RVA + raw_size, FILE_ALIGN, 0, 2, 0,
                           0x100000, 0x1000, 0x100000, 0x1000, 0, 16)
    dirs = [(0, 0)] * 16
    dirs[2] = (SECTION_RVA, len(rsrc))
    optional += b"".join(struct.pack("<II", *d) for d in dirs)
    section = struct.pack("<8sIIIIIIHHI", b".rsrc", len(rsrc), SECTION_RVA, raw_size, FILE_ALIGN, 0, 0, 0, 0,
                          0x40000040)
    head = dos + b"PE\0\0" + file_header + optional + section
    return head + b"\0" * (FILE_ALIGN - len(head)) + rsrc + b"\0" * (raw_size - len(rsrc))


def main():
    output, stream, theme = sys.argv[1:4]
    with open(stream, "rb") as f:
        project = f.read()
    with open(theme, "rb") as f:
        bitmap = f.read()[14:]  # a BITMAP resource has no file header
    with open(output, "wb") as f:
        f.write(image(resources([(RT_RCDATA, "TFORM1", project), (RT_BITMAP, "INSTALLTHEME1", bitmap)])))


if __name__ == "__main__":
    main()

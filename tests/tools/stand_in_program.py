#!/usr/bin/env python3
"""Writes a stand-in setup program: a PE32 image whose only section holds the
resources a setup program carries (RCDATA TFORM1 with the project stream,
BITMAP INSTALLTHEME1, and any further ones named), laid out as a linker lays
them out.

    stand_in_program.py OUTPUT PROJECT_STREAM THEME_BMP [RCDATA:NAME=FILE | BITMAP:NAME=FILE]...
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
    """items: [(type id, name, data)]; the tree groups the names by type."""
    items = sorted(items)
    count = len(items)
    types = sorted({t for t, _, _ in items})
    by_type = {t: [i for i, item in enumerate(items) if item[0] == t] for t in types}
    type_dirs = 16 + 8 * len(types)
    type_at, at = {}, type_dirs
    for t in types:
        type_at[t] = at
        at += 16 + 8 * len(by_type[t])
    langs = at
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
    out = directory([(t, 0x80000000 | type_at[t]) for t in types])
    for t in types:
        out += directory([(0x80000000 | name_at[i], 0x80000000 | (langs + 24 * i)) for i in by_type[t]])
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


def bitmap_resource(path):
    with open(path, "rb") as f:
        return f.read()[14:]  # a BITMAP resource has no file header


def main():
    output, stream, theme = sys.argv[1:4]
    with open(stream, "rb") as f:
        project = f.read()
    items = [(RT_RCDATA, "TFORM1", project), (RT_BITMAP, "INSTALLTHEME1", bitmap_resource(theme))]
    # Further resources: RCDATA:NAME=stream or BITMAP:NAME=bmp.
    for extra in sys.argv[4:]:
        kind, rest = extra.split(":", 1)
        name, path = rest.split("=", 1)
        if kind == "BITMAP":
            items.append((RT_BITMAP, name, bitmap_resource(path)))
        else:
            with open(path, "rb") as f:
                items.append((RT_RCDATA, name, f.read()))
    with open(output, "wb") as f:
        f.write(image(resources(items)))


if __name__ == "__main__":
    main()

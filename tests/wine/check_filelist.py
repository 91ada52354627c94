#!/usr/bin/python3
"""Checks a built net distribution against its source files, through the archive tool.

    check_filelist.py ARCHIVE_TOOL DIST FILES COMPONENT=FILE=ARCHIVE...

DIST/127.0.0.1/pubsetup/filelist.lst must hold one record per COMPONENT and no other, with the size, the
date (two-second stamps) and the FileVersion of FILES/FILE; ARCHIVE (relative to DIST) must verify and
carry FILE with the same size, date and version, and no file named for another archive. Prints what differs; the exit status is 0 when nothing does.
"""

import datetime
import os
import re
import subprocess
import sys

LIST_RECORD = re.compile(r"^\s*(\d+) (.{20}) (.{19}) (.*)$")
ARCHIVE_ENTRY = re.compile(r"^\s*(\d+)\s+(\d+)\s+\d+%  (.{20}) (.{19})\s+\d+ \S+\s+(.*)$")


def tool(archive_tool, *args):
    run = subprocess.run([archive_tool, *args], capture_output=True, text=True)
    return run.returncode, run.stdout + run.stderr


def file_version(path):
    """The FileVersion text of a file's version resource; empty without one."""
    data = open(path, "rb").read()
    key = "FileVersion\0".encode("utf-16-le")
    at = data.find(key)
    if at < 0:
        return ""
    at += len(key)
    at += (4 - at % 4) % 4
    end = at
    while end + 1 < len(data) and data[end:end + 2] != b"\0\0":
        end += 2
    return data[at:end].decode("utf-16-le")


def stamp_of(path):
    return datetime.datetime.fromtimestamp(os.path.getmtime(path))


def main():
    archive_tool, dist, files = sys.argv[1:4]
    expected = [word.split("=") for word in sys.argv[4:]]
    problems = []
    rc, out = tool(archive_tool, "filelist", os.path.join(dist, "127.0.0.1", "pubsetup", "filelist.lst"))
    if rc != 0:
        print(out)
        return 1
    records = {}
    for line in out.splitlines():
        m = LIST_RECORD.match(line)
        if m and m.group(1) != "size":
            records[m.group(4)] = (int(m.group(1)), m.group(2).strip(), m.group(3))
    if sorted(records) != sorted(component for component, _, _ in expected):
        problems.append(f"filelist.lst lists {sorted(records)}")
    for component, name, archive in expected:
        source = os.path.join(files, name)
        size, version, date = records.get(component, (None, None, None))
        if size != os.path.getsize(source):
            problems.append(f"{component}: size {size}, the source has {os.path.getsize(source)}")
        if version != file_version(source):
            problems.append(f"{component}: version [{version}], the source has [{file_version(source)}]")
        try:
            off = (datetime.datetime.strptime(date, "%Y-%m-%d %H:%M:%S") - stamp_of(source)).total_seconds()
        except (TypeError, ValueError):
            off = None
        if off is None or abs(off) >= 2:
            problems.append(f"{component}: date {date}, the source is of {stamp_of(source)}")
        path = os.path.join(dist, *archive.split("/"))
        rc, verified = tool(archive_tool, "verify", path)
        if rc != 0:
            problems.append(f"{archive} does not verify: {verified.strip()}")
        rc, listing = tool(archive_tool, "list", path)
        entries = [m for m in map(ARCHIVE_ENTRY.match, listing.splitlines())
                   if m and re.split(r"[\\/]", m.group(5))[-1].lower() == os.path.basename(name).lower()]
        if len(entries) != 1:
            problems.append(f"{archive} does not carry {name} once: {listing.strip()}")
        elif (int(entries[0].group(1)), entries[0].group(3).strip(), entries[0].group(4)) != (size, version, date):
            problems.append(f"{archive}: {name} is packed as {entries[0].group(0).strip()}")
    for archive in {archive for _, _, archive in expected}:
        rc, listing = tool(archive_tool, "list", os.path.join(dist, *archive.split("/")))
        carried = sorted(re.split(r"[\\/]", m.group(5))[-1].lower()
                         for m in map(ARCHIVE_ENTRY.match, listing.splitlines()) if m)
        wanted = sorted(os.path.basename(name).lower() for _, name, a in expected if a == archive)
        if carried != wanted:
            problems.append(f"{archive} carries {carried}, not {wanted}")
    for problem in problems:
        print("  " + problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())

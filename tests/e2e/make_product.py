#!/usr/bin/env python3
"""Writes the files of a test product into a folder, the same bytes on every build.

  make_product.py progress FOLDER MEGABYTES UNINSTALLER
      large.bin: MEGABYTES of compressible text (the distribution stays small);
      second.bin: 300 000 bytes that do not compress; uninstall.exe: a copy of UNINSTALLER.
  make_product.py spanned FOLDER
      large.bin: 1 200 000 bytes that do not compress (files.1 spans two floppies); readme.txt.
"""
import random
import shutil
import sys
from pathlib import Path


def text(size, seed):
    words = ["setup", "archive", "volume", "progress", "window", "cancel", "install", "folder", "record", "disk"]
    rng = random.Random(seed)
    block = "".join(" ".join(rng.choice(words) for _ in range(12)) + "\r\n" for _ in range(4000)).encode()
    return (block * (size // len(block) + 1))[:size]


def noise(size, seed):
    return random.Random(seed).randbytes(size)


def main(argv):
    if len(argv) < 3 or argv[1] not in ("progress", "spanned"):
        sys.exit(__doc__)
    folder = Path(argv[2])
    folder.mkdir(parents=True, exist_ok=True)
    if argv[1] == "progress":
        if len(argv) != 5:
            sys.exit(__doc__)
        (folder / "large.bin").write_bytes(text(int(argv[3]) << 20, 25))
        (folder / "second.bin").write_bytes(noise(300000, 26))
        shutil.copyfile(argv[4], folder / "uninstall.exe")
    else:
        (folder / "large.bin").write_bytes(noise(1200000, 27))
        (folder / "readme.txt").write_bytes(b"Floppy test readme\n")


if __name__ == "__main__":
    main(sys.argv)

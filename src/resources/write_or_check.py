"""Shared by the resource generators: write their outputs, or with --check
fail when a written file differs from what the generator makes now."""
import sys


def write_or_check(outputs, generator):
    """outputs: {path: bytes}; generator: the script's name for the message."""
    check = "--check" in sys.argv[1:]
    stale = []
    for path, data in outputs.items():
        if check:
            with open(path, "rb") as f:
                if f.read() != data:
                    stale.append(path)
        else:
            with open(path, "wb") as f:
                f.write(data)
    if stale:
        sys.exit("stale files (run %s): %s" % (generator, " ".join(stale)))

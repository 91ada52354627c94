#!/usr/bin/env python3
"""The phase profile of timed runs of a program under Wine, from the marks its
processes wrote (SW_PHASE_PROFILE: lines "<ms since 1970> <process id> <phase>").
Each phase lasts from its mark to the next mark of any process; before the
first mark Wine starts the first program, after the last one it ends it.
With several runs each phase shows its median over them, and the runs'
totals their median.

  phase-profile.py RUN...      RUN = START_SECONDS:END_SECONDS:PROFILE_FILE
"""
import statistics
import sys


def phases(run):
    start, end, path = run.split(":", 2)
    start_ms, end_ms = float(start) * 1000, float(end) * 1000
    marks = []
    with open(path, encoding="latin-1") as f:
        for line in f:
            parts = line.strip().split(" ", 2)
            if len(parts) == 3 and parts[0].isdigit():
                marks.append((int(parts[0]), parts[2]))
    marks.sort(key=lambda m: m[0])
    if not marks:
        raise SystemExit(f"phase-profile: no marks in {path}")
    out = [("Wine starts the loading program", marks[0][0] - start_ms)]
    for (t, name), (after, _) in zip(marks, marks[1:]):
        out.append((name, after - t))
    out.append(("Wine ends the loading program", end_ms - marks[-1][0]))
    return out, end_ms - start_ms


def main(runs):
    if not runs:
        raise SystemExit(__doc__)
    results = [phases(r) for r in runs]
    order, seen = [], set()
    for steps, _ in results:
        for name, _ in steps:
            if name not in seen:
                seen.add(name)
                order.append(name)
    what = "median of %d runs" % len(results) if len(results) > 1 else "one run"
    print(f"phase profile ({what}), ms:")
    for name in order:
        values = [sum(ms for n, ms in steps if n == name) for steps, _ in results]
        print(f"  {name:<46} {statistics.median(values):7.0f}")
    total = statistics.median(t for _, t in results)
    print(f"  {'total':<46} {total:7.0f}")


main(sys.argv[1:])

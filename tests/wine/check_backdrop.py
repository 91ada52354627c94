#!/usr/bin/python3
"""Checks a screenshot of a backdrop with a recessed white title on it.

    check_backdrop.py main SHOT.ppm     the demo's maximized main window on the whole screen: a bdUp gradient
                                        from blue to black, the title across the top 96 rows, at 0 degrees
    check_backdrop.py viewer SHOT.ppm   a client area (formviewer): a bdHorzOut gradient from blue to black,
                                        the title in the left 120 columns, at 90 degrees

Prints "ok: ..." or "FAILED: ..." for each check; the exit status is the number of failures.
"""

import re
import sys

BLUE, BLACK = (0, 0, 255), (0, 0, 0)


class Image:
    """A binary PPM file (P6, 8-bit): its size and its pixels as (r, g, b)."""

    def __init__(self, path):
        data = open(path, "rb").read()
        header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
        if not header:
            raise SystemExit(path + ": not an 8-bit binary PPM")
        self.width, self.height = int(header[1]), int(header[2])
        self.pixels = data[header.end():]

    def pixel(self, x, y):
        at = (y * self.width + x) * 3
        return tuple(self.pixels[at:at + 3])


def mul_div(a, b, c):
    """a * b / c rounded to the nearest, halves away from zero."""
    q = (2 * abs(a * b) + abs(c)) // (2 * abs(c))
    return -q if (a * b < 0) != (c < 0) else q


def gradient(a, b, extent, mirrored):
    """The colour of each pixel along the axis, painted band by band as the backdrop does."""
    n, d = (128, 127) if mirrored else (256, 255)
    along = [None] * extent
    for i in range(n):
        color = tuple((a[k] + mul_div(i, b[k] - a[k], d)) & 0xFF for k in range(3))
        spans = [(mul_div(i, extent, 256), mul_div(i + 1, extent, 256))]
        if mirrored:
            spans.append((mul_div(255 - i, extent, 256), mul_div(256 - i, extent, 256)))
        for start, end in spans:
            for p in range(start, end):
                along[p] = color
    return along


failures = 0


def check(what, ok, detail=""):
    global failures
    print(("ok: " if ok else "FAILED: ") + what + ("" if ok else " (" + detail + ")"))
    failures += 0 if ok else 1


def check_rows(image, x, top, extent, a, b, mirrored, named):
    expected = gradient(a, b, extent, mirrored)
    wrong = [r for r in range(extent) if image.pixel(x, top + r) != expected[r]]
    check("every one of the %d rows at x=%d has its band's colour" % (extent, x), not wrong,
          "%d wrong, first row %s: %s, not %s" % (len(wrong), wrong[0], image.pixel(x, top + wrong[0]),
                                                  expected[wrong[0]]) if wrong else "")
    for row, color in named:
        got = image.pixel(x, top + row)
        check("row %d is %s" % (row, color), got == color, "it is %s" % (got,))


def check_title(image, box, angle):
    """White letters with a grey copy up and to the left of them (recessed), centred in the box."""
    left, top, width, height = box
    white, grey, between = [], [], 0
    for y in range(top, top + height):
        for x in range(left, left + width):
            r, g, b = image.pixel(x, y)
            if min(r, g, b) > 200:
                white.append((x, y))
            elif 90 < r < 170 and abs(r - g) < 20 and abs(r - b) < 20:
                grey.append((x, y))
    if not white or not grey:
        check("the title shows white letters with a grey shade", False, "%d white, %d grey" % (len(white), len(grey)))
        return
    wl, wr = min(p[0] for p in white), max(p[0] for p in white)
    wt, wb = min(p[1] for p in white), max(p[1] for p in white)
    gl, gt = min(p[0] for p in grey), min(p[1] for p in grey)
    gr, gb = max(p[0] for p in grey), max(p[1] for p in grey)
    print("   title letters at %d,%d-%d,%d; shade at %d,%d-%d,%d" % (wl, wt, wr, wb, gl, gt, gr, gb))
    w, h = wr - wl + 1, wb - wt + 1
    if angle == 0:
        check("at 0 degrees the title runs across (%dx%d)" % (w, h), w > 3 * h)
    else:
        check("at 90 degrees the title runs upwards (%dx%d)" % (w, h), h > 3 * w)
    cx, cy = left + width // 2, top + height // 2
    along, across = ((wl + wr) / 2 - cx, (wt + wb) / 2 - cy) if angle == 0 else ((wt + wb) / 2 - cy, (wl + wr) / 2 - cx)
    check("the title is centred along its line (%.1f px off)" % along, abs(along) <= 6)
    check("and across it (%.1f px off)" % across, abs(across) <= 12)
    check("recessed: the grey copy lies one pixel up and left of the letters",
          gl == wl - 1 and gt == wt - 1 and gr < wr and gb < wb)
    if angle == 90:
        mid = [((wl + wr) // 2, y) for y in range(wt, wb + 1)]
    else:
        mid = [(x, (wt + wb) // 2) for x in range(wl, wr + 1)]
    between = sum(1 for x, y in mid if image.pixel(x, y)[0] == 0 and image.pixel(x, y)[1] == 0)
    check("the gradient shows between the letters (%d pixels on the middle line)" % between, between > 0)


def main():
    mode, path = sys.argv[1], sys.argv[2]
    image = Image(path)
    if mode == "main":
        x = 2
        top = next((y for y in range(image.height) if image.pixel(x, y) == BLUE), None)
        check("the backdrop's first row is blue", top is not None and top < 60, "top %s" % top)
        if top is None:
            return
        extent = image.height - top
        print("   the client area starts at row %d of the screen, %d rows high" % (top, extent))
        check_rows(image, x, top, extent, BLUE, BLACK, False,
                   [(0, BLUE), (extent - 1, BLACK), (extent // 2, gradient(BLUE, BLACK, extent, False)[extent // 2])])
        check_rows(image, image.width - 3, top, extent, BLUE, BLACK, False, [])
        check_title(image, (1, top + 1, image.width - 2, 96), 0)
    else:
        extent = image.height
        check_rows(image, image.width - 3, 0, extent, BLUE, BLACK, True,
                   [(0, BLUE), (extent - 1, BLUE), (mul_div(127, extent, 256), BLACK),
                    (mul_div(128, extent, 256), BLACK)])
        check_title(image, (1, 1, 120, image.height - 2), 90)


main()
sys.exit(failures)

#!/usr/bin/env python3
"""Draws the language flag bitmaps BM_LANG_*.bmp and the blank BM_LANG_NONE.bmp.

Each is 126 x 45 pixels, 8-bit with a palette of the colours it uses (a
flag has far fewer than 256), run-length encoded (BI_RLE8: a flag is mostly
runs of one colour, so each takes about a sixth of its plain size in every
setup program): the flag drawn from simple shapes above the
language's name, on olive (0x80, 0x80, 0x00), the colour shown transparent.
The name uses the 5 x 7 font below. Nothing is read from elsewhere, so the
output depends on this file only.

usage: make_flags.py          write the bitmaps next to this script
       make_flags.py --check  fail when a written bitmap differs
"""
import math
import os
import struct
import sys

WIDTH, HEIGHT = 126, 45
OLIVE = (0x80, 0x80, 0x00)
FLAG_W, FLAG_H = 54, 32
FLAG_X, FLAG_Y = (WIDTH - FLAG_W) // 2, 2
TEXT_Y = FLAG_Y + FLAG_H + 3
SAMPLES = 4  # per axis, for smooth edges inside the flag

RED, WHITE, BLUE, YELLOW = (206, 17, 38), (255, 255, 255), (0, 56, 147), (255, 206, 0)
BLACK, GREEN = (0, 0, 0), (0, 140, 69)

FONT = {  # 5 x 7, "#" set
    " ": ["     "] * 7,
    "(": ["  #  ", " #   ", "#    ", "#    ", "#    ", " #   ", "  #  "],
    ")": ["  #  ", "   # ", "    #", "    #", "    #", "   # ", "  #  "],
    "C": [" ### ", "#   #", "#    ", "#    ", "#    ", "#   #", " ### "],
    "D": ["#### ", "#   #", "#   #", "#   #", "#   #", "#   #", "#### "],
    "E": ["#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"],
    "F": ["#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#    "],
    "G": [" ### ", "#   #", "#    ", "# ###", "#   #", "#   #", " ####"],
    "H": ["#   #", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"],
    "I": [" ### ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "],
    "J": ["  ###", "   # ", "   # ", "   # ", "   # ", "#  # ", " ##  "],
    "K": ["#   #", "#  # ", "# #  ", "##   ", "# #  ", "#  # ", "#   #"],
    "P": ["#### ", "#   #", "#   #", "#### ", "#    ", "#    ", "#    "],
    "R": ["#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"],
    "S": [" ####", "#    ", "#    ", " ### ", "    #", "    #", "#### "],
    "V": ["#   #", "#   #", "#   #", "#   #", "#   #", " # # ", "  #  "],
    "a": ["     ", "     ", " ### ", "    #", " ####", "#   #", " ####"],
    "b": ["#    ", "#    ", "# ## ", "##  #", "#   #", "#   #", "#### "],
    "c": ["     ", "     ", " ### ", "#    ", "#    ", "#   #", " ### "],
    "d": ["    #", "    #", " ## #", "#  ##", "#   #", "#   #", " ####"],
    "e": ["     ", "     ", " ### ", "#   #", "#####", "#    ", " ### "],
    "f": ["  ## ", " #  #", " #   ", "###  ", " #   ", " #   ", " #   "],
    "g": ["     ", " ####", "#   #", "#   #", " ####", "    #", " ### "],
    "h": ["#    ", "#    ", "# ## ", "##  #", "#   #", "#   #", "#   #"],
    "i": ["  #  ", "     ", " ##  ", "  #  ", "  #  ", "  #  ", " ### "],
    "k": ["#    ", "#    ", "#  # ", "# #  ", "##   ", "# #  ", "#  # "],
    "l": [" ##  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "],
    "m": ["     ", "     ", "## # ", "# # #", "# # #", "#   #", "#   #"],
    "n": ["     ", "     ", "# ## ", "##  #", "#   #", "#   #", "#   #"],
    "o": ["     ", "     ", " ### ", "#   #", "#   #", "#   #", " ### "],
    "p": ["     ", "     ", "#### ", "#   #", "#### ", "#    ", "#    "],
    "r": ["     ", "     ", "# ## ", "##  #", "#    ", "#    ", "#    "],
    "s": ["     ", "     ", " ####", "#    ", " ### ", "    #", "#### "],
    "t": [" #   ", " #   ", "###  ", " #   ", " #   ", " #  #", "  ## "],
    "u": ["     ", "     ", "#   #", "#   #", "#   #", "#  ##", " ## #"],
    "w": ["     ", "     ", "#   #", "#   #", "# # #", "# # #", " # # "],
    "z": ["     ", "     ", "#####", "   # ", "  #  ", " #   ", "#####"],
}


def star(cx, cy, r, u, v, points=5, inner=0.382, turn=-math.pi / 2):
    """True when (u, v) lies inside a star centred at (cx, cy)."""
    poly = []
    for k in range(points * 2):
        radius = r if k % 2 == 0 else r * inner
        a = turn + k * math.pi / points
        poly.append((cx + radius * math.cos(a), cy + radius * math.sin(a)))
    inside = False
    j = len(poly) - 1
    for i in range(len(poly)):
        (xi, yi), (xj, yj) = poly[i], poly[j]
        if (yi > v) != (yj > v) and u < (xj - xi) * (v - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


def band(stripes, t):
    return stripes[min(int(t * len(stripes)), len(stripes) - 1)]


def near_line(x0, y0, x1, y1, x, y, half):
    dx, dy = x1 - x0, y1 - y0
    t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
    return math.hypot(x - x0 - t * dx, y - y0 - t * dy) <= half


# Each flag maps a point (x in 0..1.5, y in 0..1 for a 3:2 flag area) to a colour.
def china(x, y):
    if star(0.25, 0.25, 0.15, x, y):
        return YELLOW
    for sx, sy in ((0.5, 0.1), (0.6, 0.2), (0.6, 0.35), (0.5, 0.45)):
        if star(sx, sy, 0.05, x, y):
            return YELLOW
    return RED


def czech(x, y):
    if x < 0.75 * (1 - abs(y - 0.5) * 2):
        return (17, 69, 126)
    return WHITE if y < 0.5 else (215, 20, 26)


def nordic_cross(field, cross, x, y, inner=None):
    on = abs(y - 0.5) < 0.1 or abs(x - 0.55) < 0.1
    if inner and (abs(y - 0.5) < 0.05 or abs(x - 0.55) < 0.05):
        return inner
    return cross if on else field


def denmark(x, y):
    return nordic_cross((200, 16, 46), WHITE, x, y)


def united_kingdom(x, y):
    blue, red = (1, 33, 105), (200, 16, 46)
    if abs(x - 0.75) < 0.06 or abs(y - 0.5) < 0.1:
        return red
    if abs(x - 0.75) < 0.12 or abs(y - 0.5) < 0.17:
        return WHITE
    d1 = near_line(0, 0, 1.5, 1, x, y, 0.1)
    d2 = near_line(0, 1, 1.5, 0, x, y, 0.1)
    if near_line(0, 0, 1.5, 1, x, y, 0.035) or near_line(0, 1, 1.5, 0, x, y, 0.035):
        return red
    return WHITE if d1 or d2 else blue


def france(x, y):
    return band([(0, 35, 149), WHITE, (237, 41, 57)], x / 1.5)


def germany(x, y):
    return band([BLACK, (221, 0, 0), (255, 206, 0)], y)


def greece(x, y):
    blue = (13, 94, 175)
    if x < 0.555 and y < 0.555:
        return WHITE if abs(x - 0.2775) < 0.06 or abs(y - 0.2775) < 0.06 else blue
    return band([blue, WHITE] * 4 + [blue], y)


def israel(x, y):
    blue = (0, 56, 184)
    if 0.1 < y < 0.22 or 0.78 < y < 0.9:
        return blue
    for turn in (-math.pi / 2, math.pi / 2):
        outer = star(0.75, 0.5, 0.2, x, y, points=3, inner=0.5, turn=turn)
        # The outline of each triangle: inside the large one, outside a smaller one.
        if outer and not star(0.75, 0.5, 0.15, x, y, points=3, inner=0.5, turn=turn):
            return blue
    return WHITE


def italy(x, y):
    return band([GREEN, WHITE, (206, 43, 55)], x / 1.5)


def japan(x, y):
    return (188, 0, 45) if math.hypot(x - 0.75, y - 0.5) < 0.3 else WHITE


def korea(x, y):
    dx, dy = x - 0.75, y - 0.5
    r = math.hypot(dx, dy)
    if r < 0.25:
        # The two commas of the taegeuk: red above, blue below, swirled at the middle.
        if math.hypot(dx + 0.125, dy) < 0.125:
            return (205, 46, 58)
        if math.hypot(dx - 0.125, dy) < 0.125:
            return (0, 71, 160)
        return (205, 46, 58) if dy < 0 else (0, 71, 160)
    for cx, cy, sx in ((0.3, 0.2, 1), (1.2, 0.8, 1), (1.2, 0.2, -1), (0.3, 0.8, -1)):
        u, v = (x - cx) * 0.8 + sx * (y - cy) * 0.6, -sx * (x - cx) * 0.6 + (y - cy) * 0.8
        if abs(u) < 0.09 and abs(v) < 0.07 and (v + 0.07) % 0.05 < 0.03:
            return BLACK
    return WHITE


def poland(x, y):
    return WHITE if y < 0.5 else (220, 20, 60)


def portugal(x, y):
    if math.hypot(x - 0.6, y - 0.5) < 0.2:
        if abs(x - 0.6) < 0.08 and abs(y - 0.5) < 0.1:
            return WHITE if abs(x - 0.6) < 0.05 and abs(y - 0.5) < 0.07 else (255, 0, 0)
        return YELLOW
    return (0, 102, 0) if x < 0.6 else (255, 0, 0)


def russia(x, y):
    return band([WHITE, (0, 57, 166), (213, 43, 30)], y)


def spain(x, y):
    return (170, 21, 27) if y < 0.25 or y >= 0.75 else (241, 191, 0)


def vietnam(x, y):
    return (255, 255, 0) if star(0.75, 0.52, 0.3, x, y) else (218, 37, 29)


FLAGS = [
    ("BM_LANG_SIMPCHINESE", "Chinese Simplified", china),
    ("BM_LANG_CZECH", "Czech", czech),
    ("BM_LANG_DANISH", "Danish", denmark),
    ("BM_LANG_ENGLISH", "English", united_kingdom),
    ("BM_LANG_FRENCH", "French", france),
    ("BM_LANG_GERMAN", "German", germany),
    ("BM_LANG_GREEK", "Greek", greece),
    ("BM_LANG_HEBREW", "Hebrew", israel),
    ("BM_LANG_ITALIAN", "Italian", italy),
    ("BM_LANG_JAPANESE", "Japanese", japan),
    ("BM_LANG_KOREAN", "Korean", korea),
    ("BM_LANG_POLISH", "Polish", poland),
    ("BM_LANG_PORTUGESE", "Portuguese", portugal),
    ("BM_LANG_RUSSIAN", "Russian", russia),
    ("BM_LANG_SPANISH", "Spanish", spain),
    ("BM_LANG_VIETNAMESE", "Vietnamese", vietnam),
]


def draw(name, flag):
    pixels = [[OLIVE] * WIDTH for _ in range(HEIGHT)]
    if flag:
        for py in range(FLAG_H):
            for px in range(FLAG_W):
                acc = [0, 0, 0]
                for sy in range(SAMPLES):
                    for sx in range(SAMPLES):
                        x = (px + (sx + 0.5) / SAMPLES) / FLAG_W * 1.5
                        y = (py + (sy + 0.5) / SAMPLES) / FLAG_H
                        c = flag(x, y)
                        for k in range(3):
                            acc[k] += c[k]
                pixels[FLAG_Y + py][FLAG_X + px] = tuple(round(a / SAMPLES ** 2) for a in acc)
        # A thin dark frame keeps white flags apart from the page.
        for px in range(FLAG_X - 1, FLAG_X + FLAG_W + 1):
            pixels[FLAG_Y - 1][px] = pixels[FLAG_Y + FLAG_H][px] = (64, 64, 64)
        for py in range(FLAG_Y - 1, FLAG_Y + FLAG_H + 1):
            pixels[py][FLAG_X - 1] = pixels[py][FLAG_X + FLAG_W] = (64, 64, 64)
    x0 = (WIDTH - 6 * len(name) + 1) // 2
    for i, ch in enumerate(name):
        for row, bits in enumerate(FONT[ch]):
            for col, bit in enumerate(bits):
                if bit == "#":
                    pixels[TEXT_Y + row][x0 + 6 * i + col] = BLACK
    return pixels


def rle8_line(line):
    """One row in BI_RLE8: runs of two or more as (count, index); other pixels
    in absolute runs of three or more (0, count, indexes, padded to a word),
    or as runs of one when fewer; the row ends with (0, 0)."""
    out = bytearray()
    i = 0
    while i < len(line):
        run = 1
        while i + run < len(line) and run < 255 and line[i + run] == line[i]:
            run += 1
        if run >= 2:
            out += bytes((run, line[i]))
            i += run
            continue
        end = i
        while end < len(line) and end - i < 255 and not (end + 1 < len(line) and line[end] == line[end + 1]):
            end += 1
        literal = line[i:end]
        if len(literal) >= 3:
            out += bytes((0, len(literal))) + literal + b"\0" * (len(literal) % 2)
        else:
            for index in literal:
                out += bytes((1, index))
        i = end
    return out + b"\0\0"


def bmp(pixels):
    palette = {}
    for row in pixels:
        for colour in row:
            palette.setdefault(colour, len(palette))
    if len(palette) > 256:
        raise SystemExit("make_flags.py: a flag uses more than 256 colours")
    body = bytearray()
    for row in reversed(pixels):
        body += rle8_line(bytes(palette[colour] for colour in row))
    body += b"\0\1"  # the end of the bitmap
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    offset = 54 + len(colours)
    header = struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, 1, len(body), 2835, 2835, len(palette), 0)
    return header + info + colours + bytes(body)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    sys.dont_write_bytecode = True  # keep the source tree clean
    sys.path.insert(0, os.path.dirname(here))
    from write_or_check import write_or_check
    write_or_check({os.path.join(here, resource + ".bmp"): bmp(draw(name, flag))
                    for resource, name, flag in FLAGS + [("BM_LANG_NONE", "", None)]}, "make_flags.py")


main()

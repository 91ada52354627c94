#!/usr/bin/env python3
"""Draws the pictures of the copy-progress and change-disk windows and puts
them into the windows' forms.

- UNZIPIMAGE.bmp (48 x 48): a document coming out of an archive box into a
  folder: TCopyFileForm's UnZipImage, shown while files are processed;
- TRANSFER.bmp (48 x 48): a globe sending a document to a computer:
  TCopyFileForm's TransferBitmap, shown while a download is reported;
- CHANGEDISK.bmp (64 x 64): a floppy disk going into a drive:
  TChangeDiskForm's ThemeBitmap.

Each is an 8-bit BMP with a palette of the colours it uses, drawn from simple
shapes on a tile of its own (a vertical gradient in a dark frame), so it
needs no transparent colour on any face colour of the system. The script
writes the bitmaps next to itself and the same bytes as the Picture.Data of
the images in src/resources/forms/TCOPYFILEFORM.txt and TCHANGEDISKFORM.txt
(the forms carry their pictures, as a designed form does). Nothing is read
from elsewhere but those two forms, whose Picture.Data blocks it replaces.

usage: make_pictures.py          write the bitmaps and the forms' pictures
       make_pictures.py --check  fail when a written file differs
"""
import os
import re
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.dirname(HERE))
from write_or_check import write_or_check  # noqa: E402

FORMS = os.path.join(os.path.dirname(HERE), "forms")

FRAME = (64, 64, 96)
SKY_TOP, SKY_BOTTOM = (236, 242, 255), (168, 192, 236)
WHITE, BLACK = (255, 255, 255), (0, 0, 0)
PAPER_LINE = (120, 140, 180)
FOLDER, FOLDER_DARK = (250, 206, 80), (196, 146, 32)
BOX, BOX_DARK = (178, 124, 70), (120, 80, 40)
GREEN, GREEN_DARK = (40, 170, 70), (20, 110, 40)
SEA, LAND = (40, 110, 200), (70, 170, 80)
SCREEN, CASE = (30, 60, 110), (200, 200, 208)
DISK, DISK_DARK = (40, 50, 120), (20, 26, 70)
SHUTTER, LABEL = (196, 200, 212), (250, 250, 240)
DRIVE, SLOT = (150, 150, 160), (40, 40, 48)


class Canvas:
    def __init__(self, size):
        self.size = size
        self.px = [[None] * size for _ in range(size)]
        for y in range(size):
            t = y / (size - 1)
            c = tuple(round(a + (b - a) * t) for a, b in zip(SKY_TOP, SKY_BOTTOM))
            # The gradient in steps of 4 rows keeps the palette small.
            t = (y // 4 * 4) / (size - 1)
            c = tuple(round(a + (b - a) * t) for a, b in zip(SKY_TOP, SKY_BOTTOM))
            for x in range(size):
                self.px[y][x] = c
        self.rect(0, 0, size - 1, 0, FRAME)
        self.rect(0, size - 1, size - 1, size - 1, FRAME)
        self.rect(0, 0, 0, size - 1, FRAME)
        self.rect(size - 1, 0, size - 1, size - 1, FRAME)

    def put(self, x, y, c):
        if 1 <= x < self.size - 1 and 1 <= y < self.size - 1:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                if 0 <= x < self.size and 0 <= y < self.size:
                    self.px[y][x] = c

    def box(self, x0, y0, x1, y1, fill, edge):
        self.rect(x0, y0, x1, y1, edge)
        self.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, fill)

    def disc(self, cx, cy, r, c, inside=None):
        for y in range(self.size):
            for x in range(self.size):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r and (inside is None or inside(x, y)):
                    self.put(x, y, c)

    def polygon(self, points, c):
        for y in range(self.size):
            for x in range(self.size):
                inside = False
                j = len(points) - 1
                for i in range(len(points)):
                    (xi, yi), (xj, yj) = points[i], points[j]
                    if (yi > y + 0.5) != (yj > y + 0.5):
                        if x + 0.5 < (xj - xi) * (y + 0.5 - yi) / (yj - yi) + xi:
                            inside = not inside
                    j = i
                if inside:
                    self.put(x, y, c)

    def arrow_down(self, cx, top, bottom, half, fill, edge):
        head = bottom - half - 2
        self.polygon([(cx - half // 2, top), (cx + half // 2 + 1, top), (cx + half // 2 + 1, head),
                      (cx + half + 1, head), (cx + 0.5, bottom + 1), (cx - half, head), (cx - half // 2, head)], edge)
        self.polygon([(cx - half // 2 + 1, top + 1), (cx + half // 2, top + 1), (cx + half // 2, head + 1),
                      (cx + half - 1, head + 1), (cx + 0.5, bottom - 1), (cx - half + 2, head + 1),
                      (cx - half // 2 + 1, head + 1)], fill)

    def arrow_up(self, cx, top, bottom, half, fill, edge):
        flip = top + bottom
        for pts, c in self._arrow_down_shapes(cx, top, bottom, half, fill, edge):
            self.polygon([(x, flip - y + 1) for x, y in pts], c)

    def _arrow_down_shapes(self, cx, top, bottom, half, fill, edge):
        head = bottom - half - 2
        return [([(cx - half // 2, top), (cx + half // 2 + 1, top), (cx + half // 2 + 1, head),
                  (cx + half + 1, head), (cx + 0.5, bottom + 1), (cx - half, head), (cx - half // 2, head)], edge),
                ([(cx - half // 2 + 1, top + 1), (cx + half // 2, top + 1), (cx + half // 2, head + 1),
                  (cx + half - 1, head + 1), (cx + 0.5, bottom - 1), (cx - half + 2, head + 1),
                  (cx - half // 2 + 1, head + 1)], fill)]

    def arrow_right(self, left, right, cy, half, fill, edge):
        head = right - half - 2
        self.polygon([(left, cy - half // 2), (head, cy - half // 2), (head, cy - half), (right + 1, cy + 0.5),
                      (head, cy + half + 1), (head, cy + half // 2 + 1), (left, cy + half // 2 + 1)], edge)
        self.polygon([(left + 1, cy - half // 2 + 1), (head + 1, cy - half // 2 + 1), (head + 1, cy - half + 2),
                      (right - 1, cy + 0.5), (head + 1, cy + half - 1), (head + 1, cy + half // 2),
                      (left + 1, cy + half // 2)], fill)

    def document(self, x0, y0, w, h):
        self.box(x0, y0, x0 + w - 1, y0 + h - 1, WHITE, BLACK)
        for y in range(y0 + 3, y0 + h - 2, 3):
            self.rect(x0 + 3, y, x0 + w - 4, y, PAPER_LINE)

    def bmp(self):
        colours = sorted({c for row in self.px for c in row})
        assert len(colours) <= 256, len(colours)
        index = {c: i for i, c in enumerate(colours)}
        stride = (self.size + 3) // 4 * 4
        rows = b""
        for y in range(self.size - 1, -1, -1):
            row = bytes(index[c] for c in self.px[y])
            rows += row + b"\0" * (stride - self.size)
        palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)
        info = struct.pack("<IiiHHIIiiII", 40, self.size, self.size, 1, 8, 0, len(rows), 2835, 2835,
                           len(colours), len(colours))
        offset = 14 + len(info) + len(palette)
        return b"BM" + struct.pack("<IHHI", offset + len(rows), 0, 0, offset) + info + palette + rows


def unzip_image():
    c = Canvas(48)
    # The archive box, open at the top.
    c.box(6, 30, 41, 44, BOX, BOX_DARK)
    c.rect(6, 35, 41, 36, BOX_DARK)
    c.polygon([(6, 30), (2, 24), (14, 24), (17, 30)], BOX_DARK)
    c.polygon([(41, 30), (45, 24), (33, 24), (30, 30)], BOX_DARK)
    # The document rising out of it, and the arrow that takes it out.
    c.document(15, 6, 16, 22)
    c.arrow_up(37, 4, 21, 5, GREEN, GREEN_DARK)
    return c.bmp()


def transfer_image():
    c = Canvas(48)
    # The globe, top left.
    c.disc(14, 14, 10, BLACK)
    c.disc(14, 14, 9, SEA)

    def land(x, y):
        return (x - 10) ** 2 + (y - 11) ** 2 <= 14 or (x - 18) ** 2 + (y - 18) ** 2 <= 10 or (
            x - 19 <= 0 and x >= 16 and 7 <= y <= 10)
    c.disc(14, 14, 9, LAND, land)
    # The computer, bottom right: a monitor on a stand.
    c.box(25, 24, 44, 38, CASE, BLACK)
    c.box(28, 27, 41, 35, SCREEN, BLACK)
    c.rect(33, 39, 36, 41, CASE)
    c.box(28, 42, 41, 44, CASE, BLACK)
    # The document on its way, and the arrow from the globe to the screen.
    c.document(4, 29, 11, 14)
    c.arrow_right(16, 23, 36, 4, GREEN, GREEN_DARK)
    return c.bmp()


def change_disk_image():
    c = Canvas(64)
    # The drive: a slot in a grey face, bottom of the tile.
    c.box(4, 46, 59, 59, DRIVE, BLACK)
    c.rect(12, 51, 51, 53, SLOT)
    c.rect(50, 56, 54, 57, GREEN)
    # The disk, going in: its body with the notched corner, shutter and label.
    c.polygon([(16, 4), (45, 4), (48, 7), (48, 42), (16, 42)], BLACK)
    c.polygon([(17, 5), (44.5, 5), (47, 7.5), (47, 41), (17, 41)], DISK)
    c.box(24, 5, 40, 16, SHUTTER, DISK_DARK)
    c.rect(34, 7, 37, 14, DISK_DARK)
    c.box(20, 22, 44, 41, LABEL, DISK_DARK)
    for y in (27, 31, 35):
        c.rect(23, y, 41, y, PAPER_LINE)
    c.arrow_down(55, 8, 40, 4, GREEN, GREEN_DARK)
    return c.bmp()


PICTURES = {
    "UNZIPIMAGE.bmp": unzip_image,
    "TRANSFER.bmp": transfer_image,
    "CHANGEDISK.bmp": change_disk_image,
}
# form file, image object name, picture file
PLACES = [
    ("TCOPYFILEFORM.txt", "UnZipImage", "UNZIPIMAGE.bmp"),
    ("TCOPYFILEFORM.txt", "TransferBitmap", "TRANSFER.bmp"),
    ("TCHANGEDISKFORM.txt", "ThemeBitmap", "CHANGEDISK.bmp"),
]


def picture_data(bmp, indent):
    """The Picture.Data block of a TImage: TBitmap's class name, the byte count, the file."""
    data = b"\x07TBitmap" + struct.pack("<I", len(bmp)) + bmp
    hexed = data.hex().upper()
    lines = [hexed[i:i + 64] for i in range(0, len(hexed), 64)]
    pad = " " * (indent + 2)
    return "Picture.Data = {\n" + "\n".join(pad + line for line in lines) + "}"


def place(text, name, bmp):
    """Replaces (or adds after the object line) the Picture.Data of object `name` in a form's text."""
    m = re.search(r"^( *)object %s: TImage\n" % re.escape(name), text, re.M)
    if not m:
        sys.exit("no TImage %s in the form" % name)
    indent = len(m.group(1)) + 2
    start = m.end()
    end = text.index("\n" + m.group(1) + "end\n", start)
    body = text[start:end]
    block = " " * indent + picture_data(bmp, indent)
    if "Picture.Data = {" in body:
        body = re.sub(r" *Picture\.Data = \{[^}]*\}", lambda _: block, body, count=1)
    else:
        body = body + "\n" + block
    return text[:start] + body + text[end:]


def main():
    outputs = {}
    bitmaps = {name: draw() for name, draw in PICTURES.items()}
    for name, bmp in bitmaps.items():
        outputs[os.path.join(HERE, name)] = bmp
    texts = {}
    for form, image, picture in PLACES:
        path = os.path.join(FORMS, form)
        if path not in texts:
            with open(path, "rb") as f:
                texts[path] = f.read().decode("latin-1")
        texts[path] = place(texts[path], image, bitmaps[picture])
    for path, text in texts.items():
        outputs[path] = text.encode("latin-1")
    write_or_check(outputs, "src/resources/pictures/make_pictures.py")


if __name__ == "__main__":
    main()

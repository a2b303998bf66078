#!/usr/bin/env python3
"""Draws the program's bitmaps and writes them as PNG files into resources/.

    python3 tools/make_artwork.py [output-dir]

Every picture is plain pixel art on a white ground: the program treats pure
white (255,255,255) as transparent in the glyph strip and the button
bitmaps, so no edge is blended with white (that would leave a light halo on
dark skins). Near-white (250..254) is used where a light colour must stay
opaque. Only the program icon carries an alpha channel.

Outputs:
  F1_IMAGELIST1.png    144 x 16, nine 16 x 16 glyphs of the title strip:
                       0 mode (compact), 1 mode (full), 2 menu, 3-5 close
                       (rest, under the mouse, pressed), 6-8 minimize
  BTN*_BITMAP.png,     16 x 16 tool bar glyphs
  BB*_BITMAP.png
  MAINICON.png         32 x 32 program icon, RGBA
  *@2x.png             the glyph strip and the tool bar glyphs at twice the
                       size, for scales of 1.5 and more: each 16 x 16 tile
                       enlarged by Scale2x, which rounds the stairs of a
                       diagonal instead of doubling them and brings in no
                       colour the tile lacks (so white stays the mask)
"""

import math
import os
import struct
import sys
import zlib

WHITE = (255, 255, 255)


class Canvas:
    def __init__(self, width, height, ground=WHITE, alpha=False):
        self.w, self.h, self.alpha = width, height, alpha
        fill = ground + ((0,) if alpha else ())
        self.px = [[fill for _ in range(width)] for _ in range(height)]

    def set(self, x, y, color):
        if 0 <= x < self.w and 0 <= y < self.h:
            if self.alpha and len(color) == 3:
                color = color + (255,)
            self.px[y][x] = color

    def get(self, x, y):
        return self.px[y][x]

    def rect(self, x0, y0, x1, y1, color):
        """Fills x0..x1, y0..y1 inclusive."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, color)

    def shape(self, inside, color):
        """Lights every pixel whose centre passes inside(cx, cy)."""
        for y in range(self.h):
            for x in range(self.w):
                if inside(x + 0.5, y + 0.5):
                    self.set(x, y, color)

    def line(self, x0, y0, x1, y1, color, width=1):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = round(x0 + (x1 - x0) * i / steps)
            y = round(y0 + (y1 - y0) * i / steps)
            for dx in range(width):
                self.set(x + dx, y, color)

    def blit(self, other, ox, oy):
        for y in range(other.h):
            for x in range(other.w):
                self.set(ox + x, oy + y, other.get(x, y))

    def png(self):
        channels = 4 if self.alpha else 3
        raw = bytearray()
        for row in self.px:
            raw.append(0)
            for p in row:
                raw.extend(p[:channels])
        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
        header = struct.pack(">IIBBBBB", self.w, self.h, 8, 6 if self.alpha else 2, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def scale2x(canvas, tile=16):
    """Scale2x (EPX), tile by tile: a pixel becomes four, each taking the
    colour of the two neighbours it lies between where they agree (and the
    other two differ), else its own. Neighbours beyond the tile are the
    pixel itself, so no tile bleeds into the next."""
    out = Canvas(canvas.w * 2, canvas.h * 2)
    for y in range(canvas.h):
        for x in range(canvas.w):
            p = canvas.get(x, y)
            tx, ty = x // tile * tile, y // tile * tile

            def at(nx, ny):
                if tx <= nx < tx + tile and ty <= ny < ty + tile and nx < canvas.w and ny < canvas.h:
                    return canvas.get(nx, ny)
                return p
            a, b, c, d = at(x, y - 1), at(x + 1, y), at(x - 1, y), at(x, y + 1)
            e0 = a if c == a and c != d and a != b else p
            e1 = b if a == b and a != c and b != d else p
            e2 = c if d == c and d != b and c != a else p
            e3 = d if b == d and b != a and d != c else p
            out.set(2 * x, 2 * y, e0)
            out.set(2 * x + 1, 2 * y, e1)
            out.set(2 * x, 2 * y + 1, e2)
            out.set(2 * x + 1, 2 * y + 1, e3)
    return out


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


# --- Title strip glyphs -------------------------------------------------------

def rounded_box(c, top, bottom, border):
    """A 14 x 14 square at (1,1) with softened corners and a vertical shade."""
    for y in range(1, 15):
        fill = mix(top, bottom, (y - 1) / 13)
        for x in range(1, 15):
            edge = x in (1, 14) or y in (1, 14)
            c.set(x, y, border if edge else fill)
    soft = mix(border, top, 0.5)
    for x, y in ((1, 1), (14, 1), (1, 14), (14, 14)):
        c.set(x, y, WHITE)
    for x, y in ((2, 1), (1, 2), (13, 1), (14, 2), (1, 13), (2, 14), (14, 13), (13, 14)):
        c.set(x, y, soft)
    # A light line under the top edge gives the box its glass look.
    for x in range(3, 13):
        c.set(x, 2, mix(top, (255, 255, 255), 0.45))


def cross(c, core, rim):
    """A diagonal cross two pixels thick from (4,4) to (11,11)."""
    for i in range(4, 12):
        c.set(i, i, core)
        c.set(15 - i, i, core)
        if i < 11:
            c.set(i + 1, i, rim)
            c.set(14 - i, i, rim)


def glyph_strip():
    strip = Canvas(144, 16)
    blue = ((120, 165, 230), (55, 95, 175), (35, 60, 120))
    blue_hot = ((165, 200, 245), (90, 135, 215), (50, 85, 155))
    blue_down = ((70, 105, 170), (35, 60, 120), (25, 40, 85))

    def tile(index, draw):
        c = Canvas(16, 16)
        draw(c)
        strip.blit(c, index * 16, 0)

    def mode_glyph(down):
        def draw(c):
            rounded_box(c, *blue)
            rows = ((4, 0), (5, 1), (6, 2), (7, 3)) if down else ((4, 3), (5, 2), (6, 1), (7, 0))
            for offset in (0, 4):
                for x, dy in rows:
                    y = 4 + offset + dy
                    c.set(x, y, WHITE)
                    c.set(15 - x, y, WHITE)
                    c.set(x + 1, y, WHITE)
                    c.set(14 - x, y, WHITE)
        return draw

    def menu(c):
        rounded_box(c, *blue)
        for y in (5, 8, 11):
            c.rect(4, y, 11, y + 1, WHITE)

    def close(colors, core, rim):
        def draw(c):
            rounded_box(c, *colors)
            cross(c, core, rim)
        return draw

    def minimize(colors, bar):
        def draw(c):
            rounded_box(c, *colors)
            c.rect(4, 10, 11, 11, bar)
        return draw

    red = ((240, 105, 85), (185, 35, 25), (130, 15, 10))
    red_hot = ((255, 165, 145), (230, 80, 60), (170, 40, 30))
    red_down = ((165, 35, 25), (110, 15, 10), (80, 5, 5))

    tile(0, mode_glyph(True))
    tile(1, mode_glyph(False))
    tile(2, menu)
    tile(3, close(red, WHITE, WHITE))
    tile(4, close(red_hot, WHITE, WHITE))
    tile(5, close(red_down, (214, 178, 140), (240, 175, 190)))
    tile(6, minimize(blue, WHITE))
    tile(7, minimize(blue_hot, WHITE))
    tile(8, minimize(blue_down, (205, 215, 235)))
    return strip


# --- Tool bar buttons ---------------------------------------------------------

INK = (40, 48, 70)


def disc(c, cx, cy, r, color):
    c.shape(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, color)


def ring(c, cx, cy, r0, r1, color):
    c.shape(lambda x, y: r0 * r0 <= (x - cx) ** 2 + (y - cy) ** 2 <= r1 * r1, color)


def find_button():
    c = Canvas(16, 16)
    disc(c, 6.5, 6.5, 4.2, (200, 225, 250))
    ring(c, 6.5, 6.5, 4.2, 5.6, (50, 70, 110))
    c.set(4, 4, (250, 252, 254))
    c.set(5, 4, (250, 252, 254))
    c.set(4, 5, (250, 252, 254))
    for i in range(5):
        c.rect(10 + i, 10 + i, 11 + i, 11 + i, (120, 75, 35))
    return c


def add_button():
    c = Canvas(16, 16)
    paper = (252, 252, 246)
    c.rect(2, 1, 11, 14, (110, 110, 120))
    c.rect(3, 2, 10, 13, paper)
    for y in (4, 6, 8):
        c.rect(4, y, 9, y, (150, 160, 180))
    green, dark = (40, 160, 60), (20, 100, 35)
    c.rect(8, 10, 14, 12, dark)
    c.rect(10, 8, 12, 14, dark)
    c.rect(9, 11, 13, 11, green)
    c.rect(11, 9, 11, 13, green)
    return c


def letter_disc(glyph_rows, color):
    c = Canvas(16, 16)
    disc(c, 8, 8, 7.2, color)
    ring(c, 8, 8, 6.4, 7.2, mix(color, (0, 0, 0), 0.35))
    light = (252, 252, 252)
    for y, row in enumerate(glyph_rows):
        for x, ch in enumerate(row):
            if ch == "#":
                c.set(5 + x, 3 + y, light)
    return c


def info_button():
    return letter_disc([
        "..##..",
        "..##..",
        "......",
        ".###..",
        "..##..",
        "..##..",
        "..##..",
        "..##..",
        ".####.",
    ], (45, 110, 200))


def question_button():
    return letter_disc([
        ".####.",
        "##..##",
        "....##",
        "...##.",
        "..##..",
        "..##..",
        "......",
        "..##..",
        "..##..",
    ], (40, 140, 150))


def settings_button():
    c = Canvas(16, 16)
    body, edge = (150, 155, 165), (70, 75, 90)

    def gear(x, y):
        dx, dy = x - 8, y - 8
        r = math.hypot(dx, dy)
        a = math.atan2(dy, dx)
        tooth = math.cos(8 * a) > 0.1
        return 2.4 < r <= (7.3 if tooth else 5.4)

    c.shape(gear, edge)
    c.shape(lambda x, y: 3.3 < math.hypot(x - 8, y - 8) <= 4.6, body)
    return c


def clipboard_button():
    c = Canvas(16, 16)
    c.rect(2, 2, 13, 15, (120, 80, 40))
    c.rect(3, 3, 12, 14, (170, 120, 65))
    c.rect(4, 4, 11, 13, (252, 252, 246))
    for y in (7, 9, 11):
        c.rect(5, y, 10, y, (150, 160, 180))
    c.rect(5, 1, 10, 4, (80, 85, 95))
    c.rect(6, 2, 9, 3, (190, 195, 205))
    return c


def phrase_button():
    c = Canvas(16, 16)
    fill, ink = (255, 240, 170), (150, 110, 20)
    c.shape(lambda x, y: ((x - 8) / 7.3) ** 2 + ((y - 6.5) / 5.3) ** 2 <= 1, ink)
    c.shape(lambda x, y: ((x - 8) / 6.2) ** 2 + ((y - 6.5) / 4.3) ** 2 <= 1, fill)
    for i in range(4):
        c.rect(4 - i // 2, 11 + i, 5 - i // 2, 11 + i, ink)
    c.rect(5, 5, 11, 5, (120, 100, 60))
    c.rect(4, 7, 12, 7, (120, 100, 60))
    return c


def related_button():
    c = Canvas(16, 16)
    ink = (60, 70, 95)
    c.rect(2, 2, 5, 5, (45, 110, 200))
    c.rect(7, 3, 14, 4, ink)
    c.rect(3, 6, 3, 13, ink)
    c.rect(3, 8, 6, 8, ink)
    c.rect(3, 12, 6, 12, ink)
    c.rect(7, 7, 10, 10, (40, 160, 60))
    c.rect(11, 8, 14, 9, ink)
    c.rect(7, 11, 10, 14, (40, 160, 60))
    c.rect(11, 12, 14, 13, ink)
    return c


# --- Program icon -------------------------------------------------------------

def program_icon():
    c = Canvas(32, 32, ground=(0, 0, 0), alpha=True)
    top, bottom = (95, 150, 230), (25, 65, 150)

    def rounded(x, y, inset=1.0, radius=6.0):
        lo, hi = inset + radius, 32 - inset - radius
        qx = min(max(x, lo), hi)
        qy = min(max(y, lo), hi)
        return (x - qx) ** 2 + (y - qy) ** 2 <= radius * radius

    for y in range(32):
        color = mix(top, bottom, y / 31)
        for x in range(32):
            if rounded(x + 0.5, y + 0.5):
                c.set(x, y, color)
    # An open book: two pages bending down to the spine.
    page, shade, ink = (252, 252, 246), (215, 222, 235), (120, 130, 155)
    for x in range(6, 26):
        d = abs(x + 0.5 - 16)
        top_y = 9 + round(2.5 - d * 0.25) if d < 10 else 9
        for y in range(int(top_y), 25 - (1 if d < 1 else 0)):
            c.set(x, y, page if d > 1.2 else shade)
    for x0, x1 in ((8, 14), (18, 24)):
        for y in (13, 16, 19, 22):
            c.rect(x0, y, x1, y, ink)
    c.rect(15, 9, 16, 24, (90, 100, 130))
    # A red ribbon from the top of the right page.
    c.rect(21, 7, 22, 14, (205, 40, 40))
    c.set(21, 15, (205, 40, 40))
    c.set(22, 15, (205, 40, 40))
    return c


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "resources")
    files = {
        "F1_IMAGELIST1.png": glyph_strip(),
        "BTNFIND_BITMAP.png": find_button(),
        "BTNADD_BITMAP.png": add_button(),
        "BTNINFO_BITMAP.png": info_button(),
        "BTNQUESTION_BITMAP.png": question_button(),
        "BTNSETTING_BITMAP.png": settings_button(),
        "BBCLIPBOARD_BITMAP.png": clipboard_button(),
        "BBADD_BITMAP.png": phrase_button(),
        "BBREL_BITMAP.png": related_button(),
        "MAINICON.png": program_icon(),
    }
    for name, canvas in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(canvas.png())
        if name != "MAINICON.png":
            with open(os.path.join(out, name.replace(".png", "@2x.png")), "wb") as f:
                f.write(scale2x(canvas).png())


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Draws the skins delivered with the tool and the application icon.

    python3 skins/make_skins.py            writes skins/<name>/*.png, skins/TarnixMouseApp.ico and skins/tarnix-q8.png

Every image has exactly the size of the rectangle that draws it (control faces) or holds every
control of its window (backgrounds); the positions below are the fixed layout of the windows, the
same for every skin. Each image is also written at twice the size (NAME@2x.png), drawn from the
same shapes, for displays scaled above 100 %. A skin is one colour theme; add one to THEMES to make another."""

import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from skinlib import (Image, circle, clamp, ellipse, encode_ico, hex_colour, inset, mix,  # noqa: E402
                     polygon, ring, rounded_box, segment)

HERE = os.path.dirname(os.path.abspath(__file__))

THEMES = {
    "Default": dict(accent=0xE8283C, accent_hi=0xFF7A5C, base=0x121419, deep=0x08090C,
                    panel=0x171A20, edge=0x2D323C, metal=0xC9CED6),
    "Cobalt": dict(accent=0x2A93FF, accent_hi=0x5FE3FF, base=0x0F141C, deep=0x06080C,
                   panel=0x141A23, edge=0x27313F, metal=0xC4CCD8),
}

MAIN_SIZE = (876, 648)
DIALOG_SIZE = (384, 316)
PROFILES_SIZE = (560, 420)


class Theme:
    def __init__(self, colours):
        for key, value in colours.items():
            setattr(self, key, hex_colour(value))

    def accent_a(self, alpha):
        return (*self.accent[:3], alpha)


def shade(colour, k):
    return tuple(clamp(c * k) for c in colour[:3]) + (colour[3] if len(colour) == 4 else 1.0,)


def vertical(top, bottom, y0, y1):
    return lambda x, y: mix(top, bottom, clamp((y - y0) / max(y1 - y0, 1)))


# --- control faces ------------------------------------------------------------------------------

def button(t, over):
    img = Image(105, 21)
    body = rounded_box(0.5, 0.5, 104.5, 20.5, 3.5)
    if over:
        img.fill(body, vertical(shade(t.accent, 0.62), shade(t.accent, 0.30), 0, 21))
        img.fill(ring(body, 1.0), t.accent_hi[:3] + (0.9,))
        img.fill(segment(6, 2.2, 99, 2.2, 1.0), (1, 1, 1, 0.22))
    else:
        img.fill(body, vertical(hex_colour(0x2C3039), hex_colour(0x181B21), 0, 21))
        img.fill(ring(body, 1.0), t.edge)
        img.fill(segment(6, 2.2, 99, 2.2, 1.0), (1, 1, 1, 0.07))
    return img


def dropdown(t, over):
    img = Image(211, 21)
    body = rounded_box(0.5, 0.5, 210.5, 20.5, 3)
    img.fill(body, vertical(hex_colour(0x0E1014), hex_colour(0x16191F), 0, 21))
    cell = rounded_box(1.5, 1.5, 20, 19.5, 2)
    img.fill(cell, shade(t.accent, 0.45) if over else hex_colour(0x222630))
    img.fill(segment(20.5, 2, 20.5, 19, 1.0), t.edge)
    arrow_colour = t.accent_hi if over else hex_colour(0x9AA2AE)
    img.fill(polygon([(194, 8), (204, 8), (199, 14)]), arrow_colour)
    img.fill(segment(186.5, 4, 186.5, 17, 1.0), (1, 1, 1, 0.06))
    img.fill(ring(body, 1.0), t.accent if over else t.edge)
    if over:
        img.fill(inset(ring(body, 1.0), 1.0), t.accent_a(0.25))
    return img


def slider(t, light):
    img = Image(70, 11)
    groove = rounded_box(0.5, 3.5, 69.5, 7.5, 2)
    img.fill(groove, hex_colour(0x07080A))
    img.fill(ring(groove, 1.0), t.edge)
    if light:
        img.fill(rounded_box(1.5, 4, 68.5, 7, 1.5), vertical(t.accent_hi, t.accent, 4, 7))
        img.glow(rounded_box(4, 4.5, 66, 6.5, 1), t.accent_a(1.0), 1.6, 0.35)
        img.fill(circle(35, 5.5, 5), vertical(hex_colour(0xFFFFFF), t.accent_hi, 0, 11))
        img.fill(ring(circle(35, 5.5, 5), 1.0), shade(t.accent, 0.8))
    else:
        img.fill(circle(35, 5.5, 1.6), hex_colour(0x59606C))
    return img


def window_button(t, over, glyph):
    img = Image(18, 18)
    body = rounded_box(0.5, 0.5, 17.5, 17.5, 3.5)
    if over:
        img.fill(body, vertical(t.accent_hi if glyph == "close" else shade(t.accent, 0.8),
                                t.accent if glyph == "close" else shade(t.accent, 0.45), 0, 18))
        ink = hex_colour(0xFFFFFF)
    else:
        img.fill(body, vertical(hex_colour(0x272B33), hex_colour(0x1A1D23), 0, 18))
        img.fill(ring(body, 1.0), t.edge)
        ink = hex_colour(0xB4BBC6)
    if glyph == "close":
        img.fill(segment(5.5, 5.5, 12.5, 12.5, 1.7), ink)
        img.fill(segment(12.5, 5.5, 5.5, 12.5, 1.7), ink)
    elif glyph == "min":
        img.fill(segment(5, 12, 13, 12, 1.8), ink)
    else:  # skins: four swatches
        tones = [t.accent, hex_colour(0xE6E9EE), hex_colour(0x6B7380), t.accent_hi]
        if not over:
            tones = [t.accent, ink, shade(ink, 0.55), shade(t.accent_hi, 0.8)]
        for i, (x, y) in enumerate([(4.5, 4.5), (9.5, 4.5), (4.5, 9.5), (9.5, 9.5)]):
            img.fill(rounded_box(x, y, x + 4, y + 4, 1), tones[i])
    return img


def previous_page(t, over):
    img = Image(40, 40)
    disc = circle(20, 20, 17.5)
    if over:
        img.glow(circle(20, 20, 17), t.accent_a(1.0), 1.5, 0.5)
    img.fill(disc, vertical(hex_colour(0x2A2E37), hex_colour(0x15181D), 2, 38))
    img.fill(ring(disc, 1.4), t.accent if over else t.edge)
    ink = hex_colour(0xFFFFFF) if over else hex_colour(0xAEB5C0)
    img.fill(segment(22.5, 12.5, 15, 20, 3), ink)
    img.fill(segment(15, 20, 22.5, 27.5, 3), ink)
    return img


# --- backgrounds ----------------------------------------------------------------------------------

def backdrop(t, w, h):
    img = Image(w, h, t.deep)
    top, bottom = t.base, t.deep

    def paint(x, y):
        c = mix(top, bottom, clamp(y / h) ** 0.8)
        # Fine diagonal lines give the dark surface a brushed texture.
        if (int(x) + int(y)) % 6 == 0:
            c = mix(c, (1, 1, 1), 0.018)
        return c
    img.fill(rounded_box(0, 0, w, h, 0), paint)
    return img


def emblem(img, t, cx, cy, r):
    hexagon = [(cx + r * math.cos(math.radians(a)), cy + r * math.sin(math.radians(a)))
               for a in range(-90, 270, 60)]
    img.fill(polygon(hexagon), vertical(shade(t.accent, 0.9), shade(t.accent, 0.45), cy - r, cy + r))
    inner = [(cx + (x - cx) * 0.62, cy + (y - cy) * 0.62) for x, y in hexagon]
    img.fill(polygon(inner), t.deep)
    img.fill(ellipse(cx, cy + r * 0.05, r * 0.24, r * 0.36), t.metal)
    img.fill(segment(cx, cy - r * 0.31, cx, cy - r * 0.05, max(r * 0.06, 0.8)), t.deep)


def title_bar(img, t, w, height):
    img.fill(rounded_box(0, 0, w, height, 0), vertical(hex_colour(0x1D2027), hex_colour(0x101216), 0, height))
    img.fill(segment(0, height + 0.5, w, height + 0.5, 1.0), t.edge)
    img.fill(polygon([(0, height - 1.5), (w * 0.42, height - 1.5), (w * 0.42 - 8, height + 1.5),
                      (0, height + 1.5)]), t.accent)
    img.glow(segment(0, height, w * 0.40, height, 1), t.accent_a(1.0), 3, 0.25)
    emblem(img, t, 18, height / 2, height * 0.36)


def frame(img, t, w, h):
    img.fill(ring(rounded_box(0.5, 0.5, w - 0.5, h - 0.5, 0), 1.0), t.edge)


def bake(img, face, x, y):
    img.draw(face, x, y)


def mouse_art(img, t, cx, top):
    """A top view of the mouse in the left column of the main window."""
    body = ellipse(cx, top + 200, 78, 190)
    img.glow(body, t.accent_a(1.0), 10, 0.12)
    img.fill(body, lambda x, y: mix(hex_colour(0x2A2E36), hex_colour(0x0C0E11),
                                    clamp((y - top) / 380 + abs(x - cx) / 260)))
    img.fill(ring(body, 2.0), shade(t.accent, 0.9))
    img.fill(segment(cx, top + 14, cx, top + 150, 2), t.deep)
    img.fill(segment(cx - 76, top + 150, cx + 76, top + 150, 1.5), (0, 0, 0, 0.5))
    img.fill(rounded_box(cx - 7, top + 60, cx + 7, top + 110, 6), hex_colour(0x101216))
    for i in range(5):
        y = top + 66 + i * 9
        img.fill(segment(cx - 4, y, cx + 4, y, 1.6), shade(t.metal, 0.55))
    img.glow(rounded_box(cx - 5, top + 62, cx + 5, top + 108, 5), t.accent_a(1.0), 3, 0.35)
    for y in (top + 175, top + 212):
        img.fill(rounded_box(cx - 82, y, cx - 74, y + 30, 3), hex_colour(0x3A3F49))
    img.fill(rounded_box(cx - 4, top + 122, cx + 4, top + 140, 2), t.accent)
    emblem(img, t, cx, top + 265, 20)
    img.fill(segment(cx - 46, top + 330, cx + 46, top + 330, 2), t.accent_a(0.55))


def section(img, t, x0, y0, x1, y1, caption):
    box = rounded_box(x0, y0, x1, y1, 6)
    img.fill(box, vertical(shade(t.panel, 1.15), t.panel, y0, y1), 0.92)
    img.fill(ring(box, 1.0), t.edge)
    cx0, cy0, cx1, cy1 = caption
    img.fill(polygon([(x0 + 1, cy0 - 3), (cx1 + 18, cy0 - 3), (cx1 + 6, cy1 + 3), (x0 + 1, cy1 + 3)]),
             vertical(hex_colour(0x242830), hex_colour(0x1A1D23), cy0, cy1))
    img.fill(rounded_box(x0 + 1, cy0 - 3, x0 + 4, cy1 + 3, 0), t.accent)
    img.fill(segment(cx1 + 12, cy1 + 3.5, x1 - 10, cy1 + 3.5, 1.0), t.accent_a(0.35))
    for (ax, ay, dx, dy) in ((x1 - 1, y1 - 1, -1, -1),):
        img.fill(segment(ax, ay - 0.5, ax + 14 * dx, ay - 0.5, 1.6), t.accent)
        img.fill(segment(ax - 0.5, ay, ax - 0.5, ay + 14 * dy, 1.6), t.accent)


def well(img, t, x0, y0, x1, y1, arrow=False):
    box = rounded_box(x0 - 1.5, y0 - 1.5, x1 + 1.5, y1 + 1.5, 2.5)
    img.fill(box, hex_colour(0x0A0B0E))
    img.fill(ring(box, 1.0), t.edge)
    if arrow:
        cy = (y0 + y1) / 2
        img.fill(polygon([(x1 - 11, cy - 2.5), (x1 - 3, cy - 2.5), (x1 - 7, cy + 2.5)]),
                 shade(t.accent_hi, 0.9))


def title_plate(img, t):
    img.fill(polygon([(88, 51), (246, 51), (232, 99), (88, 99)]),
             vertical(hex_colour(0xE4E7EC), shade(t.metal, 0.82), 51, 99))
    img.fill(polygon([(88, 96), (233, 96), (232, 99), (88, 99)]), t.accent)
    img.fill(segment(90, 52.5, 244, 52.5, 1.0), (1, 1, 1, 0.8))


def window_base(t, faces):
    w, h = MAIN_SIZE
    img = backdrop(t, w, h)
    title_bar(img, t, w, 30)
    # The bottom bar holds the web link and the OK, Apply and Cancel buttons.
    img.fill(rounded_box(0, 606, w, h, 0), vertical(hex_colour(0x15181D), hex_colour(0x0B0C0F), 606, h))
    img.fill(segment(0, 606, w, 606, 1.0), t.edge)
    img.fill(segment(0, 607, 180, 607, 1.0), t.accent_a(0.6))
    mouse_art(img, t, 130, 150)
    for name, x in (("skins", 701), ("min", 825), ("close", 850)):
        bake(img, faces["button-%s-normal" % ("Skins" if name == "skins" else name)], x, 5)
    frame(img, t, w, h)
    return img


def main_background(t, faces):
    """The window before any mouse is found: a faint emblem waits where the settings will be."""
    img = window_base(t, faces)
    cx, cy = 560, 370
    hexagon = [(cx + 120 * math.cos(math.radians(a)), cy + 120 * math.sin(math.radians(a)))
               for a in range(-90, 270, 60)]
    img.glow(ring(polygon(hexagon), 2), t.accent_a(1.0), 6, 0.18)
    img.fill(ring(polygon(hexagon), 2), t.accent_a(0.5))
    inner = [(cx + (x - cx) * 0.8, cy + (y - cy) * 0.8) for x, y in hexagon]
    img.fill(ring(polygon(inner), 1), (*t.metal[:3], 0.12))
    img.fill(ellipse(cx, cy + 6, 30, 46), (*t.metal[:3], 0.10))
    img.fill(segment(cx, cy - 38, cx, cy - 4, 3), t.deep)
    return img


def page_art(t, faces):
    img = window_base(t, faces)
    title_plate(img, t)
    bake(img, faces["button-PrePage-normal"], 44, 54)
    section(img, t, 240, 148, 476, 590, (259, 160, 364, 181))   # keys and the mode buttons
    section(img, t, 492, 148, 862, 256, (504, 161, 609, 182))   # report rate
    section(img, t, 492, 264, 676, 500, (504, 275, 609, 296))   # DPI stages
    section(img, t, 688, 264, 862, 500, (704, 275, 809, 296))   # lighting
    # Report-rate track: a rail behind the four stops (542 to 828, rows 204 to 215).
    img.fill(rounded_box(536, 208, 834, 211, 1.5), hex_colour(0x050607))
    for x in (541, 613, 685, 757, 829):
        img.fill(segment(x, 200, x, 219, 1.0), t.edge)
    for i in range(6):
        y = 323 + 30 * i
        img.fill(circle(511, y + 8, 8), shade(t.accent, 0.35))
        img.fill(ring(circle(511, y + 8, 8), 1.0), t.accent_a(0.8))
        well(img, t, 548, y, 564, y + 16)
        well(img, t, 575, y, 659, y + 14, arrow=True)
    for y in (331, 361, 391):
        well(img, t, 768, y, 851, y + 14, arrow=True)
        img.fill(segment(700, y + 7, 702, y + 7, 1.0), t.accent_a(0.0))
    # Divider between the key rows and the mode buttons.
    img.fill(segment(256, 510, 460, 510, 1.0), t.edge)
    return img


DIALOG_WELLS = {
    "fire-key": [((82, 69, 165, 85), True), ((83, 104, 164, 118), False),
                 ((83, 138, 164, 152), False), ((83, 172, 164, 186), False)],
    "hot-key": [((42, 128, 151, 144), True)],
    "media-key": [((42, 128, 151, 144), True)],
    "windows-key": [((42, 128, 151, 144), True)],
    "snipe-key": [((42, 105, 151, 121), True)],
    "single-key": [((73, 128, 151, 144), False)],
    "skins": [((42, 128, 151, 144), True), ((42, 94, 151, 110), False)],
}


def dialog_icon(img, t, kind, cx, cy):
    ink = t.accent_a(0.85)
    soft = (*t.metal[:3], 0.22)
    if kind == "fire-key":
        for i in range(3):
            x = cx - 40 + i * 30
            img.fill(polygon([(x, cy - 30), (x + 16, cy - 30), (x + 40, cy), (x + 16, cy + 30),
                              (x, cy + 30), (x + 24, cy)]), ink if i == 2 else soft)
    elif kind in ("hot-key", "single-key"):
        keys = [(cx - 62, cx - 8), (cx + 8, cx + 62)] if kind == "hot-key" else [(cx - 34, cx + 34)]
        for x0, x1 in keys:
            img.fill(rounded_box(x0, cy - 27, x1, cy + 27, 8), soft)
            img.fill(ring(rounded_box(x0, cy - 27, x1, cy + 27, 8), 2.0), ink)
            img.fill(rounded_box(x0 + 7, cy - 21, x1 - 7, cy + 15, 5), (0, 0, 0, 0.35))
        if kind == "hot-key":
            img.fill(segment(cx - 3.5, cy, cx + 3.5, cy, 2.5), ink)
            img.fill(segment(cx, cy - 3.5, cx, cy + 3.5, 2.5), ink)
    elif kind == "media-key":
        img.fill(ring(circle(cx, cy, 42), 3), ink)
        img.fill(polygon([(cx - 14, cy - 22), (cx + 24, cy), (cx - 14, cy + 22)]), soft)
        img.fill(ring(polygon([(cx - 14, cy - 22), (cx + 24, cy), (cx - 14, cy + 22)]), 2), ink)
    elif kind == "windows-key":
        for dx in (-1, 1):
            for dy in (-1, 1):
                x0, y0 = cx + (dx - 1) * 24 + (4 if dx > 0 else -4) // 2, cy + (dy - 1) * 24 + (2 if dy > 0 else -2)
                img.fill(rounded_box(x0, y0, x0 + 44, y0 + 44, 4), ink if dx * dy > 0 else soft)
    elif kind == "snipe-key":
        img.fill(ring(circle(cx, cy, 40), 3), ink)
        img.fill(ring(circle(cx, cy, 20), 1.5), soft)
        for ax, ay, bx, by in ((cx - 52, cy, cx - 10, cy), (cx + 10, cy, cx + 52, cy),
                               (cx, cy - 52, cx, cy - 10), (cx, cy + 10, cx, cy + 52)):
            img.fill(segment(ax, ay, bx, by, 2.2), ink)
        img.fill(circle(cx, cy, 3), t.accent_hi)
    else:  # skins
        for i, (x, y) in enumerate([(-46, -46), (2, -46), (-46, 2), (2, 2)]):
            colour = [t.accent, t.metal, shade(t.metal, 0.45), t.accent_hi][i]
            img.fill(rounded_box(cx + x, cy + y, cx + x + 44, cy + y + 44, 6), (*colour[:3], 0.8))


def dialog_background(t, kind, faces):
    w, h = DIALOG_SIZE
    img = backdrop(t, w, h)
    title_bar(img, t, w, 30)
    panel = rounded_box(12, 40, w - 12, 244, 6)
    img.fill(panel, vertical(shade(t.panel, 1.15), t.panel, 40, 244), 0.9)
    img.fill(ring(panel, 1.0), t.edge)
    dialog_icon(img, t, kind, 282, 150)
    for (x0, y0, x1, y1), arrow in DIALOG_WELLS[kind]:
        well(img, t, x0, y0, x1, y1, arrow)
    img.fill(segment(12, 284.5, w - 12, 284.5, 1.0), t.edge)
    bake(img, faces["button-close-normal"], 352, 6)
    frame(img, t, w, h)
    return img


# The profiles dialog: the profiles on the left, the rules on the right, each list and box in a
# well (the value boxes with the arrow of their drop-down list), Close below.
PROFILES_WELLS = [((24, 68, 262, 226), False), ((84, 233, 262, 253), False),
                  ((298, 68, 536, 186), False), ((370, 194, 536, 212), True),
                  ((298, 308, 536, 326), True)]


def profiles_background(t, faces):
    w, h = PROFILES_SIZE
    img = backdrop(t, w, h)
    title_bar(img, t, w, 30)
    for x0, x1 in ((12, 274), (286, 548)):
        panel = rounded_box(x0, 40, x1, 372, 6)
        img.fill(panel, vertical(shade(t.panel, 1.15), t.panel, 40, 372), 0.9)
        img.fill(ring(panel, 1.0), t.edge)
        # An accent under the panel's caption.
        img.fill(segment(x0 + 12, 65.5, x0 + 96, 65.5, 1.0), t.accent_a(0.55))
    for (x0, y0, x1, y1), arrow in PROFILES_WELLS:
        well(img, t, x0, y0, x1, y1, arrow)
    img.fill(segment(12, 378.5, w - 12, 378.5, 1.0), t.edge)
    bake(img, faces["button-close-normal"], 530, 6)
    frame(img, t, w, h)
    return img


def faces_of(t):
    faces = {}
    for state, over in (("normal", False), ("over", True)):
        faces["button-" + state] = button(t, over)
        faces["button-close-" + state] = window_button(t, over, "close")
        faces["button-min-" + state] = window_button(t, over, "min")
        faces["button-Skins-" + state] = window_button(t, over, "skins")
        faces["button-PrePage-" + state] = previous_page(t, over)
        faces["DropdownBox-" + state] = dropdown(t, over)
    faces["slider-RP-dark"] = slider(t, False)
    faces["slider-RP-light"] = slider(t, True)
    return faces


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def make_skin(name, colours):
    t = Theme(colours)
    folder = os.path.join(HERE, name)
    os.makedirs(folder, exist_ok=True)
    # Each image at its own size, then at twice the size (NAME@2x.png) for displays at 200 %.
    for scale, suffix in ((1, ""), (2, "@2x")):
        Image.default_scale = scale
        faces = faces_of(t)

        def put(image_name, img, alpha):
            write(os.path.join(folder, image_name + suffix + ".png"), img.png(alpha=alpha))
        for face_name, img in faces.items():
            put(face_name, img, True)
        put("main", main_background(t, faces), False)
        put("BasicSet2", page_art(t, faces), False)
        for kind in DIALOG_WELLS:
            put(kind, dialog_background(t, kind, faces), False)
        put("profiles", profiles_background(t, faces), False)
    Image.default_scale = 1
    print("skin", name)


def make_icon():
    t = Theme(THEMES["Default"])
    entries = []
    for size in (16, 24, 32, 48, 256):
        img = Image(size, size)
        r = size / 2
        img.fill(rounded_box(0, 0, size, size, size * 0.2), vertical(hex_colour(0x23262E), t.deep, 0, size))
        emblem(img, t, r, r, size * 0.42)
        entries.append((size, img.png(alpha=True)))
    write(os.path.join(HERE, "TarnixMouseApp.ico"), encode_ico(entries))
    # The same picture for Linux desktops, whose menus and trays take PNG icons.
    write(os.path.join(HERE, "tarnix-q8.png"), entries[-1][1])
    print("icon")


if __name__ == "__main__":
    names = sys.argv[1:] or list(THEMES)
    for skin in names:
        make_skin(skin, THEMES[skin])
    make_icon()

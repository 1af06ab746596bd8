#!/usr/bin/env python3
"""Writes a host folder holding a generated nested sheet of parts.

    bench/tools/make_sheet.py --parts N --out DIR [--seed S] [--name NAME]
                              [--shuffle-all] [--no-edge]

DIR/JWC_TEMP.TXT is the drawing in the host's interchange syntax (code page
932, CR LF); DIR/Zemlak/Bin gets the settings and templates of
examples/plate, and DIR/Zemlak is the (empty) output folder. The last line
of standard output counts what was written.

The parts are nested on a sheet row by row, each row as high as its highest
part, with a gap between parts. On layer ly0, colour 2 (cutting lines):

  * each part's outline: a rectangle, a rectangle with rounded corners (four
    quarter arcs), a rectangle with a chamfered corner, a rectangle with a
    round notch in its top side (the notch's ends lie at arbitrary angles,
    so they meet the lines only within the rounding of the written numbers),
    or a disc;
  * its holes: circles of several sizes, slots (two lines, two half arcs)
    and small rectangles, each where it keeps clear of the others;
  * with the sheet edge (the default; --no-edge leaves it out), a rectangle
    around all parts whose lower-left corner is the drawing's.

On layer ly1, colour 3 (marking): one or two marks per part, a line or an
"L" of two lines, and for some parts a point.

Every record is written as the host may write it: the ends of a line in
either order, an arc's angles in 0..360 or running past 360, and the records
of each part (with --shuffle-all: of each layer) in random order. Numbers
are plain decimals with at most four places. The same arguments always give
the same bytes.

    bench/tools/make_sheet.py --shapes mixed --parts N --out DIR [--seed S]
                              [--width W] [--height H] [--approach L] ...

lays up to N parts of the shapes a shop nests on a sheet of W x H (default
1000 x 500), row by row, 2 L + 4 apart and from the edge: rectangles,
rounded rectangles, rounded rectangles whose corners lie on a rounding tie
(coordinates ending in 5 at the fourth place, so that the arcs' computed
ends and the lines' typed ends round to either side of the 1/1000 grid; these
stay square to the sheet), L shapes, obrounds (slots as parts), discs,
washers, flanges with a bolt circle, and first a frame with a part standing
in its large hole. Rectangles and flanges get holes 3 to 4 units from their
edge. The parts are turned by angles from square to the sheet, a hair off
it (0.01 degrees) and a few degrees, to any angle. --approach L (default
5) writes the approach length into line 2 of set.ini.
"""

import argparse
import math
import os
import random
import shutil
import sys

CUT, MARK = "ly0", "ly1"
COLOUR = {CUT: 2, MARK: 3}
GAP = 8.0           # between parts, and from the sheet edge
CLEARANCE = 3.0     # between holes and marks, and from a part's outline
TEMPLATES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "examples", "plate",
                         "Zemlak", "Bin")


def text(v):
    """A plain decimal with at most four places: 12.5, -0.25, 100."""
    t = ("%.4f" % v).rstrip("0").rstrip(".")
    return "0" if t in ("", "-0") else t


def q(v):
    """Rounded as it will be written, so that shared ends stay equal."""
    return round(v, 4)


def rounded_rectangle(pen, x, y, w, h, r):
    """The four sides, then the four quarter arcs of radius r at the corners,
    through the pen's line and arc."""
    pen.line(x + r, y, x + w - r, y)
    pen.line(x + w, y + r, x + w, y + h - r)
    pen.line(x + w - r, y + h, x + r, y + h)
    pen.line(x, y + h - r, x, y + r)
    for cx, cy, start in ((x + w - r, y + r, 270), (x + w - r, y + h - r, 0),
                          (x + r, y + h - r, 90), (x + r, y + r, 180)):
        pen.arc(cx, cy, r, start, start + 90)


def mark_lines(pen, rng, x, y, w, h):
    """A marking line across the box (x, y, w, h), or an "L" along its left
    and lower sides."""
    if rng.random() < 0.5:
        pen.line(x, y + h / 2, x + w, y + h / 2, MARK)
    else:
        pen.line(x, y + h, x, y, MARK)
        pen.line(x, y, x + w, y, MARK)


class Part:
    """The entities of one part whose outline fills the box (x, y, w, h)."""

    def __init__(self, rng, x, y, w, h):
        self.rng = rng
        self.x, self.y, self.w, self.h = x, y, w, h
        self.cut, self.mark = [], []
        self.taken = []         # boxes of holes, notches and marks
        self.margin = 4.0       # holes stay this far inside the outline's box
        self.disc = False
        shape = rng.choices(["rect", "rounded", "chamfer", "notch", "disc"], [3, 3, 2, 2, 1])[0]
        getattr(self, "outline_" + shape)()
        holes = rng.randint(2, 6)
        tries = 0
        while holes > 0 and tries < 5 * 6:
            holes -= self.add_hole(small=tries >= 6)
            tries += 1
        for _ in range(rng.randint(1, 2)):
            self.add_mark()
        if rng.random() < 0.4:
            self.add_point()

    # outlines

    def line(self, x1, y1, x2, y2, layer=CUT):
        (self.cut if layer == CUT else self.mark).append(("line", q(x1), q(y1), q(x2), q(y2)))

    def arc(self, cx, cy, r, start, end):
        """Counter-clockwise from start to end (degrees, end above start)."""
        self.cut.append(("arc", q(cx), q(cy), q(r), q(start), q(end)))

    def polygon(self, points):
        for (x1, y1), (x2, y2) in zip(points, points[1:] + points[:1]):
            self.line(x1, y1, x2, y2)

    def outline_rect(self):
        x, y, w, h = self.x, self.y, self.w, self.h
        self.polygon([(x, y), (x + w, y), (x + w, y + h), (x, y + h)])

    def outline_rounded(self):
        x, y, w, h = self.x, self.y, self.w, self.h
        r = q(self.rng.uniform(3.0, min(w, h) / 4.0))
        self.margin = max(self.margin, r * (1 - 1 / math.sqrt(2)) + CLEARANCE)
        rounded_rectangle(self, x, y, w, h, r)

    def outline_chamfer(self):
        x, y, w, h = self.x, self.y, self.w, self.h
        c = q(self.rng.uniform(5.0, min(w, h) / 3.0))
        self.polygon([(x, y), (x + w, y), (x + w, y + h - c), (x + w - c, y + h), (x, y + h)])
        self.taken.append((x + w - c - CLEARANCE, y + h - c - CLEARANCE, x + w, y + h))

    def outline_notch(self):
        """A round notch in the top side, its centre a little above or below it."""
        x, y, w, h = self.x, self.y, self.w, self.h
        r = q(self.rng.uniform(5.0, min(w, h) / 4.0))
        cx = q(self.rng.uniform(x + r + 6.0, x + w - r - 6.0))
        cy = q(y + h + self.rng.uniform(-0.6, 0.6) * r)
        lift = math.degrees(math.asin((cy - (y + h)) / r))
        start, end = q(180.0 + lift), q(360.0 - lift)
        left = cx + r * math.cos(math.radians(start))
        right = cx + r * math.cos(math.radians(end))
        self.line(x, y, x + w, y)
        self.line(x + w, y, x + w, y + h)
        self.line(x + w, y + h, right, y + h)
        self.arc(cx, cy, r, start, end)
        self.line(left, y + h, x, y + h)
        self.line(x, y + h, x, y)
        self.taken.append((cx - r - CLEARANCE, cy - r - CLEARANCE, cx + r + CLEARANCE, y + h))

    def outline_disc(self):
        """A disc in the middle of the box; its holes stay inside the inscribed square."""
        r = q(min(self.w, self.h) / 2.0)
        cx, cy = q(self.x + self.w / 2.0), q(self.y + self.h / 2.0)
        self.cut.append(("circle", cx, cy, r))
        side = r * math.sqrt(2.0)
        self.x, self.y, self.w, self.h = cx - side / 2, cy - side / 2, side, side
        self.disc = True

    # holes, marks, points

    def free_box(self, w, h):
        """The lower-left corner of a free w x h box inside the part, or None."""
        x0, x1 = self.x + self.margin, self.x + self.w - self.margin - w
        y0, y1 = self.y + self.margin, self.y + self.h - self.margin - h
        if x1 <= x0 or y1 <= y0:
            return None
        for _ in range(50):
            bx, by = q(self.rng.uniform(x0, x1)), q(self.rng.uniform(y0, y1))
            box = (bx, by, bx + w, by + h)
            if all(box[2] + CLEARANCE <= t[0] or t[2] + CLEARANCE <= box[0] or
                   box[3] + CLEARANCE <= t[1] or t[3] + CLEARANCE <= box[1] for t in self.taken):
                self.taken.append(box)
                return bx, by
        return None

    def add_hole(self, small):
        """One hole where there is room; 1 when it was placed, else 0."""
        kind = "circle" if small else self.rng.choices(["circle", "slot", "rect"], [2, 1, 1])[0]
        if kind == "circle":
            r = q(self.rng.uniform(1.5, 3.0) if small else
                  self.rng.choice([self.rng.uniform(1.5, 6.0), self.rng.uniform(6.0, 15.0)]))
            at = self.free_box(2 * r, 2 * r)
            if at:
                self.cut.append(("circle", q(at[0] + r), q(at[1] + r), r))
        elif kind == "slot":
            r = q(self.rng.uniform(2.0, 6.0))
            span = q(self.rng.uniform(6.0, 30.0))     # between the centres of the ends
            upright = self.rng.random() < 0.5
            at = self.free_box(2 * r, span + 2 * r) if upright else self.free_box(span + 2 * r, 2 * r)
            if at:
                cx, cy = at[0] + r, at[1] + r
                if upright:
                    self.line(cx + r, cy, cx + r, cy + span)
                    self.line(cx - r, cy + span, cx - r, cy)
                    self.arc(cx, cy + span, r, 0, 180)
                    self.arc(cx, cy, r, 180, 360)
                else:
                    self.line(cx, cy - r, cx + span, cy - r)
                    self.line(cx + span, cy + r, cx, cy + r)
                    self.arc(cx + span, cy, r, 270, 450)
                    self.arc(cx, cy, r, 90, 270)
        else:
            w, h = q(self.rng.uniform(5.0, 25.0)), q(self.rng.uniform(5.0, 20.0))
            at = self.free_box(w, h)
            if at:
                self.polygon([(at[0], at[1]), (at[0] + w, at[1]), (at[0] + w, at[1] + h), (at[0], at[1] + h)])
        return 1 if at else 0

    def add_mark(self):
        w, h = q(self.rng.uniform(8.0, 25.0)), q(self.rng.uniform(4.0, 12.0))
        at = self.free_box(w, h)
        if not at:
            return
        mark_lines(self, self.rng, *at, w, h)

    def add_point(self):
        at = self.free_box(1.0, 1.0)
        if at:
            self.mark.append(("point", q(at[0] + 0.5), q(at[1] + 0.5)))


def nest(rng, count):
    """The parts laid out row by row on a sheet about as wide as it is high."""
    sizes = [(rng.uniform(60.0, 160.0), rng.uniform(45.0, 120.0)) for _ in range(count)]
    area = sum((w + GAP) * (h + GAP) for w, h in sizes)
    width = max(max(w for w, _ in sizes) + GAP, math.sqrt(area))
    # The sheet lies anywhere: a reader must measure it, not assume (0, 0).
    ox, oy = q(rng.uniform(-400.0, 400.0)), q(rng.uniform(-400.0, 400.0))
    parts, x, y, row_height, right = [], GAP, GAP, 0.0, 0.0
    for w, h in sizes:
        if x + w > width and x > GAP:
            x, y, row_height = GAP, y + row_height + GAP, 0.0
        parts.append(Part(rng, q(ox + x), q(oy + y), q(w), q(h)))
        right = max(right, x + w)
        x, row_height = x + w + GAP, max(row_height, h)
    return parts, (ox, oy, q(ox + right + GAP), q(oy + y + row_height + GAP))


def as_written(rng, entities):
    """In random order, with either end of a line first and arcs in several forms."""
    out = []
    for e in entities:
        if e[0] == "line" and rng.random() < 0.5:
            e = ("line", e[3], e[4], e[1], e[2])
        elif e[0] == "arc":
            start, end = e[4] % 360.0, e[5] % 360.0
            if end <= start and rng.random() < 0.5:
                end += 360.0            # through 0 written as running past 360
            e = ("arc", e[1], e[2], e[3], q(start), q(end))
        out.append(e)
    rng.shuffle(out)
    return out


def record(e):
    if e[0] == "line":
        return " " + " ".join(text(v) for v in e[1:])
    if e[0] == "circle":
        return "ci " + " ".join(text(v) for v in e[1:])
    if e[0] == "arc":
        return "ci " + " ".join(text(v) for v in e[1:]) + " 1 0"
    return "pt " + " ".join(text(v) for v in e[1:])


def interchange_lines(name, groups):
    lines = ["hq", "file=C:\\jww\\%s.jww" % name, "#"]
    layer = None
    for group_layer, entities in groups:
        if entities and group_layer != layer:
            layer = group_layer
            lines += [layer, "lc%d" % COLOUR[layer], "lt1"]
        lines += [record(e) for e in entities]
    return lines


# Mixed shapes (--shapes mixed): parts as a shop nests them, on a sheet of a
# given size.

MIXED_SHAPES = ["rect", "rounded", "tie", "l_shape", "obround", "disc", "washer", "flange"]
MIXED_WEIGHTS = [3, 2, 1, 2, 2, 1, 1, 1]
# The parts' turns in degrees, one after the other: square to the sheet, a
# hair off it, a few degrees, any angle.
MIXED_TURNS = [0, 0.01, 3, 90, 0, 45, 7.5, -0.01, 30, 180, 2, 137, 0, 270.01, 60, 359.99, 15, 5]
MARGIN = 4.0        # holes stay this far inside a part's outline


class Shape:
    """A part in its own coordinates, lower-left corner near (0, 0)."""

    def __init__(self, rng):
        self.rng = rng
        self.cut, self.mark, self.taken = [], [], []

    def line(self, x1, y1, x2, y2, layer=CUT):
        (self.cut if layer == CUT else self.mark).append(("line", x1, y1, x2, y2))

    def arc(self, cx, cy, r, start, end):
        self.cut.append(("arc", cx, cy, r, start, end))

    def circle(self, cx, cy, r):
        self.cut.append(("circle", cx, cy, r))

    def polygon(self, points):
        for (x1, y1), (x2, y2) in zip(points, points[1:] + points[:1]):
            self.line(x1, y1, x2, y2)

    def rounded(self, x, y, w, h, r):
        """A rectangle with quarter arcs of radius r at its corners."""
        rounded_rectangle(self, x, y, w, h, r)

    def claim(self, box):
        if any(not (box[2] + CLEARANCE <= t[0] or t[2] + CLEARANCE <= box[0] or
                    box[3] + CLEARANCE <= t[1] or t[3] + CLEARANCE <= box[1]) for t in self.taken):
            return False
        self.taken.append(box)
        return True

    def free_box(self, region, w, h):
        x0, y0, x1, y1 = region
        if x1 - x0 < w or y1 - y0 < h:
            return None
        for _ in range(40):
            bx, by = self.rng.uniform(x0, x1 - w), self.rng.uniform(y0, y1 - h)
            if self.claim((bx, by, bx + w, by + h)):
                return bx, by
        return None

    def holes(self, region, count):
        for _ in range(count):
            kind = self.rng.choices(["circle", "slot", "rect"], [3, 1, 1])[0]
            if kind == "circle":
                r = self.rng.choice([self.rng.uniform(2.0, 6.0), self.rng.uniform(6.0, 20.0)])
                at = self.free_box(region, 2 * r, 2 * r)
                if at:
                    self.circle(at[0] + r, at[1] + r, r)
            elif kind == "slot":
                r, span = self.rng.uniform(3.0, 8.0), self.rng.uniform(8.0, 40.0)
                at = self.free_box(region, span + 2 * r, 2 * r)
                if at:
                    cx, cy = at[0] + r, at[1] + r
                    self.line(cx, cy - r, cx + span, cy - r)
                    self.line(cx + span, cy + r, cx, cy + r)
                    self.arc(cx + span, cy, r, 270, 450)
                    self.arc(cx, cy, r, 90, 270)
            else:
                w, h = self.rng.uniform(8.0, 40.0), self.rng.uniform(8.0, 30.0)
                at = self.free_box(region, w, h)
                if at:
                    self.polygon([(at[0], at[1]), (at[0] + w, at[1]), (at[0] + w, at[1] + h), (at[0], at[1] + h)])

    def edge_hole(self, w, h):
        """A round hole 3 to 4 units from the left or the lower side."""
        r, gap = self.rng.uniform(2.5, 6.0), self.rng.uniform(3.0, 4.0)
        if self.rng.random() < 0.5:
            cx, cy = gap + r, self.rng.uniform(MARGIN + r, h - MARGIN - r)
        else:
            cx, cy = self.rng.uniform(MARGIN + r, w - MARGIN - r), gap + r
        if self.claim((cx - r, cy - r, cx + r, cy + r)):
            self.circle(cx, cy, r)

    def marks(self, region):
        w, h = self.rng.uniform(8.0, 25.0), self.rng.uniform(4.0, 12.0)
        at = self.free_box(region, w, h)
        if at:
            mark_lines(self, self.rng, *at, w, h)
        if self.rng.random() < 0.4:
            at = self.free_box(region, 1.0, 1.0)
            if at:
                self.mark.append(("point", at[0] + 0.5, at[1] + 0.5))


def shape_rect(s):
    w, h = s.rng.uniform(50.0, 180.0), s.rng.uniform(40.0, 120.0)
    s.polygon([(0, 0), (w, 0), (w, h), (0, h)])
    if s.rng.random() < 0.7:
        s.edge_hole(w, h)
    region = (MARGIN, MARGIN, w - MARGIN, h - MARGIN)
    s.holes(region, s.rng.randint(1, 4))
    s.marks(region)


def shape_rounded(s):
    w, h = s.rng.uniform(50.0, 160.0), s.rng.uniform(40.0, 110.0)
    r = s.rng.uniform(4.0, min(w, h) / 4.0)
    s.rounded(0, 0, w, h, r)
    m = r * (1 - 1 / math.sqrt(2)) + MARGIN
    s.holes((m, m, w - m, h - m), s.rng.randint(1, 4))
    s.marks((m, m, w - m, h - m))


def shape_tie(s):
    """Corners on a rounding tie: every corner coordinate ends in 5 at the
    fourth place (the part is moved by whole thousandths only)."""
    w, h = round(s.rng.uniform(60.0, 150.0), 3), round(s.rng.uniform(40.0, 110.0), 3)
    r = round(s.rng.uniform(5.0, 20.0), 3)
    s.rounded(0.0005, 0.0005, w, h, r)
    m = r + MARGIN
    s.holes((m, m, w - m, h - m), s.rng.randint(1, 3))


def shape_l_shape(s):
    w, h = s.rng.uniform(80.0, 180.0), s.rng.uniform(80.0, 180.0)
    tx, ty = s.rng.uniform(30.0, w / 2.2), s.rng.uniform(30.0, h / 2.2)
    s.polygon([(0, 0), (w, 0), (w, ty), (tx, ty), (tx, h), (0, h)])
    s.holes((MARGIN, MARGIN, w - MARGIN, ty - MARGIN), s.rng.randint(1, 3))
    s.holes((MARGIN, ty + MARGIN, tx - MARGIN, h - MARGIN), s.rng.randint(0, 2))
    s.marks((MARGIN, MARGIN, w - MARGIN, ty - MARGIN))


def shape_obround(s):
    r = s.rng.uniform(10.0, 35.0)
    length = s.rng.uniform(2.5 * r, 6 * r)
    s.line(r, 0, length - r, 0)
    s.arc(length - r, r, r, 270, 450)
    s.line(length - r, 2 * r, r, 2 * r)
    s.arc(r, r, r, 90, 270)
    hole = min(s.rng.uniform(0.3, 0.55) * r, (length - 2 * r - CLEARANCE) / 2)
    if s.rng.random() < 0.6 and hole >= 2.0:      # a link: a hole about each end's centre
        for cx in (r, length - r):
            s.circle(cx, r, hole)
            s.taken.append((cx - hole, r - hole, cx + hole, r + hole))
    s.holes((r, MARGIN, length - r, 2 * r - MARGIN), s.rng.randint(0, 2))


def disc(s):
    big = s.rng.uniform(20.0, 70.0)
    s.circle(big, big, big)
    return big


def shape_disc(s):
    big = disc(s)
    half = big / math.sqrt(2) - MARGIN
    s.marks((big - half, big - half, big + half, big + half))


def shape_washer(s):
    big = disc(s)
    s.circle(big, big, s.rng.uniform(0.25, 0.6) * big)


def shape_flange(s):
    big = s.rng.uniform(35.0, 80.0)
    s.circle(big, big, big)
    bore = s.rng.uniform(0.2, 0.4) * big
    s.circle(big, big, bore)
    bolt = s.rng.uniform(2.5, 6.0)
    # On a circle 3 to 4 units from the edge, or half way to the bore.
    at_edge = big - bolt - s.rng.uniform(3.0, 4.0)
    pitch = at_edge if s.rng.random() < 0.5 or (big + bore) / 2 - bolt < bore + MARGIN else (big + bore) / 2
    count = s.rng.randint(4, 8)
    while count > 3 and 2 * pitch * math.sin(math.pi / count) < 2 * bolt + CLEARANCE:
        count -= 1
    start = s.rng.uniform(0.0, 90.0)
    for k in range(count):
        a = math.radians(start + 360.0 * k / count)
        s.circle(big + pitch * math.cos(a), big + pitch * math.sin(a), bolt)


def shape_frame(s, gap):
    """A frame whose large hole holds a part of its own, gap clear all round."""
    width = s.rng.uniform(18.0, 30.0)
    inner_w, inner_h = s.rng.uniform(70.0, 160.0), s.rng.uniform(50.0, 120.0)
    w, h = inner_w + 2 * (gap + width), inner_h + 2 * (gap + width)
    s.polygon([(0, 0), (w, 0), (w, h), (0, h)])
    corner = s.rng.uniform(5.0, 15.0)
    s.rounded(width, width, w - 2 * width, h - 2 * width, corner)
    x0, y0 = width + gap, width + gap
    if s.rng.random() < 0.5:
        s.polygon([(x0, y0), (x0 + inner_w, y0), (x0 + inner_w, y0 + inner_h), (x0, y0 + inner_h)])
        s.holes((x0 + MARGIN, y0 + MARGIN, x0 + inner_w - MARGIN, y0 + inner_h - MARGIN), 2)
        s.marks((x0 + MARGIN, y0 + MARGIN, x0 + inner_w - MARGIN, y0 + inner_h - MARGIN))
    else:
        big = min(inner_w, inner_h) / 2
        s.circle(x0 + inner_w / 2, y0 + inner_h / 2, big)
        s.circle(x0 + inner_w / 2, y0 + inner_h / 2, s.rng.uniform(0.3, 0.6) * big)


def turned(entity, turn, tx, ty):
    """The entity turned by `turn` degrees about (0, 0) and moved by (tx, ty)."""
    c, s = (1.0, 0.0) if turn == 0 else (math.cos(math.radians(turn)), math.sin(math.radians(turn)))

    def at(x, y):
        return q(x * c - y * s + tx), q(x * s + y * c + ty)

    kind = entity[0]
    if kind == "line":
        return ("line",) + at(*entity[1:3]) + at(*entity[3:5])
    if kind == "point":
        return ("point",) + at(*entity[1:3])
    if kind == "circle":
        return ("circle",) + at(*entity[1:3]) + (q(entity[3]),)
    return ("arc",) + at(*entity[1:3]) + (q(entity[3]), q(entity[4] + turn), q(entity[5] + turn))


def box_of(entities):
    xs, ys = [], []
    for e in entities:
        if e[0] in ("line", "point"):
            xs += e[1::2][:2]
            ys += e[2::2][:2]
        else:
            xs += [e[1] - e[3], e[1] + e[3]]
            ys += [e[2] - e[3], e[2] + e[3]]
    return min(xs), min(ys), max(xs), max(ys)


def mixed_sheet(rng, count, width, height, approach):
    """Up to `count` parts laid row by row on the sheet; the first is a frame."""
    gap = 2 * approach + 4
    ox, oy = round(rng.uniform(-400.0, 400.0), 3), round(rng.uniform(-400.0, 400.0), 3)
    parts, kinds = [], {}
    x, y, row_height = gap, gap, 0.0
    for k in range(count):
        kind = "frame" if k == 0 else rng.choices(MIXED_SHAPES, MIXED_WEIGHTS)[0]
        shape = Shape(rng)
        if kind == "frame":
            shape_frame(shape, gap)
        else:
            globals()["shape_" + kind](shape)
        turn = 0 if kind in ("tie", "frame") else MIXED_TURNS[k % len(MIXED_TURNS)]
        local = [turned(e, turn, 0, 0) for e in shape.cut]
        x0, y0, x1, y1 = box_of(local)
        if x + (x1 - x0) > width - gap:
            x, y, row_height = gap, y + row_height + gap, 0.0
        if y + (y1 - y0) > height - gap or x + (x1 - x0) > width - gap:
            break
        # Whole thousandths only, so that a tie stays a tie.
        tx, ty = round(ox + x - x0, 3), round(oy + y - y0, 3)
        parts.append(([turned(e, turn, tx, ty) for e in shape.cut], [turned(e, turn, tx, ty) for e in shape.mark]))
        kinds[kind] = kinds.get(kind, 0) + 1
        x, row_height = x + (x1 - x0) + gap, max(row_height, y1 - y0)
    return parts, kinds, (ox, oy, q(ox + width), q(oy + height))


def set_approach(folder, approach):
    path = os.path.join(folder, "Zemlak", "Bin", "set.ini")
    with open(path, "rb") as f:
        lines = f.read().split(b"\r\n")
    lines[1] = text(approach).encode("ascii")
    with open(path, "wb") as f:
        f.write(b"\r\n".join(lines))


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--parts", type=int, required=True, help="number of parts, at least 1")
    ap.add_argument("--out", required=True, help="the host folder to write (created if missing)")
    ap.add_argument("--seed", type=int, default=1, help="seed of the random choices (default 1)")
    ap.add_argument("--name", help="the drawing's name on the file= line (default sheet<N>_s<S>)")
    ap.add_argument("--shuffle-all", action="store_true",
                    help="shuffle the records of each layer across the sheet, not within each part")
    ap.add_argument("--edge", action=argparse.BooleanOptionalAction, default=True,
                    help="a rectangle around all parts on ly0 (default: with it)")
    ap.add_argument("--shapes", choices=["classic", "mixed"], default="classic",
                    help="classic parts (default), or the mixed shapes of a shop on a sheet of a given size")
    ap.add_argument("--width", type=float, default=1000.0, help="with --shapes mixed: the sheet's width")
    ap.add_argument("--height", type=float, default=500.0, help="with --shapes mixed: the sheet's height")
    ap.add_argument("--approach", type=float, help="the approach length written into set.ini")
    args = ap.parse_args(argv)
    if args.parts < 1:
        ap.error("--parts must be at least 1")
    name = args.name if args.name is not None else "sheet%d_s%d" % (args.parts, args.seed)
    try:
        name.encode("cp932")
    except UnicodeEncodeError:
        ap.error("--name must be code page 932 text")

    rng = random.Random(args.seed)
    if args.shapes == "mixed":
        return write_mixed(args, name, rng)
    parts, (x0, y0, x1, y1) = nest(rng, args.parts)
    edge = [("line", x0, y0, x1, y0), ("line", x1, y0, x1, y1), ("line", x1, y1, x0, y1),
            ("line", x0, y1, x0, y0)] if args.edge else []
    if args.shuffle_all:
        groups = [(CUT, as_written(rng, edge + [e for p in parts for e in p.cut])),
                  (MARK, as_written(rng, [e for p in parts for e in p.mark]))]
    else:
        groups = [(CUT, as_written(rng, edge))]
        for p in parts:
            groups += [(CUT, as_written(rng, p.cut)), (MARK, as_written(rng, p.mark))]

    lines = interchange_lines(name, groups)
    os.makedirs(os.path.join(args.out, "Zemlak", "Bin"), exist_ok=True)
    with open(os.path.join(args.out, "JWC_TEMP.TXT"), "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("cp932"))
    copy_templates(args)

    counts = {}
    for layer, entities in groups:
        for e in entities:
            counts[(layer, e[0])] = counts.get((layer, e[0]), 0) + 1
    detail = ", ".join("%s %s %d" % (layer, kind, n) for (layer, kind), n in sorted(counts.items()))
    print("%d parts, %d records (%s); sheet %s x %s from (%s, %s)%s"
          % (args.parts, sum(counts.values()), detail, text(x1 - x0), text(y1 - y0), text(x0), text(y0),
             "" if args.edge else ", no edge"))
    return 0


def copy_templates(args):
    for template in sorted(os.listdir(TEMPLATES)):
        shutil.copyfile(os.path.join(TEMPLATES, template), os.path.join(args.out, "Zemlak", "Bin", template))
    if args.approach is not None:
        set_approach(args.out, args.approach)


def write_mixed(args, name, rng):
    approach = args.approach if args.approach is not None else 5.0
    parts, kinds, (x0, y0, x1, y1) = mixed_sheet(rng, args.parts, args.width, args.height, approach)
    edge = [("line", x0, y0, x1, y0), ("line", x1, y0, x1, y1), ("line", x1, y1, x0, y1),
            ("line", x0, y1, x0, y0)] if args.edge else []
    groups = [(CUT, as_written(rng, edge))]
    for cut, mark in parts:
        groups += [(CUT, as_written(rng, cut)), (MARK, as_written(rng, mark))]
    os.makedirs(os.path.join(args.out, "Zemlak", "Bin"), exist_ok=True)
    with open(os.path.join(args.out, "JWC_TEMP.TXT"), "wb") as f:
        f.write("".join(line + "\r\n" for line in interchange_lines(name, groups)).encode("cp932"))
    copy_templates(args)
    records = sum(len(entities) for _, entities in groups)
    shapes = ", ".join("%s %d" % (kind, n) for kind, n in sorted(kinds.items()))
    print("%d parts (%s), %d records; sheet %s x %s from (%s, %s), approach %s%s"
          % (len(parts), shapes, records, text(x1 - x0), text(y1 - y0), text(x0), text(y0), text(approach),
             "" if args.edge else ", no edge"))
    return 0


if __name__ == "__main__":
    sys.exit(main())

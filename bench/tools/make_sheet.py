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
        self.line(x + r, y, x + w - r, y)
        self.line(x + w, y + r, x + w, y + h - r)
        self.line(x + w - r, y + h, x + r, y + h)
        self.line(x, y + h - r, x, y + r)
        for cx, cy, start in ((x + w - r, y + r, 270), (x + w - r, y + h - r, 0),
                              (x + r, y + h - r, 90), (x + r, y + r, 180)):
            self.arc(cx, cy, r, start, start + 90)

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
        x, y = at
        if self.rng.random() < 0.5:
            self.line(x, y + h / 2, x + w, y + h / 2, MARK)
        else:
            self.line(x, y + h, x, y, MARK)
            self.line(x, y, x + w, y, MARK)

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
    args = ap.parse_args(argv)
    if args.parts < 1:
        ap.error("--parts must be at least 1")
    name = args.name if args.name is not None else "sheet%d_s%d" % (args.parts, args.seed)
    try:
        name.encode("cp932")
    except UnicodeEncodeError:
        ap.error("--name must be code page 932 text")

    rng = random.Random(args.seed)
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
    for template in sorted(os.listdir(TEMPLATES)):
        shutil.copyfile(os.path.join(TEMPLATES, template), os.path.join(args.out, "Zemlak", "Bin", template))

    counts = {}
    for layer, entities in groups:
        for e in entities:
            counts[(layer, e[0])] = counts.get((layer, e[0]), 0) + 1
    detail = ", ".join("%s %s %d" % (layer, kind, n) for (layer, kind), n in sorted(counts.items()))
    print("%d parts, %d records (%s); sheet %s x %s from (%s, %s)%s"
          % (args.parts, sum(counts.values()), detail, text(x1 - x0), text(y1 - y0), text(x0), text(y0),
             "" if args.edge else ", no edge"))
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Writes a host folder holding a nested sheet (or a single plate) of parts
that are hard to cut right: narrow gaps, holes at the edge, parts inside
parts, outlines drawn as many short lines or drawn twice.

    bench/tools/make_hard_sheet.py --class CLASS --out DIR [--seed S]
                                   [--parts N] [--width W] [--height H]
                                   [--approach L] [--name NAME]

The folder is laid out as bench/tools/make_sheet.py lays it out:
DIR/JWC_TEMP.TXT is the drawing (code page 932, CR LF), DIR/Zemlak/Bin the
settings and templates of examples/plate with L written into line 2 of
set.ini, DIR/Zemlak the (empty) output folder. The matching tolerance is
read from line 1 of that set.ini. Up to N groups of parts (default 40) are
laid row by row on a sheet of W x H (default 1000 x 500, its lower-left
corner anywhere), 2 L + 4 apart and from the sheet's edge, which is drawn
around them; each group is turned by an angle from square to the sheet, a
hair off it, a few degrees or any angle. Everything is on layer ly0, colour
2. The classes:

  polyline      parts whose outline, and some of whose holes, are drawn as
                50 to 200 short lines: rounded rectangles, circles, rounded
                rectangles with a polyline round hole. Most consecutive
                lines do not meet: the next one starts 0.2 to 0.6 matching
                tolerances away, in any direction.
  washers       concentric circles: washers (ring narrower or wider than L),
                a washer with a disc standing in its bore, a washer in a
                washer's bore (with or without a disc in its own), and
                rectangles with a disc standing in a round bore; every gap
                between a bore and what stands in it is 0.3 to 0.9 L.
  edge_holes    rectangles and discs with round and square holes 0.3 L from
                the part's edge (one side, or a corner's two sides).
  slots         rectangles and discs with slots (two lines, two half arcs)
                0.3 to 1.9 L wide, at any angle.
  small         parts smaller than 2 L across: discs, squares, small
                washers, and strips and obrounds narrower than 2 L.
  frames        square frames with a square hole, in it another frame, and
                so on to a depth of 2 to 5 (the first group: 5), a square or
                a disc innermost; the gap from a hole to the frame in it is
                0.3 to 0.9 L or 2 L + 4.
  doubled       rectangles with holes, rounded rectangles with a slot,
                washers and obrounds of which most have every record
                written twice: the same record again, or a line with its
                ends swapped, right after it or elsewhere in the part.
  shared_edges  rows of 2 to 4 rectangles side by side, each drawn as its
                own loop, so that a shared edge is drawn once per part: of
                equal height (the edge drawn twice alike), of different
                heights standing on one line (the two sides overlap for the
                lower one's height), or of equal height with each shared
                edge a line or an arc (the one part bulging into the next).
  all           groups of every class above, in random order.
  plate         a single plate of W x H from (0, 0), no sheet edge, with
                N holes: round and square holes 0.3 L from the plate's
                edge, slots narrower than 2 L at any angle, washers and
                discs standing in bores (gaps 0.3 to 0.9 L) and round holes
                drawn as short lines with gaps.

Holes keep max(3, L) clear of each other. Numbers have at most four places;
the records of each group are written in random order, either end of a line
first, arcs' angles in 0..360 or past 360 (as make_sheet.py writes them).
The same arguments always give the same bytes. The last line of standard
output counts what was written.
"""

import argparse
import math
import os
import random
import sys

sys.dont_write_bytecode = True     # no cache beside the sources
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_sheet as ms  # noqa: E402  (the writing of records and folders)

CLASSES = ["polyline", "washers", "edge_holes", "slots", "small", "frames", "doubled", "shared_edges"]
TURNS = [0, 0.01, 3, 90, 0, 45, 7.5, -0.01, 30, 180, 2, 137, 0, 270.01, 60, 359.99, 15, 5]


def tolerance_of_templates():
    with open(os.path.join(ms.TEMPLATES, "set.ini"), "rb") as f:
        return float(f.read().split(b"\r\n")[0])


class Group:
    """The cutting entities of one group of parts in its own coordinates."""

    def __init__(self, rng, approach, tol):
        self.rng, self.L, self.tol = rng, approach, tol
        self.cut, self.taken = [], []
        self.doubled = False
        self.clear = max(3.0, approach)

    def line(self, x1, y1, x2, y2):
        self.cut.append(("line", x1, y1, x2, y2))

    def arc(self, cx, cy, r, start, end):
        self.cut.append(("arc", cx, cy, r, start, end))

    def circle(self, cx, cy, r):
        self.cut.append(("circle", cx, cy, r))

    def polygon(self, points):
        for (x1, y1), (x2, y2) in zip(points, points[1:] + points[:1]):
            self.line(x1, y1, x2, y2)

    def rect(self, x, y, w, h):
        self.polygon([(x, y), (x + w, y), (x + w, y + h), (x, y + h)])

    def polyline(self, points):
        """A closed loop of short lines; most start a small gap away from
        where the line before ends."""
        starts = []
        for x, y in points:
            if self.rng.random() < 0.8:
                a, d = self.rng.uniform(0, 2 * math.pi), self.rng.uniform(0.2, 0.6) * self.tol
                starts.append((x + d * math.cos(a), y + d * math.sin(a)))
            else:
                starts.append((x, y))
        for k, (x, y) in enumerate(starts):
            nx, ny = points[(k + 1) % len(points)]
            self.line(x, y, nx, ny)

    def obround(self, cx, cy, r, span, turn):
        """Two lines and two half arcs about (cx, cy), its ends' centres
        span apart, turned by turn degrees."""
        h = span / 2
        for e in (("line", -h, -r, h, -r), ("arc", h, 0, r, 270, 450), ("line", h, r, -h, r),
                  ("arc", -h, 0, r, 90, 270)):
            self.cut.append(ms.turned(e, turn, cx, cy))

    def claim(self, box):
        c = self.clear
        if any(not (box[2] + c <= t[0] or t[2] + c <= box[0] or box[3] + c <= t[1] or t[3] + c <= box[1])
               for t in self.taken):
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


def between(rng, low, high):
    return rng.uniform(low, max(low, high))


def rounded_points(w, h, r, n):
    """About n points counter-clockwise round a w x h rectangle with corners
    of radius r, from (r, 0)."""
    per_corner = max(4, n // 8)
    per_side = max(1, (n - 4 * per_corner) // 4)
    points = []
    corners = ((w - r, r, 270), (w - r, h - r, 0), (r, h - r, 90), (r, r, 180))
    sides = (((r, 0), (w - r, 0)), ((w, r), (w, h - r)), ((w - r, h), (r, h)), ((0, h - r), (0, r)))
    for ((ax, ay), (bx, by)), (cx, cy, start) in zip(sides, corners):
        for k in range(per_side):
            points.append((ax + (bx - ax) * k / per_side, ay + (by - ay) * k / per_side))
        for k in range(per_corner):
            a = math.radians(start + 90.0 * k / per_corner)
            points.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return points


def circle_points(cx, cy, r, n, phase):
    return [(cx + r * math.cos(phase + 2 * math.pi * k / n), cy + r * math.sin(phase + 2 * math.pi * k / n))
            for k in range(n)]


# Holes placed in a region of a part (shared by the classes and the plate).

def edge_hole(g, w, h, corner=False):
    """A round or square hole 0.3 L from the side(s) of the rectangle
    (0, 0, w, h)."""
    d, rng = 0.3 * g.L, g.rng
    r = between(rng, max(1.5, 0.5 * g.L), max(5.0, 1.5 * g.L))
    side = rng.randrange(4)
    if corner:
        cx, cy = (d + r, w - d - r)[side % 2], (d + r, h - d - r)[side // 2]
    elif side in (0, 1):
        cx, cy = (d + r, w - d - r)[side], between(rng, d + r, h - d - r)
    else:
        cx, cy = between(rng, d + r, w - d - r), (d + r, h - d - r)[side - 2]
    if g.claim((cx - r, cy - r, cx + r, cy + r)):
        if rng.random() < 0.7:
            g.circle(cx, cy, r)
        else:
            g.rect(cx - r, cy - r, 2 * r, 2 * r)


def rim_hole(g, cx, cy, big):
    """A round hole 0.3 L from the rim of a disc of radius big about (cx, cy)."""
    r = between(g.rng, max(1.5, 0.4 * g.L), min(max(4.0, g.L), big / 4))
    a = g.rng.uniform(0, 2 * math.pi)
    at = big - 0.3 * g.L - r
    x, y = cx + at * math.cos(a), cy + at * math.sin(a)
    if g.claim((x - r, y - r, x + r, y + r)):
        g.circle(x, y, r)


def slot(g, region):
    """A slot 0.3 to 1.9 L wide at any angle."""
    rng = g.rng
    r = rng.uniform(max(0.3, 0.15 * g.L), 0.95 * g.L)
    span = rng.uniform(max(2.0, g.L), 6 * g.L + 10)
    turn = rng.choice([0, 90, 45, rng.uniform(0, 360), rng.uniform(0, 360)])
    ex = abs(math.cos(math.radians(turn))) * span / 2 + r
    ey = abs(math.sin(math.radians(turn))) * span / 2 + r
    at = g.free_box(region, 2 * ex, 2 * ey)
    if at:
        g.obround(at[0] + ex, at[1] + ey, r, span, turn)


def disc_in_bore(g, region, washer):
    """A bore with a disc (or, washer true, a washer) standing in it, 0.3 to
    0.9 L clear all round."""
    rng = g.rng
    inner = rng.uniform(max(2.0, g.L), max(15.0, 3 * g.L))
    bore = inner + rng.uniform(0.3, 0.9) * g.L
    at = g.free_box(region, 2 * bore, 2 * bore)
    if at:
        cx, cy = at[0] + bore, at[1] + bore
        g.circle(cx, cy, bore)
        g.circle(cx, cy, inner)
        if washer:
            g.circle(cx, cy, rng.uniform(0.3, 0.6) * inner)


def polyline_hole(g, region):
    rng = g.rng
    r = rng.uniform(max(5.0, g.L), max(15.0, 3 * g.L))
    at = g.free_box(region, 2 * r, 2 * r)
    if at:
        g.polyline(circle_points(at[0] + r, at[1] + r, r, rng.randint(50, 120), rng.uniform(0, 1)))


# The groups of each class, in their own coordinates.

def part_size(g, low, high):
    return between(g.rng, max(low, 8 * g.L), max(high, 14 * g.L)), between(g.rng, max(low * 0.7, 6 * g.L),
                                                                          max(high * 0.7, 10 * g.L))


def polyline_rounded(g):
    w, h = part_size(g, 60.0, 160.0)
    r = g.rng.uniform(min(w, h) / 8, min(w, h) / 3)
    g.polyline(rounded_points(w, h, r, g.rng.randint(50, 200)))
    m = r * (1 - 1 / math.sqrt(2)) + g.clear
    if g.rng.random() < 0.6:
        polyline_hole(g, (m, m, w - m, h - m))
    at = g.free_box((m, m, w - m, h - m), 8, 6)
    if at:
        g.rect(at[0], at[1], 8, 6)


def polyline_circle(g):
    big = between(g.rng, max(20.0, 4 * g.L), max(70.0, 8 * g.L))
    g.polyline(circle_points(big, big, big, g.rng.randint(50, 200), g.rng.uniform(0, 1)))
    if g.rng.random() < 0.7:
        inner = g.rng.uniform(0.2, 0.5) * big
        if g.rng.random() < 0.5:
            g.polyline(circle_points(big, big, inner, g.rng.randint(50, 120), g.rng.uniform(0, 1)))
        else:
            g.circle(big, big, inner)


def washer(g):
    big = between(g.rng, max(15.0, 3 * g.L), max(60.0, 8 * g.L))
    ring = g.rng.choice([g.rng.uniform(0.3, 0.9) * g.L, g.rng.uniform(0.2, 0.6) * big])
    g.circle(big, big, big)
    g.circle(big, big, max(1.0, big - ring))


def washer_disc(g):
    """Three circles: a washer and a disc standing in its bore."""
    rng = g.rng
    disc = rng.uniform(max(2.0, g.L), max(20.0, 4 * g.L))
    bore = disc + rng.uniform(0.3, 0.9) * g.L
    big = bore + rng.uniform(max(4.0, 0.5 * g.L), max(20.0, 3 * g.L))
    for r in (big, bore, disc):
        g.circle(big, big, r)


def washer_in_washer(g):
    """Two or three washers, each standing in the bore of the one around it,
    sometimes with a disc in the last one's bore."""
    rng = g.rng
    radii = [rng.uniform(max(2.0, g.L), max(10.0, 2 * g.L))]
    if rng.random() < 0.5:
        radii.append(radii[-1] + rng.uniform(max(2.0, 0.5 * g.L), max(6.0, g.L)))    # a disc, then its bore
        radii.append(radii[-1] + rng.uniform(0.3, 0.9) * g.L)
    for _ in range(rng.randint(2, 3)):
        radii.append(radii[-1] + rng.uniform(max(3.0, 0.5 * g.L), max(10.0, 2 * g.L)))  # the washer
        radii.append(radii[-1] + rng.uniform(0.3, 0.9) * g.L)                           # the bore around it
    radii.pop()     # the outermost washer stands on the sheet
    big = radii[-1]
    for r in radii:
        g.circle(big, big, r)


def rect_disc_in_bore(g):
    w, h = part_size(g, 60.0, 140.0)
    g.rect(0, 0, w, h)
    m = g.clear
    for _ in range(g.rng.randint(1, 2)):
        disc_in_bore(g, (m, m, w - m, h - m), washer=g.rng.random() < 0.3)


def edge_holes_rect(g):
    w, h = part_size(g, 60.0, 160.0)
    g.rect(0, 0, w, h)
    for _ in range(g.rng.randint(2, 5)):
        edge_hole(g, w, h, corner=g.rng.random() < 0.3)
    m = max(g.clear, 0.3 * g.L + 1.5 * g.L)
    if g.rng.random() < 0.5:
        disc_in_bore(g, (m, m, w - m, h - m), washer=False)


def edge_holes_disc(g):
    big = between(g.rng, max(25.0, 5 * g.L), max(70.0, 9 * g.L))
    g.circle(big, big, big)
    for _ in range(g.rng.randint(2, 5)):
        rim_hole(g, big, big, big)


def slots_rect(g):
    w, h = part_size(g, 70.0, 180.0)
    g.rect(0, 0, w, h)
    m = g.clear
    for _ in range(g.rng.randint(2, 6)):
        slot(g, (m, m, w - m, h - m))


def slots_disc(g):
    big = between(g.rng, max(30.0, 5 * g.L), max(70.0, 9 * g.L))
    g.circle(big, big, big)
    half = big / math.sqrt(2) - g.clear
    for _ in range(g.rng.randint(1, 3)):
        slot(g, (big - half, big - half, big + half, big + half))


def small_part(g):
    rng, L = g.rng, g.L
    kind = rng.choice(["disc", "square", "washer", "strip", "obround"])
    if kind == "disc":
        r = rng.uniform(max(0.5, 0.25 * L), 0.95 * L)
        g.circle(r, r, r)
    elif kind == "square":
        s = rng.uniform(max(1.0, 0.5 * L), 1.9 * L)
        g.rect(0, 0, s, s)
    elif kind == "washer":
        r = rng.uniform(max(0.6, 0.6 * L), 0.95 * L)
        g.circle(r, r, r)
        g.circle(r, r, rng.uniform(0.3, 0.5) * r)
    elif kind == "strip":
        g.rect(0, 0, rng.uniform(3 * L + 5, 10 * L + 20), rng.uniform(max(1.0, 0.5 * L), 1.9 * L))
    else:
        r = rng.uniform(max(0.5, 0.25 * L), 0.95 * L)
        span = rng.uniform(2 * L, 8 * L + 10)
        g.obround(span / 2 + r, r, r, span, 0)


def frames(g, depth):
    """depth square frames, each in the square hole of the one around it,
    and a square or a disc innermost."""
    rng, L = g.rng, g.L
    side = rng.uniform(max(8.0, 2 * L), max(30.0, 3 * L))
    disc = rng.random() < 0.4
    squares = [side]
    for _ in range(depth):
        gap = rng.choice([rng.uniform(0.3, 0.9) * L, 2 * L + 4])
        hole = squares[-1] + 2 * gap
        squares += [hole, hole + 2 * rng.uniform(max(2.0, 0.3 * L), max(6.0, L))]
    big = squares[-1]
    for k, s in enumerate(squares):
        at = (big - s) / 2
        if k == 0 and disc:
            g.circle(big / 2, big / 2, s / 2)
        else:
            g.rect(at, at, s, s)


def doubled(g):
    kind = g.rng.choice(["rect", "rounded", "washer", "obround"])
    if kind == "rect":
        edge_holes_rect(g)
    elif kind == "rounded":
        w, h = part_size(g, 60.0, 150.0)
        r = g.rng.uniform(3.0, min(w, h) / 4)
        ms.rounded_rectangle(g, 0, 0, w, h, r)
        m = r + g.clear
        slot(g, (m, m, w - m, h - m))
    elif kind == "washer":
        washer_disc(g)
    else:
        r = between(g.rng, max(10.0, 2 * g.L), max(30.0, 4 * g.L))
        span = g.rng.uniform(2 * r, 5 * r)
        g.obround(span / 2 + r, r, r, span, 0)
        hole = max(1.0, 0.4 * r)
        g.circle(r, r, hole)
        g.circle(span + r, r, hole)
    g.doubled = g.rng.random() < 0.8


def shared_edges(g):
    """A row of rectangles side by side, each its own loop."""
    rng, L = g.rng, g.L
    n = rng.randint(2, 4)
    mode = rng.choice(["equal", "stepped", "arcs"])
    h = between(rng, max(40.0, 6 * L), max(110.0, 10 * L))
    widths = [between(rng, max(40.0, 5 * L), max(100.0, 9 * L)) for _ in range(n)]
    heights = [h if mode != "stepped" else h * rng.uniform(0.4, 1.0) for _ in range(n)]
    xs = [0.0]
    for w in widths:
        xs.append(xs[-1] + w)
    # A shared edge as an arc bulges into the part on its right by a sag
    # that leaves that part a third of its width.
    sags = [rng.uniform(0.1, 0.3) * min(h, widths[k + 1]) if mode == "arcs" and rng.random() < 0.6 else 0.0
            for k in range(n - 1)]

    def side(x, y_low, y_high, sag, upward):
        if sag == 0 and upward:
            g.line(x, y_low, x, y_high)
            return
        if sag == 0:
            g.line(x, y_high, x, y_low)
            return
        half = (y_high - y_low) / 2
        radius = (sag * sag + half * half) / (2 * sag)
        reach = math.degrees(math.atan2(half, radius - sag))
        g.arc(x - (radius - sag), y_low + half, radius, -reach, reach)

    for k in range(n):
        x0, x1, top = xs[k], xs[k + 1], heights[k]
        g.line(x0, 0, x1, 0)
        side(x1, 0, top, sags[k] if k < n - 1 else 0.0, True)
        g.line(x1, top, x0, top)
        side(x0, 0, top, sags[k - 1] if k > 0 else 0.0, False)
        m = g.clear + (sags[k - 1] if k > 0 else 0.0)
        if rng.random() < 0.6:
            at = g.free_box((x0 + m, g.clear, x1 - g.clear, top - g.clear), 6.0, 6.0)
            if at:
                g.circle(at[0] + 3, at[1] + 3, 3.0)


MAKERS = {
    "polyline": [polyline_rounded, polyline_circle],
    "washers": [washer, washer_disc, washer_in_washer, rect_disc_in_bore],
    "edge_holes": [edge_holes_rect, edge_holes_disc],
    "slots": [slots_rect, slots_disc],
    "small": [small_part],
    "frames": [lambda g: frames(g, g.rng.randint(2, 5))],
    "doubled": [doubled],
    "shared_edges": [shared_edges],
}


def groups_of(cls, rng, approach, tol):
    """Endless groups of the class, each (kind, Group)."""
    k = 0
    while True:
        kind = rng.choice(CLASSES) if cls == "all" else cls
        g = Group(rng, approach, tol)
        if kind == "frames" and k == 0:
            frames(g, 5)
        else:
            rng.choice(MAKERS[kind])(g)
        k += 1
        yield kind, g


def written(rng, g):
    """The group's records as the host may write them; a doubled group has
    each written twice."""
    out = ms.as_written(rng, g.cut)
    if not g.doubled:
        return out
    again = [("line", e[3], e[4], e[1], e[2]) if e[0] == "line" and rng.random() < 0.5 else e for e in out]
    if rng.random() < 0.5:
        return [e for pair in zip(out, again) for e in pair]
    rng.shuffle(again)
    return out + again


def lay_out(rng, cls, count, width, height, approach, tol):
    gap = 2 * approach + 4
    ox, oy = round(rng.uniform(-400.0, 400.0), 3), round(rng.uniform(-400.0, 400.0), 3)
    placed, kinds = [], {}
    x, y, row_height, misses = gap, gap, 0.0, 0
    groups = groups_of(cls, rng, approach, tol)
    while len(placed) < count and misses < 20:
        kind, g = next(groups)
        turn = TURNS[len(placed) % len(TURNS)]
        x0, y0, x1, y1 = ms.box_of([ms.turned(e, turn, 0, 0) for e in g.cut])
        if x1 - x0 > width - 2 * gap or y1 - y0 > height - 2 * gap:
            misses += 1
            continue
        if x + (x1 - x0) > width - gap:
            x, y, row_height = gap, y + row_height + gap, 0.0
        if y + (y1 - y0) > height - gap:
            break
        tx, ty = round(ox + x - x0, 3), round(oy + y - y0, 3)
        g.cut = [ms.turned(e, turn, tx, ty) for e in g.cut]
        placed.append(g)
        kinds[kind] = kinds.get(kind, 0) + 1
        x, row_height = x + (x1 - x0) + gap, max(row_height, y1 - y0)
    return placed, kinds, (ox, oy, ms.q(ox + width), ms.q(oy + height))


def plate(rng, count, width, height, approach, tol, holes_only=False):
    """One plate from (0, 0) and its holes; the holes as one group. With
    holes_only, nothing stands in a bore: a disc in a bore is a part of its
    own, material only on a sheet run with every part material."""
    g = Group(rng, approach, tol)
    g.rect(0, 0, width, height)
    kinds = {}
    m = g.clear
    region = (m, m, width - m, height - m)
    makers = {"edge": lambda: edge_hole(g, width, height, corner=rng.random() < 0.2),
              "slot": lambda: slot(g, region),
              "polyline": lambda: polyline_hole(g, region)}
    if not holes_only:
        makers["disc_in_bore"] = lambda: disc_in_bore(g, region, washer=False)
        makers["washer_in_bore"] = lambda: disc_in_bore(g, region, washer=True)
    for _ in range(count):
        kind = rng.choice(sorted(makers))
        before = len(g.cut)
        makers[kind]()
        if len(g.cut) > before:
            kinds[kind] = kinds.get(kind, 0) + 1
    g.cut = [ms.turned(e, 0, 0, 0) for e in g.cut]
    return g, kinds


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--class", dest="cls", required=True, choices=CLASSES + ["all", "plate"],
                    help="the shapes to draw")
    ap.add_argument("--out", required=True, help="the host folder to write (created if missing)")
    ap.add_argument("--seed", type=int, default=1, help="seed of the random choices (default 1)")
    ap.add_argument("--parts", type=int, default=40, help="groups of parts (a plate: holes) at most")
    ap.add_argument("--width", type=float, default=1000.0, help="the sheet's or plate's width")
    ap.add_argument("--height", type=float, default=500.0, help="the sheet's or plate's height")
    ap.add_argument("--approach", type=float, default=5.0, help="the approach length written into set.ini")
    ap.add_argument("--holes-only", action="store_true",
                    help="a plate: only holes, no disc or washer standing in a bore")
    ap.add_argument("--name", help="the drawing's name on the file= line (default CLASS_sS)")
    args = ap.parse_args(argv)
    if args.parts < 1 or args.approach <= 0:
        ap.error("--parts must be at least 1 and --approach above 0")
    name = args.name if args.name is not None else "%s_s%d" % (args.cls, args.seed)
    rng = random.Random(args.seed)
    tol = tolerance_of_templates()
    if args.cls == "plate":
        g, kinds = plate(rng, args.parts, args.width, args.height, args.approach, tol, args.holes_only)
        groups = [(ms.CUT, written(rng, g))]
        x0, y0, x1, y1 = 0, 0, args.width, args.height
        edge = ""
    else:
        placed, kinds, (x0, y0, x1, y1) = lay_out(rng, args.cls, args.parts, args.width, args.height,
                                                  args.approach, tol)
        groups = [(ms.CUT, ms.as_written(rng, [("line", x0, y0, x1, y0), ("line", x1, y0, x1, y1),
                                               ("line", x1, y1, x0, y1), ("line", x0, y1, x0, y0)]))]
        groups += [(ms.CUT, written(rng, g)) for g in placed]
        edge = " with its edge"
    os.makedirs(os.path.join(args.out, "Zemlak", "Bin"), exist_ok=True)
    with open(os.path.join(args.out, "JWC_TEMP.TXT"), "wb") as f:
        f.write("".join(line + "\r\n" for line in ms.interchange_lines(name, groups)).encode("cp932"))
    ms.copy_templates(args)
    records = sum(len(entities) for _, entities in groups)
    what = ", ".join("%s %d" % (kind, n) for kind, n in sorted(kinds.items()))
    print("%s: %d groups (%s), %d records; %s %s x %s from (%s, %s)%s, approach %s"
          % (args.cls, sum(kinds.values()), what, records, "plate" if args.cls == "plate" else "sheet",
             ms.text(x1 - x0), ms.text(y1 - y0), ms.text(x0), ms.text(y0), edge, ms.text(args.approach)))
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""A single plate with holes of the common shapes, as a host folder.

Usage:
    python3 make_plate.py --width 3000 --height 1500 --holes 700 --approach 5 --out DIR

Writes DIR/JWC_TEMP.TXT (code page 932, CR LF) and DIR/Zemlak/Bin with set.ini
and the five templates. The plate's outline is a rectangle from (0, 0); the
holes sit on a lattice, 2.5 to 10 approach lengths across (at most a third
of their cell), as rectangles, slots, L shapes, rounded rectangles, D shapes
and circles, some turned. Everything is deterministic.
"""

import argparse
import math
import os

SHAPES = ["rectangle", "slot", "l_shape", "rounded", "d_shape", "circle"]
TURNS = [0, 0, 90, 15, 30, 45, 137, 0, 270, 60]


def num(v):
    t = ("%.4f" % v).rstrip("0").rstrip(".")
    return "0" if t in ("-0", "") else t


class Pen:
    """Closed contours counter-clockwise in local coordinates, turned and moved."""

    def __init__(self, records, cx, cy, turn):
        self.records, self.cx, self.cy, self.turn = records, cx, cy, turn
        self.c, self.s = math.cos(math.radians(turn)), math.sin(math.radians(turn))

    def place(self, x, y):
        return self.cx + x * self.c - y * self.s, self.cy + x * self.s + y * self.c

    def start(self, x, y):
        self.at = self.first = self.place(x, y)

    def line_to(self, x, y):
        p = self.place(x, y)
        self.records.append(" %s %s %s %s" % (num(self.at[0]), num(self.at[1]), num(p[0]), num(p[1])))
        self.at = p

    def arc(self, x, y, r, a, b):
        cx, cy = self.place(x, y)
        sa, ea = (a + self.turn) % 360, (b + self.turn) % 360
        self.records.append("ci %s %s %s %s %s 1 0" % (num(cx), num(cy), num(r), num(sa), num(ea)))
        self.at = (cx + r * math.cos(math.radians(ea)), cy + r * math.sin(math.radians(ea)))

    def close(self):
        self.records.append(" %s %s %s %s" % (num(self.at[0]), num(self.at[1]),
                                              num(self.first[0]), num(self.first[1])))


def hole(records, shape, cx, cy, across, along, turn):
    if shape in ("slot", "l_shape"):
        along = max(along, 2 * across)
    w, h = max(along, across) / 2, across / 2
    p = Pen(records, cx, cy, turn)
    if shape == "rectangle":
        p.start(-w, -h); p.line_to(w, -h); p.line_to(w, h); p.line_to(-w, h); p.close()
    elif shape == "slot":
        p.start(0, -h); p.line_to(w - h, -h); p.arc(w - h, 0, h, 270, 90); p.line_to(-w + h, h)
        p.arc(-w + h, 0, h, 90, 270); p.close()
    elif shape == "l_shape":
        p.start(-w, -w); p.line_to(w, -w); p.line_to(w, -w + across); p.line_to(-w + across, -w + across)
        p.line_to(-w + across, w); p.line_to(-w, w); p.close()
    elif shape == "rounded":
        r = across / 4
        p.start(0, -h); p.line_to(w - r, -h); p.arc(w - r, -h + r, r, 270, 0); p.line_to(w, h - r)
        p.arc(w - r, h - r, r, 0, 90); p.line_to(-w + r, h); p.arc(-w + r, h - r, r, 90, 180)
        p.line_to(-w, -h + r); p.arc(-w + r, -h + r, r, 180, 270); p.close()
    elif shape == "d_shape":
        p.start(-h, -across); p.arc(-h, 0, across, 270, 90); p.close()
    else:
        records.append("ci %s %s %s" % (num(cx), num(cy), num(across / 2)))


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--width", type=float, default=3000)
    ap.add_argument("--height", type=float, default=1500)
    ap.add_argument("--holes", type=int, default=700)
    ap.add_argument("--approach", type=float, default=5)
    ap.add_argument("--out", required=True)
    a = ap.parse_args()
    W, H, L, n = a.width, a.height, a.approach, a.holes
    records = [" 0 0 %s 0" % num(W), " %s 0 %s %s" % (num(W), num(W), num(H)),
               " %s %s 0 %s" % (num(W), num(H), num(H)), " 0 %s 0 0" % num(H)]
    columns = math.ceil(math.sqrt(n * W / H))
    rows = (n + columns - 1) // columns
    cell_x, cell_y = W / columns, H / rows
    room = 0.7 * min(cell_x, cell_y)
    for k in range(n):
        across = min(L * (2.5 + 7.5 * (k % 7) / 6), room / 2)
        along = min(across * (1 + k % 3), room)
        hole(records, SHAPES[k % 6], cell_x * (k % columns + 0.5), cell_y * (k // columns + 0.5),
             across, along, TURNS[k % 10])
    lines = ["hq", "file=C:\\jww\\plate.jww", "#", "ly0", "lc2", "lt1"] + records
    os.makedirs(os.path.join(a.out, "Zemlak", "Bin"), exist_ok=True)

    def write(path, text_lines):
        with open(path, "wb") as f:
            f.write(("\r\n".join(text_lines) + "\r\n").encode("cp932"))

    write(os.path.join(a.out, "JWC_TEMP.TXT"), lines)
    bin_dir = os.path.join(a.out, "Zemlak", "Bin")
    write(os.path.join(bin_dir, "set.ini"),
          ["0.01", num(L), "1000", "10 50 E1", "50 300 E2", "300 1000 E3", "E9", "2"])
    for name, text in {"head.ini": ["%", "O1000", "(FILE Nc_name)", "G21G90G17"], "sta_cut.ini": ["M07"],
                       "sta_mark.ini": ["M09"], "end.ini": ["M08"],
                       "foot.ini": ["G00X0.Y0.G40", "M30", "%"]}.items():
        write(os.path.join(bin_dir, name), text)
    print("plate %s x %s, %d holes, approach %s, %d records" % (num(W), num(H), n, num(L), len(records)))


if __name__ == "__main__":
    main()

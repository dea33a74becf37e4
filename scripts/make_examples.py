#!/usr/bin/env python3
"""Writes the example data of examples/: a road-corridor survey, its alignment, a DXF map of
the same area and a project catalogue.

    python3 scripts/make_examples.py [--out DIR] [--catalogue-folder PATH]

Files (code page 1250, lines ended by CR LF, "." as the decimal point):
  droga_pomiar.txt   about 3,000 total-station points along 1.5 km: a header line, then
                     NR,X,Y,Z,KOD; X is the easting, Y the northing. The codes follow the
                     program's default record structure: S the axis (the whole name, as the
                     cross-section rule wants it), NA and NB the pavement layers, HA and HB the
                     humus layers, and plain terrain codes (T, ROW, SK, KR) that carry no layer.
  droga_trasa.TRS    the road axis: straights, arcs and clothoids turning right and then left.
  droga_mapa.dxf     a DXF release 12 map of the corridor: the kerbs as LINEs and a 3D POLYLINE,
                     buildings as closed POLYLINEs with bulges, spot heights as TEXTs.
  projekty.prj       a project catalogue whose one project is this folder.

Only the standard library is used, and the random survey noise is seeded, so the files come
out the same on every run.
"""

import argparse
import math
import os
import random

# Where the corridor lies (easting, northing of the start of the axis, metres).
START_X = 7501240.00
START_Y = 5784810.00
START_AZIMUTH = math.radians(62.0)  # from the north towards the east

SECTION_SPACING = 10.0
SURVEY_LENGTH = 1500.0


# --- the alignment ---------------------------------------------------------------------------
# The geometry is evaluated exactly as the program evaluates a .TRS file, so every main point
# lies where the program puts the end of the element before it.

def clothoid_offsets(a, r):
    """Arc length, tangent angle, lateral (right) and along offsets from a clothoid's origin to
    the point of radius r, by the program's five-term series."""
    if a * r == 0:
        return 0.0, 0.0, 0.0, 0.0
    length = a * abs(a / r)
    tau = length / (2 * r)
    t = tau * tau
    lateral = length * tau * (0.3333333333 - t * (0.0238095238 - t * (
        0.00075757576 - t * (1.3227513e-05 - t * 1.450385e-07))))
    along = length * (1 - t * (0.1 - t * (0.00462962963 - t * (
        0.0001068376 - t * (1.45892e-06 - t * 1.31225e-08)))))
    return length, tau, lateral, along


class Element:
    """One element of the axis, opened by its main point (chainage, x, y, azimuth, radius, A)."""

    def __init__(self, chainage, x, y, azimuth, radius, parameter):
        self.chainage, self.x, self.y, self.azimuth = chainage, x, y, azimuth
        self.radius, self.parameter = radius, parameter
        if parameter != 0:
            r0 = radius if abs(radius) > 0.0002 else 0.0
            l0, tau0, lat0, along0 = clothoid_offsets(parameter, r0)
            self.origin_azimuth = azimuth - tau0
            s, k = math.sin(self.origin_azimuth), math.cos(self.origin_azimuth)
            self.origin_x = x - along0 * s - lat0 * k
            self.origin_y = y - along0 * k + lat0 * s
            self.origin_chainage = chainage - l0

    def point(self, c):
        d = c - self.chainage
        a0 = self.azimuth
        if self.parameter != 0:
            l = c - self.origin_chainage
            ao = self.origin_azimuth
            if l == 0:
                return self.origin_x, self.origin_y, ao
            r = abs(self.parameter * self.parameter / l)
            if self.radius < 0:
                r = -r
            _, tau, lat, along = clothoid_offsets(self.parameter, r)
            s, k = math.sin(ao), math.cos(ao)
            return (self.origin_x + along * s + lat * k, self.origin_y + along * k - lat * s,
                    ao + tau)
        if abs(self.radius) > 0.0002:
            h = d / (2 * self.radius)
            chord = 2 * self.radius * math.sin(h)
            return (self.x + chord * math.sin(a0 + h), self.y + chord * math.cos(a0 + h),
                    a0 + 2 * h)
        return self.x + d * math.sin(a0), self.y + d * math.cos(a0), a0


def build_alignment():
    """The axis as (kind, length, radius at its start, clothoid parameter) steps: a right-hand
    curve with its transitions, a straight, a left-hand curve, a straight. A negative radius
    turns left; a clothoid that leaves a curve has a negative parameter."""
    a1, r1 = 150.0, 400.0
    a2, r2 = 130.0, -300.0
    steps = [
        ("prosta", 250.0, 0.0, 0.0),
        ("klotoida", a1 * a1 / r1, 0.0, a1),
        ("łuk", 300.0, r1, 0.0),
        ("klotoida", a1 * a1 / r1, r1, -a1),
        ("prosta", 200.0, 0.0, 0.0),
        ("klotoida", a2 * a2 / abs(r2), -0.0001, a2),  # starts straight, turns left
        ("łuk", 260.0, r2, 0.0),
        ("klotoida", a2 * a2 / abs(r2), r2, -a2),
        ("prosta", 270.0, 0.0, 0.0),
    ]
    elements = []
    c, x, y, az = 0.0, START_X, START_Y, START_AZIMUTH
    for _, length, radius, parameter in steps:
        e = Element(c, x, y, az, radius, parameter)
        elements.append(e)
        c += length
        x, y, az = e.point(c)
    # The last main point closes the last element; its azimuth continues the road.
    end = Element(c, x, y, az, 0.0, 0.0)
    return elements, end


def axis_point(elements, end, c):
    for e, following in zip(elements, elements[1:] + [end]):
        if c <= following.chainage:
            return e.point(c)
    return end.point(c)


def offset_point(x, y, azimuth, distance):
    """The point `distance` to the right of (x, y) across the azimuth."""
    return x + distance * math.cos(azimuth), y - distance * math.sin(azimuth)


# --- the ground and the road ---------------------------------------------------------------

def ground_height(x, y):
    """Gently rolling farmland falling towards the north-east."""
    u, v = x - START_X, y - START_Y
    return (118.0 - 0.004 * u - 0.003 * v + 1.8 * math.sin(u / 170.0) * math.cos(v / 230.0)
            + 0.9 * math.sin((u + v) / 95.0))


def road_level(elements, end, c):
    """The existing road's axis: the ground along the axis, smoothed over 60 m and raised 0.4 m."""
    total = 0.0
    for k in range(-6, 7):
        x, y, _ = axis_point(elements, end, c + 10.0 * k)
        total += ground_height(x, y)
    return total / 13 + 0.4


# A cross-section of the existing road, left to right: offset, code and how the height is made.
# "road" is the axis level with a 2 % cross-fall, "drop" a ditch or slope depth below the road
# edge, "ground" the terrain itself.
SECTION = [
    (-25.0, "T", "ground", 0.0),
    (-19.0, "HA", "ground", 0.0),
    (-14.0, "HB", "ground", 0.0),
    (-10.5, "SK", "drop", 0.55),
    (-8.5, "ROW", "drop", 1.05),
    (-7.0, "SK", "drop", 0.45),
    (-5.5, "NB", "road", -0.08),
    (-4.5, "NB", "road", -0.03),
    (-3.5, "KR", "road", 0.0),
    (-3.4, "NA", "road", 0.0),
    (-1.75, "NA", "road", 0.0),
    (0.0, "S", "road", 0.0),
    (1.75, "NA", "road", 0.0),
    (3.4, "NA", "road", 0.0),
    (3.5, "KR", "road", 0.0),
    (4.5, "NB", "road", -0.03),
    (6.0, "SK", "drop", 0.6),
    (8.0, "ROW", "drop", 1.1),
    (13.0, "HA", "ground", 0.0),
    (24.0, "T", "ground", 0.0),
]


def section_height(level, x, y, offset, kind, depth):
    if kind == "road":  # depth: how far a shoulder lies below the carriageway's plane
        return level - 0.02 * abs(offset) + depth
    if kind == "drop":
        return level - 0.02 * 3.5 - depth
    return ground_height(x, y)


def staked_on_centimetres(x, y, azimuth):
    """The centimetre grid point next to an axis point that lies closest to it along the axis:
    the import keeps coordinates to 0.01, and the section's chainage is the axis point's."""
    best = None
    for dx in (-0.01, 0.0, 0.01):
        for dy in (-0.01, 0.0, 0.01):
            gx, gy = round(x + dx, 2), round(y + dy, 2)
            along = (gx - x) * math.sin(azimuth) + (gy - y) * math.cos(azimuth)
            across = (gx - x) * math.cos(azimuth) - (gy - y) * math.sin(azimuth)
            # Off by less than half the chainage accuracy along, then as near as can be.
            key = (abs(along) >= 0.004, math.hypot(along, across), gx, gy)
            best = key if best is None or key < best else best
    return best[2], best[3]


def survey(elements, end, rng):
    points = []  # (x, y, z, code)
    # From 10 m on: a section at the very start would lose the points shot before it.
    sections = int(SURVEY_LENGTH / SECTION_SPACING)
    for s in range(1, sections + 1):
        c0 = s * SECTION_SPACING
        level = road_level(elements, end, c0)
        # The crew walks each section across, alternately from the left and from the right.
        shots = SECTION if s % 2 == 0 else list(reversed(SECTION))
        for offset, code, kind, depth in shots:
            # Off the axis the rod stands roughly on the section line; the axis point is staked.
            c = c0 if code == "S" else c0 + rng.uniform(-0.35, 0.35)
            o = offset + (0.0 if code == "S" else rng.uniform(-0.15, 0.15))
            ax, ay, az = axis_point(elements, end, c)
            x, y = offset_point(ax, ay, az, o)
            if code == "S":
                x, y = staked_on_centimetres(ax, ay, az)
            z = section_height(level, x, y, o, kind, depth) + rng.gauss(0.0, 0.01)
            points.append((x, y, z, code))
    return points


# --- the DXF map -----------------------------------------------------------------------------

def dxf_pair(code, value):
    return ["%3d" % code, value]


def dxf_number(v):
    return "%.3f" % v


def dxf_map(elements, end, rng):
    lines = []
    xs, ys = [], []

    def add(entity_lines, *coords):
        lines.extend(entity_lines)
        for x, y in coords:
            xs.append(x)
            ys.append(y)

    entities = []
    # Left kerb: one LINE per 10 m, with its heights.
    kerb_left, kerb_right = [], []
    for k in range(0, int(SURVEY_LENGTH) + 1, 10):
        level = road_level(elements, end, k)
        ax, ay, az = axis_point(elements, end, k)
        z = level - 0.07 + 0.12
        kerb_left.append(offset_point(ax, ay, az, -3.5) + (z,))
        kerb_right.append(offset_point(ax, ay, az, 3.5) + (z,))
    for (x1, y1, z1), (x2, y2, z2) in zip(kerb_left, kerb_left[1:]):
        e = dxf_pair(0, "LINE") + dxf_pair(8, "KRAWEZNIKI")
        e += dxf_pair(10, dxf_number(x1)) + dxf_pair(20, dxf_number(y1))
        e += dxf_pair(30, dxf_number(z1))
        e += dxf_pair(11, dxf_number(x2)) + dxf_pair(21, dxf_number(y2))
        e += dxf_pair(31, dxf_number(z2))
        entities.append((e, [(x1, y1), (x2, y2)]))
    # Right kerb: one 3D POLYLINE.
    e = dxf_pair(0, "POLYLINE") + dxf_pair(8, "KRAWEZNIKI") + dxf_pair(66, "1")
    e += dxf_pair(10, "0.0") + dxf_pair(20, "0.0") + dxf_pair(30, "0.0") + dxf_pair(70, "8")
    for x, y, z in kerb_right:
        e += dxf_pair(0, "VERTEX") + dxf_pair(8, "KRAWEZNIKI")
        e += dxf_pair(10, dxf_number(x)) + dxf_pair(20, dxf_number(y))
        e += dxf_pair(30, dxf_number(z)) + dxf_pair(70, "32")
    e += dxf_pair(0, "SEQEND") + dxf_pair(8, "KRAWEZNIKI")
    entities.append((e, [(x, y) for x, y, _ in kerb_right]))

    # Buildings beside the road: closed 2D polylines; one wall of each bows out as an arc
    # (bulge 0.25, about a 28-degree arc) and some have a rounded corner bay.
    for n, c in enumerate(range(60, int(SURVEY_LENGTH), 115)):
        side = -1 if n % 2 == 0 else 1
        ax, ay, az = axis_point(elements, end, c)
        width, depth = rng.uniform(10, 16), rng.uniform(8, 12)
        near = 32.0 + rng.uniform(0, 6)
        corners = []
        for along, across in ((0, near), (width, near), (width, near + depth), (0, near + depth)):
            bx, by, baz = axis_point(elements, end, c + along)
            corners.append(offset_point(bx, by, baz, side * across))
        bulges = [0.0, 0.25 if n % 3 == 0 else 0.0, 0.0, -0.18 if n % 2 else 0.0]
        if side < 0:
            bulges = [-b for b in bulges]
        e = dxf_pair(0, "POLYLINE") + dxf_pair(8, "BUDYNKI") + dxf_pair(66, "1")
        e += dxf_pair(10, "0.0") + dxf_pair(20, "0.0") + dxf_pair(30, "0.0") + dxf_pair(70, "1")
        for (x, y), bulge in zip(corners, bulges):
            e += dxf_pair(0, "VERTEX") + dxf_pair(8, "BUDYNKI")
            e += dxf_pair(10, dxf_number(x)) + dxf_pair(20, dxf_number(y))
            e += dxf_pair(30, "0.0")
            if bulge:
                e += dxf_pair(42, "%.4f" % bulge)
        e += dxf_pair(0, "SEQEND") + dxf_pair(8, "BUDYNKI")
        entities.append((e, corners))

    # Spot heights every 25 m along the corridor at 15 and 40 m either side: the text is the
    # height, its insertion point the spot.
    for c in range(0, int(SURVEY_LENGTH) + 1, 25):
        ax, ay, az = axis_point(elements, end, c)
        for o in (-40.0, -15.0, 15.0, 40.0):
            x, y = offset_point(ax, ay, az, o + rng.uniform(-2, 2))
            z = ground_height(x, y)
            e = dxf_pair(0, "TEXT") + dxf_pair(8, "WYSOKOSCI")
            e += dxf_pair(10, dxf_number(x)) + dxf_pair(20, dxf_number(y))
            e += dxf_pair(30, dxf_number(z)) + dxf_pair(40, "1.2")
            e += dxf_pair(1, "%.2f" % z)
            entities.append((e, [(x, y)]))

    for e, coords in entities:
        add(e, *coords)
    header = dxf_pair(0, "SECTION") + dxf_pair(2, "HEADER")
    header += dxf_pair(9, "$ACADVER") + dxf_pair(1, "AC1009")
    header += dxf_pair(9, "$EXTMIN") + dxf_pair(10, dxf_number(min(xs)))
    header += dxf_pair(20, dxf_number(min(ys))) + dxf_pair(30, "0.0")
    header += dxf_pair(9, "$EXTMAX") + dxf_pair(10, dxf_number(max(xs)))
    header += dxf_pair(20, dxf_number(max(ys))) + dxf_pair(30, "0.0")
    header += dxf_pair(0, "ENDSEC")
    tables = dxf_pair(0, "SECTION") + dxf_pair(2, "TABLES")
    tables += dxf_pair(0, "TABLE") + dxf_pair(2, "LAYER") + dxf_pair(70, "4")
    for name, colour in (("0", 7), ("KRAWEZNIKI", 4), ("BUDYNKI", 1), ("WYSOKOSCI", 3)):
        tables += dxf_pair(0, "LAYER") + dxf_pair(2, name) + dxf_pair(70, "0")
        tables += dxf_pair(62, str(colour)) + dxf_pair(6, "CONTINUOUS")
    tables += dxf_pair(0, "ENDTAB") + dxf_pair(0, "ENDSEC")
    body = dxf_pair(0, "SECTION") + dxf_pair(2, "ENTITIES") + lines + dxf_pair(0, "ENDSEC")
    return header + tables + body + dxf_pair(0, "EOF")


# --- writing ---------------------------------------------------------------------------------

def write_lines(path, lines):
    with open(path, "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("cp1250"))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(here, "..", "examples"),
                        help="folder to write into (default: examples/ of the repository)")
    parser.add_argument("--catalogue-folder", default="examples",
                        help="the project's folder as projekty.prj names it (default: examples, "
                             "the folder as seen from the repository's top folder, where "
                             "scripts/run.sh starts the program)")
    args = parser.parse_args()
    out = os.path.normpath(args.out)
    os.makedirs(out, exist_ok=True)
    rng = random.Random(14)

    elements, end = build_alignment()
    trs = ["TRASA",
           '"DROGA","Obwodnica - przykład z łukami w obie strony",x,0,%d' % (len(elements) + 1)]
    for k, e in enumerate(elements + [end], start=1):
        trs.append("%d,%.4f,%.4f,%.4f,%.10f,%.4f,%.4f" % (
            k, e.chainage, e.x, e.y, e.azimuth, e.radius, e.parameter))
    write_lines(os.path.join(out, "droga_trasa.TRS"), trs)

    points = survey(elements, end, rng)
    survey_lines = ["NR,X,Y,Z,KOD"]
    for n, (x, y, z, code) in enumerate(points, start=1):
        survey_lines.append("%d,%.3f,%.3f,%.3f,%s" % (1000 + n, x, y, z, code))
    write_lines(os.path.join(out, "droga_pomiar.txt"), survey_lines)

    write_lines(os.path.join(out, "droga_mapa.dxf"), dxf_map(elements, end, rng))

    write_lines(os.path.join(out, "projekty.prj"), [
        "PRZYKLAD,x,Obwodnica - pomiar korytarza drogi 1.5 km (dane przykładowe),"
        + args.catalogue_folder,
        "????????,x,,",
    ])
    print("%s: %d points, %d alignment records, %.2f m of axis" % (
        out, len(points), len(elements) + 1, end.chainage))


if __name__ == "__main__":
    main()

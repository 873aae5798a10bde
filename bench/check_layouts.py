#!/usr/bin/env python3
"""Checks the layout files that nesting_bench --out writes, with no code of ours but this file.

Usage: check_layouts.py FILE.json...

For every sheet of every file: each part lies inside the sheet [0, width] x [0, height], and no two parts
overlap (their outlines cross, or a point of one part's material lies in the other's material, holes excluded).
Arcs (non-zero bulges) are followed by chords at most 1e-4 from the arc. A tolerance of 1e-6 of the sheet size
is allowed. Prints one line per file and every fault; the exit status is 1 when any fault was found, 2 when a
file cannot be read.
"""
import json
import math
import sys

SAG = 1e-4


def ring_points(vertices):
    """The closed ring of [x, y, bulge] vertices as points, arcs replaced by chords."""
    points = []
    n = len(vertices)
    for i, (x, y, bulge) in enumerate(vertices):
        points.append((x, y))
        if bulge == 0:
            continue
        nx, ny, _ = vertices[(i + 1) % n]
        chord = math.hypot(nx - x, ny - y)
        if chord == 0:
            continue
        sweep = 4 * math.atan(bulge)
        radius = chord / (2 * math.sin(abs(sweep) / 2))
        steps = max(2, math.ceil(abs(sweep) / (2 * math.acos(max(-1.0, 1 - SAG / radius)))))
        # centre: from the chord's middle along its normal
        mx, my = (x + nx) / 2, (y + ny) / 2
        d = radius * math.cos(abs(sweep) / 2)
        side = 1 if sweep > 0 else -1
        if abs(sweep) > math.pi:
            d = -d
        cx, cy = mx - side * d * (ny - y) / chord, my + side * d * (nx - x) / chord
        a0 = math.atan2(y - cy, x - cx)
        for k in range(1, steps):
            a = a0 + sweep * k / steps
            points.append((cx + radius * math.cos(a), cy + radius * math.sin(a)))
    return points


def cross(o, a, b):
    return (a[0] - o[0]) * (b[1] - o[1]) - (a[1] - o[1]) * (b[0] - o[0])


def segments_cross(a, b, c, d, eps):
    """Whether the segments cross properly (each one's ends strictly on both sides of the other)."""
    d1, d2 = cross(c, d, a), cross(c, d, b)
    d3, d4 = cross(a, b, c), cross(a, b, d)
    la, lc = math.dist(a, b), math.dist(c, d)
    return ((d1 > eps * lc and d2 < -eps * lc) or (d1 < -eps * lc and d2 > eps * lc)) and (
        (d3 > eps * la and d4 < -eps * la) or (d3 < -eps * la and d4 > eps * la))


def distance_to_ring(p, ring):
    best = math.inf
    for i in range(len(ring)):
        a, b = ring[i], ring[(i + 1) % len(ring)]
        dx, dy = b[0] - a[0], b[1] - a[1]
        length2 = dx * dx + dy * dy
        t = 0 if length2 == 0 else max(0, min(1, ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / length2))
        best = min(best, math.hypot(p[0] - a[0] - t * dx, p[1] - a[1] - t * dy))
    return best


def inside_ring(p, ring):
    inside = False
    for i in range(len(ring)):
        a, b = ring[i], ring[(i + 1) % len(ring)]
        if (a[1] > p[1]) != (b[1] > p[1]):
            x = a[0] + (p[1] - a[1]) * (b[0] - a[0]) / (b[1] - a[1])
            if x > p[0]:
                inside = not inside
    return inside


def in_material(p, part, eps):
    """Whether p lies in the part's material farther than eps from every boundary."""
    rings = [part["outline"]] + part["holes"]
    if any(distance_to_ring(p, r) <= eps for r in rings):
        return False
    return inside_ring(p, part["outline"]) and not any(inside_ring(p, h) for h in part["holes"])


def material_points(part, eps):
    """Points just inside the outline's edges, some of which lie in the material."""
    ring = part["outline"]
    for i in range(len(ring)):
        a, b = ring[i], ring[(i + 1) % len(ring)]
        length = math.dist(a, b)
        if length <= 100 * eps:
            continue
        for inset in (20 * eps, -20 * eps):
            p = ((a[0] + b[0]) / 2 - (b[1] - a[1]) / length * inset, (a[1] + b[1]) / 2 + (b[0] - a[0]) / length * inset)
            if in_material(p, part, eps):
                yield p
                break


def overlap(a, b, eps):
    for ra in [a["outline"]] + a["holes"]:
        for rb in [b["outline"]] + b["holes"]:
            for i in range(len(ra)):
                for j in range(len(rb)):
                    if segments_cross(ra[i], ra[(i + 1) % len(ra)], rb[j], rb[(j + 1) % len(rb)], eps):
                        return True
    if any(in_material(p, b, eps) for p in a["outline"]) or any(in_material(p, a, eps) for p in b["outline"]):
        return True
    return any(in_material(p, b, eps) for p in material_points(a, eps)) or any(
        in_material(p, a, eps) for p in material_points(b, eps))


def box(ring):
    xs, ys = [p[0] for p in ring], [p[1] for p in ring]
    return min(xs), min(ys), max(xs), max(ys)


def check(path):
    with open(path, encoding="utf-8") as f:
        layout = json.load(f)
    faults = []
    for sheet in layout["sheets"]:
        w, h = sheet["width"], sheet["height"]
        eps = 1e-6 * max(w, h)
        parts = []
        for part in layout["parts"]:
            if part["sheet"] != sheet["index"]:
                continue
            p = {"outline": ring_points(part["outline"]), "holes": [ring_points(r) for r in part["holes"]],
                 "name": "type %d instance %d" % (part["type"], part["instance"])}
            p["box"] = box(p["outline"])
            x0, y0, x1, y1 = p["box"]
            if x0 < -eps or y0 < -eps or x1 > w + eps or y1 > h + eps:
                faults.append("sheet %d: %s leaves the sheet" % (sheet["index"], p["name"]))
            parts.append(p)
        for i, a in enumerate(parts):
            for b in parts[i + 1:]:
                ax0, ay0, ax1, ay1 = a["box"]
                bx0, by0, bx1, by1 = b["box"]
                if ax0 >= bx1 or bx0 >= ax1 or ay0 >= by1 or by0 >= ay1:
                    continue
                if overlap(a, b, eps):
                    faults.append("sheet %d: %s and %s overlap" % (sheet["index"], a["name"], b["name"]))
    return layout, faults


def main(paths):
    status = 0
    for path in paths:
        try:
            layout, faults = check(path)
        except (OSError, ValueError, KeyError, TypeError) as error:
            print("%s: cannot be read: %s" % (path, error))
            status = max(status, 2)
            continue
        print("%s: %d parts on %d sheets, %s" % (path, len(layout["parts"]), len(layout["sheets"]),
                                               "no fault" if not faults else "%d faults" % len(faults)))
        for fault in faults:
            print("  " + fault)
        if faults:
            status = max(status, 1)
    return status


if __name__ == "__main__":
    if len(sys.argv) < 2 or sys.argv[1] in ("-h", "--help"):
        print(__doc__.strip())
        sys.exit(0 if len(sys.argv) >= 2 else 2)
    sys.exit(main(sys.argv[1:]))

# Prints the points of every entity of a DXF file as python3-ezdxf (an independent reader) finds them in the file,
# for ocs_test.cpp: one line per point, "<layer> <name> x y z" with %.17g, object coordinates where the file has
# them. Entities on layer 0 are left out (the test names its entities by their layers). The normal is printed as a
# unit vector, since a writer may keep a longer one. Run with /usr/bin/python3 (Debian's ezdxf).
import sys

from ezdxf import recover
from ezdxf.math import Vec3


def line(layer, name, v):
    v = Vec3(v)
    return "%s %s %.17g %.17g %.17g" % (layer, name, v.x, v.y, v.z)


def points(e):
    d = e.dxf
    t = e.dxftype()
    out = [("extrusion", Vec3(d.get("extrusion", (0, 0, 1))).normalize())]
    if t in ("CIRCLE", "ARC"):
        out.append(("center", d.center))
        if t == "ARC":
            out.append(("angles", (d.start_angle, d.end_angle, 0)))
    elif t in ("TEXT", "ATTRIB", "ATTDEF"):
        out.append(("insert", d.insert))
        if d.hasattr("align_point"):
            out.append(("align_point", d.align_point))
        out.append(("rotation", (d.get("rotation", 0.0), 0, 0)))
    elif t == "INSERT":
        out.append(("insert", d.insert))
    elif t == "LWPOLYLINE":
        elevation = d.get("elevation", 0.0)
        for i, (x, y) in enumerate(e.get_points("xy")):
            out.append(("vertex%d" % i, (x, y, elevation)))
    elif t == "POLYLINE":
        out.append(("elevation", d.get("elevation", (0, 0, 0))))
        for i, v in enumerate(e.vertices):
            out.append(("vertex%d" % i, v.dxf.location))
    elif t == "LINE":
        out += [("start", d.start), ("end", d.end)]
    elif t == "POINT":
        out.append(("location", d.location))
    elif t == "MTEXT":
        out.append(("insert", d.insert))
    elif t == "ELLIPSE":
        out += [("center", d.center), ("major_axis", d.major_axis)]
    elif t == "SPLINE":
        out += [("control%d" % i, p) for i, p in enumerate(e.control_points)]
    return [line(d.layer, name, v) for name, v in out]


def main(path):
    doc, auditor = recover.readfile(path)
    for err in auditor.errors:
        print("audit error: " + err.message)
    entities = list(doc.modelspace())
    for block in doc.blocks:
        if not block.name.startswith("*"):
            entities.extend(block)
    for e in list(entities):
        if e.dxftype() == "INSERT":
            entities.extend(e.attribs)
    for e in entities:
        if e.dxf.layer != "0":
            print("\n".join(points(e)))


if __name__ == "__main__":
    main(sys.argv[1])

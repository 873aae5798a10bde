# Compares what python3-ezdxf (an independent reader) finds in pairs of DXF files: a drawing another program
# wrote and the same drawing after our read and save. For each pair it prints "same <original>" or one line per
# difference. Compared: every entity of model space, paper space and the blocks (type, layer, colour, text,
# geometry rounded to 9 significant digits), the layer names (a layer the entities name gets its record on
# our save) and the block names. Handles are left out: a file
# that reuses one is repaired with new handles. A file whose lines end with a lone CR (old Macintosh files),
# which ezdxf 0.18 does not read, is given to it with CR LF line ends. Run with /usr/bin/python3 (Debian's ezdxf).
import io
import sys

from ezdxf import recover


def n(x):
    return "%.9g" % x


def geometry(e):
    t = e.dxftype()
    d = e.dxf
    vec = lambda v: "(" + ",".join(n(c) for c in tuple(v)[:3]) + ")"
    if t == "LINE":
        return vec(d.start) + vec(d.end)
    if t in ("CIRCLE", "ARC"):
        return vec(d.center) + " r=" + n(d.radius)
    if t == "ELLIPSE":
        # A whole ellipse: its end parameter as written may be 2*pi rounded.
        return vec(d.center) + vec(d.major_axis) + " ratio=" + n(d.ratio) + " start=" + n(d.start_param) + \
            " sweep=" + n(round((d.end_param - d.start_param) % 6.283185307179586, 6) or 6.283185307179586)
    if t in ("TEXT", "ATTRIB", "ATTDEF"):
        return vec(d.insert) + " '" + d.text + "'"
    if t == "MTEXT":
        return vec(d.insert) + " '" + e.text + "'"
    if t == "POINT":
        return vec(d.location)
    if t == "SOLID":
        return vec(d.vtx0) + vec(d.vtx1) + vec(d.vtx2) + vec(d.vtx3)
    return ""


def read(path):
    with open(path, "rb") as f:
        data = f.read()
    first = min((i for i in (data.find(b"\r"), data.find(b"\n")) if i >= 0), default=-1)
    if first >= 0 and data[first:first + 1] == b"\r" and data[first + 1:first + 2] != b"\n":
        return recover.read(io.BytesIO(data.replace(b"\r", b"\r\n")))
    return recover.readfile(path)


def view(path):
    doc, auditor = read(path)
    lines = []
    spaces = [("model", doc.modelspace())] + [("block " + b.name, b) for b in doc.blocks
                                              if not b.name.lower().startswith("*model_space")]
    for name, space in spaces:
        for e in space:
            d = e.dxf
            lines.append("%s: %s layer=%s color=%d %s" % (name, e.dxftype(), d.layer, d.color, geometry(e)))
    lines += sorted("layer " + layer.dxf.name for layer in doc.layers)
    lines += sorted("block " + b.name for b in doc.blocks)
    return lines


def main(args):
    for original, saved in zip(args[0::2], args[1::2]):
        a, b = view(original), view(saved)
        b_without_made = [x for x in b if x in a or not x.startswith("layer ")]
        if a == b or (a == b_without_made and all(" layer=%s " % x[6:] in "\n".join(a) for x in b if x not in a)):
            print("same " + original)
            continue
        for line in a:
            if line not in b:
                print("%s: only in the original: %s" % (original, line))
        for line in b:
            # A layer entities name but the original's table lacks gets its record, as CAD programs make it.
            made = line.startswith("layer ") and any(" layer=%s " % line[6:] in x for x in a)
            if line not in a and not made:
                print("%s: only after our save: %s" % (original, line))
        if sorted(a) == sorted(b):
            print("%s: same items in another order" % original)


if __name__ == "__main__":
    main(sys.argv[1:])

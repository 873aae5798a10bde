# Prints what python3-ezdxf (an independent reader) finds in a DXF file, one line per item, for
# dxf_ezdxf_test.cpp to compare with the drawing that was written. Reals are printed with %.17g (exactly) except
# angles, which ezdxf turns into degrees: %.10g. Run with /usr/bin/python3 (Debian's ezdxf).
#
# Left out on purpose, because ezdxf 0.18 does not keep them: the invisible flag, $PROJECTNAME, a TEXT height of 0,
# the order of group members (members are sorted), and caret escapes (^J) in strings.
import sys

from ezdxf import recover


def r(x):
    return "%.17g" % x


def p(v):
    return "(" + ",".join(r(c) for c in tuple(v)[:3]) + ")"


def a(x):
    return "%.10g" % x


def common(e):
    d = e.dxf
    tc = d.get("true_color")
    return "%s %s layer=%s lt=%s color=%d rgb=%s lts=%s" % (
        e.dxftype(), d.handle, d.layer, d.linetype, d.color, "-" if tc is None else str(tc), r(d.get("ltscale", 1.0)))


def xdata(e):
    out = []
    if e.has_xdata("Kstr"):
        tags = e.get_xdata("Kstr")
        out.append("xdata %s Kstr items=%d first=%s last=%s" % (
            e.dxf.handle, len(tags), tags[0].value, r(tags[-1].value) if tags[-1].code == 1040 else tags[-1].value))
    return out


def entity(e):
    t = e.dxftype()
    d = e.dxf
    s = common(e)
    if t == "LINE":
        s += " %s %s" % (p(d.start), p(d.end))
    elif t == "CIRCLE":
        s += " %s r=%s" % (p(d.center), r(d.radius))
    elif t == "ARC":
        s += " %s r=%s %s..%s" % (p(d.center), r(d.radius), a(d.start_angle), a(d.end_angle))
    elif t == "POINT":
        s += " %s" % p(d.location)
    elif t == "LWPOLYLINE":
        s += " closed=%d" % e.closed
        for x, y, sw, ew, b in e.get_points("xyseb"):
            s += " (%s,%s,%s,%s,%s)" % (r(x), r(y), r(sw), r(ew), r(b))
    elif t == "POLYLINE":
        s += " closed=%d" % e.is_closed
        for v in e.vertices:
            s += " %s/%s" % (p(v.dxf.location), r(v.dxf.get("bulge", 0.0)))
    elif t == "TEXT":
        s += " '%s' %s" % (d.text, p(d.insert))
    elif t == "MTEXT":
        s += " len=%d '%s' %s h=%s" % (len(e.text), e.text[:30], p(d.insert), r(d.char_height))
    elif t == "SPLINE":
        s += " degree=%d knots=%s ctrl=%s weights=%s fit=%s" % (
            d.degree, ",".join(r(k) for k in e.knots), "".join(p(c) for c in e.control_points),
            ",".join(r(w) for w in e.weights), "".join(p(f) for f in e.fit_points))
    elif t == "ELLIPSE":
        s += " %s %s ratio=%s %s..%s" % (p(d.center), p(d.major_axis), r(d.ratio), r(d.start_param), r(d.end_param))
    elif t == "INSERT":
        s += " %s %s scale=%s,%s,%s rot=%s" % (d.name, p(d.insert), r(d.xscale), r(d.yscale), r(d.zscale),
                                               a(d.rotation))
        for att in e.attribs:
            s += " %s='%s'" % (att.dxf.tag, att.dxf.text)
    elif t == "SOLID":
        s += " %s%s%s%s" % (p(d.vtx0), p(d.vtx1), p(d.vtx2), p(d.vtx3))
    return [s] + xdata(e)


def main(path):
    doc, auditor = recover.readfile(path)
    out = ["version " + doc.dxfversion]
    for err in auditor.errors:
        out.append("audit error: " + err.message)
    for e in doc.modelspace():
        out.extend(entity(e))
    for e in doc.layouts.get("Layout1"):
        out.append("paper " + common(e))
    for layer in doc.layers:
        d = layer.dxf
        out.append("layer '%s' color=%d lt=%s on=%d frozen=%d locked=%d" % (
            d.name, layer.color, d.linetype, layer.is_on(), layer.is_frozen(), layer.is_locked()))
    for lt in doc.linetypes:
        out.append("linetype '%s' '%s'" % (lt.dxf.name, lt.dxf.description))
    for name, group in doc.groups:
        out.append("group '%s' '%s' selectable=%d members=%s" % (
            name, group.dxf.description, group.dxf.selectable, ",".join(sorted(m.dxf.handle for m in group))))
    for block in doc.blocks:
        if not block.name.startswith("*"):
            out.append("block '%s' base=%s entities=%s" % (
                block.name, p(block.block.dxf.base_point), ",".join(e.dxftype() for e in block)))
    h = doc.header
    out.append("header insbase=%s insunits=%d pdmode=%d pdsize=%s ltscale=%s celtscale=%s cecolor=%d measurement=%d"
               " clayer=%s dimscale=%s" % (p(h["$INSBASE"]), h["$INSUNITS"], h["$PDMODE"], r(h["$PDSIZE"]),
                                           r(h["$LTSCALE"]), r(h["$CELTSCALE"]), h["$CECOLOR"], h["$MEASUREMENT"],
                                           h["$CLAYER"], r(h.get("$DIMSCALE", 1.0))))
    print("\n".join(out))


if __name__ == "__main__":
    main(sys.argv[1])

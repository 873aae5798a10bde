#!/usr/bin/python3
"""Writes flange.dxf and bracket.dxf, the part drawings of the demo's nesting job (R2000, millimetres).

flange.dxf: a round flange of diameter 120 with a bore of 50 and four bolt holes of 12 on a circle of 90.
bracket.dxf: an L-shaped bracket 160 x 110, 40 wide in both legs, its inner corner rounded (radius 10), with one
hole of 14 in each leg.
Run once with Debian's python3-ezdxf; the DXF files are kept in the repository:

    /usr/bin/python3 examples/make_nest_parts.py
"""
import math
import pathlib

import ezdxf

QUARTER_TURN_BULGE = math.tan(math.pi / 8)


def new_drawing():
    doc = ezdxf.new("R2000")
    doc.header["$INSUNITS"] = 4      # millimetres
    doc.header["$MEASUREMENT"] = 1   # metric
    return doc


def flange(msp):
    msp.add_circle((60, 60), 60)
    msp.add_circle((60, 60), 25)
    for k in range(4):
        a = math.pi / 4 + k * math.pi / 2
        msp.add_circle((60 + 45 * math.cos(a), 60 + 45 * math.sin(a)), 6)


def bracket(msp):
    # Counter-clockwise from the origin; the bulge rounds the inner corner (a clockwise quarter turn).
    msp.add_lwpolyline(
        [(0, 0, 0), (160, 0, 0), (160, 40, 0), (50, 40, -QUARTER_TURN_BULGE), (40, 50, 0), (40, 110, 0),
         (0, 110, 0)],
        format="xyb", close=True)
    msp.add_circle((130, 20), 7)
    msp.add_circle((20, 85), 7)


def main():
    here = pathlib.Path(__file__).resolve().parent
    for name, draw in (("flange", flange), ("bracket", bracket)):
        doc = new_drawing()
        draw(doc.modelspace())
        doc.saveas(here / (name + ".dxf"))


if __name__ == "__main__":
    main()

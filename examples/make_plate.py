#!/usr/bin/python3
"""Writes plate.dxf, the sample part: a plate as another CAD program exports it (R2000, millimetres).

The outline is a closed LWPOLYLINE with one rounded corner, two holes are circles, the slot is an old-style 2D
POLYLINE with two half-circle arcs (bulges), the holes have centre lines on a layer drawn with the CENTER line
type, and a note stands on its own layer. Run once with Debian's python3-ezdxf; the DXF is kept in the repository:

    /usr/bin/python3 examples/make_plate.py
"""
import math
import pathlib

import ezdxf

QUARTER_TURN_BULGE = math.tan(math.pi / 8)   # 90 degrees: tan of a quarter of the included angle
HALF_TURN_BULGE = 1.0                        # 180 degrees

WIDTH, HEIGHT, CORNER_RADIUS = 200.0, 120.0, 20.0
HOLE_RADIUS = 8.0
HOLES = [(35.0, 30.0), (35.0, 90.0)]
SLOT_START, SLOT_END, SLOT_HALF_WIDTH = (90.0, 60.0), (150.0, 60.0), 8.0
CENTER_LINE_OVERHANG = 4.0


def main():
    doc = ezdxf.new("R2000", setup=True)
    doc.header["$INSUNITS"] = 4      # millimetres
    doc.header["$MEASUREMENT"] = 1   # metric
    doc.header["$LTSCALE"] = 1.0
    doc.layers.add("CENTER", color=1, linetype="CENTER")
    doc.layers.add("NOTES", color=3)
    msp = doc.modelspace()

    # Outline, counter-clockwise from the origin; the arc rounds the top right corner.
    msp.add_lwpolyline(
        [
            (0, 0, 0),
            (WIDTH, 0, 0),
            (WIDTH, HEIGHT - CORNER_RADIUS, QUARTER_TURN_BULGE),
            (WIDTH - CORNER_RADIUS, HEIGHT, 0),
            (0, HEIGHT, 0),
        ],
        format="xyb",
        close=True,
        dxfattribs={"layer": "0"},
    )

    for x, y in HOLES:
        msp.add_circle((x, y), HOLE_RADIUS, dxfattribs={"layer": "0"})
        reach = HOLE_RADIUS + CENTER_LINE_OVERHANG
        msp.add_line((x - reach, y), (x + reach, y), dxfattribs={"layer": "CENTER"})
        msp.add_line((x, y - reach), (x, y + reach), dxfattribs={"layer": "CENTER"})

    (x0, y0), (x1, _) = SLOT_START, SLOT_END
    msp.add_polyline2d(
        [
            (x0, y0 - SLOT_HALF_WIDTH, 0, 0, 0),
            (x1, y0 - SLOT_HALF_WIDTH, 0, 0, HALF_TURN_BULGE),
            (x1, y0 + SLOT_HALF_WIDTH, 0, 0, 0),
            (x0, y0 + SLOT_HALF_WIDTH, 0, 0, HALF_TURN_BULGE),
        ],
        format="xyseb",
        close=True,
        dxfattribs={"layer": "0"},
    )

    msp.add_text("PLATE 200x120 S235 t=3", dxfattribs={"layer": "NOTES", "height": 5.0, "insert": (60.0, 95.0)})

    out = pathlib.Path(__file__).with_name("plate.dxf")
    doc.saveas(out)
    print(f"wrote {out}")


if __name__ == "__main__":
    main()

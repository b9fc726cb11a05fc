# Writes the base-map fixtures of the map tests with ezdxf, a real DXF writer:
#   /usr/bin/python3 tests/data/maps/make_maps.py
import os
import ezdxf

here = os.path.dirname(os.path.abspath(__file__))


def shapes(version, name):
    doc = ezdxf.new(version)
    msp = doc.modelspace()
    msp.add_line((10, 20), (110, 20), dxfattribs={"color": 1})
    msp.add_lwpolyline([(200, 200), (300, 200), (300, 300), (200, 300)], close=True)
    msp.add_lwpolyline([(400, 100), (450, 150), (500, 100)])
    msp.add_text("AB", dxfattribs={"insert": (600, 600), "height": 20, "color": 3})
    msp.add_circle((700, 100), 50, dxfattribs={"color": 5})
    msp.add_arc((800, 300), 40, 0, 90)
    msp.add_solid([(900, 900), (950, 900), (900, 950), (950, 950)])
    msp.add_point((5, 5), dxfattribs={"color": 7})  # white: drawn in the map's colour
    doc.saveas(os.path.join(here, name))


def old_polylines(name):
    doc = ezdxf.new("R12")
    msp = doc.modelspace()
    msp.add_polyline2d([(0, 0), (100, 0), (100, 100), (0, 100), (50, 150)])
    msp.add_polyline2d([(200, 0), (300, 0), (300, 100)], close=True)
    msp.add_line((0, 500), (100, 500))
    doc.saveas(os.path.join(here, name))


shapes("R2010", "shapes_r2010.dxf")
old_polylines("polylines_r12.dxf")

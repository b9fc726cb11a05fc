#!/usr/bin/python3
"""Draws the cells and pathlines of Kestra's GeoPackage exports as an SVG.

Usage: gpkg_to_svg.py GRID.gpkg PATHS.gpkg OUT.svg

Reads the files through GDAL's own Python bindings (Debian python3-gdal, which
gdal-bin brings), so the picture shows what a GIS program sees in them: cells
shaded by head, inactive cells grey, forward pathlines red, backward blue.
"""
import sys

from osgeo import ogr

WIDTH = 800  # pixels across the picture


def rings(path, kind):
    source = ogr.Open(path)
    layer = source.GetLayer(0)
    for feature in layer:
        geometry = feature.GetGeometryRef()
        if kind == "polygon":
            geometry = geometry.GetGeometryRef(0)
        yield feature, [(geometry.GetX(n), geometry.GetY(n)) for n in range(geometry.GetPointCount())]


def main(grid_path, paths_path, out_path):
    cells = list(rings(grid_path, "polygon"))
    lines = list(rings(paths_path, "line"))
    xs = [x for _, ring in cells for x, _ in ring]
    ys = [y for _, ring in cells for _, y in ring]
    x0, y1 = min(xs), max(ys)
    scale = WIDTH / (max(xs) - x0)
    height = (y1 - min(ys)) * scale
    heads = [f.GetField("head") for f, _ in cells if f.GetField("ibound") != 0]
    low, high = min(heads), max(heads)

    def points(ring):
        return " ".join(f"{(x - x0) * scale:.1f},{(y1 - y) * scale:.1f}" for x, y in ring)

    out = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{WIDTH}" height="{height:.0f}">']
    for feature, ring in cells:
        if feature.GetField("ibound") == 0:
            fill = "#bbbbbb"
        else:
            shade = int(255 - 120 * (feature.GetField("head") - low) / ((high - low) or 1))
            fill = f"rgb({shade},{shade},255)"
        out.append(f'<polygon points="{points(ring)}" fill="{fill}" stroke="#777" stroke-width="0.3"/>')
    for feature, line in lines:
        colour = "#d00000" if feature.GetField("direction") == "forward" else "#0030d0"
        out.append(f'<polyline points="{points(line)}" fill="none" stroke="{colour}" stroke-width="1.5"/>')
    out.append("</svg>")
    with open(out_path, "w") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])

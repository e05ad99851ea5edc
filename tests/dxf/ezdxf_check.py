#!/usr/bin/python3
"""Reads a DXF file with ezdxf, audits it, and prints what its model space draws.

    /usr/bin/python3 tests/dxf/ezdxf_check.py FILE

First line: "audit ERRORS FIXES VERSION". Then one line per drawn piece, in the order of the
model-space entities; POLYLINE and INSERT entities are taken apart with ezdxf's own code into
the lines, arcs, circles, points and texts they draw (all in world coordinates):

    ENTITY-NUMBER TYPE LAYER RGB LINETYPE NUMBERS... [| TEXT]

LINE x1 y1 x2 y2; CIRCLE cx cy r; ARC cx cy r start-angle end-angle (counter-clockwise,
degrees); POINT x y; TEXT x y height width-factor align-x align-y, then its text. Colours and
line types are
resolved (BYLAYER through the layer, BYBLOCK through the block reference, layer 0 inside a block
as the reference's layer); RGB is hex. Layer names and texts have their \\U+XXXX escapes decoded.
"""
import sys

import ezdxf
from ezdxf.colors import aci2rgb
from ezdxf.lldxf.encoding import decode_dxf_unicode


def layer_look(doc, name):
    layer = doc.layers.get(name)
    if layer is None:
        return 7, "CONTINUOUS"
    return abs(layer.dxf.color), layer.dxf.linetype


def resolve(doc, e, parent):
    """(layer, aci, linetype) of an entity, inside a reference with look `parent`."""
    layer = e.dxf.layer
    if parent and layer == "0":
        layer = parent[0]
    layer_aci, layer_ltype = layer_look(doc, layer)
    aci = e.dxf.get("color", 256)
    if aci == 0:
        aci = parent[1] if parent else 7
    elif aci == 256:
        aci = layer_aci
    ltype = e.dxf.get("linetype", "BYLAYER")
    if ltype.upper() == "BYBLOCK":
        ltype = parent[2] if parent else "CONTINUOUS"
    elif ltype.upper() == "BYLAYER":
        ltype = layer_ltype
    return layer, aci, ltype


def numbers(e):
    t = e.dxftype()
    if t == "LINE":
        return [e.dxf.start.x, e.dxf.start.y, e.dxf.end.x, e.dxf.end.y]
    if t == "CIRCLE":
        return [e.dxf.center.x, e.dxf.center.y, e.dxf.radius]
    if t == "ARC":
        return [e.dxf.center.x, e.dxf.center.y, e.dxf.radius, e.dxf.start_angle, e.dxf.end_angle]
    if t == "POINT":
        return [e.dxf.location.x, e.dxf.location.y]
    if t == "TEXT":
        align = e.dxf.get("align_point", e.dxf.insert)
        return [e.dxf.insert.x, e.dxf.insert.y, e.dxf.height, e.dxf.get("width", 1.0),
                align.x, align.y]
    return []


def emit(doc, number, e, parent):
    t = e.dxftype()
    if t in ("POLYLINE", "LWPOLYLINE"):
        look = resolve(doc, e, parent)
        for piece in e.virtual_entities():
            emit(doc, number, piece, look)
        return
    if t == "INSERT":
        look = resolve(doc, e, parent)
        for piece in e.virtual_entities():
            emit(doc, number, piece, look)
        return
    layer, aci, ltype = resolve(doc, e, parent)
    r, g, b = aci2rgb(aci)
    line = "%d %s %s %02X%02X%02X %s %s" % (
        number, t, decode_dxf_unicode(layer).replace(" ", "_"), r, g, b, ltype,
        " ".join(repr(float(v)) for v in numbers(e)))
    if t == "TEXT":
        line += " | " + decode_dxf_unicode(e.dxf.text)
    print(line)


def main():
    doc = ezdxf.readfile(sys.argv[1])
    auditor = doc.audit()
    print("audit %d %d %s" % (len(auditor.errors), len(auditor.fixes), doc.dxfversion))
    for number, e in enumerate(doc.modelspace()):
        emit(doc, number, e, None)


if __name__ == "__main__":
    main()

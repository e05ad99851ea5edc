#!/usr/bin/python3
"""Compares a DXF file saved by twinfind with the file it was read from, as ezdxf reads both.

    /usr/bin/python3 tests/dxf/ezdxf_compare.py [--by-order] INPUT OUTPUT

Entities are matched by handle; with --by-order (for files whose entities carry no handles,
which ezdxf numbers as it reads them) by their place in each layout, and named #INDEX (from 0,
in the input's layout for - and ~, in the output's for +).

Prints, one per line:

    audit ERRORS FIXES INPUT-ERRORS INPUT-FIXES
                                  the audits of the output and of the input
    version INPUT-VERSION OUTPUT-VERSION
    layout NAME kept N of M order same|changed
                                  per layout (spaces in its name as _): entities of the input
                                  (M) found unchanged in the output (same handle, type and
                                  every DXF attribute), and whether they come in the input's
                                  order
    - LAYOUT HANDLE TYPE LAYER NAME
                                  an entity of the input missing from the output (NAME: an
                                  INSERT's block, else -)
    + LAYOUT HANDLE TYPE LAYER NAME
                                  an entity only the output has
    ~ LAYOUT HANDLE TYPE ATTR=OLD>NEW ... draws=same|differs look=ACI/LINETYPE|mixed
                                  an entity of both with other attributes; for an INSERT,
                                  whether its pieces (ezdxf's own flattening) lie where they
                                  lay, and the resolved colour and line type of its pieces
                                  other than texts
    layer- NAME, layer+ NAME COLOR LINETYPE STATE, layer~ NAME ATTR=OLD>NEW
    block- NAME, block+ NAME, block~ NAME entities=OLD>NEW
"""
import difflib
import os
import sys

import ezdxf

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from ezdxf_check import numbers, resolve  # noqa: E402


def attribs(e):
    return {k: v for k, v in e.dxfattribs().items() if k not in ("owner",)}


def pieces(doc, e, parent=None):
    """What an entity draws: (type, numbers rounded) and the resolved looks of its pieces."""
    drawn, looks = [], set()
    for piece in e.virtual_entities():
        look = resolve(doc, piece, parent or resolve(doc, e, None))
        if piece.dxftype() in ("INSERT", "POLYLINE", "LWPOLYLINE"):
            inner, inner_looks = pieces(doc, piece, look)
            drawn += inner
            looks |= inner_looks
            continue
        drawn.append((piece.dxftype(), tuple(round(v, 9) for v in numbers(piece))))
        if piece.dxftype() not in ("TEXT", "MTEXT", "ATTRIB"):
            looks.add("%d/%s" % (look[1], look[2].upper()))
    return sorted(drawn), looks


def block_name(e):
    return e.dxf.name if e.dxftype() == "INSERT" else "-"


def layout_entities(doc):
    result = {}
    for layout in doc.layouts:
        result[layout.name.replace(" ", "_")] = list(layout)
    return result


def layer_state(layer):
    return "%s%s%s" % ("on" if layer.is_on() else "off", ",frozen" if layer.is_frozen() else "",
                       ",locked" if layer.is_locked() else "")


def differs(a, b):
    if a is None or b is None:
        return (a is None) != (b is None)
    return a != b


def describe_change(name, key, e, other, old_doc, new_doc):
    a, b = attribs(e), attribs(other)
    changes = ["%s=%s>%s" % (k, a.get(k), b.get(k))
               for k in sorted(set(a) | set(b)) if differs(a.get(k), b.get(k)) and k != "handle"]
    line = "~ %s %s %s %s" % (name, key, other.dxftype(), " ".join(changes))
    if e.dxftype() == "INSERT" and other.dxftype() == "INSERT":
        old_drawn, _ = pieces(old_doc, e)
        new_drawn, looks = pieces(new_doc, other)
        line += " draws=%s look=%s" % ("same" if old_drawn == new_drawn else "differs",
                                        looks.pop() if len(looks) == 1 else "mixed")
    return line


def same(e, other):
    a, b = attribs(e), attribs(other)
    a.pop("handle", None)
    b.pop("handle", None)
    return e.dxftype() == other.dxftype() and a == b


def compare_by_handle(name, old, new, old_doc, new_doc):
    new_by_handle = {e.dxf.handle: e for e in new}
    old_handles = {e.dxf.handle for e in old}
    kept = []
    for e in old:
        other = new_by_handle.get(e.dxf.handle)
        if other is None:
            print("- %s %s %s %s %s" % (name, e.dxf.handle, e.dxftype(), e.dxf.layer,
                                        block_name(e)))
        elif same(e, other):
            kept.append(e.dxf.handle)
        else:
            print(describe_change(name, e.dxf.handle, e, other, old_doc, new_doc))
    kept_handles = set(kept)
    order = [e.dxf.handle for e in new if e.dxf.handle in kept_handles]
    print("layout %s kept %d of %d order %s" % (name, len(kept), len(old),
                                               "same" if order == kept else "changed"))
    for e in new:
        if e.dxf.handle not in old_handles:
            print("+ %s %s %s %s %s" % (name, e.dxf.handle, e.dxftype(), e.dxf.layer,
                                        block_name(e)))


def signature(e, leave_out=("handle",)):
    a = {k: v for k, v in attribs(e).items() if k not in leave_out}
    return e.dxftype() + repr(sorted(a.items()))


# What a recolouring may change; an entity that differs only there is the same one changed.
LOOK = ("handle", "color", "linetype", "true_color", "name")


def compare_by_order(name, old, new, old_doc, new_doc):
    matcher = difflib.SequenceMatcher(None, [signature(e) for e in old],
                                      [signature(e) for e in new], autojunk=False)
    kept, added = 0, []
    for tag, i1, i2, j1, j2 in matcher.get_opcodes():
        if tag == "equal":
            kept += i2 - i1
            continue
        if tag == "replace" and i2 - i1 == j2 - j1 and all(
                signature(old[i], LOOK) == signature(new[j], LOOK)
                for i, j in zip(range(i1, i2), range(j1, j2))):
            for i, j in zip(range(i1, i2), range(j1, j2)):
                print(describe_change(name, "#%d" % i, old[i], new[j], old_doc, new_doc))
            continue
        for i in range(i1, i2):
            print("- %s #%d %s %s %s" % (name, i, old[i].dxftype(), old[i].dxf.layer,
                                         block_name(old[i])))
        added += [(j, new[j]) for j in range(j1, j2)]
    print("layout %s kept %d of %d order same" % (name, kept, len(old)))
    for j, e in added:
        print("+ %s #%d %s %s %s" % (name, j, e.dxftype(), e.dxf.layer, block_name(e)))


def compare_entities(old_doc, new_doc, by_order):
    old_layouts, new_layouts = layout_entities(old_doc), layout_entities(new_doc)
    for name in old_layouts:
        compare = compare_by_order if by_order else compare_by_handle
        compare(name, old_layouts[name], new_layouts.get(name, []), old_doc, new_doc)


def compare_tables(old_doc, new_doc):
    old_layers = {l.dxf.name.upper(): l for l in old_doc.layers}
    new_layers = {l.dxf.name.upper(): l for l in new_doc.layers}
    for key, layer in old_layers.items():
        other = new_layers.get(key)
        if other is None:
            print("layer- %s" % layer.dxf.name)
            continue
        for attr, get in (("color", lambda l: abs(l.dxf.color)),
                          ("linetype", lambda l: l.dxf.linetype.upper()),
                          ("state", layer_state)):
            if get(layer) != get(other):
                print("layer~ %s %s=%s>%s" % (layer.dxf.name, attr, get(layer), get(other)))
    for key, layer in new_layers.items():
        if key not in old_layers:
            print("layer+ %s %d %s %s" % (layer.dxf.name, layer.dxf.color, layer.dxf.linetype,
                                          layer_state(layer)))
    old_blocks = {b.name.upper(): b for b in old_doc.blocks}
    new_blocks = {b.name.upper(): b for b in new_doc.blocks}
    for key, block in old_blocks.items():
        if block.is_any_layout:
            continue
        other = new_blocks.get(key)
        if other is None:
            print("block- %s" % block.name)
        elif len(block) != len(other):
            print("block~ %s entities=%d>%d" % (block.name, len(block), len(other)))
    for key, block in new_blocks.items():
        if key not in old_blocks:
            print("block+ %s" % block.name)


def main():
    args = sys.argv[1:]
    by_order = args[0] == "--by-order"
    if by_order:
        args = args[1:]
    old_doc, new_doc = ezdxf.readfile(args[0]), ezdxf.readfile(args[1])
    print("version %s %s" % (old_doc.dxfversion, new_doc.dxfversion))
    compare_entities(old_doc, new_doc, by_order)
    compare_tables(old_doc, new_doc)
    # Last: an audit fixes what it can in the document it audits.
    new_audit, old_audit = new_doc.audit(), old_doc.audit()
    print("audit %d %d %d %d" % (len(new_audit.errors), len(new_audit.fixes),
                                 len(old_audit.errors), len(old_audit.fixes)))


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""Drawings whose entities own objects, and what a save that removes entities leaves of them.

    /usr/bin/python3 tests/dxf/ezdxf_owned.py make OUTPUT
    /usr/bin/python3 tests/dxf/ezdxf_owned.py check INPUT OUTPUT

make writes an R2000 drawing with ezdxf: four twin squares, 10 by 10, at x 0, 20, 40 (closed
LWPOLYLINEs) and 60 (an INSERT of block SQ, which its block record lists in a BLKREFS group), a
circle at (100, 5) and a line below them. Each square and the circle have an extension
dictionary holding an XRECORD and a dictionary that holds another XRECORD; an XRECORD of the
named dictionary WATCH has the squares and the circle among its reactors; group PAIR holds the
second square and the circle, group SQUARES the squares alone; model space's draw order
(a SORTENTSTABLE) names the squares and the circle.

check reads both files with ezdxf and prints, one per line:

    audit ERRORS FIXES          the output's audit
    removed HANDLE TYPE         an entity of the input's model space the output lacks, or a
                                part of one (ATTRIB, VERTEX, SEQEND)
    owned HANDLE TYPE           an object the output lacks that a removed entity owned (its
                                extension dictionary and what that holds, to any depth) or a
                                group whose members were all removed
    lost HANDLE TYPE            any other entry of the input the output lacks
    left HANDLE TYPE            an object a removed entity owned that the output still has
    dangling HANDLE TYPE WHAT TARGET
                                a pointer of the output to an entry it lacks: WHAT is owner,
                                entry (of a dictionary), member (of a group), order (of a draw
                                order), or the group that holds it: ACAD_REACTORS,
                                ACAD_XDICTIONARY, BLKREFS
    kept N                      entries of the input the output has
"""
import sys

import ezdxf
from ezdxf.lldxf import tagger


def make(path):
    doc = ezdxf.new("R2000")
    msp = doc.modelspace()
    square = [(0, 0), (10, 0), (10, 10), (0, 10)]
    block = doc.blocks.new("SQ")
    block.add_lwpolyline(square, close=True)
    squares = [msp.add_lwpolyline([(x + px, py) for px, py in square], close=True)
               for x in (0, 20, 40)]
    reference = msp.add_blockref("SQ", (60, 0))
    squares.append(reference)
    block.block_record.set_app_data("{BLKREFS", [(331, reference.dxf.handle)])
    circle = msp.add_circle((100, 5), 5)
    msp.add_line((0, -20), (110, -20))
    for i, e in enumerate(squares + [circle]):
        xdict = e.new_extension_dict()
        xdict.add_xrecord("NOTE").reset([(1, "note %d" % i), (40, 1.5)])
        inner = xdict.dictionary.add_new_dict("MORE", hard_owned=True)
        inner.add_xrecord("DEEPER").reset([(1, "deeper %d" % i)])
    watch = doc.rootdict.add_new_dict("WATCH")
    watcher = watch.add_xrecord("ALL")
    watcher.reset([(1, "watches the squares and the circle")])
    watcher.set_reactors([e.dxf.handle for e in squares + [circle]])
    doc.groups.new("PAIR").extend([squares[1], circle])
    doc.groups.new("SQUARES").extend(squares)
    # Drawn in reverse order: the circle first, the squares after it.
    order = [circle] + squares[::-1]
    msp.set_redraw_order([(e.dxf.handle, "%X" % (0x100 + i)) for i, e in enumerate(order)])
    doc.saveas(path)


def parts(e):
    """The handles of an entity's parts: an INSERT's attributes, a POLYLINE's vertices, and the
    SEQEND after them (which ezdxf makes when the file has none)."""
    if e.dxftype() not in ("INSERT", "POLYLINE"):
        return set()
    handles = {part.dxf.handle for part in (e.attribs if e.dxftype() == "INSERT" else e.vertices)}
    if e.seqend is not None:
        handles.add(e.seqend.dxf.handle)
    return handles


def entries(doc):
    """Every entry of the file by handle: entities, objects, table entries, block records."""
    return {h: e for h, e in doc.entitydb.items() if e.is_alive}


def owned_by(doc, removed):
    """The objects the removed entities own, to any depth, and groups all of whose members
    were removed."""
    owned = set()
    for h in removed:
        e = doc.entitydb.get(h)
        if e is not None and e.has_extension_dict:
            owned.add(e.get_extension_dict().dictionary.dxf.handle)
    while True:
        more = {h for h, e in entries(doc).items()
                if h not in owned and e.dxf.get("owner") in (removed | owned)}
        for name, group in doc.groups:
            members = {m.dxf.handle for m in group}
            if members and members <= removed and group.dxf.handle not in owned:
                more.add(group.dxf.handle)
        if not more:
            return owned
        owned |= more


def pointers(e):
    """(what, target) for the owner of an entry, the entries of a dictionary and the members of
    a group."""
    owner = e.dxf.get("owner")
    if owner not in (None, "0"):
        yield "owner", owner
    if e.dxftype() in ("DICTIONARY", "ACDBDICTIONARYWDFLT"):
        for _, value in e.items():
            yield "entry", value if isinstance(value, str) else value.dxf.handle
    if e.dxftype() == "GROUP":
        for member in e:
            yield "member", member.dxf.handle
    if e.dxftype() == "SORTENTSTABLE":
        for handle in e.table:
            yield "order", handle


def read_tags(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return list(tagger.ascii_tags_loader(f))


def written_handles(path):
    """The handles of the entries the file holds (ezdxf adds objects of its own when it reads
    a file that lacks them: those are no entries of the file)."""
    handles, seen = set(), True
    for tag in read_tags(path):
        if tag.code == 0:
            seen = tag.value == "SECTION"  # the header's variables ($HANDSEED) are no entries
        elif tag.code in (5, 105) and not seen:
            handles.add(tag.value)
            seen = True
    return handles


def app_pointers(path):
    """(handle, type, group name, target) for the handles in the reactors, extension
    dictionary and block references groups ("102 {NAME") of every entry, read from the file's
    tags as written: ezdxf keeps some of them (BLKREFS after a block record's preview) as plain
    tags."""
    kind, handle, group = None, None, None
    for tag in read_tags(path):
        if tag.code == 0:
            kind, handle, group = tag.value, None, None
        elif tag.code == 5 and handle is None:
            handle = tag.value
        elif tag.code == 102:
            name = tag.value[1:] if tag.value.startswith("{") else None
            group = name if name in ("ACAD_REACTORS", "ACAD_XDICTIONARY", "BLKREFS") else None
        elif group and 320 <= tag.code <= 369:
            yield handle, kind, group, tag.value


def check(input_path, output_path):
    old, new = ezdxf.readfile(input_path), ezdxf.readfile(output_path)
    audit = new.audit()
    print("audit %d %d" % (len(audit.errors), len(audit.fixes)))
    new = ezdxf.readfile(output_path)  # as written, not as the audit left it
    written = written_handles(input_path)
    old_entries = {h: e for h, e in entries(old).items() if h in written}
    new_entries = entries(new)
    removed = set()
    for e in old.modelspace():
        if e.dxf.handle not in new_entries:
            removed |= {e.dxf.handle} | parts(e)
    owned = owned_by(old, removed)
    for h in sorted(old_entries, key=lambda h: int(h, 16)):
        kind = old_entries[h].dxftype()
        if h in new_entries:
            if h in owned:
                print("left %s %s" % (h, kind))
            continue
        print("%s %s %s" % ("removed" if h in removed else "owned" if h in owned else "lost",
                            h, kind))
    for h, e in sorted(new_entries.items(), key=lambda item: int(item[0], 16)):
        for what, target in pointers(e):
            if target not in new_entries:
                print("dangling %s %s %s %s" % (h, e.dxftype(), what, target))
    for h, kind, what, target in app_pointers(output_path):
        if target not in new_entries:
            print("dangling %s %s %s %s" % (h, kind, what, target))
    print("kept %d" % sum(1 for h in old_entries if h in new_entries))


def main():
    if sys.argv[1] == "make":
        make(sys.argv[2])
    else:
        check(sys.argv[2], sys.argv[3])


if __name__ == "__main__":
    main()

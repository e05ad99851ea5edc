#!/usr/bin/python3
"""Cuts the real drawings into small whole DXF files, the fuzzer's starting corpus.

    /usr/bin/python3 fuzz/make_corpus.py samples/real OUTPUT-FOLDER

Each piece keeps the file's header and layer table and holds a few entities, or a few block
definitions with a reference to each, so that every piece reads as a drawing.
"""
import hashlib
import os
import sys


def groups(path):
    with open(path, "rb") as f:
        lines = f.read().replace(b"\r\n", b"\n").split(b"\n")
    return [(lines[i].strip(), lines[i + 1]) for i in range(0, len(lines) - 1, 2)]


def sections(pairs):
    """name -> list of entities (each a list of pairs), for every section."""
    found, name, current = {}, None, None
    for code, value in pairs:
        if code == b"0" and value.strip() == b"SECTION":
            name, current = None, []
            continue
        if name is None and current is not None and code == b"2":
            name = value.strip()
            found[name] = current
            continue
        if code == b"0" and value.strip() == b"ENDSEC":
            name, current = None, None
            continue
        if current is None:
            continue
        if code == b"0":
            current.append([])
        if current:
            current[-1].append((code, value))
    return found


def text(pairs):
    return b"".join(b"%s\n%s\n" % (c, v) for c, v in pairs)


def section(name, entities):
    body = b"".join(text(e) for e in entities)
    return b"0\nSECTION\n2\n" + name + b"\n" + body + b"0\nENDSEC\n"


def write(folder, data):
    name = hashlib.sha1(data).hexdigest()[:16]
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def main():
    source, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    for file in sorted(os.listdir(source)):
        if not file.lower().endswith(".dxf"):
            continue
        found = sections(groups(os.path.join(source, file)))
        head = section(b"HEADER", found.get(b"HEADER", [])[:6])
        tables = section(b"TABLES", [e for e in found.get(b"TABLES", [])
                                     if e[0][1].strip() in (b"TABLE", b"LAYER", b"ENDTAB")][:12])
        entities = found.get(b"ENTITIES", [])
        for i in range(0, min(len(entities), 600), 6):
            write(out, head + tables + section(b"ENTITIES", entities[i:i + 6]) + b"0\nEOF\n")
        blocks, block = [], []
        for e in found.get(b"BLOCKS", []):
            block.append(e)
            if e[0][1].strip() == b"ENDBLK":
                blocks.append(block)
                block = []
        for block in blocks[:60]:
            name = next((v for c, v in block[0] if c == b"2"), b"B")
            insert = [(b"0", b"INSERT"), (b"8", b"0"), (b"2", name), (b"10", b"1"), (b"20", b"2"),
                      (b"41", b"-2"), (b"50", b"30")]
            data = head + section(b"BLOCKS", block) + section(b"ENTITIES", [insert]) + b"0\nEOF\n"
            if len(data) < 6000:
                write(out, data)


if __name__ == "__main__":
    main()

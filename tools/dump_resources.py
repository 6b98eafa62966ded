#!/usr/bin/env python3
"""Lists the resources of a Windows executable (PE32 or PE32+).

    tools/dump_resources.py [--check] Tavrik.exe

Prints every resource as type / name / language / size, and decodes the
ones Tavrik relies on: icon groups, dialog templates, the manifest and the
version block. With --check it also verifies what the program expects to
find and exits 1 on any mismatch. Standard library only.
"""

import struct
import sys

RT_NAMES = {1: "RT_CURSOR", 2: "RT_BITMAP", 3: "RT_ICON", 4: "RT_MENU", 5: "RT_DIALOG",
            6: "RT_STRING", 9: "RT_ACCELERATOR", 10: "RT_RCDATA", 12: "RT_GROUP_CURSOR",
            14: "RT_GROUP_ICON", 16: "RT_VERSION", 24: "RT_MANIFEST"}
RT_ICON, RT_DIALOG, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 5, 14, 16, 24
LANG_JAPANESE = 0x0411


class PeImage:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("not an MZ executable")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        nsections, = struct.unpack_from("<H", data, pe + 6)
        opt_size, = struct.unpack_from("<H", data, pe + 20)
        opt = pe + 24
        magic, = struct.unpack_from("<H", data, opt)
        dirs = opt + (96 if magic == 0x10B else 112)
        self.rsrc_rva, self.rsrc_size = struct.unpack_from("<II", data, dirs + 2 * 8)
        self.sections = []
        sec = opt + opt_size
        for i in range(nsections):
            vsize, vaddr, rawsize, rawptr = struct.unpack_from("<IIII", data, sec + 40 * i + 8)
            self.sections.append((vaddr, max(vsize, rawsize), rawptr))

    def offset(self, rva):
        for vaddr, size, rawptr in self.sections:
            if vaddr <= rva < vaddr + size:
                return rawptr + rva - vaddr
        raise ValueError("RVA %#x is outside every section" % rva)

    def resources(self):
        """Yields (type, name, lang, bytes); type/name are ints or strings."""
        if not self.rsrc_rva:
            return
        base = self.offset(self.rsrc_rva)
        d = self.data

        def entries(off):
            named, ids = struct.unpack_from("<HH", d, base + off + 12)
            for i in range(named + ids):
                name, target = struct.unpack_from("<II", d, base + off + 16 + 8 * i)
                if name & 0x80000000:
                    p = base + (name & 0x7FFFFFFF)
                    n, = struct.unpack_from("<H", d, p)
                    name = d[p + 2:p + 2 + 2 * n].decode("utf-16-le")
                yield name, target

        for rtype, t in entries(0):
            for rname, n in entries(t & 0x7FFFFFFF):
                for lang, leaf in entries(n & 0x7FFFFFFF):
                    rva, size = struct.unpack_from("<II", d, base + leaf)
                    start = self.offset(rva)
                    yield rtype, rname, lang, d[start:start + size]


def type_name(t):
    return RT_NAMES.get(t, str(t)) if isinstance(t, int) else '"%s"' % t


def group_icon_entries(blob):
    _, kind, count = struct.unpack_from("<HHH", blob, 0)
    out = []
    for i in range(count):
        w, h, colours, _, planes, bpp, size, rid = struct.unpack_from("<BBBBHHIH", blob, 6 + 14 * i)
        out.append({"width": w or 256, "height": h or 256, "colours": colours,
                    "bpp": bpp, "bytes": size, "id": rid})
    return out


def icon_image_header(blob):
    if blob[:8] == b"\x89PNG\r\n\x1a\n":
        w, h = struct.unpack_from(">II", blob, 16)
        return {"width": w, "height": h, "bpp": 32, "png": True}
    _, w, h, _, bpp = struct.unpack_from("<IiiHH", blob, 0)
    return {"width": w, "height": h // 2, "bpp": bpp, "png": False}


def dialog_header(blob):
    if struct.unpack_from("<HH", blob, 0) == (1, 0xFFFF):
        return {"extended": True}
    style, exstyle, items, x, y, cx, cy = struct.unpack_from("<IIHhhhh", blob, 0)
    return {"extended": False, "style": style, "exstyle": exstyle, "items": items,
            "x": x, "y": y, "cx": cx, "cy": cy}


def version_info(blob):
    """Returns (fixed file version tuple, {string key: value}, translations)."""
    strings, translations, fixed = {}, [], None

    def key_at(off):
        end = off
        while blob[end:end + 2] != b"\0\0":
            end += 2
        return blob[off:end].decode("utf-16-le"), end + 2

    def walk(off, depth, path):
        nonlocal fixed
        length, value_len, is_text = struct.unpack_from("<HHH", blob, off)
        key, p = key_at(off + 6)
        p = (p + 3) & ~3
        if depth == 0 and value_len:
            sig, _, ms, ls = struct.unpack_from("<IIII", blob, p)
            if sig == 0xFEEF04BD:
                fixed = (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
        if len(path) == 2 and path[0] == "StringFileInfo":
            raw = blob[p:p + 2 * value_len] if is_text else b""
            strings[key] = raw.decode("utf-16-le").rstrip("\0")
        if key == "Translation":
            for i in range(value_len // 4):
                translations.append(struct.unpack_from("<HH", blob, p + 4 * i))
        p += 2 * value_len if is_text else value_len
        p = (p + 3) & ~3
        while p < off + length:
            child_len, = struct.unpack_from("<H", blob, p)
            if child_len == 0:
                break
            walk(p, depth + 1, path + [key] if depth else [])
            p = (p + child_len + 3) & ~3

    walk(0, 0, [])
    return fixed, strings, translations


def dump(res):
    icons = {(n, l): b for t, n, l, b in res if t == RT_ICON}
    for rtype, rname, lang, blob in res:
        print("%-14s %-12s lang %-5d (%#06x) %6d bytes"
              % (type_name(rtype), rname, lang, lang, len(blob)))
        if rtype == RT_GROUP_ICON:
            for e in group_icon_entries(blob):
                img = icons.get((e["id"], lang))
                real = icon_image_header(img) if img else None
                print("    image %d: %dx%d, %d bpp, %d colours%s"
                      % (e["id"], e["width"], e["height"], e["bpp"], e["colours"],
                         "" if real else " (RT_ICON missing)"))
        elif rtype == RT_DIALOG:
            print("    bytes: " + blob.hex(" "))
            print("    " + ", ".join("%s=%s" % (k, hex(v) if k.endswith("style") else v)
                                     for k, v in dialog_header(blob).items()))
        elif rtype == RT_MANIFEST:
            for line in blob.decode("utf-8", "replace").splitlines():
                print("    | " + line)
        elif rtype == RT_VERSION:
            fixed, strings, translations = version_info(blob)
            print("    FILEVERSION %s" % ".".join(map(str, fixed or ())))
            for k, v in strings.items():
                print("    %s = %s" % (k, v))
            for lang_id, cp in translations:
                print("    Translation %#06x, %d" % (lang_id, cp))


def check(res):
    problems = []

    def expect(cond, what):
        if not cond:
            problems.append(what)

    by_key = {(t, n): (l, b) for t, n, l, b in res}
    icons = {(n, l): b for t, n, l, b in res if t == RT_ICON}

    def group(name):
        hit = by_key.get((RT_GROUP_ICON, name))
        if not hit:
            return None, []
        lang, blob = hit
        images = []
        for e in group_icon_entries(blob):
            img = icons.get((e["id"], lang))
            expect(img is not None, "%s: RT_ICON %d missing" % (name, e["id"]))
            if img is not None:
                images.append(icon_image_header(img))
        return lang, images

    lang, images = group("MYICON")
    expect(lang is not None, "icon group MYICON missing")
    expect(any(i["width"] == 32 for i in images), "MYICON has no 32x32 image")

    lang, images = group("MYSYS")
    expect(lang == LANG_JAPANESE, "MYSYS: language %r, want 1041" % lang)
    expect([(i["width"], i["height"], i["bpp"]) for i in images] == [(32, 32, 4)],
           "MYSYS: want one 32x32 4-bit image, got %r" % images)

    hit = by_key.get((RT_DIALOG, "OPTION"))
    expect(hit is not None, "dialog OPTION missing")
    if hit:
        lang, blob = hit
        expect(lang == LANG_JAPANESE, "OPTION: language %d, want 1041" % lang)
        want = struct.pack("<IIHhhhhHHH", 0x80000080, 0, 0, 0, 0, 0, 0, 0, 0, 0)
        expect(blob == want, "OPTION: bytes %s, want %s" % (blob.hex(), want.hex()))

    hit = by_key.get((RT_MANIFEST, 1))
    expect(hit is not None, "manifest (RT_MANIFEST 1) missing")
    manifests = [t for t, _, _, _ in res if t == RT_MANIFEST]
    expect(len(manifests) == 1, "want one manifest, found %d" % len(manifests))
    if hit:
        text = hit[1].decode("utf-8", "replace")
        for needle in ('level="asInvoker"', "Microsoft.Windows.Common-Controls",
                       "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
                       "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",
                       "1f676c76-80e1-4239-95bb-83d0f6d0da78",
                       "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a",
                       ">true/pm</dpiAware>", ">PerMonitorV2, PerMonitor</dpiAwareness>"):
            expect(needle in text, "manifest lacks %s" % needle)

    hit = by_key.get((RT_VERSION, 1))
    expect(hit is not None, "version resource missing")
    if hit:
        fixed, strings, translations = version_info(hit[1])
        expect(fixed == (1, 34, 0, 0), "FILEVERSION %r, want 1.34.0.0" % (fixed,))
        for k, v in (("ProductName", "Tavrik"), ("FileDescription", "Tavrik launcher"),
                     ("OriginalFilename", "Tavrik.exe")):
            expect(strings.get(k) == v, "version %s = %r, want %r" % (k, strings.get(k), v))
        expect(translations == [(0x0411, 1200)], "Translation %r" % translations)

    for p in problems:
        print("FAIL: " + p)
    print("resource check: %s" % ("FAILED" if problems else "ok"))
    return not problems


def main(argv):
    args = [a for a in argv if a != "--check"]
    if len(args) != 1:
        print(__doc__.strip().splitlines()[2].strip())
        return 2
    with open(args[0], "rb") as f:
        res = list(PeImage(f.read()).resources())
    dump(res)
    if "--check" in argv:
        return 0 if check(res) else 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

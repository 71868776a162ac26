#!/usr/bin/env python3
"""Checks hook/res: the art files are current and kxhook.rc compiles to what the library needs.

    python3 tools/artwork/check_hook_res.py [--windres PROGRAM]

Regenerates the artwork into a scratch folder and compares it byte for byte with
hook/res, then compiles hook/res/kxhook.rc with windres -O res (as the build does)
and reads the .res back: every cursor and icon group must be named by its string,
hold one 32 x 32 image of the right bit depth, cursors must carry their hot spots,
and the string table must hold ids 1 to 26. Lists every mismatch; exits 1 if any.
"""

import argparse
import contextlib
import io
import os
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
RES_DIR = os.path.normpath(os.path.join(HERE, "..", "..", "hook", "res"))
sys.dont_write_bytecode = True  # keep the source tree free of __pycache__
sys.path.insert(0, HERE)

import make_hook_art  # noqa: E402

RT_CURSOR, RT_ICON, RT_STRING, RT_GROUP_CURSOR, RT_GROUP_ICON = 1, 3, 6, 12, 14

# name: (bit count, hot spot or None for an icon)
EXPECTED = {
    "IDC_VH_SCROLL": (1, (15, 15)), "IDC_VER_SCROLL": (1, (15, 15)),
    "IDC_HOR_SCROLL": (1, (15, 15)), "IDC_UP_SCROLL": (1, (15, 15)),
    "IDC_DN_SCROLL": (1, (15, 15)), "IDC_LF_SCROLL": (1, (15, 15)),
    "IDC_RI_SCROLL": (1, (15, 15)), "IDC_HOR_SCROLL1": (4, (12, 1)),
    "IDC_SCROLL": (1, (17, 14)), "IDC_SCROLL_UP": (1, (17, 20)),
    "IDC_SCROLL_DOWN": (1, (16, 9)), "IDC_SCROLL_LEFT": (1, (22, 15)),
    "IDC_SCROLL_RIGHT": (1, (10, 15)),
}
EXPECTED.update({"IDI_%s_MARK" % k: (4, None) for k in ("VH", "VER", "HOR")})
EXPECTED.update({"IDI_%s_SCROLL" % k: (4, None) for k in ("VH", "VER", "HOR", "UP", "DN", "LF", "RI")})
STRINGS = {1: "HookData", 26: "HOOKDLL.DAT"}
STRINGS.update({i + 1: "Data%d" % i for i in range(1, 25)})


def read_id(data, pos):
    """A type or name field of a .res header: (int or str, new position)."""
    if struct.unpack_from("<H", data, pos)[0] == 0xFFFF:
        return struct.unpack_from("<H", data, pos + 2)[0], pos + 4
    end = pos
    while struct.unpack_from("<H", data, end)[0]:
        end += 2
    return data[pos:end].decode("utf-16-le"), end + 2


def read_res(data):
    """{(type, name): (language, bytes)} of a 32-bit .res file."""
    out = {}
    pos = 0
    while pos < len(data):
        size, header = struct.unpack_from("<II", data, pos)
        rtype, p = read_id(data, pos + 8)
        name, p = read_id(data, p)
        p += -p % 4
        lang = struct.unpack_from("<IHH", data, p)[2]
        if size or rtype:
            out[(rtype, name)] = (lang, data[pos + header:pos + header + size])
        pos += header + size
        pos += -pos % 4
    return out


def check_resources(res):
    errors = []
    group_names = {n for (t, n) in res if t in (RT_GROUP_CURSOR, RT_GROUP_ICON)}
    for stray in sorted(map(str, group_names - set(EXPECTED))):
        errors.append("unexpected group %s" % stray)
    for name, (bits, hot) in EXPECTED.items():
        gtype, itype = (RT_GROUP_CURSOR, RT_CURSOR) if hot else (RT_GROUP_ICON, RT_ICON)
        if (gtype, name) not in res:
            errors.append("%s: no string-named group of type %d" % (name, gtype))
            continue
        grp = res[(gtype, name)][1]
        reserved, kind, count = struct.unpack_from("<HHH", grp)
        if (reserved, kind, count) != (0, 2 if hot else 1, 1):
            errors.append("%s: group header %r" % (name, (reserved, kind, count)))
            continue
        image_id = struct.unpack_from("<H", grp, 6 + 12)[0]
        img = res.get((itype, image_id), (0, b""))[1]
        if hot:
            if struct.unpack_from("<HH", img) != hot:
                errors.append("%s: hot spot %r, want %r" % (name, struct.unpack_from("<HH", img), hot))
            img = img[4:]
        size, w, h, planes, bc = struct.unpack_from("<IiiHH", img)
        if (size, w, h, planes, bc) != (40, 32, 64, 1, bits):
            errors.append("%s: header %r, want 32 x 64 x %d bpp" % (name, (size, w, h, planes, bc), bits))
    for sid, text in STRINGS.items():
        block = res.get((RT_STRING, sid // 16 + 1), (0, b""))[1]
        pos = 0
        for _ in range(sid % 16):
            pos += 2 + 2 * struct.unpack_from("<H", block, pos)[0]
        n = struct.unpack_from("<H", block, pos)[0] if block else 0
        got = block[pos + 2:pos + 2 + 2 * n].decode("utf-16-le")
        if got != text:
            errors.append("string %d is %r, want %r" % (sid, got, text))
    return errors


def check_art_current():
    errors = []
    with tempfile.TemporaryDirectory() as tmp:
        with contextlib.redirect_stdout(io.StringIO()):
            make_hook_art.main(["--out", tmp])
        for name in sorted(os.listdir(tmp)):
            with open(os.path.join(tmp, name), "rb") as a:
                try:
                    with open(os.path.join(RES_DIR, name), "rb") as b:
                        same = a.read() == b.read()
                except FileNotFoundError:
                    same = False
            if not same:
                errors.append("hook/res/%s is missing or stale: re-run make_hook_art.py" % name)
    return errors


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--windres", default="i686-w64-mingw32-windres")
    args = parser.parse_args(argv)
    errors = check_art_current()
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "kxhook.res")
        subprocess.run([args.windres, "-O", "res", "-I", RES_DIR,
                        os.path.join(RES_DIR, "kxhook.rc"), out], check=True, cwd=RES_DIR)
        with open(out, "rb") as f:
            errors += check_resources(read_res(f.read()))
    for e in errors:
        print("FAIL:", e)
    print("%d problems" % len(errors) if errors else "hook/res OK: %d groups, %d strings"
          % (len(EXPECTED), len(STRINGS)))
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())

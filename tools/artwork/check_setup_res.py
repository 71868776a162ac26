#!/usr/bin/env python3
"""Checks setup/res: the pictures are current and the dialogs and pictures compile right.

    python3 tools/artwork/check_setup_res.py [--windres PROGRAM] [--dump]

Regenerates the artwork into a scratch folder and compares it byte for byte with
setup/res. Then compiles the dialogs and pictures with windres -O res (setup.rc
itself once it includes dialogs.rc and bitmaps.rc, until then a scratch script that
includes them) and reads the .res back:
  - every dialog template against the table below: style, extended style, position,
    size, window class, caption and font, and each control in template order with
    its id, class, text, position, size, style and extended style;
  - every bitmap: size, bit depth, colour table, the colour of its ground, and for
    the title and banner that nothing but the magenta key, the white lettering and
    its shadow colour is used;
  - the icon group: one 32 x 32 image of 16 colours;
  - that each picture a static control shows exists, and that all are in English.
--dump prints the compiled dialog templates as they are. Lists every mismatch;
exits 1 if any.
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
RES_DIR = os.path.normpath(os.path.join(HERE, "..", "..", "setup", "res"))
sys.dont_write_bytecode = True  # keep the source tree free of __pycache__
sys.path.insert(0, HERE)

import make_setup_art  # noqa: E402
from check_hook_res import read_res  # noqa: E402
from iconfile import VGA16  # noqa: E402

RT_BITMAP, RT_ICON, RT_DIALOG, RT_GROUP_ICON = 2, 3, 5, 14
LANG_EN_US = 0x0409

# Window and control style bits, as the platform defines them.
WS_POPUP, WS_CHILD, WS_VISIBLE, WS_DISABLED = 0x80000000, 0x40000000, 0x10000000, 0x08000000
WS_CAPTION, WS_BORDER, WS_VSCROLL, WS_SYSMENU = 0x00C00000, 0x00800000, 0x00200000, 0x00080000
WS_GROUP, WS_TABSTOP = 0x00020000, 0x00010000
DS_SETFONT, DS_MODALFRAME = 0x40, 0x80
WS_EX_STATICEDGE = 0x00020000
SS_LEFT, SS_ICON, SS_BLACKFRAME, SS_BITMAP, SS_NOPREFIX = 0x0, 0x3, 0x7, 0xE, 0x80
BS_PUSHBUTTON, BS_DEFPUSHBUTTON, BS_AUTOCHECKBOX = 0x0, 0x1, 0x3
BS_GROUPBOX, BS_AUTORADIOBUTTON = 0x7, 0x9
ES_AUTOHSCROLL = 0x80
LBS_NOTIFY, LBS_SORT, LBS_OWNERDRAWFIXED, LBS_HASSTRINGS = 0x1, 0x2, 0x10, 0x40
CBS_DROPDOWNLIST, CBS_OWNERDRAWFIXED, CBS_SORT, CBS_HASSTRINGS = 0x3, 0x10, 0x100, 0x200

WINDOW_BITS = {
    "WS_POPUP": WS_POPUP, "WS_CHILD": WS_CHILD, "WS_VISIBLE": WS_VISIBLE,
    "WS_DISABLED": WS_DISABLED, "WS_CAPTION": WS_CAPTION, "WS_BORDER": WS_BORDER,
    "WS_VSCROLL": WS_VSCROLL, "WS_SYSMENU": WS_SYSMENU, "WS_GROUP": WS_GROUP,
    "WS_TABSTOP": WS_TABSTOP,
}

# The predefined control classes, by the atoms a template may use for them.
ATOMS = {0x80: "BUTTON", 0x81: "EDIT", 0x82: "STATIC", 0x83: "LISTBOX", 0x85: "COMBOBOX"}

# Styles of the kinds of control the templates use (child and visible unless hidden).
SHOWN = WS_CHILD | WS_VISIBLE
TEXT = SHOWN | WS_GROUP | SS_LEFT
BUTTON = SHOWN | WS_TABSTOP | BS_PUSHBUTTON
DEFAULT_BUTTON = SHOWN | WS_TABSTOP | BS_DEFPUSHBUTTON
RADIO = SHOWN | BS_AUTORADIOBUTTON  # only the first of a group is a tab stop
FIRST_RADIO = RADIO | WS_GROUP | WS_TABSTOP
EDGE = WS_EX_STATICEDGE

PAGE_STYLE = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_SETFONT
BROWSE_STYLE = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT

# Controls: (id, class, text, x, y, cx, cy, style, extended style). A text that is a
# number is a resource id (the picture of a bitmap or icon static).
SIDE_PICTURE = (1022, "STATIC", 304, 6, 10, 80, 136, SHOWN | WS_DISABLED | SS_BITMAP, EDGE)
SEPARATOR = (1006, "STATIC", "", 5, 155, 264, 1, SHOWN | SS_BLACKFRAME, EDGE)
NEXT = (1, "BUTTON", "&Next >", 173, 162, 43, 14, DEFAULT_BUTTON, 0)
CANCEL = (2, "BUTTON", "Cancel", 225, 162, 43, 14, BUTTON, 0)
BACK = (3, "BUTTON", "< &Back", 130, 162, 43, 14, BUTTON, 0)

# dialog id: (window class or None, caption, (x, y, cx, cy), style, controls)
DIALOGS = {
    101: ("SETUP_BEGIN", "Setup", (0, 0, 280, 183), PAGE_STYLE, [
        SIDE_PICTURE, SEPARATOR, NEXT, CANCEL,
        BACK[:7] + (BUTTON | WS_DISABLED, 0),
        (1023, "STATIC", " Welcome to the Setup Program.", 123, 10, 145, 8, TEXT, 0),
        (1024, "STATIC", " This program will install %s into your computer.", 123, 19, 145, 16, TEXT, 0),
        (-1, "STATIC", 200, 96, 10, 18, 20, SHOWN | SS_ICON, 0),
        (-1, "STATIC", "It is strongly recommanded that you exit all Windows ", 96, 46, 172, 8, TEXT, 0),
        (-1, "STATIC", "programs before running this Setup program.", 96, 56, 170, 8, TEXT, 0),
        (-1, "STATIC", "Click Cancel to quit Setup and then close any", 96, 76, 170, 8, TEXT, 0),
        (-1, "STATIC", "programs you have running.", 96, 86, 170, 8, TEXT, 0),
        (-1, "STATIC", "Click Next to continue with the Setup program.", 96, 102, 170, 8, TEXT, 0),
        (-1, "STATIC", "This program is protected by copyright law and", 96, 125, 172, 8, TEXT, 0),
        (-1, "STATIC", "international treaties; do not copy it unlawfully.", 96, 135, 170, 8, TEXT, 0),
    ]),
    108: ("SETUP_SELMOUSE", "Setup", (0, 0, 280, 183), PAGE_STYLE, [
        SIDE_PICTURE, SEPARATOR,
        (-1, "STATIC", "Please select the correct mouse type :", 96, 13, 170, 8, TEXT, 0),
        (1034, "BUTTON", "Serial Mouse", 96, 40, 60, 10, FIRST_RADIO, 0),
        (1035, "BUTTON", "PS/2 Mouse", 96, 94, 60, 10, RADIO, 0),
        (-1, "STATIC", 113, 190, 31, 47, 31, SHOWN | WS_GROUP | SS_BITMAP, 0),
        (-1, "STATIC", 112, 190, 85, 47, 31, SHOWN | SS_BITMAP, 0),
        NEXT, CANCEL, BACK,
    ]),
    107: ("SETUP_SELDIR", "Setup", (0, 0, 280, 183), PAGE_STYLE, [
        SIDE_PICTURE, SEPARATOR,
        (-1, "STATIC", "Please select the directory where the", 96, 13, 170, 8, TEXT, 0),
        (1023, "STATIC", "%s files are to be installed :", 96, 23, 170, 8, TEXT, 0),
        (-1, "BUTTON", "Destination Directory", 96, 117, 172, 29, SHOWN | BS_GROUPBOX, 0),
        (1003, "STATIC", "C:\\Program Files\\Corvane", 102, 131, 120, 8, TEXT, 0),
        (1025, "BUTTON", "B&rowse...", 224, 127, 38, 14, BUTTON, 0),
        NEXT, CANCEL, BACK,
    ]),
    103: ("SETUP_INSTALL", "Setup", (0, 0, 280, 183), PAGE_STYLE, [
        SIDE_PICTURE, SEPARATOR,
        (1, "BUTTON", "Cancel", 225, 162, 43, 14, DEFAULT_BUTTON, 0),
        (1019, "STATIC", "", 96, 32, 173, 24, TEXT, 0),
        (1011, "STATIC", "", 96, 69, 141, 12, WS_CHILD | SS_BLACKFRAME, 0),
        (1013, "STATIC", "0%", 249, 71, 20, 8, TEXT, 0),
    ]),
    102: ("SETUP_END", "Setup", (0, 0, 280, 183), PAGE_STYLE, [
        SIDE_PICTURE, SEPARATOR,
        (1, "BUTTON", "Finish", 225, 163, 43, 14, DEFAULT_BUTTON, 0),
        (1023, "STATIC", "You have installed %s Successfully !", 96, 13, 175, 16, TEXT, 0),
        (-1, "STATIC", "You must restart your computer before using it !", 96, 35, 164, 8, TEXT, 0),
        (1032, "BUTTON", "Yes, I want to restart my computer now.", 98, 72, 158, 10, FIRST_RADIO, 0),
        (1033, "BUTTON", "No, I will restart my computer later.", 98, 86, 158, 10, RADIO, 0),
        (-1, "STATIC", "Click the Finish button to complete installation.", 98, 117, 169, 8, TEXT, 0),
    ]),
    104: (None, "Browse Directory", (30, 30, 169, 170), BROWSE_STYLE, [
        (-1, "STATIC", "Destination Directory :", 8, 6, 92, 8, TEXT, 0),
        (1003, "EDIT", "", 8, 19, 152, 12, SHOWN | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0),
        (-1, "STATIC", "", 6, 38, 155, 1, SHOWN | SS_BLACKFRAME, EDGE),
        (-1, "STATIC", "&Directories:", 8, 45, 92, 9, TEXT, 0),
        (1088, "STATIC", "", 8, 55, 92, 9, TEXT | SS_NOPREFIX, 0),
        (1121, "LISTBOX", "", 8, 70, 92, 68, SHOWN | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_SORT
         | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY, 0),
        (1091, "STATIC", "Dri&ves:", 8, 142, 92, 9, TEXT, 0),
        (1137, "COMBOBOX", "", 8, 152, 92, 68, SHOWN | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST
         | CBS_SORT | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 0),
        (1, "BUTTON", "OK", 108, 46, 52, 14, DEFAULT_BUTTON, 0),
        (2, "BUTTON", "Cancel", 108, 66, 52, 14, BUTTON, 0),
        (1152, "EDIT", "", 208, 38, 26, 12, WS_CHILD | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0),
        (1120, "LISTBOX", "", 220, 30, 36, 9, WS_CHILD | WS_BORDER | WS_VSCROLL | LBS_SORT | LBS_NOTIFY, 0),
        (1136, "COMBOBOX", "", 209, 50, 30, 36, WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST, 0),
        (1090, "STATIC", "File &Name:", 178, 38, 39, 10, TEXT, 0),
        (1089, "STATIC", "List Files of &Type:", 181, 12, 62, 9, WS_CHILD | WS_GROUP | SS_LEFT, 0),
        (1092, "STATIC", "List Files of &Type:", 204, 22, 47, 9, WS_CHILD | WS_GROUP | SS_LEFT, 0),
        (1040, "BUTTON", "&Read Only", 188, 34, 33, 12, WS_CHILD | WS_TABSTOP | BS_AUTOCHECKBOX, 0),
    ]),
}
FONT = (8, "ARIAL")

# bitmap id: (file, width, height, bit count, colour of the ground (the top corners),
#             keyed: the colours the picture uses, or None for a picture without key)
MAGENTA, WHITE, BLACK, GREY = (255, 0, 255), (255, 255, 255), (0, 0, 0), (128, 128, 128)
TEAL, SILVER = (0, 128, 128), (192, 192, 192)
BITMAPS = {
    306: ("title.bmp", 323, 50, 4, MAGENTA, {MAGENTA, WHITE, BLACK}),
    307: ("banner.bmp", 490, 43, 4, MAGENTA, {MAGENTA, WHITE, GREY}),
    304: ("side.bmp", 118, 234, 4, TEAL, None),
    113: ("serial.bmp", 70, 55, 8, SILVER, None),
    112: ("ps2.bmp", 70, 55, 8, SILVER, None),
}
ICON_ID, ICON_FILE = 200, "setup.ico"


# --------------------------------------------------------------------------- templates

def read_sz_or_ord(data, pos):
    """A name-or-ordinal field of a template: (int, str or "" , new position)."""
    first = struct.unpack_from("<H", data, pos)[0]
    if first == 0xFFFF:
        return struct.unpack_from("<H", data, pos + 2)[0], pos + 4
    end = pos
    while struct.unpack_from("<H", data, end)[0]:
        end += 2
    return data[pos:end].decode("utf-16-le"), end + 2


def read_dialog(data):
    """A DIALOG or DIALOGEX template as a dict; controls as tuples like the table's."""
    ex = struct.unpack_from("<HH", data) == (1, 0xFFFF)
    if ex:
        _, _, _, exstyle, style, count, x, y, cx, cy = struct.unpack_from("<HHIIIHhhhh", data)
        pos = 26
    else:
        style, exstyle, count, x, y, cx, cy = struct.unpack_from("<IIHhhhh", data)
        pos = 18
    menu, pos = read_sz_or_ord(data, pos)
    cls, pos = read_sz_or_ord(data, pos)
    caption, pos = read_sz_or_ord(data, pos)
    font = None
    if style & DS_SETFONT:
        size = struct.unpack_from("<H", data, pos)[0]
        pos += 6 if ex else 2  # DIALOGEX: weight, italic and charset follow the size
        face, pos = read_sz_or_ord(data, pos)
        font = (size, face.upper())
    controls = []
    for _ in range(count):
        pos += -pos % 4
        if ex:
            _, cex, cstyle, x0, y0, w, h, cid = struct.unpack_from("<IIIhhhhi", data, pos)
            pos += 24
        else:
            cstyle, cex, x0, y0, w, h, cid = struct.unpack_from("<IIhhhhH", data, pos)
            cid = cid - 0x10000 if cid >= 0x8000 else cid
            pos += 18
        ccls, pos = read_sz_or_ord(data, pos)
        text, pos = read_sz_or_ord(data, pos)
        extra = struct.unpack_from("<H", data, pos)[0]
        pos += 2 + extra
        ccls = ATOMS.get(ccls, ccls) if isinstance(ccls, int) else ccls.upper()
        controls.append((cid, ccls, text, x0, y0, w, h, cstyle, cex))
    return {"style": style, "exstyle": exstyle, "rect": (x, y, cx, cy), "menu": menu,
            "class": cls if cls != "" else None, "caption": caption, "font": font,
            "controls": controls}


def style_text(style):
    """A style as named window bits plus the remaining hex, for the messages."""
    names = [n for n, b in WINDOW_BITS.items() if style & b == b]
    if "WS_CAPTION" in names:
        names.remove("WS_BORDER")  # part of WS_CAPTION
    rest = style & ~sum(WINDOW_BITS[n] for n in names) & 0xFFFFFFFF
    return "|".join(names + ["0x%X" % rest])


FIELDS = ("id", "class", "text", "x", "y", "cx", "cy", "style", "exstyle")


def check_dialogs(res):
    errors = []
    found = {n for (t, n) in res if t == RT_DIALOG}
    for stray in sorted(map(str, found - set(DIALOGS))):
        errors.append("unexpected dialog %s" % stray)
    for did, (cls, caption, rect, style, controls) in DIALOGS.items():
        if (RT_DIALOG, did) not in res:
            errors.append("dialog %d is missing" % did)
            continue
        lang, data = res[(RT_DIALOG, did)]
        d = read_dialog(data)
        where = "dialog %d" % did
        if lang != LANG_EN_US:
            errors.append("%s: language 0x%04X" % (where, lang))
        for field, want in (("style", style), ("exstyle", 0), ("rect", rect), ("menu", ""),
                            ("class", cls), ("caption", caption), ("font", FONT)):
            if d[field] != want:
                if field == "style":
                    errors.append("%s: style %s, want %s" % (where, style_text(d[field]), style_text(want)))
                else:
                    errors.append("%s: %s %r, want %r" % (where, field, d[field], want))
        got = d["controls"]
        if len(got) != len(controls):
            errors.append("%s: %d controls, want %d" % (where, len(got), len(controls)))
        for n, (g, w) in enumerate(zip(got, controls)):
            for name, gv, wv in zip(FIELDS, g, w):
                if gv != wv:
                    if name == "style":
                        gv, wv = style_text(gv), style_text(wv)
                    errors.append("%s, control %d (id %d, %r): %s %r, want %r"
                                  % (where, n, w[0], w[2], name, gv, wv))
        # Each picture a static shows must be in the resources.
        for g in got:
            if g[1] == "STATIC" and isinstance(g[2], int):
                kind = {SS_BITMAP: RT_BITMAP, SS_ICON: RT_GROUP_ICON}.get(g[7] & 0x1F)
                if kind is None or (kind, g[2]) not in res:
                    errors.append("%s: control %d shows picture %d, which is missing"
                                  % (where, g[0], g[2]))
    return errors


# --------------------------------------------------------------------------- pictures

def bitmap_pixels(data, width, height, bpp):
    """The colour of every pixel of a bottom-up BI_RGB DIB, as rows from the top."""
    colours = 1 << bpp
    table = [struct.unpack_from("<BBBB", data, 40 + 4 * i)[2::-1] for i in range(colours)]
    stride = (width * bpp + 31) // 32 * 4
    bits = data[40 + 4 * colours:]
    rows = []
    for y in range(height):
        row = bits[(height - 1 - y) * stride:(height - y) * stride]
        if bpp == 8:
            idx = list(row[:width])
        else:
            idx = [(row[x // 2] >> (4 if x % 2 == 0 else 0)) & 0xF for x in range(width)]
        rows.append([table[i] for i in idx])
    return table, rows


def check_pictures(res, art):
    """art: {file name: bytes} of the generated pictures."""
    errors = []
    found = {n for (t, n) in res if t == RT_BITMAP}
    for stray in sorted(map(str, found - set(BITMAPS))):
        errors.append("unexpected bitmap %s" % stray)
    for bid, (name, width, height, bpp, ground, allowed) in BITMAPS.items():
        where = "bitmap %d" % bid
        if (RT_BITMAP, bid) not in res:
            errors.append("%s is missing" % where)
            continue
        lang, data = res[(RT_BITMAP, bid)]
        if lang != LANG_EN_US:
            errors.append("%s: language 0x%04X" % (where, lang))
        header = struct.unpack_from("<IiiHHIIiiII", data)
        if header[:6] != (40, width, height, 1, bpp, 0) or header[9] not in (0, 1 << bpp):
            errors.append("%s: header %r, want %d x %d, %d bpp, bottom-up, uncompressed, full table"
                          % (where, header, width, height, bpp))
            continue
        size = 40 + 4 * (1 << bpp) + (width * bpp + 31) // 32 * 4 * height
        if len(data) != size:
            errors.append("%s: %d bytes, want %d" % (where, len(data), size))
            continue
        if data != art.get(name, b"")[14:]:  # the file less its BITMAPFILEHEADER
            errors.append("%s is not the picture of %s" % (where, name))
        table, rows = bitmap_pixels(data, width, height, bpp)
        if bpp == 4 and table != VGA16:
            errors.append("%s: colour table is not the standard 16-colour one" % where)
        corners = {rows[0][0], rows[0][-1]}
        if corners != {ground}:
            errors.append("%s: top corners %r, want the ground %r" % (where, sorted(corners), ground))
        if allowed is not None:
            # Keyed lettering: only the key, the lettering and its shadow, and the key
            # all round the edge, so that no letter is cut off.
            used = {c for row in rows for c in row}
            if used != allowed:
                errors.append("%s: uses colours %r, want exactly %r" % (where, sorted(used), sorted(allowed)))
            edge = set(rows[0]) | set(rows[-1]) | {row[0] for row in rows} | {row[-1] for row in rows}
            if edge != {ground}:
                errors.append("%s: lettering touches the edge" % where)
    if (RT_GROUP_ICON, ICON_ID) not in res:
        errors.append("icon %d is missing" % ICON_ID)
        return errors
    lang, grp = res[(RT_GROUP_ICON, ICON_ID)]
    if lang != LANG_EN_US:
        errors.append("icon %d: language 0x%04X" % (ICON_ID, lang))
    if struct.unpack_from("<HHH", grp) != (0, 1, 1):
        errors.append("icon %d: group header %r, want one icon image"
                      % (ICON_ID, struct.unpack_from("<HHH", grp)))
        return errors
    w, h, colours, _, planes, bits, _, image_id = struct.unpack_from("<BBBBHHIH", grp, 6)
    if (w, h, colours, planes, bits) != (32, 32, 16, 1, 4):
        errors.append("icon %d: entry %r, want 32 x 32, 16 colours" % (ICON_ID, (w, h, colours, planes, bits)))
    img = res.get((RT_ICON, image_id), (0, b""))[1]
    if len(img) < 40 or struct.unpack_from("<IiiHH", img) != (40, 32, 64, 1, 4):
        errors.append("icon %d: image %d is missing or not a 32 x 32 4-bpp DIB" % (ICON_ID, image_id))
    elif img not in art.get(ICON_FILE, b""):
        errors.append("icon %d is not the picture of %s" % (ICON_ID, ICON_FILE))
    return errors


# --------------------------------------------------------------------------- driver

def check_art_current():
    """(errors, {file name: bytes} of the freshly generated pictures)."""
    errors = []
    art = {}
    with tempfile.TemporaryDirectory() as tmp:
        with contextlib.redirect_stdout(io.StringIO()):
            make_setup_art.main(["--out", tmp])
        for name in sorted(os.listdir(tmp)):
            with open(os.path.join(tmp, name), "rb") as a:
                art[name] = a.read()
            try:
                with open(os.path.join(RES_DIR, name), "rb") as b:
                    same = art[name] == b.read()
            except FileNotFoundError:
                same = False
            if not same:
                errors.append("setup/res/%s is missing or stale: re-run make_setup_art.py" % name)
    return errors, art


def compile_res(windres, tmp):
    """Compiles setup.rc if it takes in the dialogs and pictures, else a script that does."""
    with open(os.path.join(RES_DIR, "setup.rc"), encoding="latin-1") as f:
        main_rc = f.read()
    if '#include "dialogs.rc"' in main_rc and '#include "bitmaps.rc"' in main_rc:
        script = os.path.join(RES_DIR, "setup.rc")
    else:
        script = os.path.join(tmp, "pictures_and_dialogs.rc")
        with open(script, "w") as f:
            f.write('#include "resource_ids.h"\n#include "dialogs.rc"\n#include "bitmaps.rc"\n')
    out = os.path.join(tmp, "setup.res")
    subprocess.run([windres, "-O", "res", "-I", RES_DIR, script, out], check=True, cwd=RES_DIR)
    with open(out, "rb") as f:
        return read_res(f.read())


def dump(res):
    for (t, n) in sorted((k for k in res if k[0] == RT_DIALOG), key=lambda k: k[1]):
        d = read_dialog(res[(t, n)][1])
        print("dialog %d %r class %r at %r style %s font %r"
              % (n, d["caption"], d["class"], d["rect"], style_text(d["style"]), d["font"]))
        for c in d["controls"]:
            print("   %5d %-8s %-50r %3d,%3d %3d x %3d  %s ex 0x%X"
                  % (c[0], c[1], c[2], c[3], c[4], c[5], c[6], style_text(c[7]), c[8]))


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--windres", default="i686-w64-mingw32-windres")
    parser.add_argument("--dump", action="store_true", help="print the compiled dialog templates")
    args = parser.parse_args(argv)
    errors, art = check_art_current()
    with tempfile.TemporaryDirectory() as tmp:
        res = compile_res(args.windres, tmp)
    if args.dump:
        dump(res)
    errors += check_dialogs(res)
    errors += check_pictures(res, art)
    for e in errors:
        print("FAIL:", e)
    print("%d problems" % len(errors) if errors else "setup/res OK: %d dialogs, %d bitmaps, 1 icon"
          % (len(DIALOGS), len(BITMAPS)))
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())

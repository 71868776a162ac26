#!/usr/bin/env python3
"""Builds an installation disk: SETUP.EXE, a sample SETUP.INF and the product files.

    python3 tools/disk/make_disk.py --dist dist --out build/disk

The sample script uses every directory keyword and spreads the files over two disks
(the installer copies both from the one folder; each disk gets a progress run of its
own). KXHOOK32.DLL and the cursor and icon files are the real ones; the resident
application, the property page, the uninstaller and the mouse driver files are
outside this project, and small stand-in files take their place. Files listed with a
name ending in "_" are compressed with mscompress, as the platform's LZ expansion
reads them.
"""

import argparse
import os
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))

# The directory keywords and the folders they name, on the disk and below the
# destination (the three Windows keywords name folders on the disk only).
DIRECTORIES = [
    ("RootDir", ""),
    ("SubDir1", "DRIVERS"),
    ("SubDir2", "HELP"),
    ("SubDir3", "CURSORS"),
    ("SubDir4", "ICONS"),
    ("SubDir5", "DATA"),
    ("SubDir6", "DATA\\SAMPLES"),
    ("WinDir", "WIN"),
    ("WinSystemDir", "SYSTEM"),
    ("WinInfDir", "INF"),
]

STAND_IN = "This file stands in for the product's {name}, which is not part of this project.\r\n"


def stand_in(name):
    return STAND_IN.format(name=name).encode("ascii") * 8


def hook_res(name):
    with open(os.path.join(ROOT, "hook", "res", name), "rb") as f:
        return f.read()


def files(dist):
    """(disk, keyword, source name on the disk, target name, description, bytes)."""
    with open(os.path.join(dist, "KXHOOK32.DLL"), "rb") as f:
        hook = f.read()
    return [
        (1, "RootDir", "KXHOOK32.DL_", "KXHOOK32.DLL", "Wheel mouse hook library", hook),
        (1, "RootDir", "KXMAIN.EX_", "KXMAIN.EXE", "Resident mouse program", stand_in("KXMAIN.EXE")),
        (1, "RootDir", "UNINSTAL.EXE", "UNINSTAL.EXE", "Uninstaller", stand_in("UNINSTAL.EXE")),
        (1, "SubDir1", "VELMO.VX_", "VELMO.VXD", "Mouse driver", stand_in("VELMO.VXD")),
        (1, "SubDir2", "VELMO.HLP", "VELMO.HLP", "Help file", stand_in("VELMO.HLP")),
        (1, "SubDir3", "VH_SCROL.CU_", "VH_SCROL.CUR", "Auto-scroll cursor", hook_res("vh_scroll.cur")),
        (2, "SubDir4", "VH_MARK.ICO", "VH_MARK.ICO", "Auto-scroll mark", hook_res("vh_mark.ico")),
        (2, "SubDir5", "HOOKDLL.DA_", "HOOKDLL.DAT", "Settings", stand_in("HOOKDLL.DAT")),
        (2, "SubDir6", "SAMPLE.TXT", "SAMPLE.TXT", "Sample document", stand_in("SAMPLE.TXT")),
        (2, "WinDir", "VELMO.IN_", "VELMO.INI", "Mouse settings", stand_in("VELMO.INI")),
        (2, "WinSystemDir", "KXPAGE.DL_", "KXPAGE.DLL", "Mouse property page", stand_in("KXPAGE.DLL")),
        (2, "WinInfDir", "VELMO.IN_", "VELMO.INF", "Mouse driver information", stand_in("VELMO.INF")),
    ]


def script(entries):
    lines = [
        "[Main]",
        "DefaultPath=C:\\VELMO",
        "ProductName=Velmo",
        "MinimumSpace=1024",
        "",
        "[DiskLabel]",
        "Disk1=Velmo Disk 1",
        "Disk2=Velmo Disk 2",
        "",
        "[FileCounts]",
    ]
    for disk in (1, 2):
        lines.append("Disk%d=%d" % (disk, sum(1 for e in entries if e[0] == disk)))
    lines += ["", "[DirectoryName]"]
    lines += ["%s=%s" % (keyword, folder) for keyword, folder in DIRECTORIES]
    for disk in (1, 2):
        lines += ["", "[Disk%d]" % disk]
        number = 0
        for d, keyword, source, target, description, _ in entries:
            if d == disk:
                number += 1
                lines.append("%d=%s,%s,%s,%s" % (number, source, target, description, keyword))
    lines += [
        "",
        "[Startup]",
        "Title=Velmo Wheel Mouse",
        "Mfg=Velmo",
        "MouseDriver=VELMO.VXD",
        "MouseInf=VELMO.INF",
        "DriverDate=12-11-1998",
        "PS2InfSection=PS2_Inst",
        "SerialInfSection=Serial_Inst",
        "PS2Name=Velmo PS/2 Wheel Mouse",
        "SeialName=Velmo Serial Wheel Mouse",
        "",
    ]
    return "\r\n".join(lines).encode("ascii")


def compress(data, path):
    """Writes `data` compressed in the LZ format of the old compression tool."""
    plain = path + ".plain"
    with open(plain, "wb") as f:
        f.write(data)
    subprocess.run(["mscompress", plain], check=True)
    os.replace(plain + "_", path)
    os.remove(plain)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--dist", default=os.path.join(ROOT, "dist"))
    parser.add_argument("--out", default=os.path.join(ROOT, "build", "disk"))
    args = parser.parse_args()
    if shutil.which("mscompress") is None:
        sys.exit("mscompress is missing (Debian package mscompress)")

    shutil.rmtree(args.out, ignore_errors=True)
    os.makedirs(args.out)
    shutil.copy(os.path.join(args.dist, "SETUP.EXE"), os.path.join(args.out, "SETUP.EXE"))
    folders = dict(DIRECTORIES)
    entries = files(args.dist)
    for _, keyword, source, _, _, data in entries:
        folder = os.path.join(args.out, *folders[keyword].split("\\")) if folders[keyword] else args.out
        os.makedirs(folder, exist_ok=True)
        path = os.path.join(folder, source)
        if source.endswith("_"):
            # The compression tool mangles files under 16 bytes; none is that short.
            assert len(data) >= 16, source
            compress(data, path)
        else:
            with open(path, "wb") as f:
                f.write(data)
    with open(os.path.join(args.out, "SETUP.INF"), "wb") as f:
        f.write(script(entries))
    # What each installed file must hold, for whoever checks the installation.
    with open(os.path.join(args.out, "..", "disk-manifest.txt"), "w") as f:
        for _, keyword, source, target, _, data in entries:
            plain = os.path.join(args.out, "..", "disk-expected", target)
            os.makedirs(os.path.dirname(plain), exist_ok=True)
            with open(plain, "wb") as g:
                g.write(data)
            f.write("%s\t%s\t%s\n" % (keyword, folders[keyword], target))
    print("disk in %s" % args.out)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Walks the installer's wizard as a user would, through the X server, and checks what
the installation left behind.

Started by the rig (tests/wine/run, scripts/demo) with SETUP.EXE already running in
the prefix from its disk. Each page is found by its window title, photographed, and
answered with the keyboard or a click on one of its controls; afterwards the
installed files are compared with what the disk holds, and the registry entries and
the system.ini change are read back.

    install_wizard.py --prefix P --results DIR --expected DIR --manifest FILE [--demo]

Exit status 0 when every check passed. With --demo it also prints what it found.
"""

import argparse
import os
import subprocess
import sys
import time

TITLE = "Velmo Setup"
# The dialog base units of the pages' font under this platform's defaults: a dialog
# unit is 7/4 pixels across and 13/8 pixels down; the client area starts 3 pixels in
# and 22 pixels down from the window's corner.
BASE_X, BASE_Y = 7, 13
CLIENT_DX, CLIENT_DY = 3, 22

failures = []


def check(what, condition, detail=""):
    print(("ok   " if condition else "FAIL ") + what + ((": " + detail) if detail and not condition else ""))
    if not condition:
        failures.append(what)


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout.strip()


def page_windows():
    found = xdotool("search", "--onlyvisible", "--name", "^%s$" % TITLE)
    return [w for w in found.split() if w]


def wait_for_new_page(previous, seconds=30):
    """The id of a visible page window other than `previous`, once it has settled."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        for window in page_windows():
            if window != previous:
                time.sleep(0.6)  # let it paint
                return window
        time.sleep(0.1)
    return None


def geometry(window):
    out = xdotool("getwindowgeometry", "--shell", window)
    values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
    return int(values.get("X", 0)), int(values.get("Y", 0))


def click_control(window, x, y, width, height):
    """Clicks the middle of a control given in dialog units."""
    left, top = geometry(window)
    px = left + CLIENT_DX + (x + width // 2) * BASE_X // 4
    py = top + CLIENT_DY + (y + height // 2) * BASE_Y // 8
    xdotool("mousemove", str(px), str(py))
    time.sleep(0.1)
    xdotool("click", "1")
    time.sleep(0.3)


def screenshot(results, name):
    path = os.path.join(results, name + ".png")
    subprocess.run(["import", "-window", "root", path], capture_output=True)
    return path


def drive_c(prefix, *parts):
    return os.path.join(prefix, "drive_c", *parts)


def find_path(base, windows_path):
    """The host path of a Windows path below drive C:, matched without regard to case."""
    path = base
    for part in [p for p in windows_path.replace("\\", "/").split("/") if p]:
        try:
            names = {n.lower(): n for n in os.listdir(path)}
        except OSError:
            return None
        if part.lower() not in names:
            return None
        path = os.path.join(path, names[part.lower()])
    return path


def reg_query(prefix, key):
    env = dict(os.environ, WINEPREFIX=prefix, WINEDEBUG="-all")
    out = subprocess.run(["wine", "reg", "query", key], capture_output=True, text=True, env=env)
    return out.stdout.replace("\r", "")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--results", required=True)
    parser.add_argument("--expected", required=True)
    parser.add_argument("--manifest", required=True)
    parser.add_argument("--demo", action="store_true")
    args = parser.parse_args()
    os.makedirs(args.results, exist_ok=True)

    # Welcome, mouse type (serial stays chosen), destination: Enter is Next on each.
    pages = ["1-welcome", "2-mouse-type", "3-directory"]
    window = None
    for name in pages:
        window = wait_for_new_page(window)
        check("page %s shows" % name, window is not None)
        if window is None:
            return 1
        screenshot(args.results, name)
        click_control(window, 96, 13, 10, 8)  # a plain text of the page: takes the focus, does nothing
        xdotool("key", "Return")

    # The install page copies, shows "Updating Registry..." and pauses a second.
    window = wait_for_new_page(window, seconds=60)
    check("the install page or the end page shows", window is not None)
    if window is None:
        return 1
    screenshot(args.results, "4-install")
    end = wait_for_new_page(window, seconds=60)
    check("the end page shows", end is not None)
    if end is None:
        return 1
    screenshot(args.results, "5-end")
    click_control(end, 98, 86, 158, 10)  # "No, I will restart my computer later."
    screenshot(args.results, "5-end-restart-later")
    click_control(end, 225, 163, 43, 14)  # Finish
    time.sleep(1.0)
    check("the wizard has ended", not page_windows())

    # The files: every one expanded to what the disk's maker put in.
    windows = drive_c(args.prefix, "windows")
    for line in open(args.manifest):
        keyword, folder, target = line.rstrip("\n").split("\t")
        if keyword == "WinDir":
            where = os.path.join(windows, target)
        elif keyword == "WinSystemDir":
            where = find_path(windows, "system/" + target) or os.path.join(windows, "system", target)
        elif keyword == "WinInfDir":
            where = find_path(windows, "inf/" + target) or os.path.join(windows, "inf", target)
        else:
            where = find_path(drive_c(args.prefix), "VELMO/" + (folder + "/" if folder else "") + target)
        expected = open(os.path.join(args.expected, target), "rb").read()
        actual = open(where, "rb").read() if where and os.path.exists(where) else None
        check("installed %s (%s)" % (target, keyword), actual == expected,
              "missing" if actual is None else "%d bytes, expected %d" % (len(actual), len(expected)))

    # The registry entries of the installation.
    run = reg_query(args.prefix, r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run")
    check("the resident program starts at log-on", "C:\\VELMO\\KXMAIN.EXE -startup" in run, run)
    uninstall = reg_query(args.prefix, r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Tarvik")
    check("the uninstall entry", "C:\\VELMO\\UNINSTAL.EXE" in uninstall and "Velmo Wheel Mouse" in uninstall,
          uninstall)
    page = reg_query(args.prefix, r"HKCR\CLSID\{7A31C0D2-5E84-4B19-9C6F-2D0E8B47A153}\InProcServer32")
    check("the property page's server", "C:\\VELMO\\KXPAGE.DLL" in page, page)
    device = reg_query(args.prefix, r"HKLM\Enum\Root\VelmoMouse\0000")
    check("the serial mouse device", "*:DETECTSERIALMOUSE" in device, device)
    driver_name = ""
    for line in device.splitlines():
        fields = line.split()
        if len(fields) >= 3 and fields[0] == "Driver":
            driver_name = fields[2]
    driver = reg_query(args.prefix, "HKLM\\System\\CurrentControlSet\\Services\\Class\\" + driver_name)
    check("its driver key " + driver_name, driver_name.startswith("Mouse\\") and "*vmouse" in driver
          and "VELMO.VXD" in driver, driver)

    # system.ini: the mouse line of [386Enh], the old file kept as system.bak.
    ini = find_path(windows, "system.ini")
    bak = find_path(windows, "system.bak")
    new_text = open(ini, "rb").read().decode("latin-1") if ini else ""
    old_text = open(bak, "rb").read().decode("latin-1") if bak else ""
    check("system.ini has the product's mouse line", "mouse=*vmouse\r\n" in new_text, new_text)
    check("the former system.ini is kept as system.bak", old_text != "" and old_text != new_text)

    if args.demo:
        print("\n== Installed below C:\\VELMO")
        velmo = find_path(drive_c(args.prefix), "VELMO")
        for top, _, names in sorted(os.walk(velmo)) if velmo else []:
            for name in sorted(names):
                path = os.path.join(top, name)
                print("   %-40s %7d bytes" % (os.path.relpath(path, drive_c(args.prefix)), os.path.getsize(path)))
        print("\n== Registry entries written")
        for text in (run, uninstall, page, device, driver):
            print(text.strip() + "\n")
        print("== system.ini: lines that changed")
        old_lines, new_lines = old_text.splitlines(), new_text.splitlines()
        for line in old_lines:
            if line not in new_lines:
                print("   - " + line)
        for line in new_lines:
            if line not in old_lines:
                print("   + " + line)
        print("\n== Screenshots in " + args.results)
    print("install wizard: %d failed" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

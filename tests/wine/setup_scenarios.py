#!/usr/bin/env python3
# Drives the real SETUP.EXE under Wine through its scenarios; see the description below.
"""Scenarios of the real SETUP.EXE under Wine, driven through the X server as a user
would: cancelling on each page and during the copy, Back and Next, an existing
destination, the update mode, the version message, closing the resident application,
restarting Windows or not, the mouse devices of a PS/2 and a serial mouse with their
prior-setting records, and the separate mouse VXD.

tests/wine/run starts it after everything else, in the rig's prefix, with the disk the
installation scenario was built from; it builds a slow disk of its own for the copy
that is cancelled. The scenarios share the prefix and clean up between them: the
destination, the files in the Windows folders, "system.ini", the VXD and every
registry key an installation writes (registry_fixture.exe). The two that restart
Windows come last.

What the user sees is read with window_probe.exe (windows, controls, texts, button
states) and a look at the screen (the message boxes' icons); clicks and keys go
through xdotool. It prints one verdict per scenario, "PASS <name>" or "FAIL <name>"
followed by indented reasons, and "MEASURE" lines with the time taken.

    setup_scenarios.py --prefix P --work DIR --results DIR --disk DIR --system-ini FILE
"""

import argparse
import configparser
import hashlib
import os
import re
import shutil
import signal
import subprocess
import sys
import time
import traceback

PRODUCT = "Velmo"
PAGE_TITLE = PRODUCT + " Setup"
CAPTION = PRODUCT + " Setup Program"
NOT_COMPLETED = PRODUCT + " installation is not completed !"
WINDOWS_ONLY = "This  Mouse Setup Program is for Windows 95/98 only !"
DIRECTORY_EXISTS = "The specified directory is already exist !\nDo you still want to install into this directory ?"
RESTART_NOW = "The Mouse Setup Program has installed driver successfully. You have to restart your Windows now !"

# The pages' window classes, in wizard order.
WELCOME, MOUSE_TYPE, DIRECTORY, INSTALL, END = (
    "SETUP_BEGIN", "SETUP_SELMOUSE", "SETUP_SELDIR", "SETUP_INSTALL", "SETUP_END")
PAGES = (WELCOME, MOUSE_TYPE, DIRECTORY, INSTALL, END)
BACKGROUND = "SetupMain"
MESSAGE_BOX = "#32770"
NEXT, FINISH, INSTALL_CANCEL, CANCEL, BACK = 1, 1, 1, 2, 3
DEST_DIR, RESTART_YES, RESTART_NO, SERIAL, PS2 = 1003, 1032, 1033, 1034, 1035
BOX_ICON = 1088  # the icon of the platform's message box

REGISTRATION = {
    r"HKCR\CLSID\{7A31C0D2-5E84-4B19-9C6F-2D0E8B47A153}": {"": "PXMouseControlPage"},
    r"HKCR\CLSID\{7A31C0D2-5E84-4B19-9C6F-2D0E8B47A153}\InProcServer32":
        {"": r"C:\VELMO\KXPAGE.DLL", "ThreadingModel": "Apartment"},
    r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Controls Folder\Mouse\shellex\PropertySheetHandlers":
        {"": "PXMousePage"},
    r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Controls Folder\Mouse\shellex\PropertySheetHandlers\PXMousePage":
        {"": "{7A31C0D2-5E84-4B19-9C6F-2D0E8B47A153}"},
    r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run": {"Tarvik": r"C:\VELMO\KXMAIN.EXE -startup"},
    r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Tarvik":
        {"DisplayName": None, "UninstallString": r"C:\VELMO\UNINSTAL.EXE"},  # None: the script's title
}
CLASS_ROOT = "System\\CurrentControlSet\\Services\\Class\\"
# The fixture devices of registry_fixture.exe: hardware key and driver key.
DEVICES = {
    "PS2": ("BIOS\\*PNP0F13\\0000", "Mouse\\0000"),
    "Serial": ("ROOT\\*PNP0F0C\\0000", "Mouse\\0001"),
}
DRIVER_VALUES = ("MouseDriver", "InfPath", "DriverDesc", "DriverDate", "InfSection")

SLOW_FILES = 150
SLOW_FILE_BYTES = 4 << 20


class Fail(Exception):
    pass


def check(condition, reason):
    if not condition:
        raise Fail(reason)


# ---- What is on the screen ---------------------------------------------------------------

FIELD = re.compile(r'(\w+)=("(?:[^"\\]|\\.)*"|\S+)')


def unescape(text):
    return re.sub(r"\\(x[0-9A-F]{2}|.)",
                  lambda m: chr(int(m.group(1)[1:], 16)) if m.group(1).startswith("x") and len(m.group(1)) == 3
                  else {"n": "\n", "r": "\r"}.get(m.group(1), m.group(1)), text)


def fields(line):
    values = {}
    for key, value in FIELD.findall(line):
        values[key] = unescape(value[1:-1]) if value.startswith('"') else value
    return values


class Control:
    def __init__(self, values):
        self.id = int(values["id"])
        self.cls = values["class"]
        self.text = values["text"]
        self.rect = tuple(int(v) for v in values["rect"].split(","))
        self.visible = values["visible"] == "1"
        self.enabled = values["enabled"] == "1"
        self.checked = values["checked"]


class Window:
    def __init__(self, values):
        self.hwnd = values["hwnd"]
        self.cls = values["class"]
        self.text = values["text"]
        self.rect = tuple(int(v) for v in values["rect"].split(","))
        self.pid = values["pid"]
        self.enabled = values["enabled"] == "1"
        self.controls = []

    def control(self, ident):
        for control in self.controls:
            if control.id == ident:
                return control
        raise Fail("%s has no control %d" % (self.cls, ident))

    def statics(self):
        return [c.text for c in self.controls if c.cls.lower() == "static" and c.text and c.id != BOX_ICON]

    def buttons(self):
        return [c.text for c in self.controls if c.cls.lower() == "button"]

    def __repr__(self):
        return "%s \"%s\" %s" % (self.cls, self.text, self.hwnd)


class Screen:
    def __init__(self, args):
        self.args = args
        self.env = dict(os.environ, WINEPREFIX=args.prefix, WINEDEBUG="-all")
        self.seen = []  # window classes seen on the screen since the scenario began

    def wine(self, *command, timeout=30):
        return subprocess.run(["wine", *command], cwd=self.args.work, env=self.env, capture_output=True,
                              timeout=timeout)

    def windows(self):
        out = self.wine("window_probe.exe").stdout.decode("latin-1").replace("\r", "")
        found = []
        for line in out.splitlines():
            if line.startswith("window "):
                found.append(Window(fields(line)))
            elif line.startswith("  control ") and found:
                found[-1].controls.append(Control(fields(line)))
        self.seen.extend(w.cls for w in found)
        return found

    def wait(self, test, what, seconds=20):
        """The first window for which `test` holds, once it has painted."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            found = [w.hwnd for w in self.windows() if test(w)]
            if found:
                # Seen again once its controls are made and painted.
                time.sleep(0.15)
                for window in self.windows():
                    if window.hwnd == found[0] and test(window):
                        return window
            time.sleep(0.05)
        raise Fail("no %s within %d s (on the screen: %s)" % (what, seconds, self.windows()))

    def page(self, cls, previous=None, seconds=20):
        return self.wait(lambda w: w.cls == cls and w.text == PAGE_TITLE and w.hwnd != getattr(previous, "hwnd", None),
                         "page %s" % cls, seconds)

    def message_box(self, caption=CAPTION, seconds=20):
        return self.wait(lambda w: w.cls == MESSAGE_BOX and w.text == caption, "message box \"%s\"" % caption, seconds)

    def gone(self, window, seconds=10):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if all(w.hwnd != window.hwnd for w in self.windows()):
                return True
            time.sleep(0.05)
        return False

    def click(self, control):
        left, top, right, bottom = control.rect
        subprocess.run(["xdotool", "mousemove", str((left + right) // 2), str((top + bottom) // 2), "click", "1"],
                       check=True)
        time.sleep(0.1)

    def key(self, window, name):
        """Activates the window by a click on a plain text of it, then presses the key."""
        text = next(c for c in window.controls if c.cls.lower() == "static" and c.id == 0xFFFF and c.text)
        self.click(text)
        subprocess.run(["xdotool", "key", name], check=True)
        time.sleep(0.1)

    def icon(self, box):
        """The kind of a message box's icon by its colours: "warning" (a yellow sign),
        "blue" (the information and question signs) or "none"."""
        left, top, right, bottom = box.control(BOX_ICON).rect
        crop = "%dx%d+%d+%d" % (right - left, bottom - top, left, top)
        out = subprocess.run(["import", "-window", "root", "-crop", crop, "-depth", "8", "txt:-"],
                             capture_output=True, text=True).stdout
        yellow = blue = 0
        for match in re.finditer(r"^\d+,\d+: \((\d+),(\d+),(\d+)", out, re.MULTILINE):
            r, g, b = (int(v) for v in match.groups())
            yellow += r > 180 and g > 100 and b < 90
            blue += b > 150 and r < 110
        return "warning" if yellow > 30 else "blue" if blue > 30 else "none"

    def screenshot(self, name):
        subprocess.run(["import", "-window", "root", os.path.join(self.args.results, name + ".png")],
                       capture_output=True)

    def answer(self, box, button, confirm=True):
        """Clicks a button of a message box and, unless the answer ends the session,
        waits for the box to go."""
        self.click(next(c for c in box.controls if c.cls.lower() == "button" and c.text == button))
        check(not confirm or self.gone(box), "the message box \"%s\" stays after %s" % (box.text, button))


def check_box(screen, box, text, buttons, icon, shot=None):
    statics = box.statics()
    check(statics == [text], "message box \"%s\" says %r, expected %r" % (box.text, statics, text))
    check(box.buttons() == buttons, "message box buttons %r, expected %r" % (box.buttons(), buttons))
    kind = screen.icon(box)
    check(kind == icon, "message box icon looks like %s, expected %s" % (kind, icon))
    if shot:
        screen.screenshot(shot)


# ---- Programs in the prefix ------------------------------------------------------------


class Program:
    """A program started in the prefix, its output in a log file."""

    def __init__(self, screen, command, log, cwd=None):
        self.log = log
        with open(log, "wb") as out:
            self.process = subprocess.Popen(["wine", *command], cwd=cwd or screen.args.work, env=screen.env,
                                            stdout=out, stderr=subprocess.STDOUT)

    def lines(self):
        try:
            return open(self.log, "rb").read().decode("latin-1").replace("\r", "").splitlines()
        except OSError:
            return []

    def wait_line(self, text, seconds=20):
        deadline = time.monotonic() + seconds
        while not any(line.startswith(text) for line in self.lines()):
            if time.monotonic() >= deadline:
                return False
            time.sleep(0.05)
        return True

    def running(self):
        return self.process.poll() is None

    def wait(self, seconds=20):
        try:
            return self.process.wait(timeout=seconds)
        except subprocess.TimeoutExpired:
            return None

    def stop(self):
        if self.running():
            self.process.kill()
            self.process.wait()


class Setup(Program):
    def __init__(self, screen, disk, log, *arguments):
        super().__init__(screen, ["A:\\SETUP.EXE", *arguments], log, cwd=disk)

    def exit_code(self, seconds=15):
        code = self.wait(seconds)
        check(code is not None, "SETUP.EXE still runs %d s after its last window" % seconds)
        check(code == 0, "SETUP.EXE exit code %d, expected 0" % code)


def titled_window(screen, title, log, watched=None):
    """titled_window.exe once its window is up. While the desktop process of the
    prefix ends, creating a window fails: it is then tried again."""
    deadline = time.monotonic() + 40
    attempt = 0
    while True:
        program = Program(screen, ["titled_window.exe", title] + ([watched] if watched else []),
                          log + ("" if attempt == 0 else ".%d" % attempt))
        while time.monotonic() < deadline and program.running() and not program.wait_line("ready", 0.1):
            pass
        if program.wait_line("ready", 0):
            return program
        program.stop()
        if time.monotonic() >= deadline:
            raise Fail("titled_window %s did not start: %s" % (title, program.lines()))
        attempt += 1
        time.sleep(1.0)


# ---- The prefix's state ------------------------------------------------------------------


def parse_dump(text):
    """{key path in lower case: {value name in lower case: (type, data)}}"""
    keys = {}
    for line in text.replace("\r", "").splitlines():
        parts = line.split("\t")
        if parts[0] == "key":
            keys.setdefault(parts[1].lower(), {})
        elif parts[0] == "value" and len(parts) == 5:
            data = re.sub(r"\\(.)", lambda m: {"t": "\t", "n": "\n"}.get(m.group(1), m.group(1)), parts[4])
            keys.setdefault(parts[1].lower(), {})[parts[2].lower()] = (parts[3], data)
    return keys


def differences(before, after):
    """(key, readable line) for every key and value that differs."""
    found = []
    for key in sorted(set(before) | set(after)):
        if key not in after:
            found.append((key, "key removed: " + key))
            continue
        if key not in before:
            found.append((key, "key added: " + key))
        old = before.get(key, {})
        for name in sorted(set(old) | set(after[key])):
            if old.get(name) != after[key].get(name):
                found.append((key, "%s [%s]: %s -> %s" % (key, name or "(unnamed)", old.get(name),
                                                          after[key].get(name))))
    return found


class Prefix:
    def __init__(self, args, screen):
        self.args = args
        self.screen = screen
        self.c = os.path.join(args.prefix, "drive_c")
        self.pristine_ini = open(args.system_ini, "rb").read()
        out = screen.wine("registry_fixture.exe", "sysdir").stdout.decode("latin-1")
        system = re.search(r"sysdir\t(.*)", out).group(1).strip()
        vmm32 = self.host(system + "\\VMM32")
        self.vxd, self.vxd_bak = os.path.join(vmm32, "VMOUSE.VXD"), os.path.join(vmm32, "VMOUSE.BAK")
        with open(os.path.join(args.disk, "..", "disk-manifest.txt")) as f:
            self.manifest = [line.rstrip("\n").split("\t") for line in f]
        self.expected = os.path.join(args.disk, "..", "disk-expected")
        self.vxd_bytes = b"The standard mouse VXD of this machine.\r\n" + bytes(range(256))

    def host(self, windows_path):
        """The host path of a Windows path on drive C:, found without regard to case."""
        path = self.c
        for part in windows_path.split(":", 1)[-1].replace("\\", "/").split("/"):
            if not part:
                continue
            try:
                names = {n.lower(): n for n in os.listdir(path)}
            except OSError:
                names = {}
            path = os.path.join(path, names.get(part.lower(), part))
        return path

    def target(self, keyword, folder, name):
        if keyword == "WinDir":
            return self.host("C:\\windows\\" + name)
        if keyword == "WinSystemDir":
            return self.host("C:\\windows\\SYSTEM\\" + name)
        if keyword == "WinInfDir":
            return self.host("C:\\windows\\INF\\" + name)
        return self.host("C:\\VELMO\\" + (folder + "\\" if folder else "") + name)

    def registry(self, *commands):
        result = self.screen.wine("registry_fixture.exe", *commands)
        out = result.stdout.decode("latin-1")
        check(result.returncode == 0, "registry_fixture %s: %s" % (" ".join(commands), out.strip()[-300:]))
        return parse_dump(out)

    def reset(self, *fixtures):
        """Back to a machine on which nothing was installed, with the standard mouse VXD
        and the given mouse devices; returns the registry as it then is."""
        shutil.rmtree(self.host("C:\\VELMO"), ignore_errors=True)
        for keyword, folder, name in self.manifest:
            if keyword.startswith("Win"):
                path = self.target(keyword, folder, name)
                if os.path.exists(path):
                    os.remove(path)
        for name in ("system.bak", "system.new"):
            path = self.host("C:\\windows\\" + name)
            if os.path.exists(path):
                os.remove(path)
        with open(self.host("C:\\windows\\system.ini"), "wb") as f:
            f.write(self.pristine_ini)
        if os.path.exists(self.vxd_bak):
            os.remove(self.vxd_bak)
        os.makedirs(os.path.dirname(self.vxd), exist_ok=True)
        with open(self.vxd, "wb") as f:
            f.write(self.vxd_bytes)
        return self.registry("clear", *fixtures, "dump")

    def traces(self):
        """What an installation would have left in the file system."""
        found = []
        if os.path.exists(self.host("C:\\VELMO")):
            found.append("C:\\VELMO exists")
        for keyword, folder, name in self.manifest:
            if keyword.startswith("Win") and os.path.exists(self.target(keyword, folder, name)):
                found.append(name + " in the Windows folders")
        for name in ("system.bak", "system.new"):
            if os.path.exists(self.host("C:\\windows\\" + name)):
                found.append(name + " exists")
        if open(self.host("C:\\windows\\system.ini"), "rb").read() != self.pristine_ini:
            found.append("system.ini changed")
        if not os.path.exists(self.vxd) or open(self.vxd, "rb").read() != self.vxd_bytes:
            found.append("VMOUSE.VXD changed")
        if os.path.exists(self.vxd_bak):
            found.append("VMOUSE.BAK exists")
        return found

    def check_untouched(self, registry_before):
        found = self.traces() + [line for _, line in differences(registry_before, self.registry("dump"))]
        check(not found, "changed: " + "; ".join(found))

    def check_files(self):
        for keyword, folder, name in self.manifest:
            path = self.target(keyword, folder, name)
            expected = open(os.path.join(self.expected, name), "rb").read()
            actual = open(path, "rb").read() if os.path.exists(path) else None
            check(actual == expected, "%s (%s): %s" % (name, keyword, "missing" if actual is None else
                                                          "%d bytes, expected %d" % (len(actual), len(expected))))

    def check_system_ini(self):
        ini = open(self.host("C:\\windows\\system.ini"), "rb").read()
        bak = self.host("C:\\windows\\system.bak")
        check(b"mouse=*vmouse\r\n" in ini and b"msmouse.vxd" not in ini, "system.ini has no product mouse line")
        check(os.path.exists(bak) and open(bak, "rb").read() == self.pristine_ini,
              "system.bak does not hold the former system.ini")


def read_profile(path):
    profile = configparser.ConfigParser(interpolation=None, strict=False)
    profile.optionxform = str.lower
    with open(path, "rb") as f:
        profile.read_string(f.read().decode("latin-1"))
    return profile


def check_device(before, after, startup, section, records_path):
    """The fixture device of the chosen type and its driver key point at the product's
    driver, and the values they had are recorded in the section of `records_path`."""
    hardware, driver = DEVICES[section]
    device_key = ("hklm\\enum\\" + hardware).lower()
    driver_key = ("hklm\\" + CLASS_ROOT + driver).lower()
    name = startup["ps2name" if section == "PS2" else "seialname"]
    inf_section = startup["ps2infsection" if section == "PS2" else "serialinfsection"]
    wanted = {
        device_key: {"devicedesc": name, "mfg": startup["mfg"]},
        driver_key: {"mousedriver": startup["mousedriver"], "infpath": startup["mouseinf"], "driverdesc": name,
                     "driverdate": startup["driverdate"], "infsection": inf_section, "mousetype": section},
    }
    for key, values in wanted.items():
        for value, data in values.items():
            actual = after.get(key, {}).get(value)
            check(actual == ("sz", data), "%s [%s] = %s, expected \"%s\"" % (key, value, actual, data))
        kept = {other: data for other, data in before[key].items() if other not in values}
        changed = [other for other in kept if after.get(key, {}).get(other) != kept[other]]
        check(not changed, "%s: %s changed" % (key, changed))
    check(os.path.exists(records_path), "no %s for the prior settings" % records_path)
    records = read_profile(records_path)
    check(records.has_section(section), "%s has no [%s] section" % (records_path, section))
    expected = {"subkey1": "Enum\\" + hardware, "subkey2": CLASS_ROOT + driver,
                "devicedesc": before[device_key]["devicedesc"][1], "mfg": before[device_key]["mfg"][1]}
    for value in DRIVER_VALUES:
        expected[value.lower()] = before[driver_key][value.lower()][1]
    for key, data in expected.items():
        # The profile functions drop the blanks around a value, as they do when the
        # records are read back.
        actual = records.get(section, key, fallback=None)
        check(actual == data.strip(), "[%s] %s = %r, expected %r" % (section, key, actual, data.strip()))


def check_only_changes(before, after, allowed):
    """Every registry difference lies at or below one of the `allowed` keys (lower
    case); keys added on the way to one of them count as its own."""
    stray = [line for key, line in differences(before, after)
             if not any(key == a or key.startswith(a + "\\")
                        or (line.startswith("key added: ") and a.startswith(key + "\\")) for a in allowed)]
    check(not stray, "unexpected registry changes: " + "; ".join(stray))


def check_registration(after, startup, present=True):
    for key, values in REGISTRATION.items():
        for value, data in values.items():
            data = startup["title"] if data is None else data
            actual = after.get(key.lower(), {}).get(value.lower())
            if present:
                check(actual == ("sz", data), "%s [%s] = %s, expected \"%s\"" % (key, value, actual, data))
            else:
                check(actual is None, "%s [%s] written in update mode: %s" % (key, value, actual))


# ---- The scenarios ---------------------------------------------------------------------


class Scenarios:
    def __init__(self, args):
        self.args = args
        self.screen = Screen(args)
        self.prefix = Prefix(args, self.screen)
        self.disk = os.path.abspath(args.disk)
        self.startup = dict(read_profile(os.path.join(self.disk, "SETUP.INF")).items("Startup"))
        self.programs = []
        self.keeper = None
        self.keepers = 0
        self.failed = 0

    # -- Running and judging ----------------------------------------------------------------

    def log(self, name):
        return os.path.join(self.args.results, name + ".log")

    def start_setup(self, disk, log, *arguments):
        drive = os.path.join(self.args.prefix, "dosdevices", "a:")
        if os.path.lexists(drive):
            os.remove(drive)
        os.symlink(disk, drive)
        program = Setup(self.screen, disk, self.log(log), *arguments)
        self.programs.append(program)
        return program

    def titled_window(self, title, log, watched=None):
        program = titled_window(self.screen, title, self.log(log), watched)
        self.programs.append(program)
        return program

    def keep_desktop(self):
        """A window that stays while the scenarios run: without one the desktop process
        of the prefix ends, and its next start keeps every program waiting seconds
        long. A restart of Windows ends it; it is then started again."""
        if self.keeper is None or not self.keeper.running():
            self.keepers += 1
            self.keeper = titled_window(self.screen, "Desktop keeper", self.log("desktop-keeper-%d" % self.keepers))

    def verdict(self, name, judge, facts):
        try:
            judge(facts)
            print("PASS " + name)
        except Fail as failure:
            print("FAIL " + name)
            print("    " + str(failure).replace("\n", "\\n"))
            self.failed += 1
        except Exception:  # a fault of this driver: reported, and the next scenario runs
            print("FAIL " + name)
            for line in traceback.format_exc().splitlines():
                print("    " + line)
            self.failed += 1
        sys.stdout.flush()

    def group(self, title, run, verdicts):
        """One run of SETUP.EXE judged by one or more verdicts. The run notes what it
        found in `facts`; a verdict that needs a fact the run did not get to fails
        with the reason the run stopped."""
        start = time.monotonic()
        self.screen.seen = []
        facts = {}
        try:
            self.keep_desktop()
            run(facts)
        except Fail as failure:
            facts["stopped"] = str(failure)
        except Exception:
            facts["stopped"] = traceback.format_exc().replace("\n", "\n    ")
        finally:
            for program in self.programs:
                program.stop()
            self.programs = []
        for name, judge in verdicts:
            self.verdict(name, judge, facts)
        print("MEASURE installer scenario %s: %.1f s" % (title, time.monotonic() - start))

    def single(self, title, name, scenario, *arguments):
        def run(facts):
            scenario(*arguments)
            facts["done"] = True
        self.group(title, run, [(name, lambda facts: need(facts, "done"))])

    # -- Cancel on a page -------------------------------------------------------------------

    def cancel_on_page(self, page_class, how):
        registry = self.prefix.reset()
        setup = self.start_setup(self.disk, "cancel-" + page_class)
        page = self.screen.page(WELCOME)
        for cls in PAGES[1:PAGES.index(page_class) + 1]:
            self.screen.click(page.control(NEXT))
            page = self.screen.page(cls, page)
        if how == "click":
            self.screen.click(page.control(CANCEL))
        else:
            self.screen.key(page, how)
        box = self.screen.message_box()
        check(box.pid == page.pid, "the notice comes from another program")
        owner = [w for w in self.screen.windows() if w.hwnd == page.hwnd]
        check(owner and not owner[0].enabled, "the page is not the disabled owner of its notice")
        check_box(self.screen, box, NOT_COMPLETED, ["OK"], "warning", "cancel-" + page_class)
        self.screen.answer(box, "OK")
        setup.exit_code()
        later = [cls for cls in PAGES[PAGES.index(page_class) + 1:] if cls in self.screen.seen]
        check(not later, "a later page showed after Cancel: %s" % later)
        self.prefix.check_untouched(registry)

    # -- Cancel during the copy -------------------------------------------------------------

    def build_slow_disk(self):
        """A disk of many large compressed files, so that the copy lasts long enough to
        be cancelled; one file, compressed once, linked under every name."""
        disk = os.path.join(os.path.dirname(self.disk), "slow-disk")
        shutil.rmtree(disk, ignore_errors=True)
        os.makedirs(disk)
        shutil.copy(os.path.join(self.disk, "SETUP.EXE"), disk)
        block = b"Filler of the slow disk, copied until the user cancels.\r\n"
        content = (block * (SLOW_FILE_BYTES // len(block) + 1))[:SLOW_FILE_BYTES]
        plain = os.path.join(disk, "FILL.BIN")
        with open(plain, "wb") as f:
            f.write(content)
        subprocess.run(["mscompress", plain], check=True, capture_output=True)
        os.remove(plain)
        lines = ["[Main]", "DefaultPath=C:\\VELMO", "ProductName=" + PRODUCT, "MinimumSpace=1024", "",
                 "[DiskLabel]", "Disk1=Slow Disk", "", "[FileCounts]", "Disk1=%d" % SLOW_FILES, "",
                 "[DirectoryName]", "RootDir=", "", "[Disk1]"]
        for n in range(1, SLOW_FILES + 1):
            os.link(plain + "_", os.path.join(disk, "FILL%03d.DA_" % n))
            lines.append("%d=FILL%03d.DA_,FILL%03d.DAT,Filler %d,RootDir" % (n, n, n, n))
        with open(os.path.join(disk, "SETUP.INF"), "wb") as f:
            f.write(("\r\n".join(lines) + "\r\n").encode("ascii"))
        return disk, hashlib.sha1(content).hexdigest()

    def cancel_during_copy(self):
        disk, digest = self.build_slow_disk()
        registry = self.prefix.reset()
        setup = self.start_setup(disk, "cancel-copy")
        page = self.screen.page(WELCOME)
        for cls in (MOUSE_TYPE, DIRECTORY):
            self.screen.click(page.control(NEXT))
            page = self.screen.page(cls, page)
        first = self.prefix.host("C:\\VELMO\\FILL001.DAT")
        self.screen.click(page.control(NEXT))
        # The moment the first file appears the installer is held still while the user
        # clicks Cancel, as on a slow machine; it takes the click between two files.
        deadline = time.monotonic() + 20
        while not os.path.exists(first):
            check(time.monotonic() < deadline, "the copy did not start: %s" % self.screen.windows())
            time.sleep(0.002)
        os.kill(setup.process.pid, signal.SIGSTOP)
        try:
            install = self.screen.page(INSTALL, seconds=5)
            self.screen.click(install.control(INSTALL_CANCEL))
        finally:
            os.kill(setup.process.pid, signal.SIGCONT)
        box = self.screen.message_box(seconds=30)
        check_box(self.screen, box, NOT_COMPLETED, ["OK"], "warning", "cancel-copy")
        self.screen.answer(box, "OK")
        setup.exit_code()
        check(END not in self.screen.seen, "the end page showed")
        copied = []
        for n in range(1, SLOW_FILES + 1):
            path = self.prefix.host("C:\\VELMO\\FILL%03d.DAT" % n)
            if os.path.exists(path):
                with open(path, "rb") as f:
                    check(hashlib.sha1(f.read()).hexdigest() == digest, "FILL%03d.DAT was left incomplete" % n)
                copied.append(n)
        check(copied, "no file was copied")
        check(copied == list(range(1, len(copied) + 1)), "files copied out of order: %s" % copied)
        check(len(copied) < SLOW_FILES, "every file was copied: the Cancel took no effect")
        print("MEASURE cancel during the copy: %d of %d files copied before the copy stopped"
              % (len(copied), SLOW_FILES))
        shutil.rmtree(self.prefix.host("C:\\VELMO"))
        self.prefix.check_untouched(registry)
        shutil.rmtree(disk, ignore_errors=True)

    # -- Outside Windows 95/98 --------------------------------------------------------------

    def set_version(self, version):
        result = self.screen.wine("reg", "add", "HKCU\\Software\\Wine", "/v", "Version", "/d", version, "/f")
        check(result.returncode == 0, "setting the Windows version %s failed" % version)

    def outside_windows_9x(self, update_mode):
        registry = self.prefix.reset("ps2")
        script = open(os.path.join(self.disk, "SETUP.INF"), "rb").read()
        self.set_version("winxp")
        try:
            if update_mode:
                setup = self.start_setup(self.disk, "winxp-update-mode", "-u")
                page = self.screen.page(MOUSE_TYPE)
                check(not page.control(BACK).enabled, "Back is enabled in update mode")
                self.screen.click(page.control(CANCEL))
                box = self.screen.message_box()
                check_box(self.screen, box, NOT_COMPLETED, ["OK"], "warning")
                self.screen.answer(box, "OK")
            else:
                setup = self.start_setup(self.disk, "winxp-wizard")
                box = self.screen.message_box("Warning")
                check_box(self.screen, box, WINDOWS_ONLY, ["OK"], "warning", "version-message")
                self.screen.answer(box, "OK")
            setup.exit_code()
        finally:
            self.set_version("win98")
        if not update_mode:
            shown = sorted(set(self.screen.seen) & set(PAGES + (BACKGROUND,)))
            check(not shown, "the wizard showed %s" % shown)
        self.prefix.check_untouched(registry)
        check(open(os.path.join(self.disk, "SETUP.INF"), "rb").read() == script, "A:\\SETUP.INF changed")

    # -- Back and Next, an existing destination, a PS/2 mouse, restart declined ----------------

    def walk_back_and_next(self):
        """Welcome, mouse type (PS/2 chosen), directory, Back, Back, and forward again;
        returns the directory page reached at last."""
        page = self.screen.page(WELCOME)
        self.screen.click(page.control(NEXT))
        page = self.screen.page(MOUSE_TYPE, page)
        check(page.control(SERIAL).checked == "1" and page.control(PS2).checked == "0",
              "the mouse-type page does not open with Serial Mouse chosen")
        check(page.control(BACK).enabled, "Back is disabled on the mouse-type page")
        self.screen.click(page.control(PS2))
        self.screen.click(page.control(NEXT))
        page = self.screen.page(DIRECTORY, page)
        check(page.control(DEST_DIR).text == "C:\\VELMO", "destination shown: %r" % page.control(DEST_DIR).text)
        self.screen.click(page.control(BACK))
        page = self.screen.page(MOUSE_TYPE, page)
        check(page.control(PS2).checked == "1" and page.control(SERIAL).checked == "0",
              "the mouse-type page reached by Back does not show PS/2 Mouse chosen")
        self.screen.click(page.control(BACK))
        page = self.screen.page(WELCOME, page)
        self.screen.click(page.control(NEXT))
        page = self.screen.page(MOUSE_TYPE, page)
        check(page.control(PS2).checked == "1", "PS/2 Mouse is no longer chosen")
        self.screen.click(page.control(NEXT))
        return self.screen.page(DIRECTORY, page)

    def ps2_installation(self, facts):
        facts["before"] = self.prefix.reset("ps2", "serial")
        os.makedirs(self.prefix.host("C:\\VELMO"))
        bystander = self.titled_window("Bystander", "bystander-declined")
        setup = self.start_setup(self.disk, "ps2-installation")
        page = self.walk_back_and_next()
        facts["walk"] = True
        # The destination exists: the question, answered Cancel first, then OK.
        self.screen.click(page.control(NEXT))
        box = self.screen.message_box()
        check_box(self.screen, box, DIRECTORY_EXISTS, ["OK", "Cancel"], "blue", "directory-exists")
        self.screen.answer(box, "Cancel")
        time.sleep(0.5)
        windows = self.screen.windows()
        check(any(w.hwnd == page.hwnd and w.enabled for w in windows), "the directory page did not stay")
        check(not any(w.cls == MESSAGE_BOX for w in windows), "a further message after Cancel")
        check(INSTALL not in self.screen.seen, "the install page showed after Cancel")
        self.screen.click(page.control(NEXT))
        self.screen.answer(self.screen.message_box(), "OK")
        end = self.screen.page(END, seconds=30)
        check(end.control(RESTART_YES).checked == "1" and end.control(RESTART_NO).checked == "0",
              "the end page does not offer the restart as chosen")
        self.screen.click(end.control(RESTART_NO))
        self.screen.click(end.control(FINISH))
        setup.exit_code()
        facts["installed"] = True
        time.sleep(1.0)
        facts["bystander"] = (bystander.running(), bystander.lines(),
                              any(w.text == "Bystander" for w in self.screen.windows()))
        facts["after"] = self.prefix.registry("dump")

    def judge_existing_destination(self, facts):
        need(facts, "installed")
        self.prefix.check_files()
        self.prefix.check_system_ini()
        check_registration(facts["after"], self.startup)

    def judge_ps2_device(self, facts):
        before, after = need(facts, "before"), need(facts, "after")
        check_device(before, after, self.startup, "PS2", self.prefix.host("C:\\VELMO\\SETUP.INF"))
        check_only_changes(before, after, device_keys("PS2") + registration_keys())

    def judge_declined(self, facts):
        running, lines, window = need(facts, "bystander")
        check(running and window, "another program ended with the installer: %s" % lines)
        check(not any("endsession" in line for line in lines), "the session ended: %s" % lines)

    def judge_vxd(self, facts):
        need(facts, "installed")
        vxd, bak = self.prefix.vxd, self.prefix.vxd_bak
        check(not os.path.exists(vxd), "VMOUSE.VXD is still there")
        check(os.path.exists(bak) and open(bak, "rb").read() == self.prefix.vxd_bytes,
              "VMOUSE.BAK does not hold the former VMOUSE.VXD")

    # -- The update mode --------------------------------------------------------------------

    def update_mode(self):
        disk = os.path.join(os.path.dirname(self.disk), "update-disk")
        shutil.rmtree(disk, ignore_errors=True)
        shutil.copytree(self.disk, disk)
        script = os.path.join(disk, "SETUP.INF")
        before = self.prefix.reset("ps2", "serial")
        bystander = self.titled_window("Bystander", "bystander-update-mode")
        setup = self.start_setup(disk, "update-mode", "-u")
        page = self.screen.page(MOUSE_TYPE)
        check(not page.control(BACK).enabled, "Back is enabled in update mode")
        check(page.control(SERIAL).checked == "1", "Serial Mouse is not chosen at first")
        self.screen.screenshot("update-mode")
        self.screen.click(page.control(PS2))
        self.screen.click(page.control(NEXT))
        box = self.screen.message_box()
        check_box(self.screen, box, RESTART_NOW, ["OK"], "blue", "update-mode-notice")
        shown = sorted(set(self.screen.seen) & set(PAGES + (BACKGROUND,)))
        check(shown == [MOUSE_TYPE], "update mode showed more than the mouse-type page: %s" % shown)
        # Everything is written before the notice.
        after = self.prefix.registry("dump")
        check_device(before, after, self.startup, "PS2", script)
        check_registration(after, self.startup, present=False)
        check_only_changes(before, after, device_keys("PS2"))
        check(not self.prefix.traces(), "update mode touched files: %s" % self.prefix.traces())
        check(bystander.running(), "another program ended before the notice was answered")
        self.screen.answer(box, "OK", confirm=False)
        check_restart(setup, bystander, self.args.prefix)
        # The prefix after the restart keeps what the update mode wrote.
        check_device(before, self.prefix.registry("dump"), self.startup, "PS2", script)
        shutil.rmtree(disk, ignore_errors=True)

    # -- A serial mouse, the resident application, restart chosen -----------------------------

    def serial_installation(self, facts):
        facts["before"] = self.prefix.reset("ps2", "serial")
        keyword, folder, name = self.prefix.manifest[0]
        first = "C:\\VELMO\\" + (folder + "\\" if folder else "") + name
        resident = self.titled_window("Tarvik", "resident", first)
        bystander = self.titled_window("Bystander", "bystander-restart")
        setup = self.start_setup(self.disk, "serial-installation")
        page = self.screen.page(WELCOME)
        for cls in (MOUSE_TYPE, DIRECTORY, END):
            self.screen.key(page, "Return")
            page = self.screen.page(cls, page, seconds=30)
        facts["resident"] = (resident.wait(5), resident.lines())
        check(page.control(RESTART_YES).checked == "1", "the end page does not offer the restart as chosen")
        self.screen.click(page.control(FINISH))
        try:
            check_restart(setup, bystander, self.args.prefix)
            facts["restart"] = "ok"
        except Fail as failure:
            facts["restart"] = str(failure)
        facts["after"] = self.prefix.registry("dump")

    def judge_resident(self, facts):
        code, lines = need(facts, "resident")
        check(code == 0, "the resident application's stand-in did not end: %s" % lines)
        closes = [line for line in lines if line.startswith("close ")]
        check(closes == ["close install_page=0 path=absent"],
              "WM_CLOSE not received before the install page and the copy: %s" % lines)

    def judge_serial_device(self, facts):
        before, after = need(facts, "before"), need(facts, "after")
        check_device(before, after, self.startup, "Serial", self.prefix.host("C:\\VELMO\\SETUP.INF"))
        check_only_changes(before, after, device_keys("Serial") + registration_keys())

    def judge_restart(self, facts):
        result = need(facts, "restart")
        check(result == "ok", result)

    # -- All of them --------------------------------------------------------------------------

    def run_all(self):
        for page, how, name in (
            (WELCOME, "click", "the welcome page"),
            (MOUSE_TYPE, "Escape", "the mouse-type page"),
            (DIRECTORY, "click", "the directory page"),
        ):
            self.single("cancel on " + name, "Cancel on %s (%s): the notice, exit code 0, nothing installed"
                        % (name, "a click" if how == "click" else how), self.cancel_on_page, page, how)
        self.single("cancel during the copy", "Cancel during the copy: the file in hand completed, no later file, "
                    "no registry entries, the notice, no end page", self.cancel_during_copy)
        self.single("version message", "outside Windows 95/98 the wizard stops with the version message",
                    self.outside_windows_9x, False)
        self.single("update mode outside Windows 95/98",
                    "outside Windows 95/98 the update mode still runs; Cancel there changes nothing",
                    self.outside_windows_9x, True)
        self.group("PS/2 installation", self.ps2_installation, [
            ("Back and Next walk through fresh pages and keep the mouse type chosen",
             lambda facts: need(facts, "walk")),
            ("an existing destination: Cancel on the question keeps the page, OK installs",
             self.judge_existing_destination),
            ("PS/2 mouse: the device and its driver key point at the product's driver, former values in [PS2]",
             self.judge_ps2_device),
            ("restart declined: the installer ends and other programs keep running", self.judge_declined),
            ("VMOUSE.VXD is kept as VMOUSE.BAK", self.judge_vxd),
        ])
        # The last two restart Windows.
        self.single("update mode", "update mode: the mouse-type page alone, the device part only, records in "
                    "A:\\SETUP.INF, the notice, then a restart", self.update_mode)
        self.group("serial installation", self.serial_installation, [
            ("the resident application's window is closed before the copy starts", self.judge_resident),
            ("serial mouse: the device and its driver key point at the product's driver, former values in [Serial]",
             self.judge_serial_device),
            ("restart chosen: Windows restarts (the session of the other programs ends)", self.judge_restart),
        ])
        if self.keeper:
            self.keeper.stop()


def need(facts, key):
    if key not in facts:
        raise Fail("the run stopped before this could be judged: " + facts.get("stopped", "no reason given"))
    return facts[key]


def device_keys(section):
    hardware, driver = DEVICES[section]
    return [("hklm\\enum\\" + hardware).lower(), ("hklm\\" + CLASS_ROOT + driver).lower()]


def registration_keys():
    return [key.lower() for key in REGISTRATION]


def check_restart(setup, bystander, prefix):
    """The installer asked Windows to restart: under Wine the other programs of the
    prefix are told that the session ends, and are ended."""
    setup.exit_code()
    check(bystander.wait(20) is not None, "another program still runs: no restart")
    check(any("endsession" in line for line in bystander.lines()),
          "another program ended without the end of the session: %s" % bystander.lines())
    wait_for_session_end(prefix)


def wait_for_session_end(prefix, seconds=20):
    """Waits until no wineboot of this prefix runs any more: it ends the session and
    starts Windows again."""
    marker = b"WINEPREFIX=" + prefix.encode()
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        busy = False
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                command = open("/proc/%s/cmdline" % pid, "rb").read()
                environment = open("/proc/%s/environ" % pid, "rb").read().split(b"\0")
            except OSError:
                continue
            busy |= b"wineboot" in command and marker in environment
        if not busy:
            return
        time.sleep(0.1)
    raise Fail("the restart has not ended after %d s" % seconds)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--work", required=True, help="the folder of the helper programs (C:\\rig)")
    parser.add_argument("--results", required=True)
    parser.add_argument("--disk", required=True, help="the disk the installation scenario was built from")
    parser.add_argument("--system-ini", required=True, help="system.ini as it was before any installation")
    args = parser.parse_args()
    os.makedirs(args.results, exist_ok=True)
    start = time.monotonic()
    scenarios = Scenarios(args)
    scenarios.run_all()
    print("MEASURE installer scenarios: %.1f s in all" % (time.monotonic() - start))
    return 1 if scenarios.failed else 0


if __name__ == "__main__":
    sys.exit(main())

# An installation from a built disk in the rig's prefix, sourced after rig.sh by
# tests/wine/run and scripts/demo.
#
#   install_from_disk DISK_DIR RESULTS_DIR [--demo]
#
# The disk folder becomes drive A:, the prefix gets a "system.ini" in the shape of a
# Windows 98 one (Wine's own has no [386Enh] section), SETUP.EXE starts from A:, and
# tests/wine/install_wizard.py walks the wizard and checks the result. The expected
# file contents and the manifest lie beside the disk folder (tools/disk/make_disk.py).
# shellcheck shell=bash

INSTALL_HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

install_windows98_ini() {
    local ini="$WINEPREFIX/drive_c/windows/system.ini" wine_part
    wine_part=$(cat "$ini" 2>/dev/null)
    {
        printf '[boot]\r\nshell=Explorer.exe\r\nmouse.drv=mouse.drv\r\n\r\n'
        printf '[386Enh]\r\nebios=*ebios\r\nwoafont=dosapp.fon\r\nmouse=*vmouse, msmouse.vxd\r\nkeyboard=*vkd\r\n\r\n'
        printf '%s\r\n' "$wine_part" | sed 's/\r*$/\r/'
    } >"$ini.tmp" && mv "$ini.tmp" "$ini"
}

install_from_disk() {
    local disk=$1 results=$2 mode=${3:-}
    local expected manifest rc
    expected="$(cd "$disk/.." && pwd)/disk-expected"
    manifest="$(cd "$disk/.." && pwd)/disk-manifest.txt"
    mkdir -p "$results"
    ln -sfn "$(cd "$disk" && pwd)" "$WINEPREFIX/dosdevices/a:"
    install_windows98_ini
    cp "$WINEPREFIX/drive_c/windows/system.ini" "$results/system.ini.before"
    env -C "$disk" wine 'A:\SETUP.EXE' >"$results/setup.log" 2>&1 &
    RIG_BG_PIDS+=("$!")
    local setup_pid=$!
    python3 "$INSTALL_HERE/install_wizard.py" --prefix "$WINEPREFIX" --results "$results" \
        --expected "$expected" --manifest "$manifest" $mode
    rc=$?
    rig_stop_bg "$setup_pid"
    cp "$WINEPREFIX/drive_c/windows/system.ini" "$results/system.ini.after" 2>/dev/null
    return "$rc"
}

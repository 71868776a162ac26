# The Wine test rig, sourced by tests/wine/run and later test scripts.
#
# rig_setup makes a throw-away 32-bit prefix that reports Windows 98 and a private X
# screen (DISPLAY stays exported for xdotool), and arranges that everything it started
# is ended and removed on exit, on failure and on interruption. Test programs run in
# the prefix's folder C:\rig, each with its own log in the results folder.
#
#   rig_setup RESULTS_DIR          prefix, X screen, results folder (emptied)
#   rig_stage FILE...              copy files into C:\rig
#   rig_winpath FILE               the Windows path of a staged file (C:\rig\NAME)
#   rig_run_test NAME EXE [ARG...] stage and run a program; PASS/FAIL by its exit code
#   rig_start_bg NAME EXE [ARG...] start a program in the background (RIG_LAST_PID, RIG_LAST_LOG)
#   rig_wait_line LOG TEXT [SECS]  wait until the log holds a line containing TEXT
#   rig_stop_bg PID                end a program started by rig_start_bg
#   rig_screenshot FILE.png        picture of the whole X screen (needs ImageMagick's import)
#   rig_record NAME PASS|FAIL      count a result decided by the calling script
#   rig_record_verdicts LOG        count the "PASS name" / "FAIL name" lines of a driver's log,
#                                  show the indented reasons of failures and "MEASURE" lines
#   rig_summary                    "wine tests: N passed, M failed"; non-zero status on any failure
#
# Settings from the environment: RIG_TIMEOUT (seconds per program, default 60),
# RIG_KEEP=1 (keep the prefix folder for a look afterwards), WINEDEBUG (default -all).
# shellcheck shell=bash

RIG_ROOT=""
RIG_XVFB_PID=""
RIG_CURRENT_PID=""
RIG_BG_PIDS=()
RIG_PASSED=0
RIG_FAILED=0
RIG_RESULTS=""
RIG_WORK=""
RIG_LAST_PID=""
RIG_LAST_LOG=""
: "${RIG_TIMEOUT:=60}"

rig_log() { echo "[rig] $*" >&2; }

rig_now() { date +%s.%N; }
rig_elapsed() { awk -v a="$1" -v b="$(rig_now)" 'BEGIN { printf "%.1f", b - a }'; }

rig_setup() {
    RIG_RESULTS=$1
    mkdir -p "$RIG_RESULTS" || return 1
    rm -f "$RIG_RESULTS"/*.log "$RIG_RESULTS"/*.png "$RIG_RESULTS"/summary.txt
    RIG_ROOT=$(mktemp -d "${TMPDIR:-/tmp}/wine-rig.XXXXXX") || return 1
    trap rig_cleanup EXIT
    trap 'rig_log "interrupted"; exit 130' INT
    trap 'rig_log "terminated"; exit 143' TERM
    trap 'rig_log "hang-up"; exit 129' HUP
    rig_start_xvfb || return 1
    rig_make_prefix || return 1
}

rig_start_xvfb() {
    local n
    for n in $(seq 90 140); do
        [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -ac >"$RIG_ROOT/xvfb.log" 2>&1 &
        RIG_XVFB_PID=$!
        local try
        for try in $(seq 100); do
            : "$try"
            [[ -e /tmp/.X11-unix/X$n ]] && break
            kill -0 "$RIG_XVFB_PID" 2>/dev/null || break
            sleep 0.1
        done
        if [[ -e /tmp/.X11-unix/X$n ]] && kill -0 "$RIG_XVFB_PID" 2>/dev/null; then
            export DISPLAY=":$n"
            rig_log "X screen $DISPLAY (Xvfb pid $RIG_XVFB_PID)"
            return 0
        fi
        # Lost a race for this number, or the server failed: try the next one.
        kill "$RIG_XVFB_PID" 2>/dev/null
        wait "$RIG_XVFB_PID" 2>/dev/null
        RIG_XVFB_PID=""
    done
    rig_log "no X screen could be started"
    return 1
}

# rig_wait_for LOG COMMAND...: runs the command with its output in LOG, in the
# background, and waits for it, so that a signal to the script is handled at once
# rather than when the command ends; rig_cleanup ends the command.
rig_wait_for() {
    local log=$1
    shift
    "$@" >"$log" 2>&1 &
    RIG_CURRENT_PID=$!
    wait "$RIG_CURRENT_PID"
    local rc=$?
    RIG_CURRENT_PID=""
    return "$rc"
}

rig_make_prefix() {
    export WINEPREFIX="$RIG_ROOT/prefix"
    export WINEARCH=win32
    export WINEDEBUG="${WINEDEBUG:--all}"
    # No Mono or Gecko installer may wait for a click.
    export WINEDLLOVERRIDES="mscoree=;mshtml="
    local start
    start=$(rig_now)
    # A persistent server serves every program of the run; rig_cleanup ends it.
    mkdir -p "$WINEPREFIX" && wineserver -p || return 1
    if ! rig_wait_for "$RIG_ROOT/wineboot.log" wineboot -i; then
        rig_log "wineboot failed:"; cat "$RIG_ROOT/wineboot.log" >&2
        return 1
    fi
    if ! rig_wait_for "$RIG_ROOT/reg.log" wine reg add 'HKCU\Software\Wine' /v Version /d win98 /f; then
        rig_log "setting Windows 98 failed:"; cat "$RIG_ROOT/reg.log" >&2
        return 1
    fi
    # There is no window manager on the virtual screen: with Wine's windows managed,
    # hiding or destroying a top-level window waits two seconds for a manager's answer.
    if ! rig_wait_for "$RIG_ROOT/reg.log" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f; then
        rig_log "setting unmanaged windows failed:"; cat "$RIG_ROOT/reg.log" >&2
        return 1
    fi
    RIG_PREFIX_SECONDS=$(rig_elapsed "$start")
    RIG_WORK="$WINEPREFIX/drive_c/rig"
    mkdir -p "$RIG_WORK"
    rig_log "prefix $WINEPREFIX ready in ${RIG_PREFIX_SECONDS}s"
}

rig_stage() {
    local file
    for file in "$@"; do
        cp -f "$file" "$RIG_WORK/" || return 1
    done
}

rig_winpath() { printf 'C:\\rig\\%s' "$(basename "$1")"; }

rig_record() {
    local name=$1 verdict=$2
    if [[ $verdict == PASS ]]; then
        RIG_PASSED=$((RIG_PASSED + 1))
    else
        RIG_FAILED=$((RIG_FAILED + 1))
    fi
    echo "$verdict $name" | tee -a "$RIG_RESULTS/summary.txt"
}

rig_record_verdicts() {
    local log=$1 line
    while IFS= read -r line; do
        case $line in
            "PASS "*) rig_record "${line#PASS }" PASS ;;
            "FAIL "*) rig_record "${line#FAIL }" FAIL ;;
            "MEASURE "*) echo "${line#MEASURE }" ;;
            "    "*) echo "$line" >&2 ;;
        esac
    done <"$log"
}

rig_run_test() {
    local name=$1 exe=$2
    shift 2
    local log="$RIG_RESULTS/$name.log" start rc
    rig_stage "$exe" || { rig_record "$name" FAIL; return 1; }
    start=$(rig_now)
    rig_wait_for "$log" env -C "$RIG_WORK" timeout -k 5 "$RIG_TIMEOUT" wine "$(basename "$exe")" "$@"
    rc=$?
    echo "exit code $rc after $(rig_elapsed "$start")s" >>"$log"
    if [[ $rc -eq 0 ]]; then
        rig_record "$name" PASS
    else
        [[ $rc -eq 124 ]] && rig_log "$name timed out after ${RIG_TIMEOUT}s"
        grep -a '^FAIL' "$log" | sed 's/\r$//; s/^/    /' >&2
        rig_log "$name: exit code $rc, log $log"
        rig_record "$name" FAIL
    fi
    return "$rc"
}

rig_start_bg() {
    local name=$1 exe=$2
    shift 2
    RIG_LAST_LOG="$RIG_RESULTS/$name.log"
    rig_stage "$exe" || return 1
    env -C "$RIG_WORK" wine "$(basename "$exe")" "$@" >"$RIG_LAST_LOG" 2>&1 &
    RIG_LAST_PID=$!
    RIG_BG_PIDS+=("$RIG_LAST_PID")
}

rig_wait_line() {
    local log=$1 text=$2 seconds=${3:-30} start
    start=$(rig_now)
    while ! grep -aqF -- "$text" "$log" 2>/dev/null; do
        if awk -v a="$start" -v b="$(rig_now)" -v s="$seconds" 'BEGIN { exit !(b - a > s) }'; then
            rig_log "no line \"$text\" in $log after ${seconds}s"
            return 1
        fi
        sleep 0.1
    done
}

rig_stop_bg() {
    local pid=$1 i
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    for i in "${!RIG_BG_PIDS[@]}"; do
        [[ ${RIG_BG_PIDS[$i]} == "$pid" ]] && unset 'RIG_BG_PIDS[i]'
    done
    return 0
}

rig_screenshot() {
    if ! command -v import >/dev/null; then
        rig_log "no screenshot: ImageMagick's import is not installed"
        return 1
    fi
    import -display "$DISPLAY" -window root "$1"
}

rig_summary() {
    echo "wine tests: $RIG_PASSED passed, $RIG_FAILED failed" | tee -a "$RIG_RESULTS/summary.txt"
    [[ $RIG_FAILED -eq 0 && $RIG_PASSED -gt 0 ]]
}

rig_cleanup() {
    local status=$? pid
    trap - EXIT INT TERM HUP
    [[ -n $RIG_CURRENT_PID ]] && kill "$RIG_CURRENT_PID" 2>/dev/null
    for pid in "${RIG_BG_PIDS[@]}"; do
        kill "$pid" 2>/dev/null
    done
    if [[ -n ${WINEPREFIX:-} && -d ${WINEPREFIX:-} ]]; then
        wineserver -k 2>/dev/null
        # Returns once the server has ended.
        wineserver -w 2>/dev/null
    fi
    [[ -n $RIG_CURRENT_PID ]] && wait "$RIG_CURRENT_PID" 2>/dev/null
    for pid in "${RIG_BG_PIDS[@]}"; do
        wait "$pid" 2>/dev/null
    done
    if [[ -n $RIG_XVFB_PID ]]; then
        kill "$RIG_XVFB_PID" 2>/dev/null
        wait "$RIG_XVFB_PID" 2>/dev/null
    fi
    if [[ -n $RIG_ROOT && -d $RIG_ROOT ]]; then
        if [[ ${RIG_KEEP:-0} == 1 ]]; then
            rig_log "kept $RIG_ROOT"
        else
            rm -rf "$RIG_ROOT"
        fi
    fi
    exit "$status"
}

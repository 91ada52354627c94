# Sourced, not run: a throwaway Wine prefix and an Xvfb display for the Windows tiers.
#
#   source scripts/wine-env.sh
#   sw_wine_init                          # prefix + display; cleaned up on exit
#   sw_wine_template DIR                  # optional, once: later sw_wine_init calls copy a prefix booted in DIR
#   sw_wine_version win98                 # optional: win98, nt351, winxp, ...
#   sw_wine_run 300 wine app.exe -x       # any command, on the display, bounded in time
#   sw_wine_box_text LOG PID              # the text of the message box a traced program shows
#   sw_box_text_is TEXT EXPECTED          # whether that text is EXPECTED (or its start, when Wine cut it)
#   sw_wine_answer_boxes LOG PID HANDLER  # HANDLER answers each message box of a traced program in turn
#   sw_window_wait TITLE [SECONDS]        # the X window id of the window of that title, once it shows
#   sw_window_shot WINDOW FOLDER NAME     # a screenshot of the window, kept as FOLDER/NAME.png
#   sw_window_keys WINDOW KEY...          # presses keys in the window (Return, Escape, Tab, shift+Tab, alt+F4, space)
#   sw_window_click WINDOW X Y [FX FY]    # clicks the point X,Y of the window's client area
#
# Exports WINEPREFIX, WINEDEBUG, WINEDLLOVERRIDES, WINEARCH, DISPLAY and SW_WINE_READY. Every Wine call is
# bounded by a timeout, so nothing here can hang. The cleanup runs from an EXIT trap; a caller that sets
# its own EXIT trap must call sw_wine_cleanup itself.

source "$(dirname "${BASH_SOURCE[0]}")/wine-path.sh"

SW_WINE_TMP=""
SW_XVFB_PID=""

sw_wine_log() {
    echo "wine-env: $*" >&2
}

# Starts an Xvfb on a free display (the server picks it) and exports DISPLAY.
sw_xvfb_start() {
    local display_file="$SW_WINE_TMP/display"
    : >"$display_file"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$display_file" >/dev/null 2>&1 &
    SW_XVFB_PID=$!
    local _
    for _ in $(seq 1 100); do
        if [ -s "$display_file" ]; then
            DISPLAY=":$(tr -d '[:space:]' <"$display_file")"
            export DISPLAY
            return 0
        fi
        kill -0 "$SW_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    sw_wine_log "Xvfb did not start"
    return 1
}

# Creates the prefix and the display, and boots the prefix. In a script started by a caller that already
# did this (SW_WINE_READY exported), keeps the caller's prefix and display, and leaves their cleanup to it.
sw_wine_init() {
    if [ -n "${SW_WINE_READY:-}" ] && [ -d "${WINEPREFIX:-}" ] && [ -n "${DISPLAY:-}" ]; then
        return 0
    fi
    if ! sw_i386_runs; then
        sw_wine_log "32-bit Linux programs do not run on this kernel, so 32-bit Wine cannot start;" \
            "scripts/install-prereqs.sh registers qemu-i386 for them"
        return 1
    fi
    SW_WINE_TMP=$(mktemp -d "${TMPDIR:-/tmp}/sw-wine.XXXXXX") || return 1
    trap sw_wine_cleanup EXIT
    # Wine keeps its server's sockets in a folder of TMPDIR that outlives the server: in ours, the
    # cleanup removes it.
    SW_WINE_OUTER_TMPDIR=${TMPDIR-}
    export TMPDIR="$SW_WINE_TMP"
    export WINEPREFIX="$SW_WINE_TMP/prefix"
    export WINEARCH=win32
    export WINEDEBUG=-all
    # No Mono or Gecko install dialogs.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    sw_xvfb_start || return 1
    if [ -n "${SW_WINE_TEMPLATE:-}" ] && [ -f "$SW_WINE_TEMPLATE/system.reg" ]; then
        cp -a "$SW_WINE_TEMPLATE" "$WINEPREFIX" || return 1
        # The template's record of its server folder, which is gone: Wine makes a new one.
        rm -f "$WINEPREFIX/wineserver"
    else
        sw_wine_boot || return 1
    fi
    export SW_WINE_READY=1
    return 0
}

# Boots a new prefix at WINEPREFIX on the display and sets it up for the tests.
sw_wine_boot() {
    if ! timeout -k 10 180 wineboot -i >"$SW_WINE_TMP/wineboot.log" 2>&1; then
        sw_wine_log "wineboot -i failed or timed out; log: $SW_WINE_TMP/wineboot.log"
        cat "$SW_WINE_TMP/wineboot.log" >&2
        return 1
    fi
    # Xvfb has no window manager: Wine places, maximizes and focuses its windows itself.
    timeout -k 5 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    # A program that crashes ends with a backtrace on standard error instead of a crash dialog that nobody
    # on the display will ever close.
    timeout -k 5 60 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    timeout -k 5 60 wineserver -w
}

# sw_wine_template DIR: boots a prefix into DIR once and exports SW_WINE_TEMPLATE, so that every later
# sw_wine_init copies it: a copy takes seconds where a boot takes a quarter of a minute, and each caller
# still gets a prefix of its own.
sw_wine_template() {
    local dir=$1
    (
        unset SW_WINE_READY SW_WINE_TEMPLATE
        SW_WINE_TMP=$(mktemp -d "${TMPDIR:-/tmp}/sw-wine.XXXXXX") || exit 1
        trap 'kill "$SW_XVFB_PID" 2>/dev/null; wait "$SW_XVFB_PID" 2>/dev/null; rm -rf "$SW_WINE_TMP"' EXIT
        export TMPDIR="$SW_WINE_TMP"
        export WINEPREFIX=$dir WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
        sw_xvfb_start && sw_wine_boot
    ) || return 1
    export SW_WINE_TEMPLATE=$dir
}

# sw_wine_run SECONDS COMMAND...: runs COMMAND on the Xvfb display, killed after SECONDS.
sw_wine_run() {
    local seconds=$1
    shift
    timeout -k 10 "$seconds" "$@"
    local rc=$?
    [ $rc -eq 124 ] && sw_wine_log "timed out after ${seconds}s: $*"
    return $rc
}

# sw_wine_version VERSION: the Windows version Wine reports in this prefix (win98, nt351, winxp, ...).
sw_wine_version() {
    timeout -k 5 60 wine reg add 'HKCU\Software\Wine' /v Version /d "$1" /f >/dev/null 2>&1 &&
        timeout -k 5 60 wineserver -w
}

# sw_wine_box_text LOG PID: waits, two minutes at most, until the program started with WINEDEBUG=trace+msgbox
# and logging to LOG shows a message box or PID ends; prints the first box's text, unescaped. Wine cuts a long
# text short in its trace; such a text ends in "..." (sw_box_text_is tells whether it is the start of another).
sw_wine_box_text() {
    local log=$1 pid=$2 text="" i
    for i in $(seq 1 240); do
        text=$(sw_wine_box_texts "$log" | head -n 1)
        [ -n "$text" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.5
    done
    printf '%s' "$text"
}

# sw_wine_box_texts LOG: the texts of the message boxes in LOG so far, one a line, unescaped (Wine escapes
# backslashes and quotes in its trace).
sw_wine_box_texts() {
    tr -d '\r' <"$1" | sed -n 's/^.*trace:msgbox:MSGBOX_OnInit L"\(.*\)"\(\.\.\.\)\?$/\1\2/p' |
        sed -e 's/\\\\/\\/g' -e 's/\\"/"/g'
}

# sw_box_text_is TEXT EXPECTED: whether a box text from sw_wine_box_text is EXPECTED, or, cut short by Wine's
# trace, its start (at least 100 characters of it).
sw_box_text_is() {
    local text=$1 expected=$2
    [ "$text" = "$expected" ] && return 0
    [[ $text == *... ]] || return 1
    local start=${text%...}
    [ ${#start} -ge 100 ] && [ "${expected:0:${#start}}" = "$start" ]
}

# sw_wine_answer_boxes LOG PID HANDLER: until PID ends, calls HANDLER TEXT N for each message box (the N-th)
# that the program started with WINEDEBUG=trace+msgbox and logging to LOG shows, in order, with its text
# unescaped as sw_wine_box_text gives it. HANDLER answers the box (xdotool) and may do what a user would
# before.
sw_wine_answer_boxes() {
    local log=$1 pid=$2 handler=$3 seen=0 texts
    while kill -0 "$pid" 2>/dev/null; do
        mapfile -t texts < <(sw_wine_box_texts "$log")
        while [ ${#texts[@]} -gt $seen ]; do
            seen=$((seen + 1))
            "$handler" "${texts[seen - 1]}" "$seen"
        done
        sleep 0.5
    done
}

# sw_window_wait TITLE [SECONDS]: waits, SECONDS at most (default 60), until a window whose title is TITLE
# exactly is shown on the display; prints its X window id, or fails when none showed in time.
sw_window_wait() {
    local title=$1 seconds=${2:-60} id i
    for i in $(seq 1 $((seconds * 4))); do
        id=$(timeout -k 2 10 xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n 1)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.25
    done
    sw_wine_log "no window \"$title\" after ${seconds}s"
    return 1
}

# sw_window_shot WINDOW FOLDER NAME: keeps a screenshot of the window (frame included) as FOLDER/NAME.png,
# once what the last keys or clicks caused has been drawn.
sw_window_shot() {
    local window=$1 folder=$2 name=$3
    mkdir -p "$folder"
    sleep 0.5
    timeout -k 2 30 import -window "$window" "$folder/$name.png"
}

# sw_window_keys WINDOW KEY...: gives the window the keyboard focus and presses each KEY in turn, as xdotool
# names them: Return, Escape, Tab, shift+Tab, alt+F4, space, ...
sw_window_keys() {
    local window=$1 key
    shift
    timeout -k 2 10 xdotool windowfocus --sync "$window" 2>/dev/null ||
        timeout -k 2 10 xdotool windowfocus "$window" || return 1
    for key in "$@"; do
        timeout -k 2 10 xdotool key --clearmodifiers "$key" || return 1
        sleep 0.2
    done
}

# sw_window_click WINDOW X Y [FX FY]: clicks the point X,Y of the window's client area (a button is clicked
# by a point inside it, from the form's layout). FX,FY is where the client area starts in the window: by
# default 3,22, the dialog frame and caption bar Wine draws; a sizeable frame is 4,23, no frame 0,0.
sw_window_click() {
    local window=$1 x=$2 y=$3 fx=${4:-3} fy=${5:-22}
    timeout -k 2 10 xdotool mousemove --window "$window" $((x + fx)) $((y + fy)) click 1
}

# Stops the prefix's processes and the display, and removes the prefix.
sw_wine_cleanup() {
    # Each step may fail (no server left, Xvfb ended by its signal) without
    # ending a caller that runs under set -e.
    if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
        timeout -k 5 30 wineserver -k >/dev/null 2>&1 || true
    fi
    if [ -n "$SW_XVFB_PID" ]; then
        kill "$SW_XVFB_PID" 2>/dev/null || true
        wait "$SW_XVFB_PID" 2>/dev/null || true
        SW_XVFB_PID=""
    fi
    if [ -n "$SW_WINE_TMP" ]; then
        rm -rf "$SW_WINE_TMP"
        SW_WINE_TMP=""
        unset SW_WINE_READY
        if [ -n "${SW_WINE_OUTER_TMPDIR:-}" ]; then export TMPDIR=$SW_WINE_OUTER_TMPDIR; else unset TMPDIR; fi
    fi
    return 0
}

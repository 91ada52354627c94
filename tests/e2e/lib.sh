# Sourced by every e2e script (tests/e2e/<path>.sh BUILD_DIR): the demo's real setup.exe under Wine and Xvfb,
# driven like a person. A page is recognised by its window title and the texts of its controls (pagetext.exe),
# and each page's screenshot is kept in BUILD_DIR/e2e/<path>/. The prefix's files and the product's registry
# keys are compared with what the path must leave. The script ends with "N passed, N failed".
# A path that installs another product than the demo sets, before it sources this file, e2e_distribution
# (the build target of its distribution), e2e_dist (its folder, in the build directory) and e2e_product (its
# uninstall key's name), and adds that product's keys to e2e_keys after.
#
#   e2e_start_setup [ARGS]      starts C:\Downloads\setup.exe (message boxes traced)
#   e2e_start PROGRAM [ARGS]    starts another Windows program the same way (A:\setup.exe, ...)
#   e2e_page TITLE TEXT…        waits for the page, checks its texts, keeps its screenshot; its window: $e2e_id
#   e2e_walk_defaults           the wizard from the language page to the copy, with the default choices
#   e2e_box TEXT KEY [CMD…]     waits for a message box of that text, keeps its screenshot, runs CMD, presses KEY
#   e2e_wait_setup CODE         waits for the setup's end; checks its exit code and that no box went unanswered
#   e2e_state FILE              the prefix's files and the product's registry keys
#   check NAME COMMAND…         one check: passes when COMMAND succeeds (tests/wine/checks.sh; ok, fail)
set -uo pipefail

e2e_build=$(cd "${1:?build directory}" && pwd)
e2e_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
e2e_name=$(basename "$0" .sh)
[ -n "${SW_WINE_READY:-}" ] || { source "$e2e_root/scripts/wine-env.sh" && sw_wine_init; } || exit 1
source "$e2e_root/scripts/wine-env.sh"
source "$e2e_root/scripts/wizard-walk.sh"

e2e_shots="$e2e_build/e2e/$e2e_name"
e2e_distribution=${e2e_distribution:-demo_distribution}
e2e_dist="$e2e_build/${e2e_dist:-examples/demo/distribution}"
e2e_product=${e2e_product:-Setwright Demo}
e2e_drive="$WINEPREFIX/drive_c"
e2e_tmp=$(mktemp -d "${TMPDIR:-/tmp}/sw-e2e.XXXXXX")
e2e_shot_count=0
rm -rf "$e2e_shots"
mkdir -p "$e2e_shots"

source "$e2e_root/tests/wine/checks.sh"

# Prints the summary line and ends the script: non-zero when anything failed.
e2e_finish() {
    rm -rf "$e2e_tmp"
    echo "screenshots: $e2e_shots"
    checks_end
}

# Ends the script at once: what follows cannot run.
e2e_abort() {
    fail "$1"
    pkill -f 'setup\.exe' 2>/dev/null
    e2e_finish
}

# The distribution, built once for all paths (on Linux, byte for byte what "setup.exe -b" makes); copied to
# C:\Downloads, as an end user would have it.
if [ ! -f "$e2e_dist/setup.exe" ]; then
    cmake --build "$e2e_build" --target "$e2e_distribution" >"$e2e_tmp/distribution.log" 2>&1 ||
        { cat "$e2e_tmp/distribution.log"; e2e_abort "$e2e_distribution does not build"; }
fi
mkdir -p "$e2e_drive/Downloads"
cp "$e2e_dist/setup.exe" "$e2e_drive/Downloads/setup.exe"

# The environment of the Windows programs a path starts (e2e_locale sets Wine's locale there).
e2e_env=()

# e2e_locale LOCALE: the setup program and pagetext run in LOCALE (ja_JP, fr_FR, ...), and so in its ANSI code
# page; the locale is made here with localedef, so that the machine's own list of locales does not matter.
e2e_locale() {
    local locales="$e2e_tmp/locales"
    mkdir -p "$locales"
    [ -d "$locales/$1.UTF-8" ] || localedef -i "$1" -f UTF-8 "$locales/$1.UTF-8" >/dev/null 2>&1 ||
        [ -d "$locales/$1.UTF-8" ] || { fail "localedef could not make $1.UTF-8"; return 1; }
    e2e_env=(LC_ALL="$1.UTF-8" LANG="$1.UTF-8" LOCPATH="$locales")
}

# e2e_start PROGRAM [ARGS...]: starts a Windows program with its message boxes traced; e2e_start_setup
# [ARGS...] starts the setup program.
e2e_setup_trace="$e2e_tmp/setup.trace"
e2e_start() {
    : >"$e2e_setup_trace"
    e2e_boxes_seen=0
    env "${e2e_env[@]}" WINEDEBUG=trace+msgbox timeout -k 10 900 wine "$@" >"$e2e_setup_trace" 2>&1 &
    e2e_setup_pid=$!
}
e2e_start_setup() { e2e_start 'C:\Downloads\setup.exe' "$@"; }

# e2e_wait_setup CODE: waits for the setup program's end; checks its exit code and that it showed no message
# box that the script did not answer (such a box is answered with Enter, so that the program can end).
e2e_wait_setup() {
    local expected=$1 rc
    e2e_stray=()
    sw_wine_answer_boxes "$e2e_setup_trace" "$e2e_setup_pid" e2e_stray_box
    wait "$e2e_setup_pid"
    rc=$?
    timeout -k 5 60 wineserver -w
    check "setup ended with exit code $expected (was $rc)" [ "$rc" -eq "$expected" ]
    [ ${#e2e_stray[@]} -eq 0 ] || fail "setup showed message boxes the path did not expect:$(printf ' [%s]' "${e2e_stray[@]}")"
}
e2e_stray_box() {
    [ "$2" -le "$e2e_boxes_seen" ] && return
    e2e_stray+=("$1")
    sleep 1
    xdotool key --clearmodifiers Return 2>/dev/null
}

# The visible texts of the window titled TITLE and its controls, "Class<TAB>text" a line.
e2e_texts() {
    env "${e2e_env[@]}" timeout -k 5 30 wine "$e2e_build/tests/pagetext.exe" "$1" 2>/dev/null | tr -d '\r'
}

# e2e_catch TITLE FILE [SECONDS]: in the background, keeps the screenshot of the window titled TITLE as FILE as
# soon as it shows (a window that shows briefly, such as the copy-progress window of a small product), SECONDS
# at most (default 120); sets e2e_catch_pid. FILE.id holds the window's id once it was seen; FILE is missing
# when it closed before its screenshot was taken.
e2e_catch() {
    local title=$1 file=$2 seconds=${3:-120}
    rm -f "$file" "$file.id"
    (
        end=$((SECONDS + seconds))
        while [ $SECONDS -lt $end ]; do
            id=$(timeout -k 1 5 xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n 1)
            if [ -n "$id" ]; then
                [ -s "$file.id" ] || echo "$id" >"$file.id"
                timeout -k 2 20 import -window "$id" "$file" 2>/dev/null && exit 0
            fi
            sleep 0.02
        done
        exit 1
    ) &
    e2e_catch_pid=$!
}

# e2e_page TITLE [TEXT...]: waits for the page titled TITLE, checks that each TEXT is the text of one of its
# controls (or the start of a longer one), keeps its screenshot as NN-TITLE.png and sets e2e_id to its window.
# Without TEXTs the page is known by its title alone (no other Windows program is started).
e2e_id=""
e2e_page() {
    local title=$1 texts missing="" text _
    shift
    e2e_id=$(sw_page_wait "$title" 300) || { fail "page \"$title\" did not come"; return 1; }
    for _ in 1 2 3 4 5; do
        [ $# -eq 0 ] && break
        texts=$(e2e_texts "$title")
        missing=""
        for text in "$@"; do
            grep -q -F -- "	$text" <<<"$texts" || missing+=" [$text]"
        done
        [ -z "$missing" ] && break
        sleep 1
    done
    e2e_shot_count=$((e2e_shot_count + 1))
    local file
    file=$(printf '%s/%02d-%s.png' "$e2e_shots" "$e2e_shot_count" "$(tr -c 'A-Za-z0-9\n' - <<<"$title")")
    sw_page_shot "$e2e_id" "$file"
    if [ -n "$missing" ]; then
        fail "page \"$title\": no control shows$missing"
        printf '%s\n' "$texts" | sed 's/^/     /'
        return 1
    fi
    ok "page \"$title\" ($# texts)"
}

# e2e_walk_defaults: walks the demo's wizard from the language page through the program folder page with the
# default choices, each page recognised and kept; the copy starts after it. Fails when a page does not come.
e2e_walk_defaults() {
    e2e_page 'Select a language' 'Next >' 'Cancel' || return 1
    sw_page_click "$e2e_id" $SW_NEXT_BTN
    e2e_page 'Welcome' 'Next >' '< Previous' 'Cancel' || return 1
    sw_page_keys "$e2e_id" Return
    # Enter does not accept the licence: Next is clicked.
    e2e_page 'Software license agreement' 'SETWRIGHT DEMO LICENSE AGREEMENT' || return 1
    sw_page_click "$e2e_id" $SW_NEXT_BTN
    e2e_page 'Readme information' 'Setwright Demo 1.0' || return 1
    sw_page_keys "$e2e_id" Return
    e2e_page 'Select components to install' '&Browse...' || return 1
    sw_page_keys "$e2e_id" Return
    e2e_page 'Select folder in start menu' 'E&xisting Folders' || return 1
    sw_page_keys "$e2e_id" Return
}

# e2e_box TEXT KEY [COMMAND...]: waits for the next message box of the setup program; checks its text, keeps a
# screenshot, runs COMMAND (what a user does before answering, such as changing the disk) and answers it with
# KEY (Return, Escape, y, n, ...); e2e_answered is the time of the answer (seconds since 1970).
e2e_boxes_seen=0
e2e_answered=""
e2e_box() {
    local expected=$1 key=$2 texts _
    shift 2
    for _ in $(seq 1 240); do
        mapfile -t texts < <(sw_wine_box_texts "$e2e_setup_trace")
        [ ${#texts[@]} -gt $e2e_boxes_seen ] && break
        sleep 0.5
    done
    if [ ${#texts[@]} -le $e2e_boxes_seen ]; then
        fail "no message box \"$expected\""
        return 1
    fi
    local text=${texts[e2e_boxes_seen]}
    e2e_boxes_seen=$((e2e_boxes_seen + 1))
    sleep 1
    e2e_shot_count=$((e2e_shot_count + 1))
    timeout -k 2 20 import -window root "$(printf '%s/%02d-box.png' "$e2e_shots" "$e2e_shot_count")" 2>/dev/null
    [ $# -eq 0 ] || "$@"
    xdotool key --clearmodifiers "$key" 2>/dev/null
    e2e_answered=$(date +%s.%N)
    check "message box \"$expected\"" sw_box_text_is "$text" "$expected"
}

# e2e_state FILE: the prefix's files (without Wine's own logs and temporary files, WinInet's cookies and cache,
# the downloads and the distribution) and the values under the product's registry keys, e2e_keys.
e2e_keys=('HKLM\Software\Setwright Samples' 'HKCU\Software\Setwright Samples'
    "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$e2e_product"
    'HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce')
e2e_state() {
    {
        (cd "$e2e_drive" && find . -path ./windows/temp -prune -o -path './users/*/Temp' -prune -o -type f -print) |
            grep -v -i -E '^\./windows/(inf|logs)/|\.log$|^\./Downloads/|/Microsoft/Windows/INet(Cookies|Cache)/' |
            sort
        local key
        for key in "${e2e_keys[@]}"; do
            echo "[$key]"
            sw_wine_run 60 wine reg query "$key" /s 2>/dev/null | tr -d '\r' | sed -n '/[^[:space:]]/p'
        done
        echo '[SharedDLLs]'
        sw_wine_run 60 wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs' 2>/dev/null |
            tr -d '\r' | grep -i 'SwDemoLib'
    } >"$1"
    true
}

# e2e_same NAME BEFORE AFTER: passes when the two states are the same; shows what differs otherwise.
e2e_same() {
    if diff "$2" "$3" >"$e2e_tmp/diff"; then
        ok "$1"
    else
        fail "$1 (< before, > after):"
        grep '^[<>]' "$e2e_tmp/diff" | head -n 40 | sed 's/^/     /'
    fi
}

# e2e_added BEFORE AFTER: the files the install added, relative to C:, with the user's name as USER.
e2e_added() {
    comm -13 <(grep '^\./' "$1") <(grep '^\./' "$2") | sed -e 's/^\.//' -e 's|^/users/[^/]*/|/users/USER/|'
}

# e2e_uninstall: runs the uninstaller as the product's UninstallString says, silently.
e2e_uninstall() {
    local string program
    string=$(sw_wine_run 60 wine reg query \
        "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$e2e_product" /v UninstallString \
        2>/dev/null | tr -d '\r' | sed -n 's/^ *UninstallString *REG_SZ *//p')
    program=$(sed -n 's/^"\([^"]*\)".*/\1/p' <<<"$string")
    [ -n "$program" ] || { fail "the install left no UninstallString"; return 1; }
    sw_wine_run 300 wine "$program" /S "$e2e_product" >/dev/null 2>&1
    sleep 2
    timeout -k 5 60 wineserver -w
}

# e2e_defaults_installed_and_removed: after an install with the default choices, the files it added are those
# of expect/defaults.files, and the uninstaller leaves the prefix as it was in $e2e_tmp/before.
e2e_defaults_installed_and_removed() {
    e2e_state "$e2e_tmp/after"
    e2e_added "$e2e_tmp/before" "$e2e_tmp/after" >"$e2e_tmp/added"
    check "the files installed are those of the default choices" \
        diff "$e2e_root/tests/e2e/expect/defaults.files" "$e2e_tmp/added"
    e2e_uninstall
    e2e_state "$e2e_tmp/clean"
    e2e_same "the uninstaller leaves the prefix as before" "$e2e_tmp/before" "$e2e_tmp/clean"
}

# The control of the window titled TITLE that has the keyboard focus: "Class<TAB>text".
e2e_focused() {
    e2e_texts "$1" | sed -n 's/\tfocus$//p'
}

# e2e_tab_reaches TITLE COUNT WHAT...: presses Tab COUNT times in the page e2e_id; passes when each WHAT (a
# control's text, or "Class:" for a control of that window class) had the focus on the way, and Shift+Tab then
# gives the focus back to the control before.
e2e_tab_reaches() {
    local title=$1 count=$2 seen="" focus before="" last="" what missing="" _
    shift 2
    for _ in $(seq 1 "$count"); do
        sw_page_keys "$e2e_id" Tab
        focus=$(e2e_focused "$title")
        before=$last
        last=$focus
        seen+="$focus"$'\n'
    done
    for what in "$@"; do
        case $what in
            *:) grep -q "^${what%:}	" <<<"$seen" ;;
            *) grep -q -F "	$what" <<<"$seen" ;;
        esac || missing+=" [$what]"
    done
    if [ -n "$missing" ]; then
        fail "\"$title\": Tab does not reach$missing; it reached:"
        sed 's/^/     /' <<<"$seen"
    else
        ok "\"$title\": Tab reaches $*"
    fi
    sw_page_keys "$e2e_id" shift+Tab
    focus=$(e2e_focused "$title")
    if [ "$focus" = "$before" ]; then
        ok "\"$title\": Shift+Tab goes back"
    else
        fail "\"$title\": Shift+Tab goes to [$focus], not back to [$before]"
    fi
}

# e2e_focus_to TITLE WHAT: presses Tab until the control showing WHAT (or, for "Class:", a control of that
# window class) has the focus (ten times at most).
e2e_focus_to() {
    local _ focus
    for _ in $(seq 1 10); do
        focus=$(e2e_focused "$1")
        case $2 in
            *:) grep -q "^${2%:}	" <<<"$focus" ;;
            *) grep -q -F "	$2" <<<"$focus" ;;
        esac && return 0
        sw_page_keys "$e2e_id" Tab
    done
    fail "\"$1\": Tab never reaches [$2]"
    return 1
}

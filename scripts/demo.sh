#!/usr/bin/env bash
# Builds the demo product's setup program and runs it under Wine on a virtual display, in a throwaway
# Wine prefix, then shows what it installed. Screenshots of every page go to build/win32/demo/.
set -uo pipefail

cd "$(dirname "$0")/.." || exit 1
root=$PWD
native_dir="$root/build/native"
win32_dir="$root/build/win32"
setup="$win32_dir/examples/demo/setup.exe"
shots="$win32_dir/demo"

step() {
    echo "==== $* ===="
}

fail() {
    echo "demo: $*" >&2
    exit 1
}

step "prerequisites"
bash scripts/install-prereqs.sh || fail "installing the prerequisites failed"

# The win32 build compiles its text forms with the native formtext.
step "native build"
cmake --preset native >/dev/null && cmake --build --preset native --target formtext >/dev/null ||
    fail "the native build failed (cmake --build --preset native shows why)"
step "win32 build"
source scripts/build-dir.sh
sw_fresh_build_dir "$win32_dir"
cmake --preset win32 -DSW_FORMTEXT="$native_dir/tools/formtext/formtext" >/dev/null &&
    cmake --build --preset win32 --target setup >/dev/null ||
    fail "the win32 build of the setup program failed (cmake --build --preset win32 --target setup shows why)"
[ -f "$setup" ] || fail "$setup was not built"

step "Wine prefix"
source scripts/wine-env.sh
wine_path=$(sw_wine_path) || fail "32-bit Linux programs do not run here, not even through qemu-i386"
echo "Wine path: $wine_path"
sw_wine_init || fail "Wine did not start"
drive_c="$WINEPREFIX/drive_c"
find "$drive_c" -type f | sort >"$SW_WINE_TMP/files.before"
rm -rf "$shots"
mkdir -p "$shots"

# ---- run step: how the demo is driven ----
# Starts the setup program, then, page by page, takes a screenshot, says which window is on top and what any
# message box reads (Wine's msgbox trace), and presses Enter there, until the program ends or 20 pages or
# 5 minutes have passed. A program still waiting on its main form after the last box is stopped.
step "running setup.exe"
trace="$SW_WINE_TMP/setup.trace"
: >"$trace"
WINEDEBUG=trace+msgbox sw_wine_run 300 wine "$setup" >"$trace" 2>&1 &
setup_pid=$!
sleep 5
page=0
boxes_seen=0
last_box=""
while kill -0 "$setup_pid" 2>/dev/null && [ $page -lt 20 ]; do
    page=$((page + 1))
    import -window root "$shots/page-$(printf %02d $page).png" 2>/dev/null
    mapfile -t boxes < <(tr -d '\r' <"$trace" | sed -n 's/^.*trace:msgbox:MSGBOX_OnInit L"\(.*\)"$/\1/p')
    window=$(xdotool search --onlyvisible --name '.+' 2>/dev/null | tail -n 1)
    name=$([ -n "$window" ] && xdotool getwindowname "$window" 2>/dev/null)
    if [ ${#boxes[@]} -gt $boxes_seen ]; then
        last_box=${boxes[-1]}
        boxes_seen=${#boxes[@]}
        echo "page $page: message box \"$last_box\" in \"$name\": Enter"
        xdotool windowfocus --sync "$window" key --clearmodifiers Return 2>/dev/null
    elif [ -n "$window" ] && [ -n "$last_box" ]; then
        echo "page $page: \"$name\" waits with nothing more to do"
        break
    elif [ -n "$window" ]; then
        echo "page $page: \"$name\": Enter"
        xdotool windowfocus --sync "$window" key --clearmodifiers Return 2>/dev/null
    else
        echo "page $page: no window"
    fi
    sleep 3
done
stopped=
if kill -0 "$setup_pid" 2>/dev/null; then
    echo "stopping setup.exe"
    timeout -k 5 30 wineserver -k
    stopped=1
fi
wait "$setup_pid"
rc=$?
[ -z "$stopped" ] && echo "setup.exe exited with code $rc"
# ---- end of run step ----

step "what it did"
find "$drive_c" -type f | sort >"$SW_WINE_TMP/files.after"
echo "files written:"
comm -13 "$SW_WINE_TMP/files.before" "$SW_WINE_TMP/files.after" | grep -v -i -E '/temp/|/windows/inf/|\.log$' |
    sed "s|^$drive_c|  C:|" | head -n 100
echo "uninstall entries:"
sw_wine_run 60 wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
    tr -d '\r' | sed -n '/[^[:space:]]/s/^/  /p' | head -n 60
echo "screenshots: $shots"
[ $rc -eq 0 ]

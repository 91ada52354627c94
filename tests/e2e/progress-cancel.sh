#!/usr/bin/env bash
# The copy-progress window under Wine, as a user sees it. A product of one large file (its install slowed to the
# pace of a slow disk by the project's handler), a small one and the uninstaller is built into a distribution
# with the Linux build command and installed from the distribution's setup.exe:
#   1. the progress window shows while the large file is extracted: two screenshots 0.7 s apart, its texts
#      ("Processing", the file's name, the two bar labels), its picture (not a flat area) and both bars
#      moving between the two shots; the install ends with "Setup complete" and every file in place;
#   2. Cancel clicked in the window (xdotool) while the large file comes: the project's OnUserAbort asks
#      "Do you want to cancel the installation?"; No lets the copying go on, the window still open; Cancel
#      again, and Yes is answered: the install stops at once
#      ("Setup incomplete", exit code 3, within a second of the answer), leaving no file of the product, no
#      uninstall key and no install record.
#
#   tests/wine/progress.sh BUILD_DIR      (run by scripts/test.sh inside a throwaway prefix)
set -uo pipefail

build=$(cd "${1:?build directory}" && pwd) || exit 1
here=$(cd "$(dirname "$0")/../.." && pwd)
program="$build/tests/progress_setup.exe"
uninstaller="$build/src/app/uninstall.exe"
loader_dir="$build/src/app/loader"
buildsetup="$(dirname "$build")/native/tools/buildsetup/buildsetup"
pagetext="$build/tests/pagetext.exe"
shots="$build/e2e/progress"
mkdir -p "$shots"
# The large file: compressible text, so the distribution stays small; the project's OnStatus handler makes each
# 64 KiB step of the install take 8 ms more (a slow disk), so the window shows for about three seconds.
large_mb=${SW_PROGRESS_LARGE_MB:-24}

source "$here/tests/wine/checks.sh"

for f in "$program" "$uninstaller" "$loader_dir/PellmoorLoadProgram.exe" "$pagetext" "$buildsetup"; do
    [ -f "$f" ] || { fail prerequisites "no $f"; checks_end; }
done

source "$here/scripts/wine-env.sh" && sw_wine_init || exit 1
work=$(mktemp -d "${TMPDIR:-/tmp}/sw-progress.XXXXXX") || exit 1
cleanup() {
    rm -rf "$work"
    sw_wine_cleanup
}
trap cleanup EXIT
drive_c="$WINEPREFIX/drive_c"

mkdir -p "$work/product" "$work/program"
python3 - "$work/product/large.bin" "$large_mb" <<'EOF'
import random, sys
words = ["setup", "archive", "volume", "progress", "window", "cancel", "install", "folder", "record", "disk"]
rng = random.Random(25)
line = lambda: " ".join(rng.choice(words) for _ in range(12)) + "\r\n"
block = "".join(line() for _ in range(4000)).encode()
with open(sys.argv[1], "wb") as f:
    left = int(sys.argv[2]) << 20
    while left > 0:
        f.write(block[:left])
        left -= len(block)
EOF
head -c 300000 /dev/urandom >"$work/product/second.bin"
cp "$uninstaller" "$work/product/uninstall.exe"
# The distribution, as an author builds it on Linux: BUILD.INF beside the program names the build folder.
cp -p "$program" "$work/program/setup.exe"
printf 'Z:%s\r\n' "${work//\//\\}\\dist" >"$work/program/BUILD.INF"
(cd "$work" && "$buildsetup" --tool-dir "$loader_dir" program/setup.exe) >"$shots/build.log" 2>&1
if [ ! -f "$work/dist/setup.exe" ]; then
    fail build-the-distribution "$(tr -d '\r' <"$shots/build.log" | tail -n 20)"
    checks_end
fi
mkdir -p "$drive_c/dist"
cp "$work/dist/setup.exe" "$drive_c/dist/setup.exe"
rm -rf "$work/dist"

progress_title="Copying installation files"
installed="$drive_c/Program Files/Progress Test"
texts() { timeout -k 5 30 wine "$pagetext" "$1" 2>/dev/null | tr -d '\r'; }
# The window's client area starts 3,22 into its screenshot (Wine's dialog frame and caption bar).
crop() { convert "$1" -crop "$2" +repage "$3" 2>/dev/null; }
mean() { convert "$1" -colorspace Gray -format '%[fx:mean]' info: 2>/dev/null; }
spread() { convert "$1" -colorspace Gray -format '%[fx:standard_deviation]' info: 2>/dev/null; }
product_files() { find "$installed" -type f 2>/dev/null; }
key_there() { sw_wine_run 60 wine reg query "$1" >/dev/null 2>&1; }

# start NAME: runs C:\dist\setup.exe with the message-box trace into $shots/NAME.log; sets $pid, $log.
start() {
    log="$shots/$1.log"
    : >"$log"
    (cd "$drive_c/dist" && WINEDEBUG=trace+msgbox sw_wine_run 600 wine 'C:\dist\setup.exe') >"$log" 2>&1 &
    pid=$!
}
# finish_page TITLE: presses Enter (Finish) on the finish page of that title; fails when it does not show.
finish_page() {
    local window
    window=$(sw_window_wait "$1" 120) || return 1
    sw_window_shot "$window" "$shots" "$(tr ' ' '-' <<<"$1")"
    sw_window_keys "$window" Return
}

# 1. The whole install, with the window shown while it copies.
start install
if window=$(sw_window_wait "$progress_title" 120); then
    sw_window_shot "$window" "$shots" mid-copy-1
    progress_texts=$(texts "$progress_title")
    sleep 0.7
    sw_window_shot "$window" "$shots" mid-copy-2
else
    progress_texts=""
fi
finish_page "Setup complete" || fail setup-complete-shows "no Setup complete page"
wait "$pid"
code=$?
timeout -k 5 60 wineserver -w
boxes=$(sw_wine_box_texts "$log")

if grep -q $'^Static\tProcessing$' <<<"$progress_texts" && grep -q $'^Static\tlarge.bin$' <<<"$progress_texts" &&
    grep -q $'^Static\tFile progress$' <<<"$progress_texts" && grep -q $'^Static\tTotal progress$' <<<"$progress_texts" &&
    grep -q $'^Button\tCancel' <<<"$progress_texts"; then
    ok the-progress-window-shows-its-texts-while-copying
else
    fail the-progress-window-shows-its-texts-while-copying "texts [${progress_texts//$'\n'/ | }]"
fi
# The picture (client 8,8, 48 x 48) is drawn; both bars (client 160,59 and 160,87, 198 x 17) fill between the
# two screenshots.
one="$shots/mid-copy-1.png" two="$shots/mid-copy-2.png"
if [ -f "$one" ] && [ -f "$two" ]; then
    crop "$two" 48x48+11+30 "$work/picture.png"
    crop "$one" 198x17+163+81 "$work/file-1.png"
    crop "$two" 198x17+163+81 "$work/file-2.png"
    crop "$one" 198x17+163+109 "$work/total-1.png"
    crop "$two" 198x17+163+109 "$work/total-2.png"
    picture=$(spread "$work/picture.png")
    file1=$(mean "$work/file-1.png") file2=$(mean "$work/file-2.png")
    total1=$(mean "$work/total-1.png") total2=$(mean "$work/total-2.png")
    if awk -v p="$picture" 'BEGIN { exit !(p > 0.05) }'; then
        ok the-progress-window-paints-its-picture
    else
        fail the-progress-window-paints-its-picture "grey spread $picture"
    fi
    if awk -v a="$file1" -v b="$file2" -v c="$total1" -v d="$total2" 'BEGIN { exit !(a != b && c != d) }'; then
        ok both-bars-move-while-copying
    else
        fail both-bars-move-while-copying "file bar $file1 -> $file2, total bar $total1 -> $total2"
    fi
else
    fail the-progress-window-shows-while-copying "no screenshots"
fi
if [ "$code" -eq 0 ] && [ -z "$boxes" ] && cmp -s "$installed/large.bin" "$work/product/large.bin" &&
    cmp -s "$installed/second.bin" "$work/product/second.bin"; then
    ok the-install-ends-well-with-every-file
else
    fail the-install-ends-well-with-every-file "exit code $code, boxes [$boxes], installed: $(product_files | tr '\n' ' ')"
fi

# 2. Cancel while the large file comes: declined, then confirmed.
rm -rf "$installed"
sw_wine_run 60 wine reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Progress Test' /f \
    >/dev/null 2>&1
start cancel
answered="" stopped="" declined=""
question="Do you want to cancel the installation?"
# boxes_after N: waits until the run has shown more than N message boxes.
boxes_after() {
    for _ in $(seq 1 120); do
        [ "$(sw_wine_box_texts "$log" | wc -l)" -gt "$1" ] && return 0
        sleep 0.25
    done
    return 1
}
if window=$(sw_window_wait "$progress_title" 120); then
    sw_window_click "$window" 418 24
    if boxes_after 0; then
        sleep 0.5
        xdotool key --clearmodifiers n 2>/dev/null
        sleep 0.5
        xdotool search --onlyvisible --name "^${progress_title}\$" >/dev/null 2>&1 && declined=1
        sw_window_click "$window" 418 24
        boxes_after 1
    fi
    if [ "$(sw_wine_box_texts "$log")" = "$question"$'\n'"$question" ]; then
        sleep 0.5
        import -window root "$shots/cancel-confirmation.png" 2>/dev/null
        xdotool key --clearmodifiers Return 2>/dev/null
        answered=$(date +%s.%N)
        if bad=$(sw_window_wait "Setup incomplete" 60); then
            stopped=$(date +%s.%N)
            sw_window_shot "$bad" "$shots" Setup-incomplete
            sw_window_keys "$bad" Return
        fi
    fi
fi
wait "$pid"
code=$?
timeout -k 5 60 wineserver -w
boxes=$(sw_wine_box_texts "$log")
took=$([ -n "$stopped" ] && awk -v a="$answered" -v b="$stopped" 'BEGIN { printf "%.2f", b - a }')
if [ -n "$declined" ]; then
    ok no-to-the-question-lets-the-copying-go-on
else
    fail no-to-the-question-lets-the-copying-go-on "the progress window closed after No"
fi
if [ "$boxes" = "$question"$'\n'"$question" ] && [ -n "$stopped" ] && [ "$code" -eq 3 ] &&
    awk -v t="$took" 'BEGIN { exit !(t < 1.0) }'; then
    ok "cancel-confirmed-stops-the-install-as-a-user-abort (Setup incomplete ${took} s after the answer)"
else
    fail cancel-confirmed-stops-the-install-as-a-user-abort "exit code $code, boxes [$boxes], stopped after [${took}] s"
fi
if [ -z "$(product_files)" ] &&
    ! key_there 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Progress Test' &&
    ! key_there 'HKLM\SOFTWARE\Pellmoor\Install\Install0'; then
    ok the-cancelled-install-leaves-no-file-no-uninstall-key-no-record
else
    fail the-cancelled-install-leaves-no-file-no-uninstall-key-no-record "files: $(product_files | tr '\n' ' ')"
fi

checks_end

# Sourced by bench/wine-corpus.sh once the silent install has been timed, in a warm Wine: the install with the
# copy-progress window (C:\Downloads\progress\setup.exe) against the silent one (C:\Downloads\setup.exe), and
# its Cancel. Uses wine-corpus.sh's timed, report, wine_settle and its $installed, $count, $work, $pairs.
#   progress_cost     alternating runs, $pairs of each: the medians and the ratio (target <= 1.10)
#   progress_cancel   Cancel clicked mid-copy, the question answered Yes: the time from the answer to the
#                     setup's end (target <= 1 s), and what is left of the product. A user abort keeps the files
#                     already copied, each recorded in the uninstall key so that the uninstaller takes them
#                     away; none may be half-written and the install record must be gone.

uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Corpus'

# no_product: the product's folder and uninstall key are taken away, as on a machine without it.
no_product() {
    rm -rf "$installed"
    sw_wine_run 60 wine reg delete "$uninstall_key" /f >/dev/null 2>&1 || true
    wine_settle
}
# all_installed WHAT: every file of the corpus is installed as it is.
all_installed() {
    local f differ=0
    for f in "$work/corpus"/*; do
        cmp -s "$f" "$installed/$(basename "$f")" || differ=$((differ + 1))
    done
    [ "$differ" -eq 0 ] && return
    echo "installed files, $1: $differ of $count FAILED cmp against the corpus"
    failed=1
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }

# one_run NAME SETUP: one install onto a machine without the product, with the marks of its phases; adds its
# time to $times and its span and profile to $spans.
one_run() {
    local rc=0
    no_product
    rm -f "$work/$1.profile"
    export SW_PHASE_PROFILE="Z:${work//\//\\}\\$1.profile"
    timed "$1" wine "$2" || rc=$?
    unset SW_PHASE_PROFILE
    report "$1" "$rc"
    all_installed "$1"
    times+=("$seconds")
    spans+=("$run_start:$run_end:$work/$1.profile")
}

progress_cost() {
    local run silent=() shown=() silent_spans=() shown_spans=() times spans
    for run in $(seq 1 "$pairs"); do
        times=() spans=()
        one_run "silent-$run-of-$pairs" 'C:\Downloads\setup.exe'
        one_run "progress-window-$run-of-$pairs" 'C:\Downloads\progress\setup.exe'
        silent+=("${times[0]}") shown+=("${times[1]}")
        silent_spans+=("${spans[0]}") shown_spans+=("${spans[1]}")
    done
    echo "silent install, warm Wine, alternating runs:"
    python3 bench/phase-profile.py "${silent_spans[@]}" || failed=1
    echo "with the progress window, warm Wine, alternating runs:"
    python3 bench/phase-profile.py "${shown_spans[@]}" || failed=1
    local a b
    a=$(printf '%s\n' "${silent[@]}" | median)
    b=$(printf '%s\n' "${shown[@]}" | median)
    printf "%-48s %8.2f s   (runs: %s)\n" "silent install, median of $pairs:" "$a" "${silent[*]}"
    printf "%-48s %8.2f s   (runs: %s)\n" "with the progress window, median of $pairs:" "$b" "${shown[*]}"
    awk -v a="$a" -v b="$b" 'BEGIN { printf "%-48s %8.3f     (target <= 1.10)\n", "with the progress window / silent:", b / a }'
}

# product_left: what the cancelled install left of the product, one a line: files that differ from the corpus
# (half-written), a list of files in the uninstall key that does not name every file left, an install record.
product_left() {
    local files entries f differ=0
    files=$(find "$installed" -type f 2>/dev/null | wc -l)
    for f in "$installed"/*; do
        [ -f "$f" ] || continue
        cmp -s "$f" "$work/corpus/$(basename "$f")" || differ=$((differ + 1))
    done
    [ "$differ" -eq 0 ] || echo "$differ of the $files files in C:\Program Files\Corpus differ from the corpus"
    entries=0
    if sw_wine_run 60 wine reg query "$uninstall_key" >/dev/null 2>&1; then
        entries=$(sw_wine_run 60 wine reg query "$uninstall_key\Files" /v Entries 2>/dev/null | tr -d '\r' |
            sed -n 's/^ *Entries *REG_SZ *//p')
    fi
    [ "${entries:-0}" -eq "$files" ] ||
        echo "the uninstall key's list names ${entries:-no} files, $files are left"
    sw_wine_run 60 wine reg query 'HKLM\Software\Pellmoor\Install' /s 2>/dev/null | tr -d '\r' |
        grep -i -E '\\Install[0-9]+$' | sed 's/^/the install record /'
    echo "$files" >"$work/cancel.files"
    true
}

progress_cancel() {
    local trace="$work/cancel.trace" title='Copying installation files' window pid rc=0 at_click text answered
    local question='Do you want to cancel the installation?' end _
    no_product
    rm -f "$trace.end"
    : >"$trace"
    {
        rc=0
        WINEDEBUG=trace+msgbox sw_wine_run "$limit" wine 'C:\Downloads\progress\setup.exe' || rc=$?
        date +%s.%N >"$trace.end"
        exit $rc
    } >"$trace" 2>&1 &
    pid=$!
    if ! window=$(sw_window_wait "$title" 120); then
        echo "cancel mid-copy: FAILED: no progress window"
        failed=1
        wait "$pid" || true
        return
    fi
    # Mid-copy: a tenth of the files in place (one at least).
    for _ in $(seq 1 2000); do
        [ "$(find "$installed" -type f 2>/dev/null | wc -l)" -ge $((count / 10 + 1)) ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.02
    done
    at_click=$(find "$installed" -type f 2>/dev/null | wc -l)
    if ! sw_window_click "$window" 418 24 2>/dev/null; then
        echo "cancel mid-copy: FAILED: the progress window closed before Cancel ($at_click of $count files in place)"
        failed=1
        wait "$pid" || true
        wine_settle
        return
    fi
    text=$(sw_wine_box_text "$trace" "$pid")
    if [ "$text" != "$question" ]; then
        echo "cancel mid-copy: FAILED: no question after Cancel (box [$text]), $at_click of $count files in place"
        failed=1
        wait "$pid" || true
        wine_settle
        return
    fi
    sleep 0.5 # the box is drawn and has the focus
    xdotool key --clearmodifiers Return 2>/dev/null
    answered=$(date +%s.%N)
    wait "$pid" || rc=$?
    end=$(cat "$trace.end")
    wine_settle
    local took left
    took=$(awk -v a="$answered" -v b="$end" 'BEGIN { printf "%.2f", b - a }')
    left=$(product_left)
    echo "cancel mid-copy: Cancel clicked with $at_click of $count files in place; Yes answered"
    printf "%-48s %8s s   (target <= 1.0 s; exit code %d)\n" "cancel: from the answer to the setup's end:" "$took" "$rc"
    if [ "$rc" -ne 3 ] || [ "$(sw_wine_box_texts "$trace" | wc -l)" -ne 1 ]; then
        echo "cancel: FAILED: exit code $rc (a user abort is 3), boxes [$(sw_wine_box_texts "$trace" | tr '\n' ' ')]"
        failed=1
    fi
    if [ -z "$left" ]; then
        echo "cancel: left of the product: $(cat "$work/cancel.files") whole files, each in the uninstall key's list; no install record"
    else
        echo "cancel: FAILED: left of the product:"
        sed 's/^/    /' <<<"$left"
        failed=1
    fi
}

#!/usr/bin/env bash
# The corpus under Wine, timed: the corpus as a project (text form) built into a real Windows setup program,
# "setup.exe -b" building its distribution, and the install of that distribution three times (the project
# has no wizard pages: the install runs without a window to answer, silently), with the median and where its
# time goes, phase by phase (bench/phase-profile.py). The installed files must equal the corpus byte for
# byte, no temporary folder or file may stay; any message box fails the run. Then the install with the
# copy-progress window shown (the same project with a dmDuringCopyFiles manager and ConfirmAbort as its
# OnUserAbort, its distribution built with the Linux build command): alternating runs of it and of the silent
# install, their medians and how much slower it is (bench/wine-progress.sh); and its Cancel clicked mid-copy,
# the question answered Yes: the time from the answer to the setup's end, and that no half-written file and no
# install record is left (the files already copied stay, each listed in the uninstall key). Then the longest wait of the GUI while the largest file is extracted
# (bench/PumpGaps.cpp under Wine), and the sizes of the loading program, the setup program and the
# distribution's setup.exe.
#   bash bench/wine-corpus.sh NATIVE_BENCH_BUILD CORPUS WORK_DIR [--every K] [--timeout SECONDS] [--runs N]
#     --every K        take every K-th file of the corpus (by name) instead of all of it: Wine is slow where
#                      it runs through qemu-i386 (default 1, the whole corpus)
#     --timeout S      seconds each of the two timed runs may take (default 3600)
#     --runs N         alternating runs of each install, silent and with the progress window (default 9: with
#                      five, the ratio of their medians moved by 0.07 between runs on a shared machine)
# Run by bench/run.sh; it says why and stops with success when Wine cannot run here.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
native=$(cd "${1:?native bench build}" && pwd) corpus=$(cd "${2:?corpus}" && pwd) work=${3:?work folder}
shift 3
every=1
limit=3600
pairs=9
while [ $# -gt 0 ]; do
    case $1 in
        --every) every=${2:?--every needs a number} ;;
        --timeout) limit=${2:?--timeout needs seconds} ;;
        --runs) pairs=${2:?--runs needs a number} ;;
        *)
            echo "wine-corpus: unknown option $1 (--every K, --timeout SECONDS, --runs N)" >&2
            exit 2
            ;;
    esac
    shift 2
done
if ! [[ $every =~ ^[1-9][0-9]*$ && $limit =~ ^[1-9][0-9]*$ && $pairs =~ ^[1-9][0-9]*$ ]]; then
    echo "wine-corpus: --every, --timeout and --runs take whole numbers above 0" >&2
    exit 2
fi

echo
source scripts/wine-path.sh
if ! wine_path=$(sw_wine_path); then
    echo "Wine part skipped: 32-bit Linux programs do not run here, not even through qemu-i386"
    exit 0
fi
if ! command -v i686-w64-mingw32-g++ >/dev/null; then
    echo "Wine part skipped: no i686-w64-mingw32 cross compiler (scripts/install-prereqs.sh installs it)"
    exit 0
fi

rm -rf "$work"
mkdir -p "$work/corpus" "$work/program"
work=$(cd "$work" && pwd)
mapfile -t all < <(find "$corpus" -maxdepth 1 -type f | sort)
for ((i = 0; i < ${#all[@]}; i += every)); do
    ln -s "${all[i]}" "$work/corpus/"
done
count=$(find "$work/corpus" -maxdepth 1 -type l | wc -l)
corpus_mb=$(du -sbL "$work/corpus" | awk '{ printf "%.1f", $1 / 1e6 }')
bash bench/corpus-project.sh "$work/corpus" >"$work/project.txt"
bash bench/corpus-project.sh "$work/corpus" --progress >"$work/project-progress.txt"

# The setup program of the project, cross-built against the library as an author builds theirs.
build="$root/build/bench-win32"
source scripts/build-dir.sh
sw_fresh_build_dir "$build"
# -DSW_WERROR=ON as in the test build (scripts/test.sh): the same compiler flags, so ccache shares its objects.
if ! { cmake --preset win32 -B "$build" -DSW_WERROR=ON -DSW_BENCH=ON -DSW_BENCH_PROJECT="$work/project.txt" \
    -DSW_BENCH_PROGRESS_PROJECT="$work/project-progress.txt" -DSW_FORMTEXT="$native/tools/formtext/formtext" &&
    cmake --build "$build" --target bench_setup bench_setup_progress pump_gaps keep_desktop PellmoorLoadProgram -j2; } \
    >"$work/cross-build.log" 2>&1; then
    echo "Wine part FAILED: the cross build of the setup program failed ($work/cross-build.log)"
    tail -n 30 "$work/cross-build.log"
    exit 1
fi
loader_dir="$build/src/app/loader"
cp "$build/bench/bench_setup.exe" "$work/program/setup.exe"
mkdir -p "$work/program-progress"
cp "$build/bench/bench_setup_progress.exe" "$work/program-progress/setup.exe"

source scripts/wine-env.sh
sw_wine_init || { echo "Wine part FAILED: Wine did not start"; exit 1; }

# timed NAME COMMAND...: runs a Windows program to its end with the msgbox trace on, answering any box with
# Enter; sets $seconds, $run_start and $run_end (seconds since 1970) and $boxes (the texts of the boxes, one a
# line) and returns its exit code.
timed() {
    local name=$1 trace="$work/$1.trace" pid rc
    shift
    boxes=""
    rm -f "$trace.end"
    : >"$trace"
    run_start=$(date +%s.%N)
    # The end is taken when the program ends, not when the box watcher, which looks twice a second, sees it.
    {
        WINEDEBUG=trace+msgbox sw_wine_run "$limit" "$@"
        rc=$?
        date +%s.%N >"$trace.end"
        exit $rc
    } >"$trace" 2>&1 &
    pid=$!
    sw_wine_answer_boxes "$trace" "$pid" enter_box
    rc=0
    wait "$pid" || rc=$?
    run_end=$(cat "$trace.end" 2>/dev/null || date +%s.%N)
    seconds=$(awk -v a="$run_start" -v b="$run_end" 'BEGIN { printf "%.2f", b - a }')
    wine_settle
    return $rc
}
# wine_settle: waits until the programs a run started have ended. With a cold Wine (the default) the
# wineserver ends with them; with a warm one (warm=1: the wineserver and Wine's own services kept running, as a
# started Windows keeps its) until the cleanup batch, the last of them, has removed itself.
warm=0
wine_settle() {
    if [ "$warm" = 0 ]; then
        timeout -k 5 60 wineserver -w
        return
    fi
    local _
    for _ in $(seq 1 200); do
        [ -z "$(find "$WINEPREFIX/drive_c/users" -ipath '*/temp/*' -iname 'bat*' 2>/dev/null)" ] && break
        sleep 0.05
    done
    sleep 0.2
}
enter_box() {
    boxes+="$1"$'\n'
    xdotool key --clearmodifiers Return 2>/dev/null
}

failed=0
report() {
    local what=$1 rc=$2
    if [ "$rc" -eq 0 ] && [ -z "$boxes" ]; then
        printf "%-48s %8s s\n" "$what:" "$seconds"
    else
        printf "%-48s FAILED after %s s: exit code %d, boxes [%s]\n" "$what:" "$seconds" "$rc" "${boxes//$'\n'/ }"
        failed=1
    fi
}

sample=""
[ "$every" -gt 1 ] && sample=", every ${every}th file of the corpus"
echo "Wine part ($wine_path path): $count files, $corpus_mb MB$sample"
# The build: BUILD.INF beside the program names the build folder, the loading program is found through the
# library search path; the project names its files relative to the folder the build runs in.
printf 'Z:%s\r\n' "${work//\//\\}\\dist" >"$work/program/BUILD.INF"
sw_wine_run 60 wine reg add 'HKCU\Software\Setwright\Build' /v LibrarySearchPath /d "Z:${loader_dir//\//\\}" /f \
    >/dev/null 2>&1
rc=0
cd "$work"
timed build wine "Z:${work//\//\\}\\program\\setup.exe" -b || rc=$?
cd "$root"
report "setup.exe -b under Wine" "$rc"
[ -f "$work/dist/setup.exe" ] || { echo "Wine part FAILED: the build made no setup.exe"; exit 1; }

drive_c="$WINEPREFIX/drive_c"
installed="$drive_c/Program Files/Corpus"
mkdir -p "$drive_c/Downloads"
cp "$work/dist/setup.exe" "$drive_c/Downloads/setup.exe"
# install_runs WHAT: the silent install three times, each onto a machine without the product (no folder, no
# uninstall key), each with the marks of its phases (SW_PHASE_PROFILE, bench/phase-profile.py): the median and
# where its time goes.
install_runs() {
    local what=$1 run runs=() times=() differ left
    for run in 1 2 3; do
        rm -rf "$installed"
        sw_wine_run 60 wine reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Corpus' /f \
            >/dev/null 2>&1 || true
        wine_settle
        rm -f "$work/install-$what-$run.profile"
        export SW_PHASE_PROFILE="Z:${work//\//\\}\\install-$what-$run.profile"
        rc=0
        timed "install-$what-$run" wine 'C:\Downloads\setup.exe' || rc=$?
        unset SW_PHASE_PROFILE
        report "silent install under Wine, $what, run $run" "$rc"
        runs+=("$run_start:$run_end:$work/install-$what-$run.profile")
        times+=("$seconds")
        differ=0
        for f in "$work/corpus"/*; do
            cmp -s "$f" "$installed/$(basename "$f")" || differ=$((differ + 1))
        done
        if [ "$differ" -eq 0 ]; then
            echo "installed files: all $count equal the corpus (cmp)"
        else
            echo "installed files: $differ of $count FAILED cmp against the corpus"
            failed=1
        fi
        # The loading program's folder and the cleanup batch are gone once the run's programs have ended.
        left=$(find "$drive_c/users" -ipath '*/temp/*' \( -iname 'PLD*' -o -iname 'bat*' \) 2>/dev/null | head -n 3)
        if [ -n "$left" ]; then
            echo "temporary files left by the install: FAILED: ${left//$'\n'/ }"
            failed=1
        fi
    done
    seconds=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 2p)
    printf "%-48s %8s s\n" "silent install under Wine, $what, median of 3:" "$seconds"
    python3 bench/phase-profile.py "${runs[@]}" || failed=1
}
# The distribution with the copy-progress window, packed from the same files by the Linux build command.
printf 'Z:%s\r\n' "${work//\//\\}\\dist-progress" >"$work/program-progress/BUILD.INF"
if ! (cd "$work" && "$native/tools/buildsetup/buildsetup" --tool-dir "$loader_dir" program-progress/setup.exe) \
    >"$work/build-progress.log" 2>&1; then
    echo "Wine part FAILED: the distribution with the progress window does not build ($work/build-progress.log)"
    exit 1
fi
mkdir -p "$drive_c/Downloads/progress"
cp "$work/dist-progress/setup.exe" "$drive_c/Downloads/progress/setup.exe"

# Cold: each run starts Wine anew (its wineserver and services, about as long as the install on this machine).
install_runs "cold Wine"
# Warm: Wine already running, as Windows is when a user starts a setup; the figure of the target (<= 1.0 s).
# (Not under timeout, which would end the server with its process group; it returns at once.) Its desktop too:
# Wine would end it between runs that are more than a moment apart (bench/KeepDesktop.cpp); the wineserver's
# end below ends the keeper.
wineserver -p
sw_wine_run 60 wine cmd /c exit >/dev/null 2>&1
wine "$build/bench/keep_desktop.exe" >/dev/null 2>&1 &
sleep 2
warm=1
install_runs "warm Wine"
source bench/wine-progress.sh
progress_cost
progress_cancel
timeout -k 5 60 wineserver -k
warm=0
timeout -k 5 60 wineserver -w

# The longest wait of the GUI while the largest file of the corpus is extracted, under Wine.
sw_wine_run 600 wine "$build/bench/pump_gaps.exe" "Z:${work//\//\\}\\corpus" "Z:${work//\//\\}\\pump" 2>&1 |
    tr -d '\r' | sed 's/^/pump_gaps under Wine: /' || failed=1
rm -rf "$work/pump"

size() {
    local bytes
    bytes=$(stat -c %s "$2")
    printf "%-48s %9d bytes %8.1f KiB\n" "$1:" "$bytes" "$(awk -v b="$bytes" 'BEGIN { print b / 1024 }')"
}
size "loading program (PellmoorLoadProgram.exe)" "$loader_dir/PellmoorLoadProgram.exe"
size "setup program (the corpus project's)" "$work/program/setup.exe"
size "distribution setup.exe" "$work/dist/setup.exe"
exit "$failed"

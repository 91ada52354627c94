#!/usr/bin/env bash
# Runs the test tiers and ends with one line "N passed, N failed"; exits non-zero if anything failed.
#
#   bash scripts/test.sh                 every tier: native asan fuzz win32 e2e
#   bash scripts/test.sh native win32    only these tiers
#
# Environment:
#   SW_FUZZ_SECONDS    seconds per fuzz target (default 20)
#   SW_WINE_JOBS       Wine scripts and e2e paths run at once (default 2), each in its own prefix and display
#   SW_BUILD_PREFIX    build directory prefix (default "build/": build/native, build/win32, ...)
#   SW_WINE_PATH       "emulated": run 32-bit Wine through qemu-i386 even where the kernel runs 32-bit Linux
#                      programs itself (in a user namespace with a binfmt_misc of its own)
#
# The win32 tier says which path it took: "native" (the kernel runs 32-bit Wine) or "emulated" (qemu-i386
# runs it, on kernels that cannot: scripts/install-prereqs.sh registers it there).
#
# Counts are GoogleTest test cases plus scripted tests (tests/wine/*.sh: the "N passed, N failed" line a
# script ends with, else one test); a fuzz target run counts as one test, and a tier that does not build
# counts as one failure.
set -uo pipefail

cd "$(dirname "$0")/.." || exit 1
root=$PWD
prefix=${SW_BUILD_PREFIX:-build/}
[[ $prefix == /* ]] || prefix="$root/$prefix"
fuzz_seconds=${SW_FUZZ_SECONDS:-20}
jobs=2
wine_jobs=${SW_WINE_JOBS:-$jobs}

passed=0
failed=0
native_built=
asan_built=
win32_built=
distributions_built=
start_time=${SW_TEST_START:-$(date +%s)}

header() {
    echo
    echo "==== $* ===="
}

note_pass() { passed=$((passed + ${1:-1})); }
note_fail() { failed=$((failed + ${1:-1})); }

# gtest_counts LOG: prints "passed failed" from the GoogleTest summaries in LOG. A program whose output
# has no summary (it crashed or hung) or that failed without a failing case counts one failure; ctest -V
# output is told apart per test by its "N: " line prefix, plain output is one program.
gtest_counts() {
    awk '
        { sub(/\r$/, "") }
        match($0, /^[0-9]+: /) { id = substr($0, 1, RLENGTH - 2); $0 = substr($0, RLENGTH + 1) }
        !RSTART { id = "0" }
        /^\[==========\] [0-9]+ tests? from .* ran\./ { ids[id] = 1; ran[id] += $2 }
        /^\[  PASSED  \] [0-9]+ tests?\./ { ok[id] += $4 }
        /^\[  SKIPPED \] [0-9]+ tests?\./ { skip[id] += $4 }
        /^ *[0-9]+\/[0-9]+ Test +#[0-9]+: / {
            n = $3; sub(/^#/, "", n); sub(/:$/, "", n); ids[n] = 1
            if ($0 !~ / Passed +[0-9.]+ sec$/) bad[n] = 1
        }
        END {
            p = 0; f = 0
            for (i in ids) {
                if (!(i in ran)) {
                    # Not a GoogleTest program, or one that died before its summary.
                    if (bad[i]) f++; else p++
                    continue
                }
                fi = ran[i] - ok[i] - skip[i]
                if (bad[i] && fi == 0) fi = 1
                p += ok[i]; f += fi
            }
            print p, f
        }' "$1"
}

# add_counts LOG [EXTRA_FAILURE]: adds the counts of LOG to the totals and says what they were.
add_counts() {
    local counts p f
    counts=$(gtest_counts "$1")
    p=${counts% *}
    f=${counts#* }
    [ "${2:-0}" -ne 0 ] && [ "$f" -eq 0 ] && f=1
    note_pass "$p"
    note_fail "$f"
    echo "-- $p passed, $f failed"
}

# build TIER DIR CONFIGURE_ARGS...: configures and builds DIR, printing the log only on failure.
build() {
    local tier=$1 dir=$2
    shift 2
    local log="$dir.build.log" t0=$SECONDS
    mkdir -p "$(dirname "$dir")"
    sw_fresh_build_dir "$dir"
    if cmake "$@" -B "$dir" >"$log" 2>&1 && cmake --build "$dir" -j "$jobs" >>"$log" 2>&1; then
        echo "-- $tier: built in $((SECONDS - t0)) s ($dir)"
        return 0
    fi
    echo "-- $tier: BUILD FAILED ($log):"
    grep -E -A5 'error|Error|FAILED' "$log" | head -n 80
    note_fail
    return 1
}

# ctest_tier DIR [ENV...]: runs the tests of DIR with ctest and counts their cases.
ctest_tier() {
    local dir=$1
    shift
    local log="$dir.ctest.log"
    env GTEST_BRIEF=1 GTEST_COLOR=no "$@" ctest --test-dir "$dir" -V -j "$jobs" --timeout 600 --no-tests=error \
        >"$log" 2>&1
    local rc=$?
    # The test programs' own output, without ctest's preamble.
    local noise='^(UpdateCTestConfiguration|Parse Config|Updating test list|Test project|Internal ctest'
    noise+='|Constructing a list|Done constructing|Added [0-9]+ tests|Checking test dependency|Test timeout computed'
    noise+='|test [0-9]+$|[0-9]+: (Test command|Test timeout|Working Directory|Running main\(\))'
    noise+='|Output from these tests|Use "--rerun-failed)|^ *Start +[0-9]+:|^$'
    grep -v -E "$noise" "$log"
    add_counts "$log" "$rc"
}

tier_native() {
    header "native: g++, -Werror, unit and contract tests"
    local dir="${prefix}native"
    if bash scripts/check-layers.sh; then
        echo "-- layers: every include is of its own layer or a lower one"
        note_pass
    else
        echo "-- layers: FAILED"
        note_fail
    fi
    build native "$dir" --preset native -DSW_WERROR=ON || return
    native_built=1
    ctest_tier "$dir"
}

# The clang build with the sanitizers, once for the asan and fuzz tiers: it holds the unit tests and the
# libFuzzer targets.
build_asan() {
    [ -n "$asan_built" ] && return 0
    build native-asan "${prefix}native-asan" --preset native-asan || return
    asan_built=1
}

tier_asan() {
    header "native-asan: clang, AddressSanitizer, UBSan, LeakSanitizer"
    local dir="${prefix}native-asan"
    build_asan || return
    ctest_tier "$dir" ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
}

tier_fuzz() {
    header "fuzz: every fuzz target for ${fuzz_seconds} s"
    local dir="${prefix}native-asan"
    build_asan || return
    local targets
    mapfile -t targets < <(find "$dir" -path "$dir/CMakeFiles" -prune -o -type f -executable -name 'fuzz_*' -print |
        sort)
    if [ ${#targets[@]} -eq 0 ]; then
        echo "-- no fuzz targets built"
        note_fail
        return
    fi
    local work
    work=$(mktemp -d "${TMPDIR:-/tmp}/sw-fuzz.XXXXXX")
    mkdir -p "$dir/artifacts"
    # Two targets at a time, one per core; results are reported in target order.
    local i exe name
    for ((i = 0; i < ${#targets[@]}; i += jobs)); do
        local batch=("${targets[@]:i:jobs}")
        for exe in "${batch[@]}"; do
            name=$(basename "$exe")
            mkdir -p "$work/$name"
            # libFuzzer adds what it finds to the corpus: a copy, never the seeds in the repo.
            [ -d "tests/fuzz/corpus/$name" ] && cp -R "tests/fuzz/corpus/$name/." "$work/$name/"
            (cd "$work" && timeout -k 10 $((fuzz_seconds + 120)) "$exe" -max_total_time="$fuzz_seconds" \
                -artifact_prefix="$dir/artifacts/$name-" "$work/$name" >"$work/$name.log" 2>&1
            echo $? >"$work/$name.rc") &
        done
        wait
        for exe in "${batch[@]}"; do
            name=$(basename "$exe")
            if [ "$(cat "$work/$name.rc")" = 0 ]; then
                echo "-- $name: ok ($(find "$work/$name" -type f | wc -l) inputs in the corpus)"
                note_pass
            else
                echo "-- $name: FAILED; crash inputs go to $dir/artifacts/"
                tail -n 40 "$work/$name.log"
                note_fail
            fi
        done
    done
    rm -rf "$work"
}

# wine_template: boots, once a run, the prefix that every Wine test gets a copy of (removed at exit).
wine_template() {
    [ -n "${SW_WINE_TEMPLATE:-}" ] && return 0
    source scripts/wine-env.sh
    local dir
    dir=$(mktemp -d "${TMPDIR:-/tmp}/sw-wine-template.XXXXXX") || return 1
    # shellcheck disable=SC2064 # the folder of this run, fixed now
    trap "rm -rf '$dir'" EXIT
    sw_wine_template "$dir/prefix" && return 0
    echo "-- Wine did not boot a prefix"
    return 1
}

# wine_exe EXE: runs one GoogleTest program under Wine and counts its cases.
wine_exe() {
    local exe=$1 log
    log="${exe%.exe}.wine.log"
    echo "-- $(basename "$exe")"
    GTEST_COLOR=no sw_wine_run 900 wine "$exe" --gtest_brief=1 >"$log" 2>&1
    local rc=$?
    tr -d '\r' <"$log" | grep -v -E '^Running main\(\)'
    [ $rc -ne 0 ] && echo "-- exit code $rc"
    add_counts "$log" "$rc"
}

# The win32 build, once for the win32 and e2e tiers. The cross build compiles its text forms with the host
# formtext of the native build.
build_win32() {
    [ -n "$win32_built" ] && return 0
    local native_dir="${prefix}native"
    if [ -z "$native_built" ]; then
        build native "$native_dir" --preset native -DSW_WERROR=ON || return
        native_built=1
    fi
    build win32 "${prefix}win32" --preset win32 -DSW_WERROR=ON -DSW_FORMTEXT="$native_dir/tools/formtext/formtext" ||
        return
    win32_built=1
}

# The distributions that Wine scripts and e2e paths install, built once before any of them runs (two
# scripts building one target at once would share the build directory).
build_distributions() {
    [ -n "$distributions_built" ] && return 0
    local dir="${prefix}win32"
    if ! cmake --build "$dir" --target demo_distribution e2e_net_distribution progress_distribution \
        spanned_distribution >"$dir.distribution.log" 2>&1; then
        echo "-- the test distributions do not build ($dir.distribution.log)"
        note_fail
        return 1
    fi
    distributions_built=1
}

tier_win32() {
    header "win32: i686-w64-mingw32, -Werror, tests under Wine and Xvfb"
    local path
    if ! path=$(sw_wine_path); then
        echo "-- Wine path: none: 32-bit Linux programs do not run here, not even through qemu-i386"
        note_fail
        return
    fi
    case $path in
        native) echo "-- Wine path: native (the kernel runs 32-bit Linux programs)" ;;
        emulated) echo "-- Wine path: emulated (32-bit Linux programs run through $SW_QEMU_I386, binfmt_misc)" ;;
    esac
    local dir="${prefix}win32"
    build_win32 || return
    wine_template || { note_fail; return; }
    build_distributions || return
    echo "-- imports of the shipped programs (scripts/check-imports.sh)"
    bash scripts/check-imports.sh "$dir" >"$dir.imports.log" 2>&1
    local rc=$?
    cat "$dir.imports.log"
    script_counts "$dir.imports.log" "$rc"
    local exes=("$dir"/tests/*_tests.exe) scripts=() restarts=()
    [ -e "${exes[0]}" ] || exes=()
    local f
    # A script that restarts Wine ("wineboot -r") runs alone: one hung once with three scripts beside it.
    for f in tests/wine/*.sh; do
        [ -x "$f" ] || continue
        if grep -q 'wineboot -r' "$f"; then restarts+=("$f"); else scripts+=("$f"); fi
    done
    if [ ${#exes[@]} -eq 0 ] && [ $((${#scripts[@]} + ${#restarts[@]})) -eq 0 ]; then
        echo "-- no test programs built"
        note_fail
        return
    fi
    if [ ${#exes[@]} -gt 0 ]; then
        (
            source scripts/wine-env.sh
            sw_wine_init || exit 1
            for f in "${exes[@]}"; do
                wine_exe "$f"
            done
            echo "$passed $failed" >"$dir/wine.counts"
        )
        if [ -s "$dir/wine.counts" ]; then
            read -r passed failed <"$dir/wine.counts"
            rm -f "$dir/wine.counts"
        else
            echo "-- Wine did not start"
            note_fail
        fi
    fi
    [ ${#scripts[@]} -gt 0 ] && wine_scripts "$dir" "" "$wine_jobs" "${scripts[@]}"
    [ ${#restarts[@]} -gt 0 ] && wine_scripts "$dir" "" 1 "${restarts[@]}"
}

# wine_scripts DIR LOGPREFIX JOBS SCRIPT...: runs each script with the build directory as $1, in a fresh prefix
# and display of its own, JOBS at a time; each one's output is printed, and counted, in the given order.
wine_scripts() {
    local dir=$1 logprefix=$2 jobs=$3
    shift 3
    local scripts=("$@") logs=() next=0 done_=0 running i f log
    while [ "$done_" -lt ${#scripts[@]} ]; do
        running=0
        for ((i = done_; i < next; i++)); do
            [ -e "${logs[i]}.rc" ] || running=$((running + 1))
        done
        while [ "$next" -lt ${#scripts[@]} ] && [ "$running" -lt "$jobs" ]; do
            f=${scripts[next]}
            log="$dir/$logprefix$(basename "$f" .sh).wine.log"
            rm -f "$log.rc"
            (
                t0=$SECONDS
                (
                    source scripts/wine-env.sh
                    sw_wine_init || exit 1
                    timeout -k 10 1200 "$f" "$dir"
                ) >"$log" 2>&1
                echo "$? $((SECONDS - t0))" >"$log.rc"
            ) &
            logs[next]=$log
            next=$((next + 1))
            running=$((running + 1))
        done
        wait -n
        while [ "$done_" -lt "$next" ] && [ -e "${logs[done_]}.rc" ]; do
            log=${logs[done_]}
            echo "-- ${scripts[done_]}"
            cat "$log"
            local rc=1 seconds=
            read -r rc seconds <"$log.rc"
            rm -f "$log.rc"
            script_counts "$log" "$rc" "$seconds"
            done_=$((done_ + 1))
        done
    done
}

# Each path of tests/e2e gets a fresh prefix and display, and the build directory as $1; the distributions they
# install (the demo's own, its net variant, the progress and spanned test products) are built once, here.
tier_e2e() {
    header "e2e: the demo's setup.exe under Wine and Xvfb, driven by keyboard and mouse"
    if ! sw_wine_path >/dev/null; then
        echo "-- no Wine path: 32-bit Linux programs do not run here, not even through qemu-i386"
        note_fail
        return
    fi
    build_win32 || return
    wine_template || { note_fail; return; }
    local dir="${prefix}win32" f
    build_distributions || return
    local paths=()
    for f in tests/e2e/*.sh; do
        [ -x "$f" ] && paths+=("$f")
    done
    wine_scripts "$dir" e2e- "$wine_jobs" "${paths[@]}"
}

# script_counts LOG RC [SECONDS]: a script that ends its output with "N passed, N failed" counts as those N tests,
# any other as one test; a non-zero exit is at least one failure.
script_counts() {
    local summary p=1 f=0
    summary=$(grep -E '^[0-9]+ passed, [0-9]+ failed$' "$1" | tail -n 1)
    if [ -n "$summary" ]; then
        read -r p _ f _ <<<"$summary"
    fi
    if [ "$2" -ne 0 ]; then
        [ -z "$summary" ] && p=0
        [ "$f" -eq 0 ] && f=1
    fi
    note_pass "$p"
    note_fail "$f"
    echo "-- $p passed, $f failed (exit code $2${3:+, $3 s})"
}

tiers=("$@")
[ ${#tiers[@]} -eq 0 ] && tiers=(native asan fuzz win32 e2e)
for t in "${tiers[@]}"; do
    case $t in
        native | asan | fuzz | win32 | e2e) ;;
        *)
            echo "unknown tier: $t (native, asan, fuzz, win32, e2e)" >&2
            exit 2
            ;;
    esac
done

header "prerequisites"
if ! bash scripts/install-prereqs.sh; then
    echo "-- installing the prerequisites failed"
    echo "0 passed, 1 failed"
    exit 1
fi

# ccache speeds up rebuilds (installed with the prerequisites).
if command -v ccache >/dev/null; then
    export CMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER-ccache}
    export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER-ccache}
    # Paths relative to the checkout, so that another clone on the same machine shares the cache; the build
    # folder is left out of the hash too (debug builds hash it by default), or no other clone would ever hit.
    export CCACHE_BASEDIR=${CCACHE_BASEDIR-$root}
    export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR-1}
fi

source scripts/build-dir.sh
source scripts/wine-path.sh
# A forced emulated path on a kernel that runs 32-bit programs: the whole run goes on in a user and mount
# namespace whose own binfmt_misc hands them to qemu-i386, so the machine's setting stays as it is.
if [ "${SW_WINE_PATH:-}" = emulated ] && [[ " ${tiers[*]} " == *" win32 "* || " ${tiers[*]} " == *" e2e "* ]] && ! sw_i386_emulated; then
    if [ -n "${SW_BINFMT_PRIVATE:-}" ] || ! unshare --user --map-root-user --mount true 2>/dev/null; then
        echo "-- SW_WINE_PATH=emulated: this machine gives no user namespace with a binfmt_misc of its own"
        echo "0 passed, 1 failed"
        exit 1
    fi
    echo "-- SW_WINE_PATH=emulated: continuing in a namespace with qemu-i386 registered for 32-bit programs"
    export SW_BINFMT_PRIVATE=1 SW_TEST_START=$start_time
    exec unshare --user --map-root-user --mount --propagation private bash -c '
        source scripts/wine-path.sh && mount -t binfmt_misc binfmt_misc "$SW_BINFMT_DIR" && sw_binfmt_register ||
            { echo "-- registering qemu-i386 in the namespace failed"; echo "0 passed, 1 failed"; exit 1; }
        exec bash scripts/test.sh "$@"' test.sh "$@"
fi

for t in "${tiers[@]}"; do
    t0=$SECONDS
    "tier_$t"
    echo "-- $t: $((SECONDS - t0)) s"
done

echo
echo "==== done in $(($(date +%s) - start_time)) s ===="
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]

#!/usr/bin/env bash
# The benchmarks in one command: builds them (Release), makes the
# deterministic corpus (about 120 MB, 400 files), runs every archive pass,
# measures the longest wait of the GUI while the largest file is extracted
# (bench/PumpGaps.cpp), then times the build of the corpus as a project (bench/build-corpus.sh) and,
# where Wine runs, its build and install under Wine (bench/wine-corpus.sh).
#   bash bench/run.sh [WORK_DIR [WINE_OPTIONS...]]
#     WORK_DIR       default build/bench-work; never in git
#     WINE_OPTIONS   passed on to bench/wine-corpus.sh (--every K: a smaller corpus under Wine)
set -euo pipefail
cd "$(dirname "$0")/.."
work=${1:-$PWD/build/bench-work}
shift $(($# > 0))
build=$PWD/build/bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSW_BENCH=ON >/dev/null
cmake --build "$build" --target archive_bench pump_gaps formtext buildsetup -j2 >/dev/null
mkdir -p "$work"
if [ ! -f "$work/corpus.done" ]; then
    rm -rf "$work/corpus"
    "$build/bench/archive_bench" make-corpus "$work/corpus"
    touch "$work/corpus.done"
fi
"$build/bench/archive_bench" run "$work/corpus" "$work/run"
echo
"$build/bench/pump_gaps" "$work/corpus" "$work/pump"
bash bench/build-corpus.sh "$build" "$work/corpus" "$work/build"
bash bench/wine-corpus.sh "$build" "$work/corpus" "$work/wine" "$@"

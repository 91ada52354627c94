#!/usr/bin/env bash
# The archive benchmark in one command: builds it (Release), makes the
# deterministic corpus (about 120 MB, 400 files) and runs every pass.
#   bash bench/run.sh [WORK_DIR]      (default build/bench-work; never in git)
set -euo pipefail
cd "$(dirname "$0")/.."
work=${1:-$PWD/build/bench-work}
build=$PWD/build/bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSW_BENCH=ON >/dev/null
cmake --build "$build" --target archive_bench -j2 >/dev/null
mkdir -p "$work"
if [ ! -f "$work/corpus.done" ]; then
    rm -rf "$work/corpus"
    "$build/bench/archive_bench" make-corpus "$work/corpus"
    touch "$work/corpus.done"
fi
"$build/bench/archive_bench" run "$work/corpus" "$work/run"

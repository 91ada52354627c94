#!/usr/bin/env bash
# The build of the benchmark corpus as a project, timed: every corpus file a
# file component of one install driver, built into setup.exe, setup.1 and
# files.1 by the Linux build command, as "setup.exe -b" would. The setup
# program is a stand-in PE image carrying the project (the build reads its
# project from it and packs it into setup.1). Then the sizes of the shipped
# programs of the win32 build, when it exists.
#   bash bench/build-corpus.sh BENCH_BUILD_DIR CORPUS WORK_DIR      (run by bench/run.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "$1" && pwd) corpus=$(cd "$2" && pwd) work=$3
rm -rf "$work"
mkdir -p "$work/program" "$work/tools"
ln -s "$corpus" "$work/corpus"

project="$work/project.txt"
bash bench/corpus-project.sh "$corpus" >"$project"
id=$(grep -c 'TInstallFile$' "$project")
"$build/tools/formtext/formtext" "$project" "$work/project.bin"
python3 tests/tools/stand_in_program.py "$work/program/setup.exe" "$work/project.bin" src/resources/installtheme1.bmp

loader=build/win32/src/app/loader/PellmoorLoadProgram.exe
if [ -f "$loader" ]; then
    cp "$loader" "$work/tools/"
else
    head -c 40000 /dev/zero >"$work/tools/PellmoorLoadProgram.exe"
fi
: >"$work/tools/M41R08.TXT"
printf 'dist\r\n' >"$work/program/BUILD.INF"

start=$(date +%s.%N)
(cd "$work" && "$build/tools/buildsetup/buildsetup" --tool-dir tools program/setup.exe)
end=$(date +%s.%N)
corpus_mb=$(du -sbL "$corpus" | awk '{ printf "%.1f", $1 / 1e6 }')
files1_mb=$(stat -c %s "$work/dist/files.1" | awk '{ printf "%.1f", $1 / 1e6 }')
echo
printf "build of the corpus as a project (buildsetup, %d files, %s MB, %d processors): %.2f s, files.1 %s MB\n" "$id" \
    "$corpus_mb" "$(nproc)" "$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')" "$files1_mb"

size_line() {
    local what=$1 file=$2 target_kib=$3
    if [ -f "$file" ]; then
        local bytes
        bytes=$(stat -c %s "$file")
        printf "%-34s %9d bytes %8.1f KiB (target under %d KiB)\n" "$what" "$bytes" "$(awk -v b="$bytes" 'BEGIN { print b / 1024 }')" \
            "$target_kib"
    else
        printf "%-34s not built (cmake --build --preset win32)\n" "$what"
    fi
}
size_line "loading program:" "$loader" 48
size_line "setup program (the demo's):" build/win32/examples/demo/setup.exe 1024

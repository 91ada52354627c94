#!/usr/bin/env bash
# formviewer under Wine: each dialog form of tests/fixtures/forms is shown and written as a screenshot, kept as
# test output; a form that names an unknown class is refused with the reader's message and exit code 1.
#
#   tests/wine/formviewer.sh BUILD_DIR      (run by scripts/test.sh inside a throwaway prefix)
set -uo pipefail

build=${1:?build directory}
viewer="$build/tools/formviewer/formviewer.exe"
shots="$build/e2e/formviewer"
here=$(cd "$(dirname "$0")/../.." && pwd)
[ -n "${SW_WINE_READY:-}" ] || { source "$here/scripts/wine-env.sh" && sw_wine_init; } || exit 1
[ -f "$viewer" ] || { echo "no $viewer"; exit 1; }
mkdir -p "$shots"

passed=0
failed=0
pass() { echo "ok: $1"; passed=$((passed + 1)); }
fail() { echo "FAILED: $1"; failed=$((failed + 1)); }

# The BMP's width and height from its header.
bmp_size() { od -An -tu4 -j18 -N8 "$1" | awk '{ print $1 "x" $2 }'; }

for form in "$here"/tests/fixtures/forms/*.txt; do
    name=$(basename "$form" .txt)
    shot="$shots/$name.bmp"
    rm -f "$shot"
    timeout -k 5 120 wine "$viewer" "$form" --screenshot "$shot" >"$shots/$name.log" 2>&1
    rc=$?
    if [ $rc -eq 0 ] && [ -s "$shot" ] && [ "$(head -c 2 "$shot")" = BM ] && [ "$(bmp_size "$shot")" = 470x368 ]; then
        pass "$name: a 470x368 screenshot"
    else
        fail "$name: exit code $rc, screenshot $(bmp_size "$shot" 2>/dev/null)"
        tr -d '\r' <"$shots/$name.log" | tail -n 5
    fi
done

bad="$shots/unknown-class.txt"
printf 'object F: TForm\n  object X: TFancyButton\n  end\nend\n' >"$bad"
timeout -k 5 120 wine "$viewer" "$bad" --screenshot "$shots/unknown.bmp" >"$shots/unknown.log" 2>&1
rc=$?
out=$(tr -d '\r' <"$shots/unknown.log")
if [ $rc -ne 0 ] && grep -q 'Error reading X: Class TFancyButton not found' <<<"$out" && [ ! -e "$shots/unknown.bmp" ]; then
    pass "unknown class refused"
else
    fail "unknown class: exit code $rc, output: $out"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]

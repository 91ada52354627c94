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

# view FORM NAME ARGS...: runs the viewer with a screenshot to $shots/NAME.bmp; its exit code, its output in
# $shots/NAME.log.
view() {
    local form=$1 name=$2
    shift 2
    rm -f "$shots/$name.bmp"
    timeout -k 5 120 wine "$viewer" "$form" --screenshot "$shots/$name.bmp" "$@" >"$shots/$name.log" 2>&1
}

# The folder dialog in English and in French: the French texts make another picture. French with a copy of
# the English table as its table gives the English picture again, so the difference is the table's texts.
form="$here/tests/fixtures/forms/select-folder.txt"
english_tables="$shots/english-tables"
mkdir -p "$english_tables"
cp "$here/src/resources/lang/plmiEnglish.txt" "$english_tables/plmiEnglish.txt"
cp "$here/src/resources/lang/plmiEnglish.txt" "$english_tables/plmiFrench.txt"
view "$form" select-folder-English --language English
rc_en=$?
view "$form" select-folder-French --language french
rc_fr=$?
view "$form" select-folder-French-as-English --language French --tables "$english_tables"
rc_same=$?
if [ $rc_en -eq 0 ] && [ $rc_fr -eq 0 ] && [ $rc_same -eq 0 ] && [ -s "$shots/select-folder-French.bmp" ] &&
    ! cmp -s "$shots/select-folder-English.bmp" "$shots/select-folder-French.bmp" &&
    cmp -s "$shots/select-folder-English.bmp" "$shots/select-folder-French-as-English.bmp"; then
    pass "select-folder in French: its own picture; with English texts as French, the English picture"
else
    fail "select-folder in French: exit codes $rc_en $rc_fr $rc_same"
    tail -n 5 "$shots"/select-folder-*.log
fi

# expect_refusal NAME MESSAGE ARGS...: the viewer exits 1 with MESSAGE and writes no screenshot.
expect_refusal() {
    local name=$1 message=$2
    shift 2
    view "$form" "$name" "$@"
    local rc=$? out
    out=$(tr -d '\r' <"$shots/$name.log")
    if [ $rc -eq 1 ] && grep -qF "$message" <<<"$out" && [ ! -e "$shots/$name.bmp" ]; then
        pass "$name refused: $message"
    else
        fail "$name: exit code $rc, output: $out"
    fi
}
expect_refusal hebrew "Unrecognized language" --language Hebrew
expect_refusal klingon "Unknown language Klingon" --language Klingon
expect_refusal no-tables "Cannot open file" --language German --tables 'C:\no such folder'

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]

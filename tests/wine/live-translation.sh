#!/usr/bin/env bash
# The live translation of a small form under Wine: wine_tests.exe LiveTranslationWine* once per language,
# with Wine's locale set to that language (a locale made here with localedef, so that the machine's own
# list of locales does not matter). The screenshots are kept in BUILD_DIR/e2e/live-translation.
#
#   tests/wine/live-translation.sh BUILD_DIR      (run by scripts/test.sh inside a throwaway prefix)
set -uo pipefail

build=${1:?build directory}
here=$(cd "$(dirname "$0")/../.." && pwd)
[ -n "${SW_WINE_READY:-}" ] || { source "$here/scripts/wine-env.sh" && sw_wine_init; } || exit 1
exe="$build/tests/wine_tests.exe"
[ -f "$exe" ] || { echo "no $exe"; exit 1; }
shots="$build/e2e/live-translation"
mkdir -p "$shots"
locales=$(mktemp -d "${TMPDIR:-/tmp}/sw-locales.XXXXXX")
trap 'rm -rf "$locales"' EXIT

passed=0
failed=0
for pair in French:fr_FR German:de_DE Russian:ru_RU Japanese:ja_JP; do
    language=${pair%%:*}
    locale=${pair#*:}.UTF-8
    if ! localedef -i "${pair#*:}" -f UTF-8 "$locales/$locale" >/dev/null 2>&1 && [ ! -d "$locales/$locale" ]; then
        echo "FAILED: $language: localedef could not make $locale"
        failed=$((failed + 1))
        continue
    fi
    mkdir -p "$shots/$language"
    log="$shots/$language.log"
    LC_ALL=$locale LANG=$locale LOCPATH=$locales SW_LIVE_LANGUAGE=$language SW_LIVE_SHOTS="$shots/$language" \
        GTEST_COLOR=no timeout -k 10 300 wine "$exe" --gtest_brief=1 --gtest_filter='LiveTranslationWine*' >"$log" 2>&1
    rc=$?
    ok=$(tr -d '\r' <"$log" | sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\..*/\1/p' | tail -n 1)
    if [ "$rc" -eq 0 ] && [ "${ok:-0}" -gt 0 ] && ! grep -q '^\[  SKIPPED \]' <(tr -d '\r' <"$log"); then
        echo "ok: $language ($locale): texts and fonts, screenshots in $shots/$language"
        passed=$((passed + ${ok}))
    else
        echo "FAILED: $language ($locale): exit code $rc"
        tr -d '\r' <"$log" | grep -v -E '^Running main\(\)' | tail -n 40
        failed=$((failed + 1))
    fi
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]

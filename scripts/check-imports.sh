#!/usr/bin/env bash
# Lists the imports of every shipped program of a win32 build (each .exe outside tests/) and fails on
# any that scripts/win32-imports.txt does not allow, that is, any function Windows 95 or NT 4.0 lacks.
# In a Release build each program must also be stripped.
#
#   scripts/check-imports.sh BUILD_DIR
#
# One test per program; ends with "N passed, N failed".
set -uo pipefail

build=${1:?build directory}
here=$(cd "$(dirname "$0")" && pwd)
allow="$here/win32-imports.txt"
objdump=i686-w64-mingw32-objdump

mapfile -t programs < <(find "$build" \( -path "$build/tests" -o -name CMakeFiles \) -prune -o -type f \
    -name '*.exe' -print | sort)
if [ ${#programs[@]} -eq 0 ]; then
    echo "no programs in $build"
    echo "0 passed, 1 failed"
    exit 1
fi
release=
grep -q '^CMAKE_BUILD_TYPE:STRING=Release$' "$build/CMakeCache.txt" 2>/dev/null && release=1

# imports EXE: "DLL function" lines, DLL names in capitals.
imports() {
    "$objdump" -p "$1" | awk '
        /^\tDLL Name: / { dll = toupper($3) }
        dll != "" && /^\t[0-9a-f]+\t +[0-9]+ +[^ ]+$/ { print dll, $NF }' | sort -u
}

passed=0
failed=0
for exe in "${programs[@]}"; do
    name=${exe#"$build"/}
    list=$(imports "$exe")
    echo "$name: $(grep -c . <<<"$list") imports"
    awk '$1 != dll { if (dll) print line; dll = $1; line = "  " dll ":" } { line = line " " $2 }
        END { if (dll) print line }' <<<"$list" | fold -s -w 118 | sed '2,$s/^\([^ ]\)/      \1/'
    problems=$(grep -v -x -F -f <(grep -v -E '^(#|$)' "$allow") <<<"$list" | sed 's/^/  not allowed: /')
    if [ -z "$list" ]; then
        problems="  no imports found"
    fi
    if [ -n "$release" ] && ! "$objdump" -t "$exe" | grep -q '^no symbols$'; then
        problems+=$'\n'"  not stripped"
    fi
    problems=$(sed '/^$/d' <<<"$problems")
    if [ -n "$problems" ]; then
        echo "$problems"
        echo "FAIL $name"
        failed=$((failed + 1))
    else
        echo "ok   $name"
        passed=$((passed + 1))
    fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]

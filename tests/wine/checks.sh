# Sourced, not run: counting the cases of a Wine test script.
#
#   source tests/wine/checks.sh
#   check NAME COMMAND...        # one case: passes when COMMAND succeeds
#   ok NAME / fail NAME [WHY]    # one case whose outcome the script decided itself
#   checks_summary               # the closing "N passed, N failed" line; fails when any case failed
#   checks_end                   # the same line, then the script ends

passed=0
failed=0

ok() {
    echo "ok: $1"
    passed=$((passed + 1))
}

fail() {
    echo "FAILED: $1${2:+: $2}"
    failed=$((failed + 1))
}

check() {
    if "${@:2}"; then ok "$1"; else fail "$1"; fi
}

checks_summary() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}

checks_end() {
    checks_summary
    exit
}

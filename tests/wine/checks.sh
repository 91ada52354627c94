# Sourced, not run: counting the cases of a Wine test script.
#
#   source tests/wine/checks.sh
#   check NAME COMMAND...        # one case: passes when COMMAND succeeds
#   checks_summary               # the closing "N passed, N failed" line; fails when any case failed

passed=0
failed=0

check() {
    if "${@:2}"; then
        echo "ok: $1"
        passed=$((passed + 1))
    else
        echo "FAILED: $1"
        failed=$((failed + 1))
    fi
}

checks_summary() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}

#!/usr/bin/env bash
# Lists the tests a ctest run skipped, each with the reason its program gave, and counts
# them by reason.
#
#   tools/windows/skip-report.sh <build>/Testing/Temporary/LastTest.log
#
# GoogleTest prints "<file>:<line>: Skipped" followed by the message; an oracle command's
# temporary paths and arguments are cut off so that skips of one kind count together.
set -euo pipefail
log=$1
awk '
    /^[0-9]+\/[0-9]+ Test: / { test = $3; next }
    / Skipped$/ { grab = 1; next }
    grab {
        reason = $0
        sub(/\x27[^\x27]*oracle[0-9]*\.py\x27.*/, "(a python3 program of the test)", reason)
        sub(/\x27[^\x27]*\/tests\/[^\x27]*\.py\x27.*/, "(an oracle script of tests/)", reason)
        sub(/java -cp .*/, "(a Java oracle of tests/)", reason)
        if (!(test in seen)) { seen[test] = 1; order[++n] = test; why[test] = reason; count[reason]++ }
        grab = 0
    }
    END {
        printf "%d tests skipped:\n", n
        for (i = 1; i <= n; ++i) printf "  %s: %s\n", order[i], why[order[i]]
        print "by reason:"
        for (r in count) printf "  %4d  %s\n", count[r], r
    }
' "$log"

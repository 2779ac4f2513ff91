#!/usr/bin/env bash
# Counts the lines of test code against the lines of library, tool and generator code.
#
# Usage: tools/quality/linecount.sh [repository root]      (default: this script's repository)
#
# Test code: C++ and python under tests/ and examples/*/tests. Data (schemas, case tables, XML,
# Java oracles fed by the tests' data) is not counted. Library, tool and generator code: C++
# outside tests/, bench/, examples/ and fuzz/. Every line counts, blank lines and comments too,
# so that the figure is the one `wc -l` gives. Prints one line per folder and the ratio.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
cd "$root"

tree_files() {  # the committed and uncommitted files, without build trees
  git ls-files -co --exclude-standard
}

# group FILE-LIST-ON-STDIN: "folder lines" per folder (top folder/subfolder, or top folder for
# the files directly in it), then "total lines".
group() {
  while read -r f; do printf '%s %s\n' "$(wc -l < "$f")" "$f"; done |
    awk '{ n = split($2, p, "/"); key = (n > 2) ? p[1] "/" p[2] : p[1]; sum[key] += $1; total += $1 }
         END { for (k in sum) printf "  %-32s %6d\n", k, sum[k] | "sort"; close("sort");
               printf "total %d\n", total }'
}

echo "test code (C++ and python):"
test_report=$(tree_files | grep -E '^(tests/|examples/[^/]+/tests/)' | grep -E '\.(cpp|cc|cxx|h|hpp|inl|py)$' | group)
echo "$test_report" | grep -v '^total'
echo "library, tool and generator code (C++):"
code_report=$(tree_files | grep -E '\.(cpp|cc|cxx|h|hpp|inl)$' | grep -vE '^(tests|bench|examples|fuzz)/' | group)
echo "$code_report" | grep -v '^total'
test_total=$(echo "$test_report" | awk '/^total/ {print $2}')
code_total=$(echo "$code_report" | awk '/^total/ {print $2}')
awk -v t="$test_total" -v c="$code_total" \
  'BEGIN { printf "test code %d, library+tool+generator code %d, ratio %.1f%%\n", t, c, 100 * t / c }'

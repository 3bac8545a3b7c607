#!/usr/bin/env bash
# run-wine.sh passes on the output and exit code of the program it ran, and its output pipe closes
# when that program ends, though a program it started goes on running.
# Usage: run-wine-test.sh TEST-PROGRAM (the child-process tests, whose copies stay as told)
set -euo pipefail
: "${WINEPREFIX:?}"
here=$(cd "$(dirname "$0")" && pwd)
run_wine="$here/../run-wine.sh"
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

# The program ends at once; the copy it started stays 10 s, then leaves a file, and meanwhile holds
# the program's output.
done_file="$work/copy-ended"
start=$(date +%s)
output=$(QUILLON_TEST_CHILD_CHAIN=0,10000 QUILLON_TEST_CHILD_DONE="Z:${done_file//\//\\}" \
  timeout 60 "$run_wine" "$program"; echo "rc=$?")
took=$(( $(date +%s) - start ))
[ "$took" -lt 8 ] || fail "the pipe stayed open for $took s, while a program started under run-wine.sh ran"
[ ! -e "$done_file" ] || fail "the copy had ended before run-wine.sh returned: nothing was checked"
grep -q '^rc=0$' <<<"$output" || fail "the program's exit code was not 0: $output"
# The copy ends by itself; the test waits for it.
for _ in $(seq 300); do [ -e "$done_file" ] && break; sleep 0.1; done
[ -e "$done_file" ] || fail "the copy left running did not end"

# Output and exit code pass through.
output=$(timeout 60 "$run_wine" "$program" --gtest_list_tests)
grep -q 'IdsAreTheDirectChildrenOnly' <<<"$output" || fail "the program's output was not passed on: $output"
rc=0
timeout 60 "$run_wine" cmd.exe /c exit 7 >/dev/null 2>&1 || rc=$?
[ "$rc" -eq 7 ] || fail "exit code 7 came back as $rc"
echo "run-wine.sh: output and exit code passed on; pipe closed after ${took} s while a program it started ran on"

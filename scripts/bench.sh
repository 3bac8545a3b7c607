#!/usr/bin/env bash
# The check against its floor, in instructions: builds the release preset, runs the benchmark once
# under callgrind and prints, per set size, the check, the Boost-only compile of the same patterns and
# their ratio. Instruction counts repeat on a shared machine, where times do not.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
"$top/scripts/setup.sh"
cmake --preset release >/dev/null
cmake --build --preset release -j 4 --target RewriteConfigBench >/dev/null
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
valgrind --tool=callgrind --collect-atstart=no --callgrind-out-file="$out/cg.out" \
  "$top/build/release/RewriteConfig/RewriteConfigBench" 2>"$out/valgrind.log" || {
  cat "$out/valgrind.log" >&2
  exit 1
}
# Each dump names its workload in its trigger line and holds the instructions in its totals line.
for f in "$out"/cg.out.*; do
  awk '/^desc: Trigger: Client Request: / { name = $5 " " $6 } /^totals: / { print name, $2 }' "$f"
done | awk '
  { count[$1 " " $2] = $3; sizes[$2] = 1 }
  END {
    printf "%8s %16s %16s %7s\n", "lines", "check Ir", "boost Ir", "ratio"
    n = split("1000 10000 100000", order, " ")
    for (i = 1; i <= n; ++i) {
      s = order[i]
      if (!(s in sizes)) continue
      printf "%8d %16.0f %16.0f %7.3f\n", s, count["check " s], count["boost " s], count["check " s] / count["boost " s]
    }
  }'

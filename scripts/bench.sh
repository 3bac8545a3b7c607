#!/usr/bin/env bash
# Instruction counts under callgrind (release preset), which repeat on a shared machine where times
# do not. First the check against its floor: per set size, the check, the Boost-only compile of the
# same patterns and their ratio. Then the proxy settings dialog's rewrite of a file against one
# parse of the same file: per file, the parse, the rewrite with its checks and their ratio.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
"$top/scripts/setup.sh"
cmake --preset release >/dev/null
cmake --build --preset release -j 4 --target RewriteConfigBench ProxyRewriteBench >/dev/null
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# Runs one benchmark under callgrind and prints "<workload> <name> <instructions>" per dump: each
# dump names its workload in its trigger line and holds the instructions in its totals line.
counts() {
  valgrind --tool=callgrind --collect-atstart=no --callgrind-out-file="$out/$1.out" \
    "$2" 2>"$out/$1.log" || {
    cat "$out/$1.log" >&2
    exit 1
  }
  for f in "$out/$1.out".*; do
    awk '/^desc: Trigger: Client Request: / { name = $5 " " $6 } /^totals: / { print name, $2 }' "$f"
  done
}

# Reads "<workload> <row> <instructions>" lines and prints, for the rows in the order given, the
# instructions of the two workloads and the first's over the second's.
table() {
  awk -v title="$1" -v first="$2" -v second="$3" -v rows="$4" '
    { count[$1 " " $2] = $3; seen[$2] = 1 }
    END {
      printf "%-16s %16s %16s %7s\n", title, first " Ir", second " Ir", "ratio"
      n = split(rows, order, " ")
      for (i = 1; i <= n; ++i) {
        r = order[i]
        if (!(r in seen)) continue
        printf "%-16s %16.0f %16.0f %7.3f\n", r, count[first " " r], count[second " " r], count[first " " r] / count[second " " r]
      }
    }'
}

counts check "$top/build/release/RewriteConfig/RewriteConfigBench" | table lines check boost "1000 10000 100000"
echo
counts proxy "$top/build/release/Quillpage/ProxyRewriteBench" | table file rewrite parse "rules-5MB sections-10000 sections-160000"

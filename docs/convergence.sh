#!/usr/bin/env bash
# Draws docs/convergence.svg from calka's own output: its nine approximations
# against the exact integral 32675/3. Needs gnuplot (Debian's gnuplot-nox).
#   bash docs/convergence.sh [path/to/calka]
set -euo pipefail
cd "$(dirname "$0")/.."
calka=${1:-build/default/bin/calka}
data=$(mktemp)
trap 'rm -f "$data"' EXIT
# Line n holds the sum with 2^(n+1) rectangles; the last line is the final value.
"$calka" < /dev/null | head -n 9 | awk '{ print 2 ^ (NR + 1), $1 }' > "$data"
final=$(tail -n 1 "$data" | cut -d' ' -f2)
gnuplot -e "data='$data'; final='$final'" docs/convergence.gp > docs/convergence.svg
echo "wrote docs/convergence.svg (final value $final)"

#!/usr/bin/env bash
# Times `pipecalc-cli convert big.rtf -o big.txt` against `unrtf --text
# big.rtf` on the same document: a long report as word processors write it
# (8 MB of Windows-1251 RTF, about 20 000 short paragraphs, most words a
# formatted group of their own, a three-cell table row every 20 paragraphs),
# made by bench_richtext.  Each command runs RUNS times, in turns; the best
# time of each and their ratio are printed.  Target: a ratio of at most 0.5.
#   bench/convert_vs_unrtf.sh [BUILD_DIR] [RUNS]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BIN="${1:-$ROOT/build}/bin"
RUNS="${2:-5}"

if ! command -v unrtf >/dev/null 2>&1; then
  echo "unrtf is not installed (Debian package unrtf): nothing to compare with, skipped."
  exit 0
fi
for program in pipecalc-cli bench_richtext; do
  if [[ ! -x "$BIN/$program" ]]; then
    echo "$BIN/$program is missing: build the project first." >&2
    exit 1
  fi
done

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
"$BIN/bench_richtext" generate "$WORK/big.rtf"

# Seconds the command takes, its output thrown away.
seconds() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s%N)
  echo $(((end - start) / 1000))
}

ours=""
theirs=""
for ((run = 0; run < RUNS; ++run)); do
  t=$(seconds "$BIN/pipecalc-cli" convert "$WORK/big.rtf" -o "$WORK/big.txt")
  [[ -z "$ours" || $t -lt $ours ]] && ours=$t
  t=$(seconds unrtf --text "$WORK/big.rtf")
  [[ -z "$theirs" || $t -lt $theirs ]] && theirs=$t
done

awk -v ours="$ours" -v theirs="$theirs" -v runs="$RUNS" 'BEGIN {
  printf "pipecalc-cli convert big.rtf -o big.txt: %.3f s (best of %d)\n", ours / 1e6, runs
  printf "unrtf --text big.rtf:                     %.3f s (best of %d)\n", theirs / 1e6, runs
  printf "ratio: %.2f (target: at most 0.50)\n", ours / theirs
}'

#!/usr/bin/env bash
# Runs the RTF reader fuzzer on one core, on a copy of the starting corpus
# (which grows in the build folder from run to run), and prints libFuzzer's
# summary: for SECONDS (default 1200), or until RUNS inputs have run.
# With PIPECALC_FUZZ_JOBS=N, N fuzzers run side by side on the same corpus,
# each for RUNS inputs, each logging to fuzz-<n>.log in the current folder.
#   fuzz/run.sh [SECONDS] [RUNS]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
OUT="${PIPECALC_FUZZ_DIR:-$ROOT/build-fuzz}"
SECONDS_TO_RUN="${1:-1200}"
RUNS="${2:--1}"
mkdir -p "$OUT/corpus" "$OUT/artifacts"
cp -n "$ROOT"/fuzz/corpus/* "$OUT/corpus/" 2>/dev/null || true
export QT_QPA_PLATFORM=offscreen
# Allocation stacks of two frames: the sanitizer's store of stacks stays
# small (longer ones halve the speed), and the caller of the allocation,
# which the suppressions name, is in them.  Rerun an input that leaks with
# ASAN_OPTIONS=malloc_context_size=30 to see where it was allocated.
export ASAN_OPTIONS="${ASAN_OPTIONS:-malloc_context_size=2}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$ROOT/fuzz/lsan.supp}"
JOBS=()
if [[ -n "${PIPECALC_FUZZ_JOBS:-}" ]]; then
  JOBS=(-jobs="$PIPECALC_FUZZ_JOBS" -workers="$PIPECALC_FUZZ_JOBS")
fi
# Inputs of 4 KB hold every structure the reader knows; longer ones only
# make each run slower.
exec "$OUT/rtf_reader_fuzzer" "$OUT/corpus" -dict="$ROOT/fuzz/rtf.dict" -max_total_time="$SECONDS_TO_RUN" \
  -runs="$RUNS" -timeout=10 -rss_limit_mb=3000 -max_len=4096 -print_final_stats=1 \
  -artifact_prefix="$OUT/artifacts/" "${JOBS[@]}"

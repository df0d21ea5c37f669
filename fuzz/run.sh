#!/usr/bin/env bash
# Runs the RTF reader fuzzer for the given seconds (default 1200) on a copy
# of the starting corpus, one job, and prints libFuzzer's summary.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
OUT="${PIPECALC_FUZZ_DIR:-$ROOT/build-fuzz}"
SECONDS_TO_RUN="${1:-1200}"
mkdir -p "$OUT/corpus" "$OUT/artifacts"
cp -n "$ROOT"/fuzz/corpus/* "$OUT/corpus/" 2>/dev/null || true
export QT_QPA_PLATFORM=offscreen
exec "$OUT/rtf_reader_fuzzer" "$OUT/corpus" -dict="$ROOT/fuzz/rtf.dict" -max_total_time="$SECONDS_TO_RUN" \
  -timeout=10 -rss_limit_mb=3000 -max_len=65536 -print_final_stats=1 -artifact_prefix="$OUT/artifacts/"

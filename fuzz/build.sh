#!/usr/bin/env bash
# Builds the RTF reader's libFuzzer target with clang (not part of the tests).
#   fuzz/build.sh && fuzz/run.sh [seconds]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
OUT="${PIPECALC_FUZZ_DIR:-$ROOT/build-fuzz}"
CXX="${CXX_FUZZ:-clang++-14}"
mkdir -p "$OUT"
# The library without its files (their writing goes through model/) and the
# editor's document (a QObject, which would want moc).
SOURCES=()
for source in "$ROOT"/src/richtext/*.cpp; do
  [[ "$source" == */EditorDocument.cpp || "$source" == */DocumentFile.cpp ]] || SOURCES+=("$source")
done
SOURCES+=("$ROOT"/tests/richtext/DocumentDigest.cpp "$ROOT"/fuzz/RtfReaderFuzzer.cpp)
# shellcheck disable=SC2046
"$CXX" -std=c++17 -g -O2 -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$ROOT/src" -I"$ROOT/tests/richtext" $(pkg-config --cflags Qt6Core Qt6Gui) \
  "${SOURCES[@]}" -o "$OUT/rtf_reader_fuzzer" $(pkg-config --libs Qt6Core Qt6Gui)
echo "$OUT/rtf_reader_fuzzer"

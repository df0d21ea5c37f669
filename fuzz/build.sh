#!/usr/bin/env bash
# Builds the RTF reader's libFuzzer target with clang (not part of the tests).
#   fuzz/build.sh && fuzz/run.sh [seconds]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
OUT="${PIPECALC_FUZZ_DIR:-$ROOT/build-fuzz}"
CXX="${CXX_FUZZ:-clang++-14}"
mkdir -p "$OUT"
SOURCES=(
  "$ROOT"/src/richtext/CodePage.cpp
  "$ROOT"/src/richtext/RtfTokenizer.cpp
  "$ROOT"/src/richtext/RtfContent.cpp
  "$ROOT"/src/richtext/RtfDocumentAssembler.cpp
  "$ROOT"/src/richtext/RtfReader.cpp
  "$ROOT"/src/richtext/RtfWriter.cpp
  "$ROOT"/fuzz/RtfReaderFuzzer.cpp
)
# shellcheck disable=SC2046
"$CXX" -std=c++17 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$ROOT/src" $(pkg-config --cflags Qt6Core Qt6Gui) \
  "${SOURCES[@]}" -o "$OUT/rtf_reader_fuzzer" $(pkg-config --libs Qt6Core Qt6Gui)
echo "$OUT/rtf_reader_fuzzer"

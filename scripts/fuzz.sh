#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, address and undefined sanitizers) and runs
# the text fuzzer for a bounded time.
#   scripts/fuzz.sh [seconds]    default 60
# The corpus grows in build/fuzz/corpus/text and is reused by later runs; a crash
# leaves its input in build/fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j 2 --target text_fuzzer

corpus=build/fuzz/corpus/text
artifacts=build/fuzz/artifacts
mkdir -p "$corpus" "$artifacts"
build/fuzz/fuzz/text/text_fuzzer -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus"

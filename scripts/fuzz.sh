#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, address and undefined sanitizers) and runs
# one of them for a bounded time.
#   scripts/fuzz.sh [seconds] [target]    default 60 seconds of the text fuzzer;
#                                         target: text or compare
# The corpus grows in build/fuzz/corpus/<target> and is reused by later runs; a
# crash leaves its input in build/fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
target=${2:-text}
case "$target" in
  text | compare) ;;
  *) echo "unknown fuzz target: $target (text or compare)" >&2; exit 2 ;;
esac

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j 2 --target "${target}_fuzzer"

corpus=build/fuzz/corpus/$target
artifacts=build/fuzz/artifacts
mkdir -p "$corpus" "$artifacts"
"build/fuzz/fuzz/$target/${target}_fuzzer" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus"

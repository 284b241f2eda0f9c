#!/usr/bin/env bash
# Builds the libFuzzer targets (the "fuzz" preset: clang, address and undefined
# sanitizers, the libraries instrumented for coverage) and runs them.
#   scripts/fuzz.sh [seconds] [target]   one target, 60 seconds of text by default; its
#                                        corpus grows in build/fuzz/corpus/<target>,
#                                        starting from the seeds in fuzz/corpus/<target>
#   scripts/fuzz.sh --check [seconds]    every target for a few seconds (10 by default)
#                                        on its seeds; the test command runs it on the
#                                        sanitizer build it has just made and tested
#                                        (TQ3_FUZZ_PRESET=asan), so nothing is built twice
#   scripts/fuzz.sh --merge target       the seeds and the grown corpus minimised
#                                        together into fuzz/corpus/<target>
# Targets: text compare cstring reg_text reg_roundtrip paste find view_input controls_input. A crash leaves its input in
# build/<preset>/artifacts/ and the run fails.
set -euo pipefail
cd "$(dirname "$0")/.."

# The preset whose build holds the targets: "fuzz" (optimised, no tests) unless the
# caller names another that builds them ("asan" does).
preset=${TQ3_FUZZ_PRESET:-fuzz}
out=build/$preset

declare -A binary=(
  [text]=fuzz/text/text_fuzzer
  [compare]=fuzz/compare/compare_fuzzer
  [cstring]=fuzz/core/cstring_fuzzer
  [reg_text]=fuzz/tq3reg/reg_text_fuzzer
  [reg_roundtrip]=fuzz/tq3reg/reg_roundtrip_fuzzer
  [paste]=fuzz/paste/paste_fuzzer
  [find]=fuzz/find/find_fuzzer
  [view_input]=fuzz/view_input/view_input_fuzzer
  [controls_input]=fuzz/controls_input/controls_input_fuzzer
)
declare -A max_len=([text]=4096 [compare]=4096 [cstring]=512 [reg_text]=4096 [reg_roundtrip]=4096 [paste]=8192 [find]=2048 [view_input]=1024 [controls_input]=1024)
targets=(text compare cstring reg_text reg_roundtrip paste find view_input controls_input)

build() {
  cmake --preset "$preset" >/dev/null
  local names=()
  for t in "$@"; do names+=("$(basename "${binary[$t]}")"); done
  cmake --build --preset "$preset" -j 2 --target "${names[@]}"
}

# run TARGET SECONDS CORPUS: new inputs go into CORPUS, the seeds are read only.
run() {
  local t=$1 seconds=$2 corpus=$3
  mkdir -p "$corpus" "$out/artifacts"
  "$out/${binary[$t]}" -max_total_time="$seconds" -max_len="${max_len[$t]}" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$out/artifacts/" \
    "$corpus" "fuzz/corpus/$t"
}

known() {
  [ -n "${binary[$1]:-}" ] || { echo "unknown fuzz target: $1 (${targets[*]})" >&2; exit 2; }
}

case "${1:-}" in
  --check)
    seconds=${2:-10}
    build "${targets[@]}"
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    for t in "${targets[@]}"; do
      if ! run "$t" "$seconds" "$scratch/$t" >"$scratch/$t.log" 2>&1; then
        tail -n 40 "$scratch/$t.log" >&2
        echo "fuzz target $t failed" >&2
        exit 1
      fi
      echo "$t: $(grep -E '^#[0-9]+[[:space:]]+DONE' "$scratch/$t.log" | tr -s '\t ' ' ')"
    done
    ;;
  --merge)
    t=${2:?"--merge needs a target"}
    known "$t"
    build "$t"
    merged=$(mktemp -d)
    trap 'rm -rf "$merged"' EXIT
    "$out/${binary[$t]}" -merge=1 -max_len="${max_len[$t]}" -timeout=10 "$merged" "fuzz/corpus/$t" \
      "$out/corpus/$t"
    rm -f "fuzz/corpus/$t"/*
    cp "$merged"/* "fuzz/corpus/$t/"
    ;;
  *)
    seconds=${1:-60}
    t=${2:-text}
    known "$t"
    build "$t"
    run "$t" "$seconds" "$out/corpus/$t"
    ;;
esac

#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test: the optimised
# build (g++; its tests include installing the package and building a host against
# it), then the sanitizer build (clang, so both compilers' warnings are held to),
# then that build's fuzz targets for a few seconds each on their seeds.
#   scripts/test.sh            all of it
#   scripts/test.sh --quick    the optimised build's tests only
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

jobs=$(nproc)
run_preset() {
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1" -j "$jobs"
  ctest --preset "$1" -j "$jobs"
}

run_preset default
if [ "${1:-}" != "--quick" ]; then
  run_preset asan
  TQ3_FUZZ_PRESET=asan bash scripts/fuzz.sh --check
fi

#!/usr/bin/env bash
# Which lines of the library the tests run: a measure for pruning and merging tests
# without losing what they reach.
#   scripts/coverage.sh [-B DIR] [-R REGEX] OUT      build with gcc --coverage, run the
#                                                    tests (those matching REGEX), and
#                                                    write the covered lines to OUT
#   scripts/coverage.sh -n OUT                       only read what the last run left
#   scripts/coverage.sh -c BEFORE AFTER              lines covered in BEFORE, not in AFTER
# OUT holds one "file:line" per covered line of product code (tests, benchmarks, fuzz
# targets and the demo are left out), sorted, so two runs compare with comm(1).
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/coverage regex="" run=1
usage() { sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }
if [ "${1:-}" = -c ]; then
  [ $# -eq 3 ] || usage
  lost=$(LC_ALL=C comm -23 "$2" "$3")
  echo "covered before: $(wc -l < "$2"), after: $(wc -l < "$3"), lost: $(printf '%s' "$lost" | grep -c . || true)"
  [ -z "$lost" ] || printf '%s\n' "$lost"
  exit 0
fi
while getopts "B:R:nh" opt; do
  case "$opt" in B) build=$OPTARG ;; R) regex=$OPTARG ;; n) run=0 ;; *) usage ;; esac
done
shift $((OPTIND - 1))
[ $# -eq 1 ] || usage
out=$(realpath -m "$1")

if [ "$run" = 1 ]; then
  # -O0 so that a covered line is the line written, not what inlining left of it.
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTQ3_BUILD_BENCH=OFF \
    -DCMAKE_C_FLAGS="--coverage -O0" -DCMAKE_CXX_FLAGS="--coverage -O0" \
    -DCMAKE_EXE_LINKER_FLAGS=--coverage -DCMAKE_SHARED_LINKER_FLAGS=--coverage >/dev/null
  cmake --build "$build" -j "$(nproc)" >/dev/null
  find "$build" -name '*.gcda' -delete
  # The install tests build a consumer without the coverage flags; they test the package, not lines.
  if ! ctest --test-dir "$build" -j "$(nproc)" -E "^install[.]" ${regex:+-R "$regex"} >"$build/ctest.log" 2>&1; then
    echo "some tests failed (the lines they reached still count):" >&2
    sed -n '/tests FAILED:/,$p' "$build/ctest.log" >&2
  fi
fi

python3 - "$build" "$out" <<'EOF'
import gzip, json, os, subprocess, sys
build, out = sys.argv[1], sys.argv[2]
root = os.getcwd()
skip = ('tests/', 'bench/', 'fuzz/', 'demo/', 'build')
gcdas = [os.path.join(d, f) for d, _, fs in os.walk(build) for f in fs if f.endswith('.gcda')]
covered = set()
for i in range(0, len(gcdas), 200):
    batch = gcdas[i:i + 200]
    text = subprocess.run(['gcov', '--json-format', '--stdout'] + batch, capture_output=True,
                          text=True, cwd=root).stdout
    for doc in text.splitlines():
        if not doc.strip():
            continue
        data = json.loads(doc)
        cwd = data.get('current_working_directory', root)
        for f in data.get('files', []):
            path = os.path.relpath(os.path.realpath(os.path.join(cwd, f['file'])), root)
            if path.startswith('..') or path.startswith(skip):
                continue
            for line in f['lines']:
                if line['count'] > 0:
                    covered.add(f"{path}:{line['line_number']}")
with open(out, 'w') as f:
    f.writelines(c + '\n' for c in sorted(covered))
folders = {}
for c in covered:
    top = c.split('/')[0] if '/' in c else '.'
    folders[top] = folders.get(top, 0) + 1
for top in sorted(folders):
    print(f'{top:<14} {folders[top]:>7} lines covered')
print(f'{len(covered)} lines covered in all, written to {out}')
EOF

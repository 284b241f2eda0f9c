#!/usr/bin/env bash
# Mutation testing: how many small faults planted in a folder's code its tests catch.
#   scripts/mutants.sh [options] SUBJECT...      SUBJECT: a source folder (model, text,
#                                                headers, view, settings, find, framework/window)
#   -n COUNT    viable mutants per subject (15)
#   -s SEED     sampling seed (1); the same seed on the same sources gives the same mutants
#   -P PRESET   configure preset the mutants are built with (default); "asan" also
#               kills a mutant that only reads or writes out of bounds
#   -B DIR      build directory (build/mutants, build/mutants-PRESET for another preset)
#   -o FILE     report (DIR/mutants-report.txt)
#   -t TESTS    test folders (tests/...) or test programs to run instead of the subject's own
#   -T SECONDS  time limit of one test program (60); a mutant that exceeds it is killed
# A mutant is one change to one line of one of the subject's .cpp files: a comparison
# flipped (== and != swapped, < <= > >= moved across their boundary), a "+ 1" or
# "- 1" dropped, a condition negated, a statement removed, or a literal return value
# changed. Each is compiled and the subject's test programs run against it: a failing,
# crashing or hanging test kills it. One that does not compile is "not viable" and
# the next site in the sample takes its place. The sources are restored after every
# mutant and on any exit, and checked against git at the end.
set -euo pipefail
cd "$(dirname "$0")/.."

count=15 seed=1 preset=default build="" report="" tests_override="" limit=60
usage() { sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }
while getopts "n:s:P:B:o:t:T:h" opt; do
  case "$opt" in
    n) count=$OPTARG ;; s) seed=$OPTARG ;; P) preset=$OPTARG ;; B) build=$OPTARG ;; o) report=$OPTARG ;;
    t) tests_override=$OPTARG ;; T) limit=$OPTARG ;; *) usage ;;
  esac
done
shift $((OPTIND - 1))
[ $# -ge 1 ] || usage
[ "$preset" = default ] && build=${build:-build/mutants} || build=${build:-build/mutants-$preset}
report=${report:-$build/mutants-report.txt}

# The test folders that exercise each source folder.
test_folders() {
  case "$1" in
    model) echo tests/model tests/table_view ;;
    text) echo tests/text ;;
    headers) echo tests/headers ;;
    view) echo tests/table_view ;;
    settings) echo tests/settings ;;
    find) echo tests/find ;;
    framework/window) echo tests/framework/window tests/framework/app ;;
    *) echo "no tests known for $1; name them with -t" >&2; return 1 ;;
  esac
}

# Test programs as build-relative paths: those a folder's list declares, or one named.
test_programs() {
  local t
  for t in "$@"; do
    if [ -f "$t/CMakeLists.txt" ]; then
      sed -n 's/^tq3_add_gtest(\([A-Za-z0-9_]*\).*/\1/p' "$t/CMakeLists.txt" | sed "s|^|$t/|"
    else
      grep -o "^build tests/[^:]*/$t:" "$build/build.ninja" | sed 's/^build //; s/:$//'
    fi
  done
}

# Nothing stays mutated: every exit puts the mutated file back.
work=$(mktemp -d)
mutated=""
restore() {
  if [ -n "$mutated" ]; then
    cp "$work/original" "$mutated"
    mutated=""
  fi
}
subjects=("$@")
git diff -- "${subjects[@]}" >"$work/diff-before"
finish() {
  restore
  git diff -- "${subjects[@]}" >"$work/diff-after"
  cmp -s "$work/diff-before" "$work/diff-after" || echo "WARNING: the sources differ from before the run" >&2
  rm -rf "$work"
}
trap finish EXIT
trap 'exit 130' INT TERM HUP

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
[ -f "$build/build.ninja" ] || cmake --preset "$preset" -B "$build" "${launcher[@]}" >/dev/null
# Leaks are not what a mutant is judged by: a test that ends early on purpose
# would otherwise count as a kill.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
build=$(cd "$build" && pwd)
exec 9>"$build/.mutants.lock"
flock -n 9 || { echo "another mutation run uses $build" >&2; exit 1; }

# Runs the programs, first failure wins; sets `verdict` (killed, timeout, survived)
# and `detail` (which program and test).
run_tests() {
  local program rc
  verdict=survived detail=""
  for program in "${programs[@]}"; do
    rc=0
    # The trailing exit keeps a crash's notice in the log rather than on the terminal.
    (cd "$build/$(dirname "$program")" && TQ3_TEST_OUTPUT="$build/test-output" \
      timeout -k 5 "$limit" "./$(basename "$program")" --gtest_brief=1 --gtest_fail_fast; exit $?) \
      >"$work/test.log" 2>&1 || rc=$?
    [ "$rc" -eq 0 ] && continue
    if [ "$rc" -eq 124 ] || [ "$rc" -eq 137 ]; then
      verdict=timeout detail="$(basename "$program") ran past ${limit}s"
    elif [ "$rc" -gt 128 ]; then
      verdict=killed detail="$(basename "$program") crashed (signal $((rc - 128)))"
    else
      verdict=killed
      detail="$(basename "$program"): $(grep -m1 -o '\[  FAILED  \] [^ ,]*' "$work/test.log" |
        sed 's/.*\] //' || echo "exit status $rc")"
    fi
    return
  done
}

: >"$report"
for subject in "$@"; do
  subject=${subject%/}
  [ -d "$subject" ] || { echo "no folder $subject" >&2; exit 2; }
  read -ra folders <<<"${tests_override:-$(test_folders "$subject")}"
  mapfile -t programs < <(test_programs "${folders[@]}")
  [ ${#programs[@]} -gt 0 ] || { echo "no test programs for $subject" >&2; exit 2; }
  ninja -C "$build" -j2 "${programs[@]}" >"$work/build.log" || { cat "$work/build.log"; exit 1; }
  run_tests
  [ "$verdict" = survived ] || { echo "$subject: the tests fail unmutated ($detail)" >&2; exit 1; }

  # Only sources these programs are built from can be caught by them.
  ninja -C "$build" -t commands "${programs[@]}" >"$work/commands"
  mapfile -t files < <(git ls-files -- "$subject" | grep '\.cpp$' | LC_ALL=C sort |
    while read -r f; do grep -qF -- "-c $PWD/$f" "$work/commands" && echo "$f"; done)
  python3 scripts/mutant_sites.py list "$seed" "${files[@]}" >"$work/sites"

  : >"$work/results"
  viable=0 unviable=0
  echo "$subject/: $(wc -l <"$work/sites") sites in ${#files[@]} files"
  while [ "$viable" -lt "$count" ] && IFS=$'\t' read -r -u 3 file line kind before after; do
    cp "$file" "$work/original"
    mutated=$file
    python3 scripts/mutant_sites.py apply "$file" "$line" "$before" "$after"
    # A mutated object never comes back, so it bypasses the shared compiler cache.
    if CCACHE_DISABLE=1 ninja -C "$build" -j2 "${programs[@]}" >"$work/build.log" 2>&1; then
      viable=$((viable + 1))
      run_tests
    else
      unviable=$((unviable + 1))
      verdict="not-viable" detail="$(grep -m1 'error:' "$work/build.log" | sed 's/.*error: //' || true)"
    fi
    restore
    ninja -C "$build" "$PWD/$file^" >/dev/null  # the original object again (cached)
    printf '%s\t%s:%s\t%s\t%s\t%s\t%s\n' "$verdict" "$file" "$line" "$kind" "$before" "$after" \
      "$detail" >>"$work/results"
    echo "  $((viable + unviable)). $verdict  $file:$line  $kind  $detail"
  done 3<"$work/sites"
  ninja -C "$build" -j2 "${programs[@]}" >/dev/null

  n() { grep -c "^$1	" "$work/results" || true; }
  killed=$(n killed) timeouts=$(n timeout) survived=$(n survived)
  score=$(((killed + timeouts) * 100 / (viable > 0 ? viable : 1)))
  summary="$subject/: $viable mutants, $((killed + timeouts)) killed ($timeouts by timeout), $survived survived, $unviable not viable; score $score%"
  {
    echo "== $subject/ (seed $seed, preset $preset, commit $(git rev-parse --short HEAD))"
    echo "tests: ${programs[*]##*/}"
    echo
    awk -F'\t' '{ sub(/^ +/, "", $4); sub(/^ +/, "", $5)
                  printf "%-10s %s  %s\n    - %s\n    + %s\n", $1, $2, $3, $4, $5
                  if ($6 != "") printf "    (%s)\n", $6 }' "$work/results"
    echo
    echo "survivors:"
    awk -F'\t' '$1 == "survived" { sub(/^ +/, "", $4); sub(/^ +/, "", $5)
                                   printf "  %s  %s: %s  ->  %s\n", $2, $3, $4, $5; any = 1 }
                END { if (!any) print "  none" }' "$work/results"
    echo
    echo "$summary"
    echo
  } >>"$report"
  echo "$summary"
done
echo "report: $report"

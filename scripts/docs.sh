#!/usr/bin/env bash
# Builds the API reference from the comments of the installed headers with doxygen
# (docs/Doxyfile) into build/docs/html, or OUTPUT/html, and fails on any warning:
# an undocumented class or member, a reference that leads nowhere, a comment
# doxygen cannot read. The warnings are printed and kept in OUTPUT/warnings.log.
#   scripts/docs.sh [OUTPUT]
# Exits 77, building nothing, when doxygen is not installed (scripts/setup.sh
# installs it), so that a test can tell a missing tool from a failed build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build/docs}

if ! command -v doxygen >/dev/null 2>&1; then
  echo "docs.sh: doxygen is not installed (scripts/setup.sh installs it)" >&2
  exit 77
fi
dot=YES
if ! command -v dot >/dev/null 2>&1; then
  echo "docs.sh: graphviz's dot is not installed; the class diagrams are left out" >&2
  dot=NO
fi

# The reference covers what a host includes: the two installed headers and the
# library headers they pull in, framework/ left out (docs/reference.md says why).
# A header that joins them without joining docs/Doxyfile's INPUT fails the build.
python3 - "$root" <<'PY' || exit 1
import os, re, sys
root = sys.argv[1]
seen, todo = set(), ["include/tq3view/tq3view.h", "include/tq3view/testing.h"]
while todo:
    header = todo.pop()
    if header in seen or header.startswith("framework/"):
        continue
    seen.add(header)
    with open(os.path.join(root, header), encoding="utf-8") as f:
        for name in re.findall(r'^#include "([^"]+)"', f.read(), re.M):
            if os.path.isfile(os.path.join(root, name)):
                todo.append(name)
with open(os.path.join(root, "docs/Doxyfile"), encoding="utf-8") as f:
    listed = set(re.findall(r"([\w/]+\.h)\b", f.read().split("INPUT ", 1)[1].split("\n\n", 1)[0]))
missing, extra = sorted(seen - listed), sorted(listed - seen)
for name in missing:
    print(f"docs.sh: {name} is reached from the installed headers but not in docs/Doxyfile's INPUT", file=sys.stderr)
for name in extra:
    print(f"docs.sh: {name} is in docs/Doxyfile's INPUT but no installed header includes it", file=sys.stderr)
sys.exit(1 if missing or extra else 0)
PY

mkdir -p "$out"
out=$(cd "$out" && pwd)
version=$(sed -n 's/^project(TQ3View VERSION \([0-9][0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
log="$out/warnings.log"
rm -rf "$out/html"
: >"$log"

# The guide's links to the examples lead up out of docs/; in the reference they
# lead from html/ to the source tree (scripts/docs_markdown.py).
TQ3_DOCS_SOURCE_LINK=$(python3 -c 'import os, sys; print(os.path.relpath(sys.argv[1], sys.argv[2]))' "$root" "$out/html")
export TQ3_DOCS_SOURCE_LINK

# Doxygen reads the settings from standard input: the file's, then the ones that
# depend on this run. Relative paths in them are taken from the top of the tree.
cd "$root"
status=0
{
  cat docs/Doxyfile
  printf '%s\n' "PROJECT_NUMBER = $version" "OUTPUT_DIRECTORY = $out" "WARN_LOGFILE = $log" "HAVE_DOT = $dot"
} | doxygen - || status=$?

if [ -s "$log" ]; then
  cat "$log" >&2
  echo "docs.sh: $(grep -c . "$log") warning lines; the reference must build without any" >&2
  exit 1
fi
if [ "$status" -ne 0 ] || [ ! -f "$out/html/index.html" ]; then
  echo "docs.sh: doxygen failed (exit status $status)" >&2
  exit 1
fi
echo "$out/html/index.html"

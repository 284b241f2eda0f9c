#!/usr/bin/env bash
# Shows the demo. Installs what is needed, builds only the demo, and runs it: in a
# window when there is a display and the build can open one; otherwise it plays
# the tour headless and writes the screenshots and report into ./demo-tour/ (or
# the folder given as TQ3_DEMO_OUT), naming the folder at the end.
#   scripts/demo.sh [tq3demo options]
set -euo pipefail
here="$(pwd)"
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target tq3demo -j "${TQ3_JOBS:-$(nproc)}" >/dev/null

demo="build/default/demo/tq3demo"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  status=0
  "$demo" "$@" || status=$?
  # 3: no window could be opened; anything else is the demo's own answer.
  [ "$status" -eq 3 ] || exit "$status"
  echo "No window could be opened; playing the tour headless instead."
fi

out="${TQ3_DEMO_OUT:-$here/demo-tour}"
rm -rf "$out"
# The tour switches languages and saves column widths: it keeps them in a scratch
# store so the user's own settings stay as they were.
settings="$(mktemp -d)"
trap 'rm -rf "$settings"' EXIT
"$demo" --script demo/tour.script --out "$out" --settings-dir "$settings" "$@" >/dev/null
echo "The demo ran headless (no display). Its tour wrote screenshots and a report into:"
echo "  $out/"
ls "$out"

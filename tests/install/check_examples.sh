#!/usr/bin/env bash
# check_examples.sh BUILD_DIR EXAMPLES_DIR WORK_DIR
# Installs the package into a scratch prefix and builds the examples against it as
# a host programmer would: the minimal host through the CMake package and through
# pkg-config, run headless and in a real window (under a virtual X server), and the
# host's own user-interface test, run.
set -euo pipefail
build=$1 examples=$2 work=$3
rm -rf "$work"
mkdir -p "$work"
# Runs a step quietly, showing its output when it fails.
quiet() { "$@" >"$work/step.log" 2>&1 || { cat "$work/step.log"; return 1; }; }
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
libdir=$(find "$prefix" -name 'libtq3view.so' -printf '%h\n' | head -n1)
export LD_LIBRARY_PATH=$libdir
# The examples are held to the project's warnings.
flags="-Wall -Wextra -Werror"
# Settings go to scratch stores in the work folder, never the user's.
export XDG_CONFIG_HOME=$work/config
tq3reg() { "$prefix/bin/tq3reg" --user-store "$XDG_CONFIG_HOME/tq3view/user-registry.db" \
  --machine-store "$XDG_CONFIG_HOME/tq3view/machine-registry.db" "$@"; }
points=$examples/minimal_host/points.tsv

# 1. The minimal host through the CMake package and through pkg-config.
quiet cmake -S "$examples/minimal_host" -B "$work/host-cmake" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_CXX_FLAGS="$flags"
quiet cmake --build "$work/host-cmake"
export PKG_CONFIG_PATH=$libdir/pkgconfig
# shellcheck disable=SC2046,SC2086
c++ $flags -o "$work/minimal_host-pc" "$examples/minimal_host/main.cpp" "$examples/minimal_host/host.cpp" \
  $(pkg-config --cflags --libs tq3view)

# 2. Both run headless: the hooks print the first sheet and the cursor, and the
# host's settings (its start count, the column widths stored on closing) are
# under its own key.
for exe in "$work/host-cmake/minimal_host" "$work/minimal_host-pc"; do
  out=$("$exe" "$points" --headless)
  echo "$out"
  grep -qx 'sheet changed: 0' <<<"$out" || { echo "no sheet report from $exe"; exit 1; }
done
settings=$(tq3reg export 'HKCU\Software\MinimalHost' -o -)
echo "$settings"
grep -q '"Starts"=dword:00000002' <<<"$settings" || { echo "the host's start count is not 2"; exit 1; }
# Each sheet's widths under a section of its own. The shown sheet's columns were
# laid out from their titles; a sheet never shown has none laid out yet (0, which
# the next start lays out from the titles again).
[ "$(grep -c '"ColumnWidth_0000[123]"=dword:' <<<"$settings")" -eq 6 ] \
  || { echo "the widths of both sheets' three columns were not stored"; exit 1; }
shown=$(sed -n '/Info_00000000\]/,/^$/p' <<<"$settings")
[ "$(grep -c '"ColumnWidth_.*=dword:0*[1-9a-f]' <<<"$shown")" -eq 3 ] \
  || { echo "the shown sheet's widths were not stored"; exit 1; }
status=0
"$work/minimal_host-pc" >/dev/null 2>&1 || status=$?
[ "$status" -eq 2 ] || { echo "without a file the host should fail with its usage (2), not $status"; exit 1; }
status=0
"$work/minimal_host-pc" "$work/no-such-file.tsv" --headless 2>"$work/missing.err" || status=$?
[ "$status" -eq 1 ] && grep -q 'cannot read' "$work/missing.err" || { echo "a missing file was not refused"; exit 1; }

# 3. In a real window on a virtual X server: it shows, a screenshot of the display
# has the window's pixels, and closing from outside ends it as the user's close.
if command -v xvfb-run >/dev/null && command -v xdotool >/dev/null && command -v import >/dev/null; then
  cat >"$work/real-window.sh" <<'INNER'
set -euo pipefail
exe=$1 points=$2 shot=$3 log=$4
SDL_VIDEODRIVER=x11 "$exe" "$points" >"$log" 2>&1 &
pid=$!
timeout 20 xdotool search --sync --onlyvisible --pid "$pid" >/dev/null
sleep 1
import -window root "$shot"
kill -TERM "$pid"
wait "$pid"
INNER
  xvfb-run -a -s "-screen 0 800x600x24" bash "$work/real-window.sh" "$work/host-cmake/minimal_host" "$points" \
    "$work/minimal_host.png" "$work/real-window.log" || { cat "$work/real-window.log"; echo "the real window failed"; exit 1; }
  cat "$work/real-window.log"
  grep -qx 'sheet changed: 0' "$work/real-window.log" || { echo "no sheet report from the real window"; exit 1; }
  colours=$(convert "$work/minimal_host.png" -format '%k' info:)
  [ "$colours" -gt 8 ] || { echo "the screenshot of the real window is blank ($colours colours)"; exit 1; }
  echo "real window shown: $work/minimal_host.png ($colours colours)"
fi

# 4. The host's user-interface test on the installed harness.
quiet cmake -S "$examples/host_ui_test" -B "$work/ui-test" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_CXX_FLAGS="$flags"
quiet cmake --build "$work/ui-test"
"$work/ui-test/host_ui_test"

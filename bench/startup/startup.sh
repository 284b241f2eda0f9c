#!/usr/bin/env bash
# startup.sh BUILD_DIR [WORK_DIR] [benchmark flags...]
# Installs the package into a scratch prefix, builds the startup hosts against it
# and runs the startup benchmark on them.
set -euo pipefail
build=$(cd "$1" && pwd)
work=${2:-$build/bench/startup/work}
shift $(( $# >= 2 ? 2 : 1 ))
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
libdir=$(find "$prefix" -name 'libtq3view.so' -printf '%h\n' | head -n1)
cmake -S "$here/host" -B "$work/hosts" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
      -DCMAKE_BUILD_RPATH="$libdir" >/dev/null
cmake --build "$work/hosts" >/dev/null
export XDG_CONFIG_HOME=$work/config
mkdir -p "$XDG_CONFIG_HOME"
"$build/bench/startup/startup_bench" --first-frame="$work/hosts/first_frame" --empty="$work/hosts/empty_program" "$@"

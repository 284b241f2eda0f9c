#!/usr/bin/env bash
# Makes the Debian package of the library from a built tree, with cpack:
#   scripts/package.sh [BUILD_DIR [OUT_DIR]]
# BUILD_DIR defaults to build/default; when it has not been configured yet it is
# configured and built with the default preset first. The package goes to OUT_DIR
# (default: BUILD_DIR/package), and its path is the last line printed.
#
# Install it with:  sudo apt install ./tq3view_<version>_<arch>.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/default}
if [ ! -f "$build/CPackConfig.cmake" ]; then
  [ "$build" = "$root/build/default" ] \
    || { echo "package.sh: $build is not a configured build tree" >&2; exit 2; }
  (cd "$root" && cmake --preset default >/dev/null && cmake --build --preset default)
fi
build=$(cd "$build" && pwd)
out=${2:-$build/package}
mkdir -p "$out"
out=$(cd "$out" && pwd)

# cpack installs the tree into a staging folder of its own (an up-to-date tree
# builds nothing) and asks dpkg-shlibdeps for the runtime dependencies.
rm -f "$out"/tq3view_*.deb
(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1) \
  || { cat "$out/cpack.log" >&2; echo "package.sh: cpack failed" >&2; exit 1; }
rm -rf "$out/_CPack_Packages"
deb=$(find "$out" -maxdepth 1 -name 'tq3view_*.deb' -print -quit)
[ -n "$deb" ] || { cat "$out/cpack.log" >&2; echo "package.sh: no package was made" >&2; exit 1; }
echo "$deb"

#!/usr/bin/env bash
# check_package.sh SOURCE_DIR BUILD_DIR WORK_DIR
# Makes the Debian package from the built tree (scripts/package.sh), checks its
# fields and contents, unpacks it with dpkg -x into a scratch root and builds the
# minimal host against what it holds, which then runs headless.
set -euo pipefail
src=$1 build=$2 work=$3
rm -rf "$work"
mkdir -p "$work"
# Runs a step quietly, showing its output when it fails.
quiet() { "$@" >"$work/step.log" 2>&1 || { cat "$work/step.log"; return 1; }; }
mkdir -p "$work"
deb=$(bash "$src/scripts/package.sh" "$build" "$work" | tail -n1)
dpkg-deb --info "$deb"

# Runtime dependencies as dpkg-shlibdeps found them, and the headers' own.
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libc6 libstdc++6 libfreetype6 libfontconfig1 libicu libsqlite3-0 libpng16-16 libpixman-1-0 \
           libsdl2 libpixman-1-dev; do
  grep -q "\b$dep" <<<"$depends" || { echo "the package does not depend on $dep"; exit 1; }
done

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in ./usr/lib/libtq3view.so.0 ./usr/lib/libtq3framework.so.0 ./usr/lib/libtq3view.so \
            ./usr/lib/libtq3sdl.so ./usr/lib/libtq3testing.a ./usr/bin/tq3reg \
            ./usr/lib/tq3view/libTQ3VwEnu.so ./usr/lib/tq3view/libTQ3VwJpn.so ./usr/lib/tq3view/libTQ3VwChs.so \
            ./usr/lib/tq3view/libTQ3VwCht.so ./usr/lib/tq3view/libTQ3VwKor.so \
            ./usr/include/tq3view/tq3view.h ./usr/include/tq3view/testing.h \
            ./usr/include/tq3view/view/table_view.h ./usr/lib/cmake/TQ3View/TQ3ViewConfig.cmake \
            ./usr/lib/pkgconfig/tq3view.pc ./usr/lib/pkgconfig/tq3testing.pc; do
  grep -qx -- "$file" <<<"$contents" || { echo "the package lacks $file"; exit 1; }
done
if grep -v '^\./usr/' <<<"$contents" | grep -qv '^\./$\|^\./usr/$'; then
  echo "the package puts files outside /usr:"; grep -v '^\./usr/' <<<"$contents"; exit 1
fi

# Unpacked into a scratch root, it builds the minimal host through the CMake
# package, and the host and the settings tool run from there.
root=$work/root
dpkg -x "$deb" "$root"
quiet cmake -S "$src/examples/minimal_host" -B "$work/host" -G Ninja -DCMAKE_PREFIX_PATH="$root/usr" \
  -DCMAKE_CXX_FLAGS="-Wall -Wextra -Werror"
quiet cmake --build "$work/host"
export LD_LIBRARY_PATH=$root/usr/lib XDG_CONFIG_HOME=$work/config
# The host runs on the unpacked libraries, not on the build's.
libraries=$(ldd "$work/host/minimal_host")
grep -q "$root/usr/lib/libtq3view.so.0" <<<"$libraries" \
  || { echo "the host does not load the unpacked library"; echo "$libraries"; exit 1; }
out=$("$work/host/minimal_host" "$src/examples/minimal_host/points.tsv" --headless)
echo "$out"
grep -qx 'sheet changed: 0' <<<"$out" || { echo "the host built against the package did not run"; exit 1; }
settings=$("$root/usr/bin/tq3reg" --user-store "$XDG_CONFIG_HOME/tq3view/user-registry.db" \
  --machine-store "$XDG_CONFIG_HOME/tq3view/machine-registry.db" list 'HKCU\Software\MinimalHost')
grep -q WidthOfColumns <<<"$settings" || { echo "tq3reg from the package does not show the host's settings"; exit 1; }
echo "package $(basename "$deb") unpacked and a host built against it"

#!/usr/bin/env bash
# check_install.sh BUILD_DIR CONSUMER_SOURCE WORK_DIR
set -euo pipefail
build=$1 consumer=$2 work=$3
rm -rf "$work"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

libdir=$(find "$prefix" -name 'libtq3view.so' -printf '%h\n' | head -n1)
echo "installed libraries in $libdir"

# The plain names of the exported free functions. Each listing is read once: a
# `grep -q` that ends a pipe early would fail the pipe under pipefail.
view_exports=$(nm -D --defined-only "$libdir/libtq3view.so")
for fn in DivideString GetPartsOfTabSeparatedString SetPartsOfTabSeparatedString InsertNumString \
          SearchPartialString GetDLLModuleHandle GetSystemLogFont GetClipboardText SetClipboardText \
          MakeRegistryKeyName VALMExSetLanguage \
          GetVALMExDLLString GetLanguageRegistry SetLanguageRegistry GetLanguageListRegistry \
          IsLanguageListRegistry VALMExMessageBox CanOpenRegistory VALMExReadProfileInt VALMExWriteProfileInt; do
  grep -qw "$fn" <<<"$view_exports" || { echo "missing export: $fn"; exit 1; }
done
framework_exports=$(nm -D --defined-only "$libdir/libtq3framework.so")
for fn in SetRect SetRectEmpty CopyRect IsRectEmpty PtInRect IntersectRect UnionRect SubtractRect \
          OffsetRect InflateRect EqualRect; do
  grep -qw "$fn" <<<"$framework_exports" || { echo "missing export: $fn"; exit 1; }
done
for fn in RegOpenKeyExW RegCreateKeyExW RegQueryValueExW RegSetValueExW RegEnumKeyExW RegEnumValueW \
          RegQueryInfoKeyW RegDeleteKeyW RegDeleteValueW RegCloseKey; do
  grep -qw "$fn" <<<"$framework_exports" || { echo "missing export: $fn"; exit 1; }
done
for fn in LoadLibraryW FreeLibrary GetModuleHandleW FindResourceW LoadStringW LoadBitmapW MessageBoxW LoadIconW; do
  grep -qw "$fn" <<<"$framework_exports" || { echo "missing export: $fn"; exit 1; }
done
# A build with the interactive backend installs its module beside the framework,
# where the framework opens it at run time, and its header, for hosts that want
# the class itself. The framework does not link the display libraries: a headless
# host never loads them.
if [ -e "$libdir/libtq3sdl.so.0" ]; then
  grep -qw tq3_sdl_install <<<"$(nm -D --defined-only "$libdir/libtq3sdl.so.0")" \
    || { echo "the interactive backend's module has no entry"; exit 1; }
  [ -f "$prefix/include/tq3view/framework/backends/sdl/sdl_backend.h" ] \
    || { echo "interactive backend built but its header is not installed"; exit 1; }
  [ ! -e "$prefix/include/tq3view/framework/backends/sdl/sdl_input_map.h" ] \
    || { echo "the backend's private key tables were installed"; exit 1; }
fi
if grep -q 'NEEDED.*libSDL2' <<<"$(readelf -d "$libdir/libtq3framework.so")"; then
  echo "libtq3framework links the display libraries; they belong to the interactive backend's module"
  exit 1
fi
# The language libraries sit in a tq3view/ folder beside the view library.
for lang in Enu Jpn Chs Cht Kor; do
  grep -qw tq3_resource_table <<<"$(nm -D --defined-only "$libdir/tq3view/libTQ3Vw$lang.so")" \
    || { echo "missing language library: libTQ3Vw$lang.so"; exit 1; }
done
# The settings tool is installed and runs against the installed libraries.
"$prefix/bin/tq3reg" --help >/dev/null || { echo "tq3reg not installed or not runnable"; exit 1; }
grep -q 'SONAME.*libtq3view.so.0' <<<"$(readelf -d "$libdir/libtq3view.so")" || { echo "no SONAME on libtq3view"; exit 1; }
grep -q 'SONAME.*libtq3framework.so.0' <<<"$(readelf -d "$libdir/libtq3framework.so")" || { echo "no SONAME on libtq3framework"; exit 1; }

# 1. CMake package.
cmake -S "$consumer" -B "$work/cmake-build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/cmake-build" >/dev/null
LD_LIBRARY_PATH="$libdir" "$work/cmake-build/consumer"

# 2. pkg-config.
export PKG_CONFIG_PATH="$libdir/pkgconfig"
mkdir -p "$work/pc-build"
# shellcheck disable=SC2046
c++ -o "$work/pc-build/consumer" "$consumer/main.cpp" $(pkg-config --cflags --libs tq3view)
LD_LIBRARY_PATH="$libdir" "$work/pc-build/consumer"
echo "consumer built and ran both ways"

# Without the language libraries beside it the library still runs, with empty
# strings, and says once on the standard error stream which folder it searched.
mv "$libdir/tq3view" "$libdir/tq3view.away"
status=0
LD_LIBRARY_PATH="$libdir" "$work/pc-build/consumer" --no-language-libraries 2>"$work/no-languages.err" || status=$?
mv "$libdir/tq3view.away" "$libdir/tq3view"
cat "$work/no-languages.err"
[ "$status" -eq 0 ] || { echo "the consumer failed without its language libraries"; exit 1; }
[ "$(grep -cF "could not be loaded from $libdir/tq3view or $libdir;" "$work/no-languages.err")" -eq 1 ] \
  || { echo "expected one message naming $libdir on the standard error stream"; exit 1; }

# 3. A host that tests its own user interface with the installed harness, through
# the CMake package and through pkg-config.
consumer_app=$(dirname "$consumer")/consumer_app
cmake -S "$consumer_app" -B "$work/app-build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/app-build" >/dev/null
LD_LIBRARY_PATH="$libdir" "$work/app-build/consumer_app"
# shellcheck disable=SC2046
c++ -o "$work/pc-build/consumer_app" "$consumer_app/main.cpp" $(pkg-config --cflags --libs tq3testing)
LD_LIBRARY_PATH="$libdir" "$work/pc-build/consumer_app"

# 4. A host that fills a table view of three sheets and reads it back.
consumer_view=$(dirname "$consumer")/consumer_view
cmake -S "$consumer_view" -B "$work/view-build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/view-build" >/dev/null
LD_LIBRARY_PATH="$libdir" "$work/view-build/consumer_view"
# The same without the language libraries: the view runs on, and the cells it
# changes do not send it looking for them on disk each time.
mv "$libdir/tq3view" "$libdir/tq3view.away"
status=0
LD_LIBRARY_PATH="$libdir" "$work/view-build/consumer_view" --no-language-libraries 2>/dev/null || status=$?
mv "$libdir/tq3view.away" "$libdir/tq3view"
[ "$status" -eq 0 ] || { echo "the view failed without its language libraries"; exit 1; }

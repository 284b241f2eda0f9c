#!/usr/bin/env bash
# Installs the Debian packages that building and testing need. Idempotent: when
# everything is present it prints nothing and touches nothing.
set -euo pipefail

packages=(
  # toolchain
  cmake ninja-build g++ clang pkg-config
  # clang's sanitizer and libFuzzer runtimes (only recommended by clang, so not
  # installed with it here)
  libclang-rt-14-dev
  # libraries the framework is built on
  libicu-dev libpixman-1-dev libfreetype-dev libfontconfig-dev libsqlite3-dev libpng-dev libsdl2-dev libx11-dev
  # tests and benchmarks (python3 runs the include checker and picks the sites of
  # scripts/mutants.sh)
  libgtest-dev libgmock-dev libbenchmark-dev python3
  # fonts the text rendering and its tests rely on (Latin, Japanese, Chinese and Korean)
  fonts-dejavu-core fonts-ipafont-gothic fonts-wqy-microhei
  # the time zone and country tables the demo shows
  tzdata
  # the tests of the real window: a virtual X server, synthetic input, a clipboard client, screenshots,
  # and a small window manager that reparents and decorates, for the native windows' tests
  xvfb xdotool xclip x11-apps x11-utils imagemagick openbox
  # the API reference (scripts/docs.sh) and its class diagrams
  doxygen graphviz
  # the Debian package (scripts/package.sh): dpkg-shlibdeps finds its dependencies
  dpkg-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null

#!/usr/bin/env bash
# Installs the Debian packages the build needs (when missing) and builds
# everything into ./build. Sourced by run-program.sh and run-tests.sh.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

packages=(cmake make g++ libgtest-dev qt6-base-dev qt6-charts-dev libxlsxwriter-dev libzip-dev
          libgl-dev qt6-svg-dev locales clang libclang-rt-14-dev xdg-utils xvfb xauth
          nlohmann-json3-dev pandoc desktop-file-utils libxml2-utils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A locale with a decimal comma, for the tests of locale-aware number entry.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "note: no German locale; its tests will be skipped"
fi

cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$top/build" -j "$(nproc)"

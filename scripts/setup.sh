#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (when missing)
# and builds everything into ./build with the preset named by KORVEN_PRESET
# (default "dev"); further arguments go to the configure step. Run by
# run-program.sh and run-tests.sh.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Every Debian package the build, the program and the tests need, installed
# without their recommendations: scripts/check-packages.sh compares this list
# with what the build finds.
packages=(
  cmake make g++                          # the build
  qt6-base-dev qt6-charts-dev qt6-svg-dev # Qt 6 Widgets, Charts, Svg
  libqt6opengl6-dev libgl-dev             # needed by the Qt 6 Charts configuration
  libxlsxwriter-dev                       # the spreadsheet export
  libgtest-dev                            # unit tests
  clang libclang-rt-14-dev                # the fuzzer
  locales                                 # the decimal-comma locale of the entry tests
  xdg-utils xvfb xauth                    # opening documents; the program without a display
  libzip-dev                              # numbers of the workbook rewritten; reading it back in the tests
  nlohmann-json3-dev                      # korven-run's JSON output
  libnlopt-cxx-dev                        # the solver of the load-test calibration
  pandoc                                  # the help documents, Markdown to HTML
  desktop-file-utils libxml2-utils        # checks of the installed desktop entry and file type
  ccache                                  # compiler cache for rebuilds
  libboost-dev                            # quantiles of the distributions of the studies
  pybind11-dev python3-pybind11 python3-dev # the Python module
  python3-numpy python3-pytest python3-matplotlib # its arrays, its tests, its example's plots
)

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

source "$top/scripts/compiler-cache.sh"
cd "$top"
cmake --preset "${KORVEN_PRESET:-dev}" "$@"
cmake --build build -j "$(nproc)"

# The Python module into the system's interpreter (/usr/local/lib/python3.X/
# dist-packages), so that python3 imports korven without PYTHONPATH.
if [ -f build/python/korven/__init__.py ]; then
  cmake --install build --component python
  # A python3 ahead of the system's on PATH (pyenv, say) of the same version
  # is shown the system's packages: the module and the NumPy it needs.
  system_python=/usr/bin/python3
  if command -v python3 > /dev/null && ! python3 -c 'import korven' 2> /dev/null &&
     [ "$(python3 -c 'import sys; print(sys.version_info[:2])')" = \
       "$("$system_python" -c 'import sys; print(sys.version_info[:2])')" ]; then
    site="$(python3 -c 'import sysconfig; print(sysconfig.get_path("platlib"))')"
    "$system_python" -c 'import sys; print("\n".join(p for p in sys.path if p.endswith("-packages")))' \
      > "$site/korven-system-packages.pth"
    echo "python3 ($(command -v python3)) now also reads the system's packages: $site/korven-system-packages.pth"
  fi
fi

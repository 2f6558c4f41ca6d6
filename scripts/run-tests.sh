#!/usr/bin/env bash
# Builds everything and runs the whole test suite: the bounded fuzz run of
# the engine first, then every unit and window test.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$top/scripts/setup.sh"
bash "$top/scripts/fuzz.sh"
export QT_QPA_PLATFORM=offscreen
cd "$top/build"
ctest --output-on-failure -j "$(nproc)"

#!/usr/bin/env bash
# Builds everything and runs the whole test suite, the bounded fuzz run included.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$top/scripts/setup.sh"
export QT_QPA_PLATFORM=offscreen
cd "$top/build"
ctest --output-on-failure -j "$(nproc)"
bash "$top/scripts/fuzz.sh"

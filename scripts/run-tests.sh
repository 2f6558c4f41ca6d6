#!/usr/bin/env bash
# Builds everything and runs the whole test suite: the check that the set-up
# script names every package the build uses, the bounded fuzz run of the
# engine, every unit and window test, and then the whole suite again built
# with AddressSanitizer and UndefinedBehaviorSanitizer (LeakSanitizer on)
# in build-asan/, where any report fails the run, and the in-memory engine
# on many threads under ThreadSanitizer in build-tsan/. Ends with the time
# each stage took.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$top"
export QT_QPA_PLATFORM=offscreen

timings=()
stage() {
  local name="$1" start=$SECONDS
  shift
  echo "==== $name"
  "$@"
  timings+=("$(printf '%-34s %5d s' "$name" $((SECONDS - start)))")
}
report() {
  echo "==== Stage times"
  printf '%s\n' "${timings[@]}"
}
trap report EXIT

stage "set-up and build (ci preset)" env KORVEN_PRESET=ci bash scripts/setup.sh
source scripts/compiler-cache.sh
stage "package check" bash scripts/check-packages.sh build/CMakeCache.txt
stage "fuzz run" bash scripts/fuzz.sh
stage "tests" ctest --preset ci -j "$(nproc)"
stage "build with asan-ubsan" sh -c 'cmake --preset asan-ubsan > build-asan.log && cmake --build --preset asan-ubsan -j "$(nproc)" >> build-asan.log || { tail -80 build-asan.log; exit 1; }'
stage "tests under asan-ubsan" ctest --preset asan-ubsan -j "$(nproc)"
stage "engine threads under tsan" sh -c 'cmake --preset tsan > build-tsan.log && cmake --build --preset tsan -j "$(nproc)" >> build-tsan.log || { tail -80 build-tsan.log; exit 1; }; ctest --preset tsan'

#!/usr/bin/env bash
# Builds the engine's input fuzzer with clang's libFuzzer and the address and
# undefined-behaviour sanitizers, and runs it for about a minute over a seed
# corpus of example projects. Any finding fails the script.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${FUZZ_SECONDS:-60}"
build="$top/build-fuzz"

cmake -S "$top" -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DKORVEN_FUZZ=ON -DKORVEN_GUI=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo > "$build.log" 2>&1 \
  || { cat "$build.log"; exit 1; }
cmake --build "$build" --target korven_input_fuzzer -j "$(nproc)" >> "$build.log" 2>&1 \
  || { cat "$build.log"; exit 1; }

corpus="$(mktemp -d)"
trap 'rm -rf "$corpus"' EXIT
cp "$top"/examples/*.kv3d "$corpus/"
if [ -d "$top/../shared/golden" ]; then cp "$top"/../shared/golden/*.kv3d "$corpus/"; fi

echo "Fuzzing the engine input for ${seconds} s"
cd "$corpus"
"$build/bin/korven_input_fuzzer" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=4096 \
  -max_len=8192 -print_final_stats=1 "$corpus" > fuzz.log 2>&1 \
  || { tail -60 fuzz.log; echo "fuzz: FAILED"; exit 1; }
grep -E '^stat::number_of_executed_units' fuzz.log || true

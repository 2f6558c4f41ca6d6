#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, with the address and undefined-behaviour
# sanitizers) and runs each for a bounded time over its seeds: the bundled
# examples, the reference projects and plot files, the files under tests/ and
# the files the program itself writes. Any finding fails the script; its
# input is left in build-fuzz/findings/.
#
#   FUZZ_SECONDS   seconds per target (default 20)
#   FUZZ_TARGETS   targets to run (default: all)
#   KORVEN_GOLDEN_DIR   folder of the reference runs (default ../shared/golden)
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${FUZZ_SECONDS:-20}"
golden="${KORVEN_GOLDEN_DIR:-$top/../shared/golden}"
build="$top/build-fuzz"
all="input project_file plot_file col_stream evaluator word_reader value_import gef_sounding ags_sounding csv_sounding
     project_extras load_test study_definition"
targets="${FUZZ_TARGETS:-$all}"

cmake -S "$top" -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DKORVEN_FUZZ=ON -DKORVEN_GUI=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DKORVEN_GOLDEN_DIR="$golden" > "$build.log" 2>&1 \
  || { cat "$build.log"; exit 1; }
build_targets="korven_fuzz_seeds"
for target in $targets; do build_targets="$build_targets korven_${target}_fuzzer"; done
# shellcheck disable=SC2086
cmake --build "$build" --target $build_targets -j "$(nproc)" >> "$build.log" 2>&1 \
  || { cat "$build.log"; exit 1; }

# The targets write their inputs (and the engine its report) as files: in
# memory where the system offers it, so no run waits for the disk.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
findings="$build/findings"
mkdir -p "$work/written" "$findings"
"$build/bin/korven_fuzz_seeds" "$work/written"

# Copies the files matching the patterns (those that exist) into a corpus.
seed() {
  local corpus="$1"; shift
  mkdir -p "$corpus"
  local file
  for file in "$@"; do [ -f "$file" ] && cp "$file" "$corpus/"; done
  return 0
}

shopt -s nullglob
for target in $targets; do
  corpus="$work/$target"
  max_len=8192
  case "$target" in
    input|project_file|word_reader)
      seed "$corpus" "$top"/examples/*.kv3d "$top"/examples/*.kvd "$golden"/*.kv3d \
           "$top"/tests/*/data/*.kv3d "$top"/tests/*/data/*.kvd "$work"/written/*.kv3d ;;
    plot_file)
      max_len=65536
      seed "$corpus" "$golden"/*.kv3p "$top"/tests/*/data/*.kv3p ;;
    col_stream)
      seed "$corpus" "$work"/written/*.col ;;
    evaluator)
      max_len=256
      seed "$corpus" "$top"/tests/fuzz/seeds/evaluator/* ;;
    gef_sounding)
      seed "$corpus" "$top"/tests/cpt/data/*.gef ;;
    ags_sounding)
      max_len=16384
      seed "$corpus" "$top"/tests/cpt/data/*.ags ;;
    csv_sounding)
      seed "$corpus" "$top"/tests/cpt/data/*.csv ;;
    project_extras)
      seed "$corpus" "$top"/tests/fuzz/seeds/project_extras/* "$top"/tests/fuzz/seeds/study_definition/* ;;
    load_test)
      max_len=4096
      seed "$corpus" "$top"/tests/fuzz/seeds/load_test/* ;;
    study_definition)
      max_len=4096
      seed "$corpus" "$top"/tests/fuzz/seeds/study_definition/* ;;
    value_import)
      max_len=4096
      seed "$corpus" "$top"/tests/fuzz/seeds/value_import/* "$top"/examples/*.kv3d ;;
  esac
  # Earlier findings, kept as regression inputs, run first.
  seed "$corpus" "$top"/tests/fuzz/regressions/"$target"/*

  echo "Fuzzing $target for ${seconds} s"
  log="$work/$target.log"
  (cd "$work" && "$build/bin/korven_${target}_fuzzer" -max_total_time="$seconds" -timeout=30 \
      -rss_limit_mb=2048 -max_len="$max_len" -print_final_stats=1 \
      -artifact_prefix="$findings/$target-" "$corpus") > "$log" 2>&1 \
    || { tail -60 "$log"; echo "fuzz $target: FAILED (input in $findings)"; exit 1; }
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec)' "$log" | sed "s/^/  $target /" || true
done

#!/usr/bin/env bash
# Builds everything and starts the desktop program on a copy of the bundled
# example project (the copy lives in a temporary folder, so runs leave the
# repository as it was). Without a display the program runs under a virtual
# X server (xvfb-run) when one is installed.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$top/scripts/setup.sh"
work="$(mktemp -d)"
cp "$top/examples/example.kv3d" "$work/"
cd "$work"
program=("$top/build/bin/KORVEN2014" "$work/example.kv3d")
echo "Project: $work/example.kv3d"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "${program[@]}"
elif command -v xvfb-run >/dev/null; then
  echo "No display found: running the program under xvfb-run (end it with Ctrl+C)."
  exec xvfb-run -a "${program[@]}"
else
  echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset) and xvfb-run is not installed." >&2
  echo "Start it on a desktop with: $top/build/bin/KORVEN2014 $work/example.kv3d" >&2
  exit 1
fi

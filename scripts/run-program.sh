#!/usr/bin/env bash
# Builds everything and runs the bundled example project through the engine.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$top/scripts/setup.sh"
work="$(mktemp -d)"
cp "$top/examples/"*.kv3d "$work/"
"$top/build/bin/korven-run" --table "$work/example.kv3d"

#!/usr/bin/env bash
# korven-report over the example and every reference project: each report is
# a PDF with as many pages as the tool says, four graph pages and the side
# view after the text when the run succeeded; a project the engine refuses
# still gets its input pages.
set -euo pipefail
tool=$1 examples=$2 golden=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0

check() {
  local project=$1 name
  name=$(basename "$project" .kv3d)
  cp "$project" "$work/$name.kv3d"
  local out status=0
  out=$("$tool" "$work/$name.kv3d" -o "$work/$name.pdf" 2>"$work/$name.err") || status=$?
  local pages
  pages=$(grep -a -o '/Type /Page\b' "$work/$name.pdf" | grep -c -v Pages || true)
  local said=${out##*: }
  said=${said% pages}
  if [ ! -s "$work/$name.pdf" ] || [ "$pages" != "$said" ]; then
    echo "FAIL $name: $pages pages in the file, the tool said '$out' (exit $status)"; failed=$((failed + 1)); return
  fi
  # A completed run: at least one text page, four graphs and the side view.
  if [ "$status" = 0 ] && [ "$pages" -lt 6 ]; then
    echo "FAIL $name: only $pages pages for a completed run"; failed=$((failed + 1)); return
  fi
  passed=$((passed + 1))
}

check "$examples/example.kv3d"
check "$examples/user-curves.kv3d"
if [ -d "$golden" ]; then
  for project in "$golden"/*.kv3d; do check "$project"; done
fi
echo "korven-report: $passed passed, $failed failed"
[ "$failed" = 0 ]

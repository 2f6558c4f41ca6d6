#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what a desktop and a
# shell user find there: the programs behind their links, the engine library
# beside them (a run through the link must find it), the desktop entry, the
# icon and the project file type.
set -euo pipefail
build=$1 examples=$2 bindir=$3 progdir=$4 datadir=$5
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
for f in "$progdir/libKORVEN2014_DLL.so" "$progdir/korven-run" "$bindir/korven-run"; do
  [ -e "$prefix/$f" ] || fail "$f is not installed"
done
[ -L "$prefix/$bindir/korven-run" ] || fail "$bindir/korven-run is not a link"

# The runner loads the engine from its own folder, reached through the link.
cp "$examples/example.kv3d" "$prefix/example.kv3d"
"$prefix/$bindir/korven-run" "$prefix/example.kv3d" >/dev/null || fail "the installed runner did not run the example"
[ -s "$prefix/example.kv3o" ] || fail "the installed runner wrote no report"

if [ -e "$build/bin/KORVEN2014" ]; then
  for f in "$progdir/KORVEN2014" "$bindir/KORVEN2014" "$datadir/applications/korven.desktop" \
           "$datadir/mime/packages/korven.xml" "$datadir/icons/hicolor/scalable/apps/korven.svg"; do
    [ -e "$prefix/$f" ] || fail "$f is not installed"
  done
  for page in index users-guide technical-notes; do
    [ -s "$prefix/$progdir/korven-$page.html" ] || fail "help document korven-$page.html is not installed"
  done
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$prefix/$datadir/applications/korven.desktop" || fail "desktop entry is not valid"
  fi
  grep -q 'pattern="\*.kv3d"' "$prefix/$datadir/mime/packages/korven.xml" || fail "no *.kv3d type"
  grep -q 'pattern="\*.kvd"' "$prefix/$datadir/mime/packages/korven.xml" || fail "no *.kvd type"
  if command -v xmllint >/dev/null; then
    xmllint --noout "$prefix/$datadir/mime/packages/korven.xml" || fail "mime type file is not well-formed"
  fi
fi
echo "install layout: 1 passed, 0 failed"

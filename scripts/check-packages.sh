#!/usr/bin/env bash
# Checks that scripts/setup.sh names every Debian package the build needs,
# without a second machine: setup.sh runs with apt-get and dpkg-query
# replaced by recorders (every package counts as missing, nothing is
# installed or built), the packages it would install are closed over their
# Depends (no Recommends, as it installs them), and every CMake package
# configuration that the build found (the *_DIR entries of the CMake caches
# given, by default build/CMakeCache.txt), and the Python interpreter, headers
# and packages the Python module uses, must belong to a package of that
# closure. Prints the packages that are missing from the list and fails then.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
caches=("$@")
[ ${#caches[@]} -gt 0 ] || caches=("$top/build/CMakeCache.txt")

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
# Every package is missing; apt-get records what it is asked to install.
printf '#!/bin/sh\nexit 1\n' > "$work/bin/dpkg-query"
cat > "$work/bin/apt-get" <<RECORDER
#!/bin/sh
[ "\$1" = install ] || exit 0
shift
for word in "\$@"; do
  case "\$word" in -*) ;; *) echo "\$word" >> "$work/wanted" ;; esac
done
RECORDER
# Nothing is configured, built, generated or installed.
for tool in cmake localedef python3; do printf '#!/bin/sh\nexit 0\n' > "$work/bin/$tool"; done
chmod +x "$work"/bin/*
: > "$work/wanted"
if ! PATH="$work/bin:$PATH" bash "$top/scripts/setup.sh" > "$work/setup.log" 2>&1; then
  cat "$work/setup.log"
  echo "check-packages: setup.sh failed with the recorders" >&2
  exit 1
fi
mapfile -t wanted < <(sort -u "$work/wanted")
if [ ${#wanted[@]} -eq 0 ]; then
  echo "check-packages: setup.sh asked to install nothing" >&2
  exit 1
fi

# The Depends closure, real and virtual package names alike.
apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks --no-replaces \
    --no-enhances "${wanted[@]}" 2>/dev/null | grep -v '^ ' | tr -d '<>' | sed 's/:.*//' | sort -u > "$work/closure"

# The package configurations the build found, and their owners (one dpkg
# call: each reads the whole package database).
: > "$work/configs"
for cache in "${caches[@]}"; do
  [ -f "$cache" ] || { echo "check-packages: no CMake cache $cache" >&2; exit 1; }
  while IFS= read -r dir; do
    for config in "$dir"/*Config.cmake "$dir"/*-config.cmake; do
      [ -f "$config" ] && realpath "$config" >> "$work/configs"
    done
  done < <(grep -E '^[A-Za-z0-9_]+_DIR:PATH=' "$cache" | sed 's/^[^=]*=//' | grep -v NOTFOUND | sort -u)
  # The Python interpreter, its headers and the Python packages that the
  # module, its tests and its example import.
  grep -E '^KORVEN_PYTHON_FILES:INTERNAL=' "$cache" | sed 's/^[^=]*=//' | tr ';' '\n' |
    while IFS= read -r file; do [ -e "$file" ] && realpath "$file"; done >> "$work/configs"
done
sort -u -o "$work/configs" "$work/configs"
checked="$(wc -l < "$work/configs")"
xargs -r -d '\n' dpkg -S < "$work/configs" > "$work/owners" 2>/dev/null || true

status=0
while IFS= read -r config; do
  line="$(awk -F': ' -v file="$config" '$2 == file { print $1; exit }' "$work/owners")"
  if [ -z "$line" ]; then
    echo "check-packages: $config belongs to no Debian package" >&2
    status=1
    continue
  fi
  for owner in ${line//,/ }; do
    owner="${owner%%:*}"
    if ! grep -qx "$owner" "$work/closure"; then
      echo "check-packages: $owner (owner of $config) is not installed by scripts/setup.sh" >&2
      status=1
    fi
  done
done < "$work/configs"
if [ "$status" -eq 0 ]; then
  echo "check-packages: ${#wanted[@]} packages named, $(wc -l < "$work/closure") with their dependencies;" \
       "all $checked package configurations and Python files found by the build come from them"
fi
exit "$status"

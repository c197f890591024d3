#!/usr/bin/env bash
# Folders under src/ are layers: a file may include only from its own folder and the ones
# listed before it. Prints every include that reaches upward and fails if there is one.
set -euo pipefail
src="$(cd "$(dirname "$0")/../../src" && pwd)"
layers=(core platform settings documents editor commands windows mainwindow app)
rank() { local i; for i in "${!layers[@]}"; do [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }; done; echo -1; }
bad=0
for dir in "${layers[@]}"; do
  [ -d "$src/$dir" ] || continue
  own=$(rank "$dir")
  while IFS= read -r line; do
    file=${line%%:*}
    target=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"$line")
    theirs=$(rank "$target")
    if [ "$theirs" -gt "$own" ]; then
      echo "upward include: ${file#"$src"/} -> $target"
      bad=1
    fi
  done < <(grep -HE '^\s*#include "[^/"]+/' "$src/$dir"/* || true)
done
unknown=$(find "$src" -mindepth 1 -maxdepth 1 -type d -printf '%f\n' | while read -r d; do [ "$(rank "$d")" -lt 0 ] && echo "$d"; done || true)
[ -z "$unknown" ] || { echo "folders outside the layers: $unknown"; bad=1; }
[ "$bad" -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit "$bad"

#!/usr/bin/env bash
# Runs every benchmark script in bench/ against the given release build folder.
set -euo pipefail
build=${1:-build/release}
here=$(dirname "$0")
for script in "$here"/*.bench.sh; do
    [ -e "$script" ] || continue
    echo "== $(basename "$script")"
    bash "$script" "$build"
done

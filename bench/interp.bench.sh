#!/usr/bin/env bash
# The same three programs in our interpreter, Lua 5.4 and Python 3; prints times and ratios.
set -euo pipefail
build=${1:-build/release}
here=$(cd "$(dirname "$0")" && pwd)
tool="$build/bench/run_script_tool"
runs=5

# Best wall time of $runs runs, in milliseconds.
best_ms() {
    local best=""
    for _ in $(seq "$runs"); do
        local start end
        start=$(date +%s%N)
        "$@" >/dev/null
        end=$(date +%s%N)
        local ms=$(( (end - start) / 1000000 ))
        if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
    done
    echo "$best"
}

printf '%-14s %10s %10s %10s %12s %12s\n' program orvane_ms lua_ms python_ms orvane/lua orvane/python
for program in sum_loop fib string_build; do
    ours=$(best_ms "$tool" "$here/programs/$program.ovs")
    lua=$(best_ms lua5.4 "$here/programs/$program.lua")
    py=$(best_ms python3 "$here/programs/$program.py")
    printf '%-14s %10d %10d %10d %12s %12s\n' "$program" "$ours" "$lua" "$py" \
        "$(awk "BEGIN{printf \"%.2f\", $ours/($lua>0?$lua:1)}")" \
        "$(awk "BEGIN{printf \"%.2f\", $ours/($py>0?$py:1)}")"
done

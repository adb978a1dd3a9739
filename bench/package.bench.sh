#!/usr/bin/env bash
# Package loading and Base64 decoding against peer programs, in one run:
#   load of a 200 MB package (ours) vs `cat FILE > /dev/null` vs python3's json.load,
#   decoding 100 MB of Base64 (ours) vs coreutils `base64 -d`.
# Prints wall time (best of 3), throughput, peak memory (/usr/bin/time -v) and the targets.
set -euo pipefail
build=${1:-build/release}
load_tool="$build/bench/package_load_tool"
decode_tool="$build/bench/base64_decode_tool"
for tool in "$load_tool" "$decode_tool"; do
    [ -x "$tool" ] || { echo "package.bench.sh: $tool is missing (build the release preset)" >&2; exit 1; }
done
[ -x /usr/bin/time ] || { echo "package.bench.sh: /usr/bin/time is missing" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A package of 200 MB: embedded files of 1-50 MB as Base64 in 76-character lines, the line
# breaks written as JSON "\n" escapes, and a small install script.
python3 "$(dirname "$0")/make_package.py" "$work/bench.ovsp" 200 42 \
    $'void main() {\n  showMessage("Hallo");\n}\n' 20
# 100 MB of Base64 text in 76-character lines.
head -c 75000000 /dev/urandom | base64 -w 76 > "$work/bench.b64"

package_bytes=$(stat -c %s "$work/bench.ovsp")
b64_bytes=$(stat -c %s "$work/bench.b64")

# measure NAME INPUT_BYTES COMMAND...: best wall time of 3 runs and the largest peak memory.
best_seconds=0
measure() {
    local name=$1 bytes=$2
    shift 2
    local best="" peak=0
    for _ in 1 2 3; do
        local start end seconds rss
        start=$(date +%s%N)
        /usr/bin/time -v -o "$work/time.txt" "$@" > "$work/stdout.txt"
        end=$(date +%s%N)
        seconds=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f", (b - a) / 1e9 }')
        rss=$(awk -F: '/Maximum resident set size/ { gsub(/ /, "", $2); print $2 }' "$work/time.txt")
        if [ -z "$best" ] || awk -v s="$seconds" -v b="$best" 'BEGIN { exit !(s < b) }'; then
            best=$seconds
        fi
        [ "$rss" -gt "$peak" ] && peak=$rss
    done
    best_seconds=$best
    awk -v n="$name" -v s="$best" -v b="$bytes" -v k="$peak" 'BEGIN {
        printf "  %-28s %8.3f s %9.0f MB/s   peak %7.1f MB (%.2fx input)\n",
            n, s, b / s / 1e6, k * 1024 / 1e6, k * 1024 / b }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", a / b }'; }
verdict() { awk -v v="$1" -v t="$2" 'BEGIN { print (v >= t ? "met" : "MISSED") }'; }

cat "$work/bench.ovsp" "$work/bench.b64" > /dev/null # warm the page cache

echo "Package load: $(awk -v b="$package_bytes" 'BEGIN { printf "%.1f", b / 1e6 }') MB package"
measure "orvane load + programfile" "$package_bytes" "$load_tool" "$work/bench.ovsp"
ours=$best_seconds
sed 's/^/    tool: /' "$work/stdout.txt"
ours_peak=$(awk -F: '/Maximum resident set size/ { gsub(/ /, "", $2); print $2 }' "$work/time.txt")
measure "cat > /dev/null" "$package_bytes" cat "$work/bench.ovsp"
measure "python3 json.load" "$package_bytes" \
    python3 -c "import json, sys; json.load(open(sys.argv[1]))" "$work/bench.ovsp"
python=$best_seconds
load_rate=$(awk -v b="$package_bytes" -v s="$ours" 'BEGIN { printf "%.2f", b / s / 1e9 }')
speedup=$(ratio "$python" "$ours")
memory=$(awk -v k="$ours_peak" -v b="$package_bytes" 'BEGIN { printf "%.2f", k * 1024 / b }')
echo "  load: $load_rate GB/s (target >= 1: $(verdict "$load_rate" 1));" \
    "${speedup}x python json.load (target >= 5: $(verdict "$speedup" 5));" \
    "peak ${memory}x file (target <= 2.5: $(verdict 2.5 "$memory"))"

echo "Base64 decoding: $(awk -v b="$b64_bytes" 'BEGIN { printf "%.1f", b / 1e6 }') MB of text"
measure "orvane Base64 decoder" "$b64_bytes" "$decode_tool" "$work/bench.b64" "$work/ours.bin"
ours=$best_seconds
measure "base64 -d (coreutils)" "$b64_bytes" \
    sh -c 'base64 -d "$1" > "$2"' sh "$work/bench.b64" "$work/coreutils.bin"
coreutils=$best_seconds
cmp -s "$work/ours.bin" "$work/coreutils.bin" || { echo "  decoded bytes differ" >&2; exit 1; }
speedup=$(ratio "$coreutils" "$ours")
echo "  decoding: ${speedup}x base64 -d (target >= 2: $(verdict "$speedup" 2)); output identical"

#!/usr/bin/env bash
# installFile of a 500 MB embedded file against peer programs, in one run:
#   `orvane run` of a package whose script installs the file (the whole run, and installFile alone
#   as the script measures it with gettickcount) vs `base64 -d` of the same Base64 text into a file
#   vs `cp` of the decoded file.
# Prints wall time (best of 3), throughput of decoded bytes, peak memory (/usr/bin/time -v) and the
# targets: installFile at least 2x base64 -d, within 2x of cp, peak at most 2.5x the package.
set -euo pipefail
build=${1:-build/release}
tool="$build/tools/orvane/orvane"
[ -x "$tool" ] || { echo "install.bench.sh: $tool is missing (build the release preset)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "install.bench.sh: /usr/bin/time is missing" >&2; exit 1; }

file_mb=${ORVANE_BENCH_INSTALL_MB:-500}
# The package, the Base64 text, the decoded file and one output at a time.
need_mb=$((file_mb * 4))
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
free_mb=$(df -Pm "$work" | awk 'NR == 2 { print $4 }')
[ "$free_mb" -gt "$need_mb" ] || { echo "install.bench.sh: needs ${need_mb} MB free in $work" >&2; exit 1; }

# The decoded file, the same as Base64 in 76-character lines, and a package that embeds those
# lines with their breaks written as JSON "\n" escapes.
head -c $((file_mb * 1000 * 1000)) /dev/urandom > "$work/decoded.bin"
python3 - "$work/decoded.bin" "$work/text.b64" "$work/bench.ovsp" "$work/installed.bin" <<'PYEOF'
import base64, json, sys
decoded, text, package, target = sys.argv[1:]
script = ('void main() {\n  int start;\n  start = gettickcount();\n'
          '  installFile("binfiles[0].bin", "%s");\n'
          '  messageBox(inttostr(gettickcount() - start));\n}\n' % target)
with open(decoded, 'rb') as source, open(text, 'wb') as lines, open(package, 'wb') as out:
    out.write(b'{"programfile": ' + json.dumps(script).encode() + b', "binfiles": [{"id": "big", "bin": "')
    while True:
        block = source.read(57 * 100000)  # whole 76-character lines
        if not block:
            break
        encoded = base64.encodebytes(block)
        lines.write(encoded)
        out.write(encoded.replace(b'\n', b'\\n'))
    out.write(b'"}]}\n')
PYEOF

package_bytes=$(stat -c %s "$work/bench.ovsp")
file_bytes=$(stat -c %s "$work/decoded.bin")

peak_kb() { awk -F: '/Maximum resident set size/ { gsub(/ /, "", $2); print $2 }' "$1"; }

# measure NAME OUTPUT COMMAND...: best wall time of 3 runs and the largest peak memory; the output
# file is checked against the decoded file and removed after each run.
best_seconds=0
best_peak=0
measure() {
    local name=$1 output=$2
    shift 2
    local best="" peak=0
    for _ in 1 2 3; do
        local start end seconds rss
        start=$(date +%s%N)
        /usr/bin/time -v -o "$work/time.txt" "$@" > "$work/stdout.txt"
        end=$(date +%s%N)
        cmp -s "$output" "$work/decoded.bin" || { echo "  $name: output differs" >&2; exit 1; }
        rm -f "$output"
        seconds=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f", (b - a) / 1e9 }')
        rss=$(peak_kb "$work/time.txt")
        if [ -z "$best" ] || awk -v s="$seconds" -v b="$best" 'BEGIN { exit !(s < b) }'; then
            best=$seconds
            cp "$work/stdout.txt" "$work/best_stdout.txt"
        fi
        [ "$rss" -gt "$peak" ] && peak=$rss
    done
    best_seconds=$best
    best_peak=$peak
    report "$name" "$best" "$peak"
}

report() {
    awk -v n="$1" -v s="$2" -v b="$file_bytes" -v k="$3" -v p="$package_bytes" 'BEGIN {
        printf "  %-34s %8.3f s %7.0f MB/s   peak %7.1f MB (%.2fx package)\n",
            n, s, b / s / 1e6, k * 1024 / 1e6, k * 1024 / p }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
verdict() { awk -v v="$1" -v t="$2" 'BEGIN { print (v >= t ? "met" : "MISSED") }'; }

cat "$work/bench.ovsp" "$work/text.b64" "$work/decoded.bin" > /dev/null # warm the page cache

echo "installFile: $((file_bytes / 1000000)) MB file, $((package_bytes / 1000000)) MB package"
measure "orvane run (load + installFile)" "$work/installed.bin" "$tool" run "$work/bench.ovsp"
run_seconds=$best_seconds
run_peak=$best_peak
# The script's message box holds installFile's own time in milliseconds.
install_ms=$(sed -n 's/.*"caption":"Messagebox","text":"\([0-9]*\)".*/\1/p' "$work/best_stdout.txt")
install_seconds=$(awk -v m="$install_ms" 'BEGIN { printf "%.4f", m / 1000 }')
report "  of which installFile" "$install_seconds" "$run_peak"
measure "base64 -d > file" "$work/peer.bin" sh -c 'base64 -d "$1" > "$2"' sh "$work/text.b64" \
    "$work/peer.bin"
base64_seconds=$best_seconds
measure "cp (decoded file)" "$work/peer.bin" cp "$work/decoded.bin" "$work/peer.bin"
cp_seconds=$best_seconds

vs_base64=$(ratio "$base64_seconds" "$install_seconds")
vs_cp=$(ratio "$install_seconds" "$cp_seconds")
run_vs_base64=$(ratio "$base64_seconds" "$run_seconds")
run_vs_cp=$(ratio "$run_seconds" "$cp_seconds")
memory=$(awk -v k="$run_peak" -v b="$package_bytes" 'BEGIN { printf "%.2f", k * 1024 / b }')
echo "  installFile: ${vs_base64}x base64 -d (target >= 2: $(verdict "$vs_base64" 2));" \
    "${vs_cp}x the time of cp (target <= 2: $(verdict 2 "$vs_cp"))"
echo "  whole run:   ${run_vs_base64}x base64 -d; ${run_vs_cp}x the time of cp"
echo "  peak memory: ${memory}x the package (target <= 2.5: $(verdict 2.5 "$memory"))"

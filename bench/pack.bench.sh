#!/usr/bin/env bash
# A packed installer against self-extracting makeself archives of the same 200 MB, in one run.
# The payload: 5 files of random bytes and 5 files of word text, 20 MB each, from a fixed seed.
#   size: our package (zstd level 19, level 3, uncompressed) vs makeself with gzip (its default)
#         and with --nocomp;
#   pack: `orvane pack` at level 19 and at level 3, one run each (scan, hash, compress, Base64);
#   install, whole processes, 5 rounds with the commands interleaved, median of 5:
#     `orvane run` of a package whose script installs all ten files (load, Base64 decode, zstd,
#     SHA-256 check, write) vs the makeself archive extracting into a folder (its MD5 and CRC
#     check of the archive, decompression, tar) vs `base64 -d` of the payload's Base64 into one
#     file (the floor: decoding and writing only).
# Peak memory is the largest resident set of the 5 runs (/usr/bin/time -v). Every installed or
# extracted file is compared with the payload after each run, outside the timing.
set -euo pipefail
build=${1:-build/release}
tool="$build/tools/orvane/orvane"
[ -x "$tool" ] || { echo "pack.bench.sh: $tool is missing (build the release preset)" >&2; exit 1; }
for program in makeself /usr/bin/time python3; do
    command -v "$program" >/dev/null || { echo "pack.bench.sh: $program is missing" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The run's uninstall data and settings stay in the scratch folder.
export HOME="$work/home" ORVANE_REGISTRY_DIR="$work/registry" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$work/payload"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# Each of the ten files holds this many MB (20 for the figures; smaller to try the script out).
file_mb=${ORVANE_BENCH_PACK_FILE_MB:-20}

python3 - "$work/payload" "$file_mb" <<'PYEOF'
import random, sys
folder = sys.argv[1]
rng = random.Random(20261210)
size = int(sys.argv[2]) * 1000 * 1000
words = ('Installation Datei Ordner Programm Lizenz Vertrag Version Benutzer Einstellung Fenster '
         'the of and to in is that for it as with was on be by this are from or have an they '
         'which one you were her all she there would their we him been has when who will more '
         'no if out so said what up its about into than them can only other new some could time '
         'these two may then do first any my now such like our over man me even most made after '
         'also did many before must through back years where much your way well down should '
         'because each just those people how too little state good very make world still own '
         'see men work long get here between both life being under never day same another know '
         'while last might us great old year off come since against go came right used take '
         'three 0 1 2 3 4 5 6 7 8 9 10 100 2026 ; , . : - ( ) " =').split()
for k in range(5):
    with open('%s/random%d.bin' % (folder, k), 'wb') as out:
        out.write(rng.randbytes(size))
    text = bytearray()
    while len(text) < size:
        line = ' '.join(rng.choices(words, k=rng.randint(4, 16)))
        text += line.encode() + b'\n'
    with open('%s/text%d.txt' % (folder, k), 'wb') as out:
        out.write(text[:size])
PYEOF

names=(random0.bin random1.bin random2.bin random3.bin random4.bin text0.txt text1.txt text2.txt text3.txt text4.txt)
payload_bytes=$(cat "$work"/payload/* | wc -c)

# The install script: each embedded file into the folder $work/ours, in the order packed.
{
    echo 'void main() {'
    for k in "${!names[@]}"; do
        echo "  installFile(\"binfiles[$k].bin\", \"$work/ours/${names[$k]}\");"
    done
    echo '}'
} > "$work/setup.ovs"
files=()
for name in "${names[@]}"; do files+=("$name=$work/payload/$name"); done

mb() { awk -v b="$1" 'BEGIN { printf "%.1f", b / 1e6 }'; }
size_of() { stat -c %s "$1"; }
now() { date +%s%N; }
seconds_since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.2f", (b - a) / 1e9 }'; }

echo "Payload: ${#names[@]} files, $(mb "$payload_bytes") MB (half random bytes, half word text)"
echo "Pack (one run each; throughput of payload bytes):"
for level in 19 3; do
    start=$(now)
    "$tool" pack --level "$level" -o "$work/level$level.ovsp" "$work/setup.ovs" "${files[@]}" >/dev/null
    took=$(seconds_since "$start")
    awk -v l="$level" -v s="$took" -v b="$payload_bytes" 'BEGIN {
        printf "  orvane pack --level %-2s %8.2f s %7.1f MB/s\n", l, s, b / s / 1e6 }'
done
"$tool" pack --no-compress -o "$work/raw.ovsp" "$work/setup.ovs" "${files[@]}" >/dev/null
start=$(now)
makeself --quiet "$work/payload" "$work/gzip.run" "payload" true >/dev/null
echo "  makeself (gzip -9)     $(seconds_since "$start") s"
makeself --quiet --nocomp "$work/payload" "$work/nocomp.run" "payload" true >/dev/null
cat "$work"/payload/* | base64 -w 76 > "$work/payload.b64"

echo "Size:"
for entry in "orvane package, level 19:level19.ovsp" "orvane package, level 3:level3.ovsp" \
    "orvane package, uncompressed:raw.ovsp" "makeself, gzip:gzip.run" \
    "makeself, --nocomp:nocomp.run" "Base64 of the payload:payload.b64"; do
    file="$work/${entry##*:}"
    awk -v n="${entry%%:*}" -v s="$(size_of "$file")" -v p="$payload_bytes" 'BEGIN {
        printf "  %-30s %8.1f MB  %.3fx payload\n", n, s / 1e6, s / p }'
done

# check_folder FOLDER: the ten files there are the payload's.
check_folder() {
    for name in "${names[@]}"; do
        cmp -s "$1/$name" "$work/payload/$name" || { echo "  $1/$name differs" >&2; exit 1; }
    done
}
check_ours() { check_folder "$work/ours"; }
check_makeself() { check_folder "$work/extracted"; }
check_base64() { cat "$work"/payload/* | cmp -s - "$work/decoded.bin" || { echo "  base64 -d differs" >&2; exit 1; }; }

declare -A times=() peak=()
# measure NAME CHECK COMMAND...: one timed run of a whole process; CHECK compares its output.
measure() {
    local name=$1 check=$2 start
    shift 2
    rm -rf "$work/ours" "$work/extracted" "$work/decoded.bin"
    start=$(now)
    /usr/bin/time -v -o "$work/time.txt" "$@" >/dev/null
    times[$name]+="$(seconds_since "$start") "
    local rss
    rss=$(awk -F: '/Maximum resident set size/ { gsub(/ /, "", $2); print $2 }' "$work/time.txt")
    [ "$rss" -gt "${peak[$name]:-0}" ] && peak[$name]=$rss
    "$check"
}
median() { tr ' ' '\n' | grep . | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

cat "$work"/*.ovsp "$work"/*.run "$work/payload.b64" >/dev/null # warm the page cache
commands=(ours19 ours_raw gzip nocomp base64)
for _ in 1 2 3 4 5; do
    measure ours19 check_ours "$tool" run "$work/level19.ovsp"
    measure ours_raw check_ours "$tool" run "$work/raw.ovsp"
    measure gzip check_makeself sh "$work/gzip.run" --quiet --noexec --nox11 --target "$work/extracted"
    measure nocomp check_makeself sh "$work/nocomp.run" --quiet --noexec --nox11 --target "$work/extracted"
    measure base64 check_base64 sh -c 'base64 -d "$1" > "$2"' sh "$work/payload.b64" "$work/decoded.bin"
done

declare -A label=([ours19]="orvane run, level-19 package" [ours_raw]="orvane run, uncompressed package"
    [gzip]="makeself gzip, extract" [nocomp]="makeself --nocomp, extract" [base64]="base64 -d > file")
declare -A package=([ours19]=level19.ovsp [ours_raw]=raw.ovsp [gzip]=gzip.run [nocomp]=nocomp.run
    [base64]=payload.b64)
echo "Install (median of 5, interleaved; MB/s of payload bytes; peak memory against 64 MB + input):"
declare -A median_of=()
for name in "${commands[@]}"; do
    median_of[$name]=$(echo "${times[$name]}" | median)
    awk -v n="${label[$name]}" -v s="${median_of[$name]}" -v b="$payload_bytes" -v k="${peak[$name]}" \
        -v i="$(size_of "$work/${package[$name]}")" 'BEGIN {
        printf "  %-34s %7.2f s %7.1f MB/s   peak %7.1f MB (64 MB + input = %.1f MB)\n",
            n, s, b / s / 1e6, k * 1024 / 1e6, 64 + i / 1e6 }'
done

verdict() { awk -v ok="$1" 'BEGIN { print (ok ? "met" : "MISSED") }'; }
ours_size=$(size_of "$work/level19.ovsp")
gzip_size=$(size_of "$work/gzip.run")
echo "Targets:"
echo "  package no larger than makeself gzip: $(mb "$ours_size") vs $(mb "$gzip_size") MB" \
    "($(verdict "$((ours_size <= gzip_size))"))"
faster=$(awk -v a="${median_of[ours19]}" -v b="${median_of[gzip]}" 'BEGIN { print (a < b) }')
echo "  install faster than makeself gzip extraction: ${median_of[ours19]} vs ${median_of[gzip]} s" \
    "($(verdict "$faster"))"
fits=$(awk -v k="${peak[ours19]}" -v i="$ours_size" 'BEGIN { print (k * 1024 <= 64e6 + i) }')
echo "  install peak memory under 64 MB + package: $(verdict "$fits")"
echo "  load average after measuring: $(cut -d' ' -f1-3 /proc/loadavg)"

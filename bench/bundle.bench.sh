#!/usr/bin/env bash
# The bundle of the demo installer (its 50 MB sample data replaced by a small file) against the
# plain engine beside its package, in one run on a private X server (Xvfb):
#   the bundle's size and how long `orvane bundle` takes to write it (default level),
#   first start of the bundle (check, extract, start) to the installer's first window,
#   later start of the bundle (check, reuse) to the first window,
#   start of the plain engine to the first window.
# Each start is measured 5 times, the three kinds interleaved; the median is printed. A time runs
# from starting the process until xdotool sees the window "Orvane Demo 1.0 - Installation".
set -euo pipefail
build=${1:-build/release}
root=$(cd "$(dirname "$0")/.." && pwd)
tool="$build/tools/orvane/orvane"
engine="$build/src/host/orvane-setup"
for need in "$tool" "$engine"; do
    [ -x "$need" ] || { echo "bundle.bench.sh: $need is missing (build the release preset)" >&2; exit 1; }
done
for program in Xvfb xdotool; do
    command -v "$program" >/dev/null || { echo "bundle.bench.sh: $program is missing" >&2; exit 1; }
done

work=$(mktemp -d "$root/build/bundle-bench.XXXXXX")
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
export DISPLAY=$display XDG_CACHE_HOME="$work/cache" HOME="$work/home" ORVANE_REGISTRY_DIR="$work/registry"
mkdir -p "$work/plain" "$HOME"
sleep 1

demo="$root/examples/demo"
echo "Kleine Beispieldaten statt 50 MB" > "$work/daten.dat"
"$tool" pack -o "$work/plain/setup.ovsp" --text lizenz="$demo/files/LIZENZ.txt" \
    "$demo/demo.ovs" logo="$demo/../wizard/logo.bmp" \
    programm="$demo/files/orvane-demo" liesmich="$demo/files/LIESMICH.txt" \
    daten="$work/daten.dat" >/dev/null
cp "$engine" "$work/plain/setup"

start=$(date +%s%N)
"$tool" bundle -o "$work/setup-bundle" "$work/plain/setup.ovsp" >/dev/null
end=$(date +%s%N)
echo "bundle: $(stat -c %s "$work/setup-bundle") bytes, written in $(( (end - start) / 1000000 )) ms"
echo "plain engine and package: $(( $(stat -c %s "$work/plain/setup") + $(stat -c %s "$work/plain/setup.ovsp") )) bytes (libraries not counted)"

# window_ms PROGRAM: milliseconds from its start to the demo's first window; then ends it.
window_ms() {
    local begin finish pid
    begin=$(date +%s%N)
    "$1" >/dev/null 2>&1 &
    pid=$!
    xdotool search --sync --onlyvisible --name "^Orvane Demo 1.0 - Installation$" >/dev/null
    finish=$(date +%s%N)
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null || true
    echo $(( (finish - begin) / 1000000 ))
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

first=() later=() plain=()
for _ in 1 2 3 4 5; do
    rm -rf "$XDG_CACHE_HOME"
    first+=("$(window_ms "$work/setup-bundle")")
    later+=("$(window_ms "$work/setup-bundle")")
    plain+=("$(window_ms "$work/plain/setup")")
done
echo "first start of the bundle (extract) to the first window: $(printf '%s\n' "${first[@]}" | median) ms"
echo "later start of the bundle to the first window:           $(printf '%s\n' "${later[@]}" | median) ms"
echo "plain engine to the first window:                       $(printf '%s\n' "${plain[@]}" | median) ms"

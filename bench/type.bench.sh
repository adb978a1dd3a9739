#!/usr/bin/env bash
# The scenario action `type` with a 16,000-character text against one with 16 characters, in
# whole `orvane run` processes (start-up, a form with a field, the typing, closing), interleaved;
# prints the median wall time of each and the difference, which is what typing the long text costs.
set -euo pipefail
build=${1:-build/release}
tool="$build/tools/orvane/orvane"
runs=7
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work/type.ovs" <<'SCRIPT'
int changes;
void onChange(string s) { changes = changes + 1; }
void main() {
    createForm("f", 0, 0, 300, 100, "F");
    createTextedit("field", false, 10, 10, 280, 22, "f", "onChange");
    showModal("f");
    messageBox(inttostr(changes));
}
SCRIPT
for length in 16 16000; do
    printf 'type field %s\nclose f\n' "$(head -c "$length" /dev/zero | tr '\0' 'x')" >"$work/$length.scenario"
done

# Wall time of one run in milliseconds.
run_ms() {
    local start end
    start=$(date +%s%N)
    QT_QPA_PLATFORM=offscreen "$tool" run --scenario "$work/$1.scenario" --script "$work/type.ovs" \
        >/dev/null 2>&1
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

short=() long=()
for _ in $(seq "$runs"); do
    short+=("$(run_ms 16)")
    long+=("$(run_ms 16000)")
done
short_ms=$(printf '%s\n' "${short[@]}" | median)
long_ms=$(printf '%s\n' "${long[@]}" | median)
printf '%-22s %8s\n' "type, 16 characters" "${short_ms} ms"
printf '%-22s %8s\n' "type, 16000 characters" "${long_ms} ms"
printf '%-22s %8s\n' "difference" "$((long_ms - short_ms)) ms"

#!/usr/bin/env bash
# The interpreter and the package loader at sizes where start-up is a small part of the time,
# each against a peer program in the same run (whole processes, interleaved rounds, medians):
#   fib(30), a while loop summing 0..29,999,999 with a wrapping int, 2,000,000 string appends
#     reset every 100: `orvane run --script` vs lua5.4 (programs in bench/programs/scale);
#   loading a ~374 MB package whose main does nothing: `orvane run PACKAGE` vs
#     `cat PACKAGE > /dev/null`, plus peak address space and peak resident memory;
#   start-up: `orvane run --script` of an empty main vs lua5.4 of an empty file.
# Usage: bench/interp_scale.bench.sh [BUILD_DIR] (a release build; ROUNDS=5 by default; ONLY=WORD
# runs only the rows whose name starts with WORD, e.g. ONLY=load for the loader).
set -euo pipefail
build=${1:-build/release}
here=$(cd "$(dirname "$0")" && pwd)
orvane="$build/tools/orvane/orvane"
[ -x "$orvane" ] || { echo "interp_scale.bench.sh: $orvane is missing (build the release preset)" >&2; exit 1; }
command -v lua5.4 >/dev/null || { echo "interp_scale.bench.sh: lua5.4 is missing" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The runs write nothing, but keep them away from the user's folders all the same.
mkdir -p "$work/home" "$work/runtime" && chmod 700 "$work/runtime"
export HOME="$work/home" XDG_DATA_HOME="$work/home" XDG_CONFIG_HOME="$work/home"
export XDG_RUNTIME_DIR="$work/runtime" ORVANE_REGISTRY_DIR="$work/home"

# A package of about 374 MB: embedded files of 1-50 MB as Base64 in 76-character lines (the
# line breaks written as JSON "\n" escapes) and a main that does nothing.
python3 "$here/make_package.py" "$work/load.ovsp" 374 17 $'void main() { }\n'
: > "$work/empty.lua"

python3 - "$orvane" "$here/programs/scale" "$work" "${ROUNDS:-5}" "${ONLY:-}" <<'EOF'
import json, os, statistics, subprocess, sys, time

orvane, programs, work, rounds, only = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4]), sys.argv[5]
package = os.path.join(work, 'load.ovsp')
package_bytes = os.path.getsize(package)

def script(name):
    return [orvane, 'run', '--script', os.path.join(programs, name + '.ovs')]

def lua(name):
    return ['lua5.4', os.path.join(programs, name + '.lua')]

# name, our command, the peer's name and command, whether the printed results must agree.
pairs = [
    ('fib(30)', script('fib'), 'lua5.4', lua('fib'), True),
    ('sum loop 30M', script('sum_loop'), 'lua5.4', lua('sum_loop'), True),
    ('string appends 2M', script('string_appends'), 'lua5.4', lua('string_appends'), True),
    ('load 374 MB package', [orvane, 'run', package], 'cat', ['cat', package], False),
    ('start-up (empty main)', script('empty'), 'lua5.4', ['lua5.4', os.path.join(work, 'empty.lua')], False),
]
pairs = [pair for pair in pairs if pair[0].startswith(only)]

def run(command, keep_output):
    """Wall seconds of one whole process and its standard output (or None: sent to /dev/null)."""
    start = time.perf_counter()
    done = subprocess.run(command, stdout=subprocess.PIPE if keep_output else subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL)
    seconds = time.perf_counter() - start
    if done.returncode != 0:
        sys.exit('interp_scale.bench.sh: %s exited with %d' % (' '.join(command), done.returncode))
    return seconds, done.stdout.decode() if keep_output else None

def shown_text(transcript):
    """The message box texts of one of our transcripts, one per line."""
    lines = [json.loads(line) for line in transcript.splitlines() if line.startswith('{')]
    return '\n'.join(event['text'] for event in lines if event.get('event') == 'msgbox')

def peak_memory(command):
    """Peak address space (VmPeak) and peak resident memory (VmHWM) of the process, in bytes,
    sampled every 2 ms through /proc (the kernel's maxrss is no use here: it can include the
    high-water mark of the forking parent)."""
    child = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    peaks = {'VmPeak:': 0, 'VmHWM:': 0}
    while child.poll() is None:
        try:
            with open('/proc/%d/status' % child.pid) as status:
                for line in status:
                    field = line.split()
                    if field and field[0] in peaks:
                        peaks[field[0]] = max(peaks[field[0]], int(field[1]) * 1024)
        except OSError:
            pass
        time.sleep(0.002)
    return peaks['VmPeak:'], peaks['VmHWM:']

subprocess.run(['cat', package], stdout=subprocess.DEVNULL)  # warm the page cache
times = {name: ([], []) for name, *_ in pairs}
for _ in range(rounds):
    for name, ours, _, peer, compare in pairs:
        ours_seconds, ours_out = run(ours, compare)
        peer_seconds, peer_out = run(peer, compare)
        if compare and shown_text(ours_out).strip() != peer_out.strip():
            sys.exit('interp_scale.bench.sh: %s printed %r, the peer %r'
                     % (name, shown_text(ours_out), peer_out))
        times[name][0].append(ours_seconds)
        times[name][1].append(peer_seconds)

print('load average before the runs: %s; %d interleaved rounds, medians of wall time of whole '
      'processes (start-up included)' % (open('/proc/loadavg').read().split()[0], rounds))
print('%-24s %10s %8s %10s %7s  %s' % ('program', 'orvane', 'peer', 'peer time', 'ratio', 'target'))
medians = {}
for name, _, peer_name, _, _ in pairs:
    ours, peer = (statistics.median(t) for t in times[name])
    medians[name] = ours
    ratio = ours / peer
    if name.startswith('load'):
        target = 'ratio <= 4: %s' % ('met' if ratio <= 4 else 'MISSED')
    elif name.startswith('start-up'):
        target = '<= 30 ms: %s' % ('met' if ours <= 0.030 else 'MISSED')
    else:
        target = 'ratio <= 2.5: %s' % ('met' if ratio <= 2.5 else 'MISSED')
    print('%-24s %8.3f s %8s %8.3f s %7.2f  %s' % (name, ours, peer_name, peer, ratio, target))

if 'load 374 MB package' not in medians:
    sys.exit(0)
rate = package_bytes / medians['load 374 MB package'] / 1e9
vm_peak, rss = peak_memory([orvane, 'run', package])
print('package load: %.1f MB, %.2f GB/s (target >= 2.5: %s)'
      % (package_bytes / 1e6, rate, 'met' if rate >= 2.5 else 'MISSED'))
print('  peak address space %.0f MB = %.2fx the package (target <= 2: %s)'
      % (vm_peak / 1e6, vm_peak / package_bytes, 'met' if vm_peak <= 2 * package_bytes else 'MISSED'))
print('  peak resident memory %.0f MB = %.2fx the package (target <= 1.1: %s)'
      % (rss / 1e6, rss / package_bytes, 'met' if rss <= 1.1 * package_bytes else 'MISSED'))
EOF

#!/usr/bin/env bash
# Scan-and-parse throughput (MB/s) and linearity of long chains and deep calls.
set -euo pipefail
build=${1:-build/release}
"$build/bench/frontend_bench" --benchmark_counters_tabular=true

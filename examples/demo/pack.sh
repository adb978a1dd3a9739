#!/bin/bash
# Builds the demo package OUT/setup.ovsp: the install script, the logo and the three files
# it installs. The 50 MB sample data are generated here rather than kept in the repository.
# usage: pack.sh ORVANE_TOOL OUT
set -eu
tool=$1
out=$2
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"

data="$out/beispiel.dat"
size=$((50 * 1024 * 1024))
if [ ! -f "$data" ] || [ "$(stat -c %s "$data")" -ne "$size" ]; then
    # `yes` ends on the closed pipe; only the file's size matters.
    { yes "Orvane Demo: Beispieldaten, Zeile für Zeile." || true; } | head -c "$size" >"$data.tmp"
    mv "$data.tmp" "$data"
fi

"$tool" pack -o "$out/setup.ovsp" "$here/demo.ovs" \
    --text lizenz="$here/files/LIZENZ.txt" \
    logo="$here/../wizard/logo.bmp" \
    programm="$here/files/orvane-demo" \
    liesmich="$here/files/LIESMICH.txt" \
    daten="$data"

#!/bin/sh
# Runs COMMAND in a private mount namespace in which the build machine's Qt, simdjson and SQLite
# libraries and Qt's plugins are hidden, as on a desktop that never had them.
# usage: without_build_libraries.sh ENGINE COMMAND [ARGUMENT ...]
# Exit 77 when a mount namespace is not permitted here; 78 when ENGINE (linked against those
# libraries) still loads, i.e. the hiding did not work; otherwise COMMAND's status.
unshare --mount true 2>/dev/null || exit 77
exec unshare --mount sh -c '
    libs=/usr/lib/x86_64-linux-gnu
    mount --make-rprivate / || exit 78
    for file in $(find "$libs" -maxdepth 1 -type f \
            \( -name "libQt6*" -o -name "libsimdjson*" -o -name "libsqlite3*" \)); do
        mount --bind /dev/null "$file" || exit 78
    done
    mount -t tmpfs none "$libs/qt6" || exit 78
    engine=$1
    shift
    ldd "$engine" >/dev/null 2>&1 && exit 78
    exec "$@"
' sh "$@"

#!/usr/bin/env python3
"""Writes a benchmark package: embedded files of 1-50 MB of random bytes as Base64 in
76-character lines (the line breaks written as JSON "\\n" escapes) until the Base64 text reaches
the given size, and the given install script (repeated REPEAT times, once by default).

Usage: make_package.py OUT.ovsp MEGABYTES SEED SCRIPT_TEXT [REPEAT]"""
import base64, json, os, random, sys

out_path, megabytes, seed, script = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
script *= int(sys.argv[5]) if len(sys.argv) > 5 else 1
random.seed(seed)
target = megabytes * 1000 * 1000
with open(out_path, 'wb') as out:
    out.write(b'{"programfile": ' + json.dumps(script).encode() + b', "binfiles": [')
    written, index = 0, 0
    while written < target:
        size = min(random.randint(1, 50) * 1000 * 1000, max(1, (target - written) * 3 // 4))
        text = base64.encodebytes(os.urandom(size)).replace(b'\n', b'\\n')
        out.write(b'%s{"id": "file%d", "bin": "' % (b', ' if index else b'', index))
        out.write(text)
        out.write(b'"}')
        written += len(text)
        index += 1
    out.write(b']}\n')

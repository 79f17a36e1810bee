#!/usr/bin/env bash
# The frame-time benchmark headless on a short range: it runs and reports the
# act of that range and the whole, with sane numbers (a check that it works,
# not a timing).
set -euo pipefail
env -u DISPLAY "$1" --size 320x180 --from 29 --to 31 --step 0.5 2>/dev/null | python3 -c '
import sys
rows = [line.rstrip("\n").split("\t") for line in sys.stdin if not line.startswith("#")]
assert rows[0][0] == "act", rows
body = rows[1:]
assert [r[0] for r in body] == ["hammers and angels", "all"], body
assert int(body[-1][2]) == 5, body  # 29, 29.5, 30, 30.5 and 31 s
assert all(float(v) >= 0 for r in body for v in r[1:]), body
assert float(body[-1][7]) > 0 and float(body[-1][8]) > 0, body  # draws and samples passed
print("frame_times: ok")
'

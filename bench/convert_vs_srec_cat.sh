#!/usr/bin/env bash
# Whole-process comparison: convert a 2 MB Intel hex image to binary with eeprom-isp and with
# srec_cat, on the same file, and print the best of several runs of each and their ratio.
#   bench/convert_vs_srec_cat.sh [path/to/eeprom-isp] [runs]
set -euo pipefail

cli=${1:-build/release/src/cli/eeprom-isp}
runs=${2:-15}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A 2 MB random image with a quarter of its 16-byte lines erased, as Intel hex.
python3 - "$work/image.bin" <<'PY'
import random, sys
random.seed(42)
data = bytearray(b'\xff' * (2 * 1024 * 1024))
for line in range(0, len(data), 16):
    if random.randrange(4):
        data[line:line + 16] = bytes(random.randrange(256) for _ in range(16))
open(sys.argv[1], 'wb').write(data)
PY
srec_cat "$work/image.bin" -binary -o "$work/image.hex" -Intel

best() { # best wall time in ms over $runs runs of the given command
    local best_ns=0
    for _ in $(seq "$runs"); do
        local start end
        start=$(date +%s%N)
        "$@" >/dev/null 2>&1
        end=$(date +%s%N)
        local ns=$((end - start))
        if [ "$best_ns" -eq 0 ] || [ "$ns" -lt "$best_ns" ]; then best_ns=$ns; fi
    done
    echo $((best_ns / 1000))
}

ours=$(best "$cli" convert "$work/image.hex" "$work/ours.bin" --size 2M)
theirs=$(best srec_cat "$work/image.hex" -Intel -fill 0xFF 0 0x200000 -o "$work/theirs.bin" -binary)
cmp "$work/ours.bin" "$work/theirs.bin"
echo "image.hex: $(stat -c %s "$work/image.hex") bytes; best of $runs runs"
echo "eeprom-isp convert: $((ours / 1000)).$(printf '%03d' $((ours % 1000))) ms"
echo "srec_cat:           $((theirs / 1000)).$(printf '%03d' $((theirs % 1000))) ms"
python3 -c "print('srec_cat / eeprom-isp = %.2f' % ($theirs / $ours))"

"""Writes settings files from first principles for the tripctl dump test, and
checks dump's JSON against what was written."""
import json
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'common'))
from kelmg import SIZES, scramble  # noqa: E402


def sample_image():
    image = bytearray((i * 7 + 3) & 0xFF for i in range(8128))
    image[0] = 11
    image[1] = 9
    image[2] = image[3] = 0
    address = 1000  # blocks far from the directory, one after another
    entries = []
    for i, size in enumerate(SIZES, start=1):
        struct.pack_into('<HH', image, 4 * i, address, size + 4)
        entries.append((address, size + 4))
        address += size
    for i in range(12, 15):
        struct.pack_into('<HH', image, 4 * i, 0, 0)
        entries.append((0, 0))
    return image, entries


def main():
    work = sys.argv[1]
    image, entries = sample_image()
    if len(sys.argv) > 2 and sys.argv[2] == '--check':
        got = json.load(open(sys.argv[3]))
        expected_blocks = []
        for i, size in enumerate(SIZES):
            a, _ = entries[i]
            expected_blocks.append(bytes(image[a - 32:a - 32 + size]).hex())
        ok = (got['deviceType'] == 0x5800 and got['imageSize'] == 8128 and got['blockCount'] == 11
              and got['settingsVersion'] == 9
              and got['directory'] == [{'address': a, 'length': l} for a, l in entries]
              and got['blocks'] == expected_blocks)
        sys.exit(0 if ok else 1)
    open(f'{work}/sample.kelmg', 'wb').write(scramble(0x5800, image))
    open(f'{work}/empty.kelmg', 'wb').write(b'')
    open(f'{work}/short.kelmg', 'wb').write(scramble(0xC000, image[:40]))
    bad = bytearray(image)
    struct.pack_into('<HH', bad, 4 * 3, 8100, 68)  # block 3 runs past the end
    open(f'{work}/outside.kelmg', 'wb').write(scramble(0xC000, bad))


main()

"""Settings files written from first principles for the tests: the key table
and the scrambling, independent of the program's own code."""
import struct

# Model sizes of the eleven blocks.
SIZES = [164, 28, 64, 420, 128, 88, 860, 40, 412, 60, 664]


def key():
    x = 0x1F2E3D4C
    out = []
    for _ in range(4096):
        x = (x * 1664525 + 1013904223) & 0xFFFFFFFF
        out.append(x >> 24)
    return out


def scramble(device_type, image):
    """The bytes of a settings file: DeviceType, then the image XORed with the key."""
    k = key()
    return struct.pack('<H', device_type) + bytes(b ^ k[i % 4096] for i, b in enumerate(image))

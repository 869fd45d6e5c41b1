#!/usr/bin/env python3
"""Makes the seed corpora of the fuzz targets from real exchanges: tripctl
reads a few simulated devices (tripsim with sample journals) and writes one
back, logging every frame; the settings files, their blocks, the tank and
maintenance files tripctl exports from them and the logged answers become the
seeds.

    fuzz/make_seeds.py BIN_DIR OUT_DIR      (BIN_DIR holds tripsim and tripctl)

OUT_DIR gets one folder per target; existing seeds of the same name are replaced.
"""
import os
import pathlib
import signal
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / 'tests' / 'common'))
import kelmg  # noqa: E402

# (DeviceType, settings version): the program's new model, a model with voice
# and the additional systems, one with the tilt layout, and a type no catalog lists.
DEVICES = [(0xC000, 9), (0x4010, 3), (0x8180, 12), (0x1234, 0)]
BLOCK_COUNT = 11


def run_sim(bin_dir, work, args):
    """Starts tripsim on a pseudo-terminal; returns the process and its path."""
    sim = subprocess.Popen([str(bin_dir / 'tripsim'), '--echo', *args], stdout=subprocess.PIPE,
                           stderr=subprocess.DEVNULL, cwd=work, text=True)
    return sim, sim.stdout.readline().strip()


def stop(sim):
    sim.send_signal(signal.SIGTERM)
    sim.wait(timeout=10)


def tripctl(bin_dir, work, *args):
    subprocess.run([str(bin_dir / 'tripctl'), *args], cwd=work, check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=120)


def logged_frames(log):
    """(kind, bytes) of every TX and RX line of an exchange log."""
    for line in log.read_text().splitlines():
        parts = line.split()
        if len(parts) > 3 and parts[2] in ('TX', 'RX'):
            hex_bytes = [h for h in parts[3:] if len(h) == 2 and all(c in '0123456789abcdef' for c in h)]
            yield parts[2], bytes(int(h, 16) for h in hex_bytes)


def image_of(settings_file):
    data = settings_file.read_bytes()
    key = kelmg.key()
    return struct.unpack_from('<H', data)[0], bytes(b ^ key[i % 4096] for i, b in enumerate(data[2:]))


def blocks_of(image):
    """Blocks 1..11 by the directory, each cut to its model size."""
    out = b''
    for i in range(1, BLOCK_COUNT + 1):
        address, length = struct.unpack_from('<HH', image, 4 * i)
        payload = image[address - 32:address - 32 + length - 4]
        out += payload[:kelmg.SIZES[i - 1]].ljust(kelmg.SIZES[i - 1], b'\0')
    return out


def request(function):
    """The request fuzz_receive builds for a function byte."""
    frame = bytes([0, 0xF4, 0x01, 0x00, function]) + bytes(range(function % 64))
    frame = bytes([len(frame) + 1]) + frame[1:]
    return frame + bytes([(256 - sum(frame) % 256) % 256])


def main():
    bin_dir, out = pathlib.Path(sys.argv[1]).resolve(), pathlib.Path(sys.argv[2]).resolve()
    seeds = {}
    with tempfile.TemporaryDirectory() as tmp:
        work = pathlib.Path(tmp)
        for device_type, version in DEVICES:
            name = f'{device_type:04x}'
            sim, pty = run_sim(bin_dir, work, ['--sample-journals', '--device-type', str(device_type),
                                               '--settings-version', str(version)])
            try:
                tripctl(bin_dir, work, 'read', '--port', pty, '--line-type', '2', '--wait', '10',
                        '--log', f'read-{name}.log', '-o', f'{name}.kelmg')
                if device_type == 0xC000:
                    tripctl(bin_dir, work, 'write', '--port', pty, '--line-type', '2', '--wait', '10',
                            '--no-backup', '--log', 'write.log', f'{name}.kelmg')
            finally:
                stop(sim)
            settings = work / f'{name}.kelmg'
            seeds[('fuzz_settings_file', f'{name}.kelmg')] = settings.read_bytes()

            # Byte 0 from 0xE0 on takes the DeviceType from bytes 1..2; byte 4
            # picks the readers and the language, bytes 5..6 the preview.
            file_type, image = image_of(settings)
            blocks = blocks_of(image)
            preview = (7 * len(seeds) + 3) % 32 | (0x20 if device_type & 0x10 else 0)
            for readers, group in ((0x00, 'journals'), (0x05, 'fields'), (0x02, 'pages'), (0x07, 'preview')):
                head = bytes([0xE0]) + struct.pack('<H', file_type) + bytes([image[1], readers, preview, 0])
                seeds[('fuzz_model_readers', f'{name}-{group}')] = head + blocks

            if device_type == 0xC000:
                tripctl(bin_dir, work, 'tank', 'export', str(settings), '-o', 'tank.kelmo')
                tripctl(bin_dir, work, 'service', 'export', str(settings), '-o', 'service.kelmt')
                seeds[('fuzz_tank_service_files', 'tank.kelmo')] = b'\x01' + (work / 'tank.kelmo').read_bytes()
                seeds[('fuzz_tank_service_files', 'service.kelmt')] = b'\x00' + (work / 'service.kelmt').read_bytes()
                # The tare grid's cells, tab-separated, litres then code.
                seeds[('fuzz_tank_service_files', 'tare-grid')] = b'\x01' + b'\t'.join(
                    str(v).encode() for p in range(15) for v in (3 * p + 16, 50 * p))

        # One answer of each function, on each line type: RS232 takes the
        # answer alone, RS485 with echo hears the request first.
        answers = {}
        for log in [*sorted(work.glob('read-*.log')), work / 'write.log']:
            for kind, frame in logged_frames(log):
                if kind == 'RX' and len(frame) > 4:
                    answers.setdefault(frame[4], frame)
        for function, answer in sorted(answers.items()):
            seeds[('fuzz_receive', f'f{function}-rs232')] = bytes([0, function]) + answer
            seeds[('fuzz_receive', f'f{function}-rs485')] = bytes([2, function]) + request(function) + answer
        busy = bytearray(answers[1])
        busy[4] = 255
        busy[-1] = (256 - sum(busy[:-1]) % 256) % 256
        seeds[('fuzz_receive', 'busy')] = bytes([1, 1]) + bytes(busy)

    for (target, name), data in seeds.items():
        folder = out / target
        folder.mkdir(parents=True, exist_ok=True)
        (folder / name).write_bytes(data)
    print(f'{len(seeds)} seeds in {out}')


if __name__ == '__main__':
    main()

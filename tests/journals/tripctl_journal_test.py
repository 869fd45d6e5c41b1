"""Writes settings files byte by byte from the journal layouts and checks what
`tripctl journal` prints for them."""
import json
import os
import struct
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'common'))
from kelmg import SIZES, scramble  # noqa: E402

TRIPCTL, WORK = sys.argv[1], sys.argv[2]
failures = []


def settings_file(device_type, blocks):
    image = bytearray(8128)
    image[0], image[1] = 11, 3
    address = 700
    for i, size in enumerate(SIZES, start=1):
        struct.pack_into('<HH', image, 4 * i, address, size + 4)
        image[address - 32:address - 32 + size] = blocks[i]
        address += size + 8
    return scramble(device_type, image)


def record(minutes, day, month, t, d, petrol, gas):
    return struct.pack('<HBBIIII', minutes, day, month, t, d, petrol, gas)


def blocks_with_journals(protocol_index, option0, option2):
    b = {i: bytearray(size) for i, size in enumerate(SIZES, start=1)}
    trip = b[7]
    struct.pack_into('<hhhh', trip, 0, 455, 20, 15, 220)  # petrol, hour, km, gas
    trips = [record(1439, 31, 12, 5400, 81000, 6480, 0),
             record(300, 0, 5, 999, 999, 999, 999),  # day 0: empty whatever it holds
             record(5, 1, 1, 1000, 1250, 0, 125),
             record(600, 9, 10, 0, 0, 10, 0)]
    for r, data in enumerate(trips):
        trip[16 + 20 * r:36 + 20 * r] = data
    trip[436:456] = record(480, 15, 6, 3600, 100000, 7000, 500)

    totals = b[1]
    groups = [(36000, 500000, 40000, 5000), (0, 0, 0, 0), (7265, 1234, 100, 23), (0, 500, 50, 0),
              (3599, 0, 0, 0), (360000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF)]
    for g, words in enumerate(groups):
        struct.pack_into('<IIII', totals, 16 * g, *words)
    struct.pack_into('<III', totals, 96, 1800, 30000, 2000)   # petrol only
    struct.pack_into('<III', totals, 108, 3600, 10000, 1500)  # gas only
    struct.pack_into('<I', totals, 120, 0xDEADBEEF)
    struct.pack_into('<i', totals, 144, 12345)                # initial mileage, km

    vehicle = b[10]
    struct.pack_into('<H', vehicle, 4, protocol_index)
    vehicle[12], vehicle[14] = option0, option2

    log = b[11]
    log[0:4] = b'\xaa\xaa\xaa\xaa'
    log[4], log[5], log[6], log[12] = 0x28, 0x18, 0x40, 0x10  # parameters 3, 5, 12, 13, 18, 68

    def error(i, minutes, day, month, code, frame_code, status, coolant, rpm, speed, air, ratio):
        at = 16 + 92 * i
        struct.pack_into('<HBBII', log, at, minutes, day, month, code, frame_code)
        struct.pack_into('<H', log, at + 8 + 4, status)
        struct.pack_into('<h', log, at + 8 + 8, coolant)
        struct.pack_into('<h', log, at + 8 + 22, speed)
        struct.pack_into('<h', log, at + 8 + 24, rpm)
        struct.pack_into('<h', log, at + 8 + 34, air)
        struct.pack_into('<h', log, at + 8 + 72, ratio)

    error(0, 1500, 7, 3, 0x40AB, 0x0420, 0x0201, -40, 2500, 88, 4, 98)
    error(1, 65, 1, 10, 0x0171, 0, 0x0202, 1, 1, 1, 1, 1)
    error(2, 100, 5, 5, 0, 0xC100, 0x1004, 90, 800, 0, 7, 100)
    error(3, 0, 1, 1, 0x5000, 0, 0, 0, 0, 0, 0, 0)
    error(4, 65535, 31, 12, 0x4C05, 0, 0, 0, 0, 0, 0, 0)
    return b


def run(*args):
    p = subprocess.run([TRIPCTL, 'journal', *args], capture_output=True)
    return p.returncode, p.stdout, p.stderr


def check(name, got, expected):
    if got != expected:
        failures.append(f'{name}:\n  got      {got!r}\n  expected {expected!r}')


def lines(rows):
    return ''.join('\t'.join(r) + '\t\r\n' for r in rows)


EN_HEADER = ['#', 'Date and time of rec.', 'Travel time', 'Mileage, km', 'Fuel expense, l', 'Av. speed, km/h',
             'Av. expense per 100 km', 'Av. expense per hour', 'Cost']
RU_HEADER = ['#', 'Дата и время записи', 'Время в пути', 'Пробег, км', 'Расход топлива, л',
             'Ср. скорость, км/час', 'Ср. расход на 100 км', 'Ср. расход в час', 'Стоимость']


def trip_rows(last, empty, header):
    rows = [header,
            [last, '23:59   31.12', '1:30', '81.000', '6.480', '54', '8.0', '4.32', '446.3'],
            ['1', empty] + [''] * 7,
            ['2', '00:05   1.01', '0:16', '1.250', '0.125', '4', '10.0', '0.45', '10.2'],
            ['3', '10:00   9.10', '0:00', '0.000', '0.010', '---', '---', '---', '0.5']]
    rows += [[str(r), empty] + [''] * 7 for r in range(4, 21)]
    return rows


def main():
    path = f'{WORK}/journals.kelmg'
    open(path, 'wb').write(settings_file(0xC000, blocks_with_journals(41, 1, 0)))  # a VAG protocol

    rc, out, err = run(path, '--trip')
    check('trip rc', rc, 0)
    check('trip', out.decode('utf-8'), lines(trip_rows('Last', 'Empty', EN_HEADER)))
    rc, out, err = run(path, '--trip', '--lang', 'ru', '--encoding', 'cp1251')
    check('trip cp1251', out, lines(trip_rows('Посл.', 'Пусто', RU_HEADER)).encode('cp1251'))

    rc, out, err = run(path, '--refuel', '--lang', 'en')
    refuel = [EN_HEADER, ['Last', '08:00   15.06', '1:00', '100.000', '7.500', '100', '7.5', '7.50', '499.5']]
    refuel += [[str(r), 'Empty'] + [''] * 7 for r in range(1, 21)]
    check('refuel', out.decode('utf-8'), lines(refuel))

    rc, out, err = run(path, '--sums', '--json')
    check('sums rc', rc, 0)
    labels = ['Time', 'Mileage, km', 'Expense, l', 'Av.speed, km/h', 'Av.exp., l/100', 'Av.exp., l/h']
    values = {
        'sgAllSum': ['10:00', '12845.000', '45.000', '50.0', '9.0', '4.5'],
        'sgTripSum': ['0:00', '0.000', '0.000', '-----', '-----', '-----'],
        'sgResetSum': ['2:01', '1.234', '0.123', '0.6', '10.0', '0.1'],
        'sgStopSum': ['0:00', '0.500', '0.050', '-----', '10.0', '-----'],
        'sgNoStopSum': ['0:59', '0.000', '0.000', '0.0', '-----', '0.0'],
        'sgTankSum': ['100:00', '4294967.295', '8589934.590', '42949.7', '200.0', '85899.3'],
        'sgOilOnlySum': ['0:30', '30.000', '2.000', '60.0', '6.7', '4.0'],
        'sgGasOnlySum': ['1:00', '10.000', '1.500', '10.0', '15.0', '1.5'],
    }
    check('sums', json.loads(out), {k: [list(p) for p in zip(labels, v)] for k, v in values.items()})

    rc, out, err = run(path, '--errors', '--json')
    check('errors rc', rc, 0)
    expected = [
        {'index': 0, 'time': '25:00 7.03', 'code': 'P0171', 'freezeFrame': [
            ['Trouble code', 'P0420'], ['Fuel system 1 status', 'Closed loop(O2 sens)'],
            ['Fuel system 2 status', 'Open loop(ins.eng.T)'], ['Eng.coolant temper., C', '-40'],
            ['Engine RPM', '2500'], ['Vehicle speed, km/h', '88'], ['Состояние вторичного воздуха', 'Off'],
            ['Command equivalence ratio', '0.98']]},
        {'index': 1, 'time': '1:05 1.10', 'code': '369', 'freezeFrame': []},
        {'index': 2, 'time': '', 'code': '', 'freezeFrame': [
            ['Trouble code', 'U0100'], ['Fuel system 1 status', 'Closed loop(O2s Flt)'],
            ['Fuel system 2 status', 'Open loop(Eng.load)'], ['Eng.coolant temper., C', '90'],
            ['Engine RPM', '800'], ['Vehicle speed, km/h', '0'], ['Состояние вторичного воздуха', 'Unknown'],
            ['Command equivalence ratio', '1.00']]},
        {'index': 3, 'time': '0:00 1.01', 'code': 'P0000', 'freezeFrame': []},
        {'index': 4, 'time': '1092:15 31.12', 'code': 'P0005', 'freezeFrame': []},
        {'index': 5, 'time': '', 'code': '', 'freezeFrame': []},
        {'index': 6, 'time': '', 'code': '', 'freezeFrame': []},
    ]
    got = json.loads(out)
    check('errors', got, expected)

    # The fault export: a line per freeze-frame row, the record repeated; a
    # record without a frame gets one line, an empty record (2) none.
    rc, out, err = run(path, '--errors')
    check('errors text rc', rc, 0)
    record0 = ['0', '25:00 7.03', 'P0171']
    faults = [['#', 'Time', 'Trouble code', 'Freeze frame parameter', 'Value']]
    faults += [record0 + row for row in expected[0]['freezeFrame']]
    faults += [['1', '1:05 1.10', '369', '', ''], ['3', '0:00 1.01', 'P0000', '', ''],
               ['4', '1092:15 31.12', 'P0005', '', '']]
    check('errors text', out.decode('utf-8'), lines(faults))
    rc, out, err = run(path, '--errors', '--lang', 'ru', '--encoding', 'cp1251')
    check('errors text cp1251', out.decode('cp1251').split('\r\n')[:2],
          ['#\tВремя\tКод ошибки\tПараметр стоп-кадра\tЗначение\t', '0\t25:00 7.03\tP0171\tКод ошибки\tP0420\t'])

    # The same file with option list 0 on item 0: small VAG codes are not shown.
    other = f'{WORK}/vag0.kelmg'
    open(other, 'wb').write(settings_file(0xC000, blocks_with_journals(41, 0, 0)))
    rc, out, err = run(other, '--errors', '--json', '--lang', 'ru')
    got = json.loads(out)
    check('vag item 0', [e['code'] for e in got], ['P0171', '', '', 'P0000', 'P0005', '', ''])
    check('russian frame label', got[0]['freezeFrame'][0], ['Код ошибки', 'P0420'])

    # Usage errors and unreadable files.
    for args in [(path,), (path, '--trip', '--refuel'), (path, '--trip', '--json'), (path, '--trip', '--lang', 'de'),
                 (path, '--trip', '--encoding', 'koi8-r'), (path, '--errors', '--json', '--encoding', 'cp1251'),
                 ('--trip',)]:
        rc, out, err = run(*args)
        check(f'usage {args}', (rc, out), (2, b''))
    rc, out, err = run(f'{WORK}/missing.kelmg', '--trip')
    check('missing file', (rc, out, err != b''), (1, b'', True))

    if failures:
        print('\n'.join(failures))
        sys.exit(1)


main()

#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Writes the test data files of this directory and the tables expected from them.

The expected tables come from the small model of the table compiler below (line syntax, include
files, the three key orders, the quicksort and the table layout), written on its own and not
taken from the program's output. Run it from anywhere; it writes beside itself.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def big5(text):
    return text.encode('cp950')


# --- Lines -------------------------------------------------------------------------------------

def editor_lines(data):
    """Lines of a data file as the editor loads them: CR LF, CR and LF end a line, a zero byte
    ends the text, a break at the very end starts no further line."""
    data = data.split(b'\0', 1)[0]
    lines, current, at = [], bytearray(), 0
    while at < len(data):
        byte = data[at]
        at += 1
        if byte in (13, 10):
            lines.append(bytes(current))
            current = bytearray()
            if byte == 13 and at < len(data) and data[at] == 10:
                at += 1
        else:
            current.append(byte)
    if current:
        lines.append(bytes(current))
    return [line[:4096] for line in lines]


def included_lines(data):
    """Lines of an included file: CR LF, CR and LF end a line, zero bytes are dropped, empty
    lines and lines starting with // are dropped."""
    data = data.replace(b'\0', b'')
    lines, current, at = [], bytearray(), 0
    while at < len(data):
        byte = data[at]
        at += 1
        if byte in (13, 10):
            lines.append(bytes(current))
            current = bytearray()
            if byte == 13 and at < len(data) and data[at] == 10:
                at += 1
        else:
            current.append(byte)
    lines.append(bytes(current))
    return [line for line in lines if line and not line.startswith(b'//')]


def columns(line):
    line = line.replace(b'\r', b' ').replace(b'\n', b' ')
    # Space and tab only: bytes.split() would also cut at \v, \f and others.
    words, rest = [], line.lstrip(b' \t')
    while rest and len(words) < 2:
        end = 0
        while end < len(rest) and rest[end] not in b' \t':
            end += 1
        words.append(rest[:end])
        rest = rest[end:].lstrip(b' \t')
    if rest:
        words.append(rest)
    return words


class Compiler:
    def __init__(self, base):
        self.base = base
        self.entries = []  # (sequence, key, output)
        self.sequence = 0
        self.id_override = b''
        self.path_override = b''
        self.chain = []

    def add_line(self, line):
        cols = columns(line)
        if len(cols) < 2:
            return
        key, output = cols[0], cols[1]
        if key[:8] == b'#include':
            self.include_directive(output)
            return
        if key.startswith(b'//') or (len(key) >= 2 and key.endswith(b'//')) or key == b'/' \
                or output.startswith(b'//'):
            return
        if len(key) > 32 or len(output) > 64:
            return
        if len(key) + len(output) + 2 > 96:
            return
        self.entries.append((self.sequence, key, output))
        self.sequence += 1

    def include_directive(self, argument):
        if argument[:1] in (b'"', b'<'):
            argument = argument[1:]
        if not argument:
            return
        if argument[-1:] in (b'"', b'>'):
            argument = argument[:-1]
        if len(argument) >= 4:
            if argument[:2] == b'o=':
                self.path_override = argument[2:]
                return
            if argument[:3] == b'id=':
                self.id_override = argument[3:]
                return
        self.include_file(argument)

    def include_file(self, path):
        full = os.path.join(self.base, path.decode('latin-1'))
        if not os.path.isfile(full):
            return
        identity = os.path.realpath(full)
        if identity in self.chain:  # a cycle is not followed again
            return
        self.chain.append(identity)
        with open(full, 'rb') as f:
            for line in included_lines(f.read()):
                if line[:1] != b'#':
                    self.add_line(line)
        self.chain.pop()


# --- Key orders --------------------------------------------------------------------------------

def signed(key, at):
    if at >= len(key):
        return 0
    byte = key[at]
    return byte - 256 if byte >= 128 else byte


def is_digit(value):
    return ord('0') <= value <= ord('9')


def walk(a, b, i, j, digits, c_h):
    H, C, HYPHEN = ord('h'), ord('c'), ord('-')
    while signed(a, i) or signed(b, j):
        x, y = signed(a, i), signed(b, j)
        if digits and is_digit(x):
            i += 1
        elif digits and is_digit(y):
            j += 1
        elif c_h and x == H and i > 0 and a[i - 1] == C:
            i += 1
        elif c_h and y == H and j > 0 and b[j - 1] == C:
            j += 1
        elif y == HYPHEN:
            j += 1
            if x == HYPHEN:
                i += 1
        elif x == y:
            i += 1
            j += 1
        else:
            return x - y
    return 0


def compare_ty(a, b):
    H = ord('h')
    i = j = 0
    if signed(a, 0) == H:
        if signed(b, 0) != H:
            return signed(a, 0) - signed(b, 0)
        i = j = 1
    if signed(b, j) == H and signed(a, i) != H:
        return signed(a, i) - signed(b, j)
    return walk(a, b, i, j, True, True)


def compare_py(a, b):
    return walk(a, b, 0, 0, True, False)


def compare_ib(a, b):
    return walk(a, b, 0, 0, False, False)


ORDERS = {'ty': ('1', compare_ty, b'dty'), 'py': ('2', compare_py, b'dpy'), 'ib': ('3', compare_ib, b'dib')}


def quicksort(items, first, last, compare):
    """The table's quicksort, step by step, on items[first..last]."""
    n = last - first + 1
    if n <= 1:
        return
    if n == 2:
        if compare(items[first], items[last]) > 0:
            items[first], items[last] = items[last], items[first]
        return
    pivot = items[first + n // 2]
    i, j = first, last
    while j >= i:
        while compare(items[i], pivot) < 0:
            i += 1
            if i > j:
                break
        while compare(pivot, items[j]) < 0:
            j -= 1
            if j < i:
                break
        if i <= j:
            items[i], items[j] = items[j], items[i]
            i += 1
            j -= 1
    if j != last and first < j:
        quicksort(items, first, j, compare)
    if i != first and i < last:
        quicksort(items, i, last, compare)


def sort_entries(entries, key_compare):
    def compare(x, y):
        by_key = key_compare(x[1], y[1])
        return by_key if by_key else x[0] - y[0]
    items = list(entries)
    quicksort(items, 0, len(items) - 1, compare)
    return items


# --- Table -------------------------------------------------------------------------------------

def table_bytes(entries, tag):
    tag = (tag[:4] + b'\0\0\0\0')[:4]
    body = b''.join(bytes([len(k)]) + k + bytes([len(o)]) + o for _, k, o in entries)
    return struct.pack('<I4sHHIIIII', 24, tag, 2, 1, len(entries), len(body), 1, 0, len(body)) + body


def compile_file(name, order):
    """What kpx-make writes for a data file: (table path relative to the data dir, bytes)."""
    digit, compare, default_id = ORDERS[order]
    compiler = Compiler(HERE)
    with open(os.path.join(HERE, name), 'rb') as f:
        for line in editor_lines(f.read()):
            compiler.add_line(line)
    entries = sort_entries(compiler.entries, compare)
    tag = compiler.id_override or default_id
    return compiler.path_override.decode('latin-1'), table_bytes(entries, tag)


# --- Self-checks against the worked examples ---------------------------------------------------

def sign(value):
    return (value > 0) - (value < 0)


def self_check():
    table = [('cha1', 'ca', 0, 1, 1), ('ca', 'cha1', 0, -1, -1), ('a1', 'a2', 0, 0, -1),
             ('ab', 'a-b', 0, 0, 0), ('a-b', 'ab', -1, -1, -1), ('kokchiong', 'kok-chiong', 0, 0, 0),
             ('kok-chiong', 'kokchiong', -1, -1, -1), ('ha', 'a', 1, 1, 1), ('a', 'ha', -1, -1, -1),
             ('hh', 'h1h', 0, 0, 1), ('h1h', 'hh', -1, 0, -1), ('ab', 'a', 1, 1, 1),
             ('a', 'a\xa4', 1, 1, 1), ('A', 'a', -1, -1, -1), ('chh', 'ch', 1, 1, 1)]
    for a, b, ty, py, ib in table:
        a, b = a.encode('latin-1'), b.encode('latin-1')
        got = (sign(compare_ty(a, b)), sign(compare_py(a, b)), sign(compare_ib(a, b)))
        assert got == (ty, py, ib), (a, b, got)
    for order in ORDERS.values():
        for keys, expected in (([b'ab', b'a-b', b'a'], [b'a', b'ab', b'a-b']),
                               ([b'ab', b'a-b', b'b'], [b'ab', b'a-b', b'b'])):
            got = [k for _, k, _ in sort_entries([(s, k, b'x') for s, k in enumerate(keys)], order[1])]
            assert got == expected, (order, got)
    example = table_bytes(sort_entries([(0, b'ba', b'\xa4\x41'), (1, b'a1', b'\xa4\x40')], compare_ty), b'dty')
    assert example == bytes.fromhex('18000000 64747900 0200 0100 02000000 0C000000 01000000 00000000 0C000000'
                                    '026131 02A440 026261 02A441'.replace(' ', '')), example.hex()


# --- The data files ----------------------------------------------------------------------------

def crlf(lines):
    return b''.join((big5(line) if isinstance(line, str) else line) + b'\r\n' for line in lines)


WORDS = [
    '// 鷺笙 word list: tone digits, c and ch, leading h, hyphens, Big5',
    'tai5-gi2\t台語',
    'tai-oan5  台灣',
    'tai5oan5  台灣人',
    'chiah8    食',
    'ciah8     食',
    'cha1      早',
    'ca        查',
    'ha2       好',
    'hoo5      和',
    'h1h       山',
    'hh        水',
    'chh       火',
    'ch        木',
    'a-bo      阿婆',
    'abo       阿',
    'a1        阿',
    'a         一',
    'ab        二',
    'a-b       三',
    'kok-chiong 國中',
    'kokchiong  國中',
    'lang5     人',
    'Lang      人',
    '#hash     字元',
    '        ',
    'm//       comment',
    'jugai?    //註解',
    '字元',
    'tesing    提昇 and more words',
    '  indented\t天  地',
    'a//b      c//',
    'lang5     人',
    'x' * 33 + ' too-long-key',
    'k' * 32 + ' ' + 'o' * 62,
    'k' * 32 + ' ' + 'o' * 63,
    b'big5key\xa4\x40 ' + big5('金'),
    b'\xa4\x40 ' + big5('土'),
]

INCLUDES = [
    '// a list that pulls in others',
    'main1 甲',
    '#include <inc/part1.txt>',
    '  #include "inc/part2.txt"',
    '#include inc/missing.txt',
    '#include inc/lf_only.txt',
    'main2 乙',
]
PART1 = ['p1a 丙', '#include inc/skipped.txt', '\t#include inc/part3.txt', '#p1hash 丁',
         '  // indented comment', 'p1b 戊']
PART3 = ['p3a 辛', ' #include inc/part1.txt', 'p3b 壬']

OVERRIDE = ['ov2 乙', '#include <o=override_out.zd>', '#include id=abcdef', 'ov1 甲']


def big_lines():
    """A longer list of keys from a small alphabet, so that hyphens, tone digits, c, ch and h
    meet often; a fixed linear congruential generator keeps it the same on every run."""
    state = 12345

    def next_value(bound):
        nonlocal state
        state = (state * 1103515245 + 12345) % (1 << 31)
        return (state >> 8) % bound

    syllables = ['a', 'ba', 'ca', 'cha', 'chha', 'ha', 'hi', 'ho', 'ka', 'kha', 'ng', 'oa', 'tai', 'tsi']
    outputs = '天地日月山水火木金土風雨雲甲乙丙丁戊己庚辛壬癸'
    lines = ['// generated word list']
    for number in range(1500):
        parts = []
        for _ in range(1 + next_value(3)):
            syllable = syllables[next_value(len(syllables))]
            if next_value(2):
                syllable += str(1 + next_value(8))
            parts.append(syllable)
        separator = '-' if next_value(3) == 0 else ''
        key = separator.join(parts)
        output = outputs[next_value(len(outputs))] + outputs[next_value(len(outputs))]
        lines.append(key + (' ' if number % 2 else '\t') + output)
        if number % 100 == 0:
            lines.append('// part %d' % (number // 100))
    return lines


def write(name, data):
    path = os.path.join(HERE, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(data)


def main():
    self_check()
    write('worked_example.txt', crlf([b'ba \xa4\x41', b'a1 \xa4\x40']))
    write('words.txt', crlf(WORDS))
    write('includes.txt', crlf(INCLUDES))
    write('inc/part1.txt', crlf(PART1))
    write('inc/part2.txt', big5('p2a 己\rp2b 庚\r'))
    write('inc/part3.txt', crlf(PART3))
    write('inc/skipped.txt', crlf(['skip 癸']))
    write('inc/lf_only.txt', big5('lf1 一 rest\nlf2 二\n'))
    write('override.txt', crlf(OVERRIDE))
    write('big.txt', crlf(big_lines()))

    expected = [('worked_example.txt', 'ty', 'worked_example.expected.zd'),
                ('includes.txt', 'ty', 'includes.expected.zd'),
                ('override.txt', 'py', 'override.expected.zd')]
    for order in ORDERS:
        expected.append(('words.txt', order, 'words.%s.expected.zd' % order))
        expected.append(('big.txt', order, 'big.%s.expected.zd' % order))
    for source, order, target in expected:
        path, table = compile_file(source, order)
        assert (path != '') == (source == 'override.txt'), (source, path)
        write(target, table)
    assert open(os.path.join(HERE, 'worked_example.expected.zd'), 'rb').read()[:4] == b'\x18\0\0\0'

    # Broken tables, each made from the worked example.
    good = bytearray(open(os.path.join(HERE, 'worked_example.expected.zd'), 'rb').read())

    def patched(offset, packed):
        bad = bytearray(good)
        bad[offset:offset + len(packed)] = packed
        return bytes(bad)

    broken = {
        'short_header.zd': bytes(good[:20]),
        'cut_in_record.zd': bytes(good[:41]),
        'record_size_25.zd': patched(0, struct.pack('<I', 25)),
        'fixed_field_8.zd': patched(8, struct.pack('<H', 3)),
        'fixed_field_20.zd': patched(20, struct.pack('<I', 0)),
        'body_sizes_differ.zd': patched(28, struct.pack('<I', 13)),
        'count_too_large.zd': patched(12, struct.pack('<I', 3)),
        'count_huge.zd': patched(12, struct.pack('<I', 0xFFFFFFFF)),
        'count_too_small.zd': patched(12, struct.pack('<I', 1)),
        'key_past_end.zd': patched(38, bytes([0x7F])),
        'trailing_byte.zd': bytes(good) + b'\0',
    }
    for name, data in broken.items():
        write(os.path.join('broken', name), data)


if __name__ == '__main__':
    main()

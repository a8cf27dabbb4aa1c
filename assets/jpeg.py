"""A small baseline JPEG writer (YCbCr, 4:2:0, Huffman-coded) in plain Python, for the
pictures the build draws. Its Huffman tables are fixed-length codes: larger files than
tuned tables give, but every decoder reads them and there is nothing to get wrong."""
import math
import struct

LUMA_Q = [16, 11, 10, 16, 24, 40, 51, 61, 12, 12, 14, 19, 26, 58, 60, 55, 14, 13, 16, 24, 40, 57, 69, 56,
          14, 17, 22, 29, 51, 87, 80, 62, 18, 22, 37, 56, 68, 109, 103, 77, 24, 35, 55, 64, 81, 104, 113, 92,
          49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99]
CHROMA_Q = [17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99, 99, 99,
            47, 66, 99, 99, 99, 99, 99, 99] + [99] * 32

# Position in the block of the k-th coefficient in zig-zag order.
ZIGZAG = sorted(range(64), key=lambda i: (i // 8 + i % 8, (i // 8) if (i // 8 + i % 8) % 2 else (i % 8)))

COS = [[math.cos((2 * x + 1) * u * math.pi / 16) * (math.sqrt(0.5) if u == 0 else 1.0) / 2 for x in range(8)]
       for u in range(8)]

DC_SYMBOLS = list(range(12))
AC_SYMBOLS = [0x00, 0xF0] + [(run << 4) | size for run in range(16) for size in range(1, 11)]


def scaled(table, quality):
    """The table scaled for quality (1..100), in zig-zag order as the file and the coder use it."""
    scale = 5000 / quality if quality < 50 else 200 - 2 * quality
    return [min(255, max(1, int((table[ZIGZAG[k]] * scale + 50) // 100))) for k in range(64)]


def fixed_code(symbols, length):
    """Canonical Huffman table with every symbol at one length: {symbol: (code, length)}."""
    return {symbol: (code, length) for code, symbol in enumerate(symbols)}


class BitWriter:
    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.bits = 0

    def put(self, value, length):
        self.acc = (self.acc << length) | (value & ((1 << length) - 1))
        self.bits += length
        while self.bits >= 8:
            self.bits -= 8
            byte = (self.acc >> self.bits) & 0xFF
            self.out.append(byte)
            if byte == 0xFF:
                self.out.append(0)  # a data 0xFF is followed by 0 so it is not read as a marker
        self.acc &= (1 << self.bits) - 1

    def flush(self):
        if self.bits:
            self.put((1 << (8 - self.bits)) - 1, 8 - self.bits)


def dct(block):
    """Forward DCT of 64 level-shifted samples, row by row then column by column."""
    rows = [[sum(c * s for c, s in zip(COS[u], block[y * 8:y * 8 + 8])) for u in range(8)] for y in range(8)]
    return [sum(COS[v][y] * rows[y][u] for y in range(8)) for v in range(8) for u in range(8)]


def magnitude(value):
    size = abs(value).bit_length()
    return size, (value if value >= 0 else value + (1 << size) - 1)


def encode_block(writer, block, quant, previous_dc, dc_code, ac_code):
    coefficients = dct([s - 128 for s in block])
    q = [int(round(coefficients[ZIGZAG[k]] / quant[k])) for k in range(64)]
    size, bits = magnitude(q[0] - previous_dc)
    writer.put(*dc_code[size])
    writer.put(bits, size)
    run = 0
    for value in q[1:]:
        if value == 0:
            run += 1
            continue
        while run > 15:
            writer.put(*ac_code[0xF0])
            run -= 16
        size, bits = magnitude(max(-1023, min(1023, value)))
        writer.put(*ac_code[(run << 4) | size])
        writer.put(bits, size)
        run = 0
    if run:
        writer.put(*ac_code[0x00])
    return q[0]


def huffman_segment(table_class, table_id, symbols, length):
    counts = [0] * 16
    counts[length - 1] = len(symbols)
    body = bytes([(table_class << 4) | table_id]) + bytes(counts) + bytes(symbols)
    return b"\xff\xc4" + struct.pack(">H", 2 + len(body)) + body


def jpeg_file(width, height, painter, quality=90):
    """The JPEG bytes of a width x height picture painted by painter(x, y) -> (r, g, b)."""
    luma_q, chroma_q = scaled(LUMA_Q, quality), scaled(CHROMA_Q, quality)
    ycc = []
    for y in range(height):
        row = []
        for x in range(width):
            r, g, b = painter(x, y)
            row.append((0.299 * r + 0.587 * g + 0.114 * b,
                        128 - 0.168736 * r - 0.331264 * g + 0.5 * b,
                        128 + 0.5 * r - 0.418688 * g - 0.081312 * b))
        ycc.append(row)

    def sample(x, y, channel):
        return ycc[min(y, height - 1)][min(x, width - 1)][channel]

    dc_y, ac_y = fixed_code(DC_SYMBOLS, 4), fixed_code(AC_SYMBOLS, 8)
    writer = BitWriter()
    previous = [0, 0, 0]
    for my in range(0, height, 16):
        for mx in range(0, width, 16):
            for by, bx in ((0, 0), (0, 8), (8, 0), (8, 8)):
                block = [sample(mx + bx + i, my + by + j, 0) for j in range(8) for i in range(8)]
                previous[0] = encode_block(writer, block, luma_q, previous[0], dc_y, ac_y)
            for channel in (1, 2):
                block = [sum(sample(mx + 2 * i + dx, my + 2 * j + dy, channel) for dx in (0, 1) for dy in (0, 1)) / 4
                         for j in range(8) for i in range(8)]
                previous[channel] = encode_block(writer, block, chroma_q, previous[channel], dc_y, ac_y)
    writer.flush()

    out = bytearray(b"\xff\xd8")
    out += b"\xff\xe0" + struct.pack(">H5sBBBHHBB", 16, b"JFIF\0", 1, 1, 0, 1, 1, 0, 0)
    out += b"\xff\xdb" + struct.pack(">H", 132) + bytes([0]) + bytes(luma_q) + bytes([1]) + bytes(chroma_q)
    out += b"\xff\xc0" + struct.pack(">HBHHB", 17, 8, height, width, 3) + bytes([1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1])
    out += huffman_segment(0, 0, DC_SYMBOLS, 4) + huffman_segment(1, 0, AC_SYMBOLS, 8)
    out += b"\xff\xda" + struct.pack(">HB", 12, 3) + bytes([1, 0x00, 2, 0x00, 3, 0x00, 0, 63, 0])
    out += writer.out + b"\xff\xd9"
    return bytes(out)

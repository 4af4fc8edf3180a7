"""Animated GIF writer for the build's generated images.

Takes the frames of a pngtools.Canvas strip (frames side by side), keeps
pixels with alpha of at least 128 as opaque and makes the rest transparent.
A frame strip may hold at most 255 distinct colours. Only the standard
library is used.
"""

import struct

_MAX_CODE = 4095


def _lzw(indices, min_code_size):
    """GIF's variable-width LZW: returns the packed code stream."""
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    bit_buffer = 0
    bit_count = 0

    def emit(code, size):
        nonlocal bit_buffer, bit_count
        bit_buffer |= code << bit_count
        bit_count += size
        while bit_count >= 8:
            out.append(bit_buffer & 0xFF)
            bit_buffer >>= 8
            bit_count -= 8

    def fresh_table():
        return {(i,): i for i in range(clear)}

    table = fresh_table()
    next_code = end + 1
    code_size = min_code_size + 1
    emit(clear, code_size)
    prefix = (indices[0],)
    for index in indices[1:]:
        candidate = prefix + (index,)
        if candidate in table:
            prefix = candidate
            continue
        emit(table[prefix], code_size)
        # The decoder widens its codes once the next free code no longer fits.
        if next_code >= (1 << code_size) and code_size < 12:
            code_size += 1
        if next_code < _MAX_CODE:
            table[candidate] = next_code
            next_code += 1
        else:
            emit(clear, code_size)
            table = fresh_table()
            next_code = end + 1
            code_size = min_code_size + 1
        prefix = (index,)
    emit(table[prefix], code_size)
    emit(end, code_size)
    if bit_count:
        out.append(bit_buffer & 0xFF)
    return bytes(out)


def _sub_blocks(data):
    blocks = bytearray()
    for start in range(0, len(data), 255):
        chunk = data[start:start + 255]
        blocks.append(len(chunk))
        blocks += chunk
    blocks.append(0)
    return bytes(blocks)


def write_gif(path, canvas, frames, frame_width, frame_height, delay_cs):
    """Writes the canvas's frames (side by side) as a looping GIF."""
    transparent = None
    palette = []
    lookup = {}
    frame_indices = []
    for frame in range(frames):
        indices = []
        for y in range(frame_height):
            row = canvas.pixels[y]
            for x in range(frame * frame_width, (frame + 1) * frame_width):
                r, g, b, a = row[x]
                key = None if a < 128 else (r, g, b)
                if key not in lookup:
                    lookup[key] = len(palette)
                    palette.append(key)
                indices.append(lookup[key])
        frame_indices.append(indices)
    if len(palette) > 256:
        raise ValueError("%s: %d colours, a GIF holds 256" % (path, len(palette)))
    if None in lookup:
        transparent = lookup[None]

    bits = 1
    while (1 << bits) < len(palette):
        bits += 1
    table_size = 1 << bits
    colours = bytearray()
    for entry in palette + [None] * (table_size - len(palette)):
        colours += bytes(entry) if entry else b"\0\0\0"
    min_code_size = max(2, bits)

    data = bytearray(b"GIF89a")
    data += struct.pack("<HHBBB", frame_width, frame_height, 0xF0 | (bits - 1), 0, 0)
    data += colours
    data += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00"
    for indices in frame_indices:
        # Disposal 2: each frame replaces the previous one.
        flags = (2 << 2) | (1 if transparent is not None else 0)
        data += struct.pack("<BBBBHBB", 0x21, 0xF9, 4, flags, delay_cs, transparent or 0, 0)
        data += struct.pack("<BHHHHB", 0x2C, 0, 0, frame_width, frame_height, 0)
        data.append(min_code_size)
        data += _sub_blocks(_lzw(indices, min_code_size))
    data.append(0x3B)
    with open(path, "wb") as out:
        out.write(bytes(data))

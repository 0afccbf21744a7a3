"""Working files for the runs under Wine: 24-bit bitmaps, a small MilkShape
3D model, and malformed variants of both."""

import struct

import contract

_FILE_HEADER = contract.kBitmapFileHeaderSize
_HEADERS = contract.kBitmapHeadersSize
_MS3D_HEADER = contract.kMs3dHeaderSize
_VERTEX = contract.kMs3dVertexSize
_TRIANGLE = contract.kMs3dTriangleSize

# --- Bitmaps -----------------------------------------------------------------


def _info(width, height, bits, compression=0, image_size=0, colors_used=0, size=contract.kBitmapInfoHeaderSize):
    return struct.pack("<IiiHHIIiiII", size, width, height, 1, bits, compression, image_size, 0, 0,
                       colors_used, 0)


def _file(body, offset):
    return struct.pack("<2sIHHI", b"BM", _FILE_HEADER + len(body), 0, 0, offset) + body


def bmp24_rows(width, rows):
    """A 24-bit bitmap file as the shell writes one: `rows` bottom row first, each `width` pixels
    of blue, green and red bytes, padded here to four bytes."""
    padding = b"\0" * ((4 - width * 3 % 4) % 4)
    pixels = b"".join(row + padding for row in rows)
    return _file(_info(width, len(rows), 24, image_size=len(pixels)) + pixels, _HEADERS)


class Bitmap:
    """The headers of a Windows bitmap file and its pixels, as the shell writes them."""

    def __init__(self, data):
        assert len(data) >= _HEADERS and data[:2] == b"BM", "not a bitmap file (%d bytes)" % len(data)
        self.data = data
        self.offset = struct.unpack_from("<I", data, 10)[0]
        (self.header_size, self.width, self.height, _, self.bits, self.compression,
         ) = struct.unpack_from("<IiiHHI", data, _FILE_HEADER)
        self.stride = (self.width * self.bits // 8 + 3) // 4 * 4

    def describe(self):
        return "%dx%d, %d bits, compression %d, header %d" % (self.width, self.height, self.bits, self.compression,
                                                              self.header_size)

    def assert_plain(self, width, height):
        """24-bit, bottom-up, uncompressed, of the given size, and long enough for its rows."""
        assert (self.width, self.height, self.bits, self.compression) == (width, height, 24, 0), self.describe()
        needed = self.offset + self.stride * height
        assert len(self.data) >= needed, "%d bytes, the rows need %d" % (len(self.data), needed)

    def rows(self):
        """The rows of pixel bytes without their padding, in the file's order: bottom row first."""
        starts = (self.offset + row * self.stride for row in range(abs(self.height)))
        return [self.data[start:start + self.width * self.bits // 8] for start in starts]

    def pixel(self, x, y):
        """(r, g, b) at x, y counted from the top-left."""
        at = self.offset + (self.height - 1 - y) * self.stride + x * 3
        b, g, r = self.data[at:at + 3]
        return r, g, b


def bmp24(width, height, rgb):
    """A 24-bit bitmap file of one colour."""
    r, g, b = rgb
    return bmp24_rows(width, [bytes([b, g, r]) * width] * height)


def malformed_bitmaps():
    """(name, bytes, the message the reader must show) for broken picture files."""
    good = bmp24(8, 8, (10, 20, 30))
    v5 = _file(_info(8, 8, 24, size=124) + b"\0" * 84 + b"\0" * 256, _FILE_HEADER + 124)
    palette_cut = _file(_info(8, 8, 8) + b"\0" * 40, _HEADERS)        # 256 colours promised, 10 given
    huge = _file(_info(0x7fffffff, 0x7fffffff, 24), _HEADERS)          # rows far past the end
    overflow = _file(_info(0x40000000, 16, 32), _HEADERS)              # row bytes overflow 32 bits
    rle_garbage = _file(_info(8, 8, 8, compression=1, image_size=64) + b"\0" * 1024 + b"\xff" * 64,
                        _HEADERS + 1024)
    bitfields_cut = _file(_info(8, 8, 16, compression=3), _HEADERS)     # masks missing
    return [
        ("empty", b"", "Failed to open DIB file %s.\n" % contract.kRendererSkyPicturePath),
        ("v5_header", v5, "Unknown DIB file format."),
        ("text", b"this is not a picture at all\n", "Unknown DIB file format."),
        ("truncated_pixels", good[:len(good) // 2], "Image file conversion error."),
        ("offset_past_end", good[:10] + struct.pack("<I", 1 << 30) + good[14:], "Image file conversion error."),
        ("palette_cut", palette_cut, "Image file conversion error."),
        ("huge", huge, "Image file conversion error."),
        ("overflow", overflow, "Image file conversion error."),
        ("rle_bad_size", rle_garbage[:200], "Image file conversion error."),
        ("bitfields_cut", bitfields_cut, "Image file conversion error."),
    ]


# --- Models ------------------------------------------------------------------

_BOX_CORNERS = [(x, y, z) for x in (0, 1) for y in (0, 1) for z in (0, 1)]
# Two triangles per face, as corner indices into _BOX_CORNERS.
_BOX_FACES = [(0, 1, 3), (0, 3, 2), (4, 6, 7), (4, 7, 5), (0, 4, 5), (0, 5, 1),
              (2, 3, 7), (2, 7, 6), (0, 2, 6), (0, 6, 4), (1, 5, 7), (1, 7, 3)]


def _boxes():
    """An airliner of boxes, nose along +z: fuselage, wings, tailplane, fin."""
    return [((-1.2, -1.2, -9.0), (2.4, 2.4, 18.0)),
            ((-10.0, -0.3, -1.5), (20.0, 0.6, 4.0)),
            ((-4.0, -0.2, -9.0), (8.0, 0.4, 2.0)),
            ((-0.2, 0.0, -9.0), (0.4, 4.0, 2.5))]


def ms3d(version=4, texture=b"", material=True):
    """A small MilkShape 3D model; one group using one material (or none)."""
    vertices, triangles = [], []
    for origin, size in _boxes():
        base = len(vertices)
        for c in _BOX_CORNERS:
            vertices.append(tuple(origin[i] + c[i] * size[i] for i in range(3)))
        for face in _BOX_FACES:
            triangles.append(tuple(base + i for i in face))
    out = contract.kMs3dIdentifier.encode() + struct.pack("<i", version)
    out += struct.pack("<H", len(vertices))
    for v in vertices:
        out += struct.pack("<B3fbB", 0, *v, -1, 1)
    out += struct.pack("<H", len(triangles))
    for t in triangles:
        out += struct.pack("<H3H9f3f3fBB", 0, *t, *([0.0, 1.0, 0.0] * 3), 0, 1, 0, 0, 0, 1, 1, 0)
    out += struct.pack("<H", 1)
    out += struct.pack("<B32sH", 0, b"body", len(triangles))
    out += struct.pack("<%dH" % len(triangles), *range(len(triangles)))
    out += struct.pack("<b", 0 if material else -1)
    if material:
        out += struct.pack("<H", 1)
        out += struct.pack("<32s4f4f4f4fffB128s128s", b"paint", 0.3, 0.3, 0.3, 1, 0.9, 0.1, 0.9, 1,
                           0, 0, 0, 1, 0, 0, 0, 1, 10.0, 1.0, 0, texture, b"")
    else:
        out += struct.pack("<H", 0)
    return out


def malformed_models():
    """(name, bytes) for model files the renderer must refuse."""
    good = ms3d()
    bad_index = bytearray(good)
    # First triangle's first vertex index (after header, vertex count and 32 vertices, triangle count, flags).
    at = _MS3D_HEADER + 2 + 32 * _VERTEX + 2 + 2
    bad_index[at:at + 2] = struct.pack("<H", 60000)
    group_at = _MS3D_HEADER + 2 + 32 * _VERTEX + 2 + 48 * _TRIANGLE + 2
    bad_group = bytearray(good)
    bad_group[group_at + 33:group_at + 35] = struct.pack("<H", 65535)
    return [
        ("empty", b""),
        ("magic_only", contract.kMs3dIdentifier.encode()),
        ("wrong_magic", b"MS3D000001" + good[10:]),
        ("version_2", ms3d(version=2)),
        ("version_5", ms3d(version=5)),
        ("cut_in_vertices", good[:100]),
        ("cut_in_triangles", good[:_MS3D_HEADER + 2 + 32 * _VERTEX + 2 + 500]),
        ("vertex_index_out_of_range", bytes(bad_index)),
        ("group_count_past_end", bytes(bad_group)),
        ("huge_counts", contract.kMs3dIdentifier.encode() + struct.pack("<iH", 4, 65535) + b"\0" * 64),
    ]

#!/usr/bin/env python3
"""Writes the hand-made seed inputs of the harnesses whose inputs are binary
(tool_gestures, geometry_strokes) into fuzz/corpus/<harness>/, and documents
their formats. The other harnesses' seeds are text files kept as they are:
command scripts from tests/scripts/cases (command_run, command_lexer), and
scenes, OBJ and OFF files written by those scripts and by hand.

    fuzz/seeds.py            rewrites the generated seeds (same bytes each time)
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def write(harness, name, data):
    folder = os.path.join(HERE, "corpus", harness)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(bytes(data))


# ---------------------------------------------------------------- tool_gestures
#
# A sequence of events, each an opcode byte (taken modulo 20) and its fields.
# A pointer is x and y (int16, little-endian, view pixels) and a flags byte:
# bits 0-1 the button (0 none, 1 left, 2 middle), bit 2 Shift, bit 3 Ctrl.
# The fake host's retopology mesh starts as a 4 x 4 grid of quads whose
# vertex (i, j) is at pixel (100 + 20 i, 100 + 20 j); every pixel hits the
# source surface.

PRESS, DRAG, RELEASE, MOVE, STROKE = 0, 1, 2, 3, 4
ENTER, BACKSPACE, ESCAPE, FEEDBACK, UNDO, TOOL_CHANGED = 5, 6, 7, 8, 9, 10
REFRESH_PLAYER, REBUILD_PLAYER, BRUSH, TOOL_OFF, TOOL_ON, ADOPT, RESET = 11, 12, 13, 14, 15, 16, 17
HOST = 18  # a change of the host, then a sub-opcode (taken modulo 10) and its fields
NONE, LEFT, MIDDLE = 0, 1, 2
SHIFT, CTRL = 4, 8


def px(i):
    return 100 + 20 * i


def pointer(x, y, flags):
    return list(struct.pack("<hhB", x, y, flags))


def event(op, x, y, flags):
    return [op] + pointer(x, y, flags)


def stroke(x0, y0, x1, y1, steps=10, flags=LEFT):
    return [STROKE] + pointer(x0, y0, flags) + list(struct.pack("<hhB", x1, y1, steps))


def click(i, j, flags):
    return event(PRESS, px(i), px(j), flags) + event(RELEASE, px(i), px(j), flags)


def pins(a, b):
    return click(*a, LEFT | SHIFT | CTRL) + click(*b, LEFT | SHIFT | CTRL)


def tool_gestures():
    patch = stroke(100, 60, 180, 60) + stroke(100, 40, 180, 40) + [ENTER]
    write("tool_gestures", "birail-patch", patch)
    write("tool_gestures", "grow-from-pins", pins((0, 0), (4, 0)) + stroke(100, 80, 180, 80))
    write("tool_gestures", "path", pins((0, 0), (4, 0)) + stroke(140, 90, 140, 20, 12, LEFT | SHIFT))
    write("tool_gestures", "redraw", patch + stroke(100, 50, 180, 50, 10, LEFT | CTRL))
    write("tool_gestures", "redraw-player",
          pins((0, 0), (4, 0)) + stroke(100, 90, 180, 90, 10, LEFT | CTRL) + [ENTER])
    write("tool_gestures", "bridge", pins((0, 0), (4, 0)) + click(0, 4, MIDDLE) + [ENTER])
    write("tool_gestures", "weld", pins((0, 0), (4, 0)) + click(0, 4, MIDDLE | SHIFT) + [ENTER])
    write("tool_gestures", "magnet",
          event(PRESS, px(0), px(0), MIDDLE) + event(DRAG, px(1), px(0), MIDDLE) +
          event(RELEASE, px(1), px(0), MIDDLE))
    write("tool_gestures", "brush",
          [BRUSH, 120, 2] + event(MOVE, 140, 140, NONE) + stroke(120, 120, 160, 160, 8) +
          [TOOL_ON])
    write("tool_gestures", "backspace-escape",
          stroke(100, 60, 180, 60) + pins((0, 0), (4, 0)) + click(0, 4, MIDDLE) +
          [BACKSPACE, BACKSPACE, BACKSPACE, BACKSPACE, FEEDBACK, 1, ESCAPE])
    # The mesh changes under held pins (an undo, a span change): the pins go stale.
    write("tool_gestures", "mesh-changes-under-pins",
          pins((0, 0), (4, 4)) + [HOST, 3, 1, 1, 0, 0] + stroke(100, 80, 180, 80) +
          [REBUILD_PLAYER, FEEDBACK, 1, ENTER, UNDO])
    write("tool_gestures", "strange-host",
          [HOST, 8, 1] + stroke(100, 60, 180, 60) + [HOST, 7, 8, 255, 254] +
          stroke(100, 40, 180, 40) + [ENTER, HOST, 4, 3, 0, 255, 9, ADOPT, 2, 8, 12] +
          stroke(100, 50, 180, 50, 10, LEFT | CTRL) + [HOST, 1, TOOL_CHANGED, REFRESH_PLAYER])


# ---------------------------------------------------------------- geometry_strokes
#
# A sequence of operations, each an opcode byte (modulo 7: 0 resample,
# 1 densify, 2 rail grid, 3 bridge, 4 border walks, 5 stroke sets, 6 merging
# sink) and its fields, as geometry_strokes.cpp reads them: an integer in a
# range of up to 256 values is one byte, a wider one two (little-endian),
# taken modulo the range; a flag is a byte's low bit; a value is a selector
# byte (0 NaN, 1 inf, 2 -inf, 3 0, 4 -0, 5 max, 6 -max, 7 denormal, 8 min,
# 9 and 10 and 11 small numbers from the next byte or two, 12 and above the
# next 8 bytes as a double); a point is a byte (0 the previous point, 1 a
# hair from it, else three values).

RAW = 12


def u8(n):
    return [n & 0xFF]


def u16(n):
    return list(struct.pack("<H", n))


def value(x):
    return [RAW] + list(struct.pack("<d", x))


def point(x, y, z):
    return [2] + value(x) + value(y) + value(z)


def polyline(points, wide=True):
    """A stroke; wide: its count is read as two bytes (ranges over 256)."""
    return (u16(len(points)) if wide else u8(len(points))) + sum((point(*p) for p in points), [])


def meridian(x, n=40):
    # The strokes of tests/scripts/tool_lib.sh: on a sphere of radius 5, at x, from y = -2 to 2.
    return [(x, -2 + 4 * i / (n - 1), math.sqrt(25 - x * x - (-2 + 4 * i / (n - 1)) ** 2))
            for i in range(n)]


def spans(n):
    return [2] + u16(n - 1)  # selector 2: a count from 1, two bytes


def geometry_strokes():
    # resample: closed? (one in eight), the stroke (<= 300 points), spans, for a closed
    # stroke the passes before it turns open (two bytes), a chord step, a ray.
    write("geometry_strokes", "resample-meridian",
          [0, 1] + polyline(meridian(1.5)) + spans(12) + value(0.3) +
          point(0, 0, 0) + point(1, 0, 0) + point(0, 0, 0) + value(1.0))
    write("geometry_strokes", "resample-closed",
          [0, 0] + u16(8) + sum((point(math.cos(k), math.sin(k), 0) for k in range(8)), []) +
          [2] + u16(7) + u16(500) + value(0.1))
    # densify: a stroke, then a stroke set (points, sizes).
    write("geometry_strokes", "densify-two-strokes",
          [1] + polyline(meridian(1.5, 20)) + u8(40) +
          sum((point(*p) for p in meridian(1.5, 20) + meridian(-1.5, 20)), []) +
          [2, 3, 20, 3, 20])
    # rail grid: rails (count, each a stroke), a player row?, u, v, tolerance, scratch,
    # closed?, a start mesh?.
    write("geometry_strokes", "rail-grid-two-meridians",
          [2, 2] + polyline(meridian(-1.5), False) + polyline(meridian(1.5), False) + [0] +
          [2, 11] + [12] + value(0.001) + [0, 1, 0])
    # bridge: a mesh (grid flag, nx, ny, holes per quad), border edges or a polyline, a
    # path, the tolerance, then row numbering.
    grid = [1, 3, 3] + [1] * 9
    write("geometry_strokes", "bridge-along-border",
          [3] + grid + [4, 4, 0, 4, 1, 4, 2, 1] + polyline([(0, 0, 0), (0, 0, 1), (0, 0, 2)], False) +
          [0] + value(0.001) + u16(9) + u16(4) + u16(4) + u16(3))
    # border walks on a grid with a hole: walk, range, fuse loop, chains.
    write("geometry_strokes", "border-walks",
          [4] + [1, 4, 4] + [1] * 5 + [0] + [1] * 10 + [6] +
          [0, 4, 4, 4, 4, 4, 1, 1, 4, 4, 4, 4, 2, 3, 4, 4, 4, 4, 4, 4, 4, 4, 4, 2, 5, 4, 4])
    # stroke sets whose sizes disagree with their points, then each edit.
    write("geometry_strokes", "stroke-sets",
          [5] + u8(6) + sum((point(k, 0, 0) for k in range(6)), []) + [3, 3, 4, 0, 3, 9] + [0] +
          u8(2) + point(9, 9, 9) + [0])
    write("geometry_strokes", "merging-sink",
          [6, 0, 2] + u8(4) + point(0, 0, 0) + point(1, 0, 0) + point(1, 1, 0) + point(0, 1, 0) +
          value(0.001) + u8(3) + point(0, 0, 0) + point(1, 0, 0) + point(0, 0, 1) + value(1e-9) +
          value(0.002) + [3] + point(0, 0, 0) + [0, 1] + value(0.5) + [0] + value(0) + [0] +
          value(float("inf")) + [0] + value(-1))


if __name__ == "__main__":
    tool_gestures()
    geometry_strokes()

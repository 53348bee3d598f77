#!/usr/bin/env python3
"""Writes HAND-M.CUR, the project's own hand pointer: a 32x32 32-bit cursor whose hot spot
is the tip of the pointing finger. Run from this folder after changing the drawing."""
import struct

# '#' outline, everything enclosed by the outline is filled white, the rest is transparent.
DRAWING = """
.....##..........
....#..#.........
....#..#.........
....#..#.........
....#..#.........
....#..###.......
....#..#..###....
....#..#..#..##..
.##.#..#..#..#.#.
#..##........#..#
#...#...........#
.#..............#
..#.............#
..#............#.
...#...........#.
...#..........#..
....#.........#..
....#........#...
.....#.......#...
.....#########...
"""
HOT_SPOT = (5, 0)
SIZE = 32


def pixels():
    rows = [line for line in DRAWING.strip("\n").split("\n")]
    grid = [[" "] * SIZE for _ in range(SIZE)]
    for y, line in enumerate(rows):
        for x, ch in enumerate(line):
            if ch == "#":
                grid[y][x] = "#"
    # Flood the outside; whatever the flood does not reach inside the outline is the hand.
    outside = set()
    stack = [(0, SIZE - 1)]
    while stack:
        x, y = stack.pop()
        if not (0 <= x < SIZE and 0 <= y < SIZE) or (x, y) in outside or grid[y][x] == "#":
            continue
        outside.add((x, y))
        stack += [(x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)]
    for y in range(SIZE):
        for x in range(SIZE):
            if grid[y][x] == " " and (x, y) not in outside:
                grid[y][x] = "o"
    return grid


def cursor_bytes():
    grid = pixels()
    colour = bytearray()
    mask = bytearray()
    for y in reversed(range(SIZE)):  # bitmaps run bottom-up
        bits = 0
        for x in range(SIZE):
            cell = grid[y][x]
            if cell == "#":
                colour += bytes((0, 0, 0, 255))
            elif cell == "o":
                colour += bytes((255, 255, 255, 255))
            else:
                colour += bytes((0, 0, 0, 0))
                bits |= 1 << (31 - x)
        mask += struct.pack(">I", bits)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 32, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    image = header + colour + mask
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, HOT_SPOT[0], HOT_SPOT[1], len(image), 22)
    return directory + entry + image


if __name__ == "__main__":
    with open("HAND-M.CUR", "wb") as out:
        out.write(cursor_bytes())

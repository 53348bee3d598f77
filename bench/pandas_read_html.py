#!/usr/bin/python3
"""Times pandas.read_html on the extraction benchmark's inputs and compares with Veltrano.

Usage: pandas_read_html.py OURS.txt FILE...
OURS.txt is extraction_bench's output; its lines end with [file name]."""
import os
import re
import sys
import time

import pandas


def our_seconds(report):
    seconds = {}
    with open(report, encoding="utf-8") as lines:
        for line in lines:
            found = re.search(r"\s([\d.]+) s .*\[(.+)\]$", line.rstrip())
            if found:
                seconds[found.group(2)] = float(found.group(1))
    return seconds


def main():
    ours = our_seconds(sys.argv[1])
    print(f"{'file':28} {'MB':>7} {'pandas s':>9} {'ours s':>7} {'ratio':>6}")
    for path in sys.argv[2:]:
        name = os.path.basename(path)
        start = time.perf_counter()
        tables = pandas.read_html(path)
        seconds = time.perf_counter() - start
        size = os.path.getsize(path) / 1e6
        mine = ours.get(name)
        ratio = f"{seconds / mine:6.1f}" if mine else "     -"
        print(f"{name:28} {size:7.1f} {seconds:9.2f} {mine or 0:7.2f} {ratio}  ({len(tables)} tables)")


if __name__ == "__main__":
    main()

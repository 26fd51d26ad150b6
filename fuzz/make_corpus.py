#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into fuzz/corpus/<target>/, from
the reference vectors in tests/data: each case's inputs as little-endian
doubles, and for the gateways the same vectors as well-formed argument lists
(see the byte layout in gateway_fuzz.cpp). Run from anywhere; rewrites the
folders in full."""
import pathlib
import shutil
import struct

root = pathlib.Path(__file__).resolve().parent
data = root.parent / "tests" / "data"
DOUBLE = 6  # mxDOUBLE_CLASS in host/mex.h


def cases(name, n_inputs):
    for line in (data / name).read_text().splitlines():
        if line and not line.startswith("#"):
            words = line.split()
            yield words[0], [float(w) for w in words[1:1 + n_inputs]]


def doubles(values):
    return struct.pack("<%dd" % len(values), *values)


def argument(rows, cols, values):
    return bytes([DOUBLE, rows, cols, 0, len(values)]) + doubles(values)


def write(target, name, blob):
    (root / "corpus" / target / name).write_bytes(blob)


def main():
    for target in ("talvor_fuzz", "talvor_reference_fuzz", "pindrel_fuzz", "gateway_fuzz"):
        shutil.rmtree(root / "corpus" / target, ignore_errors=True)
        (root / "corpus" / target).mkdir(parents=True)
    talvor = list(cases("talvor.txt", 29))
    pindrel = list(cases("pindrel.txt", 20))
    for name, p in talvor:
        write("talvor_fuzz", name, doubles(p))
        write("talvor_reference_fuzz", name, doubles(p))
    for name, p in pindrel:
        write("pindrel_fuzz", name, doubles(p))
    # gateway, nlhs, nrhs, then the arguments; a batch of two with 2 threads.
    for gateway, slots, group in ((0, 29, talvor), (2, 20, pindrel)):
        for name, p in group[:4]:
            write("gateway_fuzz", "single_%s" % name, bytes([gateway, 1, 1]) + argument(1, slots, p))
        (a, p), (b, q) = group[0], group[1]
        write("gateway_fuzz", "batch_%s_%s" % (a, b),
              bytes([gateway + 1, 1, 2]) + argument(slots, 2, p + q) + argument(1, 1, [2.0]))


if __name__ == "__main__":
    main()

"""Shared data of the Python tests: the reference vectors and the rover wheel."""

import os
from pathlib import Path

import numpy as np
import pytest

import wheelsoil

DATA = Path(os.environ.get("WHEELSOIL_TEST_DATA", Path(__file__).resolve().parent.parent / "data"))


def reference(file, n_inputs):
    """The cases of tests/data/FILE: names, inputs (N, n_inputs), outputs."""
    names, rows = [], []
    for line in (DATA / file).read_text().splitlines():
        if not line.strip() or line.startswith("#"):
            continue
        words = line.split()
        names.append(words[0])
        rows.append([float(w) for w in words[1:]])  # reads nan, inf, -inf
    a = np.array(rows)
    return names, a[:, :n_inputs], a[:, n_inputs:]


def same_bits(a, b):
    """Equal to the last bit, any NaN equal to any NaN."""
    a, b = np.asarray(a, dtype=np.float64), np.asarray(b, dtype=np.float64)
    return a.shape == b.shape and bool(np.all((a.view(np.uint64) == b.view(np.uint64))
                                              | (np.isnan(a) & np.isnan(b))))


@pytest.fixture(scope="session")
def rover():
    """The README's rover wheel on dry sand at 10 mm sinkage and slip 0.2."""
    return wheelsoil.talvor_input("dry_sand", radius=0.13, width=0.16, centre_height=0.12,
                                  vx=0.08, wy=0.1 / 0.13, c1=0.4, c2=0.15, c3=0.1, c4=0,
                                  gravity=9.81)


@pytest.fixture(scope="session")
def talvor_cases():
    return reference("talvor.txt", 29)


@pytest.fixture(scope="session")
def pindrel_cases():
    return reference("pindrel.txt", 20)

"""talvor and pindrel from Python: reference vectors, shapes and memory
layouts, every refusal, threads and the GIL."""

import os
import shutil
import signal
import subprocess
import sys
import threading

import numpy as np
import pytest

import wheelsoil
from wheelsoil import _core
from conftest import same_bits

# The one reference case whose interpolated fit rounds differently between
# ways of writing it (the C++ golden test allows 1e-9 there too).
INTERPOLATED = "small_front_span"


def test_talvor_reproduces_reference_vectors_bit_for_bit(talvor_cases):
    names, P, F = talvor_cases
    assert same_bits(wheelsoil.talvor(P), F)
    for k, name in enumerate(names):
        assert same_bits(wheelsoil.talvor(P[k]), F[k]), name


def test_pindrel_reproduces_reference_vectors(pindrel_cases):
    names, Q, W = pindrel_cases
    w = wheelsoil.pindrel(Q)
    for k, name in enumerate(names):
        if name == INTERPOLATED:
            assert abs(w[k] - W[k, 0]) <= 1e-9 * abs(W[k, 0])
        else:
            assert same_bits(w[k], W[k, 0]), name
        one = wheelsoil.pindrel(Q[k])
        assert isinstance(one, float) and same_bits(one, w[k])


@pytest.mark.skipif(not (os.path.exists(os.path.join(os.environ.get("WHEELSOIL_OCTAVE_DIR", ""),
                                                    "talvor.mex"))
                         and shutil.which("octave-cli")),
                    reason="the Octave MEX files are not built")
def test_same_bits_as_octave(talvor_cases, pindrel_cases, tmp_path):
    _, P, _ = talvor_cases
    _, Q, _ = pindrel_cases
    np.savetxt(tmp_path / "p.txt", P, fmt="%.17g")
    np.savetxt(tmp_path / "q.txt", Q, fmt="%.17g")
    script = (f"addpath('{os.environ['WHEELSOIL_OCTAVE_DIR']}'); cd('{tmp_path}');"
              "P = load('p.txt'); Q = load('q.txt'); F = zeros(rows(P), 18); W = zeros(rows(Q), 1);"
              "for k = 1:rows(P), F(k, :) = talvor(P(k, :)); end;"
              "for k = 1:rows(Q), W(k) = pindrel(Q(k, :)); end;"
              "f = fopen('f.bin', 'w'); fwrite(f, F.', 'double'); fclose(f);"
              "f = fopen('w.bin', 'w'); fwrite(f, W, 'double'); fclose(f);")
    subprocess.run(["octave-cli", "--no-gui", "--norc", "--quiet", "--eval", script], check=True,
                   timeout=120)
    F = np.fromfile(tmp_path / "f.bin").reshape(-1, 18)
    W = np.fromfile(tmp_path / "w.bin")
    assert same_bits(wheelsoil.talvor(P), F)
    assert same_bits(wheelsoil.pindrel(Q), W)


def test_any_order_and_strides_give_the_same_rows(talvor_cases):
    _, P, F = talvor_cases
    fortran = np.asfortranarray(P)
    assert same_bits(wheelsoil.talvor(fortran), F)
    assert same_bits(wheelsoil.talvor(np.ascontiguousarray(P.T).T), F)  # a transposed view
    wide = np.zeros((2 * P.shape[0], 40))
    wide[::2, 3:32] = P
    assert same_bits(wheelsoil.talvor(wide[::2, 3:32]), F)  # rows and slots of a larger array
    assert same_bits(wheelsoil.talvor(P[::-1]), F[::-1])  # negative row stride
    reversed_slots = np.ascontiguousarray(P[:, ::-1])
    assert same_bits(wheelsoil.talvor(reversed_slots[:, ::-1]), F)  # negative slot stride
    assert same_bits(wheelsoil.talvor(np.broadcast_to(P[0], (5, 29))), np.tile(F[0], (5, 1)))
    column = P[0].reshape(29, 1)
    assert same_bits(wheelsoil.talvor(column[:, 0]), F[0])  # a 1-D strided view
    assert wheelsoil.talvor(np.empty((0, 29))).shape == (0, 18)
    assert wheelsoil.pindrel(np.empty((0, 20))).shape == (0,)


def test_unaligned_and_foreign_byte_order_arrays_are_read_correctly(talvor_cases):
    _, P, F = talvor_cases
    raw = np.zeros(P.size * 8 + 1, dtype=np.uint8)
    unaligned = raw[1:].view(np.float64).reshape(P.shape)
    unaligned[...] = P
    assert not unaligned.flags.aligned
    assert same_bits(wheelsoil.talvor(unaligned), F)
    assert same_bits(wheelsoil.talvor(P.astype(">f8")), F)
    record = np.zeros(P.shape[0], dtype=[("tag", "i1"), ("p", "f8", (29,))])
    record["p"] = P
    assert same_bits(wheelsoil.talvor(record["p"]), F)  # strides not whole doubles


def test_the_input_is_only_read(talvor_cases):
    _, P, _ = talvor_cases
    before = P.copy()
    readonly = P.copy()
    readonly.setflags(write=False)
    wheelsoil.talvor(readonly)
    wheelsoil.talvor(P)
    assert same_bits(P, before)


def test_exact_integers_are_converted_and_inexact_ones_refused(rover):
    q = np.array([0.13, 0.16, 1, 0.13, 0, 1040, 0.49, 1.1, 990, 1528430, 0.025, 0.4, 0.4, 0.4,
                  0.1, -0.05, 0.2, 0, 0, 0])
    ints = np.arange(20, dtype=np.int32)
    assert same_bits(wheelsoil.pindrel(ints), wheelsoil.pindrel(ints.astype(np.float64)))
    assert same_bits(wheelsoil.pindrel(list(q)), wheelsoil.pindrel(q))
    big = ints.astype(np.int64)
    big[5] = 2**53 + 1
    with pytest.raises(ValueError, match="2\\*\\*53"):
        wheelsoil.pindrel(big)
    with pytest.raises(ValueError, match="2\\*\\*53"):
        wheelsoil.pindrel(np.full(20, 2**64 - 1, dtype=np.uint64))


@pytest.mark.parametrize("bad, error, words", [
    (np.zeros(29, dtype=np.complex128), TypeError, "complex"),
    (np.zeros(29, dtype=np.float32), TypeError, "float32"),
    (np.zeros(29, dtype=np.float16), TypeError, "float16"),
    (np.zeros(29, dtype=np.longdouble), TypeError, "float64"),
    (np.zeros(29, dtype=bool), TypeError, "bool"),
    (np.zeros(29, dtype=object), TypeError, "object"),
    (np.array(["1"] * 29), TypeError, "float64"),
    ("29 numbers", TypeError, "str"),
    ([1.0] * 28 + [None], TypeError, "float64"),
    (np.zeros(28), ValueError, r"shape \(29,\) or \(N, 29\), got shape \(28,\)"),
    (np.zeros((3, 30)), ValueError, r"got shape \(3, 30\)"),
    (np.zeros((29, 3)), ValueError, r"got shape \(29, 3\)"),
    (np.zeros((2, 3, 29)), ValueError, r"got shape \(2, 3, 29\)"),
    (0.5, ValueError, r"got shape \(\)"),
    (np.ma.masked_array(np.zeros(29), mask=[True] + [False] * 28), TypeError, "masked"),
])
def test_talvor_refuses_with_the_expected_shape_and_type(bad, error, words):
    with pytest.raises(error, match=words) as e:
        wheelsoil.talvor(bad)
    assert "(29,) or (N, 29)" in str(e.value)


def test_pindrel_refusals_name_its_shape():
    with pytest.raises(ValueError,
                       match=r"q must be a float64 array of shape \(20,\) or \(N, 20\)"):
        wheelsoil.pindrel(np.zeros(29))
    with pytest.raises(TypeError, match="complex"):
        wheelsoil.pindrel(np.zeros((2, 20), dtype=complex))


def test_options_are_checked(rover):
    for threads in (0, -1, _core.MAX_THREADS + 1):
        with pytest.raises(ValueError, match="threads"):
            wheelsoil.talvor(rover, threads=threads)
    for threads in (1.5, "2", True):
        with pytest.raises(TypeError, match="threads"):
            wheelsoil.talvor(rover, threads=threads)
    with pytest.raises(ValueError, match="math"):
        wheelsoil.talvor(rover, math="fast")


def test_the_core_refuses_what_it_cannot_read_in_place(rover):
    # The package converts these; the core itself must refuse, never misread.
    for bad in (np.zeros((1, 29), dtype=np.float32), np.zeros((1, 29), dtype=">f8"),
                np.zeros((1, 29), dtype=np.int64), [list(rover)]):
        with pytest.raises(TypeError):
            _core.talvor_batch(bad, 0, 0)
    with pytest.raises(ValueError):
        _core.talvor_batch(np.zeros(29), 0, 0)
    raw = np.zeros(29 * 8 + 1, dtype=np.uint8)
    with pytest.raises(ValueError, match="aligned"):
        _core.talvor_batch(raw[1:].view(np.float64).reshape(1, 29), 0, 0)
    with pytest.raises(ValueError):
        _core.talvor_batch(np.zeros((1, 29)), 0, 1 << 30)  # an unknown option bit


def test_threads_do_not_change_the_bits(talvor_cases):
    _, P, F = talvor_cases
    many = np.tile(P, (40, 1))
    expected = np.tile(F, (40, 1))
    for threads in (None, 1, 2, 3, 7):
        assert same_bits(wheelsoil.talvor(many, threads=threads), expected)
    Q = np.tile(many[:, :20], (3, 1))
    assert same_bits(wheelsoil.pindrel(Q, threads=1), wheelsoil.pindrel(Q, threads=5))


def test_vector_maths_stays_close(talvor_cases):
    _, P, F = talvor_cases
    finite = np.all(np.isfinite(F), axis=1)
    try:
        v = wheelsoil.talvor(P[finite], math="vector")
    except NotImplementedError:
        pytest.skip("built without the vector maths")
    scale = np.max(np.abs(F[finite]), axis=1, keepdims=True)
    assert np.all(np.abs(v - F[finite]) <= 1e-11 * scale)


def test_the_gil_is_released_while_evaluating(rover):
    # With a switch interval far longer than the test, this thread keeps the
    # GIL unless it releases it: the witness can then only run inside the
    # batch if the batch lets go of the GIL.
    P = np.tile(rover, (2000, 1))
    state = {"in_batch": False, "seen": None}
    start = threading.Event()

    def witness():
        start.wait()
        state["seen"] = state["in_batch"]

    interval = sys.getswitchinterval()
    thread = threading.Thread(target=witness)
    sys.setswitchinterval(1000.0)
    try:
        thread.start()
        start.set()
        for _ in range(50):
            state["in_batch"] = True
            wheelsoil.talvor(P, threads=1)
            state["in_batch"] = False
            if state["seen"] is not None:
                break
    finally:
        sys.setswitchinterval(interval)
    thread.join()
    assert state["seen"] is True


def test_concurrent_calls_from_python_threads_agree(talvor_cases):
    _, P, F = talvor_cases
    many = np.tile(P, (30, 1))
    results = [None] * 4

    def run(k):
        results[k] = wheelsoil.talvor(many, threads=2)

    threads = [threading.Thread(target=run, args=(k,)) for k in range(4)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    for r in results:
        assert same_bits(r, np.tile(F, (30, 1)))


def test_help_explains_slots_and_units():
    doc = wheelsoil.talvor.__doc__
    for words in ("centre_height", "friction_angle", "rad", "N/m^(n+1)", "rim_fx", "side_mz",
                  "threads", "float64"):
        assert words in doc
    assert "rear_angle" in wheelsoil.pindrel.__doc__
    assert wheelsoil.__version__ == _core.version()


def test_a_signal_stops_a_long_batch(rover):
    # A batch of a million evaluations takes seconds; the signal, sent a
    # moment after it starts, must end it with the handler's exception.
    class Interrupted(Exception):
        pass

    def handler(signum, frame):
        raise Interrupted

    P = np.broadcast_to(rover, (1_000_000, 29))
    previous = signal.signal(signal.SIGINT, handler)
    timer = threading.Timer(0.1, os.kill, args=(os.getpid(), signal.SIGINT))
    try:
        with pytest.raises(Interrupted):
            timer.start()
            wheelsoil.talvor(P, threads=1)
        timer.join()
    finally:
        signal.signal(signal.SIGINT, previous)

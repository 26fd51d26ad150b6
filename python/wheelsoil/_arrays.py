"""Checking and converting the arrays and options that the models take."""

import operator
from typing import Any, Optional

import numpy as np

from . import _core

# Integers up to this magnitude are exactly float64 values.
_EXACT_INTEGER = 2**53


def as_float64(value: Any, what: str, shapes: str) -> np.ndarray:
    """`value` as a float64 array, read in place where it already is one.

    float64 arrays pass unchanged, whatever their order and strides (a copy
    is made only of an array that is not aligned to whole elements).
    Integer arrays and Python numbers are converted when every value is an
    exact float64; bool, float32, float16, extended precision, complex and
    anything else are refused with a TypeError, so that no value changes
    silently; so are masked arrays, whose mask would be lost. `what` names
    the argument and `shapes` the shapes expected, for the messages.
    """
    expected = f"{what} must be a float64 array of shape {shapes}"
    if isinstance(value, np.ma.MaskedArray):
        raise TypeError(f"{expected}, got a masked array: fill or drop the masked values "
                        f"first (e.g. {what}.filled(numpy.nan))")
    if isinstance(value, np.ndarray):
        a = value
    else:
        if isinstance(value, (str, bytes)):
            raise TypeError(f"{expected}, got {type(value).__name__}")
        try:
            a = np.asarray(value)
        except (ValueError, TypeError) as e:
            raise TypeError(f"{expected}, got {type(value).__name__} ({e})") from None
    kind = a.dtype.kind
    if kind == "f" and a.dtype.itemsize == 8:
        if not a.dtype.isnative:
            a = a.astype(np.float64)
    elif kind in "iu":
        if a.size and (int(a.max()) > _EXACT_INTEGER or int(a.min()) < -_EXACT_INTEGER):
            raise ValueError(f"{expected}; the {a.dtype} values beyond 2**53 in magnitude "
                             f"have no exact float64 value")
        a = a.astype(np.float64)
    elif kind == "c":
        raise TypeError(f"{expected}, got {a.dtype}: complex values are refused; "
                        f"pass the real part explicitly if that is meant")
    elif kind == "f":
        raise TypeError(f"{expected}, got {a.dtype}: convert explicitly, e.g. "
                        f"{what}.astype(numpy.float64), if its rounded values are meant")
    else:
        raise TypeError(f"{expected}, got {a.dtype}")
    if not a.flags.aligned or any(s % 8 for s in a.strides):
        a = a.copy()
    return a


def as_rows(value: Any, what: str, slots: int) -> "tuple[np.ndarray, bool]":
    """`value` as an (N, slots) float64 array, and whether it was one vector."""
    shapes = f"({slots},) or (N, {slots})"
    a = as_float64(value, what, shapes)
    if a.ndim == 1 and a.shape[0] == slots:
        return a[np.newaxis, :], True
    if a.ndim == 2 and a.shape[1] == slots:
        return a, False
    raise ValueError(f"{what} must be a float64 array of shape {shapes}, got shape {a.shape}")


def thread_count(threads: Optional[int]) -> int:
    """The library's thread count: 0 (one per hardware thread) for None."""
    if threads is None:
        return 0
    if isinstance(threads, bool):
        raise TypeError(f"threads must be None or a positive integer, got {threads!r}")
    try:
        n = operator.index(threads)
    except TypeError:
        raise TypeError(f"threads must be None or a positive integer, "
                        f"got {type(threads).__name__}") from None
    if not 1 <= n <= _core.MAX_THREADS:
        raise ValueError(f"threads must be None or from 1 to {_core.MAX_THREADS}, got {n}")
    return n


def math_flags(math: str, model: str) -> int:
    """The option bits of a `math` argument."""
    if math == "default":
        return 0
    if math == "vector":
        if model != "talvor":
            raise ValueError(f"math='vector' is available for talvor only, not {model}")
        return _core.MATH_VECTOR
    raise ValueError(f"math must be 'default' or 'vector', got {math!r}")


def direction_flag(direction_aware: Any) -> int:
    """The option bit of a `direction_aware` argument (True or False)."""
    if not isinstance(direction_aware, (bool, np.bool_)):
        raise TypeError(f"direction_aware must be True or False, got {direction_aware!r}")
    return _core.DIRECTION_AWARE if direction_aware else 0


def talvor_flags(math: str, rule: str, direction_aware: Any) -> int:
    """The option bits of talvor's `math`, `rule` and `direction_aware` arguments."""
    flags = math_flags(math, "talvor") | direction_flag(direction_aware)
    if rule == "fixed":
        return flags
    if rule != "split":
        raise ValueError(f"rule must be 'fixed' or 'split', got {rule!r}")
    if math == "vector":
        raise ValueError("rule='split' is not available with math='vector': the split rule "
                         "evaluates with the C library's functions (math='default')")
    return flags | _core.SPLIT_RULE
